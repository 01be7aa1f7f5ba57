#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

namespace {

// A shaft of ledges against alternate walls, the first on the left; the
// ledges come before the walls, so a ball in a corner jumps off the ledge,
// not the wall. Icicles hang under some of them, clear of the jumps.
void ledges(level& k, double x1, double x2, double floor, int from, int to, double rise, double len) {
  for (int i = from; i <= to; ++i) {
    const double y = floor - rise * i;
    if (i % 2) {
      k.platform(x1, y, x1 + len, y, 12, "normal", kIce);
      if (i % 4 == 1 && i > 1) icicles(k, x1 + 150, x1 + len - 20, y + 6, 4, 18);
    } else {
      k.platform(x2 - len, y, x2, y, 12, "normal", kIce);
      if (i % 4 == 0) icicles(k, x2 - len + 20, x2 - 150, y + 6, 4, 18);
    }
  }
}

}  // namespace

// The ice chimney: eight ledges up a shaft, then out through its east wall
// and down a rope bridge to a second shaft, and nine more ledges up that one,
// three screens above the start. Every ledge ends in a corner where the ball
// can rest before the next jump; a ball that misses one falls back down.
void zenith2(level& k) {
  k.player(300, 526);
  const double x1 = 0, x2 = 600, floor = 560, rise = 170, len = 330;
  ice(k, {{x1, floor}, {x2, floor}});
  ledges(k, x1, x2, floor, 1, 7, rise, len);
  // Icicles over the start: the first jump must wait for the corner.
  icicles(k, x1 + 20, x1 + len - 20, floor - rise + 6, 5, 18);
  // The eighth ledge runs east out of the shaft to the bridge.
  const double out = floor - rise * 8, bx = 1400, floor2 = out + 60;
  ice(k, {{x2 - len, out}, {x2 + 100, out}}, 12);
  k.rope(x2 + 100, out, bx, floor2, 12, 40, 8);
  const double x3 = bx, x4 = bx + 600, top = floor2 - rise * 9;
  ice(k, {{x3, floor2}, {x4, floor2}});
  ledges(k, x3, x4, floor2, 1, 9, rise, len);
  ice(k, {{x1, floor}, {x1, out - 500}}, 14);
  ice(k, {{x2, floor}, {x2, out}}, 14);
  ice(k, {{x2, out - 250}, {x2, out - 500}}, 14);
  ice(k, {{x3, floor2 - rise}, {x3, top - 300}}, 14);
  ice(k, {{x4, floor2}, {x4, top - 300}}, 14);
  k.pit(x2, x3, floor + 300);
  k.goal(x3 + 90, top - 80, x3 + 90, top - 20);
  sky(k, -900, top - 300, 2500, floor + 300, 44, x1 - 20, x4 + 20);
  spire(k, -300, 200, 80, 900);
  spire(k, 1000, 300, 70, 1300);
  spire(k, -450, -1200, 60, 700);
  spire(k, 2350, -900, 70, 1000);
}

}  // namespace levels
