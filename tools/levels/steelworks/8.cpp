#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// A long chain bridge under swinging burning weights, then a climb.
void steelworks8(level& k) {
  start(k);
  k.path({{-20, 560}, {300, 560}}, 14, "normal", kit::kIron);
  k.rope(300, 560, 1600, 560, 24, 110, 7);
  for (int i = 0; i < 4; ++i) k.pendulum(500 + i * 280, 150, 260, i % 2 ? 40 : -40, 20, 2, "damaging");
  k.path({{1600, 560}, {1900, 560}}, 14, "normal", kit::kIron);
  k.platform(1950, 400, 2150, 400, 12, "normal", kit::kIron);
  k.platform(2200, 250, 2400, 250, 12, "normal", kit::kIron);
  k.path({{2450, 100}, {2800, 100}, {2800, -300}}, 14, "normal", kit::kIron);
  k.pit(300, 1600);
  k.pit(1900, 2450, 760);
  k.goal(2720, 20, 2720, 80);
}

}  // namespace levels
