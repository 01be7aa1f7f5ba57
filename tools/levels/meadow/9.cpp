#include "tools/levels/meadow.h"

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// Hammers swing across a low corridor, down to its floor: the ball has to
// time its dash under each one, and the ceiling stops any jump over them.
void meadow9(level& k) {
  start(k);
  k.path({{-20, 560}, {2700, 560}, {2700, 200}}, 14);
  k.path({{300, 360}, {2500, 360}}, 14);
  for (int i = 0; i < 5; ++i) k.hammer(700 + i * 400, 360, 130, i % 2 ? -60 : 60, 80);
  k.goal(2620, 470, 2620, 540);
  k.tree(2600, 546, 150);
}

}  // namespace levels
