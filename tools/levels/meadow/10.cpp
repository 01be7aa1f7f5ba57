#include "tools/levels/meadow.h"

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// All of it, uphill: hop a springy block, west along the valley floor over a
// rope bridge above spikes, under a hammer that hangs still until the ball
// comes near and over a seesaw, then up a shaft of seven ledges and east
// along the high ridge, over a boulder, to a goal far above the start.
void meadow10(level& k) {
  const kit::rgb leaf = kit::kLeaf;
  k.player(3264, 1466);
  // The valley floor, westwards: a rope bridge over spikes, a step down, a
  // hammer.
  k.path({{3300, 1000}, {3300, 1500}, {2900, 1500}}, 14, "normal", leaf);
  // A springy block to hop first.
  k.jelly(2980, 1486, 100, 100, 60);
  k.rope(2900, 1500, 2300, 1500, 12, 30, 8);
  k.pit(2300, 2900, 1800);
  k.path({{2300, 1500}, {2150, 1500}, {2150, 1580}, {0, 1580}}, 14, "normal", leaf);
  k.hammer(1250, 1580 - 350, 300, 75, 80);
  // A seesaw lies flush with the way and tips as the ball rolls over it.
  k.seesaw(850, 1600, 440, 80, 1, 4);
  // The shaft: ledges against alternate walls, 200 apart; the ledges come
  // before the walls so a ball in a corner jumps off the floor.
  for (int i = 1; i <= 7; ++i) {
    const double y = 1580 - 200 * i;
    if (i % 2)
      k.platform(210, y, 500, y, 12, "normal", leaf);
    else
      k.platform(0, y, 290, y, 12, "normal", leaf);
  }
  k.platform(0, 1580, 0, -220, 14, "normal", leaf);
  k.platform(500, 1380, 500, 0, 14, "normal", leaf);
  // The high ridge, eastwards: down a step, then over a boulder that sits in
  // a notch of the way, to the goal.
  piece ridge = k.path({{500, 0}, {1200, 0}, {1200, 60}, {1450, 60}, {1470, 90}, {1530, 90}, {1550, 60},
                        {2300, 60}, {2300, -240}},
                       14, "normal", leaf);
  k.boulder(1500, 42, 34, 3, {&ridge});
  k.goal(2200, -30, 2200, 30);

  // The meadow: far hills, trees, hedges and flowers in the valley and on the
  // ridge, a hedge on every other ledge, clouds above.
  hillline(k, 1800, 1580, 1500, 300);
  hillline(k, 0, 1580, 1300, 250);
  hillline(k, 600, 0, 1700, 350);
  tree(k, 3150, 1486, 170);
  flowers(k, 2170, 2290, 1486);
  hedge(k, 1900, 2100, 1566);
  tree(k, 1500, 1566, 190);
  flowers(k, 1050, 1200, 1566);
  tree(k, 250, 1566, 160);
  for (int i = 2; i <= 6; i += 2) hedge(k, 30, 250, 1566 - 200 * i);
  tree(k, 800, -14, 170);
  flowers(k, 1250, 1420, 46);
  flowers(k, 1600, 2150, 46);
  cloud(k, 2600, 1000, 45);
  cloud(k, 1400, 500, 50);
  cloud(k, 300, -500, 40);
  cloud(k, 1900, -400, 45);
}

}  // namespace levels
