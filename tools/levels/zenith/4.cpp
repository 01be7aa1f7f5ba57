#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

namespace {

// Icicles hanging along a sloping eave from (x1, y1) to (x2, y2), one every
// step or so: a ball jumping under them hurts itself.
void eave(level& k, double x1, double y1, double x2, double y2, double step) {
  const int n = std::max(1, static_cast<int>(std::fabs(x2 - x1) / step));
  k.path({{x1, y1}, {x2, y2}}, 5, "normal", kSnow);
  for (int i = 0; i < n; ++i) {
    const double a = x1 + (x2 - x1) * i / n, b = x1 + (x2 - x1) * (i + 1) / n;
    const double ya = y1 + (y2 - y1) * (i + 0.5) / n;
    icicles(k, std::min(a, b), std::max(a, b), ya + 5, 1, 30);
  }
}

}  // namespace

// Down the north face: four ramps of ice switch back and forth down a
// cliff, each roofed with icicles so low that any jump on it is fatal. Every
// ramp ends in a pocket behind a lip too tall to roll over; from the pocket,
// out under the open sky, the ball hops the lip and drops into a rope net that
// catches it, and rolls out of the net the other way onto the next ramp. The
// goal lies across the last net, three screens below the start.
void zenith4(level& k) {
  const double top = -1450, tier = 800, slope = 0.33;
  const int tiers = 4;
  k.player(150, top - 32);
  // The shelf at the top, with the first eave over it.
  ice(k, {{20, top - 260}, {20, top}, {300, top}});
  for (int t = 0; t < tiers; ++t) {
    const double y = top + tier * t, drop = slope * 950;
    const bool right = t % 2 == 0;
    // Mirror the left-to-right tier about x = 850 for the tiers going left.
    auto X = [&](double x) { return right ? x : 1700 - x; };
    ice(k, {{X(300), y}, {X(1250), y + drop}, {X(1310), y + drop + 10}, {X(1370), y + drop + 10}, {X(1370), y + drop - 100}});
    // The eave over the ramp stops short of the pocket, which is open above.
    if (t == 0) eave(k, 60, y - 230, 450, y - 230 + slope * 150, 70);
    eave(k, X(450), y - 230 + slope * 150, X(1150), y - 230 + slope * 850, 70);
    // The net the ball drops into, between the next ramp and the cliff.
    k.rope(X(1690), y + tier + 40, X(1400), y + tier, 10, 45, 12);
    // Clouds drift past the face and birds wheel over the nets.
    cloud(k, X(620), y + tier * 0.62, 34 + 6 * t);
    bird(k, X(1540), y + 180, 16);
  }
  // The cliff walls on both sides.
  ice(k, {{0, top - 600}, {0, top + tier * tiers + 100}}, 14);
  ice(k, {{1700, top - 600}, {1700, top + tier * tiers + 100}}, 14);
  const double last = top + tier * tiers;
  k.goal(60, last - 30, 260, last - 30);
  sky(k, -1200, top - 500, 2900, last + 300, 46, -40, 1740);
  spire(k, -500, last, 90, 1500);
  spire(k, 850, last + 300, 110, 2600);
  spire(k, 2200, last - 800, 70, 1600);
  spire(k, -900, last - 1400, 60, 700);
  cloud(k, 2000, last + 150, 70);
  cloud(k, -700, last + 100, 60);
}

}  // namespace levels
