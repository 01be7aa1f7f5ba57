#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

namespace {

// Icicles hanging from the underside of a ramp above another one: each
// hangs from (xa, ya)-(xb, yb) and its tip stops tip above the lower ramp,
// just over a rolling ball, so a jump anywhere under them is fatal.
void hangover(level& k, double x1, double x2, int n, double (*upper)(double, int), double (*lower)(double, int),
              int tier, double gap) {
  const double step = (x2 - x1) / n;
  for (int i = 0; i < n; ++i) {
    const double xa = x1 + i * step + 4, xb = x1 + (i + 1) * step - 4, xm = x1 + (i + 0.5) * step;
    ball* a = k.addball(xa, upper(xa, tier) + 16, 4, 1, 1, "damaging", kit::kRed);
    ball* tip = k.addball(xm, lower(xm, tier + 1) - gap, 4, 1, 1, "damaging", kit::kRed);
    ball* b = k.addball(xb, upper(xb, tier) + 16, 4, 1, 1, "damaging", kit::kRed);
    k.addlink(a, tip, 4, "damaging", kit::kRed);
    k.addlink(tip, b, 4, "damaging", kit::kRed);
  }
}

// The frozen fall: tiers of ice ramps turning back on each other between two
// walls of a chimney. Tier t starts in a pocket against one wall and runs
// down to a lip short of the other, where the ball drops to the next tier.
constexpr double kW = 1000, kTop = -1300, kShelf = 220, kGap = 170, kDrop = 130, kFall = 110;
constexpr int kTiers = 11;

// The profile of a tier, as (distance from its own wall, depth below its
// top) points: a pocket tilted into the wall, a rounded crest, the ramp.
const std::vector<std::pair<double, double>> kProfile = {
    {0, 38}, {150, 22}, {190, 8}, {220, 2}, {250, 4}, {290, 12}, {kW - kGap, kDrop}};

double tiery(double x, int t) {
  const double y0 = kTop + t * (kDrop + kFall);
  const double s = t % 2 == 0 ? x : kW - x;  // distance from the tier's own wall
  for (size_t i = 1; i < kProfile.size(); ++i) {
    const auto [s0, d0] = kProfile[i - 1];
    const auto [s1, d1] = kProfile[i];
    if (s <= s1) return y0 + d0 + (d1 - d0) * (s - s0) / (s1 - s0);
  }
  return y0 + kDrop;
}

}  // namespace

// The frozen fall: from a ledge at the top of an ice chimney down eleven
// ramps that turn back on each other, each roofed by the icicles of the one
// above, to the chimney's floor three screens below the start.
void zenith8(level& k) {
  k.player(14 + 12 + 20 + 2, kTop + 38 - 34);
  for (int t = 0; t < kTiers; ++t) {
    const double y0 = kTop + t * (kDrop + kFall);
    std::vector<std::pair<double, double>> pts;
    for (const auto& [d, dy] : kProfile) pts.push_back({t % 2 == 0 ? d : kW - d, y0 + dy});
    ice(k, pts, 12);
  }
  // The floor of the chimney runs out through a door in its east wall onto a
  // rope bridge over spikes, down to the top of a spire with the goal.
  static_assert(kTiers % 2 == 1, "the last ramp runs east, toward the door");
  const double floor = kTop + kTiers * (kDrop + kFall);
  ice(k, {{0, floor}, {1200, floor}}, 12);
  // A post at the door: rest against it and hop onto the bridge.
  ice(k, {{1170, floor}, {1170, floor - 70}}, 14);
  k.rope(1200, floor, 1800, floor + 60, 12, 40, 12);
  ice(k, {{1800, floor + 60}, {2150, floor + 60}, {2150, floor - 100}}, 14);
  k.goal(2060, floor - 30, 2060, floor + 30);
  ice(k, {{0, kTop - 450}, {0, floor}}, 14);
  ice(k, {{kW, kTop - 450}, {kW, floor - 170}}, 14);
  k.pit(1150, 1900, floor + 560);
  k.path({{1975, floor + 90}, {1975, floor + 520}}, 70, "background", kFar);
  for (int t = 0; t + 1 < kTiers; ++t) {
    if (t % 2 == 0)
      hangover(k, kShelf + 140, kW - kGap - 110, 7, tiery, tiery, t, 84);
    else
      hangover(k, kGap + 110, kW - kShelf - 140, 7, tiery, tiery, t, 84);
  }
  sky(k, -1400, kTop - 600, 2600, floor, 34);
  spire(k, -500, floor - 300, 70, 1800);
  spire(k, 1600, floor - 700, 80, 2200);
}

}  // namespace levels
