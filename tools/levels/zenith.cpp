#include "tools/levels/levels.h"

using kit::level;
using kit::piece;

namespace levels {
namespace {

// ---------------------------------------------------------------- Zenith
// The third campaign climbs a frozen mountain by night, up to the stars and
// down its crevasses: most of its levels are journeys up or down, few are
// left to right.

const kit::rgb kIce{190, 220, 240};
const kit::rgb kSnow{240, 245, 250};
const kit::rgb kNight{150, 160, 210};

// ---- Scenery: stars, snowflakes, peaks and the moon, all "background".

// A four-pointed star: a small disc and two crossed thin bars.
void star(level& k, double x, double y, double s) {
  ball* c = k.addball(x, y, s * 0.35, 1, 1, "background", kSnow);
  ball* l = k.addball(x - s, y, 1, 1, 1, "background", kSnow);
  ball* r = k.addball(x + s, y, 1, 1, 1, "background", kSnow);
  ball* t = k.addball(x, y - s, 1, 1, 1, "background", kSnow);
  ball* b = k.addball(x, y + s, 1, 1, 1, "background", kSnow);
  k.addlink(l, r, 1.5, "background", kSnow);
  k.addlink(t, b, 1.5, "background", kSnow);
  (void)c;
}

// A six-armed snowflake.
void flake(level& k, double x, double y, double s) {
  ball* c = k.addball(x, y, 3, 1, 1, "background", kSnow);
  for (int i = 0; i < 3; ++i) {
    const double a = i * M_PI / 3;
    ball* p = k.addball(x + s * std::cos(a), y + s * std::sin(a), 2, 1, 1, "background", kSnow);
    ball* q = k.addball(x - s * std::cos(a), y - s * std::sin(a), 2, 1, 1, "background", kSnow);
    k.addlink(p, c, 2, "background", kSnow);
    k.addlink(c, q, 2, "background", kSnow);
  }
}

// A far mountain: the outline of a peak with a snow line under its top.
void peak(level& k, double x, double y, double w, double h) {
  ball* l = k.addball(x - w / 2, y, 4, 1, 1, "background", kNight);
  ball* t = k.addball(x, y - h, 4, 1, 1, "background", kNight);
  ball* r = k.addball(x + w / 2, y, 4, 1, 1, "background", kNight);
  k.addlink(l, t, 5, "background", kNight);
  k.addlink(t, r, 5, "background", kNight);
  ball* sl = k.addball(x - w * 0.12, y - h * 0.76, 3, 1, 1, "background", kSnow);
  ball* sm = k.addball(x, y - h * 0.68, 3, 1, 1, "background", kSnow);
  ball* sr = k.addball(x + w * 0.12, y - h * 0.76, 3, 1, 1, "background", kSnow);
  k.addlink(sl, sm, 4, "background", kSnow);
  k.addlink(sm, sr, 4, "background", kSnow);
}

// The moon: a big pale disc with a smaller one that makes it a crescent.
void moon(level& k, double x, double y, double r) {
  k.addball(x, y, r, 1, 1, "background", kSnow);
  k.addball(x + r * 0.45, y - r * 0.2, r * 0.75, 1, 1, "background", kSnow);
}

// A scatter of stars over a box, placed by a fixed rule so the level files
// stay the same from one build to the next.
void sky(level& k, double x1, double y1, double x2, double y2, int n) {
  for (int i = 0; i < n; ++i) {
    const double u = std::fmod(0.618034 * (i + 1), 1.0), v = std::fmod(0.754878 * (i + 1) + 0.3, 1.0);
    if (i % 5 == 4)
      flake(k, x1 + (x2 - x1) * u, y1 + (y2 - y1) * v, 14);
    else
      star(k, x1 + (x2 - x1) * u, y1 + (y2 - y1) * v, 6 + (i % 3) * 4);
  }
}

// ---- Pieces of the mountain.

piece ice(level& k, const std::vector<std::pair<double, double>>& pts, double w = 12) {
  return k.path(pts, w, "normal", kIce);
}

// Icicles hanging from y between x1 and x2: they hurt.
piece icicles(level& k, double x1, double x2, double y, int n, double h = 34) {
  piece p;
  const double step = (x2 - x1) / n;
  for (int i = 0; i < n; ++i) {
    ball* l = k.addball(x1 + i * step + 4, y, 4, 1, 1, "damaging", kit::kRed);
    ball* tip = k.addball(x1 + (i + 0.5) * step, y + h, 4, 1, 1, "damaging", kit::kRed);
    ball* r = k.addball(x1 + (i + 1) * step - 4, y, 4, 1, 1, "damaging", kit::kRed);
    p.links.push_back(k.addlink(l, tip, 4, "damaging", kit::kRed));
    p.links.push_back(k.addlink(tip, r, 4, "damaging", kit::kRed));
    p.balls.insert(p.balls.end(), {l, tip, r});
  }
  return p;
}

// A shaft of ledges that the ball climbs by jumping from one to the next,
// alternately against its left and right walls; the walls run from ytop to
// ybottom. Returns the centres of the ledges' upper sides, lowest first, for
// the solver's route.
std::vector<std::pair<double, double>> shaft(level& k, double x1, double x2, double ybottom, double ytop,
                                             int n, double rise, double len) {
  ice(k, {{x1, ytop}, {x1, ybottom}}, 14);
  ice(k, {{x2, ytop}, {x2, ybottom}}, 14);
  std::vector<std::pair<double, double>> route;
  for (int i = 0; i < n; ++i) {
    const double y = ybottom - rise * (i + 1);
    if (i % 2 == 0) {
      k.platform(x2 - len, y, x2, y, 12, "normal", kIce);
      route.push_back({x2 - len / 2, y - 40});
    } else {
      k.platform(x1, y, x1 + len, y, 12, "normal", kIce);
      route.push_back({x1 + len / 2, y - 40});
    }
  }
  return route;
}

// ---- The levels.

// Up the foothills: a snow slope, a sagging bridge over spikes, steps up the
// ice and a seesaw that throws the ball up to the high camp.
void foothills(level& k) {
  k.player(100, 500);
  ice(k, {{-20, 200}, {-20, 560}, {500, 560}, {900, 460}});
  k.rope(900, 460, 1500, 460, 12, 70, 8);
  k.pit(900, 1500, 760);
  ice(k, {{1500, 460},
          {1800, 460},
          {1800, 340},
          {1950, 340},
          {1950, 220},
          {2100, 220},
          {2100, 100},
          {2300, 100}});
  k.seesaw(2550, 100, 400);
  ice(k, {{2800, 100}, {2950, 100}, {2950, 400}});
  k.pit(2300, 2800, 500);
  ice(k, {{2700, -110}, {3200, -110}, {3200, -500}});
  k.goal(3120, -190, 3120, -130);
  sky(k, 0, -700, 3200, 200, 24);
  peak(k, 700, 300, 900, 500);
  peak(k, 2000, 0, 1200, 700);
  moon(k, 2800, -500, 50);
}

// The ice chimney: ledges up a shaft three screens high, alternately on its
// left and right walls, with icicles under every other ledge so that a jump
// taken too early hurts. A pendulum swings across the middle of the climb,
// and a rest ledge halfway up spans the whole shaft.
void chimney(level& k) {
  k.player(300, 520);
  ice(k, {{0, 560}, {800, 560}});
  shaft(k, 0, 800, 560, -2700, 8, 170, 480);
  for (int i = 0; i < 9; ++i) {
    const double y = -970 - 170 * i;
    if (i % 2 == 0) {
      k.platform(320, y, 800, y, 12, "normal", kIce);
      icicles(k, 360, 780, y + 6, 5, 26);
    } else {
      k.platform(0, y, 480, y, 12, "normal", kIce);
    }
  }
  k.platform(0, -2500, 400, -2500, 12, "normal", kIce);
  k.pendulum(400, -1900, 420, 55, 24, 3, "damaging");
  k.goal(120, -2580, 120, -2520);
  sky(k, -600, -2700, 1400, 500, 30);
  peak(k, -400, 200, 900, 800);
  peak(k, 1200, -400, 1000, 900);
  moon(k, 1150, -2300, 60);
}

}  // namespace

campaign zenith() { return {"Zenith", {foothills, chimney}}; }

}  // namespace levels
