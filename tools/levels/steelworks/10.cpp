#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// The gauntlet: a bridge under a hammer, burning boulders, a swing over the
// fire and springy stairs up to the goal.
void steelworks10(level& k) {
  start(k);
  k.path({{-20, 560}, {500, 560}}, 14, "normal", kit::kIron);
  k.rope(500, 560, 1000, 560, 10, 60, 7);
  k.hammer(750, 250, 230, 60, 90);
  piece b = k.path({{1000, 560}, {1400, 560}, {2000, 300}, {2300, 300}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 3; ++i) k.boulder(2050 + i * 80, 260, 22, 3, {&b}, "damaging");
  // The swing hangs from a roof that stops the ramp from flinging the ball
  // over the rest of the gauntlet.
  k.platform(1950, 100, 2850, 100, 14, "normal", kit::kIron);
  k.pendulum(2550, 100, 300, -40, 20, 2);
  k.path({{2750, 560}, {3100, 560}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 3; ++i) k.jelly(3200 + i * 200, 560 - i * 90, 80, 70, 40);
  k.path({{3800, 240}, {4400, 240}, {4400, -200}}, 14, "normal", kit::kIron);
  k.pit(500, 1000);
  k.pit(2300, 2750);
  k.pit(3100, 3800);
  k.goal(4340, 160, 4340, 220);
}

}  // namespace levels
