// A fuzzed "scores.txt": read, used as the game uses it, written and read
// back.
#include <cstdint>
#include <cstdlib>

#include "platform/headless/headless.h"
#include "tests/fuzz/fuzzkit.h"
#include "world/game.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::enterscratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzkit::writefile("scores.txt", data, size);
  headless::install();
  game g;
  g.initscores();
  g.readscores();
  // What is written reads back the same, entry for entry.
  g.writescores();
  game again;
  again.initscores();
  again.readscores();
  for (int d = 0; d < 3; d++) {
    if (again.scoreslist[d].size() != 20) std::abort();
    for (size_t i = 0; i < 20; i++) {
      if (again.scoreslist[d][i].name != g.scoreslist[d][i].name ||
          again.scoreslist[d][i].points != g.scoreslist[d][i].points) {
        std::abort();
      }
    }
  }
  // The table operations cope with whatever points the file held.
  for (int d = 0; d < 3; d++) {
    g.worstscore(d);
    g.updatescores("FUZZ", 1000, d);
    if (g.scoreslist[d].size() != 20) std::abort();
  }
  return 0;
}
