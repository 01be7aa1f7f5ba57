#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// The ice chimney: seventeen ledges up a shaft three screens high, alternately
// on its left and right walls, with icicles under some of them. Each ledge
// ends in a corner where the ball can rest before the next jump, and a ball
// that misses a jump falls back down the shaft.
void zenith2(level& k) {
  k.player(300, 526);
  const double x1 = 0, x2 = 600, floor = 560, rise = 170, len = 330;
  const int n = 17;
  // The ledges come before the walls, so a ball in a corner jumps off the
  // ledge, not the wall.
  ice(k, {{x1, floor}, {x2, floor}});
  for (int i = 1; i <= n; ++i) {
    const double y = floor - rise * i;
    if (i % 2) {
      k.platform(x1, y, x1 + len, y, 12, "normal", kIce);
    } else {
      k.platform(x2 - len, y, x2, y, 12, "normal", kIce);
      if (i % 4 == 0) icicles(k, x2 - len + 20, x2 - 150, y + 6, 4, 18);
    }
    if (i % 4 == 1 && i > 1) icicles(k, x1 + 150, x1 + len - 20, y + 6, 4, 18);
  }
  const double top = floor - rise * n;
  ice(k, {{x1, floor}, {x1, top - 300}}, 14);
  ice(k, {{x2, floor}, {x2, top - 300}}, 14);
  k.goal(n % 2 ? x1 + 90 : x2 - 90, top - 80, n % 2 ? x1 + 90 : x2 - 90, top - 20);
  sky(k, -900, top - 300, 1500, floor, 40, x1 - 20, x2 + 20);
  spire(k, -300, 200, 80, 900);
  spire(k, 950, -400, 70, 1100);
  spire(k, -450, -1200, 60, 700);
}

}  // namespace levels
