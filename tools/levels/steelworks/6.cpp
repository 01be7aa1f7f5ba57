#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {
namespace {

// The tower's shaft runs between two iron walls; its flights turn back on
// each other, so every flight climbs towards the wall it last left.
constexpr double kWest = 0, kEast = 800;
constexpr double kRise = 220;  // how much each flight's ramp climbs
constexpr double kStep = 180;  // from a pocket up to the next landing

// One flight of the tower, from its landing at height y: a short flat with
// a curb at its open end, a steep ramp that climbs kRise towards the wall
// ahead (only a ball pushed all the way up gets over it), a short crest,
// and behind the crest a pocket sunk 40 against that wall, where the ball
// comes to rest. The ramp's underside is a burning pipe: a jump on the ramp
// below is fatal, and a jump in a pocket must rise straight up the open
// side of the shaft, between the next landing and the wall. Returns the
// pocket's floor.
double flight(level& k, double y, bool east) {
  const double s = east ? 1 : -1;
  const double wall = east ? kEast : kWest;
  const double land0 = wall - s * 590, land1 = wall - s * 450, top = wall - s * 180, lip = wall - s * 110;
  const double pocket = y - kRise + 40;
  floor(k, {{land0 - s * 20, y - 14}, {land0, y}, {land1, y}, {top, y - kRise}, {lip, y - kRise},
            {wall - s * 60, pocket}, {wall, pocket}},
        12);
  // The burning underside, just below the ramp.
  k.platform(land1 + s * 70, y - kRise * 70 / 270 + 22, top - s * 4, y - kRise + 24, 6, "damaging");
  return pocket;
}

}  // namespace

// A tower of the works, climbed flight by flight: each ramp climbs against
// the wall that the last one left, ending in a pocket where the ball rests,
// and from the pocket a jump straight up the open side of the shaft reaches
// the next flight's landing. The ramps' undersides burn. High above the
// start, a deck under the tower's roof holds the goal.
void steelworks6(level& k) {
  startat(k, 740, 1866);
  // Scenery first: the works behind the tower, its frame, its flue.
  chimney(k, -420, 1900, 2200);
  chimney(k, 1220, 1900, 3000);
  girder(k, -60, 1900, -60, -1700, 40, 18);
  girder(k, 820, 1900, 820, -1700, 40, 18);
  for (int i = 0; i < 5; ++i) girder(k, -60, 1500 - 700 * i, 860, 1500 - 700 * i, 30, 6);
  gear(k, 400, 1400, 110, 12);
  gear(k, 520, 1230, 60, 8);
  gear(k, 400, 300, 80, 10);
  gear(k, 400, -800, 100, 12);
  gear(k, 270, -950, 60, 8);
  pipe(k, {{-600, 1500}, {-200, 1500}, {-200, 500}, {-120, 500}, {-120, -1400}});
  pipe(k, {{950, 1900}, {950, 1000}, {900, 1000}, {900, -600}, {1400, -600}});
  hangchain(k, 250, 1500, 180);
  hangchain(k, 560, 800, 220);
  hangchain(k, 230, 100, 160);
  hangchain(k, 600, -600, 200);
  hangchain(k, 1250, -1500, 300);
  girder(k, -300, -1750, 1200, -1750, 30, 8);
  // The tower's floor, with a pit at its foot where the ball starts.
  floor(k, {{kWest, 1860}, {kEast - 110, 1860}, {kEast - 60, 1900}, {kEast, 1900}});
  double y = 1900;
  bool east = false;
  for (int i = 0; i < 8; ++i) {
    y = flight(k, y - kStep, east);
    east = !east;
  }
  // The last pocket is against the east wall; the deck above it runs west
  // to the goal.
  floor(k, {{kEast - 210, y - kStep}, {kWest, y - kStep}}, 12);
  k.goal(100, y - kStep - 90, 100, y - kStep - 30);
  // The walls, after the floors, and the roof.
  floor(k, {{kWest, 1860}, {kWest, y - 500}, {kEast, y - 500}, {kEast, 1900}});
}

}  // namespace levels
