#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// Slack chains hung over a burning floor, each higher than the last.
void steelworks9(level& k) {
  start(k);
  k.path({{-20, 560}, {300, 560}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 5; ++i)
    k.rope(380 + i * 260, 540 - i * 70, 540 + i * 260, 540 - i * 70, 5, 50, 6, 1, kit::kIron);
  k.path({{1700, 180}, {2100, 180}, {2100, -200}}, 14, "normal", kit::kIron);
  k.pit(300, 1700, 900);
  k.goal(2020, 100, 2020, 160);
}

}  // namespace levels
