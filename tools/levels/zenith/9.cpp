#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// The long way up: out of a chimney at the foot of the cliff, west along the
// cliff face under a roof of icicles where a jump is fatal, over a post and
// down a rope bridge to a spire under a swinging hammer, over a second post
// and bridge to the foot of the summit chimney, and up it to a goal high
// above the start.
void zenith9(level& k) {
  k.player(2700, 666);
  const double x1 = 2400, x2 = 3000, floor = 700, rise = 170, len = 330;
  // The chimney: four ledges against alternate walls, and a fifth on the
  // left that runs out of the shaft as the cliff path.
  ice(k, {{x1, floor}, {x2, floor}});
  for (int i = 1; i <= 4; ++i) {
    const double y = floor - rise * i;
    if (i % 2)
      k.platform(x1, y, x1 + len, y, 12, "normal", kIce);
    else
      k.platform(x2 - len, y, x2, y, 12, "normal", kIce);
  }
  // Icicles over the start: the first jump must wait for the corner.
  icicles(k, x1 + 20, x1 + len - 20, floor - rise + 6, 5, 18);
  const double path = floor - rise * 5;
  ice(k, {{x1 + len, path}, {2000, path}, {2000, path - 150}}, 14);
  ice(k, {{x1, floor}, {x1, path}}, 14);
  ice(k, {{x2, floor}, {x2, path - 400}}, 14);
  // The roof over the top of the chimney and the cliff path, hung with
  // icicles just above a rolling ball; nothing jumps over it.
  ice(k, {{x2, path - 150}, {2500, path - 150}, {2500, path - 112}, {2150, path - 112}}, 12);
  icicles(k, 2160, x1 - 90, path - 106, 5, 24);
  // The first bridge, down to a spire; the spire's top ends in a post.
  k.rope(2000, path, 1400, path + 60, 12, 40, 8);
  ice(k, {{1400, path + 60}, {1100, path + 60}, {1100, path - 90}}, 14);
  // A hammer swings over the post: jump it while the hammer is away.
  k.hammer(1060, path - 490, 300, 60, 90);
  // The second bridge, down to the last ledge, walled at the west.
  k.rope(1100, path + 60, 500, path + 120, 12, 40, 8);
  // The summit chimney: its floor is the landing of the second bridge; the
  // ball rests against the west wall, then climbs ledges against alternate
  // walls to the goal on the top one.
  const double top = path + 120, sx1 = -100, sx2 = 500;
  // A second hammer swings low over the foot of the second bridge.
  const double hx = 610;
  k.hammer(hx, top - 350, 300, 20, 90);
  k.path({{hx - 160, top - 240}, {hx - 100, top - 350}, {hx + 100, top - 350}, {hx + 160, top - 240}}, 10,
         "background", kFar);
  ice(k, {{sx2, top}, {sx1, top}}, 14);
  double y = top;
  for (int i = 1; i <= 3; ++i) {
    y = top - rise * i;
    if (i % 2)
      k.platform(sx2 - len, y, sx2, y, 12, "normal", kIce);
    else
      k.platform(sx1, y, sx1 + len, y, 12, "normal", kIce);
  }
  ice(k, {{sx1, top}, {sx1, y - 400}}, 14);
  ice(k, {{sx2, top - rise}, {sx2, y - 400}}, 14);
  k.goal(sx2 - 150, y - 90, sx2 - 150, y - 30);
  // Spikes far below the bridges.
  k.pit(-100, 2400, 1400);
  // Pillars of far rock under the spire and the last ledge.
  k.path({{1250, path + 140}, {1250, 1300}}, 60, "background", kFar);
  k.path({{200, path + 220}, {200, 1300}}, 80, "background", kFar);
  // Clouds high over the traverse, none in either chimney.
  sky(k, sx2 + 20, path - 900, 3600, path - 320, 12, x1 - 20, x2 + 20);
  sky(k, -900, path - 900, sx1 - 20, path - 200, 5, sx1 - 20, sx2 + 20);
  sky(k, -600, path + 260, 3600, floor + 500, 18, x1 - 20, x2 + 20);
  spire(k, 800, 600, 70, 900);
  spire(k, 1900, 900, 80, 700);
  spire(k, 3300, 500, 60, 1100);
  // The far arch the first hammer hangs from.
  k.path({{900, path - 380}, {960, path - 490}, {1160, path - 490}, {1220, path - 380}}, 10, "background", kFar);
}

}  // namespace levels
