// Hostile level files, written as text so that any value can be spelled out
// ("1e400", "-0", "nan"), and a check that a world can still be simulated.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "world/game.h"

namespace poisonkit {

struct level {
  std::string text = "2\r\n";

  level& ball(int n, const std::string& m, const std::string& x, const std::string& y, const std::string& r,
              int anchored = 0, const std::string& kind = "normal") {
    for (const std::string& v : {std::string("New Ball"), std::to_string(n), m, x, y, r,
                                 std::to_string(anchored), x, y, std::string("0"), std::string("200"),
                                 std::string("200"), std::string("200"), kind, std::string("0")})
      text += v + "\r\n";
    return *this;
  }
  level& link(int a, int b, const std::string& distance, const std::string& kind = "normal",
              const std::string& width = "3") {
    for (const std::string& v : {std::string("New Link"), std::to_string(a), std::to_string(b), distance,
                                 width, std::string("90"), std::string("90"), std::string("90"), kind})
      text += v + "\r\n";
    return *this;
  }
  level& joint(int a, int b, int c, const std::string& angle, const std::string& strength) {
    for (const std::string& v : {std::string("New Tension"), std::to_string(a), std::to_string(b),
                                 std::to_string(c), angle, strength})
      text += v + "\r\n";
    return *this;
  }
  level& pair(int a, int b) {
    text += "New Virtual Link\r\n" + std::to_string(a) + "\r\n" + std::to_string(b) + "\r\n";
    return *this;
  }
  // A sane player's ball standing on an anchored floor bar, as most levels
  // start: balls 1 (player), 2 and 3 (floor ends), link 2-3.
  level& start() {
    return ball(1, "1", "100", "400", "20")
        .ball(2, "1", "0", "500", "10", 1)
        .ball(3, "1", "1000", "500", "10", 1)
        .link(2, 3, "1000");
  }
};

// Every record the lists share must be one the master lists own: no link,
// joint or pair may point at a ball that is gone or was never made.
inline bool wellformed(const game& g) {
  auto owned = [&](const ball* b) {
    for (const auto& o : g.balllist)
      if (o.get() == b) return true;
    return false;
  };
  for (const auto& l : g.linklist)
    if (!owned(l->ball1) || !owned(l->ball2)) return false;
  for (const auto& l : g.virtuallinklist)
    if (!owned(l->ball1) || !owned(l->ball2)) return false;
  for (const auto& t : g.TensionList)
    if (!owned(t->ball1) || !owned(t->ball2) || !owned(t->ball3)) return false;
  return true;
}

inline bool finite(const ball& b) {
  return std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.xv) && std::isfinite(b.yv);
}

}  // namespace poisonkit
