// One untrusted input through each audio input path, as the game would meet
// it: a WAV file loaded into a sound-bank entry and played, a WAV image made
// into a music segment, and an Ogg stream decoded into a track image and
// played on a music path. Shared by the libFuzzer targets and the mutation
// test of the test suite; any crash, leak or out-of-bounds read is the bug.
#pragma once

#include <ogg/ogg.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/sound_bank.h"
#include "audio/track_image.h"
#include "platform/audio/audio_output.h"
#include "platform/audio/dmusic.h"
#include "platform/audio/mixer.h"

namespace audio_inputs {

// A headless output without a clock (the caller mixes) and one performance.
struct Session {
    platform::IDirectMusicPerformance8* performance = nullptr;
    platform::IDirectMusicLoader8* loader = nullptr;
    platform::IDirectMusicAudioPath8* path = nullptr;
    static constexpr std::size_t block = 256;      // the mixer's own block
    static constexpr std::size_t mixLimit = 256;   // frames mixed at most per play
    float out[2 * block];

    Session() {
        using namespace platform;
        audio::openOutput({true, nullptr, ""});
        CoInitialize(nullptr);
        CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectMusicPerformance8,
                         reinterpret_cast<void**>(&performance));
        performance->InitAudio(nullptr, nullptr, nullptr, DMUS_APATH_SHARED_STEREOPLUSREVERB, 64, DMUS_AUDIOF_ALL,
                               nullptr);
        CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectMusicLoader8,
                         reinterpret_cast<void**>(&loader));
        performance->CreateStandardAudioPath(DMUS_APATH_SHARED_STEREOPLUSREVERB, 64, true, &path);
        IDirectSoundBuffer8* buffer = nullptr;
        path->GetObjectInPath(DMUS_PCHANNEL_ALL, DMUS_PATH_BUFFER, 0, GUID_NULL, 0, IID_IDirectSoundBuffer8,
                              reinterpret_cast<void**>(&buffer));
        DSEFFECTDESC chorus;
        chorus.dwSize = DSEFFECTDESC_SIZE;
        chorus.guidDSFXClass = GUID_DSFX_STANDARD_CHORUS;
        buffer->SetFX(1, &chorus, nullptr);
        buffer->Release();
    }
    ~Session() {
        path->Release();
        loader->Release();
        performance->CloseDown();
        performance->Release();
        platform::CoUninitialize();
        platform::audio::closeOutput();
    }

    // Mixes blocks while a voice of bus plays, at most limit frames: a
    // short sound is played past its last frame, a long one only for its
    // first blocks. One block already goes through every step of the mixer
    // and the effects (whose state carries over from input to input); more
    // frames would only repeat them.
    void mixWhilePlaying(platform::audio::Mixer::Bus bus, std::size_t limit) {
        auto mixer = platform::audio::outputMixer();
        for (std::size_t done = 0; done < limit && mixer->anyPlaying(bus);) {
            const std::size_t n = std::min(block, limit - done);
            mixer->mix(out, n);
            done += n;
        }
    }

    // A segment from a WAV image, played for a moment on the path.
    void playImage(const std::uint8_t* data, std::size_t size) {
        using namespace platform;
        DMUS_OBJECTDESC desc;
        desc.dwSize = DMUS_OBJECTDESC_SIZE;
        desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_MEMORY;
        desc.guidClass = CLSID_DirectMusicSegment;
        desc.pbMemData = data;
        desc.llMemLength = static_cast<std::int64_t>(size);
        IDirectMusicSegment8* segment = nullptr;
        if (FAILED(loader->GetObject(&desc, IID_IDirectMusicSegment8, reinterpret_cast<void**>(&segment)))) return;
        segment->Download(performance);
        performance->PlaySegmentEx(segment, nullptr, nullptr, 0, 0, nullptr, nullptr, path);
        mixWhilePlaying(platform::audio::Mixer::Bus::Music, mixLimit);
        performance->Stop(nullptr, nullptr, 0, 0);
        segment->Unload(performance);
        segment->Release();
    }
};

// The bytes as a sound-bank file at scratchPath, loaded, played and mixed;
// then as a music segment.
inline void feedWav(Session& s, const std::uint8_t* data, std::size_t size, const std::string& scratchPath) {
    if (std::FILE* f = std::fopen(scratchPath.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    {
        SoundBank bank("Fuzz");
        bank.open(nullptr, {scratchPath});
        bank.play(0);
        s.mixWhilePlaying(platform::audio::Mixer::Bus::Effects, 64);  // stopped part-way
        bank.stop(0);
        bank.play(0);
        s.mixWhilePlaying(platform::audio::Mixer::Bus::Effects, Session::mixLimit);
    }
    s.playImage(data, size);
}

// Recomputes the checksum of every whole page, so that damage gets past
// libogg's page check and reaches the decoder and the player.
inline void resealPages(std::vector<std::uint8_t>& b) {
    for (std::size_t at = 0; at + 27 <= b.size(); ++at) {
        if (b[at] != 'O' || b[at + 1] != 'g' || b[at + 2] != 'g' || b[at + 3] != 'S') continue;
        std::size_t segments = b[at + 26];
        std::size_t headerLen = 27 + segments;
        if (at + headerLen > b.size()) break;
        std::size_t bodyLen = 0;
        for (std::size_t i = 0; i < segments; ++i) bodyLen += b[at + 27 + i];
        if (at + headerLen + bodyLen > b.size()) break;
        ogg_page page{b.data() + at, static_cast<long>(headerLen), b.data() + at + headerLen,
                      static_cast<long>(bodyLen)};
        ogg_page_checksum_set(&page);
        at += headerLen + bodyLen - 1;
    }
}

// The bytes as an Ogg track (pages resealed): decoded (at most 16 MiB of
// samples), then played.
inline void feedOgg(Session& s, const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    resealPages(bytes);
    std::FILE* f = std::tmpfile();
    if (!f) return;
    if (size) std::fwrite(bytes.data(), 1, size, f);
    std::rewind(f);
    static const std::atomic<bool> keepGoing{false};
    TrackImage image = decodeTrack(f, keepGoing, std::size_t{16} << 20);
    if (image) s.playImage(image.bytes.get(), image.size());
}

}  // namespace audio_inputs
