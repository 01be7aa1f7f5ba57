// A game controller drives the game as the keyboard does: the menus with the
// d-pad and A, the player's ball with the left stick.
#include "tests/app/app_support.h"
#include "tests/play/level_support.h"

namespace {

using gamepad = apptest::fixture;

TEST_F(gamepad, TheDPadAndAChooseInTheMainMenu) {
  open();
  headless::idle(2);
  headless::pad_button(plat::PAD_DPAD_DOWN, true, 1);
  headless::pad_button(plat::PAD_DPAD_DOWN, false, 1);
  headless::pad_button(plat::PAD_A, true, 2);
  int chosen = 0;
  EXPECT_EQ(harness::run([&] { chosen = g->startscreen(1); }), harness::ending::returned);
  EXPECT_EQ(chosen, 2);  // OPTIONS
  EXPECT_EQ(apptest::highlighted(apptest::texts_in_frame(headless::frame() - 1),
                                 {"PLAY", "OPTIONS", "CONTROLS", "SCORES", "QUIT"}),
            "OPTIONS");

  // The stick pushed up wraps to QUIT; Y chooses it. B leaves a menu.
  restart();
  headless::idle(2);
  headless::pad_axis(plat::PAD_LEFTY, -32768, 1);
  headless::pad_axis(plat::PAD_LEFTY, 0, 1);
  headless::pad_button(plat::PAD_Y, true, 2);
  EXPECT_EQ(harness::run([&] { chosen = g->startscreen(1); }), harness::ending::returned);
  EXPECT_EQ(chosen, 5);
  restart();
  headless::idle(2);
  headless::pad_button(plat::PAD_B, true, 2);
  EXPECT_EQ(harness::run([&] { chosen = g->chosescoresscreen(1); }), harness::ending::returned);
  EXPECT_EQ(chosen, -100);
}

// Plays frames of the first test level and returns the player's ball.
ball play(const std::function<void()>& input, int frames) {
  levelplay::session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 1);
  input();
  headless::idle(5);  // the last frame's flip polls once more
  std::string result = "play";
  for (int i = 0; i < frames; i++) g.levelframe(result, 1, 0);
  return *g.balllist.front();
}

TEST(GamepadPlay, TheStickRollsTheBallAsTheArrowKeysDo) {
  const int frames = 40;
  ball idle = play([] { headless::idle(frames); }, frames);
  ball keys = play([] { headless::hold({KEY_RIGHT}, frames, 0); }, frames);
  ball stick = play([] { headless::pad_axis(plat::PAD_LEFTX, 25000, frames); }, frames);
  EXPECT_GT(stick.xv, idle.xv + 0.5);
  EXPECT_GT(stick.x, idle.x + 5);
  // Bit for bit the same as holding Right.
  EXPECT_EQ(stick.x, keys.x);
  EXPECT_EQ(stick.xv, keys.xv);
  EXPECT_EQ(stick.y, keys.y);
  ball dpad = play([] { headless::pad_button(plat::PAD_DPAD_LEFT, true, frames); }, frames);
  EXPECT_LT(dpad.xv, idle.xv - 0.5);
}

}  // namespace
