// Game controllers act through the keyboard's tables: each button or stick
// direction holds its key, counts one press, and lets go when the last thing
// holding that key lets go.
#include "platform/gamepad.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

struct pads : ::testing::Test {
  void SetUp() override { headless::install(); }
};

std::string typed() {
  std::string t;
  for (int c; (c = NextTypedChar()) != 0;) t += char(c);
  return t;
}

TEST_F(pads, ButtonsHoldAndPressTheirKeys) {
  const struct {
    int button, key;
  } map[] = {{plat::PAD_A, KEY_SPACE},        {plat::PAD_B, KEY_ESCAPE},
             {plat::PAD_START, KEY_P},        {plat::PAD_Y, KEY_ENTER},
             {plat::PAD_DPAD_UP, KEY_UP},     {plat::PAD_DPAD_DOWN, KEY_DOWN},
             {plat::PAD_DPAD_LEFT, KEY_LEFT}, {plat::PAD_DPAD_RIGHT, KEY_RIGHT}};
  for (const auto& m : map) {
    plat::pad_button(0, m.button, true);
    EXPECT_EQ(KeyHeld(m.key), 1) << m.button;
    plat::pad_button(0, m.button, true);  // a repeated report is not a new press
    EXPECT_EQ(KeyPresses(m.key), 1) << m.button;
    plat::pad_button(0, m.button, false);
    EXPECT_EQ(KeyHeld(m.key), 0) << m.button;
    EXPECT_EQ(KeyPresses(m.key), 0) << m.button;
  }
  // Y types a carriage return as Enter does; the others type nothing.
  EXPECT_EQ(typed(), "\r");
  // Buttons without a key, and numbers beyond the buttons, change nothing.
  plat::pad_button(0, plat::PAD_X, true);
  plat::pad_button(0, plat::PAD_BACK, true);
  plat::pad_button(0, -1, true);
  plat::pad_button(0, 999, true);
  for (int k = 0; k < 256; k++) EXPECT_EQ(KeyHeld(k) + KeyPresses(k), 0) << k;
}

TEST_F(pads, TheLeftStickHasADeadZoneAndHysteresis) {
  plat::pad_axis(0, plat::PAD_LEFTX, plat::kPadPush - 1);  // inside the dead zone
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 0);
  plat::pad_axis(0, plat::PAD_LEFTX, plat::kPadPush);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 1);
  // Drifting back towards the middle keeps it pushed until below the release.
  plat::pad_axis(0, plat::PAD_LEFTX, plat::kPadRelease);
  plat::pad_axis(0, plat::PAD_LEFTX, plat::kPadPush);
  plat::pad_axis(0, plat::PAD_LEFTX, plat::kPadRelease);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 1);
  EXPECT_EQ(KeyPresses(KEY_RIGHT), 1);
  plat::pad_axis(0, plat::PAD_LEFTX, plat::kPadRelease - 1);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 0);
  // From one side straight to the other.
  plat::pad_axis(0, plat::PAD_LEFTX, 32767);
  plat::pad_axis(0, plat::PAD_LEFTX, -32768);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 0);
  EXPECT_EQ(KeyHeld(KEY_LEFT), 1);
  EXPECT_EQ(KeyPresses(KEY_RIGHT), 1);
  EXPECT_EQ(KeyPresses(KEY_LEFT), 1);
  plat::pad_axis(0, plat::PAD_LEFTX, -plat::kPadRelease);
  EXPECT_EQ(KeyHeld(KEY_LEFT), 1);
  plat::pad_axis(0, plat::PAD_LEFTX, 0);
  EXPECT_EQ(KeyHeld(KEY_LEFT), 0);
  // The vertical axis points down, as SDL reports it; other axes do nothing.
  plat::pad_axis(0, plat::PAD_LEFTY, -20000);
  EXPECT_EQ(KeyHeld(KEY_UP), 1);
  plat::pad_axis(0, plat::PAD_LEFTY, 20000);
  EXPECT_EQ(KeyHeld(KEY_UP), 0);
  EXPECT_EQ(KeyHeld(KEY_DOWN), 1);
  plat::pad_axis(0, 2, 32767);
  plat::pad_axis(0, 5, -32768);
  EXPECT_EQ(KeyHeld(KEY_LEFT) + KeyHeld(KEY_RIGHT) + KeyHeld(KEY_UP), 0);
}

TEST_F(pads, AKeyStaysHeldWhileAnyPadHoldsItAndUnpluggingLetsGo) {
  plat::pad_added(7);
  plat::pad_button(7, plat::PAD_DPAD_RIGHT, true);
  plat::pad_axis(7, plat::PAD_LEFTX, 30000);
  plat::pad_button(9, plat::PAD_DPAD_RIGHT, true);  // a second pad, never announced
  EXPECT_EQ(KeyPresses(KEY_RIGHT), 1);
  plat::pad_button(7, plat::PAD_DPAD_RIGHT, false);
  plat::pad_axis(7, plat::PAD_LEFTX, 0);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 1);  // pad 9 still holds it
  plat::pad_button(7, plat::PAD_A, true);
  plat::pad_removed(9);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 0);
  EXPECT_EQ(KeyHeld(KEY_SPACE), 1);
  plat::pad_removed(7);
  EXPECT_EQ(KeyHeld(KEY_SPACE), 0);
  // After a flush a held button counts again only when pressed again.
  plat::pad_button(1, plat::PAD_A, true);
  FlushKeyboard();
  EXPECT_EQ(KeyHeld(KEY_SPACE), 0);
  plat::pad_button(1, plat::PAD_A, false);
  plat::pad_button(1, plat::PAD_A, true);
  EXPECT_EQ(KeyHeld(KEY_SPACE), 1);
  EXPECT_EQ(KeyPresses(KEY_SPACE), 1);
  // A new backend starts with no pads: A, still down above, is pressed anew.
  headless::install();
  plat::pad_button(1, plat::PAD_A, true);
  EXPECT_EQ(KeyPresses(KEY_SPACE), 1);
}

TEST_F(pads, ScriptedControllerEventsArriveAtTheirFrame) {
  // The first event of a new script belongs to the frame under way.
  headless::pad_button(plat::PAD_DPAD_DOWN, true, 2);
  headless::pad_button(plat::PAD_DPAD_DOWN, false);
  headless::pad_axis(plat::PAD_LEFTX, -30000, 0, 3);
  headless::pad_event({headless::padevent::removed, 3});
  EXPECT_EQ(KeyHeld(KEY_DOWN), 1);
  Flip(-1);
  Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_DOWN), 1);
  Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_DOWN), 0);
  EXPECT_EQ(KeyPresses(KEY_DOWN), 1);
  Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_LEFT), 1);
  Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_LEFT), 0);
  // Events queued behind a key script come after it; a new script drops them.
  headless::hold({KEY_ENTER}, 1, 0);
  headless::pad_button(plat::PAD_B, true);
  Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_ENTER), 1);
  EXPECT_EQ(KeyHeld(KEY_ESCAPE), 0);
  Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_ESCAPE), 1);
  headless::pad_button(plat::PAD_START, true);
  headless::set_script({{}, {}});
  Flip(-1);
  EXPECT_EQ(KeyPresses(KEY_P), 0);
}

}  // namespace
