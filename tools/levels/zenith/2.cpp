#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// The ice chimney: ledges up a shaft three screens high, alternately on its
// left and right walls, with icicles under every other ledge so that a jump
// taken too early hurts. A pendulum swings across the middle of the climb,
// and a rest ledge halfway up spans the whole shaft.
void zenith2(level& k) {
  k.player(300, 520);
  ice(k, {{0, 560}, {800, 560}});
  shaft(k, 0, 800, 560, -2700, 8, 170, 480);
  for (int i = 0; i < 9; ++i) {
    const double y = -970 - 170 * i;
    if (i % 2 == 0) {
      k.platform(320, y, 800, y, 12, "normal", kIce);
      icicles(k, 360, 780, y + 6, 5, 26);
    } else {
      k.platform(0, y, 480, y, 12, "normal", kIce);
    }
  }
  k.platform(0, -2500, 400, -2500, 12, "normal", kIce);
  k.pendulum(400, -1900, 420, 55, 24, 3, "damaging");
  k.goal(120, -2580, 120, -2520);
  sky(k, -900, -2700, 1700, 500, 40, -20, 820);
  spire(k, -300, 200, 80, 900);
  spire(k, 1150, -400, 70, 1100);
}

}  // namespace levels
