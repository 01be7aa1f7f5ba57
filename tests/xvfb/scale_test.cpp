// A window the user resizes keeps the game's picture whole: scaled by the
// same factor across and down, centred between black bars, while the game
// still draws at the size it chose.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "tests/support/harness.h"

namespace {

struct shot {
  plat::image img;
  bool lit(int x, int y, int channel) const { return img.rgba[(size_t(y) * img.w + x) * 4 + channel] > 128; }
  bool black(int x, int y) const {
    const uint8_t* p = &img.rgba[(size_t(y) * img.w + x) * 4];
    return p[0] + p[1] + p[2] < 30;
  }
  // First and last rows (or columns) along a line where the channel is lit.
  std::pair<int, int> span(int channel, int at, bool across) const {
    int first = -1, last = -1, n = across ? img.w : img.h;
    for (int i = 0; i < n; i++)
      if (across ? lit(i, at, channel) : lit(at, i, channel)) {
        if (first < 0) first = i;
        last = i;
      }
    return {first, last};
  }
};

// What the X server shows: the whole screen, as a user would see it.
shot grab_screen(const std::string& path) {
  shot s;
  EXPECT_EQ(std::system(("import -window root -depth 8 PNG24:" + path).c_str()), 0);
  EXPECT_TRUE(plat::decode_png(path, s.img));
  return s;
}

// A frame with a red top row, a blue left column and a green square of 100
// pixels centred on a picture of the given size.
void draw_pattern(int w = 640, int h = 480) {
  Cls();
  SetColor(255, 0, 0);
  DrawLine(0, 0, w - 1, 0);
  SetColor(0, 0, 255);
  DrawLine(0, 0, 0, h - 1);
  SetColor(0, 255, 0);
  for (int y = h / 2 - 50; y < h / 2 + 50; y++) DrawLine(w / 2 - 50, y, w / 2 + 49, y);
  SetColor(255, 255, 255);
}

}  // namespace

TEST(SdlScaling, AResizedWindowShowsThePictureCentredAndUndistorted) {
  harness::gamedir dir;
  UseSdlBackend();
  SetAppTitle("TUMBO scale");
  ASSERT_TRUE(OpenGraphics(640, 480, 0, 60));
  for (int i = 0; i < 5; i++) {
    draw_pattern();
    Flip(-1);
  }
  // The screen is 1280 x 1024; the window is made to fill it. The request
  // runs beside the game, which keeps drawing and so keeps answering the X
  // server until it is done; bounded in time in case a notification is
  // missed. Its exit status lands in a file once it has finished.
  ASSERT_EQ(std::system("(timeout 30 xdotool search --sync --name 'TUMBO scale' windowmove 0 0 "
                        "windowsize 1280 1024; echo $? > resize.tmp; mv resize.tmp resized) &"),
            0);
  std::string status;
  for (int i = 0; i < 40 * 60 && status.empty(); i++) {
    draw_pattern();
    Flip(-1);
    status = dir.read("resized");
  }
  ASSERT_EQ(status, "0\n");
  // The frames after it let the game see its new size.
  for (int i = 0; i < 30; i++) {
    draw_pattern();
    Flip(-1);
  }
  draw_pattern();
  Flip(-1);
  shot s = grab_screen(std::string(TUMBO_BINARY_DIR) + "/scaled-window.png");
  ASSERT_EQ(s.img.w, 1280);
  ASSERT_EQ(s.img.h, 1024);
  // Twice the size both ways (1280 / 640, with 1024 / 480 the larger), so the
  // picture is 1280 x 960 with bars of 32 rows above and below.
  for (int x = 0; x < 1280; x += 7) {
    EXPECT_TRUE(s.black(x, 10)) << x;
    EXPECT_TRUE(s.black(x, 1013)) << x;
  }
  auto top = s.span(0, 640, false);  // red down the middle column
  EXPECT_NEAR(top.first, 32, 1);
  EXPECT_LE(top.second, 34);
  auto left = s.span(2, 500, true);  // blue along a row
  EXPECT_NEAR(left.first, 0, 1);
  EXPECT_LE(left.second, 2);
  auto wide = s.span(1, 32 + 480, true), high = s.span(1, 640, false);
  EXPECT_NEAR(wide.first, 540, 2);
  EXPECT_NEAR(wide.second, 739, 2);
  EXPECT_NEAR(high.first, 32 + 380, 2);
  EXPECT_NEAR(high.second, 32 + 579, 2);
  EXPECT_NEAR(wide.second - wide.first, high.second - high.first, 1);  // still a square

  // The game keeps drawing at its own size.
  std::string own = dir.path() + "/own.png";
  draw_pattern();
  ASSERT_TRUE(SaveScreenshot(own));
  plat::image back;
  ASSERT_TRUE(plat::decode_png(own, back));
  EXPECT_EQ(back.w, 640);
  EXPECT_EQ(back.h, 480);
  EXPECT_EQ(back.rgba[(size_t(240) * 640 + 320) * 4 + 1], 255);
  Flip(-1);
  CloseGraphics();
  headless::install();
}

// Xvfb has no window manager, so nothing carries out a full-screen request:
// the game must see that and show its picture whole in a window of its size
// rather than laying it out for the whole screen and showing a corner.
TEST(SdlScaling, FullScreenThatIsNotCarriedOutBecomesAWindowOfTheChosenSize) {
  harness::gamedir dir;
  UseSdlBackend();
  SetAppTitle("TUMBO full");
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 60));
  for (int i = 0; i < 30; i++) {
    draw_pattern();
    Flip(-1);
  }
  shot s = grab_screen(std::string(TUMBO_BINARY_DIR) + "/fullscreen-fallback.png");
  ASSERT_EQ(s.img.w, 1280);
  // At its own size, centred: the square is 100 pixels across, not doubled.
  auto wide = s.span(1, 512, true), high = s.span(1, 640, false);
  EXPECT_EQ(wide.second - wide.first + 1, 100);
  EXPECT_EQ(high.second - high.first + 1, 100);
  // The red top row and the blue left column are whole: 640 and 480 long
  // (the column, drawn last, takes the corner).
  auto top = s.span(0, high.first - 190, true);
  EXPECT_EQ(top.second - top.first + 2, 640);
  auto left = s.span(2, wide.first - 270, false);
  EXPECT_EQ(left.second - left.first + 1, 480);
  CloseGraphics();
  headless::install();
}

// Run on an 800 x 600 screen (a test of its own): a 1024 x 768 window does not
// fit, so it opens at the largest size that does, with the picture scaled
// into it whole and the game still drawing at its own size.
TEST(SmallScreen, AWindowLargerThanTheScreenOpensAtTheLargestSizeThatFits) {
  harness::gamedir dir;
  UseSdlBackend();
  SetAppTitle("TUMBO small");
  ASSERT_TRUE(OpenGraphics(1024, 768, 0, 60));
  auto pattern = [] { draw_pattern(1024, 768); };
  for (int i = 0; i < 30; i++) {
    pattern();
    Flip(-1);
  }
  shot s = grab_screen(std::string(TUMBO_BINARY_DIR) + "/small-screen.png");
  ASSERT_EQ(s.img.w, 800);
  ASSERT_EQ(s.img.h, 600);
  // 800 / 1024 both ways: the top row runs the screen's width at its top, the
  // left column its height, and the square is 78 pixels across.
  auto top = s.span(0, 400, false);
  EXPECT_EQ(top.first, 0);
  auto across = s.span(0, 0, true);
  EXPECT_LE(across.first, 1);
  EXPECT_GE(across.second, 798);
  auto down = s.span(2, 0, false);
  EXPECT_EQ(down.first, 0);
  EXPECT_GE(down.second, 598);
  auto wide = s.span(1, 300, true);
  EXPECT_NEAR(wide.second - wide.first + 1, 78, 2);
  std::string own = dir.path() + "/own.png";
  pattern();
  ASSERT_TRUE(SaveScreenshot(own));
  plat::image back;
  ASSERT_TRUE(plat::decode_png(own, back));
  EXPECT_EQ(back.w, 1024);
  EXPECT_EQ(back.h, 768);
  Flip(-1);
  CloseGraphics();
  headless::install();
}
