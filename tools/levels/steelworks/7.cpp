#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {

// A seesaw over fire, then a high shelf. A low roof over the fire stops any
// jump across it: the ball has to ride the seesaw.
void steelworks7(level& k) {
  start(k);
  k.path({{-20, 560}, {500, 560}}, 14, "normal", kit::kIron);
  k.seesaw(750, 560, 400);
  k.path({{420, -300}, {420, 400}, {1080, 400}}, 14, "normal", kit::kIron);
  k.path({{1000, 560}, {1300, 560}}, 14, "normal", kit::kIron);
  k.pit(500, 1000, 860);
  k.path({{1300, 330}, {1700, 330}, {1700, 0}}, 14, "normal", kit::kIron);
  k.goal(1620, 250, 1620, 310);
}

}  // namespace levels
