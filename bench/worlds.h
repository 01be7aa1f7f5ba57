// Generated worlds for the benchmarks: hanging chains, rings of links held in
// shape by joints (the mesh), and piles of triangles paired with their
// neighbours. Each world is laid out on a square grid of figures with the
// player's ball first; the view covers all of it or about a tenth.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include "world/game.h"

namespace benchworld {

enum class shape { chain, mesh, pile };

inline const char* name(shape s) { return s == shape::chain ? "chain" : s == shape::mesh ? "mesh" : "pile"; }

inline ball* addball(game& g, double x, double y, int anchored) {
  auto b = std::make_unique<ball>();
  b->x = b->oldx = b->anchorx = x;
  b->y = b->oldy = b->anchory = y;
  b->anchored = anchored;
  b->r = 8;
  b->gamoz = &g;
  g.balllist.push_back(std::move(b));
  return g.balllist.back().get();
}

inline void addlink(game& g, ball* a, ball* b) {
  auto l = std::make_unique<struct link>();
  l->ball1 = a;
  l->ball2 = b;
  l->distance = std::hypot(b->x - a->x, b->y - a->y);
  l->gamoz = &g;
  g.linklist.push_back(std::move(l));
}

inline void addvirtual(game& g, ball* a, ball* b) {
  auto l = std::make_unique<struct link>();
  l->ball1 = a;
  l->ball2 = b;
  l->kind = "virtual";
  l->gamoz = &g;
  g.virtuallinklist.push_back(std::move(l));
}

// A joint at b holding the angle it has now.
inline void addtension(game& g, ball* a, ball* b, ball* c) {
  auto t = std::make_unique<tension>();
  t->ball1 = a;
  t->ball2 = b;
  t->ball3 = c;
  t->angle = wrap360(static_cast<float>(atan2deg(b->y - a->y, -(b->x - a->x)) -
                                        atan2deg(c->y - b->y, -(c->x - b->x)) + 180));
  t->strength = 300;
  g.TensionList.push_back(std::move(t));
}

constexpr double kCell = 200;  // grid spacing of the figures

// About n balls (whole figures) of the given shape, plus the player's ball.
// Per figure: chain 10 balls and 9 links (the top one anchored); mesh a ring
// of 10 balls, 10 links and 5 joints (one ball anchored); pile a triangle of
// 3 balls and 3 links, paired with the triangle above it (the lowest row
// anchored, so the others fall onto it).
inline void build(game& g, shape s, int n) {
  const int per = s == shape::pile ? 3 : 10;
  const int figures = std::max(1, n / per);
  const int columns = static_cast<int>(std::ceil(std::sqrt(figures)));
  addball(g, -kCell, -kCell, 0)->r = 20;  // the player's ball, clear of the figures
  ball* above[1024] = {};
  for (int f = 0; f < figures; f++) {
    const double cx = (f % columns) * kCell, cy = (f / columns) * kCell;
    if (s == shape::chain) {
      ball* prev = nullptr;
      for (int i = 0; i < 10; i++) {
        ball* b = addball(g, cx + 15 * i, cy, i == 0 ? 1 : 0);
        if (prev) addlink(g, prev, b);
        prev = b;
      }
    } else if (s == shape::mesh) {
      ball* ring[10];
      for (int i = 0; i < 10; i++) {
        const double a = 2 * M_PI * i / 10;
        ring[i] = addball(g, cx + 50 * std::cos(a), cy + 50 * std::sin(a), i == 0 ? 1 : 0);
      }
      for (int i = 0; i < 10; i++) addlink(g, ring[i], ring[(i + 1) % 10]);
      for (int i = 0; i < 10; i += 2) addtension(g, ring[(i + 9) % 10], ring[i], ring[(i + 1) % 10]);
    } else {
      const int column = f % columns;
      const bool bottom = f / columns == (figures - 1) / columns;  // the lowest row
      ball* a = addball(g, cx, cy + 40, bottom ? 1 : 0);
      ball* b = addball(g, cx + 40, cy + 40, bottom ? 1 : 0);
      ball* c = addball(g, cx + 20, cy, 0);
      addlink(g, a, b);
      addlink(g, b, c);
      addlink(g, c, a);
      if (column < 1024) {
        if (above[column]) addvirtual(g, above[column], c);
        above[column] = a;
      }
    }
  }
  g.firstball = g.balllist.front().get();
  g.defineobjects();
  g.updateballnumbers();
}

// The view: everything, or a window over about a tenth of the figures.
inline void view(game& g, bool all) {
  double xmax = 0, ymax = 0;
  for (const auto& b : g.balllist) {
    xmax = std::max(xmax, b->x);
    ymax = std::max(ymax, b->y);
  }
  if (all) {
    g.leftborder = g.upborder = -1e9;
    g.rightborder = g.downborder = 1e9;
  } else {
    g.leftborder = -kCell / 2;
    g.upborder = -kCell / 2;
    g.rightborder = xmax * std::sqrt(0.1);
    g.downborder = ymax * std::sqrt(0.1);
  }
}

// The world's part of a level frame, from the on-screen selection to the
// depth limit: culling, masses, the player's input, the step with its 20
// constraint passes, collisions.
inline void worldframe(game& g, std::string& result) {
  g.findonscreen(0);
  g.handleslower();
  g.updatemass();
  g.moveball1();
  g.stepworld();
  g.checkcollisions(result, 1);
  g.blockballsplay();
}

}  // namespace benchworld
