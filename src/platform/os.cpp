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

std::unique_ptr<Backend> g_backend;
std::map<std::string, WNDCLASSEX> g_classes;
Window g_window;          // the process has one window
bool g_windowCreated = false;
std::deque<MSG> g_queue;
std::vector<ShownBox> g_shownBoxes;
unsigned long long g_focusLosses = 0;

bool takeFront(MSG* msg) {
    if (g_queue.empty()) return false;
    *msg = g_queue.front();
    g_queue.pop_front();
    return true;
}

}  // namespace

Backend& backend() { return *g_backend; }
void installBackend(std::unique_ptr<Backend> b) { g_backend = std::move(b); }
void releaseBackend() { g_backend.reset(); }

bool RegisterClassEx(const WNDCLASSEX& wc) {
    g_classes[wc.className] = wc;
    return true;
}

HWND CreateWindowEx(const std::string& className, const std::string& title, int width,
                    int height) {
    auto it = g_classes.find(className);
    if (it == g_classes.end() || g_windowCreated) return nullptr;
    if (!g_backend->createWindow(title, width, height, it->second.largeIconPath)) return nullptr;
    g_window.proc = it->second.lpfnWndProc;
    g_windowCreated = true;
    return &g_window;
}

void ShowWindow(HWND, int) {}

bool DestroyWindow(HWND hwnd) {
    if (hwnd != &g_window || g_window.destroyed) return false;
    g_window.destroyed = true;
    g_backend->destroyWindow();
    if (g_window.proc) g_window.proc(hwnd, WM_DESTROY, 0, 0);
    return true;
}

bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    if (hwnd != &g_window || g_window.destroyed) return false;
    placement->showCmd = g_backend->showState();
    return true;
}

int ShowCursor(bool show) {
    g_backend->showCursor(show);
    return show ? 0 : -1;
}

bool PeekMessage(MSG* msg) {
    if (g_queue.empty()) g_backend->pumpEvents(g_queue);
    return takeFront(msg);
}

int GetMessage(MSG* msg) {
    if (g_queue.empty()) g_backend->pumpEvents(g_queue);
    while (g_queue.empty()) g_backend->waitEvents(g_queue);
    takeFront(msg);
    return msg->message == WM_QUIT ? 0 : 1;
}

void TranslateMessage(const MSG*) {}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg->hwnd == &g_window && g_window.proc && !g_window.destroyed)
        return g_window.proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    return 0;
}

LRESULT DefWindowProc(HWND, unsigned, WPARAM, LPARAM) { return 0; }

void PostQuitMessage(int exitCode) {
    MSG quit;
    quit.message = WM_QUIT;
    quit.wParam = static_cast<WPARAM>(exitCode);
    g_queue.push_back(quit);
}

std::uint32_t timeGetTime() { return g_backend->ms(); }
void Sleep(std::uint32_t ms) { g_backend->sleep(ms); }
std::int64_t time() { return g_backend->calendarSeconds(); }

HANDLE CreateMutexA(const std::string& name) {
    // The handle carries whether the lock was won; the lock itself lives as
    // long as the process.
    static int won = 1, lost = 0;
    return g_backend->takeInstanceLock(name) ? &won : &lost;
}

std::uint32_t WaitForSingleObject(HANDLE h, std::uint32_t) {
    return *static_cast<int*>(h) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

void CloseHandle(HANDLE) {}

int MessageBoxA(HWND, const std::string& text, const std::string& caption, unsigned type) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    g_shownBoxes.push_back({text, caption, type});
    if (g_backend) g_backend->showMessageBox(text, caption, type);
    return 1;  // IDOK
}

std::vector<ShownBox> takeShownBoxes() {
    std::vector<ShownBox> out;
    out.swap(g_shownBoxes);
    return out;
}

void noteFocusLost() { ++g_focusLosses; }
unsigned long long focusLosses() { return g_focusLosses; }

void framePresented() { g_backend->framePresented(); }

// Window messages queued by a backend carry the one window's handle.
HWND gameWindow() { return g_windowCreated ? &g_window : nullptr; }

}  // namespace platform
