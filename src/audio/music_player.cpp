#include "audio/music_player.h"

#include "audio/audio_trace.h"
#include "platform/audio/audio_output.h"
#include "platform/audio/file_path.h"

using namespace platform;

namespace {
constexpr DWORD context = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
constexpr const char* trackFiles[] = {"o\\title.ogg", "o\\story.ogg", "o\\game.ogg", "o\\boss.ogg"};
}  // namespace

MusicPlayer::~MusicPlayer() {
    release();
    if (comInitialized_) CoUninitialize();
    comInitialized_ = false;
}

bool MusicPlayer::init(HWND window, HINSTANCE) {
    if (FAILED(CoInitialize(nullptr))) return false;
    comInitialized_ = true;
    if (FAILED(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, context, IID_IDirectMusicPerformance8,
                                reinterpret_cast<void**>(&performance_))))
        return false;
    if (FAILED(performance_->InitAudio(nullptr, nullptr, window, DMUS_APATH_SHARED_STEREOPLUSREVERB, 64,
                                       DMUS_AUDIOF_ALL, nullptr)))
        return false;
    if (FAILED(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, context, IID_IDirectMusicLoader8,
                                reinterpret_cast<void**>(&loader_))))
        return false;
    char dir[260];
    DWORD length = GetCurrentDirectoryA(260, dir);
    if (length == 0 || length > 260) return false;
    WCHAR wideDir[260];
    MultiByteToWideChar(CP_ACP, 0, dir, -1, wideDir, 260);
    if (FAILED(loader_->SetSearchDirectory(GUID_DirectMusicAllTypes, wideDir, false))) return false;
    for (const char* file : trackFiles) loadTrack(file);
    return true;
}

bool MusicPlayer::loadTrack(const char* path) {
    std::lock_guard lock(mutex_);
    segments_.push_back(nullptr);
    paths_.push_back(nullptr);
    pathBuffers_.push_back(nullptr);
    images_.emplace_back();
    states_.push_back(TrackState::Failed);
    fadePending_.push_back(false);
    std::size_t t = segments_.size() - 1;
    std::FILE* file = openAssetFile(path, "rb");
    if (!file) return false;
    states_[t] = TrackState::Decoding;
    decoder_.queue(t, file);
    return true;
}

void MusicPlayer::trackDecoded(std::size_t t, TrackImage image) {
    std::lock_guard lock(mutex_);
    if (t >= states_.size()) return;
    images_[t] = std::move(image);
    states_[t] = images_[t] && attachTrack(t) ? TrackState::Ready : TrackState::Failed;
    if (states_[t] == TrackState::Ready && fadePending_[t]) fadeTrack(t);
    if (pending_ == static_cast<int>(t)) {
        pending_ = -1;
        startTrack(t);
    }
    decoded_.notify_all();
}

bool MusicPlayer::attachTrack(std::size_t t) {
    DMUS_OBJECTDESC desc;
    desc.dwSize = DMUS_OBJECTDESC_SIZE;
    desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_MEMORY;
    desc.guidClass = CLSID_DirectMusicSegment;
    desc.pbMemData = images_[t].bytes.get();
    desc.llMemLength = static_cast<std::int64_t>(images_[t].size());
    if (FAILED(loader_->GetObject(&desc, IID_IDirectMusicSegment8, reinterpret_cast<void**>(&segments_[t]))))
        return false;
    if (FAILED(segments_[t]->Download(performance_))) return false;
    createTrackPath(t);
    return true;
}

bool MusicPlayer::createTrackPath(std::size_t t) {
    if (FAILED(performance_->CreateStandardAudioPath(DMUS_APATH_SHARED_STEREOPLUSREVERB, 64, false, &paths_[t])))
        return false;
    if (FAILED(paths_[t]->GetObjectInPath(DMUS_PCHANNEL_ALL, DMUS_PATH_BUFFER, 0, GUID_NULL, 0,
                                          IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&pathBuffers_[t]))))
        return false;
    DSEFFECTDESC chorus;
    chorus.dwSize = DSEFFECTDESC_SIZE;
    chorus.dwFlags = 0;
    chorus.guidDSFXClass = GUID_DSFX_STANDARD_CHORUS;
    pathBuffers_[t]->SetFX(1, &chorus, nullptr);
    paths_[t]->Activate(true);
    return true;
}

bool MusicPlayer::settle(std::unique_lock<std::mutex>& lock, std::size_t t) {
    if (states_[t] != TrackState::Decoding) return true;
    // Only a virtual output that is heard waits, so that what it writes is
    // the same on every run.
    if (audio::outputIsRealTime() || !audio::outputIsHeard()) return false;
    decoded_.wait(lock, [&] { return states_[t] != TrackState::Decoding; });
    return true;
}

bool MusicPlayer::startTrack(std::size_t t) {
    if (!segments_[t]) return false;
    return SUCCEEDED(performance_->PlaySegmentEx(segments_[t], nullptr, nullptr, 0, 0, nullptr, nullptr, paths_[t]));
}

bool MusicPlayer::playTrack(int t) {
    recordMusicCall("playTrack", t);
    std::unique_lock lock(mutex_);
    if (t < 0 || static_cast<std::size_t>(t) >= segments_.size() || !performance_) return false;
    performance_->Stop(nullptr, nullptr, 0, 0);
    pending_ = -1;
    if (!settle(lock, t)) {
        pending_ = t;
        return true;
    }
    startTrack(t);
    return true;
}

bool MusicPlayer::stopAll() {
    recordMusicCall("stopAll", -1);
    std::lock_guard lock(mutex_);
    pending_ = -1;
    if (!performance_) return false;
    performance_->Stop(nullptr, nullptr, 0, 0);
    return true;
}

bool MusicPlayer::fadeTrack(std::size_t t) {
    return paths_[t] && SUCCEEDED(paths_[t]->SetVolume(-9599, 5000));
}

bool MusicPlayer::fadeOut(int t) {
    recordMusicCall("fadeOut", t);
    std::unique_lock lock(mutex_);
    if (t < 0 || static_cast<std::size_t>(t) >= paths_.size()) return false;
    if (!settle(lock, t)) {
        fadePending_[t] = true;
        return true;
    }
    return fadeTrack(t);
}

void MusicPlayer::restoreVolumes() {
    std::lock_guard lock(mutex_);
    for (std::size_t t = 0; t < paths_.size(); ++t) {
        fadePending_[t] = false;
        if (paths_[t]) paths_[t]->SetVolume(0, 0);
    }
}

void MusicPlayer::release() {
    decoder_.cancel();
    std::lock_guard lock(mutex_);
    pending_ = -1;
    if (performance_) performance_->Stop(nullptr, nullptr, 0, 0);
    for (std::size_t t = 0; t < segments_.size(); ++t) {
        if (segments_[t] && performance_) segments_[t]->Unload(performance_);
        if (pathBuffers_[t]) pathBuffers_[t]->Release();
        pathBuffers_[t] = nullptr;
        if (paths_[t]) paths_[t]->Release();
        paths_[t] = nullptr;
        if (segments_[t]) segments_[t]->Release();
        segments_[t] = nullptr;
    }
    if (loader_) loader_->Release();
    loader_ = nullptr;
    if (performance_) performance_->CloseDown();
    for (auto& image : images_) image = {};
    if (performance_) performance_->Release();
    performance_ = nullptr;
    for (auto& s : states_) s = TrackState::Failed;
}
