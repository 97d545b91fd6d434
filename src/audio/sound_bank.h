// SoundBank: up to 40 sound effects of one owner, read from WAV files into
// static DirectSound buffers at start-up and played or stopped by entry
// number. Each bank has its own device object and its own copy of every file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/dsound.h"
#include "platform/os.h"

class SoundBank {
public:
    static constexpr int entryCount = 40;

    // owner names the bank in the trace ("World", "PlayerSide", ...).
    explicit SoundBank(std::string owner) : owner_(std::move(owner)) {}
    ~SoundBank() { close(); }
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // Creates the device and primary buffer, then loads files[i] into entry i.
    // True when the device and primary buffer exist, whatever the files did.
    bool open(platform::HWND window, const std::vector<std::string>& files);
    bool loadWave(int entry, const char* path);
    void play(int entry);  // rewind and play once
    void stop(int entry);  // halt; the position stays
    void close();

    const std::string& owner() const { return owner_; }

private:
    std::string owner_;
    platform::IDirectSound* device_ = nullptr;
    platform::IDirectSoundBuffer* primary_ = nullptr;
    std::unique_ptr<std::uint8_t[]> data_[entryCount];
    std::uint32_t size_[entryCount] = {};
    platform::IDirectSoundBuffer* buffers_[entryCount] = {};
};
