#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "tests/support/harness.h"

namespace {

uint32_t le32(const std::string& b, size_t at) {
  return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t le16(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }

// Milliseconds of virtual time a sound plays for on the headless backend,
// measured in steps of step ms; -1 when it still plays after limit ms.
int playtime(const sound& s, int step, int limit) {
  channel c = s.Cue();
  if (!c) return 0;
  c.SetVolume(1);
  c.SetPaused(0);
  for (int t = 0; t <= limit; t += step) {
    if (!c.Playing()) return t;
    headless::advance_clock(step);
    Flip(0);
  }
  return -1;
}

std::vector<float> stereosine(int frames, int rate) {
  std::vector<float> v(2 * size_t(frames));
  for (int i = 0; i < frames; i++) {
    v[2 * i] = float(0.5 * std::sin(2 * M_PI * 440 * i / rate));
    v[2 * i + 1] = float(0.25 * std::sin(2 * M_PI * 660 * i / rate));
  }
  return v;
}

}  // namespace

TEST(Encoders, PngKeepsItsSizeAndRefusesBadInput) {
  harness::gamedir dir;
  headless::install();
  std::vector<uint8_t> px(37 * 11 * 4);
  for (size_t i = 0; i < px.size(); i++) px[i] = uint8_t(i * 7);
  ASSERT_TRUE(WritePNG("odd.png", 37, 11, px));
  EXPECT_EQ(dir.read("odd.png").substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  sprite s = LoadSprite("odd.png");
  ASSERT_TRUE(s);
  EXPECT_EQ(SpriteWidth(s), 37);
  EXPECT_EQ(SpriteHeight(s), 11);

  // A pixel buffer of the wrong size, or no pixels at all, writes nothing.
  EXPECT_FALSE(WritePNG("short.png", 37, 12, px));
  EXPECT_FALSE(WritePNG("none.png", 0, 0, {}));
  EXPECT_EQ(FileKind("short.png"), 0);
  EXPECT_EQ(FileKind("none.png"), 0);
  // An unwritable place fails without leaving a partial file behind.
  EXPECT_FALSE(WritePNG("missing/odd.png", 37, 11, px));
  EXPECT_FALSE(WriteWAV("missing/a.wav", 22050, {1, 2, 3}));
  EXPECT_FALSE(WriteOgg("missing/a.ogg", 44100, stereosine(100, 44100), 0.4f));
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << e.path();
}

TEST(Encoders, WavHeaderAndSamplesAreExact) {
  harness::gamedir dir;
  headless::install();
  std::vector<int16_t> mono(22050);
  for (size_t i = 0; i < mono.size(); i++)
    mono[i] = int16_t(i % 2 ? -32768 + int(i % 7) : 32767 - int(i % 5));
  ASSERT_TRUE(WriteWAV("one.wav", 22050, mono));
  std::string b = dir.read("one.wav");
  ASSERT_EQ(b.size(), 44u + 2 * mono.size());
  EXPECT_EQ(b.substr(0, 4), "RIFF");
  EXPECT_EQ(le32(b, 4), b.size() - 8);
  EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(le32(b, 16), 16u);
  EXPECT_EQ(le16(b, 20), 1);  // PCM
  EXPECT_EQ(le16(b, 22), 1);  // mono
  EXPECT_EQ(le32(b, 24), 22050u);
  EXPECT_EQ(le32(b, 28), 44100u);  // bytes per second
  EXPECT_EQ(le16(b, 32), 2);
  EXPECT_EQ(le16(b, 34), 16);
  EXPECT_EQ(b.substr(36, 4), "data");
  EXPECT_EQ(le32(b, 40), 2 * mono.size());
  for (size_t i : {size_t(0), size_t(1), size_t(12345), mono.size() - 1})
    EXPECT_EQ(int16_t(le16(b, 44 + 2 * i)), mono[i]) << i;

  // The game hears one second: the rate and length in the header agree.
  sound s = LoadSoundFile("one.wav");
  ASSERT_TRUE(s);
  int ms = playtime(s, 5, 3000);
  EXPECT_GE(ms, 1000);
  EXPECT_LE(ms, 1005);
}

TEST(Encoders, OggDecodesToTheLengthWritten) {
  harness::gamedir dir;
  headless::install();
  ASSERT_TRUE(WriteOgg("tone.ogg", 44100, stereosine(66150, 44100), 0.4f));  // 1.5 s
  std::string b = dir.read("tone.ogg");
  EXPECT_EQ(b.substr(0, 4), "OggS");
  EXPECT_NE(b.find("vorbis"), std::string::npos);
  sound s = LoadSoundFile("tone.ogg");
  ASSERT_TRUE(s);
  int ms = playtime(s, 5, 5000);
  EXPECT_GE(ms, 1500);
  EXPECT_LE(ms, 1505);

  // Writing the same input twice gives the same bytes.
  ASSERT_TRUE(WriteOgg("again.ogg", 44100, stereosine(66150, 44100), 0.4f));
  EXPECT_EQ(dir.read("again.ogg"), b);
  // Interleaved stereo needs an even count.
  std::vector<float> odd(101, 0.1f);
  EXPECT_FALSE(WriteOgg("odd.ogg", 44100, odd, 0.4f));
  EXPECT_EQ(FileKind("odd.ogg"), 0);
}

// The shipped media load and have the sizes the drawing relies on: ball
// images 296 across draw a ball exactly 2r wide, the link image 400 x 100
// draws a bar exactly as long as the link and as thick as its width.
TEST(Media, ShippedFilesLoadWithTheirDrawingSizes) {
  headless::install();
  SetAutoSpriteFlags(7);
  struct expect {
    const char* file;
    int w, h;
  };
  for (const expect& e : {expect{"media/tumbo.png", 296, 296}, expect{"media/ball.png", 296, 296},
                          expect{"media/plat.png", 400, 100}, expect{"media/205275.png", 205, 275},
                          expect{"media/spark.png", 32, 32}}) {
    sprite s = LoadSprite(harness::source(e.file));
    ASSERT_TRUE(s) << e.file;
    EXPECT_EQ(SpriteWidth(s), e.w) << e.file;
    EXPECT_EQ(SpriteHeight(s), e.h) << e.file;
  }
  sound jump = LoadSoundFile(harness::source("media/jump.wav"));
  ASSERT_TRUE(jump);
  int ms = playtime(jump, 5, 2000);
  EXPECT_GE(ms, 150);
  EXPECT_LE(ms, 400);
  sound music = LoadSoundFile(harness::source("media/1.ogg"));
  ASSERT_TRUE(music);
  EXPECT_GE(playtime(music, 100, 600000), 60000);
}
