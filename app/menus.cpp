// The text screens outside the level (splash, main menu, options, controls),
// the chooser they share, and the caption, lives counter and pause services
// the level loop calls every frame. Every size is laid out from xwin.
#include <algorithm>
#include <string>

#include "world/game.h"

namespace {

constexpr int kGrey = 100;
// How long the splash stays up when no key is held, in milliseconds.
constexpr int kSplashMillis = 100;
constexpr int kCaptionFrames = 160;

void setcolour(const int (&c)[3]) { SetColor(c[0], c[1], c[2]); }

}  // namespace

void game::drawcentred(const std::string& text, double scale, double y) {
  SetDrawScale(scale, scale);
  DrawString(text, (xwin - StringWidth(text) * scale) / 2, y);
  SetDrawScale(1, 1);
}

void game::drawtitle() {
  setcolour(unicol[1]);
  drawcentred("TUMBO", 8.1 * xwin / 1024 * 0.1, at1024(30));
}

int game::menuscreen(const std::vector<std::string>& entries, double scale,
                     const std::function<double(int)>& y, int first, int backvalue) {
  const int count = static_cast<int>(entries.size());
  int selected = first;
  if (selected < 1) selected = count;
  if (selected > count) selected = 1;
  FlushKeyboard();
  for (;;) {
    Cls();
    varycol();
    drawtitle();
    for (int k = 1; k <= count; ++k) {
      if (k == selected) {
        setcolour(unicol[2]);
      } else {
        SetColor(kGrey, kGrey, kGrey);
      }
      drawcentred(entries[k - 1], scale * xwin / 1024, y(k));
    }
    if (KeyPresses(KEY_UP)) selected--;
    if (KeyPresses(KEY_DOWN)) selected++;
    if (selected < 1) selected = count;
    if (selected > count) selected = 1;
    Flip(-1);
    checkclose();
    if (KeyPresses(KEY_ESCAPE)) return backvalue;
    // With nothing to choose only Escape leaves.
    if ((KeyPresses(KEY_ENTER) || KeyPresses(KEY_SPACE)) && count > 0) return selected;
  }
}

void game::drawlogo() {
  auto draw = [this] {
    DrawSprite(logo, (xwin - 205) / 2, (ywin - 275) / 2 - 50);
    SetColor(255, 255, 255);
    drawcentred("A SMALL STUDIO PRODUCTION", 0.2, ywin / 2 + 120);
  };
  draw();
  Flip(-1);
  const int32_t start = ClockMillis();
  do {
    Cls();
    SetDrawScale(1, 1);
    draw();
    Flip(-1);
    checkclose();
  } while (ClockMillis() - start <= kSplashMillis && !KeyHeld(KEY_SPACE) && !KeyHeld(KEY_ENTER) &&
           !KeyHeld(KEY_ESCAPE));
  SetDrawScale(1, 1);
}

int game::startscreen(int item) {
  static const std::vector<std::string> items = {"PLAY", "OPTIONS", "CONTROLS", "SCORES", "QUIT"};
  constexpr int kEscaped = -100;
  const int chosen = menuscreen(
      items, 0.6, [this](int k) { return (k + 1) * at1024(80) + at1024(20); }, item, kEscaped);
  if (chosen == kEscaped) shutdown();
  return chosen;
}

void game::optionsmenu() {
  const int oldres = optres;
  const int oldfullscr = optfullscr;
  FlushKeyboard();
  int row = 1;
  int* const settings[5] = {&optfullscr, &optres, &opttrailsize, &optsoundsvol, &optmusicvol};
  const int lowest[5] = {0, 1, 0, 0, 0};
  const int highest[5] = {1, 3, 9, 10, 10};
  for (;;) {
    varycol();
    std::string restext;
    if (optres == 1) restext = "640 x 480";
    if (optres == 2) restext = "800 x 600";
    if (optres == 3) restext = "1024 x 768";
    Cls();
    drawtitle();
    const std::string rows[5] = {
        "FULL SCREEN= " + std::to_string(optfullscr),   "SCREEN RESOLUTION= " + restext,
        "TRAIL SIZE= " + std::to_string(opttrailsize),  "SOUNDS VOLUME= " + std::to_string(optsoundsvol),
        "MUSIC VOLUME= " + std::to_string(optmusicvol),
    };
    for (int k = 1; k <= 5; ++k) {
      if (k == row) {
        setcolour(unicol[2]);
      } else {
        SetColor(kGrey, kGrey, kGrey);
      }
      drawcentred(rows[k - 1], 3.0 * xwin / 1024 * 0.1, at1024(200) + k * at1024(60));
    }
    Flip(-1);
    checkclose();
    if (KeyPresses(KEY_RIGHT)) (*settings[row - 1])++;
    if (KeyPresses(KEY_LEFT)) (*settings[row - 1])--;
    for (int i = 0; i < 5; ++i) *settings[i] = std::clamp(*settings[i], lowest[i], highest[i]);
    if (KeyPresses(KEY_DOWN)) row++;
    if (KeyPresses(KEY_UP)) row--;
    if (row > 5) row = 1;
    if (row < 1) row = 5;
    if (KeyPresses(KEY_ENTER) || KeyPresses(KEY_SPACE) || KeyPresses(KEY_ESCAPE)) break;
  }
  writeprefs();
  if (optres != oldres || optfullscr != oldfullscr) changeres(optfullscr, optres, 1);
}

void game::controls() {
  static const char* const keys[6] = {"LEFT KEY: MOVE LEFT", "RIGHT KEY: MOVE RIGHT",
                                      "SPACE: JUMP",         "P: PAUSE",
                                      "R: RESTART LEVEL",    "ESC: PREVIOUS MENU / QUIT"};
  static const char* const notes[4] = {
      "NOTE: YOU CAN ONLY JUMP WHEN TOUCHING SOMETHING.",
      "IT IS A BAD IDEA TO TRY TO PRESS SPACE EXACTLY WHEN TOUCHING IT.",
      "INSTEAD IT'S A GOOD IDEA TO KEEP SPACE PRESSED MOST OF THE TIME,",
      "SO WHEN THE BALL TOUCHES SOMETHING IT WILL AUTOMATICALLY JUMP.",
  };
  FlushKeyboard();
  for (;;) {
    Cls();
    varycol();
    drawtitle();
    setcolour(unicol[2]);
    for (int k = 0; k < 6; ++k) drawcentred(keys[k], 3.0 * xwin / 1024 * 0.1, at1024(180) + k * at1024(50));
    for (int k = 0; k < 4; ++k) drawcentred(notes[k], 1.5 * xwin / 1024 * 0.1, at1024(530) + k * at1024(40));
    Flip(-1);
    checkclose();
    if (KeyPresses(KEY_ENTER) || KeyPresses(KEY_SPACE) || KeyPresses(KEY_ESCAPE)) return;
  }
}

void game::doscritta(double yfraction) {
  if (temposcritta >= 0) temposcritta--;
  if (temposcritta >= 0) {
    SetAlpha(static_cast<double>(temposcritta) / kCaptionFrames);
    setcolour(unicol[1]);
    // The caption spans the whole width; an empty one has no width to span.
    const int width = StringWidth(scritta);
    if (width > 0) {
      const double s = static_cast<double>(xwin) / width;
      SetDrawScale(s, s);
      DrawString(scritta, 0, TruncInt(ywin * yfraction - FontHeight() / 2 * s));
    }
  }
  SetDrawScale(1, 1);
  SetAlpha(1);
}

void game::countfps(int hide) {
  time++;
  SetDrawScale(0.15, 0.15);
  if (hide == 0) {
    DrawString("x" + std::to_string(lives), 35, 20);
    SetDrawScale(0.07, 0.07);
    setcolour(unicol[0]);
    DrawSprite(tumbosprite, 24, 32);
  }
  SetDrawScale(1, 1);
}

void game::pause(std::string& result) {
  if (KeyPresses(KEY_R) && mode != "gameover") died(result);
  if (KeyPresses(KEY_P) && mode != "gameover") {
    // The frame drawn so far stays on screen while the world stands still.
    sprite frozen = CreateSprite(xwin, ywin, SPRITE_DYNAMIC);
    SetColor(255, 255, 255);
    GrabSprite(frozen, 0, 0);
    do {
      DrawSprite(frozen, 0, 0);
      Flip(-1);
      checkclose();
    } while (!KeyPresses(KEY_P) && !KeyPresses(KEY_ESCAPE));
  }
}
