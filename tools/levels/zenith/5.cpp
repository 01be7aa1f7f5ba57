#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// Between the spires, eastward: from a spire's top under a roof of icicles
// (a jump there is fatal) over a post and down a rope bridge to a second
// spire, over its post past a swinging hammer onto a seesaw that tips the
// ball down to a third spire, then up its stair of springy ice blocks to a
// ledge against the cliff, a little above the start and far to the east.
void zenith5(level& k) {
  k.player(620, 966);
  // The first spire: walled at the west, a post at its east end.
  ice(k, {{320, 600}, {320, 1000}, {900, 1000}, {900, 850}}, 14);
  // The roof of icicles over it, just above a rolling ball.
  ice(k, {{320, 888}, {780, 888}}, 12);
  icicles(k, 340, 760, 894, 5, 24);
  // The first bridge, down to the second spire.
  k.rope(900, 1000, 1500, 1060, 12, 40, 8);
  k.pit(900, 1500, 1800);
  ice(k, {{1500, 1060}, {1800, 1060}, {1800, 910}}, 14);
  // A hammer swings over the second post: jump it while the hammer is away.
  k.hammer(1840, 510, 300, -60, 90);
  // A seesaw over the gap to the third spire, its plank a little above the
  // spire's top: the ball lands on it beyond the pivot and it tips the ball
  // down east.
  k.stiffseesaw(2020, 1100, 420);
  k.pit(1800, 2400, 1800);
  ice(k, {{2245, 1120}, {2400, 1120}}, 14);
  // The third spire: a stair of two springy blocks between posts, each a
  // step higher, up to a ledge against the cliff with the goal.
  const double floor = 1120;
  ice(k, {{2400, floor}, {3160, floor}}, 14);
  const double px[3] = {2700, 2920, 3140};
  for (int i = 0; i < 2; ++i) k.jelly(px[i] + 10, floor, 205, 150 + 150 * i, 60);
  ice(k, {{3155, floor - 450}, {3560, floor - 450}}, 14);
  for (int i = 0; i < 3; ++i) k.platform(px[i], floor, px[i], floor - 150 * (i + 1), 7, "normal", kIce);
  ice(k, {{3560, floor}, {3560, 200}}, 14);
  k.goal(3400, floor - 540, 3400, floor - 480);
  // Scenery: pillars of far rock under the spires, clouds, birds, far spires.
  k.path({{620, 1080}, {620, 1700}}, 90, "background", kFar);
  k.path({{1650, 1140}, {1650, 1700}}, 70, "background", kFar);
  k.path({{2800, 1200}, {2800, 1750}}, 100, "background", kFar);
  sky(k, -300, 1250, 3800, 2100, 20);
  sky(k, -300, -200, 3800, 500, 14);
  spire(k, 1200, 700, 60, 700);
  spire(k, 2150, 800, 80, 600);
  spire(k, 3700, 900, 70, 1000);
  cloud(k, 1100, 1300, 50);
  cloud(k, 2100, 1350, 55);
  bird(k, 1500, 650, 20);
}

}  // namespace levels
