#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// Springy stairs up a shaft.
void steelworks5(level& k) {
  start(k);
  k.path({{-20, 560}, {400, 560}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 4; ++i) k.jelly(460 + i * 200, 560 - i * 90, 80, 70, 40);
  k.path({{1250, 200}, {1600, 200}, {1600, -100}}, 14, "normal", kit::kIron);
  k.pit(400, 1250);
  k.goal(1520, 120, 1520, 180);
}

}  // namespace levels
