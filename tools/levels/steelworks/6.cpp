#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// Climb a zigzag between burning bars.
void steelworks6(level& k) {
  start(k);
  k.path({{-20, 560}, {900, 560}, {900, -600}}, 14, "normal", kit::kIron);
  k.platform(520, 400, 880, 400, 12);
  k.platform(-20, 240, 400, 240, 12);
  k.platform(500, 80, 880, 80, 12);
  k.spikes(580, 880, 546, 6, 24);
  k.platform(-20, 90, 200, 90, 8, "damaging");
  k.platform(620, 250, 800, 250, 8, "damaging");
  k.goal(820, 0, 820, 60);
}

}  // namespace levels
