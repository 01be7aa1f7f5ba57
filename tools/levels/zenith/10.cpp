#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// The summit: out of a hollow under icicles, over a sagging bridge with a
// hammer swinging just above it, up an ice slope and four steps of rock,
// along the ridge under a swinging ball, and up the last and tallest chimney
// to the top of the sky. Nowhere on the way may the ball jump out of turn:
// the icicles, the hammer and the ball all hang just above a rolling ball.
void zenith10(level& k) {
  // Drawn from the east: m() turns a distance from the east end into x.
  const auto m = [](double x) { return 3500 - x; };
  k.player(m(100), 966);
  // The hollow and the slope; the floor comes before the wall so that a ball
  // in the corner jumps off the floor.
  ice(k, {{m(-20), 1000}, {m(450), 1000}, {m(750), 1040}}, 14);
  ice(k, {{m(-20), 1000}, {m(-20), 560}}, 14);
  // A roof over the hollow, hung with icicles: the first jump is fatal.
  ice(k, {{m(-20), 890}, {m(440), 890}}, 12);
  icicles(k, m(420), m(20), 896, 6, 18);
  k.rope(m(750), 1040, m(1350), 1040, 12, 30, 8);
  k.pit(m(1350), m(750), 1300);
  // The hammer over the bridge: its head passes a rolling ball by, but not a
  // jumping one.
  k.hammer(m(1050), 590, 340, -70, 120);
  // West up the slope to four steps of rock, each just too high for a jump from
  // the one below to carry the ball past the next, and along the ridge into
  // the chimney.
  const double x1 = m(2900), x2 = m(3500), floor = 220;
  ice(k, {{m(1350), 1040},
          {m(1450), 1040},
          {m(1650), 900},
          {m(1800), 900},
          {m(1800), 730},
          {m(1960), 730},
          {m(1960), 560},
          {m(2120), 560},
          {m(2120), 390},
          {m(2280), 390},
          {m(2280), floor},
          {x2, floor}},
      14);
  // A ball swings over the ridge, low enough to strike a jump.
  k.pendulum(m(2650), floor - 470, 330, -45, 25, 4, "damaging");
  // The last chimney: eight ledges against alternate walls. Its east wall
  // starts at the first ledge, so the way in is open below it.
  const int n = 8;
  const double len = 330, top = floor - 170 * n;
  for (int i = 1; i <= n; ++i) {
    const double y = floor - 170 * i;
    if (i % 2)
      k.platform(x1 - len, y, x1, y, 12, "normal", kIce);
    else
      k.platform(x2, y, x2 + len, y, 12, "normal", kIce);
  }
  ice(k, {{x2, floor}, {x2, top - 400}}, 14);
  ice(k, {{x1, floor - 170}, {x1, top - 400}}, 14);
  k.goal(x2 + 90, top - 80, x2 + 90, top - 20);
  // The sky: clouds far below the summit and around the climb, clear of it.
  sky(k, m(2700), top - 300, m(-300), -300, 18, x2 - 40, x1 + 40);
  sky(k, -300, 1150, 3900, 1600, 10);
  spire(k, m(700), 860, 60, 380);
  spire(k, m(2600), 1100, 80, 700);
  spire(k, m(3800), 300, 70, 1300);
  cloud(k, m(3650) - 200, top - 200, 70);
  cloud(k, m(3700) - 150, -300, 50);
  cloud(k, m(1150) - 120, 420, 40);
  bird(k, m(1650), 520, 18);
  cloud(k, m(2050) - 140, 860, 45);
  bird(k, m(600), 600, 16);
}

}  // namespace levels
