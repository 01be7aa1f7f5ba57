// The same keys on the same level give the same world, bit for bit, on every
// run and in every build: the final state of a scripted level is hashed and
// compared with the value it has always had.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

#include "tests/play/level_support.h"

using levelplay::script;
using levelplay::session;

namespace {

// The keys of tests/data/keys/bridge.keys, frame by frame.
script bridgekeys() {
  std::vector<headless::frameinput> f(400);
  auto hold = [&](int a, int b, int key) {
    for (int i = a; i <= b; i++) f[i - 1].held.insert(key);
  };
  hold(1, 30, KEY_RIGHT);
  hold(60, 200, KEY_SPACE);
  hold(120, 150, KEY_LEFT);
  hold(230, 240, KEY_RIGHT);
  hold(250, 250, KEY_P);
  hold(270, 270, KEY_P);
  hold(330, 330, KEY_8);
  hold(330, 330, KEY_2);
  script s;
  s.frames = f;
  return s;
}

// Plays the level as tumbo-sim does and returns the final dump, one line per
// ball in the tool's format, with the number of frames and the result.
std::string play(int frames, int& played, std::string& result) {
  session s;
  game& g = *s.g;
  g.lives = 5;
  g.setuplevelfile("campaigns/testcamp/5", g.level);
  bridgekeys().start(false);
  result = "play";
  for (played = 0; played < frames && g.mode != "end";) {
    g.levelframe(result, 1, 0);
    played++;
  }
  std::string dump;
  char line[256];
  for (const auto& b : g.balllist) {
    std::snprintf(line, sizeof line, "%d %d %.17g %.17g %.17g %.17g\n", played, b->number, b->x, b->y, b->xv,
                  b->yv);
    dump += line;
  }
  return dump;
}

uint64_t fnv1a(const std::string& text) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

TEST(LevelDeterminism, AScriptedLevelReplaysToTheSameBits) {
  int played1 = 0, played2 = 0;
  std::string result1, result2;
  const std::string first = play(400, played1, result1);
  const std::string second = play(400, played2, result2);
  EXPECT_EQ(first, second);
  EXPECT_EQ(played1, played2);
  EXPECT_EQ(result1, "levelcompleted");  // the level skip near the end
  EXPECT_EQ(played1, 309);               // 330 shown frames, 21 of them paused
  // The same value in Debug and Release; it changes only when the physics does.
  // The dump is what `tumbo-sim tests/data/campaigns/testcamp/5 --frames 400
  // --keys tests/data/keys/bridge.keys --every 1000` prints before its end line.
  EXPECT_EQ(fnv1a(first), UINT64_C(7730775055948294619)) << first;
}

}  // namespace
