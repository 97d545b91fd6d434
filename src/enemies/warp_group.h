// WarpGroup: a single unit that jumps between five fixed points every 50
// frames, ten units nearer each time, leaving a flash where it stood.
#pragma once

#include <cstdint>

#include "enemies/enemy_group.h"

class WarpGroup : public EnemyGroup {
public:
    struct Point {
        Real x, y;
    };
    static constexpr int PointCount = 5;
    static constexpr int CandidateCount = 4;
    static constexpr std::int32_t JumpInterval = 50;
    static constexpr std::int32_t FlashFrames = 10;
    static const Point Points[PointCount];

    WarpGroup();
    ~WarpGroup() override;

    // Seeds the process-wide generator with the calendar time. Construction
    // happens before the platform exists, so the World does this at start-up.
    static void seedRandom();

    // The flash quad, the mesh, then the flash texture (skipped after a
    // mesh failure).
    bool load() override;
    void reset(int wave) override;
    void update(int action, int reserved, Placement player) override;
    // The unit, then the flash while its timer runs.
    void drawSlot(int i) override;

    std::int32_t flashTimer() const { return flashTimer_; }
    const Point& candidate(int f) const { return candidates_[f]; }
    int currentPoint() const { return current_; }

private:
    void restart();
    void jump();

    std::int32_t warpCounter_;
    int current_;  // k: the point the unit stands on
    Point candidates_[CandidateCount];
    std::int32_t flashTimer_;
    Real flashX_, flashY_, flashZ_;
};
