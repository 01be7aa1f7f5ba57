// High scores: the exchange sort, the tables and their file, the game-over
// name entry and the two table views.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <random>

#include "tests/app/app_support.h"

using apptest::expect_centred;
using apptest::find_text;
using apptest::fixture;
using apptest::has_text;
using apptest::highlighted;
using apptest::texts_in_frame;
using harness::ending;

namespace {

using scores = fixture;

std::vector<std::string> names(const std::vector<highscore>& table) {
  std::vector<std::string> n;
  for (const auto& e : table) n.push_back(e.name);
  return n;
}

// The level loop's part: one game-over frame per elapsed frame, from 0.
void gameoverframes(game& g, int frames, int difficulty) {
  for (int e = 0; e < frames; ++e) {
    Cls();
    g.gameover(e, difficulty);
    Flip(-1);
  }
}

TEST_F(scores, ExchangeSortPutsTheBestFirstAndSwapsEqualPoints) {
  auto& t = g->scoreslist[0];
  t = {{5, "A"}, {5, "B"}};
  g->sortscores(0);
  EXPECT_EQ(names(t), (std::vector<std::string>{"B", "A"}));
  g->sortscores(0);
  EXPECT_EQ(names(t), (std::vector<std::string>{"A", "B"}));

  t = {{1, "A"}, {3, "B"}, {3, "C"}, {2, "D"}};
  g->sortscores(0);
  // Pass 1: A sinks to the end and B passes C; pass 2: C passes B again.
  EXPECT_EQ(names(t), (std::vector<std::string>{"B", "C", "D", "A"}));

  std::mt19937 rng(7);
  for (int trial = 0; trial < 20; ++trial) {
    t.clear();
    for (int i = 0; i < 21; ++i) t.push_back({int64_t(rng() % 50) - 10, "N" + std::to_string(i)});
    std::vector<int64_t> want;
    for (const auto& e : t) want.push_back(e.points);
    std::sort(want.rbegin(), want.rend());
    g->sortscores(0);
    std::vector<int64_t> got;
    for (const auto& e : t) got.push_back(e.points);
    EXPECT_EQ(got, want);
  }
}

TEST_F(scores, UpdateInsertsSortsAndKeepsTwenty) {
  g->initscores();
  auto& t = g->scoreslist[1];
  for (int i = 0; i < 20; ++i) t[i] = {int64_t(100 - i), "P" + std::to_string(i)};
  g->updatescores("NEW", 95, 1);
  ASSERT_EQ(t.size(), 20u);
  // Equal points are passed too: the new 95 ends below the old one.
  EXPECT_EQ(t[5].name, "P5");
  EXPECT_EQ(t[6].name, "NEW");
  EXPECT_EQ(t[19].name, "P18");
  // No better than the 20th: the old twenty stay.
  g->updatescores("LOW", 82, 1);
  EXPECT_EQ(t.size(), 20u);
  for (const auto& e : t) EXPECT_NE(e.name, "LOW");
  // A zero score on the default table ranks last and is dropped again.
  g->updatescores("ZERO", 0, 0);
  EXPECT_EQ(names(g->scoreslist[0]), std::vector<std::string>(20, "NOBODY"));
  // The other tables are untouched.
  EXPECT_EQ(names(g->scoreslist[2]), std::vector<std::string>(20, "NOBODY"));
}

TEST_F(scores, WorstScoreSortsAndGuardsItsRange) {
  EXPECT_EQ(g->worstscore(0), 0);  // fewer than 20 entries
  g->initscores();
  auto& t = g->scoreslist[0];
  for (int i = 0; i < 20; ++i) t[i] = {int64_t(i), "X"};
  EXPECT_EQ(g->worstscore(0), 0);
  EXPECT_EQ(t.front().points, 19);  // sorted in place
  for (auto& e : t) e.points = 9000000000LL;
  EXPECT_EQ(g->worstscore(0), INT_MAX);
  for (auto& e : t) e.points = -9000000000LL;
  EXPECT_EQ(g->worstscore(0), INT_MIN);
}

TEST_F(scores, MissingFileIsWrittenWithTheDefaultsAndRoundTrips) {
  g->initscores();
  g->readscores();
  std::string expected;
  for (int i = 0; i < 60; ++i) expected += "NOBODY\r\n0\r\n";
  EXPECT_EQ(dir->read("scores.txt"), expected);

  g->scoreslist[2][3] = {-42, "MINUS"};
  g->scoreslist[1][0] = {9000000000LL, "BIG ONE"};
  g->writescores();
  game other;
  other.initscores();
  other.readscores();
  for (int d = 0; d < 3; ++d) {
    for (int i = 0; i < 20; ++i) {
      EXPECT_EQ(other.scoreslist[d][i].points, g->scoreslist[d][i].points);
      EXPECT_EQ(other.scoreslist[d][i].name, g->scoreslist[d][i].name);
    }
  }
  EXPECT_NE(dir->read("scores.txt").find("MINUS\r\n-42\r\n"), std::string::npos);
}

TEST_F(scores, ShortFileChangesOnlyTheFirstEntriesAndIsNotSorted) {
  dir->write("scores.txt", "AL\r\n10\r\nBO\r\n  20xyz\r\nCY\n-5\r\nDI\r\nnothing\r\nED\r\n+30\r\n");
  g->initscores();
  g->readscores();
  const auto& easy = g->scoreslist[0];
  EXPECT_EQ(names(easy).at(0), "AL");
  const std::vector<int64_t> points = {10, 20, -5, 0, 30};
  const std::vector<std::string> who = {"AL", "BO", "CY", "DI", "ED"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(easy[i].name, who[i]);
    EXPECT_EQ(easy[i].points, points[i]);
  }
  for (int i = 5; i < 20; ++i) EXPECT_EQ(easy[i].name, "NOBODY");
  EXPECT_EQ(names(g->scoreslist[1]), std::vector<std::string>(20, "NOBODY"));
  EXPECT_EQ(names(g->scoreslist[2]), std::vector<std::string>(20, "NOBODY"));
  // Reading does not rewrite an existing file.
  EXPECT_EQ(dir->read("scores.txt").substr(0, 4), "AL\r\n");
}

TEST_F(scores, FirstRunTableShowsTwentyNobodiesWithTheSpacingRule) {
  open();
  g->initscores();
  g->readscores();
  headless::idle(120);
  EXPECT_EQ(harness::run([&] { g->blackscores(0); }), ending::script_ended);
  const auto last = texts_in_frame(headless::frame() - 1);
  expect_centred(find_text(last, "HIGH SCORES"), 1024, 0.7, 20);
  int zeros = 0;
  for (int i = 1; i <= 20; ++i) {
    const std::string row = std::to_string(i) + (i < 10 ? " " : "") + ": NOBODY";
    const auto c = find_text(last, row);
    EXPECT_EQ(c.x, 270);
    EXPECT_EQ(c.y, 100 + 30 * i);
    EXPECT_NEAR(c.sx, 0.2, 1e-9);
  }
  for (const auto& c : last) {
    if (c.text != "0") continue;
    zeros++;
    EXPECT_NEAR(c.x + StringWidth("0") * 0.2, 1024 - 270, 1e-9);
  }
  EXPECT_EQ(zeros, 20);
  EXPECT_TRUE(has_text(last, "9 : NOBODY"));
  EXPECT_TRUE(has_text(last, "10: NOBODY"));
}

TEST_F(scores, TableRowsAppearOneEveryFiveFrames) {
  open();
  g->initscores();
  auto rows = [&](int elapsed) {
    headless::clear_calls();
    g->showhighscores(elapsed, 2);
    int n = 0;
    for (const auto& c : headless::calls()) n += c.text.find(": NOBODY") != std::string::npos;
    return n;
  };
  EXPECT_EQ(rows(0), 0);
  EXPECT_FALSE(has_text(headless::calls(), "HIGH SCORES"));
  EXPECT_EQ(rows(5), 0);
  EXPECT_EQ(rows(6), 1);
  EXPECT_TRUE(has_text(headless::calls(), "HIGH SCORES"));
  EXPECT_EQ(rows(100), 19);
  EXPECT_EQ(rows(101), 20);
}

TEST_F(scores, ScoreChooserLeadsToEachTableAndRemembersTheLastOne) {
  open();
  g->initscores();
  g->scoreslist[1][0].name = "MEDIUMCHAMP";
  headless::idle(2);
  headless::hold({KEY_DOWN}, 1, 1);
  headless::hold({KEY_ENTER}, 1, 10);  // the medium table
  headless::hold({KEY_ESCAPE}, 1, 3);  // back to the chooser
  EXPECT_EQ(harness::run([&] { g->blackscores0(); }), ending::script_ended);
  bool medium = false;
  for (const auto& c : headless::calls()) medium |= c.text == "1 : MEDIUMCHAMP";
  EXPECT_TRUE(medium);
  const auto last = texts_in_frame(headless::frame() - 1);
  EXPECT_EQ(highlighted(last, {"EASY", "MEDIUM", "HARD"}), "MEDIUM");
  for (int k = 1; k <= 3; ++k) {
    expect_centred(find_text(last, std::vector<std::string>{"EASY", "MEDIUM", "HARD"}[k - 1]), 1024, 0.6,
                   60 + 80 * (k + 2));
  }

  // Escape in the chooser goes back to the caller.
  headless::hold({KEY_ESCAPE}, 1, 1);
  EXPECT_EQ(harness::run([&] { g->blackscores0(); }), ending::returned);
  headless::hold({KEY_UP}, 1, 1);
  headless::hold({KEY_SPACE}, 1, 1);
  EXPECT_EQ(harness::run([&] { EXPECT_EQ(g->chosescoresscreen(1), 3); }), ending::returned);
}

TEST_F(scores, GameOverPromptsOnlyForAScoreThatEntersTheTable) {
  open();
  g->initscores();
  for (int i = 0; i < 20; ++i) g->scoreslist[0][i].points = 500 + 10 * (19 - i);
  g->totalscore = 500;  // equal to the 20th: no prompt
  headless::idle(200);
  gameoverframes(*g, 130, 0);
  auto last = texts_in_frame(headless::frame() - 1);
  EXPECT_FALSE(has_text(last, "ENTER YOUR NAME:"));
  expect_centred(find_text(last, "GAME OVER"), 1024, 1.3, 20);
  expect_centred(find_text(last, "SCORE: 500"), 1024, 0.8, 200);

  restart();
  headless::clear_calls();
  g->totalscore = 501;
  headless::idle(3);
  headless::type("zed");
  headless::idle(200);
  gameoverframes(*g, 130, 0);
  EXPECT_TRUE(texts_in_frame(0).empty());  // nothing at elapsed 0
  EXPECT_TRUE(has_text(texts_in_frame(1), "GAME OVER"));
  EXPECT_FALSE(has_text(texts_in_frame(60), "SCORE: 501"));
  EXPECT_TRUE(has_text(texts_in_frame(61), "SCORE: 501"));
  EXPECT_FALSE(has_text(texts_in_frame(120), "ENTER YOUR NAME:"));
  last = texts_in_frame(121);
  expect_centred(find_text(last, "ENTER YOUR NAME:"), 1024, 0.4, 450);
  expect_centred(find_text(last, "ZED"), 1024, 0.8, 542);
  EXPECT_EQ(g->name, "ZED");
  g->updatescores(g->name, g->totalscore, 0);
  EXPECT_EQ(g->scoreslist[0][19].name, "ZED");
  EXPECT_EQ(g->scoreslist[0][19].points, 501);
}

TEST_F(scores, NameEntryTakesFifteenAcceptedCharactersInUpperCase) {
  open();
  g->initscores();
  g->totalscore = 10;
  headless::idle(1);
  headless::type("q");  // typed while the screen opens: flushed
  headless::idle(1);
  headless::type(
      "\b\x7f"
      "abc~`\"de"
      "fghijklmnopqrs");
  headless::idle(13);  // up to frame 40, where the next characters come
  gameoverframes(*g, 40, 0);
  EXPECT_EQ(g->name, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(g->charposition, 16);

  headless::type(
      "\b\b\x7f"
      "1@!#$%^&*()-_+=");
  headless::idle(5);
  for (int e = 40; e < 60; ++e) {
    g->gameover(e, 0);
    Flip(-1);
  }
  EXPECT_EQ(g->name, "ABCDEFGHIJKL1@!");

  restart();
  auto fresh = std::make_unique<game>();
  headless::idle(3);
  headless::type("[]{}<>,.?/\\|:;' x");
  headless::idle(10);
  gameoverframes(*fresh, 30, 0);
  EXPECT_EQ(fresh->name, "[]{}<>,.?/\\|:;'");
}

TEST_F(scores, TheLastNameIsOfferedAgainAtTheNextGameOver) {
  open();
  g->initscores();
  g->totalscore = 100;
  headless::idle(3);
  headless::type("ann");
  headless::idle(200);
  gameoverframes(*g, 20, 0);
  g->updatescores(g->name, g->totalscore, 0);
  EXPECT_EQ(g->scoreslist[0][0].name, "ANN");

  restart();
  g->totalscore = 200;
  headless::idle(200);
  gameoverframes(*g, 130, 0);
  EXPECT_TRUE(has_text(texts_in_frame(headless::frame() - 1), "ANN"));
  EXPECT_EQ(g->name, "ANN");
}

TEST_F(scores, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  g->initscores();
  g->writescores();
  const std::string before = dir->read("scores.txt");
  game changed;
  changed.initscores();
  for (auto& table : changed.scoreslist) {
    for (auto& e : table) e = {1234567890123LL, "A RATHER LONG NAME"};
  }
  changed.writescores();
  const std::string after = dir->read("scores.txt");
  ASSERT_NE(before, after);

  std::mt19937 rng(12345);
  int saw_after = 0;
  for (int trial = 0; trial < 30; ++trial) {
    g->writescores();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) changed.writescores();
    }
    usleep(200 + rng() % 3000);
    // Every other trial first waits for a finished save, so that the kill also
    // lands in later saves however slow the disk is.
    for (int waited = 0; trial % 2 == 1 && waited < 5000 && dir->read("scores.txt") != after; ++waited) {
      usleep(1000);
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string now = dir->read("scores.txt");
    EXPECT_TRUE(now == before || now == after) << "trial " << trial << ": " << now.size() << " bytes";
    saw_after += now == after;
    game reader;
    reader.initscores();
    reader.readscores();
    EXPECT_EQ(reader.scoreslist[2][19].name, now == after ? "A RATHER LONG NAME" : "NOBODY");
  }
  EXPECT_GT(saw_after, 0);
}

}  // namespace
