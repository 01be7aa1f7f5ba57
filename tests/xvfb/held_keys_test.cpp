// A key held through a restart in the real window: Right held with xdotool
// while R restarts the level; the new level's flush forgets the key, and the
// ball must still be pushed again within a second, as it is on the scripted
// backend.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "tests/support/harness.h"
#include "tests/world/worldkit.h"
#include "world/game.h"

namespace {

bool xdo(const std::string& args) {
  return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
}

// Frames of the level until done() or the limit; false at the limit.
template <class Done>
bool frames(game& g, std::string& result, int limit, Done done) {
  for (int i = 0; i < limit; i++) {
    if (done()) return true;
    g.levelframe(result, 1, 0);
  }
  return done();
}

}  // namespace

TEST(SdlHeldKeys, RightHeldThroughARestartPushesTheBallAgain) {
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
  harness::gamedir dir;
  UseSdlBackend();
  SetAppTitle("TUMBO held keys");
  ASSERT_TRUE(OpenGraphics(640, 480, 0, 60));
  {
    game maker;
    worldkit::addball(maker, 0, 0, 1, 0, 20);  // nothing to touch: only the arrows move it sideways
    ASSERT_TRUE(maker.savemarionet("level"));
  }
  game g;
  g.xwin = 640;
  g.ywin = 480;
  g.lives = 5;
  std::string result = "play";
  g.setuplevelfile("level", 1);
  g.levelframe(result, 1, 0);
  ASSERT_TRUE(xdo("search --sync --name '^TUMBO held keys$' windowfocus"));
  frames(g, result, 10, [] { return false; });
  xdo("key shift");  // the first key after a focus change can be lost
  frames(g, result, 10, [] { return false; });

  ASSERT_TRUE(xdo("keydown Right"));
  const double start = g.balllist.front()->x;
  EXPECT_TRUE(frames(g, result, 60, [&] { return g.balllist.front()->x > start + 5; }))
      << "Right does not push at all";

  ASSERT_TRUE(xdo("key r"));
  EXPECT_TRUE(frames(g, result, 120, [&] { return g.mode == "end"; })) << "R did not restart";
  EXPECT_EQ(result, "lost");
  result = "play";
  g.setuplevelfile("level", 1);  // as the next try begins: the keys are flushed
  const double again = g.balllist.front()->x;
  const bool moved = frames(g, result, 60, [&] { return g.balllist.front()->x > again + 1; });
  xdo("keyup Right");
  EXPECT_TRUE(moved) << "the ball stays put with Right still held";
  CloseGraphics();
}
