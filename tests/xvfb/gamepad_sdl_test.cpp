// A controller through SDL's own events: plugged in while the game runs, its
// buttons and stick reach the key tables, and unplugging it lets go.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gamepad.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

void frames(int n) {
  for (int i = 0; i < n; i++) Flip(-1);
}

}  // namespace

TEST(SdlGamepad, AHotPluggedPadActsOnTheKeyTables) {
  // Pads are read whatever window has the focus in this test.
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  UseSdlBackend();
  SetAppTitle("TUMBO pad");
  ASSERT_TRUE(OpenGraphics(200, 150, 0, 60));
  frames(3);
  FlushKeyboard();
  ASSERT_TRUE(plat::attach_virtual_pad());
  frames(3);  // the "added" event opens it
  plat::virtual_pad_button(plat::PAD_A, true);
  plat::virtual_pad_axis(plat::PAD_LEFTX, 30000);
  frames(2);
  EXPECT_EQ(KeyHeld(KEY_SPACE), 1);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 1);
  EXPECT_EQ(KeyPresses(KEY_SPACE), 1);
  plat::virtual_pad_button(plat::PAD_A, false);
  plat::virtual_pad_button(plat::PAD_DPAD_DOWN, true);
  plat::virtual_pad_button(plat::PAD_START, true);
  frames(2);
  EXPECT_EQ(KeyHeld(KEY_SPACE), 0);
  EXPECT_EQ(KeyPresses(KEY_DOWN), 1);
  EXPECT_EQ(KeyPresses(KEY_P), 1);
  // Unplugged with the stick pushed and a button down: both let go.
  plat::detach_virtual_pad();
  frames(3);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 0);
  EXPECT_EQ(KeyHeld(KEY_DOWN), 0);
  // Plugged in again, it works again.
  ASSERT_TRUE(plat::attach_virtual_pad());
  frames(3);
  plat::virtual_pad_button(plat::PAD_B, true);
  frames(2);
  EXPECT_EQ(KeyPresses(KEY_ESCAPE), 1);
  plat::detach_virtual_pad();
  frames(2);
  CloseGraphics();
  headless::install();
}
