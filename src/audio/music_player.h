// MusicPlayer: the game's four pieces of music (title, story, game, boss),
// decoded from Ogg Vorbis and played one at a time.
#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "audio/track_decoder.h"
#include "audio/track_image.h"
#include "platform/audio/dmusic.h"
#include "platform/os.h"

class MusicPlayer {
public:
    MusicPlayer() = default;
    ~MusicPlayer();

    // Start-up: open the music output and load the four tracks.
    bool init(platform::HWND window, platform::HINSTANCE instance);
    // Stop all music at once, then play track t from its start at its
    // path's volume (t below the number of loaded entries; otherwise nothing
    // happens).
    bool playTrack(int t);
    // Stop all music at once.
    bool stopAll();
    // Lower track t's path to silence over 5000 ms; it stays silent, even
    // when played again, until the volumes are restored.
    bool fadeOut(int t);
    // Every path back at full volume, and no fade left waiting for a decode:
    // each game starts with its music audible. Not one of the calls the
    // screen flow's music rules make, so it is not traced.
    void restoreVolumes();
    void release();

private:
    // The tracks decode in the background from init on; a call on a track
    // still decoding waits for it when the output runs on virtual time and
    // is heard (so what it writes repeats exactly), and otherwise takes
    // effect when it is ready.
    enum class TrackState { Failed, Decoding, Ready };
    static constexpr std::size_t maxTrackBytes = std::size_t{1} << 30;

    bool loadTrack(const char* path);
    void trackDecoded(std::size_t t, TrackImage image);
    bool attachTrack(std::size_t t);  // image to segment, download, path
    bool createTrackPath(std::size_t t);
    bool startTrack(std::size_t t);
    bool fadeTrack(std::size_t t);
    // False when the call on track t is deferred until it is decoded.
    bool settle(std::unique_lock<std::mutex>& lock, std::size_t t);

    platform::IDirectMusicPerformance8* performance_ = nullptr;
    platform::IDirectMusicLoader8* loader_ = nullptr;
    std::vector<platform::IDirectMusicSegment8*> segments_;
    std::vector<platform::IDirectMusicAudioPath8*> paths_;
    std::vector<platform::IDirectSoundBuffer8*> pathBuffers_;
    std::vector<TrackImage> images_;

    std::vector<TrackState> states_;
    std::vector<bool> fadePending_;
    int pending_ = -1;  // track to start once decoded
    bool comInitialized_ = false;
    std::mutex mutex_;
    std::condition_variable decoded_;
    TrackDecoder decoder_{[this](std::size_t t, TrackImage image) { trackDecoded(t, std::move(image)); },
                          maxTrackBytes};
};
