// Start-up as a whole: the first-run question, the display it opens, the
// main-menu loop and the ways out of the program.
#include "tests/app/app_support.h"

using apptest::fixture;
using apptest::kDefaultPrefs;
using harness::ending;

namespace {

using startup = fixture;

std::string lines(int n, const std::string& line) {
  std::string s;
  for (int i = 0; i < n; ++i) s += line;
  return s;
}

TEST_F(startup, FirstRunAnsweredNoOpensA1024WindowAndWritesTheDefaults) {
  headless::set_proceed_answer(0);
  headless::idle(30);
  EXPECT_EQ(harness::run([&] { g->allgame(); }), ending::script_ended);
  EXPECT_EQ(headless::proceed_calls(), 1);
  EXPECT_TRUE(headless::window_open());
  EXPECT_EQ(headless::open_count(), 1);
  EXPECT_EQ(headless::window_width(), 1024);
  EXPECT_EQ(headless::window_height(), 768);
  EXPECT_EQ(headless::window_depth(), 0);
  EXPECT_EQ(headless::mouse_visible(), 1);
  EXPECT_EQ(dir->read("prefs.txt"), kDefaultPrefs);
  // No scores yet either: the default tables are written out.
  EXPECT_EQ(dir->read("scores.txt"), lines(60, "NOBODY\r\n0\r\n"));
  // The run reached the main menu with PLAY highlighted.
  EXPECT_EQ(apptest::highlighted(apptest::texts_in_frame(headless::frame() - 1),
                                 {"PLAY", "OPTIONS", "CONTROLS", "SCORES", "QUIT"}),
            "PLAY");
}

TEST_F(startup, FirstRunAnsweredYesPlaysFullScreenWithoutPointer) {
  headless::set_proceed_answer(1);
  headless::idle(30);
  EXPECT_EQ(harness::run([&] { g->allgame(); }), ending::script_ended);
  EXPECT_EQ(headless::window_depth(), 32);
  EXPECT_EQ(headless::mouse_visible(), 0);
  EXPECT_EQ(dir->read("prefs.txt"), "0\r\n3\r\n1\r\n3\r\n5\r\n5\r\n");
}

TEST_F(startup, FirstRunCancelEndsBeforeAnyWindow) {
  headless::set_proceed_answer(-1);
  headless::idle(30);
  EXPECT_EQ(harness::run([&] { g->allgame(); }), ending::program_ended);
  EXPECT_EQ(headless::proceed_calls(), 1);
  EXPECT_EQ(headless::open_count(), 0);
  EXPECT_EQ(headless::frame(), 0);
  EXPECT_EQ(FileKind("prefs.txt"), 0);
}

TEST_F(startup, SavedSettingsAreCheckedBeforeTheWindowOpens) {
  // Resolution 7 is unknown: the largest one. Full screen 2 is unknown: a window.
  dir->write("prefs.txt", "0\r\n7\r\n2\r\n3\r\n5\r\n5\r\n");
  headless::idle(30);
  EXPECT_EQ(harness::run([&] { g->allgame(); }), ending::script_ended);
  EXPECT_EQ(headless::proceed_calls(), 0);
  EXPECT_EQ(headless::window_width(), 1024);
  EXPECT_EQ(headless::window_height(), 768);
  EXPECT_EQ(headless::window_depth(), 0);
  EXPECT_EQ(g->optres, 3);
  EXPECT_EQ(g->optfullscr, 0);

  headless::install();
  dir->write("prefs.txt", "0\r\n1\r\n0\r\n3\r\n5\r\n5\r\n");
  auto small = std::make_unique<game>();
  headless::idle(30);
  EXPECT_EQ(harness::run([&] { small->allgame(); }), ending::script_ended);
  EXPECT_EQ(headless::window_width(), 640);
  EXPECT_EQ(headless::window_height(), 480);
  EXPECT_EQ(small->xwin, 640);
}

TEST_F(startup, MainMenuComesBackWithTheLastChoiceHighlighted) {
  dir->write("prefs.txt", kDefaultPrefs);
  headless::idle(20);                  // splash
  headless::hold({KEY_DOWN}, 1, 1);    // OPTIONS
  headless::hold({KEY_DOWN}, 1, 1);    // CONTROLS
  headless::hold({KEY_ENTER}, 1, 3);   // into the controls screen
  headless::hold({KEY_ESCAPE}, 1, 3);  // back to the menu
  EXPECT_EQ(harness::run([&] { g->allgame(); }), ending::script_ended);
  const auto last = apptest::texts_in_frame(headless::frame() - 1);
  EXPECT_EQ(apptest::highlighted(last, {"PLAY", "OPTIONS", "CONTROLS", "SCORES", "QUIT"}), "CONTROLS");
  // The controls screen was shown on the way.
  bool controls_seen = false;
  for (const auto& c : headless::calls()) controls_seen |= c.text == "SPACE: JUMP";
  EXPECT_TRUE(controls_seen);
}

TEST_F(startup, QuitAndEscapeEndTheProgramWithThePointerShown) {
  dir->write("prefs.txt", "0\r\n3\r\n1\r\n3\r\n5\r\n5\r\n");  // full screen: pointer hidden
  headless::idle(20);
  headless::hold({KEY_UP}, 1, 1);  // wraps to QUIT
  headless::hold({KEY_ENTER}, 1, 30);
  EXPECT_EQ(harness::run([&] { g->allgame(); }), ending::program_ended);
  EXPECT_EQ(headless::mouse_visible(), 1);
  EXPECT_FALSE(headless::window_open());

  headless::install();
  auto other = std::make_unique<game>();
  headless::idle(20);
  headless::hold({KEY_ESCAPE}, 1, 30);
  EXPECT_EQ(harness::run([&] { other->allgame(); }), ending::program_ended);
  EXPECT_EQ(headless::mouse_visible(), 1);
  EXPECT_FALSE(headless::window_open());
}

// Closing the window ends the program from every screen's first frame.
TEST_F(startup, ClosingTheWindowEndsTheProgramFromAnyScreen) {
  const std::vector<std::pair<std::string, std::function<void(game&)>>> screens = {
      {"splash", [](game& x) { x.drawlogo(); }},
      {"main menu", [](game& x) { x.startscreen(1); }},
      {"options", [](game& x) { x.optionsmenu(); }},
      {"controls", [](game& x) { x.controls(); }},
      {"score chooser", [](game& x) { x.chosescoresscreen(1); }},
      {"score table", [](game& x) { x.blackscores(0); }},
  };
  for (const auto& [what, screen] : screens) {
    headless::install();
    auto one = std::make_unique<game>();
    one->initscores();
    dir->write("prefs.txt", "0\r\n3\r\n1\r\n3\r\n5\r\n5\r\n");
    one->initprefs();
    one->readprefs();
    one->changeres(one->optfullscr, one->optres, 0);
    headless::idle(100);
    headless::request_close();
    EXPECT_EQ(harness::run([&] { screen(*one); }), ending::program_ended) << what;
    EXPECT_EQ(headless::frame(), what == "splash" ? 2 : 1) << what;
    EXPECT_EQ(headless::mouse_visible(), 1) << what;
    EXPECT_FALSE(headless::window_open()) << what;
  }
}

TEST_F(startup, ChangeresReopensOnlyWhenAskedAndReloadsTheMedia) {
  open();
  EXPECT_EQ(headless::open_count(), 1);
  EXPECT_TRUE(g->gamefont != nullptr);
  g->changeres(0, 2, 1);
  EXPECT_EQ(headless::open_count(), 2);
  EXPECT_EQ(headless::window_width(), 800);
  EXPECT_EQ(headless::window_height(), 600);
  EXPECT_EQ(g->xwin, 800);
  EXPECT_EQ(g->ywin, 600);
  EXPECT_EQ(headless::mouse_visible(), 1);
  // An unknown resolution keeps the size it had.
  g->changeres(1, 9, 1);
  EXPECT_EQ(g->xwin, 800);
  EXPECT_EQ(headless::window_depth(), 32);
  EXPECT_EQ(headless::mouse_visible(), 0);
}

}  // namespace
