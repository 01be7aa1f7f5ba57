#include "tools/levels/steelworks.h"

using kit::level;
using kit::piece;
using namespace levels::steelworkslook;

namespace levels {
namespace {

// One flight of the climb: an iron chute of its own with the boulders that
// roll on it and on nothing else, so they wake only when the chute comes into
// view, run down it and leave it over its open end, falling clear of the
// works. The boulders slide like the ball, without friction, so they come
// fast, cross the shelves and leap the gaps at the turns.
struct flight {
  piece chute, lip;
  void drop(level& k, double x, double y, double r, const std::string& kind) {
    std::vector<const piece*> on{&chute};
    if (!lip.balls.empty()) on.push_back(&lip);
    k.boulder(x, y, r, 3, on, kind).first()->rolling = 1;
  }
};

}  // namespace

// Up the casting house by four steep chutes, turning at each end, while
// boulders (the red ones burning) come rolling down each chute as it comes
// into view. The ball starts in a slot in the bottom floor that the boulders
// roll over; every turn is a pit in the corner under the gap at the next
// chute's open end, over which the boulders leap above the ball's head, and
// from which the ball jumps up through the gap onto the next chute once they
// have gone. The goal is in a roofed
// nook high above the start.
void steelworks4(level& k) {
  const double s = 0.65;  // every chute rises 0.65 for each unit across
  startat(k, 235, 1946);
  // Scenery: chimneys behind the flights, girders across them, gears, pipes.
  chimney(k, 900, 2300, 900);
  chimney(k, 2100, 2300, 2600);
  chimney(k, -500, 2300, 3200);
  girder(k, -100, 820, 1800, 820, 36, 10);
  girder(k, -100, -300, 1800, -300, 36, 10);
  gear(k, 1300, 1600, 90);
  gear(k, 500, 560, 70, 8);
  gear(k, 1200, -1000, 90);
  pipe(k, {{1850, 2300}, {1850, 700}, {1780, 620}, {1780, -900}});
  pipe(k, {{-150, 2300}, {-150, -200}, {-80, -280}, {-80, -1700}});
  hangchain(k, 700, -1750, 260);
  hangchain(k, 1500, -1750, 200);
  chimney(k, 620, 2300, 450);
  gear(k, 120, 1680, 60, 8);
  girder(k, 900, 1720, 1800, 1720, 30, 6);
  hangchain(k, 1150, 650, 260);
  gear(k, 1640, 860, 60, 8);
  pipe(k, {{-60, 980}, {260, 980}, {260, 640}});
  hangchain(k, 450, -420, 220);
  gear(k, 1620, -260, 70);
  pipe(k, {{1500, 60}, {1900, 60}, {1900, -500}});
  girder(k, 150, -980, 950, -980, 30, 6);

  // Each flight: a chute 1100 across from its foot (fx, fy), rising in the
  // direction dir, to a landing 300 long against a wall. The next flight's
  // shelf lies 110 above that landing and stops 130 short of the wall; its
  // boulders leap that gap onto a lip on the wall's top and roll off it out
  // of the works, while the ball waits in the corner under them. Then the
  // ball jumps straight up through the gap and steers back onto the shelf.
  const double land = 300, gap = 130, shelf = 200, high = 110;
  auto chute = [&](double fx, double fy, double dir, std::vector<std::pair<double, double>> foot, bool last) {
    const double tx = fx + dir * 1100, ty = fy - 1100 * s;
    // The foot bends up in two steps, so a ball coming in fast along the
    // shelf runs onto the chute instead of bouncing off it.
    foot.push_back({fx, fy});
    foot.push_back({fx + dir * 70, fy - 14});
    foot.push_back({fx + dir * 150, fy - 48});
    foot.push_back({tx, ty});
    if (last) {
      // The nook with the goal: a landing against a wall, under a roof.
      foot.insert(foot.end(), {{tx + dir * 250, ty}, {tx + dir * 250, ty - 200}, {tx + dir * 60, ty - 200}});
    } else {
      // The landing ends in a pit at the wall, a little deeper than the ball
      // and wide enough that a ball coming in fast drops into it after it
      // meets the wall; its floor leans to the wall, so the ball comes to
      // rest in the corner and jumps from there straight up.
      foot.insert(foot.end(), {{tx + dir * (land - 120), ty},
                               {tx + dir * (land - 120), ty + 60},
                               {tx + dir * land, ty + 64},
                               {tx + dir * land, ty - high + 20}});
    }
    return floor(k, foot);
  };
  // The next flight's foot above the corner at the top of the flight from
  // (fx, fy), and its shelf and the lip its boulders leave by.
  auto next = [&](flight& f, double fx, double fy, double dir, double& nx, double& ny) {
    const double tx = fx + dir * 1100, ty = fy - 1100 * s;
    nx = tx + dir * (land - gap - shelf);
    ny = ty - high;
    f.lip = floor(k, {{tx + dir * land, ty - high + 20}, {tx + dir * (land + 100), ty - high + 50}}, 12);
    return std::vector<std::pair<double, double>>{{tx + dir * (land - gap), ny}};
  };
  // A boulder on the chute of foot (fx, fy) at d across from the foot.
  auto on = [&](flight& f, double fx, double fy, double dir, double d, const std::string& kind) {
    const double rise = 48 + (d - 150) * (1100 * s - 48) / 950;
    f.drop(k, fx + dir * d, fy - rise - 72, 45, kind);
  };
  // The boulder balanced on the brow at the chute's top, which tips last.
  auto brow = [&](flight& f, double fx, double fy, double dir, const std::string& kind) {
    f.drop(k, fx + dir * 1097, fy - 1100 * s - 59, 45, kind);
  };

  // Flight A: the bottom floor, open to the left, with the slot the ball
  // starts in, and the first chute up to the right. Its boulders are awake
  // from the start and roll over the slot and off the open end.
  flight a;
  const double ax = 350, ay = 1900;
  a.chute = chute(ax, ay, 1, {{0, 1900}, {200, 1900}, {200, 1980}, {270, 1980}, {270, 1900}}, false);
  on(a, ax, ay, 1, 500, "damaging");
  on(a, ax, ay, 1, 900, "normal");
  brow(a, ax, ay, 1, "damaging");

  // Flight B: up to the left, from a shelf above the first turn.
  flight b;
  double bx, by;
  auto bfoot = next(b, ax, ay, 1, bx, by);
  b.chute = chute(bx, by, -1, bfoot, false);
  on(b, bx, by, -1, 500, "normal");
  on(b, bx, by, -1, 900, "damaging");
  brow(b, bx, by, -1, "damaging");

  // Flight C: up to the right again.
  flight c;
  double cx, cy;
  auto cfoot = next(c, bx, by, -1, cx, cy);
  c.chute = chute(cx, cy, 1, cfoot, false);
  on(c, cx, cy, 1, 450, "damaging");
  on(c, cx, cy, 1, 800, "damaging");
  brow(c, cx, cy, 1, "normal");

  // Flight D: the last, up to the left, to the nook with the goal.
  flight d;
  double dx, dy;
  auto dfoot = next(d, cx, cy, 1, dx, dy);
  d.chute = chute(dx, dy, -1, dfoot, true);
  on(d, dx, dy, -1, 400, "damaging");
  on(d, dx, dy, -1, 750, "normal");
  brow(d, dx, dy, -1, "damaging");
  const double gx = dx - 1100 - 200, gy = dy - 1100 * s;
  k.goal(gx, gy - 175, gx, gy - 30);
}

}  // namespace levels
