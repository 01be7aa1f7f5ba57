// Level pieces: platforms, slopes, chains, rope bridges, pendulums, hammers,
// boxes held by tensions, seesaws, towers, boulders, spikes, scenery and goals,
// built straight into a game's world lists so that the game's own writer saves
// them. Every piece records the ball numbers it made so pieces can be paired.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "world/game.h"

namespace kit {

struct rgb {
  int r = 200, g = 200, b = 200;
};

inline const rgb kStone{170, 170, 160};
inline const rgb kWood{170, 120, 70};
inline const rgb kRope{200, 180, 120};
inline const rgb kIron{120, 130, 150};
inline const rgb kRed{230, 40, 30};
inline const rgb kLeaf{60, 150, 70};
inline const rgb kGold{250, 210, 60};

// A figure in the making: its balls and links, so that other pieces can pair
// with it (virtual links) or hang from it.
struct piece {
  std::vector<ball*> balls;
  std::vector<struct link*> links;
  ball* first() const { return balls.front(); }
  ball* last() const { return balls.back(); }
};

class level {
 public:
  explicit level(game& g) : g_(g) {
    g_.balllist.clear();
    g_.linklist.clear();
    g_.TensionList.clear();
    g_.virtuallinklist.clear();
  }

  // ---- Raw records
  ball* addball(double x, double y, double r, double m, int anchored, const std::string& kind = "normal",
                rgb c = {}) {
    auto b = std::make_unique<ball>();
    b->x = b->oldx = b->anchorx = x;
    b->y = b->oldy = b->anchory = y;
    b->r = r;
    b->m = m;
    b->anchored = anchored;
    b->kind = kind;
    b->color = {c.r, c.g, c.b};
    b->gamoz = &g_;
    b->number = static_cast<int>(g_.balllist.size()) + 1;
    g_.balllist.push_back(std::move(b));
    return g_.balllist.back().get();
  }

  // A link keeps the distance its balls have when it is made.
  struct link* addlink(ball* a, ball* b, double width, const std::string& kind = "normal", rgb c = {}) {
    auto l = std::make_unique<struct link>();
    l->ball1 = a;
    l->ball2 = b;
    l->distance = std::hypot(b->x - a->x, b->y - a->y);
    l->width = width;
    l->kind = kind;
    l->color = {c.r, c.g, c.b};
    l->gamoz = &g_;
    g_.linklist.push_back(std::move(l));
    return g_.linklist.back().get();
  }

  // A tension keeps the angle its three balls have when it is made, measured
  // the way the joints measure it.
  tension* addtension(ball* a, ball* joint, ball* c, double strength) {
    auto t = std::make_unique<tension>();
    t->ball1 = a;
    t->ball2 = joint;
    t->ball3 = c;
    t->angle = measure(a, joint, c);
    t->strength = strength;
    g_.TensionList.push_back(std::move(t));
    return g_.TensionList.back().get();
  }

  // Declares that the figures of a and b collide with each other.
  void pair(ball* a, ball* b) {
    auto l = std::make_unique<struct link>();
    l->ball1 = a;
    l->ball2 = b;
    l->kind = "virtual";
    l->gamoz = &g_;
    g_.virtuallinklist.push_back(std::move(l));
  }
  void pair(const piece& a, const piece& b) { pair(a.first(), b.first()); }

  static double measure(const ball* a, const ball* j, const ball* c) {
    const double dx1 = j->x - a->x, dy1 = j->y - a->y, dx2 = c->x - j->x, dy2 = c->y - j->y;
    const double a1 = std::atan2(dy1, -dx1) * 180 / M_PI, a2 = std::atan2(dy2, -dx2) * 180 / M_PI;
    double t = a1 - a2 + 180;
    while (t >= 360) t -= 360;
    while (t < 0) t += 360;
    return t;
  }

  // ---- Pieces

  // The player's ball; it must be the first ball of the level.
  ball* player(double x, double y) {
    ball* b = addball(x, y, 20, 1, 0, "normal", kGold);
    b->rolling = 1;
    return b;
  }

  // Anchored bars through the points; the joints are balls as thick as the
  // bars, so the ball rolls over them smoothly. One figure.
  piece path(const std::vector<std::pair<double, double>>& pts, double w = 12,
             const std::string& kind = "normal", rgb c = kStone) {
    piece p;
    for (auto [x, y] : pts) p.balls.push_back(addball(x, y, w, 1, 1, kind, c));
    for (size_t i = 0; i + 1 < p.balls.size(); ++i)
      p.links.push_back(addlink(p.balls[i], p.balls[i + 1], w, kind, c));
    return p;
  }
  piece platform(double x1, double y1, double x2, double y2, double w = 12,
                 const std::string& kind = "normal", rgb c = kStone) {
    return path({{x1, y1}, {x2, y2}}, w, kind, c);
  }

  // A hanging rope of n links between two anchored points, sagging by sag in
  // its middle; thick ropes make bridges, thin ones chains.
  piece rope(double x1, double y1, double x2, double y2, int n, double sag, double w = 7, double m = 1,
             rgb c = kRope) {
    piece p;
    for (int i = 0; i <= n; ++i) {
      const double t = static_cast<double>(i) / n;
      const bool end = i == 0 || i == n;
      p.balls.push_back(addball(x1 + (x2 - x1) * t, y1 + (y2 - y1) * t + 4 * sag * t * (1 - t), w,
                                end ? 1 : m, end ? 1 : 0, "normal", c));
    }
    for (int i = 0; i < n; ++i) p.links.push_back(addlink(p.balls[i], p.balls[i + 1], w, "normal", c));
    return p;
  }

  // A chain hanging straight down from an anchored point.
  piece chain(double x, double y, double len, int n, double w = 6, double m = 1, rgb c = kIron) {
    piece p;
    for (int i = 0; i <= n; ++i)
      p.balls.push_back(addball(x, y + len * i / n, w, m, i == 0 ? 1 : 0, "normal", c));
    for (int i = 0; i < n; ++i) p.links.push_back(addlink(p.balls[i], p.balls[i + 1], w, "normal", c));
    return p;
  }

  // A jelly block standing on its two anchored feet; weak tensions at its
  // corners let it lean and spring back.
  piece jelly(double x, double ybottom, double w, double h, double strength, double m = 1) {
    piece p;
    const rgb c{90, 200, 120};
    ball* bl = addball(x, ybottom, 9, m, 1, "normal", c);
    ball* br = addball(x + w, ybottom, 9, m, 1, "normal", c);
    ball* tr = addball(x + w, ybottom - h, 9, m, 0, "normal", c);
    ball* tl = addball(x, ybottom - h, 9, m, 0, "normal", c);
    p.balls = {bl, br, tr, tl};
    p.links = {addlink(bl, br, 9, "normal", c), addlink(br, tr, 9, "normal", c),
               addlink(tr, tl, 9, "normal", c), addlink(tl, bl, 9, "normal", c)};
    addtension(bl, br, tr, strength);
    addtension(br, tr, tl, strength);
    addtension(tr, tl, bl, strength);
    addtension(tl, bl, br, strength);
    return p;
  }

  // A ball hanging from an anchored pivot by a thin rod, started at an angle
  // (degrees from straight down, positive to the right) so it swings.
  piece pendulum(double px, double py, double len, double angle, double r, double m,
                 const std::string& kind = "normal") {
    piece p;
    const double a = angle * M_PI / 180;
    p.balls.push_back(addball(px, py, 6, 1, 1, "normal", kIron));
    p.balls.push_back(addball(px + len * std::sin(a), py + len * std::cos(a), r, m, 0, kind,
                              kind == "damaging" ? kRed : kIron));
    p.links.push_back(addlink(p.balls[0], p.balls[1], 3, "normal", kIron));
    return p;
  }

  // A swinging hammer: a rod from a pivot ending in a crosswise head bar whose
  // kind is given; tensions keep the head square to the rod.
  piece hammer(double px, double py, double len, double angle, double head,
               const std::string& kind = "damaging", double m = 3) {
    piece p;
    const double a = angle * M_PI / 180, ux = std::sin(a), uy = std::cos(a);
    ball* pivot = addball(px, py, 7, 1, 1, "normal", kIron);
    ball* mid = addball(px + len * ux, py + len * uy, 8, m, 0, "normal", kIron);
    ball* h1 = addball(mid->x + uy * head / 2, mid->y - ux * head / 2, 10, m, 0, kind, kRed);
    ball* h2 = addball(mid->x - uy * head / 2, mid->y + ux * head / 2, 10, m, 0, kind, kRed);
    p.balls = {pivot, mid, h1, h2};
    p.links.push_back(addlink(pivot, mid, 4, "normal", kIron));
    p.links.push_back(addlink(h1, mid, 10, kind, kRed));
    p.links.push_back(addlink(mid, h2, 10, kind, kRed));
    addtension(pivot, mid, h1, 2000);
    addtension(pivot, mid, h2, 2000);
    addtension(h1, mid, h2, 2000);
    return p;
  }

  // A box of four corner balls and four sides, its corners held square by
  // tensions: strong ones make it rigid, weak ones make it springy. A rigid
  // box also gets a diagonal so it cannot fold.
  piece box(double x, double y, double w, double h, double m, double strength, double r = 6, double lw = 6,
            bool anchored = false, rgb c = kWood) {
    piece p;
    const int a = anchored ? 1 : 0;
    ball* tl = addball(x, y, r, m, a, "normal", c);
    ball* tr = addball(x + w, y, r, m, a, "normal", c);
    ball* br = addball(x + w, y + h, r, m, a, "normal", c);
    ball* bl = addball(x, y + h, r, m, a, "normal", c);
    p.balls = {tl, tr, br, bl};
    p.links = {addlink(tl, tr, lw, "normal", c), addlink(tr, br, lw, "normal", c),
               addlink(br, bl, lw, "normal", c), addlink(bl, tl, lw, "normal", c)};
    addtension(bl, tl, tr, strength);
    addtension(tl, tr, br, strength);
    addtension(tr, br, bl, strength);
    addtension(br, bl, tl, strength);
    if (strength >= 500) p.links.push_back(addlink(tl, br, 2, "background", c));
    return p;
  }

  // A plank on an anchored pivot with a heavy keel hanging below it, all one
  // rigid frame: it rights itself, and tips while the ball rolls along it.
  piece seesaw(double px, double py, double len, double keel = 80, double m = 1, double km = 4) {
    piece p;
    ball* pivot = addball(px, py, 10, 1, 1, "normal", kIron);
    ball* l = addball(px - len / 2, py - 14, 9, m, 0, "normal", kWood);
    ball* r = addball(px + len / 2, py - 14, 9, m, 0, "normal", kWood);
    ball* k = addball(px, py + keel, 12, km, 0, "background", kIron);
    p.balls = {pivot, l, r, k};
    p.links = {addlink(l, r, 9, "normal", kWood), addlink(pivot, l, 3, "background", kIron),
               addlink(pivot, r, 3, "background", kIron), addlink(k, l, 3, "background", kIron),
               addlink(k, r, 3, "background", kIron)};
    return p;
  }

  // A seesaw whose plank cannot fold through its pivot: tensions at the
  // plank's ends hold the frame's angles, so a hard landing tips it but
  // never turns it over.
  piece stiffseesaw(double px, double py, double len, double keel = 80, double m = 1, double km = 4) {
    piece p = seesaw(px, py, len, keel, m, km);
    ball *pivot = p.balls[0], *l = p.balls[1], *r = p.balls[2], *k = p.balls[3];
    addtension(pivot, l, r, 2000);
    addtension(l, r, pivot, 2000);
    addtension(k, l, r, 2000);
    addtension(l, r, k, 2000);
    return p;
  }

  // A pit floored with spikes between x1 and x2.
  piece pit(double x1, double x2, double y = 820) {
    platform(x1, y, x2, y, 10);
    return spikes(x1 + 10, x2 - 10, y - 10, std::max(1, static_cast<int>((x2 - x1) / 60)));
  }

  // Blocks stacked on a base figure; each block collides with the base and
  // with every other block, so the tower can topple.
  std::vector<piece> tower(double x, double ybase, int n, double bw, double bh, double m, const piece& base) {
    std::vector<piece> blocks;
    for (int i = 0; i < n; ++i) {
      blocks.push_back(box(x - bw / 2, ybase - (i + 1) * (bh + 1), bw, bh, m, 1000, 5, 5));
      pair(blocks.back(), base);
      for (int j = 0; j < i; ++j) pair(blocks[j], blocks.back());
    }
    return blocks;
  }

  // A free ball that rolls on the given figures.
  piece boulder(double x, double y, double r, double m, const std::vector<const piece*>& on,
                const std::string& kind = "normal") {
    piece p;
    p.balls.push_back(addball(x, y, r, m, 0, kind, kind == "damaging" ? kRed : kStone));
    for (const piece* q : on) pair(p, *q);
    return p;
  }

  // A row of n red spikes standing on y between x1 and x2.
  piece spikes(double x1, double x2, double y, int n, double h = 30) {
    piece p;
    const double step = (x2 - x1) / n;
    ball* prev = nullptr;
    for (int i = 0; i < n; ++i) {
      ball* left = prev ? prev : addball(x1 + i * step, y, 4, 1, 1, "damaging", kRed);
      ball* tip = addball(x1 + (i + 0.5) * step, y - h, 4, 1, 1, "damaging", kRed);
      ball* right = addball(x1 + (i + 1) * step, y, 4, 1, 1, "damaging", kRed);
      p.links.push_back(addlink(left, tip, 4, "damaging", kRed));
      p.links.push_back(addlink(tip, right, 4, "damaging", kRed));
      p.balls.insert(p.balls.end(), {left, tip, right});
      if (prev) p.balls.erase(p.balls.end() - 3);
      prev = right;
    }
    return p;
  }

  // The goal: a glowing bar between two anchored posts.
  piece goal(double x1, double y1, double x2, double y2) {
    piece p;
    p.balls = {addball(x1, y1, 6, 1, 1, "normal", kGold), addball(x2, y2, 6, 1, 1, "normal", kGold)};
    p.links.push_back(addlink(p.balls[0], p.balls[1], 8, "stop", kGold));
    return p;
  }

  // Scenery that the ball passes through: a tree standing on y.
  void tree(double x, double y, double h) {
    ball* foot = addball(x, y, 6, 1, 1, "background", kWood);
    ball* top = addball(x, y - h, 6, 1, 1, "background", kWood);
    addlink(foot, top, 6, "background", kWood);
    for (int i = 0; i < 3; ++i)
      addlink(top,
              addball(x + (i - 1) * h * 0.25, y - h - (i == 1 ? h * 0.25 : 0), h * 0.25, 1, 1, "background",
                      kLeaf),
              4, "background", kLeaf);
  }
  // A cloud of background balls that drifts nowhere.
  void cloud(double x, double y, double s) {
    ball* a = addball(x, y, s, 1, 1, "background", {230, 230, 240});
    ball* b = addball(x + s, y - s * 0.4, s * 1.2, 1, 1, "background", {230, 230, 240});
    ball* c = addball(x + s * 2, y, s, 1, 1, "background", {230, 230, 240});
    addlink(a, b, 2, "background");
    addlink(b, c, 2, "background");
  }

  bool save(const std::string& path) { return g_.savemarionet(path); }

 private:
  game& g_;
};

}  // namespace kit
