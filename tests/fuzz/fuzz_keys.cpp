// A fuzzed key script, read as tumbo-sim reads it: any text either reads into
// a script of exactly the asked length or is refused with a message, and a
// script that reads plays a level without trouble.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/headless/headless.h"
#include "tests/fuzz/fuzzkit.h"
#include "tools/keyscript.h"
#include "world/game.h"

namespace {
constexpr int kFrames = 120;
const char* kLevel =
    "2\r\nNew Ball\r\n1\r\n1\r\n100\r\n100\r\n20\r\n0\r\n0\r\n0\r\n0\r\n255\r\n255\r\n255\r\nnormal\r\n1\r\n"
    "New Ball\r\n2\r\n1\r\n0\r\n300\r\n10\r\n1\r\n0\r\n300\r\n0\r\n255\r\n255\r\n255\r\nnormal\r\n0\r\n"
    "New Ball\r\n3\r\n1\r\n600\r\n300\r\n10\r\n1\r\n600\r\n300\r\n0\r\n255\r\n255\r\n255\r\nnormal\r\n0\r\n"
    "New Link\r\n2\r\n3\r\n600\r\n10\r\n255\r\n255\r\n255\r\nnormal\r\n";
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::enterscratch();
  fuzzkit::writefile("level", reinterpret_cast<const uint8_t*>(kLevel),
                     std::char_traits<char>::length(kLevel));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<headless::frameinput> script;
  std::string error;
  if (!keyscript::read(in, "fuzz", kFrames, script, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (script.size() != kFrames) std::abort();

  headless::install();
  game g;
  g.setuplevelfile("level", 1);
  headless::set_script(script, true);
  std::string result = "play";
  try {
    for (int f = 0; f < kFrames && g.mode != "end"; ++f) g.levelframe(result, 1, 0);
  } catch (const headless::script_ended&) {
  } catch (const headless::program_ended&) {
  }
  return 0;
}
