#include "tools/levels/steelworks.h"

#include <cmath>

using kit::kIron;
using kit::level;
using kit::piece;

namespace levels::steelworkslook {

// ---------------------------------------------------------------- Steelworks
// The second campaign: iron, chains and fire, in a works of chimneys, girders,
// gears and pipes. The scenery is "background": drawn at half opacity and
// never in the ball's way.

// A brick chimney standing on y, with a lip at the top and smoke above it.
void chimney(level& k, double x, double y, double h) {
  ball* foot = k.addball(x, y, 30, 1, 1, "background", kSoot);
  ball* top = k.addball(x, y - h, 30, 1, 1, "background", kSoot);
  k.addlink(foot, top, 30, "background", kSoot);
  ball* l = k.addball(x - 40, y - h, 8, 1, 1, "background", kSoot);
  ball* r = k.addball(x + 40, y - h, 8, 1, 1, "background", kSoot);
  k.addlink(l, r, 10, "background", kSoot);
  for (int i = 0; i < 3; ++i)
    k.addball(x + 20 * i - 10, y - h - 60 - 70 * i, 22 + 10 * i, 1, 1, "background");
}

// A truss girder: two chords with zigzag braces between them.
void girder(level& k, double x1, double y1, double x2, double y2, double depth, int bays) {
  std::vector<ball*> top, bottom;
  for (int i = 0; i <= bays; ++i) {
    const double t = static_cast<double>(i) / bays;
    top.push_back(k.addball(x1 + (x2 - x1) * t, y1 + (y2 - y1) * t, 4, 1, 1, "background", kIron));
    bottom.push_back(k.addball(x1 + (x2 - x1) * t, y1 + (y2 - y1) * t + depth, 4, 1, 1, "background", kIron));
  }
  for (int i = 0; i < bays; ++i) {
    k.addlink(top[i], top[i + 1], 5, "background", kIron);
    k.addlink(bottom[i], bottom[i + 1], 5, "background", kIron);
    k.addlink(i % 2 ? top[i] : bottom[i], i % 2 ? bottom[i + 1] : top[i + 1], 2, "background", kIron);
  }
}

// A gear wheel: a hub, a rim and teeth, with spokes.
void gear(level& k, double x, double y, double r, int teeth) {
  ball* hub = k.addball(x, y, r * 0.25, 1, 1, "background", kBrass);
  ball* first = nullptr;
  ball* prev = nullptr;
  for (int i = 0; i < teeth; ++i) {
    const double a = 2 * M_PI * i / teeth;
    ball* t = k.addball(x + r * std::cos(a), y + r * std::sin(a), r * 0.16, 1, 1, "background", kBrass);
    if (i % 2 == 0) k.addlink(hub, t, 3, "background", kBrass);
    if (prev) k.addlink(prev, t, r * 0.12, "background", kBrass);
    if (!first) first = t;
    prev = t;
  }
  k.addlink(prev, first, r * 0.12, "background", kBrass);
}

// A pipe along the points, with a flange at every bend.
void pipe(level& k, const std::vector<std::pair<double, double>>& pts, double w) {
  ball* prev = nullptr;
  for (auto [x, y] : pts) {
    ball* b = k.addball(x, y, w * 1.6, 1, 1, "background", kIron);
    if (prev) k.addlink(prev, b, w, "background", kIron);
    prev = b;
  }
}

// A hanging chain that is only scenery.
void hangchain(level& k, double x, double y, double len) {
  const int n = std::max(2, static_cast<int>(len / 30));
  ball* prev = k.addball(x, y, 5, 1, 1, "background", kIron);
  for (int i = 1; i <= n; ++i) {
    ball* b = k.addball(x, y + len * i / n, 5, 1, 1, "background", kIron);
    k.addlink(prev, b, 3, "background", kIron);
    prev = b;
  }
  k.addball(x, y + len + 14, 12, 1, 1, "background", kIron);
}

// An iron floor along the points.
piece floor(level& k, const std::vector<std::pair<double, double>>& pts, double w) {
  return k.path(pts, w, "normal", kit::kIron);
}

// The ball's start at (x, y).
void startat(level& k, double x, double y) { k.player(x, y); }

// ---- Steelworks

// A burning weight swinging on a rod of length len over a chain bridge from
// (x1, y1) to (x2, y2) laid with a sag: its lowest point just skims a ball on
// the settled chain, which hangs about a third lower than it is laid.
void weight(level& k, double px, double len, double x1, double y1, double x2, double y2, double sag,
            double angle) {
  const double t = (px - x1) / (x2 - x1);
  const double low = y1 + (y2 - y1) * t + 4 * sag * 1.35 * t * (1 - t) - 42, py = low - len;
  ball* pivot = k.addball(px, py, 6, 1, 1, "normal", kIron);
  const double a = angle * M_PI / 180;
  ball* bob = k.addball(px + len * std::sin(a), py + len * std::cos(a), 22, 3, 0, "damaging", kit::kRed);
  // The rod is drawn but never touched: the ball cannot ride on it.
  k.addlink(pivot, bob, 3, "background", kIron);
}

// A pier where a bridge ends at (x, y): its floor runs down into a hollow
// where the ball comes to rest; from there it jumps over the wall to the
// shelf of the next bridge, 150 higher (x + 200 to x + 260). A burning bar
// above the bridge's end, ending at x + bar, catches a ball flung up by coming
// too fast. The floor starts with a level lip lip long (a ball climbing out
// of a sagging bridge rolls over it); where the bridge comes down to the
// pier a short lip keeps a slow ball from stopping on it.
void pier(level& k, double x, double y, double bar, double lip) {
  floor(k, {{x, y + 6}, {x + lip, y + 6}, {x + 90, y + 40}, {x + 130, y + 40}, {x + 160, y + 30}, {x + 200, y + 30},
            {x + 200, y - 150}, {x + 260, y - 150}});
  k.platform(x + bar - 140, y - 210, x + bar, y - 210, 8, "damaging", kit::kRed);
}

}  // namespace levels::steelworkslook

namespace levels {
namespace {

using namespace steelworkslook;

// Over the slag pit on a chain bridge under a hammer, up a long steep ramp,
// over a trough of burning slag and up into a roofed shaft to a goal high
// above the start. The bridge's far end, the hollow after it, the pocket at
// the top of the ramp and the pocket at the shaft's wall are places where the
// ball comes to rest between the hard parts, whatever speed it came with.
void slagbridge(level& k) {
  startat(k, 100, 500);
  chimney(k, 300, 560, 700);
  gear(k, 1650, 200, 90);
  girder(k, 650, 120, 1550, 120);
  pipe(k, {{1500, 760}, {1500, 620}, {2300, 620}, {2300, 0}});
  chimney(k, 3900, 560, 1500);
  chimney(k, 2250, 760, 500);
  hangchain(k, 2950, -700, 300);
  gear(k, 2200, -420, 70, 8);
  gear(k, 3440, -760, 80, 10);
  girder(k, 2500, -460, 3100, -460, 30, 5);
  pipe(k, {{3700, 560}, {3700, -300}, {3900, -300}});
  k.platform(-20, 0, -20, 560, 14);
  floor(k, {{-20, 560}, {700, 560}});
  k.rope(700, 560, 1500, 560, 20, 30, 8, 1, kIron);
  k.hammer(1100, -40, 250, 45, 100);
  k.pit(700, 1500, 860);
  // The casting floor climbs a long steep ramp (keep pushing, or roll back
  // down), drops into a pocket and leaps a trough of burning slag to the
  // shaft, which stands on the ramp's height.
  const double dx = 540, dy = -620;
  floor(k, {{1500, 560},
            {1560, 610},
            {1660, 610},
            {1720, 560},
            {1800, 560},
            {2500, -140},
            {2160 + dx, 480 + dy},
            {2160 + dx, 600 + dy},
            {2300 + dx, 600 + dy},
            {2300 + dx, 430 + dy}});
  k.pit(2300 + dx, 2410 + dx, 640 + dy);
  floor(k, {{2300 + dx, 640 + dy}, {2300 + dx, 430 + dy}});
  floor(k, {{2410 + dx, 640 + dy}, {2410 + dx, 440 + dy}, {2700 + dx, 440 + dy}});
  // The shaft: a shelf with a pocket at its wall, and a dished stair above.
  floor(k, {{2700 + dx, 440 + dy},
            {2900 + dx, 440 + dy},
            {2960 + dx, 480 + dy},
            {3100 + dx, 480 + dy},
            {3100 + dx, -500 + dy}});
  // The shaft is roofed, so nothing flung up the ramp drops in from above.
  floor(k, {{2700 + dx, 360 + dy}, {2700 + dx, -400 + dy}, {3100 + dx, -400 + dy}});
  // The stair is dished, high at its wall and lower at its open end, so a
  // ball that lands on it settles in its middle.
  floor(k, {{2700 + dx, 276 + dy}, {2790 + dx, 336 + dy}, {2880 + dx, 296 + dy}}, 10);
  k.goal(2790 + dx, 260 + dy, 2790 + dx, 310 + dy);
}

// ---- The old levels still waiting for their turn

}  // namespace

campaign steelworks() {
  return {"Steelworks",
          {slagbridge, steelworks2, steelworks3, steelworks4, steelworks5, steelworks6, steelworks7,
           steelworks8, steelworks9, steelworks10}};
}

}  // namespace levels
