#include "tools/levels/meadow.h"

#include <cmath>

using kit::level;
using kit::piece;

namespace levels::meadowlook {

// ---------------------------------------------------------------- Meadow
// The first campaign teaches one thing per level. Its scenery is trees,
// hedges, far hills, flowers and clouds, all "background": drawn at half
// opacity and never in the ball's way.

// A tree standing on y: a trunk, two boughs and a crown of leaves.
void tree(level& k, double x, double y, double h) {
  ball* foot = k.addball(x, y, 7, 1, 1, "background", kit::kWood);
  ball* top = k.addball(x, y - h, 7, 1, 1, "background", kit::kWood);
  k.addlink(foot, top, 7, "background", kit::kWood);
  const double r = h * 0.22;
  const double crown[5][2] = {{-1.1, 0.1}, {1.1, 0.1}, {-0.6, -0.7}, {0.6, -0.7}, {0, -1.2}};
  for (auto [dx, dy] : crown) k.addball(x + dx * r, y - h + dy * r, r, 1, 1, "background", kit::kLeaf);
  ball* bl = k.addball(x - r * 0.9, y - h + r * 0.6, 4, 1, 1, "background", kit::kWood);
  ball* br = k.addball(x + r * 0.9, y - h + r * 0.7, 4, 1, 1, "background", kit::kWood);
  ball* mid = k.addball(x, y - h * 0.75, 4, 1, 1, "background", kit::kWood);
  k.addlink(mid, bl, 4, "background", kit::kWood);
  k.addlink(mid, br, 4, "background", kit::kWood);
}

// A far hill: a thin line along a hump from x, y, w wide and h high.
void hillline(level& k, double x, double y, double w, double h) {
  const int n = 12;
  ball* prev = nullptr;
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n;
    ball* b = k.addball(x + w * t, y - h * std::sin(M_PI * t), 3, 1, 1, "background", kit::kLeaf);
    if (prev) k.addlink(prev, b, 3, "background", kit::kLeaf);
    prev = b;
  }
}

// Flowers on y between x1 and x2: stems with a ring of petals.
void flowers(level& k, double x1, double x2, double y) {
  const int n = std::max(1, static_cast<int>((x2 - x1) / 90));
  for (int i = 0; i < n; ++i) {
    const double x = x1 + (x2 - x1) * (i + 0.5) / n, h = 30 + 14 * (i % 3);
    ball* foot = k.addball(x, y, 2, 1, 1, "background", kit::kLeaf);
    ball* head = k.addball(x, y - h, 5, 1, 1, "background", kit::kGold);
    k.addlink(foot, head, 2, "background", kit::kLeaf);
    for (int p = 0; p < 5; ++p) {
      const double a = 2 * M_PI * p / 5;
      k.addball(x + 8 * std::cos(a), y - h + 8 * std::sin(a), 5, 1, 1, "background", {240, 240, 250});
    }
  }
}

// A hedge on y between x1 and x2: a row of round bushes.
void hedge(level& k, double x1, double x2, double y) {
  const int n = std::max(2, static_cast<int>((x2 - x1) / 40));
  for (int i = 0; i <= n; ++i)
    k.addball(x1 + (x2 - x1) * i / n, y - 24 - 8 * (i % 2), 26, 1, 1, "background", kit::kLeaf);
}

void cloud(level& k, double x, double y, double s) { k.cloud(x, y, s); }

}  // namespace levels::meadowlook

namespace levels {
namespace {

using namespace meadowlook;

// A stroll through the meadow while the hints scroll by: hop a low wall,
// roll over a hill, hop up a step onto a terrace, roll through a hollow,
// and touch the goal post at the terrace's far end.
void firststeps(level& k) {
  start(k);
  k.path({{-20, 560}, {1100, 560}, {1350, 490}, {1600, 560}, {2000, 560}}, 14, "normal", kit::kLeaf);
  k.platform(700, 560, 700, 470, 16);
  k.path({{2000, 560}, {2000, 460}, {2400, 460}, {2500, 520}, {2700, 520}, {2800, 460}, {3300, 460}, {3300, 200}},
         14, "normal", kit::kLeaf);
  k.goal(3200, 360, 3200, 440);
  hillline(k, -20, 560, 900, 220);
  hillline(k, 600, 560, 1000, 300);
  hillline(k, 1900, 460, 1400, 280);
  tree(k, 300, 546, 140);
  tree(k, 1000, 546, 170);
  flowers(k, 420, 660, 546);
  hedge(k, 20, 160, 546);
  flowers(k, 1100, 1340, 546);
  tree(k, 1750, 546, 160);
  hedge(k, 2100, 2350, 446);
  flowers(k, 2520, 2680, 506);
  tree(k, 2950, 446, 180);
  cloud(k, 500, 200, 30);
  cloud(k, 1100, 150, 40);
  cloud(k, 2200, 120, 45);
  cloud(k, 2900, 180, 35);
}

// A gap too wide to jump: roll across the meadow to a low post at the edge
// of a gorge and rest against it; hop into a rope hammock hanging in the
// middle of the gorge under a swinging ball, let it still the ball, and hop
// out onto the far bank, on through a hollow to the goal by the end wall.
void island(level& k) {
  start(k);
  k.path({{-20, 440}, {1100, 560}, {1100, 525}}, 14, "normal", kit::kLeaf);
  k.platform(1060, 560, 1100, 560, 14, "normal", kit::kLeaf);
  k.rope(1250, 580, 1450, 580, 8, 60, 8);
  k.platform(1450, 580, 1500, 580, 12, "normal", kit::kWood);
  k.pendulum(1370, 220, 300, 60, 24, 2);
  k.path({{1600, 650}, {2600, 650}, {2750, 690}, {2950, 690}, {3100, 650}, {3350, 650}, {3350, 400}}, 14,
         "normal", kit::kLeaf);
  k.pit(1100, 1600);
  k.goal(3250, 560, 3250, 630);
  hillline(k, -20, 440, 1100, 220);
  hillline(k, 1600, 650, 1000, 300);
  hillline(k, 2500, 650, 900, 220);
  tree(k, 250, 456, 150);
  flowers(k, 400, 640, 490);
  hedge(k, 760, 960, 530);
  hedge(k, 1700, 1900, 636);
  tree(k, 2100, 636, 170);
  flowers(k, 2200, 2500, 636);
  flowers(k, 2770, 2930, 676);
  tree(k, 3150, 636, 160);
  cloud(k, 600, 150, 35);
  cloud(k, 1370, 60, 30);
  cloud(k, 2300, 170, 40);
  cloud(k, 3000, 120, 35);
}

// Over the rolling hills: down into a dip and up the far side, a jump over a
// ditch of spikes onto a higher bank, and then up the hillside
// by a path that turns back on itself, ledge over ledge, to a summit high
// above the start, where the goal stands back towards the west.
void hills(level& k) {
  k.player(100, 526);
  k.platform(-20, 0, -20, 560, 14);
  // The meadow: a dip, a rise, a ditch.
  k.path({{-20, 560}, {450, 560}, {750, 680}, {950, 680}, {1250, 560}, {1500, 560}}, 14, "normal",
         kit::kLeaf);
  k.pit(1500, 1700, 820);
  k.path({{1700, 820}, {1700, 500}, {3200, 500}}, 14, "normal", kit::kLeaf);
  // The hillside: short ledges against alternate walls, 200 apart. The
  // ledges come before the walls, so a ball in a corner jumps off the floor.
  for (int i = 1; i <= 7; ++i) {
    const double y = 500 - 200 * i;
    if (i % 2)
      k.platform(2700, y, 2990, y, 12, "normal", kit::kLeaf);
    else
      k.platform(2910, y, 3200, y, 12, "normal", kit::kLeaf);
  }
  k.platform(3200, 500, 3200, -1300, 14, "normal", kit::kLeaf);
  k.platform(2700, 300, 2700, -1080, 14, "normal", kit::kLeaf);
  // The summit runs west from the top of the hillside.
  k.path({{2700, -1080}, {2500, -1080}, {2200, -1020}, {2100, -1020}, {2100, -1260}}, 14, "normal",
         kit::kLeaf);
  k.goal(2160, -1110, 2160, -1045);
  hillline(k, -20, 560, 1400, 300);
  hillline(k, 1700, 500, 1600, 420);
  tree(k, 250, 546, 150);
  tree(k, 1100, 620, 170);
  flowers(k, 500, 900, 620);
  hedge(k, 1730, 1880, 486);
  tree(k, 2150, 486, 190);
  flowers(k, 2200, 2650, 486);
  tree(k, 2400, -1050, 160);
  cloud(k, 800, 150, 40);
  cloud(k, 2600, -1450, 50);
  cloud(k, 1600, -700, 45);
  hillline(k, 2500, 300, 900, 900);
  for (int i = 1; i <= 7; ++i) {
    const double y = 488 - 200 * i;
    if (i % 2)
      flowers(k, 2760, 2960, y);
    else
      hedge(k, 2960, 3120, y);
  }
}

// Up the hillside again, five ledges this time, and then west along the high
// ridge over two rope bridges, far above a field of spikes, to a goal behind
// the start.
void ridge(level& k) {
  k.player(2300, 466);
  k.path({{1800, 300}, {1800, 500}, {3200, 500}}, 14, "normal", kit::kLeaf);
  k.pit(200, 1780, 820);
  for (int i = 1; i <= 5; ++i) {
    const double y = 500 - 200 * i;
    if (i % 2)
      k.platform(2700, y, 2990, y, 12, "normal", kit::kLeaf);
    else
      k.platform(2910, y, 3200, y, 12, "normal", kit::kLeaf);
  }
  k.platform(3200, 500, 3200, -900, 14, "normal", kit::kLeaf);
  k.platform(2700, 300, 2700, -680, 14, "normal", kit::kLeaf);
  // The ridge runs west from the top of the hillside.
  k.path({{2700, -680}, {2100, -680}}, 14, "normal", kit::kLeaf);
  // A gap in the ridge: the far side is higher, so only a jump crosses it,
  // and a ball that falls through lands on spikes.
  k.spikes(1830, 2170, 486, 6);
  k.path({{1900, -560}, {1900, -740}, {1800, -740}}, 14, "normal", kit::kLeaf);
  k.rope(1800, -740, 1350, -740, 9, 60, 8);
  k.path({{1350, -740}, {1250, -740}}, 14, "normal", kit::kLeaf);
  k.rope(1250, -740, 700, -740, 11, 80, 8);
  k.path({{700, -740}, {0, -740}, {0, -960}}, 14, "normal", kit::kLeaf);
  k.goal(150, -770, 150, -830);
  hillline(k, 1800, 500, 1400, 350);
  tree(k, 2250, 486, 170);
  flowers(k, 2400, 2650, 486);
  hillline(k, 2500, 300, 900, 700);
  for (int i = 1; i <= 5; ++i) {
    const double y = 488 - 200 * i;
    if (i % 2)
      flowers(k, 2760, 2960, y);
    else
      hedge(k, 2960, 3120, y);
  }
  tree(k, 2500, -694, 160);
  hedge(k, 1270, 1340, -754);
  tree(k, 500, -754, 200);
  flowers(k, 200, 680, -754);
  cloud(k, 1200, -1000, 50);
  cloud(k, 2600, -1100, 40);
  cloud(k, 400, -300, 45);
}

}  // namespace

campaign meadow() {
  return {"Meadow",
          {firststeps, island, hills, meadow4, ridge, meadow6, meadow7, meadow8, meadow9, meadow10}};
}

}  // namespace levels
