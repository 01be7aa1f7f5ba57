#include "tools/levels/steelworks.h"

using kit::kIron;
using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// Down from the top of the works: three slack chains hang steeply down over
// the fire, the last two under swinging burning weights, with piers between
// them to rest in; then down a shaft from ledge to ledge past burning weights
// to a goal deep below the start.
void steelworks9(level& k) {
  startat(k, 215, -1135);
  // The works around: chimneys rising from the fire, the girders the weights
  // hang from, gears, pipes and chains.
  chimney(k, 600, 1100, 1900);
  chimney(k, 1900, 1100, 1500);
  chimney(k, 3300, 1100, 1300);
  girder(k, 1980, -790, 2260, -790, 30, 4);
  girder(k, 3080, -580, 3360, -580, 30, 4);
  gear(k, 250, -1400, 90, 12);
  gear(k, 1250, -1150, 70, 8);
  gear(k, 4200, -600, 80, 10);
  pipe(k, {{1000, 1100}, {1000, -300}, {1500, -300}, {1500, -600}});
  pipe(k, {{2700, 1100}, {2700, 100}, {3500, 100}, {3500, 400}});
  pipe(k, {{4520, 900}, {4520, -400}});
  hangchain(k, 800, -1500, 300);
  hangchain(k, 2600, -1000, 250);
  hangchain(k, 4300, 400, 120);
  k.platform(0, -1340, 0, -1140, 14);
  // The start: a hollow high in the works.
  floor(k, {{0, -1140}, {220, -1090}, {300, -1100}});
  // The first chain hangs down to the first pier.
  k.rope(300, -1100, 1100, -700, 24, 20, 8, 2, kIron);
  pier(k, 1100, -700, -60, 4);
  // The second, longer, under a burning weight.
  k.rope(1360, -850, 2460, -350, 32, 20, 8, 2, kIron);
  weight(k, 2120, 250, 1360, -850, 2460, -350, 20, -70);
  pier(k, 2460, -350, -60, 4);
  // The third, under a burning hammer.
  k.rope(2720, -500, 3720, -100, 28, 20, 8, 2, kIron);
  weight(k, 3220, 250, 2720, -500, 3720, -100, 20, 70);
  pier(k, 3720, -100, -60, 4);
  // The fire under it all.
  k.pit(300, 3720, 500);
  // The shaft down: the ball drops from ledge to ledge, each on one wall,
  // while burning weights swing under the ends of two of them.
  floor(k, {{3980, -250}, {4040, -210}, {4080, -210}, {4140, -250}, {4180, -250}});
  k.platform(4160, -50, 4420, -50, 12, "normal", kIron);
  k.platform(3980, 150, 4240, 150, 12, "normal", kIron);
  k.platform(4160, 350, 4420, 350, 12, "normal", kIron);
  k.platform(3980, 550, 4240, 550, 12, "normal", kIron);
  floor(k, {{3980, 750}, {4420, 750}});
  k.pendulum(4150, -38, 90, -60, 20, 3, "damaging");
  k.pendulum(4150, 362, 90, -60, 20, 3, "damaging");
  floor(k, {{4420, 750}, {4420, -500}});
  floor(k, {{3980, 750}, {3980, -250}});
  k.goal(4340, 670, 4340, 730);
}

}  // namespace levels
