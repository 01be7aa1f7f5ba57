// Loading pictures, sounds and fonts, whole and damaged.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "tests/support/harness.h"

namespace {

std::vector<uint8_t> picture(int w, int h) {
  std::vector<uint8_t> px(size_t(w) * h * 4, 255);
  // Top-left pixel black, the next one dark grey.
  px[0] = px[1] = px[2] = 0;
  px[4] = px[5] = px[6] = 1;
  return px;
}

std::vector<int16_t> tone(int frames, int amplitude) {
  std::vector<int16_t> s(frames);
  for (int i = 0; i < frames; i++) s[i] = int16_t(i % 2 ? amplitude : -amplitude);
  return s;
}

// Damaged copies of a file: cut in half, cut to its first bytes, and with a
// run of bytes in the middle overwritten.
void damage(const harness::gamedir& dir, const std::string& name) {
  std::string bytes = dir.read(name);
  dir.write("half-" + name, bytes.substr(0, bytes.size() / 2));
  dir.write("head-" + name, bytes.substr(0, 20));
  std::string bad = bytes;
  for (size_t i = bad.size() / 3; i < bad.size() / 3 + 40 && i < bad.size(); i++) bad[i] = char(i * 7);
  dir.write("bad-" + name, bad);
  dir.write("empty-" + name, "");
  dir.write("text-" + name, "not a file of this kind\n");
}

const char* const kDamage[] = {"half-", "head-", "bad-", "empty-", "text-", "missing-"};

}  // namespace

TEST(Sprites, LoadWithMaskSizeAndHandle) {
  headless::install();
  harness::gamedir dir;
  ASSERT_TRUE(WritePNG("p.png", 5, 3, picture(5, 3)));
  sprite s = LoadSprite("p.png");  // default flags mask black
  ASSERT_TRUE(s);
  EXPECT_EQ(SpriteWidth(s), 5);
  EXPECT_EQ(SpriteHeight(s), 3);
  EXPECT_EQ(s->pixels.rgba[3], 0);    // black became clear
  EXPECT_EQ(s->pixels.rgba[7], 255);  // nearly black stays
  EXPECT_EQ(s->pixels.rgba[8 * 4 + 3], 255);
  CenterSpriteHandle(s);
  EXPECT_EQ(s->hx, 2.5);
  EXPECT_EQ(s->hy, 1.5);
  SetAutoSpriteFlags(SPRITE_FILTERED);
  sprite plain = LoadSprite("p.png");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->pixels.rgba[3], 255);
  EXPECT_EQ(plain->flags, SPRITE_FILTERED);
  // Drawing records the file name; an empty sprite has no size.
  OpenGraphics(640, 480, 0, 60);
  DrawSprite(s, 10, 20);
  ASSERT_EQ(headless::calls().size(), 1u);
  EXPECT_EQ(headless::calls()[0].text, "p.png");
  EXPECT_EQ(SpriteWidth(sprite()), 0);
  sprite made = CreateSprite(64, 32, SPRITE_DYNAMIC);
  ASSERT_TRUE(made);
  EXPECT_EQ(made->flags, SPRITE_DYNAMIC);
  EXPECT_EQ(SpriteHeight(made), 32);
  EXPECT_FALSE(CreateSprite(0, 10, 0));
}

TEST(Sprites, DamagedPicturesGiveNone) {
  headless::install();
  harness::gamedir dir;
  ASSERT_TRUE(WritePNG("p.png", 64, 64, picture(64, 64)));
  damage(dir, "p.png");
  for (const char* d : kDamage) EXPECT_FALSE(LoadSprite(std::string(d) + "p.png")) << d;
  // A header that promises an enormous picture is refused before allocating.
  std::string huge = dir.read("p.png");
  huge[16] = 0x7f;  // width's top byte
  dir.write("huge.png", huge);
  EXPECT_FALSE(LoadSprite("huge.png"));
  EXPECT_FALSE(LoadSprite("media"));
}

TEST(Sounds, WavPlaysForItsRealLengthOnTheVirtualClock) {
  headless::install();
  harness::gamedir dir;
  ASSERT_TRUE(WriteWAV("s.wav", 22050, tone(11025, 1000)));  // half a second
  sound s = LoadSoundFile("s.wav");
  ASSERT_TRUE(s);
  EXPECT_EQ(s.data()->frames(), 22050u);
  EXPECT_NEAR(s.data()->samples[4], 1000 / 32768.0, 1e-6);  // converted, not rescaled
  OpenGraphics(640, 480, 0, 60);
  channel c = s.Cue();
  ASSERT_TRUE(c);
  EXPECT_EQ(c.Playing(), 1);  // cued paused
  for (int i = 0; i < 40; i++) Flip(-1);
  EXPECT_EQ(c.Playing(), 1);  // paused channels wait
  c.SetVolume(0.5f);
  c.SetPaused(0);
  for (int i = 0; i < 29; i++) Flip(-1);
  EXPECT_EQ(c.Playing(), 1);
  Flip(-1);  // 30 frames = 500 ms
  EXPECT_EQ(c.Playing(), 0);
  channel stopped = s.Cue();
  stopped.SetPaused(0);
  stopped.Stop();
  EXPECT_EQ(stopped.Playing(), 0);
  channel none = sound().Cue();
  EXPECT_FALSE(none);
  none.SetVolume(1);
  none.SetPaused(0);
  none.Stop();
  EXPECT_EQ(none.Playing(), 0);
}

TEST(Sounds, MixerAppliesVolumeAndLetsDroppedChannelsFinish) {
  headless::install();
  harness::gamedir dir;
  ASSERT_TRUE(WriteWAV("s.wav", 44100, std::vector<int16_t>(100, 16384)));
  sound s = LoadSoundFile("s.wav");
  ASSERT_TRUE(s);
  channel a = s.Cue();
  a.SetVolume(0.5f);
  a.SetPaused(0);
  {
    channel b = s.Cue();  // dropped while playing: still heard
    b.SetVolume(0.25f);
    b.SetPaused(0);
    channel c = s.Cue();  // dropped while paused: never heard
  }
  std::vector<float> out(2 * 150, 0.0f);
  plat::sounds().mix(out.data(), 150);
  EXPECT_FLOAT_EQ(out[0], 0.5f * 0.75f);
  EXPECT_FLOAT_EQ(out[2 * 99 + 1], 0.5f * 0.75f);
  EXPECT_EQ(out[2 * 100], 0.0f);
  EXPECT_EQ(a.Playing(), 0);
}

TEST(Sounds, OggVorbisDecodes) {
  headless::install();
  harness::gamedir dir;
  std::vector<float> st(2 * 44100);
  for (size_t i = 0; i < st.size() / 2; i++) st[i * 2] = st[i * 2 + 1] = 0.5f * std::sin(i * 0.05f);
  ASSERT_TRUE(WriteOgg("m.ogg", 44100, st, 0.4f));
  sound s = LoadSoundFile("m.ogg");
  ASSERT_TRUE(s);
  EXPECT_EQ(s.data()->frames(), 44100u);
  float peak = 0;
  for (float v : s.data()->samples) peak = std::max(peak, std::fabs(v));
  EXPECT_NEAR(peak, 0.5f, 0.05f);
}

TEST(Sounds, DamagedSoundsGiveNone) {
  headless::install();
  harness::gamedir dir;
  ASSERT_TRUE(WriteWAV("s.wav", 44100, tone(4000, 3000)));
  std::vector<float> st(2 * 44100, 0.25f);
  ASSERT_TRUE(WriteOgg("m.ogg", 44100, st, 0.4f));
  damage(dir, "s.wav");
  damage(dir, "m.ogg");
  for (const char* d : kDamage) {
    // Overwritten samples still make a valid WAV; everything else is refused.
    if (std::string(d) != "bad-") {
      EXPECT_FALSE(LoadSoundFile(std::string(d) + "s.wav")) << d;
    }
    EXPECT_FALSE(LoadSoundFile(std::string(d) + "m.ogg")) << d;
  }
  EXPECT_TRUE(LoadSoundFile("bad-s.wav"));
  // A WAV whose header claims a format it does not hold.
  std::string wav = dir.read("s.wav");
  std::string odd = wav;
  odd[22] = 0;  // no channels
  dir.write("odd.wav", odd);
  EXPECT_FALSE(LoadSoundFile("odd.wav"));
  odd = wav;
  odd[34] = 12;  // 12-bit samples
  dir.write("odd.wav", odd);
  EXPECT_FALSE(LoadSoundFile("odd.wav"));
}

TEST(Fonts, WidthsHeightAndMissingGlyphs) {
  headless::install();
  EXPECT_EQ(StringWidth("abc"), 0);  // no font yet
  EXPECT_EQ(FontHeight(), 0);
  DrawString("nothing", 0, 0);
  font f = LoadFont(harness::source("media/zekton__.ttf"), 128, 1);
  ASSERT_TRUE(f);
  SetFont(f);
  EXPECT_EQ(StringWidth(""), 0);
  EXPECT_GT(FontHeight(), 128);
  EXPECT_LT(FontHeight(), 200);
  int a = StringWidth("A"), b = StringWidth("B");
  EXPECT_GT(a, 50);
  EXPECT_EQ(StringWidth("AB"), a + b);
  EXPECT_EQ(StringWidth("A\x01"
                        "B"),
            a + b);  // no glyph: nothing added
  EXPECT_GT(StringWidth(" "), 0);
  EXPECT_EQ(StringWidth("\xe9"), StringWidth("\xc9") - (StringWidth("\xc9") - StringWidth("\xe9")));
  EXPECT_GT(StringWidth("\xe9"), 0);  // Latin-1 letters have glyphs
  font small = LoadFont(harness::source("media/zekton__.ttf"), 16, 0);
  ASSERT_TRUE(small);
  SetFont(small);
  EXPECT_LT(StringWidth("AB"), a + b);
  OpenGraphics(640, 480, 0, 60);
  DrawString("HELLO", 3, 4);
  ASSERT_EQ(headless::calls().size(), 1u);
  EXPECT_EQ(headless::calls()[0].text, "HELLO");
}

TEST(Fonts, DamagedFontsGiveNone) {
  harness::gamedir dir;
  dir.write("f.ttf", harness::gamedir(".").read(harness::source("media/zekton__.ttf")));
  damage(dir, "f.ttf");
  for (const char* d : {"head-", "empty-", "text-", "missing-"})
    EXPECT_FALSE(LoadFont(std::string(d) + "f.ttf", 128, 1)) << d;
  // A file cut in half or overwritten must at least load without crashing.
  for (const char* d : {"half-", "bad-"}) {
    font f = LoadFont(std::string(d) + "f.ttf", 128, 1);
    if (f) {
      EXPECT_GE(f->height, 0);
    }
  }
  EXPECT_FALSE(LoadFont(harness::source("media/zekton__.ttf"), 0, 1));
}
