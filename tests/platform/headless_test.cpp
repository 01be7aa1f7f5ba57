#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(Headless, RecordsKeepTheirNamesAndTextsAcrossReadsAndClears) {
  harness::gamedir dir;
  headless::install();
  OpenGraphics(640, 480, 0, 60);
  const std::vector<uint8_t> pixels(2 * 2 * 4, 255);
  ASSERT_TRUE(WritePNG("a.png", 2, 2, pixels));
  ASSERT_TRUE(WritePNG("a-much-longer-sprite-name.png", 2, 2, pixels));
  sprite a = LoadSprite("a.png"), b = LoadSprite("a-much-longer-sprite-name.png");
  ASSERT_TRUE(a && b);
  font f = LoadFont(harness::source("media/zekton__.ttf"), 16, 0);
  ASSERT_TRUE(f);
  SetFont(f);
  const std::string longtext(300, 'x');

  DrawSprite(a, 1, 1);
  DrawString("HI", 2, 2);
  DrawSprite(b, 3, 3);
  DrawSprite(b, 4, 4);
  // Calls read before later ones are made are still right afterwards.
  ASSERT_EQ(headless::calls().size(), 4u);
  DrawString(longtext, 5, 5);
  DrawSprite(a, 6, 6);
  SetColor(1, 2, 3);
  GrabSprite(b, 7, 7);
  const auto& all = headless::calls();
  ASSERT_EQ(all.size(), 7u);
  const std::vector<std::string> texts{
      "a.png",  "HI",    "a-much-longer-sprite-name.png", "a-much-longer-sprite-name.png",
      longtext, "a.png", "a-much-longer-sprite-name.png"};
  for (size_t i = 0; i < all.size(); i++) {
    EXPECT_EQ(all[i].text, texts[i]) << i;
    EXPECT_EQ(all[i].x, double(i + 1)) << i;
  }
  EXPECT_EQ(all[1].kind, headless::op::text);
  EXPECT_EQ(all[6].kind, headless::op::grab);
  EXPECT_EQ(all[6].b, 3);
  Flip(-1);
  EXPECT_EQ(headless::last_frame_texts(), (std::vector<std::string>{"HI", longtext}));

  // After a clear only new calls show, with the names seen before and new ones.
  headless::clear_calls();
  a.reset();
  ASSERT_TRUE(WritePNG("c.png", 2, 2, pixels));
  sprite c = LoadSprite("c.png");
  DrawString("AGAIN", 0, 0);
  DrawSprite(c, 0, 0);
  DrawSprite(b, 0, 0);
  Flip(-1);
  const auto frame = headless::last_frame();
  ASSERT_EQ(frame.size(), 3u);
  EXPECT_EQ(frame[0].text, "AGAIN");
  EXPECT_EQ(frame[1].text, "c.png");
  EXPECT_EQ(frame[2].text, "a-much-longer-sprite-name.png");
  EXPECT_EQ(frame[2].frame, 1);
  EXPECT_EQ(headless::calls().size(), 4u);
}
