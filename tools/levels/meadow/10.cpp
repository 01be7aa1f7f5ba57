#include "tools/levels/meadow.h"

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// All of it: a bridge, a swinging hammer, a seesaw up to a high ledge, and a
// last bridge high over the pit.
void meadow10(level& k) {
  start(k);
  k.path({{-20, 560}, {400, 560}}, 14);
  k.rope(400, 560, 900, 560, 10, 50, 8);
  k.path({{900, 560}, {1500, 560}}, 14);
  k.pit(400, 900);
  k.hammer(1150, 300, 200, 50, 90);
  k.seesaw(1750, 470, 400);
  k.path({{1500, 560}, {2200, 560}, {2200, 800}}, 14);
  k.path({{1950, 250}, {2600, 250}}, 14);
  k.rope(2600, 250, 3100, 250, 10, 70, 8);
  k.path({{3100, 250}, {3400, 250}, {3400, -200}}, 14, "normal", kit::kLeaf);
  k.pit(2200, 3100, 900);
  k.goal(3340, 170, 3340, 230);
  k.tree(1300, 546, 150);
  k.tree(3250, 236, 140);
  k.cloud(2800, -100, 40);
}

}  // namespace levels
