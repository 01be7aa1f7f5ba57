// Link and joint passes and the single-precision angle arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "platform/headless/headless.h"
#include "tests/world/worldkit.h"

using worldkit::addball;
using worldkit::addlink;
using worldkit::addtension;
using worldkit::allonscreen;
using worldkit::distance;
using worldkit::jointangle;

namespace {
constexpr double kK = 0.3f;
}

TEST(Links, PassRemovesThirtyPercentOfTheError) {
  headless::install();
  game g;
  ball* a = addball(g, 0, 0);
  ball* b = addball(g, 110, 0);
  addlink(g, a, b, 100);
  allonscreen(g);
  g.shiftballs();
  EXPECT_EQ(a->x, 10 / 2.0 * 1 * kK);
  EXPECT_EQ(b->x, 110 - 10 / 2.0 * 1 * kK);
  EXPECT_NEAR(a->x, 1.5, 1e-6);
  EXPECT_NEAR(distance(a, b), 107, 1e-6);
  EXPECT_EQ(a->y, 0);
  for (int i = 1; i < 20; i++) g.shiftballs();
  EXPECT_NEAR(distance(a, b) - 100, 10 * std::pow(1 - kK, 20), 1e-9);
  EXPECT_NEAR(distance(a, b) - 100, 0.008, 0.0002);

  // A compressed link pushes apart.
  b->x = 50;
  const double ax = a->x, d0 = distance(a, b);
  g.shiftballs();
  EXPECT_LT(a->x, ax);
  EXPECT_NEAR(distance(a, b), d0 + kK * (100 - d0), 1e-9);
}

TEST(Links, HeavyBallTakesTheSmallShare) {
  headless::install();
  game g;
  ball* heavy = addball(g, 0, 0, 1.0, 2);
  ball* light = addball(g, 0, 110);
  addlink(g, heavy, light, 100);
  allonscreen(g);
  ASSERT_EQ(heavy->actualmass, 99);
  const std::array<double, 5> c = g.partialshiftballs(heavy, light, 100);
  EXPECT_EQ(c[0], 0);
  EXPECT_EQ(c[1], 0);
  EXPECT_NEAR(c[2], 0.03, 1e-8);
  EXPECT_EQ(c[3], 0);
  EXPECT_NEAR(c[4], -2.97, 1e-6);
  g.shiftballs();
  EXPECT_NEAR(heavy->y, 0.03, 1e-8);
  EXPECT_NEAR(light->y, 110 - 2.97, 1e-6);
}

TEST(Links, CoincidentBallsGetNoCorrection) {
  headless::install();
  game g;
  ball* a = addball(g, 5, 5);
  ball* b = addball(g, 5, 5);
  addlink(g, a, b, 40);
  allonscreen(g);
  g.shiftballs();
  EXPECT_EQ(a->x, 5);
  EXPECT_EQ(a->y, 5);
  EXPECT_EQ(b->x, 5);
  EXPECT_EQ(b->y, 5);
}

TEST(Links, PassIsSimultaneous) {
  // A chain of three: the middle ball's correction from its second link is
  // computed from the positions at the start of the pass, not after the first.
  headless::install();
  game g;
  ball* a = addball(g, 0, 0);
  ball* m = addball(g, 110, 0);
  ball* c = addball(g, 220, 0);
  addlink(g, a, m, 100);
  addlink(g, m, c, 100);
  allonscreen(g);
  g.shiftballs();
  EXPECT_EQ(m->x, 110);
  EXPECT_EQ(a->x, 10 / 2.0 * 1 * kK);
  EXPECT_EQ(c->x, 220 - 10 / 2.0 * 1 * kK);
}

TEST(Angles, WrapInSinglePrecision) {
  EXPECT_EQ(wrap360(-30), 330);
  EXPECT_EQ(wrap360(720), 0);
  EXPECT_EQ(wrap360(359.5f), 359.5);
  EXPECT_EQ(wrap180(340), -20);
  EXPECT_EQ(wrap180(350 - 10), -20);  // the short way round
  EXPECT_EQ(wrap180(-190), 170);
  EXPECT_EQ(wrap180(180), 180);
  EXPECT_EQ(wrap180(-180), -180);
  EXPECT_EQ(wrap180(900), 180);
  // The argument is a float: 206.565... is kept to single precision.
  const double measured = 206.56505117707798;
  EXPECT_EQ(wrap360(static_cast<float>(measured)), static_cast<double>(static_cast<float>(measured)));
  EXPECT_NE(wrap360(static_cast<float>(measured)), measured);
  EXPECT_EQ(atan2deg(1, -1), 135);
  EXPECT_EQ(atan2deg(0, -1), 180);
}

namespace {

// The wraps as plain loops, one float subtraction after another.
float loop360(float a) {
  while (a >= 360.0f) a -= 360.0f;
  while (a < 0.0f) a += 360.0f;
  return a;
}
float loop180(float a) {
  while (a > 180.0f) a -= 360.0f;
  while (a < -180.0f) a += 360.0f;
  return a;
}
bool samebits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

// Far out every subtraction of 360 rounds, and the loop's answer is not the
// remainder: it is the one kept, up to where a subtraction no longer changes
// the value (above 2^33); only there, and for infinities, the remainder is taken.
TEST(Angles, FarOutWrapsGiveTheLoopsResult) {
  EXPECT_EQ(wrap360(2e8f), 168);
  EXPECT_NE(wrap360(2e8f), std::fmod(2e8f, 360.0f));
  std::mt19937 rng(7);
  std::vector<float> values = {1.34e8f,      1.35e8f,     2e8f,          134217728.0f, 134217744.0f,
                               268435456.0f, 3.6e9f + 90, 4294967296.0f, 8.5e9f,       8589934080.0f,
                               -2e8f,        -1.5e9f,     -7e6f,         1e6f + 0.5f,  999999.94f,
                               16777216.0f,  -16777217.0f};
  for (int i = 0; i < 40; i++) {
    const float far = std::ldexp(1.0f, 20 + static_cast<int>(rng() % 13)) * (1 + (rng() % 1000) / 1000.0f);
    values.push_back(rng() % 2 ? far : -far);
  }
  for (float v : values) {
    EXPECT_TRUE(samebits(wrap360(v), loop360(v))) << v << ": " << wrap360(v) << " for " << loop360(v);
    EXPECT_TRUE(samebits(wrap180(v), loop180(v))) << v << ": " << wrap180(v) << " for " << loop180(v);
  }
  // Above 2^33 the loop would never end.
  const float stuck = 8589935616.0f;  // 2^33 + 1024
  ASSERT_EQ(stuck - 360.0f, stuck);
  EXPECT_EQ(wrap360(stuck), std::fmod(stuck, 360.0f));
  EXPECT_EQ(wrap360(1e30f), std::fmod(1e30f, 360.0f));
  EXPECT_EQ(wrap180(-1e30f), loop180(std::fmod(-1e30f, 360.0f)));
  EXPECT_TRUE(std::isnan(wrap360(std::numeric_limits<float>::infinity())));
  EXPECT_TRUE(std::isnan(wrap180(-std::numeric_limits<float>::infinity())));
  // A sum that lands on zero is +0, as the loop's is.
  EXPECT_TRUE(samebits(wrap360(-360.0f), 0.0));
  EXPECT_TRUE(samebits(wrap180(-720.0f), 0.0));
}

TEST(Tensions, ExampleJointSettlesTowardRestAngle) {
  headless::install();
  for (double rest : {180.0, 90.0}) {
    game g;
    ball* a = addball(g, 0, 0);
    ball* b = addball(g, 100, 0);
    ball* c = addball(g, 200, 50);
    tension* t = addtension(g, a, b, c, rest, 300);
    allonscreen(g);
    EXPECT_NEAR(jointangle(*t), 206.565, 0.001);
    for (int i = 0; i < 40; i++) g.tensionballs();
    if (rest == 180) {
      EXPECT_NEAR(jointangle(*t), 190.4, 0.1);
    }
    for (int i = 40; i < 200; i++) g.tensionballs();
    EXPECT_NEAR(jointangle(*t), rest == 180 ? 180.2 : 94.9, 0.1) << "rest " << rest;
  }
}

TEST(Tensions, StraightChainAtRestIsLeftAlone) {
  headless::install();
  game g;
  ball* a = addball(g, 0, 0);
  ball* b = addball(g, 100, 0);
  ball* c = addball(g, 200, 0);
  tension* t = addtension(g, a, b, c, 180, 300);
  allonscreen(g);
  EXPECT_EQ(jointangle(*t), 180);
  g.tensionballs();
  EXPECT_EQ(a->x, 0);
  EXPECT_EQ(b->x, 100);
  EXPECT_EQ(c->x, 200);
  EXPECT_EQ(a->y, 0);
  EXPECT_EQ(b->y, 0);
  EXPECT_EQ(c->y, 0);
}

TEST(Tensions, ActOnlyAboveStrengthTenAndNotWhenAllPinned) {
  headless::install();
  auto moved = [](double strength, int anchoredA, int anchoredB, int anchoredC) {
    game g;
    ball* a = addball(g, 0, 0, 1.0, anchoredA);
    ball* b = addball(g, 100, 0, 1.0, anchoredB);
    ball* c = addball(g, 200, 50, 1.0, anchoredC);
    addtension(g, a, b, c, 180, strength);
    allonscreen(g);
    g.tensionballs();
    return a->x != 0 || a->y != 0 || b->x != 100 || b->y != 0 || c->x != 200 || c->y != 50;
  };
  EXPECT_FALSE(moved(10, 0, 0, 0));
  EXPECT_FALSE(moved(-5, 0, 0, 0));
  EXPECT_TRUE(moved(10.0001, 0, 0, 0));
  EXPECT_FALSE(moved(300, 1, 1, 1));
  EXPECT_TRUE(moved(300, 1, 1, 0));
  EXPECT_TRUE(moved(300, 1, 2, 1));  // anchored 2 is heavy but not pinned
}

TEST(Tensions, PushesEndsAcrossTheirArmsAndJointOpposite) {
  headless::install();
  game g;
  ball* a = addball(g, 0, 0);
  ball* b = addball(g, 100, 0);
  ball* c = addball(g, 200, 50);
  tension* t = addtension(g, a, b, c, 180, 300);
  allonscreen(g);
  g.slower = 0.5;
  const double err = wrap180(static_cast<float>(jointangle(*t) - 180));
  const double q1 = 100 * 100, q2 = 100 * 100 + 50 * 50;
  const double k = std::min(std::min(0.7f * q1 * 1, 0.7f * q2 * 1), 300.0);
  const double f = k * (err / 400) * 0.5;
  g.tensionballs();
  EXPECT_EQ(a->x, 0 + f * 0 / q1 / 1);
  EXPECT_EQ(a->y, 0 + f * (-100) / q1 / 1);
  EXPECT_EQ(c->x, 200 + f * 50 / q2 / 1);
  EXPECT_EQ(c->y, 50 + f * (-100) / q2 / 1);
  EXPECT_EQ(b->x, 100 + (-f * 0 / q1 - f * 50 / q2) / 1);
  EXPECT_EQ(b->y, 0 + (f * 100 / q1 + f * 100 / q2) / 1);

  // Short arms cap the stiffness by 0.7 * squared arm length * lightest mass.
  game h;
  ball* s1 = addball(h, 0, 0);
  ball* s2 = addball(h, 2, 0, 0.5);
  ball* s3 = addball(h, 2, 3);
  addtension(h, s1, s2, s3, 180, 300);
  allonscreen(h);
  const double e2 = wrap180(static_cast<float>(jointangle(*h.TensionList[0]) - 180));
  const double k2 = std::min(std::min(0.7f * 4.0 * 0.5, 0.7f * 9.0 * 0.5), 300.0);
  h.tensionballs();
  EXPECT_EQ(s1->y, 0 + k2 * (e2 / 400) * 1 * (-2) / 4 / 1);
}
