#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/harness.h"

TEST(Headless, WindowPacingGivesSixtyFramesPerSecond) {
  headless::install();
  OpenGraphics(800, 600, 0, 60);
  int32_t start = ClockMillis();
  std::vector<int32_t> steps;
  for (int i = 0; i < 60; i++) {
    int32_t before = headless::clock();
    Flip(-1);
    steps.push_back(headless::clock() - before);
  }
  EXPECT_EQ(ClockMillis() - start, 1000);
  for (int32_t s : steps) EXPECT_TRUE(s == 16 || s == 17);
  for (int i = 0; i < 60; i++) Flip(-1);
  EXPECT_EQ(headless::clock(), 2000);
  // Time that has already passed is not caught up.
  headless::advance_clock(100);
  Flip(-1);
  int32_t t = headless::clock();
  EXPECT_GE(t, 2100);
  EXPECT_LE(t, 2117);
  Flip(-1);
  EXPECT_LE(headless::clock() - t, 17);
  EXPECT_EQ(headless::frame(), 122);
}

TEST(Headless, ClockMovesForLoopsThatOnlyWait) {
  headless::install();
  int32_t start = ClockMillis();
  int reads = 0;
  while (ClockMillis() - start < 16 && reads < 1000000) reads++;
  EXPECT_LT(reads, 1000000);
  EXPECT_GE(ClockMillis() - start, 16);
}

TEST(Headless, WindowAndDialogAreRecorded) {
  headless::install();
  EXPECT_FALSE(headless::window_open());
  EXPECT_TRUE(OpenGraphics(1024, 768, 32, 60));
  EXPECT_TRUE(headless::window_open());
  EXPECT_EQ(headless::window_width(), 1024);
  EXPECT_EQ(headless::window_height(), 768);
  EXPECT_EQ(headless::window_depth(), 32);
  SetMouseVisible(0);
  EXPECT_EQ(headless::mouse_visible(), 0);
  CloseGraphics();
  EXPECT_FALSE(headless::window_open());
  OpenGraphics(640, 480, 0, 60);
  EXPECT_EQ(headless::open_count(), 2);
  EXPECT_EQ(Proceed("Play Fullscreen?", 0), 0);
  headless::set_proceed_answer(-1);
  EXPECT_EQ(Proceed("Play Fullscreen?", 0), -1);
  EXPECT_EQ(headless::proceed_calls(), 2);
  EXPECT_EQ(harness::run([] { EndProgram(); }), harness::ending::program_ended);
}

TEST(Headless, DrawCallsCarryTheDrawingState) {
  headless::install();
  OpenGraphics(640, 480, 0, 60);
  sprite none;
  Cls();
  SetColor(10, 20, 300);
  SetAlpha(0.5);
  SetBlend(BLEND_LIGHT);
  SetDrawScale(2, 3);
  SetDrawRotation(45);
  DrawLine(1, 2, 3, 4);
  DrawSprite(none, 5, 5);  // an empty sprite draws nothing
  Flip(-1);
  SetDrawScale(1, 1);
  SetDrawRotation(0);
  DrawLine(7, 8, 9, 10);
  Flip(-1);
  auto all = headless::calls();
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all[0].kind, headless::op::cls);
  const headless::drawcall& l = all[1];
  EXPECT_EQ(l.kind, headless::op::line);
  EXPECT_EQ(l.x, 1);
  EXPECT_EQ(l.y2, 4);
  EXPECT_EQ(l.b, 255);  // colours are clamped to 0..255
  EXPECT_EQ(l.g, 20);
  EXPECT_EQ(l.alpha, 0.5);
  EXPECT_EQ(l.blend, BLEND_LIGHT);
  EXPECT_EQ(l.sx, 2);
  EXPECT_EQ(l.sy, 3);
  EXPECT_EQ(l.rotation, 45);
  EXPECT_EQ(l.frame, 0);
  auto last = headless::last_frame();
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(last[0].x, 7);
  EXPECT_EQ(last[0].frame, 1);
  headless::clear_calls();
  EXPECT_TRUE(headless::calls().empty());
  EXPECT_TRUE(headless::last_frame().empty());
}
