// Level files that try to poison the world: numbers beyond range, degenerate
// masses, links and joints, enormous worlds, enormous lines and plain binary
// garbage. None may crash, hang or reach undefined behaviour (the sanitizer
// build runs these), and each has a settled outcome.
#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "platform/headless/headless.h"
#include "tests/support/harness.h"
#include "tests/world/poisonkit.h"
#include "tests/world/worldkit.h"

namespace {

using poisonkit::level;

struct PoisonWorld : ::testing::Test {
  void SetUp() override {
    headless::install();
    dir = std::make_unique<harness::gamedir>();
  }
  void load(const std::string& text) {
    dir->write("level", text);
    g.openmarionet(1, "level");
  }
  // Frames of world physics with the whole world in view.
  void steps(int n) {
    for (int i = 0; i < n; i++) {
      worldkit::allonscreen(g);
      g.stepworld();
    }
  }
  std::unique_ptr<harness::gamedir> dir;
  game g;
};

// Numbers too large for a double read as the largest finite one, too small as
// zero; words that only look like numbers read as zero.
TEST_F(PoisonWorld, NumbersBeyondRangeSaturate) {
  load(level()
           .ball(1, "1e400", "-1e400", "1e-400", "1" + std::string(400, '0'))
           .ball(2, "nan", "inf", "-inf", "infinity")
           .text);
  ASSERT_EQ(g.balllist.size(), 2u);
  const ball& a = *g.balllist[0];
  EXPECT_EQ(a.m, DBL_MAX);
  EXPECT_EQ(a.x, -DBL_MAX);
  EXPECT_EQ(a.y, 0.0);
  EXPECT_EQ(a.r, DBL_MAX);
  const ball& b = *g.balllist[1];
  EXPECT_EQ(b.m, 0.0);
  EXPECT_EQ(b.x, 0.0);
  EXPECT_EQ(b.y, 0.0);
  EXPECT_EQ(b.r, 0.0);
  for (const auto& o : g.balllist) EXPECT_TRUE(std::isfinite(o->anchorx) && std::isfinite(o->anchory));
}

// Links of length zero, links from a ball to itself, joints whose arms repeat
// a ball, rest angles far beyond the float range, and positive masses from the
// tiniest to the largest double all stay finite: every division by a length is
// guarded, no mass ratio overflows and a rest angle counts modulo 360.
TEST_F(PoisonWorld, DegenerateLinksJointsAndExtremeMassesStayFinite) {
  level l;
  l.ball(1, "1", "0", "0", "15").ball(2, "1", "0", "0", "15").ball(3, "1", "0", "0", "15");
  l.ball(4, "1e-300", "50", "0", "15")
      .ball(5, "1.7e308", "60", "0", "15")
      .ball(6, "1e-300", "60", "10", "15");
  l.ball(7, "1", "200", "0", "15", 1).ball(8, "1", "200", "0", "15");
  l.link(1, 2, "0").link(2, 2, "0").link(3, 3, "50").link(1, 3, "0");
  l.link(4, 5, "10").link(5, 6, "1e-300").link(4, 6, "20").link(7, 8, "0");
  l.joint(1, 1, 1, "90", "1000").joint(1, 2, 1, "180", "1000").joint(2, 2, 3, "45", "1e308");
  l.joint(4, 5, 6, "1e308", "1e308").joint(6, 5, 4, "-1e308", "50").joint(7, 8, 7, "359", "1000");
  load(l.text);
  ASSERT_EQ(g.balllist.size(), 8u);
  ASSERT_EQ(g.linklist.size(), 8u);
  ASSERT_EQ(g.TensionList.size(), 6u);
  steps(300);
  for (const auto& b : g.balllist) EXPECT_TRUE(poisonkit::finite(*b)) << "ball " << b->number;
}

// Zero and negative masses, and links longer than half the largest double,
// have no sound physics: the figure that holds them may turn non-finite. It stays its own problem: other
// figures go on exactly as without it, the view drops a figure that has no finite extent left, and drawing
// such a world is harmless.
TEST_F(PoisonWorld, ZeroAndNegativeMassesStayInTheirFigure) {
  const std::string sane = level()
                               .ball(1, "1", "0", "0", "15")
                               .ball(2, "1", "30", "0", "15")
                               .ball(3, "1", "30", "30", "15")
                               .link(1, 2, "40")
                               .link(2, 3, "40")
                               .joint(1, 2, 3, "90", "1000")
                               .text;
  load(sane);
  steps(100);
  std::vector<std::array<double, 4>> expected;
  for (const auto& b : g.balllist) expected.push_back({b->x, b->y, b->xv, b->yv});

  std::string poisoned = sane;
  level extra;
  extra.text.clear();
  extra.ball(4, "0", "300", "0", "15").ball(5, "0", "330", "0", "15").ball(6, "-1", "330", "30", "15");
  extra.ball(7, "-1", "400", "0", "-15").ball(8, "1", "440", "0", "0");
  extra.ball(9, "1", "500", "0", "15").ball(10, "1", "500", "10", "15");
  extra.link(4, 5, "40").link(5, 6, "10").joint(4, 5, 6, "90", "1000").link(7, 8, "100").link(9, 10, "1e308");
  poisoned += extra.text;
  load(poisoned);
  ASSERT_EQ(g.balllist.size(), 10u);
  steps(100);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(g.balllist[i]->x, expected[i][0]);
    EXPECT_EQ(g.balllist[i]->y, expected[i][1]);
    EXPECT_EQ(g.balllist[i]->xv, expected[i][2]);
    EXPECT_EQ(g.balllist[i]->yv, expected[i][3]);
  }
  bool poisonedsome = false;
  for (const auto& b : g.balllist) poisonedsome |= !poisonkit::finite(*b);
  EXPECT_TRUE(poisonedsome) << "the degenerate figure was expected to break down";

  // A wide view (still inside the range where an empty figure's box lies);
  // figures with no finite ball are left out.
  g.changeres(0, 3, 0);
  g.firstball = g.balllist[0].get();
  g.leftborder = g.upborder = -1e5;
  g.rightborder = g.downborder = 1e5;
  g.findonscreen(0);
  for (const ball* b : g.osballlist) {
    bool anyfinite = false;
    for (const ball* o : b->ballmarionetobject->balllist) anyfinite |= poisonkit::finite(*o);
    EXPECT_TRUE(anyfinite) << "ball " << b->number << " of a wholly non-finite figure is in view";
  }
  g.updatemass();
  g.fixzoom();
  g.dobackground2();
  g.drawballlinks();
  EXPECT_GT(headless::calls().size(), 0u);
}

// A world of 100,000 balls in one long chain loads and steps in a time that
// grows with its size, not faster.
TEST_F(PoisonWorld, HundredThousandBallsLoadAndStep) {
  constexpr int n = 100000;
  level l;
  for (int i = 1; i <= n; i++) l.ball(i, "1", std::to_string(i * 10), "0", "5", i == 1 ? 1 : 0);
  for (int i = 1; i < n; i++) l.link(i, i + 1, "10");
  const auto t0 = std::chrono::steady_clock::now();
  load(l.text);
  ASSERT_EQ(g.balllist.size(), size_t(n));
  ASSERT_EQ(g.linklist.size(), size_t(n - 1));
  EXPECT_EQ(g.marionetobjectlist.size(), 1u);
  steps(3);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  // Generous enough for the sanitizer build on a busy machine.
  EXPECT_LT(seconds, 60.0);
  for (const auto& b : g.balllist) ASSERT_TRUE(poisonkit::finite(*b));
}

// A 10 MB line is just a line: as a stray line it is skipped, as a number it
// reads as the largest double, as a kind it becomes "normal".
TEST_F(PoisonWorld, TenMegabyteLines) {
  const std::string huge(10 << 20, 'x');
  const std::string digits(10 << 20, '7');
  load("2\r\n" + huge + "\r\n" + level().ball(1, digits, "5", "6", "7", 0, huge).text.substr(3));
  ASSERT_EQ(g.balllist.size(), 1u);
  EXPECT_EQ(g.balllist[0]->m, DBL_MAX);
  EXPECT_EQ(g.balllist[0]->x, 5.0);
  EXPECT_EQ(g.balllist[0]->kind, "normal");
}

// Binary garbage, with and without a valid first line and with markers mixed
// in, loads some world (often an empty one) whose references are all sound,
// and that world can be stepped.
TEST_F(PoisonWorld, BinaryGarbage) {
  std::mt19937 rng(9);
  const char* markers[] = {"New Ball\n", "New Link\n", "New Tension\n", "New Virtual Link\n", "2\n",
                           "\n",         "\0"};
  for (int trial = 0; trial < 60; trial++) {
    std::string bytes = trial % 3 == 0 ? "" : "2\r\n";
    const int size = 1 + rng() % 4000;
    while (int(bytes.size()) < size) {
      if (rng() % 8 == 0) {
        const char* m = markers[rng() % 7];
        bytes.append(m, m[0] ? std::strlen(m) : 1);
      } else if (rng() % 2) {
        bytes += char('0' + rng() % 10);
      } else {
        bytes += char(rng() % 256);
      }
    }
    load(bytes);
    ASSERT_TRUE(poisonkit::wellformed(g)) << "trial " << trial;
    steps(5);
  }
}

}  // namespace
