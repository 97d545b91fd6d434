#include "enemies/warp_group.h"

#include "platform/crt.h"
#include "platform/os.h"

using namespace platform;

const WarpGroup::Point WarpGroup::Points[PointCount] = {{-7.0, 9.0}, {-7.0, 3.0}, {0.0, 6.0}, {7.0, 9.0}, {7.0, 3.0}};

namespace {
// A 2 x 2 square facing the camera, opaque white, the whole image.
const QuadVertex FlashQuad[4] = {{-1, 1, 0, 0xFFFFFFFF, 0, 0},
                                 {1, 1, 0, 0xFFFFFFFF, 1, 0},
                                 {-1, -1, 0, 0xFFFFFFFF, 0, 1},
                                 {1, -1, 0, 0xFFFFFFFF, 1, 1}};
// Black in the flash image is see-through, as in every field texture.
constexpr D3DCOLOR FlashColorKey = 0xFF000000;
}  // namespace

WarpGroup::WarpGroup() : EnemyGroup(1, {2800, 1700, 2500, 3800}, "x\\teki04.x", "Enemy4ロスト") { restart(); }

// The mesh goes with EnemyGroup; the flash quad is the warp's own.
WarpGroup::~WarpGroup() { graphics.releaseQuad(); }

void WarpGroup::seedRandom() { platform::srand(static_cast<std::uint32_t>(platform::time())); }

// The state every wave starts from. The list leaves out P2 although the
// unit is said to stand on P3: the first jump may land on P3 and the next
// one on P3 again.
void WarpGroup::restart() {
    warpCounter_ = JumpInterval;
    current_ = 3;
    candidates_[0] = Points[0];
    candidates_[1] = Points[1];
    candidates_[2] = Points[3];
    candidates_[3] = Points[4];
    flashTimer_ = 0;
    flashX_ = flashY_ = flashZ_ = 0.0;
}

bool WarpGroup::load() {
    if (graphics.createQuadBuffer()) writeQuad(graphics.quadBuffer, FlashQuad);
    if (!EnemyGroup::load()) return false;
    return graphics.loadTexture("t\\warp.png", FlashColorKey, "ワープ画像", &graphics.quadTexture);
}

void WarpGroup::reset(int wave) {
    placeUnit(0, -7.0, 6.0, 100.0, wave, 1.0, 1.0, 2.0);
    resetDone();
    restart();
}

void WarpGroup::jump() {
    Placement& p = placements[0];
    flashTimer_ = FlashFrames;
    flashX_ = p.x;
    flashY_ = p.y;
    flashZ_ = p.z;
    const Real r = platform::rand();
    const int f = static_cast<int>((r / 32768.0 * 4.0).value());  // 0 to 3
    p.x = candidates_[f].x;
    p.y = candidates_[f].y;
    p.z = p.z - 10.0;
    current_ = f < current_ ? f : f + 1;
    int n = 0;
    for (int j = 0; j < PointCount; ++j)
        if (j != current_) candidates_[n++] = Points[j];
    warpCounter_ = 0;
}

void WarpGroup::update(int, int, Placement) {
    if (warpCounter_ == JumpInterval) jump();
    ++warpCounter_;
    // Between jumps the unit keeps its depth: the forward step takes this back.
    placements[0].z = placements[0].z + 0.2;
    tail(0);
    if (flashTimer_ > 0) --flashTimer_;
}

void WarpGroup::drawSlot(int i) {
    EnemyGroup::drawSlot(i);
    if (flashTimer_ <= 0) return;
    graphics.setWorldAt(flashX_.toFloat(), flashY_.toFloat(), flashZ_.toFloat());
    graphics.drawQuad();
}
