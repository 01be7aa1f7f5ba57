// The level kit's seesaws under a hard landing: the plank of a stiff seesaw
// tips but never folds through its pivot; a plain one does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/headless/headless.h"
#include "tests/world/worldkit.h"
#include "tools/levelkit.h"
#include "world/game.h"

namespace {

// Builds a seesaw, hits its right end hard downwards, plays `frames` frames
// of motion and constraints, and returns the least distance from the pivot
// to the plank's line over them, on the side it was built (14 units when
// the frame is whole; negative once the plank has folded through the pivot).
double plankabovepivot(bool stiff, int frames, double hit) {
  headless::install();
  game g;
  kit::level k(g);
  const kit::piece p = stiff ? k.stiffseesaw(500, 400, 420) : k.seesaw(500, 400, 420);
  ball *pivot = p.balls[0], *l = p.balls[1], *r = p.balls[2];
  r->oldy = r->y - hit;  // the end comes down at `hit` units a frame
  r->yv = hit;
  double least = 1e9;
  for (int i = 0; i < frames; i++) {
    worldkit::allonscreen(g);
    g.stepworld();
    const double dx = r->x - l->x, dy = r->y - l->y;
    least = std::min(least, (dx * (pivot->y - l->y) - dy * (pivot->x - l->x)) / std::hypot(dx, dy));
  }
  return least;
}

TEST(SeesawKit, StiffPlankStaysAboveItsPivot) {
  for (double hit : {4.0, 8.0, 12.0}) EXPECT_GT(plankabovepivot(true, 300, hit), 0) << "hit " << hit;
}

TEST(SeesawKit, PlainPlankFoldsUnderTheSameHit) {
  // The hit is hard enough to matter: without the tensions the frame turns
  // over.
  EXPECT_LT(plankabovepivot(false, 300, 12), 0);
}

}  // namespace
