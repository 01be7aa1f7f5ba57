// Whole games from the main menu on the headless backend, with the test
// campaign: the play modes, their lives, the end of a run and free play.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "tests/play/level_support.h"

using levelplay::script;
using levelplay::session;

namespace {

// From start-up to the campaign chooser of the given play-mode entry
// (0 FREE PLAY, 1 EASY, 2 MEDIUM, 3 HARD).
script tochooser(int entry) {
  script keys;
  keys.idle(15).press({KEY_ENTER});  // past the splash: PLAY
  for (int i = 0; i < entry; i++) keys.press({KEY_DOWN});
  keys.press({KEY_ENTER});
  return keys;
}

// A run to the end: the scripted keys run out, wherever the game is.
void rungame(session& s, const script& keys) {
  keys.start();
  EXPECT_EQ(harness::run([&] { s.g->allgame(); }), harness::ending::script_ended);
}

bool lastframeshows(const std::string& text) {
  std::vector<std::string> t = headless::last_frame_texts();
  return std::find(t.begin(), t.end(), text) != t.end();
}

// Names of one difficulty's table in "scores.txt".
std::vector<std::string> tablenames(const std::string& file, int difficulty) {
  std::istringstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  std::vector<std::string> names;
  for (int i = 0; i < 20 && 40 * difficulty + 2 * i < static_cast<int>(lines.size()); i++) {
    names.push_back(lines[40 * difficulty + 2 * i]);
  }
  return names;
}

TEST(CampaignGame, DifficultiesStartWithTheirLives) {
  const int lives[] = {20, 10, 5};
  for (int d = 0; d < 3; d++) {
    session s(harness::data("campaigns"), false);
    script keys = tochooser(d + 1);
    keys.press({KEY_ENTER}, 10).press({KEY_ESCAPE}).idle(5);
    rungame(s, keys);
    EXPECT_EQ(s.g->lives, lives[d]);
    EXPECT_EQ(s.g->level, 1);
    EXPECT_TRUE(levelplay::drawn("x" + std::to_string(lives[d])));
    // Esc in the level ends the run: back at the main menu.
    EXPECT_TRUE(lastframeshows("QUIT"));
  }
}

TEST(CampaignGame, TheLastLifeEndsInTheNameEntryAndTheTable) {
  session s(harness::data("campaigns"), false);
  script keys = tochooser(3);                                 // HARD, five lives
  keys.press({KEY_ENTER}, 3).skip(20).press({KEY_ENTER}, 3);  // level 1 passed for a score
  for (int i = 0; i < 5; i++) keys.press({KEY_R});            // level 2 lost five times
  keys.type("zed").idle(20).press({KEY_ENTER}, 25).press({KEY_ENTER}, 10);
  rungame(s, keys);
  EXPECT_EQ(s.g->lives, 0);
  EXPECT_EQ(s.g->level, 2);
  EXPECT_TRUE(levelplay::drawn("GAME OVER"));
  EXPECT_TRUE(levelplay::drawn("HIGH SCORES"));
  EXPECT_EQ(tablenames(s.dir->read("scores.txt"), 2).front(), "ZED");
  EXPECT_EQ(tablenames(s.dir->read("scores.txt"), 0).front(), "NOBODY");
  EXPECT_TRUE(lastframeshows("QUIT"));
}

TEST(CampaignGame, PassingLevelTenEndsTheRunThroughScoresAndTable) {
  session s(harness::data("campaigns"), false);
  script keys = tochooser(1);  // EASY
  keys.press({KEY_ENTER}, 3);
  for (int lvl = 1; lvl <= 10; lvl++) keys.skip(20).press({KEY_ENTER}, 3);
  keys.type("ace").idle(20).press({KEY_ENTER}, 25).press({KEY_ENTER}, 10);
  rungame(s, keys);
  EXPECT_EQ(s.g->level, 11);  // the last level returned "levelcompleted"
  EXPECT_EQ(s.g->lives, 20);
  EXPECT_TRUE(levelplay::drawn("LEVEL 10 COMPLETED"));
  EXPECT_TRUE(levelplay::drawn("GAME OVER"));
  EXPECT_EQ(tablenames(s.dir->read("scores.txt"), 0).front(), "ACE");
  EXPECT_GT(s.g->totalscore, 55000);  // 1000 per level number plus the bonuses
  EXPECT_TRUE(lastframeshows("QUIT"));
}

TEST(CampaignGame, FreePlayReplaysLostLevelsAndReturnsToTheLevelChooser) {
  session s(harness::data("campaigns"), false);
  script keys = tochooser(0);
  keys.press({KEY_ENTER});     // the campaign
  keys.press({KEY_ENTER}, 3);  // LEVEL 1
  for (int i = 0; i < 3; i++) keys.press({KEY_R});
  for (int lvl = 1; lvl <= 10; lvl++) keys.skip(5);
  keys.idle(5);
  rungame(s, keys);
  EXPECT_EQ(s.g->lives, 5);
  EXPECT_EQ(s.g->level, 11);
  // No lives counter and no score screen in free play.
  int starts = 0;
  for (const headless::drawcall& c : headless::calls()) {
    if (c.kind != headless::op::text) continue;
    EXPECT_FALSE(c.text.size() > 1 && c.text[0] == 'x' && std::isdigit(static_cast<unsigned char>(c.text[1])))
        << c.text;
    EXPECT_EQ(c.text.find("COMPLETED"), std::string::npos);
    // The caption's first frame marks the start of a level.
    if (c.text == "    LEVEL 1    " && std::abs(c.alpha - 159.0 / 160) < 1e-6) starts++;
  }
  EXPECT_EQ(starts, 4);                     // three restarts, then passed
  EXPECT_TRUE(lastframeshows("LEVEL 10"));  // the level chooser again
  EXPECT_TRUE(lastframeshows("LEVEL 1"));
}

TEST(CampaignGame, EscInTheCampaignChooserGoesBackWhereItCameFrom) {
  {
    session s(harness::data("campaigns"), false);
    script keys = tochooser(2);  // MEDIUM
    keys.press({KEY_ESCAPE}).idle(3);
    rungame(s, keys);
    EXPECT_TRUE(lastframeshows("QUIT"));  // the main menu
  }
  {
    session s(harness::data("campaigns"), false);
    script keys = tochooser(0);  // FREE PLAY
    keys.press({KEY_ESCAPE}).idle(3);
    rungame(s, keys);
    EXPECT_TRUE(lastframeshows("FREE PLAY"));  // the play-mode menu
    EXPECT_FALSE(lastframeshows("QUIT"));
  }
  {
    session s(harness::data("campaigns"), false);
    script keys = tochooser(0);  // FREE PLAY, a campaign, then back from the level chooser
    keys.press({KEY_ENTER}).press({KEY_ESCAPE}).idle(3);
    rungame(s, keys);
    EXPECT_TRUE(lastframeshows("FREE PLAY"));
  }
}

}  // namespace
