#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// Up to the first cliff: a slope, a sagging bridge over spikes, steps up
// the rock, a seesaw that throws the ball up to a ledge, and a short chimney
// of four ledges between two walls, up to the goal high above the start.
void zenith1(level& k) {
  k.player(100, 500);
  ice(k, {{-20, -300}, {-20, 560}, {500, 560}, {900, 460}});
  k.rope(900, 460, 1500, 460, 12, 30, 8);
  k.pit(900, 1500, 760);
  ice(k, {{1500, 460},
          {1800, 460},
          {1800, 340},
          {1950, 340},
          {1950, 220},
          {2100, 220},
          {2100, 100},
          {2300, 100}});
  k.seesaw(2550, 100, 400);
  ice(k, {{2800, 100}, {2950, 100}, {2950, 400}});
  k.pit(2300, 2800, 500);
  // The chimney: its floor is the ledge the seesaw throws to, open on the
  // left below its first ledge there.
  ice(k, {{2600, -110}, {3200, -110}, {3200, -1120}}, 14);
  ice(k, {{2700, -450}, {2700, -1120}}, 14);
  for (int i = 0; i < 5; ++i) {
    const double y = -280 - 170 * i;
    if (i % 2 == 1)
      k.platform(2700, y, 2920, y, 12, "normal", kIce);
    else
      k.platform(2980, y, 3200, y, 12, "normal", kIce);
  }
  k.goal(3120, -1040, 3120, -980);
  sky(k, -200, -1300, 3400, 300, 22);
  spire(k, 700, 420, 60, 500);
  spire(k, 2000, 60, 80, 700);
  cloud(k, 200, 700, 60);
}

}  // namespace levels
