#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// The traverse: up a short chimney at the foot of the cliff, then west along
// the cliff face, under a roof of icicles where a jump is fatal, over a post
// and down a rope bridge to a spire, past a swinging hammer, over a second
// post and bridge to a last ledge, far behind the start.
void zenith3(level& k) {
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
  ice(k, {{500, path + 120}, {-100, path + 120}, {-100, path - 200}}, 14);
  k.goal(150, path + 120 - 90, 150, path + 120 - 30);
  // Spikes far below the bridges.
  k.pit(-100, 2400, 1400);
  // Pillars of far rock under the spire and the last ledge.
  k.path({{1250, path + 140}, {1250, 1300}}, 60, "background", kFar);
  k.path({{200, path + 220}, {200, 1300}}, 80, "background", kFar);
  sky(k, -600, path - 900, 3600, path - 320, 14, x1 - 20, x2 + 20);
  sky(k, -600, path + 260, 3600, floor + 500, 18, x1 - 20, x2 + 20);
  spire(k, 800, 600, 70, 900);
  spire(k, 1900, 900, 80, 700);
  spire(k, 3300, 500, 60, 1100);
  // The far arch the hammer hangs from.
  k.path({{900, path - 380}, {960, path - 490}, {1160, path - 490}, {1220, path - 380}}, 10, "background", kFar);
}

}  // namespace levels
