#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "platform/platform.h"

TEST(Keyboard, PressesAreCountedOncePerNewHoldAndClearedByReading) {
  headless::install();
  headless::set_script({{{KEY_SPACE}, ""}, {{KEY_SPACE}, ""}, {}, {{KEY_SPACE, KEY_LEFT}, ""}, {}}, false);
  EXPECT_EQ(KeyHeld(KEY_SPACE), 1);
  Flip(-1);  // frame 1: still held, no new press
  EXPECT_EQ(KeyPresses(KEY_SPACE), 1);
  EXPECT_EQ(KeyPresses(KEY_SPACE), 0);
  Flip(-1);  // frame 2: released
  EXPECT_EQ(KeyHeld(KEY_SPACE), 0);
  Flip(-1);  // frame 3: pressed again
  EXPECT_EQ(KeyHeld(KEY_LEFT), 1);
  EXPECT_EQ(KeyPresses(KEY_SPACE), 1);
  EXPECT_EQ(KeyPresses(KEY_LEFT), 1);
  EXPECT_EQ(KeyPresses(KEY_RIGHT), 0);
  EXPECT_EQ(KeyPresses(-1), 0);
  EXPECT_EQ(KeyHeld(300), 0);
}

TEST(Keyboard, PressesAccumulateUntilReadAndFlushForgetsThem) {
  headless::install();
  headless::hold({KEY_ENTER}, 1);
  headless::hold({KEY_ENTER}, 1);
  headless::hold({KEY_ENTER}, 2);
  for (int i = 0; i < 4; i++) Flip(-1);
  EXPECT_EQ(KeyPresses(KEY_ENTER), 3);
  EXPECT_EQ(KeyHeld(KEY_ENTER), 1);
  FlushKeyboard();
  EXPECT_EQ(KeyHeld(KEY_ENTER), 0);
  Flip(-1);  // still held from the script, but not a new press
  EXPECT_EQ(KeyHeld(KEY_ENTER), 1);
  EXPECT_EQ(KeyPresses(KEY_ENTER), 0);
}

TEST(Keyboard, TypedCharactersQueueInOrder) {
  headless::install();
  EXPECT_EQ(NextTypedChar(), 0);
  headless::set_script({{{}, "ab"}, {{}, "\b"}}, false);
  EXPECT_EQ(NextTypedChar(), 'a');
  Flip(-1);
  EXPECT_EQ(NextTypedChar(), 'b');
  EXPECT_EQ(NextTypedChar(), 8);
  EXPECT_EQ(NextTypedChar(), 0);
  headless::type("xy");
  Flip(-1);
  Flip(-1);
  FlushKeyboard();
  EXPECT_EQ(NextTypedChar(), 0);
  // The queue keeps at most 256 characters.
  headless::type(std::string(300, 'z'));
  for (int i = 0; i < 300; i++) Flip(-1);
  int n = 0;
  while (NextTypedChar() == 'z') n++;
  EXPECT_EQ(n, 256);
}

TEST(Keyboard, AFinishedScriptReleasesKeysAndEndsTheRun) {
  headless::install();
  headless::set_script({{{KEY_LEFT}, ""}});
  EXPECT_EQ(KeyHeld(KEY_LEFT), 1);
  Flip(-1);
  EXPECT_THROW(KeyHeld(KEY_LEFT), headless::script_ended);
  EXPECT_THROW(KeyPresses(KEY_LEFT), headless::script_ended);
  EXPECT_THROW(NextTypedChar(), headless::script_ended);
  EXPECT_THROW(FlushKeyboard(), headless::script_ended);
  EXPECT_THROW(CloseRequested(), headless::script_ended);
  // Without ending, the keys are simply released.
  headless::install();
  headless::set_script({{{KEY_LEFT}, ""}}, false);
  Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_LEFT), 0);
  // More script can follow.
  headless::hold({KEY_UP}, 1);
  Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_UP), 1);
}

TEST(Keyboard, CloseRequestIsReportedOnce) {
  headless::install();
  EXPECT_EQ(CloseRequested(), 0);
  headless::request_close();
  EXPECT_EQ(CloseRequested(), 1);
  EXPECT_EQ(CloseRequested(), 0);
}
