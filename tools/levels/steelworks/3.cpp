#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// Islands across a wide pit, each under a swinging weight.
void steelworks3(level& k) {
  start(k);
  k.path({{-20, 560}, {300, 560}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 5; ++i) {
    k.platform(500 + i * 330, 620 - i * 30, 600 + i * 330, 620 - i * 30, 12, "normal", kit::kIron);
    k.pendulum(550 + i * 330, 200, 320 - i * 30, i % 2 ? 50 : -50, 22, 3);
  }
  k.path({{2150, 500}, {2500, 500}, {2500, 100}}, 14, "normal", kit::kIron);
  k.pit(300, 2150);
  k.goal(2420, 410, 2420, 480);
}

}  // namespace levels
