// Sound without a device still runs by the clock: every channel plays for
// its sound's length and then ends, so the music restarts on time. The
// samples due are counted from when the count began, never rounded per call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/backend.h"

namespace plat {

struct silentclock {
  int64_t start = -1;  // milliseconds when counting began
  int64_t done = 0;    // samples run since then

  // Samples to run now that the clock reads now (milliseconds).
  size_t due(int64_t now) {
    if (start < 0 || now < start) {
      start = now;
      done = 0;
    }
    const int64_t want = (now - start) * kMixRate / 1000;
    const int64_t n = want - done;
    done = want;
    return n > 0 ? size_t(n) : 0;
  }
  // Counting starts again at the next call (the device came back, or went).
  void restart() { start = -1; }
};

}  // namespace plat
