#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {
namespace {

// Topple the tower to cross the pit.
[[maybe_unused]] void topple(level& k) {
  start(k);
  piece left = k.path({{-20, 560}, {600, 560}}, 14, "normal", kit::kIron);
  k.tower(540, 546, 6, 60, 60, 1, left);
  k.path({{1000, 560}, {1500, 560}, {1500, 200}}, 14, "normal", kit::kIron);
  k.pit(600, 1000);
  k.goal(1420, 470, 1420, 540);
}

}  // namespace

// Two long bridges, each under hammers.
void steelworks2(level& k) {
  start(k);
  k.path({{-20, 560}, {300, 560}}, 14, "normal", kit::kIron);
  k.rope(300, 560, 1300, 560, 20, 80, 7);
  k.hammer(800, 250, 230, 70, 100);
  k.path({{1300, 560}, {1400, 560}}, 14, "normal", kit::kIron);
  k.rope(1400, 560, 2400, 560, 20, 100, 7);
  k.hammer(1750, 250, 230, -70, 100);
  k.hammer(2050, 250, 230, 70, 100);
  k.path({{2400, 560}, {2800, 560}, {2800, 200}}, 14, "normal", kit::kIron);
  k.pit(300, 2400);
  k.goal(2720, 470, 2720, 540);
}

}  // namespace levels
