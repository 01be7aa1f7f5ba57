#include "tools/levels/steelworks.h"

using kit::kIron;
using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// The finale: out along two chain bridges under burning weights and a
// hammer, climbing from pier to pier; up a shaft of ledges; then back along
// the top of the works over a last chain bridge under a burning weight to a
// goal high above the start.
void steelworks10(level& k) {
  startat(k, 215, 1005);
  // The works around: chimneys on the slag floor, the girders the weights and
  // the hammer hang from, gears, pipes and chains.
  chimney(k, 900, 1500, 1300);
  chimney(k, 2300, 1500, 1200);
  chimney(k, 3400, 1500, 1900);
  girder(k, 560, 826, 840, 826, 30, 4);
  girder(k, 1550, 681, 2250, 681, 30, 8);
  girder(k, 2140, -524, 2420, -524, 30, 4);
  gear(k, 300, 700, 90, 12);
  gear(k, 2940, -480, 70, 8);
  gear(k, 1300, -600, 80, 10);
  pipe(k, {{200, -310}, {200, 500}, {1000, 500}, {1000, 300}});
  pipe(k, {{1700, 1500}, {1700, 1150}, {2600, 1150}, {2600, 900}});
  pipe(k, {{3260, 1500}, {3260, -500}});
  hangchain(k, 1180, 700, 180);
  hangchain(k, 2540, 560, 160);
  hangchain(k, 800, -700, 250);
  k.platform(0, 800, 0, 1000, 14);
  // The start: a hollow low in the works.
  floor(k, {{0, 1000}, {220, 1050}, {300, 1040}});
  // Out over the first bridge, under a burning weight.
  k.rope(300, 1040, 1100, 1040, 24, 80, 8, 2, kIron);
  weight(k, 700, 250, 300, 1040, 1100, 1040, 80, -70);
  k.pit(300, 1100, 1500);
  pier(k, 1100, 1040);
  // The second bridge, under a burning weight and a hammer.
  k.rope(1360, 890, 2460, 890, 32, 100, 8, 2, kIron);
  weight(k, 1690, 250, 1360, 890, 2460, 890, 100, 70);
  k.hammer(2110, 500, 390, -60, 100);
  k.pit(1360, 2460, 1500);
  pier(k, 2460, 890);
  // Up the shaft: ledges on alternate walls, the ledges before the walls so
  // that a ball in a corner jumps off its ledge.
  floor(k, {{2720, 740}, {2770, 780}, {2830, 780}, {2880, 740}, {3160, 740}});
  k.platform(2900, 590, 3160, 590, 12, "normal", kIron);
  k.platform(2720, 410, 2980, 410, 12, "normal", kIron);
  k.platform(2900, 230, 3160, 230, 12, "normal", kIron);
  k.platform(2720, 50, 2980, 50, 12, "normal", kIron);
  k.platform(2900, -130, 3160, -130, 12, "normal", kIron);
  floor(k, {{3160, 740}, {3160, -600}, {2400, -600}});
  floor(k, {{2720, 610}, {2720, -250}});
  // The top of the works: west from the shaft, from a hollow over the last
  // bridge under a burning weight, into a second hollow and on to the goal
  // above the start.
  floor(k, {{2980, -350}, {2760, -270}, {2680, -310}});
  k.rope(2680, -310, 1880, -310, 24, 80, 8, 2, kIron);
  weight(k, 2280, 250, 1880, -310, 2680, -310, 80, -70);
  floor(k, {{1880, -304}, {1850, -304}, {1790, -270}, {1750, -270}, {1700, -280}, {1640, -310}, {300, -310},
            {300, -500}});
  k.goal(420, -390, 420, -330);
}

}  // namespace levels
