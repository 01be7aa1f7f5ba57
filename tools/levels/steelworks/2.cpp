#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {
namespace {

// A tall rigid iron tower hinged at one foot corner (px, py), standing on its
// other foot; dir = -1 lets it fall to the left (its body stands right of the
// hinge), +1 to the right.
piece hingedtower(level& k, double px, double py, double w, double h, int dir, double m = 0.5) {
  piece p;
  const double x2 = px - dir * w;
  ball* hinge = k.addball(px, py, 7, m, 1, "normal", kit::kIron);
  ball* foot = k.addball(x2, py, 6, m, 0, "normal", kit::kIron);
  ball* top2 = k.addball(x2, py - h, 6, m, 0, "normal", kit::kIron);
  ball* top1 = k.addball(px, py - h, 6, m, 0, "normal", kit::kIron);
  p.balls = {hinge, foot, top2, top1};
  p.links = {k.addlink(hinge, foot, 6, "normal", kit::kIron), k.addlink(foot, top2, 6, "normal", kit::kIron),
             k.addlink(top2, top1, 6, "normal", kit::kIron), k.addlink(top1, hinge, 6, "normal", kit::kIron),
             k.addlink(hinge, top2, 3, "background", kit::kIron), k.addlink(foot, top1, 3, "background", kit::kIron)};
  k.addtension(top1, hinge, foot, 1000);
  k.addtension(hinge, foot, top2, 1000);
  k.addtension(foot, top2, top1, 1000);
  k.addtension(top2, top1, hinge, 1000);
  return p;
}

}  // namespace

void steelworks2(level& k) {
  startat(k, 300, -1540);
  // Scenery: the gantry's truss, chimneys rising out of the depths, gears and
  // pipes down the shafts.
  girder(k, -20, -1480, 400, -1480, 40, 5);
  chimney(k, 250, 1640, 2700);
  chimney(k, 1850, 1640, 2400);
  gear(k, 1250, -1100, 90);
  gear(k, 300, -350, 70, 8);
  pipe(k, {{1620, -1700}, {1620, 700}});
  pipe(k, {{-60, -1000}, {-60, 1500}});
  hangchain(k, 700, -1160, 200);
  // The gantry, and over the slag pit on a chain bridge under a hammer.
  floor(k, {{-20, -1500}, {420, -1500}});
  // The works are closed over: a roof over the gantry and the hollow, the
  // west wall all the way down.
  floor(k, {{-20, -1500}, {-20, -1980}, {1200, -1980}, {1200, -1680}});
  k.rope(420, -1500, 1120, -1500, 18, 50, 8, 1, kit::kIron);
  k.hammer(770, -1900, 400, 60, 100);
  k.pit(420, 1120, -1260);
  // A hollow to rest in, then the drop into the shaft.
  floor(k, {{1120, -1500}, {1180, -1450}, {1300, -1450}, {1360, -1500}, {1420, -1500}, {1420, -1020}});
  floor(k, {{1200, -1680}, {1560, -1680}, {1560, -800}});
  // Deck two, westwards: a tall tower stands on the edge of a pit; push it
  // over and it falls across.
  piece deckb = floor(k, {{1560, -800}, {1290, -800}, {1290, -740}, {1250, -740}});
  k.pit(890, 1250, -560);
  piece farb = floor(k, {{890, -780}, {140, -780}});
  piece t1 = hingedtower(k, 1250, -760, 20, 430, -1);
  k.pair(t1, deckb);
  k.pair(t1, farb);
  // Down the west shaft to deck three, eastwards: a tower on the edge of a
  // wide pit falls onto a second one standing on a pillar in the pit, and
  // knocks it over onto the far side.
  floor(k, {{-20, -1500}, {-20, 60}});
  piece deckc = floor(k, {{-20, 60}, {220, 60}, {220, -100}, {440, -100}, {440, -40}, {500, -40}});
  k.pit(500, 1340, 220);
  piece cap = floor(k, {{920, 220}, {920, -60}, {860, -60}});
  piece farc = floor(k, {{1340, -60}, {1700, -60}});
  piece t2 = hingedtower(k, 500, -60, 20, 450, 1, 1.5);
  piece t3 = hingedtower(k, 920, -80, 20, 450, 1);
  k.pair(t2, deckc);
  k.pair(t2, cap);
  k.pair(t2, t3);
  k.pair(t3, cap);
  k.pair(t3, farc);
  // The last drop, deep into the works, and a last chain bridge under a
  // hammer, westwards, to the goal: a gate in the far wall. The hammer is out
  // of sight from the shaft, so it wakes when the ball rolls out of it.
  floor(k, {{1700, -60}, {1700, 1010}});
  floor(k, {{1580, 1100}, {1610, 1130}, {1670, 1130}, {1700, 1100}, {1820, 1100}, {1820, -600}});
  k.rope(1580, 1100, 820, 1100, 20, 30, 8, 1, kit::kIron);
  k.hammer(1170, 700, 400, -60, 100);
  k.pit(820, 1580, 1340);
  floor(k, {{820, 1100}, {760, 1150}, {620, 1150}});
  floor(k, {{840, 960}, {620, 960}, {620, 600}});
  k.goal(620, 975, 620, 1136);
}

}  // namespace levels
