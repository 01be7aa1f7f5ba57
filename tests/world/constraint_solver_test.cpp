// The frame's constraint passes run on compact copies of the records; they
// must give exactly the bits of 20 rounds of tensionballs then shiftballs on
// the records themselves, whatever the world looks like.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "platform/headless/headless.h"
#include "tests/world/worldkit.h"

using worldkit::addball;
using worldkit::addlink;
using worldkit::addtension;

namespace {

bool samebits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A random world: balls of mixed masses and anchors, links between any two
// (some of zero length, some joining a ball to itself), joints of any
// strength (some naming a ball twice). Only some balls are on screen, so some
// links and joints reach balls that the passes must not move.
void randomworld(game& g, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> pos(-300, 300), mass(0.5, 5), angle(0, 360), strength(0, 400);
  const int n = 40;
  for (int i = 0; i < n; i++) {
    ball* b = addball(g, pos(rng), pos(rng), mass(rng), static_cast<int>(rng() % 5 == 0 ? 1 + rng() % 2 : 0));
    b->shiftx = pos(rng);  // left over from an earlier frame
    b->shifty = pos(rng);
  }
  auto any = [&] { return g.balllist[rng() % n].get(); };
  for (int i = 0; i < 60; i++) {
    ball* a = any();
    ball* b = rng() % 15 == 0 ? a : any();
    addlink(g, a, b, rng() % 10 == 0 ? 0.0 : worldkit::distance(a, b) * (0.5 + (rng() % 100) / 100.0));
  }
  for (int i = 0; i < 30; i++) {
    ball* a = any();
    ball* b = any();
    addtension(g, a, b, rng() % 10 == 0 ? a : any(), angle(rng), strength(rng));
  }
  g.slower = rng() % 2 ? 1.0 : 0.5;
  worldkit::allonscreen(g);
  // A quarter of the balls (and the links and joints starting at them) out of view.
  std::erase_if(g.osballlist, [&](const ball*) { return rng() % 4 == 0; });
  std::erase_if(g.oslinklist, [&](const struct link*) { return rng() % 6 == 0; });
  std::erase_if(g.ostensionlist, [&](const tension*) { return rng() % 6 == 0; });
  // Now and then a ball listed twice: it takes its shifts twice.
  if (seed % 3 == 0 && !g.osballlist.empty())
    g.osballlist.push_back(g.osballlist[rng() % g.osballlist.size()]);
}

}  // namespace

TEST(ConstraintSolver, GivesTheBitsOfThePassesOnTheRecords) {
  for (unsigned seed = 1; seed <= 200; seed++) {
    headless::install();
    game slow;
    randomworld(slow, seed);
    headless::install();
    game fast;
    randomworld(fast, seed);
    for (int frame = 0; frame < 3; frame++) {
      for (int i = 0; i < kConstraintPasses; i++) {
        slow.tensionballs();
        slow.shiftballs();
      }
      fast.constraintpasses();
    }
    for (size_t i = 0; i < slow.balllist.size(); i++) {
      const ball& a = *slow.balllist[i];
      const ball& b = *fast.balllist[i];
      ASSERT_TRUE(samebits(a.x, b.x) && samebits(a.y, b.y)) << "seed " << seed << " ball " << i;
      ASSERT_TRUE(samebits(a.shiftx, b.shiftx) && samebits(a.shifty, b.shifty))
          << "seed " << seed << " ball " << i;
    }
  }
}
