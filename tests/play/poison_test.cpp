// Hostile levels played through the real level frame: the game must never
// crash, hang or reach undefined behaviour, every frame is one frame (bounded
// in time), and a player's ball that physics can no longer place is lost.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "tests/support/harness.h"
#include "tests/world/poisonkit.h"

namespace {

using poisonkit::level;

struct outcome {
  std::string result;
  int frames = 0;
  double slowest = 0;  // seconds
};

struct PoisonPlay : ::testing::Test {
  void SetUp() override {
    headless::install();
    dir = std::make_unique<harness::gamedir>(harness::data("campaigns"));
    g = std::make_unique<game>();
    g->changeres(0, 3, 0);
  }
  void start(const std::string& text) {
    headless::set_script({}, false);
    dir->write("level", text);
    g->lives = 5;
    g->setuplevelfile("level", 1);
  }
  // Plays up to `frames` frames as free play holding Right and Space, and
  // times the slowest frame.
  outcome play(const std::string& text, int frames) {
    start(text);
    headless::frameinput held;
    held.held = {KEY_RIGHT, KEY_SPACE};
    // A few spare frames: the last frame still polls keys after its flip.
    std::vector<headless::frameinput> keys(frames + 5, held);
    headless::set_script(keys, true);
    outcome o;
    o.result = "play";
    const int flips = headless::frame();
    harness::run([&] {
      while (o.frames < frames && g->mode != "end") {
        headless::clear_calls();
        const auto t0 = std::chrono::steady_clock::now();
        g->levelframe(o.result, 1, 0);
        o.slowest =
            std::max(o.slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        o.frames++;
      }
    });
    EXPECT_EQ(headless::frame() - flips, o.frames) << "a frame must be one flip";
    return o;
  }
  std::unique_ptr<harness::gamedir> dir;
  std::unique_ptr<game> g;
};

// Each hostile world beside a sane start plays its frames: no crash, a sound
// result word, and no frame that takes more than a moment.
TEST_F(PoisonPlay, HostileWorldsPlayBoundedFrames) {
  const std::vector<std::pair<std::string, level>> worlds = {
      {"huge radius", level().start().ball(4, "1", "160", "400", "1e308")},
      {"tiny, zero and negative radii", level()
                                            .start()
                                            .ball(4, "1", "130", "400", "1e-300")
                                            .ball(5, "1", "70", "400", "0")
                                            .ball(6, "1", "100", "380", "-50")},
      {"huge and tiny masses", level()
                                   .start()
                                   .ball(4, "1e308", "130", "400", "15")
                                   .ball(5, "1e-300", "70", "400", "15")
                                   .link(4, 5, "60")},
      {"zero and negative masses", level()
                                       .start()
                                       .ball(4, "0", "130", "400", "15")
                                       .ball(5, "-1", "70", "400", "15")
                                       .link(4, 5, "60")
                                       .joint(4, 5, 4, "90", "1000")},
      {"beyond range", level().start().ball(4, "1e400", "1e400", "1e400", "1e400").link(4, 4, "1e400")},
      {"zero-length links and repeated joints", level()
                                                    .start()
                                                    .ball(4, "1", "100", "450", "15")
                                                    .link(1, 4, "0")
                                                    .link(4, 4, "0")
                                                    .joint(1, 1, 1, "90", "1000")
                                                    .joint(1, 4, 1, "180", "1e308")
                                                    .joint(4, 4, 2, "0", "1000")},
      {"goal and danger everywhere", level()
                                         .start()
                                         .ball(4, "1", "-1e308", "-1e308", "15", 1)
                                         .ball(5, "1", "1e308", "1e308", "15", 1)
                                         .link(4, 5, "0", "stop", "1e308")
                                         .link(5, 4, "1", "damaging", "-1e308")},
      {"player beyond range",
       level().ball(1, "1e400", "1e400", "-1e400", "1e400").ball(2, "1", "0", "0", "10", 1)},
      {"pairs of degenerate figures", level()
                                          .start()
                                          .ball(4, "0", "100", "420", "15")
                                          .ball(5, "0", "100", "420", "15")
                                          .link(4, 5, "0")
                                          .pair(4, 2)
                                          .pair(2, 4)
                                          .pair(5, 5)},
      {"empty world", level()},
  };
  for (const auto& [what, l] : worlds) {
    SCOPED_TRACE(what);
    const outcome o = play(l.text, 300);
    EXPECT_GT(o.frames, 0);
    EXPECT_TRUE(o.result == "play" || o.result == "lost" || o.result == "levelcompleted") << o.result;
    EXPECT_LT(o.slowest, 2.0);
    EXPECT_TRUE(poisonkit::wellformed(*g));
  }
}

// A player's ball at a position that is not a number can neither fall out
// nor reach the goal: it counts as lost, as a fall would, instead of leaving
// the level running with nothing to play.
TEST_F(PoisonPlay, NonFinitePlayerBallIsLost) {
  for (const double poison : {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL}) {
    SCOPED_TRACE(poison);
    start(level().start().text);
    headless::set_script({}, false);
    std::string result = "play";
    g->levelframe(result, 1, 0);
    ASSERT_EQ(result, "play");
    g->balllist[0]->y = poison;
    g->balllist[0]->x = poison;
    for (int f = 0; f < 3 && g->mode != "end"; f++) g->levelframe(result, 1, 0);
    EXPECT_EQ(result, "lost");
    EXPECT_EQ(g->mode, "end");
  }
  // The same reached through physics: a ball of negative mass on a link to
  // the player's ball.
  const outcome o = play(level().start().ball(4, "-1", "130", "400", "15").link(1, 4, "10").text, 60);
  EXPECT_EQ(o.result, "lost");
}

// A ball whose position is not a number touches nothing, so it cannot pass
// its poison on to the player's ball.
TEST_F(PoisonPlay, NonFiniteBallTouchesNothing) {
  start(level().start().ball(4, "1", "100", "400", "15").text);
  std::string result = "play";
  headless::set_script({}, false);
  g->levelframe(result, 1, 0);
  ball* player = g->balllist[0].get();
  ball* other = g->balllist[3].get();
  other->x = other->y = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(g->collision(player, other), 0);
  EXPECT_EQ(g->collision(other, player), 0);
  EXPECT_TRUE(poisonkit::finite(*player));
}

// 100,000 balls in one chain across the view: every frame simulates, collides
// and draws them all, in bounded time.
TEST_F(PoisonPlay, HundredThousandBallsInView) {
  constexpr int n = 100000;
  level l;
  l.ball(1, "1", "500", "300", "20");
  for (int i = 2; i <= n; i++)
    l.ball(i, "1", std::to_string((i % 1000) * 2), std::to_string(400 + i / 1000), "1", 1);
  for (int i = 2; i < n; i++) l.link(i, i + 1, "2");
  const outcome o = play(l.text, 3);
  EXPECT_EQ(o.frames, 3);
  EXPECT_EQ(g->osballlist.size(), size_t(n));
  EXPECT_LT(o.slowest, 30.0);
}

}  // namespace
