// Small builders for hand-made worlds in the world tests.
#pragma once

#include <cmath>
#include <memory>

#include "world/game.h"

namespace worldkit {

// A free ball (anchored 0) of the given mass at (x, y).
inline ball* addball(game& g, double x, double y, double m = 1.0, int anchored = 0, double r = 15.0) {
  auto b = std::make_unique<ball>();
  b->x = b->oldx = x;
  b->y = b->oldy = y;
  b->m = m;
  b->anchored = anchored;
  b->anchorx = x;
  b->anchory = y;
  b->r = r;
  b->gamoz = &g;
  g.balllist.push_back(std::move(b));
  return g.balllist.back().get();
}

inline struct link* addlink(game& g, ball* a, ball* b, double distance) {
  auto l = std::make_unique<struct link>();
  l->ball1 = a;
  l->ball2 = b;
  l->distance = distance;
  l->gamoz = &g;
  g.linklist.push_back(std::move(l));
  return g.linklist.back().get();
}

inline struct link* addvirtual(game& g, ball* a, ball* b) {
  auto l = std::make_unique<struct link>();
  l->ball1 = a;
  l->ball2 = b;
  l->kind = "virtual";
  g.virtuallinklist.push_back(std::move(l));
  return g.virtuallinklist.back().get();
}

inline tension* addtension(game& g, ball* a, ball* joint, ball* c, double angle, double strength) {
  auto t = std::make_unique<tension>();
  t->ball1 = a;
  t->ball2 = joint;
  t->ball3 = c;
  t->angle = angle;
  t->strength = strength;
  g.TensionList.push_back(std::move(t));
  return g.TensionList.back().get();
}

// Everything on screen, as if the view covered the whole world, with the
// frame's masses set.
inline void allonscreen(game& g) {
  g.osballlist.clear();
  g.oslinklist.clear();
  g.ostensionlist.clear();
  for (auto& b : g.balllist) g.osballlist.push_back(b.get());
  for (auto& l : g.linklist) g.oslinklist.push_back(l.get());
  for (auto& t : g.TensionList) g.ostensionlist.push_back(t.get());
  g.updatemass();
}

inline double distance(const ball* a, const ball* b) { return std::hypot(b->x - a->x, b->y - a->y); }

// The joint angle as a tension measures it.
inline double jointangle(const tension& t) {
  const double a1 = atan2deg(t.ball2->y - t.ball1->y, -(t.ball2->x - t.ball1->x));
  const double a2 = atan2deg(t.ball3->y - t.ball2->y, -(t.ball3->x - t.ball2->x));
  return wrap360(static_cast<float>(a1 - a2 + 180));
}

}  // namespace worldkit
