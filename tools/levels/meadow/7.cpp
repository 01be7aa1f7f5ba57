#include "tools/levels/meadow.h"

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// Two rope bridges sag over a pit of spikes; the far bank is higher.
void meadow7(level& k) {
  start(k);
  k.path({{-20, 560}, {400, 560}}, 14, "normal", kit::kLeaf);
  k.rope(400, 560, 900, 560, 10, 60, 8);
  k.path({{900, 560}, {980, 560}}, 14);
  k.rope(980, 560, 1480, 560, 10, 80, 8);
  // The goal lies in a hollow of the far bank with spikes beyond it: a ball
  // that flies across at full speed sails over the hollow onto them.
  k.path({{1480, 560},
          {1480, 440},
          {1780, 440},
          {1780, 500},
          {1860, 500},
          {1860, 440},
          {2200, 440},
          {2200, -300}},
         14, "normal", kit::kLeaf);
  k.pit(400, 1480);
  k.spikes(1890, 2180, 426, 5);
  k.goal(1795, 480, 1845, 480);
  k.tree(250, 546, 130);
  k.tree(1580, 426, 150);
}

}  // namespace levels
