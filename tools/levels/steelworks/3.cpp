#include "tools/levels/steelworks.h"

using kit::level;
using kit::kIron;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// Two chain bridges sag over burning slag, the first under a swinging
// burning weight, with piers between them to rest in; then a short ramp
// above the fire up to a goal at the far right.
void steelworks3(level& k) {
  startat(k, 215, 405);
  // The works behind: chimneys on the slag floor, the girder the weight
  // hangs from, gears, pipes and chains.
  chimney(k, 130, 900, 900);
  chimney(k, 1260, 900, 780);
  chimney(k, 2620, 900, 940);
  girder(k, 560, 226, 840, 226, 30, 4);
  gear(k, 420, 60, 80);
  gear(k, 1900, -120, 90, 12);
  gear(k, 3300, -200, 70, 8);
  pipe(k, {{1000, 900}, {1000, 620}, {1560, 620}, {1560, 900}});
  pipe(k, {{2300, 900}, {2300, 560}, {2900, 560}, {2900, 300}});
  hangchain(k, 1100, 160, 180);
  hangchain(k, 2460, 20, 160);
  k.platform(0, 200, 0, 400, 14);
  // The start: a hollow to rest in while the weight swings.
  floor(k, {{0, 400}, {220, 450}, {300, 440}});
  // The first bridge, under one weight over its sag.
  k.rope(300, 440, 1100, 440, 24, 80, 8, 2, kIron);
  weight(k, 700, 250, 300, 440, 1100, 440, 80, 70);
  k.pit(300, 1100, 900);
  pier(k, 1100, 440);
  // The second bridge, longer and bare.
  k.rope(1360, 290, 2460, 290, 32, 100, 8, 2, kIron);
  k.pit(1360, 2460, 900);
  pier(k, 2460, 290);
  // The ramp: up from the shelf over the fire into a hollow at the far
  // wall, where the goal sits.
  floor(k, {{2720, 140}, {2900, 140}, {3160, 20}, {3300, 20}, {3360, 50}, {3440, 50}, {3480, 20}, {3480, -300}});
  k.pit(2720, 3480, 900);
  k.goal(3400, -20, 3400, 30);
}

}  // namespace levels
