// VirtualClock: the headless runs' time. Each presented frame moves it to the
// next 1/60 s boundary and each sleep moves it by its length, so runs repeat
// bit for bit. Time is counted in ticks of 1/60000 s, which holds both
// milliseconds and frames exactly.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

class VirtualClock {
public:
    static constexpr std::uint64_t ticksPerSecond = 60000;
    static constexpr std::uint64_t ticksPerMs = 60;
    static constexpr std::uint64_t ticksPerFrame = 1000;

    // msStart: what timeGetTime reads at tick 0; calendarStart: what time() reads.
    VirtualClock(std::uint32_t msStart, std::int64_t calendarStart)
        : msStart_(msStart), calendarStart_(calendarStart) {}

    std::uint64_t ticks() const { return ticks_; }
    std::uint32_t ms() const { return msStart_ + static_cast<std::uint32_t>(ticks_ / ticksPerMs); }
    std::int64_t calendarSeconds() const {
        return calendarStart_ + static_cast<std::int64_t>(ticks_ / ticksPerSecond);
    }

    void advanceMs(std::uint32_t ms) { advanceTo(ticks_ + std::uint64_t{ms} * ticksPerMs); }
    void advanceToNextFrame() { advanceTo((ticks_ / ticksPerFrame + 1) * ticksPerFrame); }

    // Called with the new tick count after every advance (the headless mixer).
    void onAdvance(std::function<void(std::uint64_t)> listener) {
        listeners_.push_back(std::move(listener));
    }

private:
    void advanceTo(std::uint64_t t) {
        ticks_ = t;
        for (auto& l : listeners_) l(ticks_);
    }

    std::uint32_t msStart_;
    std::int64_t calendarStart_;
    std::uint64_t ticks_ = 0;
    std::vector<std::function<void(std::uint64_t)>> listeners_;
};

}  // namespace platform
