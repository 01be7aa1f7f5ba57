#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;

namespace levels::zenithlook {

// ---------------------------------------------------------------- Zenith
// The third campaign climbs into the sky: cliffs, towers and chimneys of ice
// and stone high above the clouds. Most of its levels are journeys up or
// down, few are left to right.

// ---- Scenery: clouds, birds and far spires, all "background".

// A cloud: a row of puffs, the middle ones the biggest, on a flat underside.
void cloud(level& k, double x, double y, double s) {
  const double puffs[][3] = {
      {0, 0, 0.7}, {0.8, -0.35, 1.0}, {1.7, -0.45, 1.15}, {2.6, -0.2, 0.9}, {3.3, 0, 0.6}};
  ball* prev = nullptr;
  for (const auto& p : puffs) {
    ball* b = k.addball(x + p[0] * s, y + p[1] * s, p[2] * s, 1, 1, "background", kSnow);
    if (prev) k.addlink(prev, b, 2, "background", kSnow);
    prev = b;
  }
}

// A bird in flight: two thin wings bent at a small body.
void bird(level& k, double x, double y, double s) {
  ball* body = k.addball(x, y, s * 0.12, 1, 1, "background", kFar);
  ball* l = k.addball(x - s, y - s * 0.45, 1, 1, 1, "background", kFar);
  ball* r = k.addball(x + s, y - s * 0.45, 1, 1, 1, "background", kFar);
  ball* lt = k.addball(x - s * 0.45, y - s * 0.3, 1, 1, 1, "background", kFar);
  ball* rt = k.addball(x + s * 0.45, y - s * 0.3, 1, 1, 1, "background", kFar);
  k.addlink(l, lt, 2.5, "background", kFar);
  k.addlink(lt, body, 2.5, "background", kFar);
  k.addlink(body, rt, 2.5, "background", kFar);
  k.addlink(rt, r, 2.5, "background", kFar);
}

// A far spire: a tall thin tower with a pointed roof and a few windows.
void spire(level& k, double x, double ybottom, double w, double h) {
  ball* bl = k.addball(x - w / 2, ybottom, 3, 1, 1, "background", kFar);
  ball* br = k.addball(x + w / 2, ybottom, 3, 1, 1, "background", kFar);
  ball* tl = k.addball(x - w / 2, ybottom - h, 3, 1, 1, "background", kFar);
  ball* tr = k.addball(x + w / 2, ybottom - h, 3, 1, 1, "background", kFar);
  ball* top = k.addball(x, ybottom - h - w * 1.2, 4, 1, 1, "background", kFar);
  k.addlink(bl, tl, 4, "background", kFar);
  k.addlink(br, tr, 4, "background", kFar);
  k.addlink(tl, top, 4, "background", kFar);
  k.addlink(top, tr, 4, "background", kFar);
  k.addlink(tl, tr, 3, "background", kFar);
  for (double wy = ybottom - h * 0.2; wy > ybottom - h * 0.9; wy -= h * 0.22) {
    ball* a = k.addball(x, wy, 2, 1, 1, "background", kSnow);
    ball* b = k.addball(x, wy - w * 0.3, 2, 1, 1, "background", kSnow);
    k.addlink(a, b, w * 0.12, "background", kSnow);
  }
}

// A sky of clouds and birds over a box, placed by a fixed rule so the level
// files stay the same from one build to the next. Nothing is put between
// keepx1 and keepx2, where the ball climbs, so the route stays clear to see.
void sky(level& k, double x1, double y1, double x2, double y2, int n, double keepx1, double keepx2) {
  for (int i = 0; i < n; ++i) {
    const double u = std::fmod(0.618034 * (i + 1), 1.0), v = std::fmod(0.754878 * (i + 1) + 0.3, 1.0);
    const double x = x1 + (x2 - x1) * u, y = y1 + (y2 - y1) * v, s = 30 + (i % 5) * 12;
    if (keepx2 > keepx1 && x + 3.5 * s > keepx1 && x - s < keepx2) continue;
    if (i % 3 == 2)
      bird(k, x, y, 14 + (i % 4) * 5);
    else
      cloud(k, x, y, s);
  }
}

// ---- Pieces of the cliffs.

piece ice(level& k, const std::vector<std::pair<double, double>>& pts, double w) {
  return k.path(pts, w, "normal", kIce);
}

// Icicles hanging from y between x1 and x2: they hurt.
piece icicles(level& k, double x1, double x2, double y, int n, double h) {
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

}  // namespace levels::zenithlook

namespace levels {

campaign zenith() { return {"Zenith", {zenith1, zenith2, zenith3, zenith4, zenith5, zenith6, zenith7, zenith8, zenith9, zenith10}}; }

}  // namespace levels
