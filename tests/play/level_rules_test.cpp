// The rules of one level: set-up, the time bonus, losing, the player's
// controls, the end-of-level states and the keys that end a level.
#include <gtest/gtest.h>

#include "tests/play/level_support.h"

using levelplay::script;
using levelplay::session;

namespace {

std::string playto(session& s, int lvl, int freeplay, const script& keys, int difficulty = 0) {
  keys.start(false);
  return s.g->playlevel("testcamp", lvl, freeplay, difficulty);
}

TEST(LevelRules, SetUpResetsTheLevelState) {
  session s;
  game& g = *s.g;
  g.optres = 2;
  g.time = 55;
  g.mode = "gameover";
  g.setuplevel("testcamp", 7);
  EXPECT_EQ(g.time, 0);
  EXPECT_EQ(g.delimiter, 1024.0);
  EXPECT_EQ(g.scritta, "    LEVEL 7    ");
  EXPECT_EQ(g.temposcritta, 160);
  EXPECT_EQ(g.zoom, 0.78125);
  EXPECT_EQ(g.mode, "play");
  EXPECT_EQ(g.drawing, -1);
  EXPECT_EQ(g.openedfilename, "campaigns/testcamp/7");
  ASSERT_EQ(g.balllist.size(), 3u);
  g.optres = 1;
  g.setuplevel("testcamp", 4);
  EXPECT_EQ(g.zoom, 0.625);
  EXPECT_TRUE(g.balllist.empty());
}

TEST(LevelRules, TimeBonusFallsToNothingAndNeverBelow) {
  session s(harness::data("campaigns"), false);
  game& g = *s.g;
  std::string result = "play";
  g.level = 3;
  g.totalscore = 500;
  g.time = 0;
  g.passedlevel(result, 0);
  EXPECT_EQ(result, "levelcompleted");
  EXPECT_EQ(g.mode, "showlevelscore");
  EXPECT_EQ(g.oldscore, 500);
  EXPECT_EQ(g.levelscore, 3000);
  EXPECT_EQ(g.timebonus, 3000);
  EXPECT_EQ(g.totalscore, 6500);

  const struct {
    int level, time, bonus;
  } cases[] = {{1, 1, 999}, {3, 3600, 1500}, {10, 7199, 1}, {10, 7200, 0}, {10, 9000, 0}, {10, 2000000, 0}};
  for (const auto& c : cases) {
    g.level = c.level;
    g.time = c.time;
    g.totalscore = 0;
    g.passedlevel(result, 0);
    EXPECT_EQ(g.timebonus, c.bonus) << "level " << c.level << " frame " << c.time;
    EXPECT_EQ(g.totalscore, c.level * 1000 + c.bonus);
    EXPECT_EQ(g.changetime, c.time);
  }
  g.passedlevel(result, 1);
  EXPECT_EQ(g.mode, "end");  // free play shows no score screen
}

TEST(LevelRules, DyingEndsTheLevelOrGoesToTheNameEntryOnTheLastLife) {
  session s(harness::data("campaigns"), false);
  game& g = *s.g;
  std::string result = "play";
  g.lives = 2;
  g.time = 77;
  g.died(result);
  EXPECT_EQ(result, "lost");
  EXPECT_EQ(g.mode, "end");
  EXPECT_EQ(g.changetime, 77);
  EXPECT_EQ(g.lives, 2);  // the campaign loop counts lives
  result = "play";
  g.lives = 1;
  g.died(result);
  EXPECT_EQ(g.mode, "gameover");
}

TEST(LevelRules, ThePlayersBallIsForcedAndSteeredByTheArrows) {
  session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 1);
  ball* b = g.balllist.front().get();
  b->r = 5;
  b->m = 7;
  b->kind = "damaging";
  b->anchored = 1;
  b->rolling = 0;
  g.firstball = b;
  script().hold({KEY_LEFT, KEY_SPACE}, 1).hold({KEY_RIGHT}, 1).hold({KEY_SPACE}, 1).start(false);
  g.balljump = -2;
  g.moveball1();
  EXPECT_EQ(b->r, 20.0);
  EXPECT_EQ(b->m, 1.0);
  EXPECT_EQ(b->kind, "normal");
  EXPECT_EQ(b->anchored, 0);
  EXPECT_EQ(b->rolling, 1);
  EXPECT_EQ(b->tumbo, 1);
  EXPECT_EQ(b->xv, -static_cast<double>(0.2f));
  EXPECT_EQ(g.balljump, -1);  // still cooling down: space does not arm
  Flip(-1);
  g.moveball1();
  EXPECT_EQ(b->xv, 0.0);
  EXPECT_EQ(g.balljump, 0);  // space released: idle
  Flip(-1);
  g.moveball1();
  EXPECT_EQ(g.balljump, 1);  // armed
  g.drawing = 0;
  script().hold({KEY_RIGHT}, 1).start(false);
  g.moveball1();
  EXPECT_EQ(b->xv, 0.0);  // the arrows only act while the world runs
}

TEST(LevelRules, TheFrameRunsTheWorldAndAdvancesTime) {
  session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 3);
  std::string result = "play";
  headless::clear_calls();
  g.levelframe(result, 0, 0);
  g.levelframe(result, 0, 0);
  EXPECT_EQ(g.time, 2);
  EXPECT_EQ(headless::frame(), 2);
  const ball& b = *g.balllist.front();
  // Two frames of free fall from rest, gravity 0.2 and damping 0.999.
  const double v1 = static_cast<double>(0.2f) * static_cast<double>(0.999f);
  EXPECT_NEAR(b.yv, (v1 + static_cast<double>(0.2f)) * static_cast<double>(0.999f), 1e-9);
  EXPECT_EQ(g.firstball, &b);
  EXPECT_EQ(g.dotlist.size(), 2u);
  EXPECT_TRUE(levelplay::drawn("x0"));  // the lives counter outside free play
}

TEST(LevelRules, LevelsEndByTheirLinksAndByFallingOut) {
  session s;
  game& g = *s.g;
  g.lives = 3;
  EXPECT_EQ(playto(s, 1, 1, script()), "levelcompleted");  // onto the goal bar
  EXPECT_EQ(g.mode, "end");
  const int landed = g.time;
  EXPECT_GT(landed, 30);
  EXPECT_LT(landed, 60);
  EXPECT_EQ(playto(s, 2, 1, script()), "lost");  // onto a damaging bar
  EXPECT_EQ(g.time, landed);
  EXPECT_EQ(playto(s, 3, 1, script()), "lost");  // out of the world
  EXPECT_GT(g.balllist.front()->y, 3000.0);
  EXPECT_LT(g.time, 200);
}

TEST(LevelRules, FallingOutLosesOnlyWhileThePlayGoesOn) {
  session s;
  game& g = *s.g;
  g.lives = 3;
  g.level = 3;
  // Skip the level, then let the ball fall out behind the score screen.
  script keys;
  keys.idle(3).skip(250).press({KEY_ENTER});
  EXPECT_EQ(playto(s, 3, 0, keys), "levelcompleted");
  EXPECT_GT(g.balllist.front()->y, 3000.0);
  EXPECT_GT(g.time, 250);
}

TEST(LevelRules, EscAndTheLevelSkipWorkEvenWithoutBalls) {
  session s;
  game& g = *s.g;
  // Esc and the level skip are looked at after the frame is shown, with the
  // keys of the next frame.
  EXPECT_EQ(playto(s, 4, 1, script().idle(10).press({KEY_ESCAPE})), "esc");
  EXPECT_EQ(g.time, 10);
  EXPECT_TRUE(g.dotlist.empty());  // no ball: no sparks
  EXPECT_EQ(playto(s, 4, 1, script().idle(4).skip()), "levelcompleted");
  EXPECT_EQ(g.time, 4);
  // 8 alone is not enough, nor is 2 alone.
  EXPECT_EQ(playto(s, 4, 1, script().idle(2).press({KEY_8}).press({KEY_ESCAPE})), "esc");
  EXPECT_EQ(playto(s, 4, 1, script().idle(2).press({KEY_2}).press({KEY_ESCAPE})), "esc");
}

TEST(LevelRules, RestartCostsALifeEvenOnTheScoreScreen) {
  session s;
  game& g = *s.g;
  g.lives = 3;
  g.level = 1;
  EXPECT_EQ(playto(s, 1, 0, script().idle(2).press({KEY_R})), "lost");
  EXPECT_EQ(g.time, 3);
  g.totalscore = 500;
  EXPECT_EQ(playto(s, 1, 0, script().idle(2).skip(20).press({KEY_R})), "lost");
  EXPECT_TRUE(levelplay::drawn("LEVEL 1 COMPLETED"));
  // The lost level's points are not kept, so replaying it cannot count them twice.
  EXPECT_EQ(g.totalscore, 500);
}

TEST(LevelRules, PauseFreezesTheWorldUntilPOrEsc) {
  session s;
  game& g = *s.g;
  // A plain fall for 39 level frames ...
  EXPECT_EQ(playto(s, 3, 1, script().idle(39).press({KEY_ESCAPE})), "esc");
  const double y = g.balllist.front()->y;
  ASSERT_EQ(g.time, 39);
  // ... and the same with a pause of 30 frames in the middle.
  EXPECT_EQ(playto(s, 3, 1, script().idle(9).press({KEY_P}, 29).press({KEY_P}, 29).press({KEY_ESCAPE})),
            "esc");
  EXPECT_EQ(g.time, 39);
  EXPECT_EQ(g.balllist.front()->y, y);
  // Esc, held, ends the pause and the level in the same frame.
  EXPECT_EQ(playto(s, 3, 1, script().idle(9).press({KEY_P}, 20).hold({KEY_ESCAPE}, 3)), "esc");
  EXPECT_EQ(g.time, 10);
}

TEST(LevelRules, TheLastLevelGoesThroughNameEntryAndTable) {
  session s;
  game& g = *s.g;
  g.initscores();
  g.lives = 4;
  g.level = 10;
  g.totalscore = 0;
  script keys;
  keys.idle(3).skip(30).press({KEY_ENTER}, 5).type("ace").idle(20).press({KEY_ENTER}, 25).press({KEY_ENTER});
  EXPECT_EQ(playto(s, 10, 0, keys, 1), "levelcompleted");
  EXPECT_TRUE(levelplay::drawn("LEVEL 10 COMPLETED"));
  EXPECT_TRUE(levelplay::drawn("GAME OVER"));
  EXPECT_TRUE(levelplay::drawn("HIGH SCORES"));
  EXPECT_EQ(g.scoreslist[1].front().name, "ACE");
  EXPECT_NE(s.dir->read("scores.txt").find("ACE"), std::string::npos);
}

TEST(LevelRules, EscOnTheNameEntryLeavesBeforeTheScoreIsKept) {
  session s;
  game& g = *s.g;
  g.initscores();
  g.lives = 1;
  g.level = 10;
  g.totalscore = 0;
  // During the name entry: nothing recorded.
  script keys;
  keys.idle(3).skip(30).press({KEY_ENTER}, 5).type("bob").idle(30).press({KEY_ESCAPE});
  EXPECT_EQ(playto(s, 10, 0, keys, 2), "esc");
  EXPECT_TRUE(levelplay::drawn("GAME OVER"));
  EXPECT_FALSE(levelplay::drawn("HIGH SCORES"));
  EXPECT_NE(g.scoreslist[2].front().name, "BOB");
  EXPECT_EQ(s.dir->read("scores.txt").find("BOB"), std::string::npos);
  // On the table: already recorded. The name typed last is offered again.
  g.totalscore = 0;
  headless::clear_calls();
  keys = script();
  keys.idle(3).skip(30).press({KEY_ENTER}, 30).press({KEY_ENTER}, 10).press({KEY_ESCAPE});
  EXPECT_EQ(playto(s, 10, 0, keys, 2), "esc");
  EXPECT_TRUE(levelplay::drawn("HIGH SCORES"));
  EXPECT_EQ(g.scoreslist[2].front().name, "BOB");
  EXPECT_NE(s.dir->read("scores.txt").find("BOB"), std::string::npos);
}

TEST(LevelRules, LosingTheLastLifeGoesThroughNameEntryAndTable) {
  session s;
  game& g = *s.g;
  g.initscores();
  g.lives = 1;
  g.level = 2;
  g.totalscore = 4321;
  script keys;
  keys.idle(3).press({KEY_R}, 5).type("zed").idle(20).press({KEY_ENTER}, 25).press({KEY_SPACE});
  EXPECT_EQ(playto(s, 2, 0, keys), "lost");
  EXPECT_TRUE(levelplay::drawn("GAME OVER"));
  EXPECT_TRUE(levelplay::drawn("HIGH SCORES"));
  EXPECT_EQ(g.scoreslist[0].front().name, "ZED");
  EXPECT_EQ(g.scoreslist[0].front().points, 4321);
}

}  // namespace

namespace {

// One frame of a world of just the player's ball, at rest at depth y with
// gravity off, so that it ends the frame where it began.
std::string frameat(double y) {
  session s;
  game& g = *s.g;
  g.openmarionet(1, "campaigns/testcamp/3");
  g.balllist.resize(1);
  g.linklist.clear();
  g.TensionList.clear();
  g.defineobjects();
  ball& b = *g.balllist.front();
  b.anchored = 0;
  b.x = b.oldx = 0;
  b.y = b.oldy = y;
  b.xv = b.yv = 0;
  g.gravity = 0;
  g.mode = "play";
  g.lives = 3;
  std::string result = "play";
  g.levelframe(result, 1, 0);
  EXPECT_EQ(b.y, y);
  return result;
}

}  // namespace

// The ball is lost only once it is deeper than 3000, not at 3000 itself.
TEST(LevelRules, FallingOutStartsBeyondThreeThousand) {
  EXPECT_EQ(frameat(3000.0), "play");
  EXPECT_EQ(frameat(2999.0), "play");
  EXPECT_EQ(frameat(3000.001), "lost");
}

#include <memory>
#include <vector>

#include "platform/backend.h"

namespace {

// A world of just the player's ball at (x, y), at rest, with gravity on; the
// view is set around it so that items near it are on screen from the first
// frame.
ball& bareworld(session& s, double x, double y) {
  game& g = *s.g;
  g.setuplevel("testcamp", 3);
  g.balllist.resize(1);
  g.linklist.clear();
  g.TensionList.clear();
  ball& b = *g.balllist.front();
  b.anchored = 0;
  b.x = b.oldx = x;
  b.y = b.oldy = y;
  b.xv = b.yv = 0;
  g.lives = 3;
  g.firstball = nullptr;
  g.xcenter = x;
  g.ycenter = y;
  g.fixzoom();
  return b;
}

ball* addball(game& g, double x, double y, double r, int anchored) {
  g.balllist.push_back(std::make_unique<ball>());
  ball* b = g.balllist.back().get();
  b->x = b->oldx = b->anchorx = x;
  b->y = b->oldy = b->anchory = y;
  b->xv = b->yv = 0;
  b->r = r;
  b->m = 1;
  b->anchored = anchored;
  b->rolling = 0;
  b->kind = "normal";
  b->gamoz = &g;
  return b;
}

}  // namespace

// Each frame lowers the hold-off by one, so a ball that hits hard in every
// frame sounds in the first, fifth and ninth; a frame without a hit still
// counts it down.
TEST(LevelRules, ImpactSoundsAreHeldOffFourFramesCountedEachFrame) {
  session s;
  game& g = *s.g;
  ball& p = bareworld(s, 0, 0);
  addball(g, 0, 40, 15, 1);  // pinned just below the player's ball
  g.defineobjects();
  auto flat = std::make_shared<sounddata>();
  flat->samples.assign(2 * 44100, 1.0f);
  g.jumpsound = sound(flat);
  g.optsoundsvol = 10;
  g.alreadysound = 0;
  plat::sounds().clear();
  script().idle(20).start(false);
  std::string result = "play";
  std::vector<int> holdoff;
  for (int frame = 0; frame < 12; frame++) {
    p.x = p.oldx = 0;  // dropped onto the pinned ball at 6 a frame
    p.y = p.oldy = 0;
    p.xv = 0;
    p.yv = 6;
    g.levelframe(result, 1, 0);
    holdoff.push_back(g.alreadysound);
  }
  EXPECT_EQ(holdoff, (std::vector<int>{4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1}));
  // Three sounds were started, each at (6 - 1) / 10: a hit of strength 6.
  float out[2] = {0, 0};
  plat::sounds().mix(out, 1);
  EXPECT_NEAR(out[0], 3 * 0.5, 1e-5);
  // Away from the ball: no hit, and the hold-off still falls a frame at a time.
  p.y = p.oldy = -500;
  p.yv = 0;
  g.alreadysound = 4;
  g.levelframe(result, 1, 0);
  EXPECT_EQ(g.alreadysound, 3);
  g.levelframe(result, 1, 0);
  EXPECT_EQ(g.alreadysound, 2);
  plat::sounds().clear();
}

// The name entry takes Enter only once more than 20 frames have passed, and
// the table after it takes Enter or space only after 20 more: a key held
// from the start waits exactly that long on each.
TEST(LevelRules, NameEntryAndTableWaitTwentyFramesForTheirKeys) {
  for (int key : {KEY_ENTER, KEY_SPACE}) {
    session s;
    game& g = *s.g;
    g.initscores();
    g.setuplevel("testcamp", 3);
    g.lives = 1;
    g.totalscore = 0;
    std::string result = "play";
    g.died(result);  // the last life: on to the name entry at frame 0
    ASSERT_EQ(g.mode, "gameover");
    script().hold({KEY_ENTER}, 21).hold({key}, 40).start(false);
    int table = -1, end = -1;
    for (int frame = 1; frame <= 60 && end < 0; frame++) {
      g.levelframe(result, 0, 0);
      if (table < 0 && g.mode == "highscores") table = g.time;
      if (g.mode == "end") end = g.time;
    }
    EXPECT_EQ(table, 21) << key;
    EXPECT_EQ(end, 42) << key;
    EXPECT_EQ(result, "lost");
  }
  // Space does not leave the name entry, however long it is held.
  session s;
  game& g = *s.g;
  g.initscores();
  g.setuplevel("testcamp", 3);
  g.lives = 1;
  std::string result = "play";
  g.died(result);
  script().hold({KEY_SPACE}, 40).start(false);
  for (int frame = 0; frame < 40; frame++) g.levelframe(result, 0, 0);
  EXPECT_EQ(g.mode, "gameover");
}

// The spark trail lies over the world: every ball and link of a frame is
// drawn before its first spark.
TEST(LevelRules, SparksAreDrawnOverTheWorld) {
  session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 1);
  g.opttrailsize = 5;
  std::string result = "play";
  script().idle(10).start(false);
  g.levelframe(result, 1, 0);  // the view settles on the level
  for (int frame = 0; frame < 3; frame++) {
    headless::clear_calls();
    g.levelframe(result, 1, 0);
    int lastworld = -1, firstspark = -1, worldsprites = 0;
    const std::vector<headless::drawcall>& calls = headless::calls();
    for (int i = 0; i < static_cast<int>(calls.size()); i++) {
      if (calls[i].kind != headless::op::sprite) continue;
      const std::string& name = calls[i].text;
      if (name == "media/spark.png") {
        if (firstspark < 0) firstspark = i;
      } else if (name == "media/ball.png" || name == "media/tumbo.png" || name == "media/plat.png") {
        lastworld = i;
        worldsprites++;
      }
    }
    EXPECT_GE(worldsprites, 3) << frame;  // the player's ball, the goal bar and more
    ASSERT_GE(firstspark, 0) << frame;
    EXPECT_LT(lastworld, firstspark) << frame;
  }
}

// The depth limit comes after the collisions of the frame: a ball that a
// collision pushes below 133333 is put back there with no vertical speed
// before the frame ends.
TEST(LevelRules, TheDepthLimitHoldsWhatTheCollisionsPushedDown) {
  session s;
  game& g = *s.g;
  g.gravity = 0;
  ball& p = bareworld(s, 20, 133318);
  // A ball lying at the limit, hung from a pinned ball far above by a link of
  // its length: their figure reaches into the view of the capped camera.
  ball* top = addball(g, 0, 2000, 15, 1);
  ball* low = addball(g, 0, 133333, 15, 0);
  g.linklist.push_back(std::make_unique<struct link>());
  struct link& l = *g.linklist.back();
  l.ball1 = top;
  l.ball2 = low;
  l.distance = 133333 - 2000;
  l.width = 0;  // the player's ball passes beside the link without touching it
  l.kind = "normal";
  l.gamoz = &g;
  g.defineobjects();
  g.xcenter = 0;
  g.ycenter = 2000;
  g.fixzoom();
  script().idle(3).start(false);
  std::string result = "play";
  g.levelframe(result, 1, 0);
  // The overlap of 35 - 25 pushed the low ball down by 3.03 and up went the
  // player's ball; the limit then took the low ball back.
  EXPECT_LT(p.y, 133318);
  EXPECT_EQ(low->y, 133333.0);
  EXPECT_EQ(low->yv, 0.0);
  EXPECT_LT(low->x, 0);  // it was hit: pushed left too
}
