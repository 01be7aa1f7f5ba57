// The world's part of a frame: slow motion, effective masses, anchors, the
// integration step and the frame pacing.
#include <cstdint>

#include "world/game.h"
#include "world/motion.h"

namespace {

constexpr double kSlowMotion = 0.5f;
// 1000/63 as a single-precision value: frames are at least 16 whole ms apart.
constexpr double kFramePeriod = 1000.0f / 63.0f;

}  // namespace

void game::handleslower() {
  slower = 1;
  if (slowtime > 0) {
    slowtime -= 1;
    slower = kSlowMotion;
  }
}

// Anchored balls weigh 99 so links and joints barely move them.
void game::updatemass() {
  for (ball* b : osballlist) b->actualmass = b->anchored != 0 ? kHeavyMass : b->m;
}

void game::doanchor() {
  for (ball* b : osballlist) {
    if (b->anchored == 1) anchorball(*b);
  }
}

// The velocity is what the ball actually moved this step, constraints
// included, scaled back to a full frame and damped once.
void ball::updatev(double s) {
  xv = (x - oldx) * kDamping / s;
  yv = (y - oldy) * kDamping / s;
}

void game::deltatimecount() {
  // The clock may wrap; only the difference counts.
  auto elapsed = [this] {
    return static_cast<int32_t>(static_cast<uint32_t>(ClockMillis()) - static_cast<uint32_t>(oldtime));
  };
  while (elapsed() < kFramePeriod) {
  }
  oldtime = ClockMillis();
}

void game::stepworld() {
  // With the same lists as the last frame and no ball listed twice, the
  // solver moves each ball while it takes its position: one walk over the
  // records instead of three.
  if (constraintmove()) return;
  for (ball* b : osballlist) fallball(*b, gravity);
  // Moved and, if pinned, put back in one walk: a ball listed twice moves
  // twice and is put back the same.
  for (ball* b : osballlist) moveball(*b, slower);
  constraintstep();  // with each ball's updatev(slower) and rebounded := 0
}
