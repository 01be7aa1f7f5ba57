#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// From the pump house floor east into a roofed shaft and up a stair of
// springy jelly steps on iron pillars, with a burning bar over the open part
// of every step, so the ball must climb from corner to corner; at the top it
// leaps back west onto a gantry and follows it, high over the floor it
// started on: across a sagging chain bridge, over a gap, past a burning
// hammer and over a second gap to the goal in a nook far behind the start.
void steelworks5(level& k) {
  const double sx = 2500, run = 130, rise = 150, h = 50;  // the stair
  const int steps = 6;
  const double east = sx + steps * run + 20;              // the shaft's east wall
  const double gy = 1800 - steps * rise - 200;            // the gantry
  startat(k, 2050, 1766);
  // Scenery.
  chimney(k, 1700, 2300, 1600);
  chimney(k, 3600, 2300, 2300);
  gear(k, 2250, 1350, 80);
  gear(k, 3000, 560, 60, 8);
  pipe(k, {{1850, 2300}, {1850, 1200}, {2350, 1200}, {2350, 900}});
  girder(k, 0, gy + 40, 2400, gy + 40, 30, 16);
  hangchain(k, 1500, gy - 450, 200);
  hangchain(k, 400, gy - 450, 260);
  gear(k, 700, 1200, 90);
  chimney(k, 1000, 2300, 1300);

  // The pump house floor, walled at its west end, runs to the stair's foot.
  floor(k, {{1900, 1650}, {1900, 1800}, {sx, 1800}});
  // Burning slag on the floor before the stair: the first thing to jump.
  k.spikes(2190, 2290, 1790, 3, 24);
  // The stair: each step a jelly block on an iron pillar whose west face is
  // the riser the step below ends against. Over the open part of each step
  // but the last hangs a burning bar: a jump from anywhere but the corner at
  // the step's east end runs into it.
  for (int i = 1; i <= steps; ++i) {
    const double x = sx + (i - 1) * run, top = 1800 - i * rise;
    floor(k, {{x, 1800}, {x, top + h}}, 9);
    floor(k, {{x + run, top + h}, {x + run, 1800}}, 9);
    k.jelly(x, top + h, run, h, 40);
    if (i < steps) k.platform(x + 8, top - 205, x + 40, top - 205, 6, "damaging", kit::kRed);
  }
  // The shaft: its east wall and roof.
  floor(k, {{east - 20, 1800 - steps * rise + h}, {east, 1800 - steps * rise + h}, {east, gy - 220},
            {sx - 50, gy - 220}});
  // The gantry, west from above the stair: a chain bridge that sags under
  // the ball, a kerb to rest against before a gap, a burning hammer swinging
  // over the walk, a second kerb and gap, and the nook with the goal. The
  // hammer is still while the ball rests at the first kerb, out of sight,
  // and starts to swing as the ball leaps the gap towards it.
  const double ge = east - 190;
  floor(k, {{ge, gy}, {2600, gy}});
  k.rope(2600, gy, 1900, gy, 16, 10, 8, 1, kit::kIron);
  floor(k, {{1898, gy + 6}, {1870, gy}, {1800, gy}, {1800, gy - 70}});
  // Beyond the gap the ball lands on a jelly pad, set a little low, that
  // takes up its fall and holds it while it watches the hammer.
  floor(k, {{1692, gy}, {1692, gy + 67}, {1520, gy + 67}}, 6);
  k.jelly(1530, gy + 55, 150, 40, 40);
  floor(k, {{1522, gy + 15}, {1480, gy}, {600, gy}, {600, gy - 70}});
  k.hammer(1180, gy - 300, 240, 70, 90);
  floor(k, {{460, gy}, {-60, gy}, {-60, gy - 200}, {200, gy - 200}});
  k.goal(60, gy - 180, 60, gy - 20);
}

}  // namespace levels
