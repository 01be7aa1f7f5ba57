#include "tools/levels/meadow.h"

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// Springy blocks climb out of a pit: they lean and spring back under the ball.
void meadow8(level& k) {
  start(k);
  k.path({{-20, 560}, {350, 560}}, 14);
  for (int i = 0; i < 4; ++i) k.jelly(450 + i * 220, 640 - i * 80, 90, 90, 60);
  k.path({{1350, 230}, {1700, 230}, {1700, -200}}, 14);
  k.pit(350, 1350);
  k.goal(1640, 150, 1640, 210);
}

}  // namespace levels
