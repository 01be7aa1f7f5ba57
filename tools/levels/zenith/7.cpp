#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// Along the ridge of the sky, back west: across a narrow ice bridge under a
// swinging hammer and past a second one beyond it, into the corner at the
// foot of a cliff while a boulder comes rolling down the slope above and
// leaps over the ball; up the slope under a roof of icicles, up a step, and
// across a second bridge under another roof of icicles to the goal, far
// behind the start.
void zenith7(level& k) {
  k.player(3150, 470);
  // The east end of the ridge, and the first narrow bridge over spikes.
  ice(k, {{3300, -300}, {3300, 500}, {3000, 500}}, 10);
  k.platform(3000, 500, 2400, 500, 10, "normal", kIce);
  k.pit(2400, 3000, 900);
  k.hammer(2700, 180, 270, 60, 90);
  ice(k, {{2400, 500}, {2000, 500}}, 10);
  // The second hammer wakes as the ball nears it and swings behind the first.
  k.hammer(2260, 180, 270, -60, 90);
  // The slope up to the upper ridge; its boulder rolls only on it, leaps off
  // the cliff's edge and falls into the clouds.
  piece slope = ice(k, {{1480, 140}, {1600, 140}, {2000, 340}, {2000, 500}}, 10);
  piece rock = k.boulder(1640, 90, 40, 3, {&slope}, "damaging");
  rock.first()->rolling = 1;
  // A roof of icicles over the slope: a jump there is fatal.
  for (double x = 1700; x < 1840; x += 60) {
    const double y = 130 + (x - 1600) * 0.5 - 110;
    ice(k, {{x, y}, {x + 60, y + 30}}, 6);
    icicles(k, x, x + 60, y + 15, 2, 28);
  }
  // A step up at the slope's top, the second bridge under a roof of
  // icicles, and the ridge west to the goal.
  ice(k, {{1400, -40}, {1480, -40}, {1480, 140}}, 10);
  k.pit(650, 1400, 600);
  ice(k, {{700, -165}, {1200, -165}}, 6);
  icicles(k, 700, 1200, -160, 10, 32);
  ice(k, {{1400, -40}, {150, -40}, {150, -500}}, 10);
  k.goal(330, -110, 330, -60);
  // Scenery.
  sky(k, -200, 600, 3700, 1300, 18);
  sky(k, -200, -700, 3700, -250, 10);
  spire(k, 2200, 480, 60, 500);
  spire(k, 600, 120, 80, 600);
  spire(k, 3300, -320, 50, 400);
}

}  // namespace levels
