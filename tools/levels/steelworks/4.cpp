#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// A long chute: burning boulders come rolling down as the ball climbs.
void steelworks4(level& k) {
  start(k);
  piece chute = k.path({{-20, 560}, {400, 560}, {1400, 200}, {2400, -150}, {2700, -150}, {2700, -500}}, 14,
                       "normal", kit::kIron);
  for (int i = 0; i < 6; ++i)
    k.boulder(1500 + i * 150, 126 - i * 52.5, 22, 3, {&chute}, i % 2 ? "normal" : "damaging");
  k.goal(2640, -230, 2640, -170);
}

}  // namespace levels
