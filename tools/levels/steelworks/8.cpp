#include "tools/levels/steelworks.h"

using kit::level;
using kit::kIron;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// Three long chain bridges sag over burning slag, under swinging burning
// weights and a hammer, with piers between them to rest in; then a roofed
// switchback climb to a goal high at the far right.
void steelworks8(level& k) {
  startat(k, 215, 405);
  // The works behind: chimneys on the slag floor, the girders the weights
  // and the hammer hang from, gears, pipes and chains.
  chimney(k, 130, 900, 900);
  chimney(k, 1260, 900, 780);
  chimney(k, 2620, 900, 940);
  chimney(k, 3860, 900, 1100);
  girder(k, 560, 226, 840, 226, 30, 4);
  girder(k, 1540, 82, 2260, 82, 30, 8);
  girder(k, 2980, -290, 3300, -290, 30, 4);
  gear(k, 420, 60, 80);
  gear(k, 1900, -180, 90, 12);
  gear(k, 3500, -420, 70, 8);
  pipe(k, {{1000, 900}, {1000, 620}, {1560, 620}, {1560, 900}});
  pipe(k, {{2300, 900}, {2300, 560}, {2900, 560}, {2900, 300}});
  pipe(k, {{4300, 140}, {4300, 60}, {4520, 60}, {4520, -980}});
  hangchain(k, 1100, 160, 180);
  hangchain(k, 2460, 20, 160);
  hangchain(k, 4280, -1030, 200);
  gear(k, 4100, -900, 60, 8);
  k.platform(0, 200, 0, 400, 14);
  // The start: a hollow to rest in while the first weight swings.
  floor(k, {{0, 400}, {220, 450}, {300, 440}});
  // The first bridge, under one weight over its sag.
  k.rope(300, 440, 1100, 440, 24, 80, 8, 2, kIron);
  weight(k, 700, 250, 300, 440, 1100, 440, 80, 70);
  k.pit(300, 1100, 900);
  pier(k, 1100, 440);
  // The second bridge, longer, under two weights.
  k.rope(1360, 290, 2460, 290, 32, 100, 8, 2, kIron);
  weight(k, 1690, 250, 1360, 290, 2460, 290, 100, 70);
  weight(k, 2110, 250, 1360, 290, 2460, 290, 100, -70);
  k.pit(1360, 2460, 900);
  pier(k, 2460, 290);
  // The third bridge, under a burning hammer.
  k.rope(2720, 140, 3720, 140, 28, 80, 8, 2, kIron);
  k.hammer(3140, -260, 470, 65, 110);
  k.pit(2720, 3720, 900);
  pier(k, 3720, 140);
  // The climb: a roofed shaft of ledges, each on one wall. The ledges come
  // before the walls, so that a ball in a corner jumps off its ledge.
  floor(k, {{3980, -10}, {4030, 30}, {4090, 30}, {4140, -10}, {4420, -10}});
  k.platform(4160, -160, 4420, -160, 12, "normal", kIron);
  k.platform(3980, -340, 4240, -340, 12, "normal", kIron);
  k.platform(4160, -520, 4420, -520, 12, "normal", kIron);
  k.platform(3980, -700, 4240, -700, 12, "normal", kIron);
  floor(k, {{4420, -10}, {4420, -1050}});
  floor(k, {{3980, -170}, {3980, -1050}, {4420, -1050}});
  k.goal(4060, -780, 4060, -720);
}

}  // namespace levels
