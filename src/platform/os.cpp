// The shared half of the OS services: the message queue, the window class
// and its procedure, message boxes; everything machine-specific goes to the
// installed backend.
#include "platform/os.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <map>

#include "platform/backend.h"
#include "platform/gfx/gfx_config.h"
#include "platform/input.h"
#include "platform/replay/replay.h"

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
    std::deque<MSG> liveQueue;  // a window's own events while a replay plays
    std::vector<ShownBox> shownBoxes;
    unsigned long long focusLosses = 0;
};

OsState* g_state = nullptr;

OsState& state() {
    if (!g_state) g_state = new OsState();
    return *g_state;
}

// Lets the backend queue what arrived (waiting for something when `wait`);
// a replay records those messages, or gives back the recorded ones instead.
void pump(bool wait) {
    auto& s = state();
    const replay::Kind kind = wait ? replay::Kind::Wait : replay::Kind::Pump;
    if (replay::playing()) {
        // A window stays responsive; closing it or Escape ends the playback.
        if (!s.backend->headless()) {
            s.backend->pumpEvents(s.liveQueue);
            for (const MSG& m : s.liveQueue)
                if (m.message == WM_CLOSE || (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE)) PostQuitMessage(0);
            s.liveQueue.clear();
        }
        replay::playMessages(kind, s.queue);
        return;
    }
    const std::size_t before = s.queue.size();
    if (wait) s.backend->waitEvents(s.queue);
    else s.backend->pumpEvents(s.queue);
    replay::recordMessages(kind, s.queue, before);
}

// A plain value the backend reads, recorded or replayed.
template <typename Live>
std::int64_t read(replay::Kind kind, Live live) {
    std::int64_t v;
    if (replay::playValue(kind, v)) return v;
    v = static_cast<std::int64_t>(live());
    replay::recordValue(kind, v);
    return v;
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
    placement->showCmd = static_cast<unsigned>(
        read(replay::Kind::ShowState, [] { return state().backend->showState(); }));
    return true;
}

int ShowCursor(bool show) {
    state().backend->showCursor(show);
    return show ? 0 : -1;
}

bool PeekMessage(MSG* msg) {
    if (state().queue.empty()) pump(false);
    return takeFront(msg);
}

int GetMessage(MSG* msg) {
    if (state().queue.empty()) pump(false);
    while (state().queue.empty()) pump(true);
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

std::uint32_t timeGetTime() {
    return static_cast<std::uint32_t>(read(replay::Kind::Ms, [] { return state().backend->ms(); }));
}
void Sleep(std::uint32_t ms) { state().backend->sleep(ms); }
void lowerThreadPriority() {
    // On Linux each thread has its own nice value; this one's only.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
}
std::int64_t time() { return read(replay::Kind::Calendar, [] { return state().backend->calendarSeconds(); }); }
std::uint32_t frameEndTime() {
    return static_cast<std::uint32_t>(read(replay::Kind::FrameEnd, [] { return state().backend->ms(); }));
}
bool beginFrameDrawing() {
    const bool drawn = read(replay::Kind::FrameDrawn, [] { return gfx::frameWanted() ? 1 : 0; }) != 0;
    gfx::setFrameDrawn(drawn);
    return drawn;
}
std::uint32_t harnessTime() { return state().backend->ms(); }

HANDLE CreateMutexA(const std::string& name) {
    // The handle carries whether the lock was won; the lock itself lives as
    // long as the process.
    static int won = 1, lost = 0;
    return read(replay::Kind::InstanceLock, [&] { return state().backend->takeInstanceLock(name); }) ? &won : &lost;
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
