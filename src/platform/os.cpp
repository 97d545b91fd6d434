// The shared half of the OS services: the message queue, the window class
// and its procedure, message boxes; everything machine-specific goes to the
// installed backend.
#include "platform/os.h"

#include <cstdio>
#include <deque>
#include <map>

#include "platform/backend.h"
#include "platform/input.h"

namespace platform {

struct Window {
    WNDPROC proc = nullptr;
    bool destroyed = false;
};

namespace {

// Everything here lives from first use until releaseBackend, which runs after
// the game's static objects are gone, so their destructors may still show
// boxes. Plain pointers: nothing is destroyed behind the game's back at exit.
struct OsState {
    std::unique_ptr<Backend> backend;
    std::map<std::string, WNDCLASSEX> classes;
    Window window;  // the process has one window
    bool windowCreated = false;
    std::deque<MSG> queue;
    std::vector<ShownBox> shownBoxes;
    unsigned long long focusLosses = 0;
};

OsState* g_state = nullptr;

OsState& state() {
    if (!g_state) g_state = new OsState();
    return *g_state;
}

bool takeFront(MSG* msg) {
    auto& queue = state().queue;
    if (queue.empty()) return false;
    *msg = queue.front();
    queue.pop_front();
    return true;
}

}  // namespace

Backend& backend() { return *state().backend; }
void installBackend(std::unique_ptr<Backend> b) { state().backend = std::move(b); }
void releaseBackend() {
    delete g_state;
    g_state = nullptr;
}

bool RegisterClassEx(const WNDCLASSEX& wc) {
    state().classes[wc.className] = wc;
    return true;
}

HWND CreateWindowEx(const std::string& className, const std::string& title, int width,
                    int height) {
    auto it = state().classes.find(className);
    // One window at a time; a new one may follow a destroyed one.
    if (it == state().classes.end() || (state().windowCreated && !state().window.destroyed)) return nullptr;
    if (!state().backend->createWindow(title, width, height, it->second.largeIconPath)) return nullptr;
    state().window.proc = it->second.lpfnWndProc;
    state().window.destroyed = false;
    state().windowCreated = true;
    return &state().window;
}

void ShowWindow(HWND, int) {}

bool DestroyWindow(HWND hwnd) {
    if (hwnd != &state().window || state().window.destroyed) return false;
    state().window.destroyed = true;
    state().backend->destroyWindow();
    if (state().window.proc) state().window.proc(hwnd, WM_DESTROY, 0, 0);
    return true;
}

bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    if (hwnd != &state().window || state().window.destroyed) return false;
    placement->showCmd = state().backend->showState();
    return true;
}

int ShowCursor(bool show) {
    state().backend->showCursor(show);
    return show ? 0 : -1;
}

bool PeekMessage(MSG* msg) {
    if (state().queue.empty()) state().backend->pumpEvents(state().queue);
    return takeFront(msg);
}

int GetMessage(MSG* msg) {
    if (state().queue.empty()) state().backend->pumpEvents(state().queue);
    while (state().queue.empty()) state().backend->waitEvents(state().queue);
    takeFront(msg);
    return msg->message == WM_QUIT ? 0 : 1;
}

void TranslateMessage(const MSG*) {}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg->hwnd == &state().window && state().window.proc && !state().window.destroyed)
        return state().window.proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    return 0;
}

LRESULT DefWindowProc(HWND, unsigned, WPARAM, LPARAM) { return 0; }

void PostQuitMessage(int exitCode) {
    MSG quit;
    quit.message = WM_QUIT;
    quit.wParam = static_cast<WPARAM>(exitCode);
    state().queue.push_back(quit);
}

std::uint32_t timeGetTime() { return state().backend->ms(); }
void Sleep(std::uint32_t ms) { state().backend->sleep(ms); }
std::int64_t time() { return state().backend->calendarSeconds(); }

HANDLE CreateMutexA(const std::string& name) {
    // The handle carries whether the lock was won; the lock itself lives as
    // long as the process.
    static int won = 1, lost = 0;
    return state().backend->takeInstanceLock(name) ? &won : &lost;
}

std::uint32_t WaitForSingleObject(HANDLE h, std::uint32_t) {
    return *static_cast<int*>(h) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

void CloseHandle(HANDLE) {}

int MessageBoxA(HWND, const std::string& text, const std::string& caption, unsigned type) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    state().shownBoxes.push_back({text, caption, type});
    if (g_state && state().backend) state().backend->showMessageBox(text, caption, type);
    return 1;  // IDOK
}

std::vector<ShownBox> takeShownBoxes() {
    std::vector<ShownBox> out;
    out.swap(state().shownBoxes);
    return out;
}

void noteFocusLost() { ++state().focusLosses; }
unsigned long long focusLosses() { return state().focusLosses; }

void framePresented() { state().backend->framePresented(); }

// Window messages queued by a backend carry the one window's handle.
HWND gameWindow() { return state().windowCreated ? &state().window : nullptr; }

}  // namespace platform
