// Long Ogg Vorbis sounds are decoded by each channel as it plays: they must
// sound exactly like the same file decoded whole, from any position.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "tests/support/harness.h"

namespace {

constexpr size_t kFrames = 3 * 44100 + 777;

// Streams every Ogg sound longer than `frames` while alive.
struct streamfrom {
  size_t old = plat::stream_frames;
  explicit streamfrom(size_t frames) { plat::stream_frames = frames; }
  ~streamfrom() { plat::stream_frames = old; }
};

std::vector<float> music() {
  std::vector<float> st(2 * kFrames);
  for (size_t i = 0; i < kFrames; i++) {
    st[i * 2] = 0.5f * std::sin(float(i) * 0.03f);
    st[i * 2 + 1] = 0.3f * std::sin(float(i) * 0.011f);
  }
  return st;
}

// The mixer's output for frames [from, from + n) of a fresh channel of s,
// reached by advancing without output.
std::vector<float> heard(const sound& s, size_t from, size_t n, float volume) {
  plat::sounds().clear();
  channel c = s.Cue();
  c.SetVolume(volume);
  c.SetPaused(0);
  if (from > 0) plat::sounds().mix(nullptr, from);
  std::vector<float> out(n * 2, 0.0f);
  plat::sounds().mix(out.data(), n);
  plat::sounds().clear();
  return out;
}

}  // namespace

TEST(Streaming, SoundsLikeTheWholeDecodeFromAnyPosition) {
  headless::install();
  harness::gamedir dir;
  ASSERT_TRUE(WriteOgg("m.ogg", 44100, music(), 0.4f));
  sound whole = LoadSoundFile("m.ogg");
  ASSERT_TRUE(whole);
  ASSERT_FALSE(whole.data()->ogg);  // short: decoded at load
  streamfrom small(1000);
  sound streamed = LoadSoundFile("m.ogg");
  ASSERT_TRUE(streamed);
  ASSERT_TRUE(streamed.data()->ogg);
  EXPECT_EQ(streamed.data()->frames(), kFrames);
  EXPECT_TRUE(streamed.data()->samples.empty());

  const std::vector<float>& ref = whole.data()->samples;
  // From the start in odd-sized pieces, then after skips forward, and up to
  // the end, where the channel stops.
  for (size_t from : {size_t(0), size_t(1), size_t(5000), size_t(44100 * 2 + 3), kFrames - 300}) {
    const size_t n = std::min<size_t>(9000, kFrames - from);
    std::vector<float> got = heard(streamed, from, n, 0.5f);
    size_t wrong = 0;
    for (size_t i = 0; i < n * 2; i++) wrong += std::fabs(got[i] - ref[from * 2 + i] * 0.5f) > 1e-6f;
    EXPECT_EQ(wrong, 0u) << "from " << from;
  }
  // Two channels of the same sound play side by side, each at its own place.
  channel a = streamed.Cue(), b = streamed.Cue();
  a.SetPaused(0);
  std::vector<float> out(2 * 2000, 0.0f);
  plat::sounds().mix(out.data(), 1000);
  b.SetPaused(0);
  std::fill(out.begin(), out.end(), 0.0f);
  plat::sounds().mix(out.data(), 1000);
  EXPECT_NEAR(out[10], ref[(1000 + 5) * 2] + ref[5 * 2], 1e-6f);
  plat::sounds().clear();
}

TEST(Streaming, AdvancingWithoutOutputDecodesNothingAndKeepsTheLength) {
  headless::install();
  harness::gamedir dir;
  ASSERT_TRUE(WriteOgg("m.ogg", 44100, music(), 0.4f));
  streamfrom small(1000);
  sound s = LoadSoundFile("m.ogg");
  ASSERT_TRUE(s);
  plat::sounds().clear();
  channel c = s.Cue();
  c.SetPaused(0);
  plat::sounds().mix(nullptr, kFrames - 1);
  EXPECT_FALSE(c.data()->decoder);
  EXPECT_EQ(c.Playing(), 1);
  plat::sounds().mix(nullptr, 1);
  EXPECT_EQ(c.Playing(), 0);
  plat::sounds().clear();
}

TEST(Streaming, DamagedLongFilesAreRefusedAtLoad) {
  headless::install();
  harness::gamedir dir;
  ASSERT_TRUE(WriteOgg("m.ogg", 44100, music(), 0.4f));
  streamfrom small(1000);
  std::string bytes = dir.read("m.ogg");
  dir.write("half.ogg", bytes.substr(0, bytes.size() / 2));
  dir.write("short.ogg", bytes.substr(0, bytes.size() - 1));
  std::string bad = bytes;
  for (size_t i = bad.size() / 3; i < bad.size() / 3 + 40; i++) bad[i] = char(i * 7);
  dir.write("bad.ogg", bad);
  dir.write("longer.ogg", bytes + "trailing bytes");
  dir.write("head.ogg", bytes.substr(0, 200));
  for (const char* f : {"half.ogg", "short.ogg", "bad.ogg", "head.ogg"}) EXPECT_FALSE(LoadSoundFile(f)) << f;
  // Bytes after the stream's end are not part of it, as in a whole decode.
  EXPECT_TRUE(LoadSoundFile("longer.ogg"));
  EXPECT_TRUE(LoadSoundFile("m.ogg"));
}
