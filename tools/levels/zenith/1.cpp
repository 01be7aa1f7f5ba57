#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// The foothills: out of a hollow, over a sagging bridge above spikes, up an
// ice slope and four steps of rock, and up a short chimney of ledges to the
// goal, high above the start. Every section ends in a corner where the ball
// can rest.
void zenith1(level& k) {
  k.player(100, 966);
  // The hollow and the slope; the floor comes before the wall so that a ball
  // in the corner jumps off the floor.
  ice(k, {{-20, 1000}, {450, 1000}, {750, 1040}}, 14);
  ice(k, {{-20, 1000}, {-20, 560}}, 14);
  k.rope(750, 1040, 1350, 1040, 12, 30, 8);
  k.pit(750, 1350, 1300);
  // Up the slope to four steps of rock, each just too high for a jump from
  // the one below to carry the ball past the next, and along the top into
  // the chimney.
  const double x1 = 2900, x2 = 3500, floor = 220;
  ice(k, {{1350, 1040},
          {1450, 1040},
          {1650, 900},
          {1800, 900},
          {1800, 730},
          {1960, 730},
          {1960, 560},
          {2120, 560},
          {2120, 390},
          {2280, 390},
          {2280, floor},
          {x2, floor}},
      14);
  // The chimney: six ledges against alternate walls. Its left wall starts at
  // the first ledge, so the way in is open below it.
  const int n = 6;
  const double len = 330;
  for (int i = 1; i <= n; ++i) {
    const double y = floor - 170 * i;
    if (i % 2)
      k.platform(x1, y, x1 + len, y, 12, "normal", kIce);
    else
      k.platform(x2 - len, y, x2, y, 12, "normal", kIce);
  }
  ice(k, {{x2, floor}, {x2, -1200}}, 14);
  ice(k, {{x1, floor - 170}, {x1, -1200}}, 14);
    k.goal(x2 - 90, floor - 170 * n - 80, x2 - 90, floor - 170 * n - 20);
  // The sky, above the climb and below it, clear of the route.
  sky(k, -300, -1200, 2700, -100, 16, x1 - 40, x2 + 40);
  sky(k, -300, 1150, 3900, 1600, 10);
  spire(k, 700, 880, 60, 500);
  spire(k, 2650, 1100, 80, 700);
  spire(k, 3750, 300, 70, 1000);
  cloud(k, 200, 700, 50);
  cloud(k, 3700, -700, 60);
  // A few beside the steps, off the ball's way.
  cloud(k, 1150, 500, 40);
  bird(k, 1650, 520, 18);
  cloud(k, 2050, 860, 45);
  bird(k, 2450, 640, 22);
  bird(k, 600, 600, 16);
}

}  // namespace levels
