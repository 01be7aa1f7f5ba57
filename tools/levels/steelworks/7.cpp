#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {
// From a gantry in the middle of the works to its far east end: over a
// seesaw above the slag, under a burning roof, into a pocket; up over its
// wall onto the mill floor and down into a sump; a mould shoved off the
// floor's end into the fire, and the second seesaw ridden after it, under
// another burning roof, into the casting bay, where the goal waits on a
// shelf behind a curtain wall, reached only by a jump from the bay's pocket.
void steelworks7(level& k) {
  startat(k, 600, 200);
  // Scenery first: the works around the line.
  chimney(k, 250, 234, 900);
  chimney(k, 1900, 700, 1300);
  chimney(k, 3400, 700, 1200);
  girder(k, 0, -260, 1000, -260, 40, 8);
  girder(k, 1250, -200, 2500, -200, 30, 8);
  girder(k, 2700, -240, 3300, -240, 30, 5);
  gear(k, 1120, -60, 90, 12);
  gear(k, 1240, -120, 50, 8);
  gear(k, 2620, -80, 80, 10);
  pipe(k, {{-100, 700}, {-100, 400}, {450, 400}, {450, 600}});
  pipe(k, {{1650, 700}, {1650, 480}, {2300, 480}, {2300, 650}});
  pipe(k, {{2950, 700}, {2950, 480}, {3350, 480}, {3350, -100}});
  hangchain(k, 800, -260, 200);
  hangchain(k, 1500, -200, 260);
  hangchain(k, 2050, -200, 160);
  hangchain(k, 3000, -240, 160);
  // The gantry, under a hood.
  floor(k, {{0, 234}, {900, 234}});
  floor(k, {{0, 234}, {0, -200}});
  floor(k, {{560, 100}, {1000, 100}}, 10);
  // A seesaw over fire, under a burning roof.
  k.stiffseesaw(1120, 240, 420);
  k.platform(930, 130, 1280, 130, 6, "damaging");
  k.pit(900, 1500, 700);
  floor(k, {{900, 234}, {900, 700}});
  floor(k, {{1345, 260}, {1355, 380}, {1500, 380}, {1540, 406}, {1600, 406}});
  // The mill floor, with a sump to rest in, and a tall mould standing at
  // its end under a low roof: shove it into the fire.
  piece mill = floor(k, {{1600, 188}, {2130, 200}, {2140, 230}, {2200, 230}, {2270, 200}, {2400, 200}});
  floor(k, {{1600, 406}, {1600, 200}});
  piece mould = k.box(2330, 10, 60, 170, 0.5, 1000, 6, 6, false, kit::kIron);
  k.pair(mould, mill);
  floor(k, {{2150, -40}, {2420, -40}}, 10);
  // The second seesaw, over fire, under a burning roof.
  k.stiffseesaw(2620, 206, 420);
  k.platform(2430, 56, 2820, 56, 6, "damaging");
  k.pit(2400, 3000, 700);
  floor(k, {{2400, 200}, {2400, 700}});
  // The casting bay: a pocket at the east wall, and the goal on a shelf
  // above it, behind a curtain wall that turns back whatever flies in.
  floor(k, {{2840, 320}, {2900, 340}, {3100, 340}, {3140, 370}, {3200, 370}});
  floor(k, {{2920, 200}, {3060, 200}}, 10);
  k.goal(2980, 72, 2980, 186);
  floor(k, {{3200, 370}, {3200, -200}});
  floor(k, {{2890, 240}, {2890, 50}, {3200, 50}});
}

}  // namespace levels
