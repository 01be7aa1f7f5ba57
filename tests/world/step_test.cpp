// Records' defaults and the world's part of a frame.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "tests/world/worldkit.h"

using worldkit::addball;
using worldkit::addlink;
using worldkit::allonscreen;

namespace {

constexpr double kG = 0.2f;
constexpr double kD = 0.999f;

void frame(game& g) {
  g.handleslower();
  g.updatemass();
  g.stepworld();
}

}  // namespace

TEST(Records, DefaultsDrawRandomFieldsInRecordOrder) {
  headless::install();
  const int col = RandomInt(0, 4), x = RandomInt(0, 800), y = RandomInt(0, 600);
  const int c0 = RandomInt(0, 255), c1 = RandomInt(0, 255), c2 = RandomInt(0, 255);
  const int l0 = RandomInt(0, 255), l1 = RandomInt(0, 255), l2 = RandomInt(0, 255);

  headless::install();
  ball b;
  struct link l;
  EXPECT_EQ(b.col, col);
  EXPECT_EQ(b.x, x);
  EXPECT_EQ(b.y, y);
  EXPECT_EQ(b.oldx, b.x);
  EXPECT_EQ(b.oldy, b.y);
  EXPECT_EQ(b.color, (std::array<int, 3>{c0, c1, c2}));
  EXPECT_EQ(l.color, (std::array<int, 3>{l0, l1, l2}));

  EXPECT_EQ(b.anchored, 1);
  EXPECT_EQ(b.anchorx, 0);
  EXPECT_EQ(b.anchory, 0);
  EXPECT_EQ(b.r, 15.0);
  EXPECT_EQ(b.m, 1.0);
  EXPECT_EQ(b.kind, "normal");
  EXPECT_EQ(l.width, 3.0);
  EXPECT_EQ(l.distance, 0);
  EXPECT_EQ(l.kind, "normal");

  // Many balls: positions always inside the default field.
  for (int i = 0; i < 500; i++) {
    ball r;
    ASSERT_GE(r.x, 0);
    ASSERT_LE(r.x, 800);
    ASSERT_GE(r.y, 0);
    ASSERT_LE(r.y, 600);
    ASSERT_GE(r.col, 0);
    ASSERT_LE(r.col, 4);
  }
}

TEST(Records, GameStartsWithClockAndFirstTrack) {
  headless::install();
  headless::advance_clock(1234);
  game g;
  EXPECT_EQ(g.oldtime, 1234);
  EXPECT_EQ(g.musicNumber, 1);
  EXPECT_EQ(g.gravity, kG);
  EXPECT_EQ(g.slower, 1.0);
  EXPECT_TRUE(g.balllist.empty());
  EXPECT_EQ(g.firstball, nullptr);
}

TEST(Step, FreeBallFallsOneGravityStep) {
  headless::install();
  game g;
  ball* b = addball(g, 0, 0);
  allonscreen(g);
  frame(g);
  EXPECT_EQ(b->y, kG);  // moved by the single-precision 0.2
  EXPECT_EQ(b->yv, kG * kD);
  EXPECT_NEAR(b->yv, 0.1998, 1e-7);
  EXPECT_EQ(b->x, 0);
  EXPECT_EQ(b->xv, 0);
  EXPECT_EQ(b->oldy, 0);

  // Second frame: the velocity carries, gravity adds, damping applies once.
  frame(g);
  EXPECT_EQ(b->y, kG + (kG * kD + kG));
  EXPECT_EQ(b->yv, ((kG + (kG * kD + kG)) - kG) * kD);
}

TEST(Step, SlowMotionMovesHalfButKeepsFullFrameVelocity) {
  headless::install();
  game g;
  ball* b = addball(g, 0, 0);
  allonscreen(g);
  g.slowtime = 2;
  frame(g);
  EXPECT_EQ(g.slower, 0.5);
  EXPECT_EQ(g.slowtime, 1);
  EXPECT_EQ(b->y, kG * 0.5);
  EXPECT_EQ(b->yv, kG * 0.5 * kD / 0.5);
  frame(g);
  frame(g);
  EXPECT_EQ(g.slower, 1.0);
  EXPECT_EQ(g.slowtime, 0);
}

TEST(Step, AnchorsPinOnlyAnchoredOne) {
  headless::install();
  game g;
  ball* pinned = addball(g, 5, 7, 1.0, 1);
  pinned->anchorx = 100;
  pinned->anchory = 200;
  pinned->xv = 3;
  pinned->yv = -4;
  ball* heavy = addball(g, 0, 0, 1.0, 2);
  ball* light = addball(g, 50, 0, 1.0, 0);
  allonscreen(g);
  EXPECT_EQ(pinned->actualmass, kHeavyMass);
  EXPECT_EQ(heavy->actualmass, kHeavyMass);
  EXPECT_EQ(light->actualmass, 1.0);

  g.doanchor();
  EXPECT_EQ(pinned->x, 100);
  EXPECT_EQ(pinned->y, 200);
  EXPECT_EQ(pinned->oldx, 100);
  EXPECT_EQ(pinned->oldy, 200);
  EXPECT_EQ(pinned->xv, 0);
  EXPECT_EQ(pinned->yv, 0);

  // anchored = 2 is heavy but falls like any free ball.
  frame(g);
  EXPECT_EQ(heavy->y, kG);
  EXPECT_EQ(heavy->yv, kG * kD);
  EXPECT_EQ(pinned->x, 100);
  EXPECT_EQ(pinned->y, 200);
  EXPECT_EQ(pinned->yv, 0);
}

TEST(Step, PinnedBallDriftsUnderLinksAndIsPutBack) {
  headless::install();
  game g;
  ball* pin = addball(g, 0, 0, 1.0, 1);
  ball* bob = addball(g, 110, 0);
  addlink(g, pin, bob, 100);
  allonscreen(g);
  frame(g);
  // The heavy pin is pulled a little toward the bob and keeps that as velocity.
  EXPECT_GT(pin->x, 0);
  EXPECT_LT(pin->x, 0.1);
  EXPECT_GT(pin->xv, 0);
  EXPECT_NEAR(worldkit::distance(pin, bob), 100, 0.01);
  // The next frame's anchor step puts it back before the constraints run.
  g.updatemass();
  g.stepworld();
  EXPECT_LT(pin->x, 0.1);
  EXPECT_EQ(pin->oldx, 0);
  EXPECT_EQ(pin->rebounded, 0);
}

TEST(Step, OnlyOnScreenBallsMove) {
  headless::install();
  game g;
  ball* in = addball(g, 0, 0);
  ball* out = addball(g, 300, 300);
  out->xv = 1.25;
  out->yv = -2.5;
  g.osballlist = {in};
  g.updatemass();
  for (int i = 0; i < 100; i++) g.stepworld();
  EXPECT_EQ(out->x, 300);
  EXPECT_EQ(out->y, 300);
  EXPECT_EQ(out->xv, 1.25);
  EXPECT_EQ(out->yv, -2.5);
  EXPECT_GT(in->y, 100);
}

TEST(Step, FramePacingWaitsForSixteenWholeMilliseconds) {
  headless::install();
  game g;
  EXPECT_EQ(g.oldtime, 0);
  // A slow frame does not wait and nothing is made up later.
  headless::advance_clock(40);
  g.deltatimecount();
  EXPECT_EQ(g.oldtime, 40);
  EXPECT_EQ(headless::clock(), 40);

  // A quick frame waits until 16 ms after the previous wait ended: 15 is
  // still below the 15.87 ms period.
  headless::advance_clock(10);
  g.deltatimecount();
  EXPECT_EQ(headless::clock(), 56);
  EXPECT_EQ(g.oldtime, 56);
  headless::advance_clock(15);
  g.deltatimecount();
  EXPECT_EQ(g.oldtime, 72);
  headless::advance_clock(16);
  g.deltatimecount();
  EXPECT_EQ(g.oldtime, 88);
}

TEST(Step, DepthLimitHoldsEveryBall) {
  headless::install();
  game g;
  ball* deep = addball(g, 0, 140000);
  deep->yv = 30;
  deep->xv = 2;
  ball* edge = addball(g, 0, 133333);
  edge->yv = 5;
  g.osballlist.clear();  // off screen balls are held too
  g.blockballsplay();
  EXPECT_EQ(deep->y, 133333.0);
  EXPECT_EQ(deep->yv, 0);
  EXPECT_EQ(deep->xv, 2);
  EXPECT_EQ(edge->y, 133333.0);
  EXPECT_EQ(edge->yv, 5);
}
