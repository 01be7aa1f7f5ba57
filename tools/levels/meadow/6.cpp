#include "tools/levels/meadow.h"

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// A tower of blocks is the only way up to the ledge; it sways as you climb.
void meadow6(level& k) {
  start(k);
  piece ground = k.path({{-20, 560}, {1500, 560}, {1500, -200}}, 14);
  k.tower(850, 546, 5, 70, 60, 1, ground);
  k.path({{1000, 560}, {1000, 250}, {1500, 250}}, 14);
  k.goal(1440, 170, 1440, 230);
  k.tree(400, 546, 140);
}

}  // namespace levels
