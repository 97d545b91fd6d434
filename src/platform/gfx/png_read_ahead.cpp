#include "platform/gfx/png_read_ahead.h"

#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/gfx/file_read.h"
#include "platform/gfx/png_image.h"
#include "platform/os.h"
#include "platform/paths.h"

namespace platform::gfx {

namespace {

// What identifies a file's contents cheaply: a file replaced or rewritten
// after it was read ahead is read again by the loader.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const FileStamp& o) const {
        return exists && o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

FileStamp stampOf(const std::string& path) {
    struct stat st;
    FileStamp s;
    if (::stat(path.c_str(), &st) != 0) return s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modified = st.st_mtim;
    return s;
}

LoadedPng readAndDecode(const char* path) {
    LoadedPng png;
    std::vector<std::uint8_t> file;
    png.read = readAssetFile(path, file);
    if (png.read) png.decoded = decodePng(file.data(), file.size(), png.image, png.hasAlpha);
    return png;
}

struct Entry {
    std::string path;
    enum class State { Waiting, Running, Done, Taken } state = State::Waiting;
    FileStamp stamp;  // taken before the read
    LoadedPng png;
};

// The thread and its list; the entries are guarded by mutex.
struct ReadAhead {
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<Entry> entries;
    bool stopping = false;
    bool through = false;  // the thread has been through the list
    std::thread thread;

    void work() {
        // The window, its context and the loader itself come first; the
        // loader waits for a file this thread is on, and reads one it has
        // not got to itself.
        platform::lowerThreadPriority();
        for (std::size_t i = 0;; ++i) {
            std::string path;
            {
                std::lock_guard<std::mutex> lock(mutex);
                while (i < entries.size() && entries[i].state != Entry::State::Waiting) ++i;
                if (stopping || i == entries.size()) {
                    through = true;
                    finished.notify_all();
                    return;
                }
                entries[i].state = Entry::State::Running;
                path = entries[i].path;
            }
            const FileStamp stamp = stampOf(path);
            LoadedPng png = readAndDecode(path.c_str());
            {
                std::lock_guard<std::mutex> lock(mutex);
                entries[i].stamp = stamp;
                entries[i].png = std::move(png);
                entries[i].state = Entry::State::Done;
            }
            finished.notify_all();
        }
    }
};

// Not destroyed with the statics: stopPngReadAhead ends it, so no exit path
// meets a thread still joinable. Set and cleared under g_mutex; read without
// it only to see that there is none, which every present asks.
std::mutex g_mutex;
std::atomic<ReadAhead*> g_readAhead{nullptr};

}  // namespace

LoadedPng loadPng(const char* path) {
    if (!path) return {};
    const std::string native = nativePath(path);
    std::lock_guard<std::mutex> outer(g_mutex);
    if (ReadAhead* ahead = g_readAhead.load()) {
        ReadAhead& r = *ahead;
        std::unique_lock<std::mutex> lock(r.mutex);
        for (Entry& e : r.entries) {
            if (e.path != native || e.state == Entry::State::Taken) continue;
            if (e.state == Entry::State::Waiting) {
                e.state = Entry::State::Taken;  // not reached yet: read here
                break;
            }
            r.finished.wait(lock, [&] { return e.state == Entry::State::Done; });
            e.state = Entry::State::Taken;
            LoadedPng png = std::move(e.png);
            lock.unlock();
            if (png.read && stampOf(native) == e.stamp) return png;
            break;  // changed since, or not there then: read it now
        }
    }
    return readAndDecode(path);
}

void waitForPngReadAhead() {
    std::lock_guard<std::mutex> outer(g_mutex);
    ReadAhead* r = g_readAhead.load();
    if (!r) return;
    std::unique_lock<std::mutex> lock(r->mutex);
    r->finished.wait(lock, [r] { return r->through; });
}

void startPngReadAhead(std::vector<std::string> files) {
    stopPngReadAhead();
    if (files.empty()) return;
    auto r = std::make_unique<ReadAhead>();
    r->entries.reserve(files.size());
    for (std::string& f : files) {
        Entry e;
        e.path = std::move(f);
        r->entries.push_back(std::move(e));
    }
    r->thread = std::thread([p = r.get()] { p->work(); });
    std::lock_guard<std::mutex> outer(g_mutex);
    g_readAhead = r.release();
}

void stopPngReadAhead() {
    if (!g_readAhead.load()) return;  // the common case: long stopped
    std::unique_ptr<ReadAhead> r;
    {
        std::lock_guard<std::mutex> outer(g_mutex);
        r.reset(g_readAhead.exchange(nullptr));
    }
    if (!r) return;
    {
        std::lock_guard<std::mutex> lock(r->mutex);
        r->stopping = true;
    }
    r->thread.join();
}

}  // namespace platform::gfx
