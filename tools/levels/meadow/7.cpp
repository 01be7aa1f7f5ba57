#include "tools/levels/meadow.h"

#include <vector>

using kit::level;
using kit::piece;
using namespace levels::meadowlook;

namespace levels {

// Stones roll down the hillside: from a hilltop the ball rolls down into the
// meadow and waits at a low wall while two stones come sliding down the far
// hillside into the ditch of spikes at its foot and fill it; then over the
// wall, across the stones and up the hillside, and east over two sagging rope
// bridges, the second one higher, to the goal at the far end.
void meadow7(level& k) {
  k.player(700, 326);
  // The hilltop and the slope down into the meadow; a wall behind the start.
  k.path({{100, -100}, {100, 360}, {1000, 360}, {1300, 560}, {2000, 560}}, 14, "normal", kit::kLeaf);
  // A low wall across the meadow, where the ball waits; then the ditch.
  k.platform(1860, 560, 1860, 470, 14, "normal", kit::kLeaf);
  piece ditch = k.path({{2000, 560}, {2000, 676}, {2264, 676}, {2264, 560}}, 14, "normal", kit::kLeaf);
  k.spikes(2016, 2248, 662, 4);
  // The far bank: a short steep rise, then level ground to a post at the
  // edge of the gorge.
  piece hill = k.path({{2264, 560}, {2520, 400}, {2900, 400}, {2900, 220}}, 14, "normal", kit::kLeaf);
  // An old oak's bough hangs low over the level ground: a ball cannot come
  // flying off the bank over the gorge.
  k.path({{2400, 185}, {2540, 195}, {2690, 210}, {2832, 200}}, 10, "normal", kit::kWood);
  std::vector<piece> stones;
  for (int i = 0; i < 2; ++i) {
    const double x = 2330 + i * 120;
    const double y = 560 - (x - 2264) * 160 / 256 - 88;
    stones.push_back(k.boulder(x, y, 58.5, 3, {&ditch, &hill}));
    for (int j = 0; j < i; ++j) k.pair(stones[j], stones[i]);
  }
  // Two rope bridges over a gorge of spikes. Each bank ends in a post, and
  // beyond it the next one is higher across a gap: the ball waits against the
  // post and jumps. Across the second bridge, under hanging brambles, a last
  // post, and behind it the goal in a hollow with brambles beyond.
  k.path({{3020, 340}, {3070, 340}}, 14, "normal", kit::kLeaf);
  k.rope(3070, 340, 3380, 340, 8, 50, 8);
  k.path({{3380, 340}, {3460, 340}, {3460, 240}}, 14, "normal", kit::kLeaf);
  k.path({{3560, 240}, {3700, 240}}, 14, "normal", kit::kLeaf);
  k.rope(3700, 240, 4100, 240, 12, 55, 8);
  k.path({{4100, 240}, {4180, 240}, {4180, 110}, {4180, 300}, {4400, 300}, {4400, 240}, {4600, 240},
          {4600, -120}},
         14, "normal", kit::kLeaf);
  k.spikes(4420, 4590, 226, 3);
  // Brambles hang low over the far half of the second bridge.
  k.path({{3870, 100}, {3960, 88}, {4050, 98}, {4105, 92}}, 8, "damaging", kit::kRed);
  k.pit(2900, 4100, 820);
  k.goal(4210, 280, 4370, 280);
  // Scenery.
  hillline(k, 100, 360, 900, 200);
  hedge(k, 130, 330, 346);
  tree(k, 520, 346, 150);
  flowers(k, 760, 980, 346);
  tree(k, 1600, 546, 170);
  hedge(k, 1660, 1840, 546);
  flowers(k, 1450, 1600, 546);
  hillline(k, 1400, 560, 900, 260);
  hillline(k, 2300, 560, 900, 300);
  tree(k, 2540, 386, 210);
  flowers(k, 2700, 2880, 386);
  hedge(k, 3575, 3685, 226);
  
  tree(k, 4530, 226, 150);
  cloud(k, 900, -250, 40);
  cloud(k, 2100, 150, 50);
  cloud(k, 3000, 0, 45);
  cloud(k, 3900, -50, 40);
  hillline(k, 3000, 820, 1400, 500);
}

}  // namespace levels
