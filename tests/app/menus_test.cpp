// The menu and information screens, laid out from xwin, and the caption,
// lives counter and pause services of the level frame.
#include "tests/app/app_support.h"

using apptest::expect_centred;
using apptest::find_text;
using apptest::fixture;
using apptest::highlighted;
using apptest::texts_in_frame;
using harness::ending;

namespace {

using menus = fixture;

const std::vector<std::string> kMainItems = {"PLAY", "OPTIONS", "CONTROLS", "SCORES", "QUIT"};

// Runs a screen to the end of its key script and returns the value it gave.
int runscreen(const std::function<int()>& screen, ending expected = ending::returned) {
  int result = -999;
  EXPECT_EQ(harness::run([&] { result = screen(); }), expected);
  return result;
}

std::vector<std::string> optionrows(const std::vector<headless::drawcall>& calls) {
  std::vector<std::string> rows;
  for (const auto& c : calls) {
    if (c.text != "TUMBO") rows.push_back(c.text);
  }
  return rows;
}

TEST_F(menus, MainMenuWrapsAtBothEndsAndReturnsTheChoice) {
  open();
  headless::idle(2);
  headless::hold({KEY_UP}, 1, 2);
  EXPECT_EQ(runscreen([&] { return g->startscreen(1); }, ending::script_ended), -999);
  EXPECT_EQ(highlighted(texts_in_frame(0), kMainItems), "PLAY");
  EXPECT_EQ(highlighted(texts_in_frame(headless::frame() - 1), kMainItems), "QUIT");

  restart();
  headless::idle(2);
  headless::hold({KEY_DOWN}, 1, 2);
  headless::hold({KEY_ENTER}, 1, 2);
  EXPECT_EQ(runscreen([&] { return g->startscreen(5); }), 1);
  EXPECT_EQ(highlighted(texts_in_frame(0), kMainItems), "QUIT");

  // Up and Down in the same frame cancel out; Space chooses too.
  restart();
  headless::idle(2);
  headless::hold({KEY_UP, KEY_DOWN}, 1, 1);
  headless::hold({KEY_SPACE}, 1, 2);
  EXPECT_EQ(runscreen([&] { return g->startscreen(3); }), 3);
}

TEST_F(menus, KeysHeldWhenAMenuOpensDoNotActOnIt) {
  open();
  headless::hold({KEY_ENTER, KEY_DOWN}, 1, 3);
  EXPECT_EQ(runscreen([&] { return g->startscreen(2); }, ending::script_ended), -999);
  EXPECT_EQ(highlighted(texts_in_frame(headless::frame() - 1), kMainItems), "OPTIONS");
}

TEST_F(menus, EveryScreenIsLaidOutFromTheWindowWidth) {
  for (int res : {3, 1}) {
    headless::install();
    g = std::make_unique<game>();  // a game opened at this resolution
    open("0\r\n" + std::to_string(res) + "\r\n0\r\n3\r\n5\r\n5\r\n");
    const int xwin = res == 3 ? 1024 : 640;
    ASSERT_EQ(g->xwin, xwin);
    const double f = xwin / 1024.0;
    const double title = 8.1 * xwin / 1024 * 0.1;

    headless::idle(3);
    runscreen([&] { return g->startscreen(1); }, ending::script_ended);
    auto frame = texts_in_frame(0);
    ASSERT_EQ(frame.size(), 6u);
    expect_centred(find_text(frame, "TUMBO"), xwin, title, 30 * f);
    for (int k = 1; k <= 5; ++k) {
      expect_centred(find_text(frame, kMainItems[k - 1]), xwin, 0.6 * f, ((k + 1) * 80 + 20) * f);
    }

    headless::clear_calls();
    const int start = headless::frame();
    headless::idle(3);
    runscreen(
        [&] {
          g->optionsmenu();
          return 0;
        },
        ending::script_ended);
    frame = texts_in_frame(start);
    const auto rows = optionrows(frame);
    ASSERT_EQ(rows.size(), 5u);
    expect_centred(find_text(frame, "TUMBO"), xwin, title, 30 * f);
    for (int k = 1; k <= 5; ++k)
      expect_centred(find_text(frame, rows[k - 1]), xwin, 0.3 * f, (200 + k * 60) * f);

    headless::clear_calls();
    const int cstart = headless::frame();
    headless::idle(3);
    runscreen(
        [&] {
          g->controls();
          return 0;
        },
        ending::script_ended);
    frame = texts_in_frame(cstart);
    ASSERT_EQ(frame.size(), 11u);
    for (int k = 0; k < 6; ++k) expect_centred(frame[1 + k], xwin, 0.3 * f, (180 + k * 50) * f);
    for (int k = 0; k < 4; ++k) expect_centred(frame[7 + k], xwin, 0.15 * f, (530 + k * 40) * f);
  }
}

TEST_F(menus, OptionsShowTheSettingsAndClampThemAtBothEnds) {
  open("0\r\n1\r\n0\r\n15\r\n10\r\n10\r\n");
  headless::idle(2);
  headless::hold({KEY_LEFT}, 1, 1);  // full screen 0 stays 0
  headless::hold({KEY_DOWN}, 1, 1);
  headless::hold({KEY_LEFT}, 1, 1);  // 640 x 480 stays
  headless::hold({KEY_UP}, 1, 1);
  headless::hold({KEY_UP}, 1, 1);     // wraps to the music row
  headless::hold({KEY_RIGHT}, 1, 1);  // 10 stays 10
  headless::hold({KEY_ESCAPE}, 1, 1);
  EXPECT_EQ(runscreen([&] {
              g->optionsmenu();
              return 0;
            }),
            0);
  const std::vector<std::string> first = optionrows(texts_in_frame(0));
  EXPECT_EQ(first, (std::vector<std::string>{"FULL SCREEN= 0", "SCREEN RESOLUTION= 640 x 480",
                                             "TRAIL SIZE= 15", "SOUNDS VOLUME= 10", "MUSIC VOLUME= 10"}));
  EXPECT_EQ(highlighted(texts_in_frame(0), first), "FULL SCREEN= 0");
  // The last frame shows the clamped trail and the music row selected.
  const auto last = texts_in_frame(headless::frame() - 1);
  EXPECT_EQ(highlighted(last, optionrows(last)), "MUSIC VOLUME= 10");
  EXPECT_TRUE(apptest::has_text(last, "TRAIL SIZE= 9"));
  EXPECT_EQ(g->optfullscr, 0);
  EXPECT_EQ(g->optres, 1);
  EXPECT_EQ(g->opttrailsize, 9);
  EXPECT_EQ(g->optmusicvol, 10);
  // Nothing reopened the display, and the clamped values were written.
  EXPECT_EQ(headless::open_count(), 1);
  EXPECT_EQ(dir->read("prefs.txt"), "0\r\n1\r\n0\r\n9\r\n10\r\n10\r\n");
}

TEST_F(menus, LeavingOptionsKeepsTheChangesAndReopensOnlyForTheDisplay) {
  open();
  // Volumes and trail: written, display untouched.
  headless::idle(2);
  headless::hold({KEY_DOWN}, 1, 1);
  headless::hold({KEY_DOWN}, 1, 1);
  headless::hold({KEY_LEFT}, 1, 1);  // trail 2
  headless::hold({KEY_DOWN}, 1, 1);
  headless::hold({KEY_RIGHT}, 1, 1);  // sounds 6
  headless::hold({KEY_DOWN}, 1, 1);
  headless::hold({KEY_LEFT}, 1, 1);  // music 4
  headless::hold({KEY_ESCAPE}, 1, 1);
  runscreen([&] {
    g->optionsmenu();
    return 0;
  });
  EXPECT_EQ(dir->read("prefs.txt"), "0\r\n3\r\n0\r\n2\r\n6\r\n4\r\n");
  EXPECT_EQ(headless::open_count(), 1);

  // Resolution down twice and back up once: reopened once, at 800 x 600.
  headless::idle(2);
  headless::hold({KEY_DOWN}, 1, 1);
  headless::hold({KEY_LEFT}, 1, 1);
  headless::hold({KEY_LEFT}, 1, 1);
  headless::hold({KEY_RIGHT}, 1, 1);
  headless::hold({KEY_ENTER}, 1, 1);
  runscreen([&] {
    g->optionsmenu();
    return 0;
  });
  EXPECT_EQ(headless::open_count(), 2);
  EXPECT_EQ(headless::window_width(), 800);
  EXPECT_EQ(g->xwin, 800);
  EXPECT_EQ(dir->read("prefs.txt"), "0\r\n2\r\n0\r\n2\r\n6\r\n4\r\n");

  // Full screen on, then left with Space: reopened full screen, pointer hidden.
  headless::idle(2);
  headless::hold({KEY_RIGHT}, 1, 1);
  headless::hold({KEY_SPACE}, 1, 1);
  runscreen([&] {
    g->optionsmenu();
    return 0;
  });
  EXPECT_EQ(headless::open_count(), 3);
  EXPECT_EQ(headless::window_depth(), 32);
  EXPECT_EQ(headless::mouse_visible(), 0);

  // A change made and undone reopens nothing.
  headless::idle(2);
  headless::hold({KEY_LEFT}, 1, 1);
  headless::hold({KEY_RIGHT}, 1, 1);
  headless::hold({KEY_ESCAPE}, 1, 1);
  runscreen([&] {
    g->optionsmenu();
    return 0;
  });
  EXPECT_EQ(headless::open_count(), 3);
}

TEST_F(menus, ControlsListTheKeysInTheHighlightColourAndLeaveOnAnyConfirmation) {
  open();
  for (int key : {KEY_ENTER, KEY_SPACE, KEY_ESCAPE}) {
    restart();
    headless::idle(2);
    headless::hold({key}, 1, 1);
    EXPECT_EQ(runscreen([&] {
                g->controls();
                return 0;
              }),
              0);
    const auto frame = texts_in_frame(0);
    ASSERT_EQ(frame.size(), 11u);
    EXPECT_EQ(frame[1].text, "LEFT KEY: MOVE LEFT");
    EXPECT_EQ(frame[6].text, "ESC: PREVIOUS MENU / QUIT");
    EXPECT_EQ(frame[10].text, "SO WHEN THE BALL TOUCHES SOMETHING IT WILL AUTOMATICALLY JUMP.");
    for (size_t i = 1; i < frame.size(); ++i) {
      EXPECT_EQ(frame[i].r, frame[1].r);
      EXPECT_EQ(frame[i].g, frame[1].g);
      EXPECT_EQ(frame[i].b, frame[1].b);
    }
  }
}

TEST_F(menus, SplashEndsAfterATenthOfASecondOrOnAKey) {
  open();
  const int32_t before = headless::clock();
  headless::idle(100);
  runscreen([&] {
    g->drawlogo();
    return 0;
  });
  const int32_t took = headless::clock() - before;
  EXPECT_GT(took, 100);
  EXPECT_LE(took, 140);
  for (const auto& c : headless::calls()) {
    if (c.kind == headless::op::sprite) {
      EXPECT_EQ(c.x, (1024 - 205) / 2);
      EXPECT_EQ(c.y, (768 - 275) / 2 - 50);
    }
  }
  const auto last = texts_in_frame(headless::frame() - 1);
  ASSERT_EQ(last.size(), 1u);
  expect_centred(last[0], 1024, 0.2, 768 / 2 + 120);
  EXPECT_EQ(last[0].r + last[0].g + last[0].b, 3 * 255);

  restart();
  headless::idle(1);
  headless::hold({KEY_SPACE}, 3, 1);
  runscreen([&] {
    g->drawlogo();
    return 0;
  });
  EXPECT_EQ(headless::frame(), 2);
}

TEST_F(menus, CaptionFadesOverItsFramesAcrossTheWholeWidth) {
  open();
  g->scritta = "   WELCOME   ";
  g->temposcritta = 160;
  for (int i = 0; i < 170; ++i) {
    g->doscritta(0.25);
    DrawString("probe", 0, 0);
    Flip(-1);
  }
  const double s = 1024.0 / StringWidth(g->scritta);
  std::vector<headless::drawcall> captions, probes;
  for (const auto& c : headless::calls()) {
    if (c.text == g->scritta) captions.push_back(c);
    if (c.text == "probe") probes.push_back(c);
  }
  ASSERT_EQ(captions.size(), 160u);
  EXPECT_NEAR(captions.front().alpha, 159.0 / 160, 1e-9);
  EXPECT_NEAR(captions.back().alpha, 0, 1e-9);
  EXPECT_NEAR(captions.front().sx, s, 1e-9);
  EXPECT_EQ(captions.front().x, 0);
  EXPECT_EQ(captions.front().y, TruncInt(768 * 0.25 - FontHeight() / 2 * s));
  for (const auto& p : probes) {
    EXPECT_EQ(p.sx, 1);
    EXPECT_EQ(p.alpha, 1);
  }
  EXPECT_EQ(g->temposcritta, -1);

  // An empty caption draws nothing.
  headless::clear_calls();
  g->scritta = "";
  g->temposcritta = 160;
  g->doscritta(0.25);
  for (const auto& c : headless::calls()) EXPECT_NE(c.kind, headless::op::text);
}

TEST_F(menus, CountfpsAdvancesTimeAndShowsTheLives) {
  open();
  std::vector<uint8_t> rgba(4 * 4 * 4, 255);
  ASSERT_TRUE(WritePNG("life.png", 4, 4, rgba));
  g->tumbosprite = LoadSprite("life.png");
  CenterSpriteHandle(g->tumbosprite);
  g->lives = 7;
  g->time = 10;
  SetColor(1, 2, 3);
  g->countfps(0);
  EXPECT_EQ(g->time, 11);
  const auto& c = headless::calls();
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].text, "x7");
  EXPECT_EQ(c[0].x, 35);
  EXPECT_EQ(c[0].y, 20);
  EXPECT_NEAR(c[0].sx, 0.15, 1e-9);
  EXPECT_EQ(c[0].r, 1);  // the colour the frame left behind
  EXPECT_EQ(c[1].kind, headless::op::sprite);
  EXPECT_EQ(c[1].x, 24);
  EXPECT_EQ(c[1].y, 32);
  EXPECT_NEAR(c[1].sx, 0.07, 1e-9);
  EXPECT_EQ(c[1].r, g->unicol[0][0]);

  headless::clear_calls();
  g->countfps(1);
  EXPECT_EQ(g->time, 12);
  EXPECT_TRUE(headless::calls().empty());
}

TEST_F(menus, PauseFreezesThePictureUntilPOrEscape) {
  open();
  g->mode = "play";
  std::string result = "none";
  for (int ending_key : {KEY_P, KEY_ESCAPE}) {
    restart();
    headless::hold({KEY_P}, 1, 4);
    headless::hold({ending_key}, 1, 1);
    DrawString("world", 5, 5);
    g->pause(result);
    EXPECT_EQ(headless::frame(), 5);
    const auto& c = headless::calls();
    ASSERT_GE(c.size(), 2u);
    EXPECT_EQ(c[1].kind, headless::op::grab);
    int frozen = 0;
    for (const auto& d : c) {
      if (d.kind == headless::op::sprite) {
        EXPECT_EQ(d.x, 0);
        EXPECT_EQ(d.y, 0);
        EXPECT_EQ(d.r + d.g + d.b, 3 * 255);
        frozen++;
      }
    }
    EXPECT_EQ(frozen, 5);
  }
  EXPECT_EQ(result, "none");

  // On the game-over screen P is swallowed and nothing pauses.
  restart();
  g->mode = "gameover";
  headless::hold({KEY_P, KEY_R}, 1, 1);
  g->pause(result);
  EXPECT_EQ(headless::frame(), 0);
  EXPECT_EQ(KeyPresses(KEY_P), 0);
  EXPECT_EQ(result, "none");
}

TEST_F(menus, RestartKeyCostsALifeOutsideTheGameOverScreen) {
  open();
  g->mode = "play";
  g->lives = 3;
  std::string result = "none";
  headless::hold({KEY_R}, 1, 1);
  g->pause(result);
  EXPECT_EQ(result, "lost");
  EXPECT_EQ(g->mode, "end");
}

}  // namespace
