#include "tools/levels/meadow.h"

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// Springy blocks: from the meadow east up a stair of springy blocks, each
// one a step higher, with a fence post between each two; up a ledge to a
// high ridge, and back west along it over two rope bridges, the second over
// a pit of spikes, to a last springy block: from its top, and only from
// there, the ball reaches the goal hanging high above it, far behind the
// start.
void meadow8(level& k) {
  k.player(1900, 526);
  k.path({{1300, -240}, {1300, 560}, {3100, 560}}, 14, "normal", kit::kLeaf);
  // The stair: each block stands between two fence posts; the ball rests on
  // a block against the post and jumps over it onto the next, higher block.
  const double px[4] = {2200, 2420, 2640, 2860};
  for (int i = 0; i < 3; ++i) k.jelly(px[i] + 10, 560, 205, 150 + 150 * i, 60);
  // A ledge against the east wall at the top of the stair.
  k.path({{2875, -40}, {3100, -40}}, 14, "normal", kit::kLeaf);
  for (int i = 0; i < 4; ++i) k.platform(px[i], 560, px[i], 560 - 150 * (i + 1), 7, "normal", kit::kWood);
  k.platform(3100, 560, 3100, -700, 14, "normal", kit::kLeaf);
  // The high ridge runs west from above the ledge.
  k.path({{3000, -240}, {2500, -240}}, 14, "normal", kit::kLeaf);
  k.rope(2500, -240, 2000, -240, 10, 60, 14);
  // West of the bridge the cliff top, and a second bridge over a pit of
  // spikes; then a last springy block between two posts, and high above it
  // the goal, out of reach from the ground.
  k.path({{2000, -240}, {1250, -240}}, 14, "normal", kit::kLeaf);
  k.rope(1250, -240, 650, -240, 12, 70, 14);
  k.pit(650, 1200, 200);
  k.path({{650, -240}, {-100, -240}, {-100, -700}}, 14, "normal", kit::kLeaf);
  k.jelly(100, -240, 160, 150, 60);
  k.platform(300, -240, 300, -390, 7, "normal", kit::kWood);
  k.platform(80, -240, 80, -450, 7, "normal", kit::kWood);
  k.goal(90, -590, 200, -590);
  // Scenery.
  hillline(k, 1300, 560, 900, 300);
  hedge(k, 1340, 1520, 546);
  tree(k, 1650, 546, 170);
  flowers(k, 1950, 2160, 546);
  hillline(k, 2300, -240, 800, 260);
  tree(k, 2820, -254, 160);
  flowers(k, 2560, 2760, -254);
  hedge(k, 1760, 1960, -254);
  tree(k, 1450, -254, 190);
  hillline(k, 600, 200, 700, 220);
  flowers(k, 360, 620, -254);
  hedge(k, -80, 60, -254);
  cloud(k, 900, -650, 45);
  cloud(k, 2100, -600, 50);
  cloud(k, 2950, -450, 40);
  cloud(k, 250, -900, 40);
}

}  // namespace levels
