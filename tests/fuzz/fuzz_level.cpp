// A fuzzed level file, loaded as a level and played for up to 300 frames with
// a fuzzed key pattern on the headless backend.
//
// Input: byte 0 picks the play mode (bit 0 free play, bits 1-2 the
// difficulty, bits 3-4 the resolution), bytes 1-16 are the key pattern (one
// byte per 8 frames, repeated), the rest is the level file.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "tests/fuzz/fuzzkit.h"
#include "world/game.h"

namespace {

constexpr size_t kHeader = 17;
constexpr int kFrames = 300;
constexpr int kHold = 8;  // frames each pattern byte is held

// One bit per key; the last bit is the level skip (8 and 2 together).
const std::array<std::vector<int>, 8> kBits = {
    {{KEY_LEFT}, {KEY_RIGHT}, {KEY_SPACE}, {KEY_UP}, {KEY_P}, {KEY_R}, {KEY_ENTER}, {KEY_8, KEY_2}}};

std::vector<headless::frameinput> keyscript(const uint8_t* pattern) {
  std::vector<headless::frameinput> frames(kFrames);
  for (int f = 0; f < kFrames; f++) {
    const uint8_t bits = pattern[(f / kHold) % 16];
    for (int i = 0; i < 8; i++) {
      if (bits & (1 << i)) frames[f].held.insert(kBits[i].begin(), kBits[i].end());
    }
  }
  return frames;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::enterscratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader) return 0;
  const int freeplay = data[0] & 1;
  const int difficulty = (data[0] >> 1) % 3;
  const int res = (data[0] >> 3) % 3 + 1;
  fuzzkit::writefile("level", data + kHeader, size - kHeader);

  headless::install();
  game g;
  g.optres = res;
  g.changeres(0, res, 0);
  g.lives = 1 + (data[0] >> 5);
  g.level = 1 + data[0] % 10;
  g.initscores();
  g.setuplevelfile("level", g.level);
  headless::set_script(keyscript(data + 1), true);
  std::string result = "play";
  try {
    for (int f = 0; f < kFrames && g.mode != "end"; f++) {
      headless::clear_calls();
      g.levelframe(result, freeplay, difficulty);
    }
  } catch (const headless::script_ended&) {
    // The pause screen waits for keys: the script running out ends it.
  } catch (const headless::program_ended&) {
  }
  return 0;
}
