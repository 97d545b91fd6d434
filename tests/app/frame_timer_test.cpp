// FrameTimer on the virtual clock: the extra sleep while behind schedule,
// the one-second hand-over, and a wrapping millisecond clock.
#include <gtest/gtest.h>

#include "app/frame_timer.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "player/frame_rate_readout.h"

using namespace platform;

namespace {

class FrameTimerTest : public ::testing::Test {
protected:
    void start(std::uint32_t msStart) {
        auto owned = std::make_unique<HeadlessBackend>(InputScript{}, msStart, 0);
        clock = &owned->clock();
        msStart_ = msStart;
        installBackend(std::move(owned));
        timer.clearPasses();
        timer.start();
    }
    // Runs endPass at `elapsed` ms into the window; returns whether it slept.
    bool endPassAt(std::uint32_t elapsed) {
        const std::uint32_t now = clock->ms() - base();
        if (elapsed > now) clock->advanceMs(elapsed - now);
        const std::uint32_t before = clock->ms();
        timer.endPass(nullptr, readout);
        return clock->ms() != before;
    }
    std::uint32_t base() const { return msStart_; }

    VirtualClock* clock = nullptr;
    FrameTimer timer;
    FrameRateReadout readout;
    std::uint32_t msStart_ = 0;
};

}  // namespace

TEST_F(FrameTimerTest, SleepsOnlyWhileBehindTheSixtyPerSecondSchedule) {
    start(0);
    EXPECT_FALSE(endPassAt(0));  // nothing elapsed, nothing counted: on time
    EXPECT_TRUE(endPassAt(1));   // no pass yet and 1 ms gone: behind
    for (int i = 0; i < 3; ++i) timer.countPass();
    // 3 passes are due at 3 x 16.6666 = 49.9998 ms.
    EXPECT_TRUE(endPassAt(50));
    // 6 x 16.6666 rounds (in single precision) to 99.9996: ahead at 99 ms,
    // behind at 100.
    start(0);
    for (int i = 0; i < 6; ++i) timer.countPass();
    EXPECT_FALSE(endPassAt(99));
    EXPECT_TRUE(endPassAt(100));
}

TEST_F(FrameTimerTest, HandsOverThePassCountAfterMoreThanOneSecond) {
    start(5000);
    for (int i = 0; i < 61; ++i) timer.countPass();
    clock->advanceMs(1000);  // exactly 1000 ms: the window goes on
    timer.endPass(nullptr, readout);
    EXPECT_EQ(readout.rate, 0);
    EXPECT_EQ(timer.passes(), 61);
    // 61 passes are ahead of schedule at 1000 ms (due at 1016.7): no sleep.
    ASSERT_EQ(clock->ms(), 5000u + 1000u);
    clock->advanceMs(1);  // 1001 ms: the count is handed over
    timer.endPass(nullptr, readout);
    EXPECT_EQ(readout.rate, 61);
    EXPECT_EQ(timer.passes(), 0);
}

TEST_F(FrameTimerTest, NewWindowStartsAtAFreshReadingOfTheClock) {
    start(0);
    timer.countPass();
    clock->advanceMs(1001);
    timer.endPass(nullptr, readout);  // hands over 1; the behind-sleep came first
    EXPECT_EQ(readout.rate, 1);
    // The new window started after that sleep, at 1002: 1000 ms later the
    // window still goes on, 1001 later it ends.
    timer.countPass();
    clock->advanceMs(1000 - 1);  // endPass itself may add 1 ms of sleep
    timer.endPass(nullptr, readout);
    EXPECT_EQ(readout.rate, 1);
    EXPECT_EQ(timer.passes(), 1);
}

TEST_F(FrameTimerTest, WrappingClockGivesTheRightElapsedTime) {
    start(0xFFFFFF00u);  // wraps 256 ms into the window
    for (int i = 0; i < 30; ++i) timer.countPass();
    clock->advanceMs(400);
    ASSERT_LT(clock->ms(), 0xFFFFFF00u);  // wrapped
    // 400 ms elapsed and 30 passes due at 499.998 ms: ahead, no sleep.
    const std::uint32_t before = clock->ms();
    timer.endPass(nullptr, readout);
    EXPECT_EQ(clock->ms(), before);
    clock->advanceMs(700);
    timer.endPass(nullptr, readout);
    EXPECT_EQ(readout.rate, 30);
}
