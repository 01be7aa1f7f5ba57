#include "tools/levels/meadow.h"

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// From the middle of a valley up out of it: over a crate, then a springy
// pillar, held upright by the tensions at its corners, is the step into the
// corner at the foot of a cliff that the valley floor cannot reach; from its
// top a chimney of six ledges leads on up to the goal high above the start.
void meadow6(level& k) {
  k.player(2150, 526);
  // The valley, its floor and both hillsides: one figure, so that the
  // tower's blocks stand on the floor and lean on the walls.
  piece valley = k.path({{600, -1300}, {600, 560}, {3700, 560}, {3700, 0}}, 14, "normal", kit::kLeaf);
  // A crate on the floor just west of the start, to hop over.
  k.pair(k.box(2000, 476, 70, 70, 1, 1000), valley);
  // A stone on the floor east of the tower, to rest against.
  k.platform(990, 560, 990, 440, 14, "normal", kit::kStone);
  // The cliff at the west end of the valley, too high to hop from the
  // floor, and a springy pillar at its foot, held upright by the tensions at
  // its corners; its top is a step up into the corner at the cliff.
  k.path({{600, 230}, {800, 230}, {800, 560}}, 14, "normal", kit::kLeaf);
  k.jelly(820, 546, 70, 170, 3000);
  // The chimney: six ledges 200 apart against alternate walls, ledges
  // before walls, up to the goal on the last.
  for (int i = 1; i <= 6; ++i) {
    const double y = 200 - 200 * i;
    if (i % 2)
      k.platform(810, y, 1100, y, 12, "normal", kit::kLeaf);
    else
      k.platform(600, y, 890, y, 12, "normal", kit::kLeaf);
  }
  k.platform(1100, 100, 1100, -1300, 14, "normal", kit::kLeaf);
  k.goal(660, -1030, 660, -1090);
  // The valley and the hills around it.
  hillline(k, 800, 560, 1500, 300);
  hillline(k, 2100, 560, 1600, 380);
  tree(k, 1900, 546, 170);
  flowers(k, 2250, 2700, 546);
  hedge(k, 2800, 3100, 546);
  tree(k, 3300, 546, 190);
  flowers(k, 3400, 3680, 546);
  flowers(k, 1150, 1450, 546);
  hedge(k, 1650, 1800, 546);
  flowers(k, 640, 780, 216);
  cloud(k, 1500, 100, 45);
  cloud(k, 2600, -150, 50);
  cloud(k, 400, -500, 40);
  tree(k, 1000, -14, 140);
}

}  // namespace levels
