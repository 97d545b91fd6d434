// assetgen OUTDIR [PREFIX...]: writes the whole asset pack (t/, x/, w/, o/
// and the window icon) into OUTDIR, the same bytes on every run; with
// prefixes, only the files whose path starts with one of them.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "gen/pack.h"
#include "manifest.h"

using namespace assetgen;
namespace fs = std::filesystem;

namespace {

bool writeBytes(const fs::path& p, const void* data, size_t n) {
  std::ofstream f(p, std::ios::binary);
  f.write(static_cast<const char*>(data), std::streamsize(n));
  return bool(f);
}

// Makes one file; returns an error text or an empty string.
std::string build(const Builders& b, const AssetEntry& e, const fs::path& out) {
  fs::path target = out / e.path;
  if (e.kind == Kind::Texture || e.kind == Kind::Icon) {
    auto it = b.images.find(e.path);
    if (it == b.images.end()) return "no painter";
    Image img = it->second();
    if (img.width() != e.tex.width || img.height() != e.tex.height) return "painted at the wrong size";
    bool hasKey = e.kind == Kind::Texture;
    auto bytes = img.toBytes(e.tex.alpha, e.tex.key, hasKey);
    return writePng(target.string(), img.width(), img.height(), e.tex.alpha, bytes) ? "" : "write failed";
  }
  if (e.kind == Kind::Mesh) {
    auto it = b.meshes.find(e.path);
    if (it == b.meshes.end()) return "no modeller";
    std::string text = it->second();
    return writeBytes(target, text.data(), text.size()) ? "" : "write failed";
  }
  auto it = b.files.find(e.path);
  if (it == b.files.end()) return "no maker";
  std::vector<uint8_t> bytes = it->second();
  if (bytes.empty()) return "maker failed";
  return writeBytes(target, bytes.data(), bytes.size()) ? "" : "write failed";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: assetgen OUTDIR [PREFIX...]\n");
    return 2;
  }
  std::vector<std::string> prefixes(argv + 2, argv + argc);
  auto wanted = [&](const std::string& path) {
    if (prefixes.empty()) return true;
    for (const std::string& p : prefixes)
      if (path.compare(0, p.size(), p) == 0) return true;
    return false;
  };
  const auto start = std::chrono::steady_clock::now();
  fs::path out = argv[1];
  for (const char* dir : {"t", "x", "w", "o"}) fs::create_directories(out / dir);

  Builders b;
  addScreenImages(b);
  addCaptionImages(b);
  addHudImages(b);
  addFieldImages(b);
  addMeshes(b);
  addSounds(b);
  addMusic(b);

  // The longest jobs (music, then big pictures) go first so the workers
  // finish together.
  std::vector<const AssetEntry*> jobs;
  for (Kind k : {Kind::Music, Kind::Texture, Kind::Icon, Kind::Sound, Kind::Mesh})
    for (const AssetEntry& e : manifest())
      if (e.kind == k && wanted(e.path)) jobs.push_back(&e);

  std::atomic<size_t> next{0};
  std::atomic<int> failures{0};
  std::mutex logMutex;
  auto worker = [&] {
    for (size_t i; (i = next++) < jobs.size();) {
      std::string err;
      const auto t0 = std::chrono::steady_clock::now();
      try {
        err = build(b, *jobs[i], out);
      } catch (const std::exception& ex) {
        err = ex.what();
      }
      if (std::getenv("ASSETGEN_TIMES")) {
        std::lock_guard<std::mutex> lock(logMutex);
        std::printf("%-20s %.2f s\n", jobs[i]->path.c_str(),
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
      }
      if (!err.empty()) {
        std::lock_guard<std::mutex> lock(logMutex);
        std::fprintf(stderr, "assetgen: %s: %s\n", jobs[i]->path.c_str(), err.c_str());
        ++failures;
      }
    }
  };
  unsigned n = std::max(2u, std::thread::hardware_concurrency());
  std::vector<std::thread> pool;
  for (unsigned i = 0; i < n; ++i) pool.emplace_back(worker);
  for (auto& t : pool) t.join();

  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("assetgen: %zu files in %.1f s\n", jobs.size() - size_t(failures.load()), secs);
  return failures ? 1 : 0;
}
