#include "tools/levels/meadow.h"

#include <cmath>

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {
namespace {

// A swing: a plank hung from two pivots by two rods of the same length, so it
// stays level while it swings; it starts drawn back by angle degrees. The
// rods are scenery: only the plank is in the ball's way.
piece swing(level& k, double px1, double px2, double py, double len, double angle) {
  piece p;
  const double a = angle * M_PI / 180, dx = len * std::sin(a), dy = len * std::cos(a);
  ball* p1 = k.addball(px1, py, 7, 1, 1, "normal", kit::kIron);
  ball* p2 = k.addball(px2, py, 7, 1, 1, "normal", kit::kIron);
  ball* e1 = k.addball(px1 + dx, py + dy, 9, 2, 0, "normal", kit::kWood);
  ball* e2 = k.addball(px2 + dx, py + dy, 9, 2, 0, "normal", kit::kWood);
  p.balls = {p1, p2, e1, e2};
  p.links = {k.addlink(e1, e2, 9, "normal", kit::kWood), k.addlink(p1, e1, 3, "background", kit::kIron),
             k.addlink(p2, e2, 3, "background", kit::kIron)};
  return p;
}

}  // namespace

// Down the hillside in four terraces, each under the one before: two hammers
// swing across the first, a red pendulum and a swinging bridge over spikes
// make the second, two more hammers the third, and the last drop lands by
// the goal. Between them the ball rests against walls and under steps to wait
// for its moment. The second hammer and the bridge hang still until the ball
// comes near, so they always meet it the same way.
void meadow9(level& k) {
  const kit::rgb leaf = kit::kLeaf;
  k.player(3264, -1534);
  // Terrace 1, westwards: a hammer, a step down, a hammer, a step down. The
  // ball waits against the wall and then in the corner under the step for
  // each hammer to swing away.
  k.path({{3300, -1900}, {3300, -1500}, {2300, -1500}, {2300, -1420}, {1300, -1420}, {1300, -1340},
          {350, -1340}},
         14, "normal", leaf);
  k.hammer(2800, -1500 - 350, 300, 75, 80);
  k.hammer(1560, -1420 - 350, 300, 75, 80);
  // Terrace 2, eastwards: a red ball swings low over the way, then a bridge
  // hung on short rods swings over a pit of spikes; the ball rides it across
  // to a lower bank while it is low.
  k.platform(0, -1900, 0, -900, 14, "normal", leaf);
  k.path({{0, -900}, {900, -900}, {900, -840}, {1700, -840}}, 14, "normal", leaf);
  k.pendulum(520, -1300, 336, 80, 26, 2, "damaging");
  k.pit(1700, 2550, -640);
  swing(k, 1745, 2505, -930, 100, -60);
  k.path({{2550, -640}, {2550, -796}, {3050, -796}}, 14, "normal", leaf);
  // A roof over the pit, walled up to the terrace above, keeps jumps low:
  // only the swing crosses.
  k.path({{1380, -1340}, {1380, -1040}, {2500, -1040}}, 10, "normal", kit::kWood);
  // Terrace 3, westwards again: two more hammers, a step between them.
  k.platform(3300, -1500, 3300, -100, 14, "normal", leaf);
  k.path({{3300, -400}, {2000, -400}, {2000, -320}, {400, -320}}, 14, "normal", leaf);
  k.hammer(2760, -400 - 350, 300, -130, 80);
  k.hammer(1500, -320 - 350, 300, 110, 80);
  // The foot of the hill: the goal stands in the corner below the last drop.
  k.path({{0, -900}, {0, 200}, {1200, 200}, {1200, 0}}, 14, "normal", leaf);
  k.goal(120, 100, 120, 170);

  // The meadow on the hillside: far hills, trees, hedges and flowers on
  // every terrace, clouds above.
  hillline(k, 1300, -1420, 2000, 320);
  hillline(k, 0, -900, 1700, 260);
  hillline(k, 2000, -400, 1300, 280);
  hillline(k, 0, 200, 1200, 300);
  tree(k, 3000, -1514, 160);
  hedge(k, 2380, 2560, -1514);
  flowers(k, 1950, 2250, -1434);
  tree(k, 750, -1354, 170);
  flowers(k, 420, 640, -1354);
  hedge(k, 60, 260, -914);
  flowers(k, 980, 1320, -854);
  tree(k, 2800, -810, 150);
  flowers(k, 2600, 2740, -810);
  tree(k, 2350, -414, 160);
  flowers(k, 2950, 3200, -414);
  hedge(k, 1000, 1250, -334);
  tree(k, 650, -334, 150);
  flowers(k, 300, 1100, 186);
  tree(k, 900, 186, 170);
  cloud(k, 2600, -2100, 45);
  cloud(k, 1200, -1850, 50);
  cloud(k, 400, -1500, 40);
  cloud(k, 2100, -250, 45);
}

}  // namespace levels
