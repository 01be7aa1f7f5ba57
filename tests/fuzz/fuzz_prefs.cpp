// A fuzzed "prefs.txt": read, checked, written and read back.
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
  fuzzkit::writefile("prefs.txt", data, size);
  headless::install();
  game g;
  g.initprefs();
  g.readprefs();
  // The display settings are always usable, whatever the file said.
  if (g.optres < 1 || g.optres > 3 || g.optfullscr < 0 || g.optfullscr > 1) std::abort();

  // What is written reads back the same.
  g.writeprefs();
  game again;
  again.initprefs();
  again.readprefs();
  if (again.optres != g.optres || again.optfullscr != g.optfullscr || again.opttrailsize != g.opttrailsize ||
      again.optsoundsvol != g.optsoundsvol || again.optmusicvol != g.optmusicvol) {
    std::abort();
  }
  return 0;
}
