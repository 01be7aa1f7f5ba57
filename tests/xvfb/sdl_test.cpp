// The real SDL backend: a window under Xvfb, and sound through SDL's disk
// audio driver, whose output file shows exactly what reached the device.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "tests/support/harness.h"

namespace fs = std::filesystem;

namespace {

const std::string kAudioFile = std::string(TUMBO_BINARY_DIR) + "/sdl-disk-audio.raw";

// The audio driver is chosen when SDL starts its audio, so before any test.
const bool audio_chosen = [] {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", kAudioFile.c_str(), 1);
  return true;
}();

struct rgb {
  int r, g, b;
};

struct picture {
  plat::image img;
  rgb at(int x, int y) const {
    const uint8_t* p = &img.rgba[(size_t(y) * img.w + x) * 4];
    return {p[0], p[1], p[2]};
  }
  bool black(int x, int y) const {
    rgb c = at(x, y);
    return c.r + c.g + c.b == 0;
  }
};

picture screenshot(const std::string& path) {
  picture p;
  EXPECT_TRUE(SaveScreenshot(path));
  EXPECT_TRUE(plat::decode_png(path, p.img));
  return p;
}

// A 40 x 20 picture: white on its left half, mid grey on its right.
sprite bar(const harness::gamedir&) {
  std::vector<uint8_t> px(40 * 20 * 4, 255);
  for (int y = 0; y < 20; y++)
    for (int x = 20; x < 40; x++)
      for (int c = 0; c < 3; c++) px[(y * 40 + x) * 4 + c] = 128;
  EXPECT_TRUE(WritePNG("bar.png", 40, 20, px));
  return LoadSprite("bar.png");
}

}  // namespace

TEST(SdlWindow, SpritesLinesAndTextLandWhereTheTransformPutsThem) {
  ASSERT_TRUE(audio_chosen);
  harness::gamedir dir;
  UseSdlBackend();
  SetAppTitle("TUMBO");
  ASSERT_TRUE(OpenGraphics(320, 240, 0, 60));
  SetBlend(BLEND_ALPHA);
  SetAutoSpriteFlags(SPRITE_MASKED | SPRITE_FILTERED | SPRITE_MIPMAPPED);
  sprite s = bar(dir);
  ASSERT_TRUE(s);
  CenterSpriteHandle(s);
  font f = LoadFont(harness::source("media/zekton__.ttf"), 128, 1);
  ASSERT_TRUE(f);
  SetFont(f);

  Cls();
  // Turned a quarter clockwise about its centre at (100, 100): the white half
  // ends up above the centre, the grey half below; tinted red.
  SetColor(255, 0, 0);
  SetDrawRotation(90);
  DrawSprite(s, 100, 100);
  SetDrawRotation(0);
  // Mirrored and half size at (250, 100): the grey half now on the left.
  SetColor(255, 255, 255);
  SetDrawScale(-0.5, 0.5);
  DrawSprite(s, 250, 100);
  SetDrawScale(1, 1);
  SetColor(0, 255, 0);
  DrawLine(10, 200, 300, 200);
  // A line turned by the transform: from (20, 20) towards (20 + 50, 20)
  // rotated 90 degrees, so straight down.
  SetDrawRotation(90);
  DrawLine(20, 20, 70, 20);
  SetDrawRotation(0);
  SetColor(0, 0, 255);
  SetDrawScale(0.25, 0.25);
  DrawString("TUMBO", 150, 20);
  int tw = int(StringWidth("TUMBO") * 0.25), th = int(FontHeight() * 0.25);
  // Small text comes from the halved copies of the glyphs and stays legible.
  SetColor(255, 255, 0);
  SetDrawScale(0.1, 0.1);
  DrawString("Small text at a tenth of its size", 10, 150);
  SetDrawScale(0.2, 0.2);
  DrawString("and at a fifth", 10, 165);
  SetDrawScale(1, 1);
  SetColor(255, 255, 255);
  picture p = screenshot(std::string(TUMBO_BINARY_DIR) + "/platform-test.png");
  ASSERT_EQ(p.img.w, 320);
  ASSERT_EQ(p.img.h, 240);

  rgb top = p.at(100, 88), bottom = p.at(100, 112);
  EXPECT_EQ(top.r, 255);
  EXPECT_EQ(top.g + top.b, 0);
  EXPECT_NEAR(bottom.r, 128, 2);
  EXPECT_EQ(bottom.g + bottom.b, 0);
  EXPECT_TRUE(p.black(100, 125));  // 20 below the centre is outside
  EXPECT_TRUE(p.black(85, 100));   // 10 beside it too
  EXPECT_FALSE(p.black(92, 100));

  rgb left = p.at(243, 100), right = p.at(257, 100);
  EXPECT_NEAR(left.r, 128, 3);
  EXPECT_EQ(right.r, 255);
  EXPECT_TRUE(p.black(250, 108));
  EXPECT_TRUE(p.black(262, 100));

  EXPECT_EQ(p.at(150, 200).g, 255);
  EXPECT_TRUE(p.black(150, 203));
  EXPECT_TRUE(p.black(305, 200));
  EXPECT_EQ(p.at(20, 50).g, 255);
  EXPECT_TRUE(p.black(45, 20));

  // Text: blue only inside its box, and some of the box is blue.
  int inside = 0, outside = 0;
  for (int y = 0; y < 70; y++)
    for (int x = 100; x < 320; x++) {
      bool blue = p.at(x, y).b > 40;
      bool in = x >= 150 && x < 150 + tw + 2 && y >= 20 && y < 20 + th + 2;
      (in ? inside : outside) += blue;
    }
  EXPECT_GT(inside, tw * th / 8);
  EXPECT_EQ(outside, 0);

  // Grabbing copies the back buffer into a sprite that draws it back.
  sprite frozen = CreateSprite(320, 240, SPRITE_DYNAMIC);
  GrabSprite(frozen, 0, 0);
  EXPECT_EQ(frozen->pixels.rgba[(200 * 320 + 150) * 4 + 1], 255);
  Flip(-1);
  Cls();
  DrawSprite(frozen, 0, 0);
  picture again = screenshot(dir.path() + "/again.png");
  EXPECT_EQ(again.at(150, 200).g, 255);
  EXPECT_EQ(again.at(100, 88).r, 255);

  // Additive light adds onto what is there.
  Cls();
  SetColor(100, 0, 0);
  DrawLine(0, 5, 319, 5);
  SetBlend(BLEND_LIGHT);
  SetAlpha(0.5);
  SetColor(100, 100, 0);
  DrawLine(0, 5, 319, 5);
  SetAlpha(1);
  SetBlend(BLEND_ALPHA);
  picture light = screenshot(dir.path() + "/light.png");
  EXPECT_NEAR(light.at(160, 5).r, 150, 2);
  EXPECT_NEAR(light.at(160, 5).g, 50, 2);

  // Window pacing holds the loop to 60 frames a second.
  int32_t start = ClockMillis();
  for (int i = 0; i < 30; i++) Flip(-1);
  int32_t took = ClockMillis() - start;
  EXPECT_GE(took, 480);
  EXPECT_LT(took, 1500);
  EXPECT_EQ(CloseRequested(), 0);
  CloseGraphics();
  // It opens again after closing; old sprites are drawn after a reload.
  ASSERT_TRUE(OpenGraphics(200, 100, 0, 60));
  DrawSprite(s, 50, 50);
  Flip(-1);
  CloseGraphics();
  headless::install();
}

TEST(SdlSound, CuedSoundReachesTheDeviceAtItsVolumeAndEnds) {
  harness::gamedir dir;
  std::error_code ec;
  fs::remove(kAudioFile, ec);
  UseSdlBackend();
  const int frames = 11025;  // a quarter of a second
  ASSERT_TRUE(WriteWAV("s.wav", 44100, std::vector<int16_t>(frames, 16000)));
  sound s = LoadSoundFile("s.wav");
  ASSERT_TRUE(s);
  channel c = s.Cue();
  c.SetVolume(0.5f);
  c.SetPaused(0);
  EXPECT_EQ(c.Playing(), 1);
  auto start = std::chrono::steady_clock::now();
  while (c.Playing() && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(c.Playing(), 0);
  // Let the device write out what it holds, then close it.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  headless::install();

  std::ifstream in(kAudioFile, std::ios::binary);
  std::vector<int16_t> out;
  for (int16_t v; in.read(reinterpret_cast<char*>(&v), 2);) out.push_back(v);
  ASSERT_FALSE(out.empty());
  int loud = 0, other = 0;
  const int half = int(std::lround(16000 / 32768.0 * 0.5 * 32767));
  for (int16_t v : out) {
    if (std::abs(v - half) <= 1)
      loud++;
    else if (v != 0)
      other++;
  }
  EXPECT_EQ(loud, frames * 2);  // both channels, every frame
  EXPECT_EQ(other, 0);
}

// Keys arrive from the X server as a user would press them (xdotool sends
// them through the XTEST extension to the window under the pointer).
TEST(SdlKeyboard, KeyEventsFillTheTablesAndTheTypedQueue) {
  UseSdlBackend();
  SetAppTitle("TUMBO keys");
  ASSERT_TRUE(OpenGraphics(200, 150, 0, 60));
  for (int i = 0; i < 10; i++) Flip(-1);
  FlushKeyboard();
  ASSERT_EQ(std::system("xdotool search --sync --name 'TUMBO keys' windowfocus --sync mousemove 100 100 "
                        "key --delay 30 Left Left KP_Enter Escape a 8 BackSpace"),
            0);
  for (int i = 0; i < 20; i++) Flip(-1);
  EXPECT_EQ(KeyPresses(KEY_LEFT), 2);
  EXPECT_EQ(KeyPresses(KEY_LEFT), 0);
  EXPECT_EQ(KeyPresses(KEY_ENTER), 1);
  EXPECT_EQ(KeyPresses(KEY_ESCAPE), 1);
  EXPECT_EQ(KeyPresses(KEY_A), 1);
  EXPECT_EQ(KeyPresses(KEY_8), 1);
  EXPECT_EQ(KeyHeld(KEY_LEFT), 0);
  std::string typed;
  for (int c; (c = NextTypedChar()) != 0;) typed += char(c);
  EXPECT_EQ(typed, "\ra8\b");
  ASSERT_EQ(std::system("xdotool keydown Right"), 0);
  for (int i = 0; i < 5; i++) Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 1);
  ASSERT_EQ(std::system("xdotool keyup Right"), 0);
  for (int i = 0; i < 5; i++) Flip(-1);
  EXPECT_EQ(KeyHeld(KEY_RIGHT), 0);
  EXPECT_EQ(KeyPresses(KEY_RIGHT), 1);
  CloseGraphics();
  headless::install();
}

// Full screen keeps the game's own size in the back buffer, letterboxed on
// the display without a mode switch.
TEST(SdlWindow, FullScreenDrawsAtTheChosenSize) {
  harness::gamedir dir;
  UseSdlBackend();
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 60));
  Cls();
  SetColor(0, 255, 0);
  DrawLine(0, 240, 639, 240);
  picture p = screenshot(dir.path() + "/full.png");
  EXPECT_EQ(p.img.w, 640);
  EXPECT_EQ(p.img.h, 480);
  EXPECT_EQ(p.at(320, 240).g, 255);
  EXPECT_TRUE(p.black(320, 242));
  Flip(-1);
  CloseGraphics();
  headless::install();
}
