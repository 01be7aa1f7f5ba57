// The campaign chooser, the score screen and the hints of the first level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/play/level_support.h"

using levelplay::script;
using levelplay::session;

namespace {

namespace fs = std::filesystem;

// A campaigns folder holding the given sub-folders and one loose file.
struct campaignsfolder {
  fs::path path;
  explicit campaignsfolder(int count) {
    std::string tmpl = (fs::temp_directory_path() / "tumbo-campaigns-XXXXXX").string();
    path = mkdtemp(tmpl.data());
    for (int i = 0; i < count; i++) fs::create_directory(path / ("camp" + std::to_string(i)));
    std::ofstream(path / "notacampaign") << "2\n";
  }
  ~campaignsfolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

std::vector<headless::drawcall> shown(const std::string& prefix) {
  std::vector<headless::drawcall> found;
  for (const headless::drawcall& c : headless::last_frame()) {
    if (c.kind == headless::op::text && c.text.rfind(prefix, 0) == 0) found.push_back(c);
  }
  return found;
}

TEST(CampaignScreens, TheChooserScrollsNineOfTwelveCampaigns) {
  campaignsfolder folder(12);
  session s(folder.path.string());
  game& g = *s.g;
  // Directory order, folders only.
  std::vector<std::string> names;
  for (const std::string& n : ListDirectory("campaigns")) {
    if (FileKind("campaigns/" + n) == 2) names.push_back(n);
  }
  ASSERT_EQ(names.size(), 12u);

  std::string chosen;
  script keys;
  keys.idle(2).press({KEY_UP}, 3);  // from the first up to the last
  keys.start();
  EXPECT_EQ(harness::run([&] { chosen = g.chosecampaign(); }), harness::ending::script_ended);
  std::vector<headless::drawcall> entries = shown("CAMPAIGN: ");
  ASSERT_EQ(entries.size(), 9u);
  for (int j = 3; j <= 11; j++) {
    EXPECT_EQ(entries[j - 3].text, "CAMPAIGN: " + names[j]);
    EXPECT_DOUBLE_EQ(entries[j - 3].y, (j - 7 + 2) * 50 + 300);  // 200 to 600
    EXPECT_DOUBLE_EQ(entries[j - 3].sx, 0.3);
  }
  // The selection is highlighted, the others grey.
  for (int j = 0; j < 8; j++)
    EXPECT_EQ(std::vector<int>({entries[j].r, entries[j].g, entries[j].b}), std::vector<int>(3, 100));
  EXPECT_NE(std::vector<int>({entries[8].r, entries[8].g, entries[8].b}), std::vector<int>(3, 100));

  keys = script();
  keys.idle(2).press({KEY_DOWN}).press({KEY_DOWN}).press({KEY_ENTER});
  keys.start();
  EXPECT_EQ(harness::run([&] { chosen = g.chosecampaign(); }), harness::ending::returned);
  EXPECT_EQ(chosen, names[2]);  // Down twice from the first, wrapping never needed
  keys = script();
  keys.idle(2).press({KEY_UP}).press({KEY_DOWN}).press({KEY_ESCAPE});
  keys.start();
  harness::run([&] { chosen = g.chosecampaign(); });
  EXPECT_EQ(chosen, "goback");
}

TEST(CampaignScreens, FewCampaignsSitAroundTheMiddle) {
  campaignsfolder folder(4);
  session s(folder.path.string());
  script().idle(3).start();
  harness::run([&] { s.g->chosecampaign(); });
  std::vector<headless::drawcall> entries = shown("CAMPAIGN: ");
  ASSERT_EQ(entries.size(), 4u);
  // First 0, three more: entry j at (j - 1.5 + 2) * 50 + 300.
  for (int j = 0; j < 4; j++) EXPECT_DOUBLE_EQ(entries[j].y, (j + 0.5) * 50 + 300);
}

// The teaching campaign must come first on every machine: campaigns are
// offered sorted by name, whatever order their folders were made in, and
// Enter at once picks the first of them.
TEST(CampaignScreens, CampaignsAreOfferedInSortedOrder) {
  campaignsfolder folder(0);
  for (const char* n : {"Tundra", "Steelworks", "Meadow", "Zeppelin", "Abyss", "Marsh"})
    fs::create_directory(folder.path / n);
  session s(folder.path.string());
  std::string chosen;
  script().idle(2).press({KEY_ENTER}).start();
  EXPECT_EQ(harness::run([&] { chosen = s.g->chosecampaign(); }), harness::ending::returned);
  EXPECT_EQ(chosen, "Abyss");
  std::vector<std::string> texts;
  for (const headless::drawcall& c : shown("CAMPAIGN: ")) texts.push_back(c.text.substr(10));
  EXPECT_EQ(texts,
            (std::vector<std::string>{"Abyss", "Marsh", "Meadow", "Steelworks", "Tundra", "Zeppelin"}));
}

TEST(CampaignScreens, WithoutCampaignsOnlyEscLeaves) {
  campaignsfolder folder(0);
  session s(folder.path.string());
  std::string chosen = "none";
  script().idle(2).press({KEY_ENTER}).press({KEY_SPACE}).press({KEY_DOWN}).start();
  EXPECT_EQ(harness::run([&] { chosen = s.g->chosecampaign(); }), harness::ending::script_ended);
  EXPECT_EQ(chosen, "none");
  EXPECT_TRUE(shown("CAMPAIGN: ").empty());
  script().idle(2).press({KEY_ENTER}).press({KEY_ESCAPE}).start();
  EXPECT_EQ(harness::run([&] { chosen = s.g->chosecampaign(); }), harness::ending::returned);
  EXPECT_EQ(chosen, "goback");
}

TEST(CampaignScreens, FreePlayChooserStartsAtTheCurrentLevel) {
  session s;
  game& g = *s.g;
  int chosen = 0;
  const struct { int level, expected; } cases[] = {{4, 4}, {11, 1}, {0, 10}};
  for (const auto& c : cases) {
    g.level = c.level;
    script().idle(2).press({KEY_ENTER}).start();
    harness::run([&] { chosen = g.freeplayscreen(); });
    EXPECT_EQ(chosen, c.expected) << "from level " << c.level;
  }
  std::vector<headless::drawcall> entries = shown("LEVEL ");
  ASSERT_EQ(entries.size(), 10u);
  EXPECT_EQ(entries[9].text, "LEVEL 10");
  EXPECT_DOUBLE_EQ(entries[9].y, 600);
  EXPECT_DOUBLE_EQ(entries[0].sx, 0.25);
  script().idle(2).press({KEY_ESCAPE}).start();
  harness::run([&] { chosen = g.freeplayscreen(); });
  EXPECT_EQ(chosen, -100);
}

// Draws one frame of the score screen and returns its texts.
std::vector<std::string> scorescreen(game& g, int elapsed) {
  headless::clear_calls();
  g.levelcompleted(elapsed);
  return levelplay::texts(headless::calls());
}

TEST(CampaignScreens, TheScoreScreenCountsIntoTheTotal) {
  session s;
  game& g = *s.g;
  g.level = 3;
  g.levelscore = 3000;
  g.timebonus = 1235;
  g.oldscore = 5000;
  g.totalscore = 9235;
  using v = std::vector<std::string>;
  EXPECT_EQ(scorescreen(g, 0), v{});
  EXPECT_EQ(scorescreen(g, 1), v{"LEVEL 3 COMPLETED"});
  EXPECT_EQ(scorescreen(g, 41), (v{"LEVEL 3 COMPLETED", "LEVEL SCORE: "}));
  EXPECT_EQ(scorescreen(g, 61), (v{"LEVEL 3 COMPLETED", "LEVEL SCORE: ", "3000"}));
  EXPECT_EQ(scorescreen(g, 101), (v{"LEVEL 3 COMPLETED", "LEVEL SCORE: ", "3000", "TIME BONUS: ", "1235"}));
  EXPECT_EQ(scorescreen(g, 159), (v{"LEVEL 3 COMPLETED", "LEVEL SCORE: ", "3000", "TIME BONUS: ", "1235",
                                    "TOTAL SCORE: ", "5000"}));
  // Halfway through the count: 3000/2, 1235/2 truncated, 5000/2 + 9235/2 truncated.
  EXPECT_EQ(scorescreen(g, 200), (v{"LEVEL 3 COMPLETED", "LEVEL SCORE: ", "1500", "TIME BONUS: ", "617",
                                    "TOTAL SCORE: ", "7117"}));
  EXPECT_EQ(scorescreen(g, 240),
            (v{"LEVEL 3 COMPLETED", "LEVEL SCORE: ", "0", "TIME BONUS: ", "0", "TOTAL SCORE: ", "9235"}));
  EXPECT_EQ(scorescreen(g, 241), (v{"LEVEL 3 COMPLETED", "LEVEL SCORE: ", "0", "TIME BONUS: ", "0",
                                    "TOTAL SCORE: ", "9235", "PRESS ENTER TO CONTINUE"}));
  // Every number along the count stays between its ends.
  for (int e = 160; e <= 240; e++) {
    v t = scorescreen(g, e);
    const int total = std::stoi(t[6]);
    EXPECT_GE(total, 5000);
    EXPECT_LE(total, 9235);
    EXPECT_GE(std::stoi(t[4]), 0);
  }
  // Layout and colour: title colour, numbers at xwin - 300 at 1024.
  scorescreen(g, 300);
  const std::vector<headless::drawcall>& calls = headless::calls();
  ASSERT_GE(calls.size(), 7u);
  for (const headless::drawcall& c : calls) {
    EXPECT_EQ(c.r, g.unicol[1][0]);
    if (c.text == "9235") {
      EXPECT_DOUBLE_EQ(c.x, 724);
      EXPECT_DOUBLE_EQ(c.y, 455);
      EXPECT_DOUBLE_EQ(c.sx, 0.5);
    }
    if (c.text == "TIME BONUS: ") {
      EXPECT_DOUBLE_EQ(c.x, 100);
      EXPECT_DOUBLE_EQ(c.y, 355);
    }
  }
}

// Each caption of the score screen shows once its frame is passed, not on
// the frame itself.
TEST(CampaignScreens, ScoreCaptionsAppearAfterTheirFrames) {
  session s;
  game& g = *s.g;
  g.level = 2;
  g.levelscore = 2000;
  g.timebonus = 1500;
  g.oldscore = 700;
  g.totalscore = 4200;
  const struct {
    int frame;
    std::string text;
  } items[] = {{0, "LEVEL 2 COMPLETED"}, {40, "LEVEL SCORE: "}, {60, "2000"},  {80, "TIME BONUS: "},
               {100, "1500"},            {120, "TOTAL SCORE: "}, {140, "700"}, {240, "PRESS ENTER TO CONTINUE"}};
  for (const auto& item : items) {
    auto has = [&](int elapsed) {
      const std::vector<std::string> t = scorescreen(g, elapsed);
      return std::find(t.begin(), t.end(), item.text) != t.end();
    };
    EXPECT_FALSE(has(item.frame)) << item.text;
    EXPECT_TRUE(has(item.frame + 1)) << item.text;
  }
  // Just before and after each step the count of captions changes by one.
  const int counts[][2] = {{40, 1}, {41, 2}, {60, 2}, {61, 3}, {80, 3}, {81, 4}, {100, 4}, {101, 5},
                           {120, 5}, {121, 6}, {140, 6}, {141, 7}, {240, 7}, {241, 8}};
  for (const auto& c : counts) EXPECT_EQ(scorescreen(g, c[0]).size(), size_t(c[1])) << "frame " << c[0];
}

// In the middle of a long list the selection sits fifth of the nine shown
// (the first shown is four above it), at y 400; near the ends the window
// stops at the first and at the last nine.
TEST(CampaignScreens, TheChooserKeepsTheSelectionMidwayInALongList) {
  campaignsfolder folder(14);
  session s(folder.path.string());
  game& g = *s.g;
  std::vector<std::string> names;
  for (const std::string& n : ListDirectory("campaigns")) {
    if (FileKind("campaigns/" + n) == 2) names.push_back(n);
  }
  ASSERT_EQ(names.size(), 14u);
  // Selection E: first shown max(0, min(14 - 9, E - 4)).
  const int firstshown[14] = {0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 5, 5, 5, 5};
  for (int e = 0; e < 14; e++) {
    script keys;
    keys.idle(2);
    for (int k = 0; k < e; k++) keys.press({KEY_DOWN}, 2);
    keys.idle(2).start();
    harness::run([&] { g.chosecampaign(); });
    std::vector<headless::drawcall> entries = shown("CAMPAIGN: ");
    ASSERT_EQ(entries.size(), 9u) << "selection " << e;
    const int first = firstshown[e];
    for (int j = 0; j < 9; j++) {
      EXPECT_EQ(entries[j].text, "CAMPAIGN: " + names[first + j]) << "selection " << e;
      EXPECT_DOUBLE_EQ(entries[j].y, 200 + 50 * j) << "selection " << e;
      const bool lit = !(entries[j].r == 100 && entries[j].g == 100 && entries[j].b == 100);
      EXPECT_EQ(lit, first + j == e) << "selection " << e << " entry " << first + j;
    }
    if (e >= 4 && e <= 9) {
      EXPECT_EQ(entries[4].text, "CAMPAIGN: " + names[e]);
      EXPECT_DOUBLE_EQ(entries[4].y, 400);
    }
  }
}

TEST(CampaignScreens, HintsFollowEachOtherOnTheFirstLevelOnly) {
  session s(harness::data("campaigns"), false);
  game& g = *s.g;
  g.level = 1;
  g.mode = "play";
  g.scritta = "title";
  g.temposcritta = 3;
  const struct {
    int time;
    const char* caption;
  } cases[] = {{160, "title"},
               {161, "   WELCOME! USE THE ARROW KEYS TO MOVE THE BALL AND SPACE TO JUMP   "},
               {641, "   KEEP THE SPACEBAR PRESSED TO AUTOJUMP!   "},
               {1121, "   YOU CAN ONLY JUMP WHEN TOUCHING SOMETHING   "},
               {1601, "   IT IS A BAD IDEA TO TRY TO PRESS SPACE EXACTLY WHEN TOUCHING IT   "},
               {2081, "   INSTEAD IT'S A GOOD IDEA TO KEEP SPACE PRESSED MOST OF THE TIME   "},
               {2561, "   SO WHEN THE BALL TOUCHES SOMETHING IT WILL AUTOMATICALLY JUMP   "},
               {3041, "   THE REST I'M CONFIDENT YOU WILL BE ABLE TO FIGURE   "},
               {3521, "   OR AT LEAST I HOPE SO :)   "},
               {4479, "   GOOD LUCK!   "}};
  for (const auto& c : cases) {
    g.time = c.time;
    g.scrittelivello();
    EXPECT_EQ(g.scritta, c.caption) << "frame " << c.time;
  }
  EXPECT_EQ(g.temposcritta, 160);
  // Between two hints (frame 640 exactly) and after the last, nothing changes.
  for (int t : {640, 4480, 5000}) {
    g.scritta = "kept";
    g.time = t;
    g.scrittelivello();
    EXPECT_EQ(g.scritta, "kept");
  }
  g.time = 200;
  g.level = 2;
  g.scrittelivello();
  EXPECT_EQ(g.scritta, "kept");
  g.level = 1;
  g.mode = "showlevelscore";
  g.scrittelivello();
  EXPECT_EQ(g.scritta, "kept");
}

}  // namespace
