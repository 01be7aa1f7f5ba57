// Sound with no device runs by the clock, counted in samples.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/silentclock.h"

// Frames of 16 or 17 ms (and calls a millisecond apart) add up to the
// samples of the time that passed: a minute of play is a minute of sound.
TEST(SilentSound, CountsSamplesNotWholeMilliseconds) {
  plat::silentclock fine;
  EXPECT_EQ(fine.due(5000), 0u);  // counting starts
  uint64_t total = 0;
  for (int64_t ms = 5001; ms <= 65000; ms++) total += fine.due(ms);
  EXPECT_EQ(total, uint64_t(plat::kMixRate) * 60);

  plat::silentclock frames;
  total = frames.due(0);
  int64_t now = 0;
  for (int f = 0; f < 3600; f++) total += frames.due(now += (f % 3 == 2 ? 16 : 17));
  EXPECT_EQ(now, 60000);
  EXPECT_EQ(total, uint64_t(plat::kMixRate) * 60);

  // Counting starts afresh after a restart (a device came or went) and
  // after the clock ran backwards; nothing is counted for the gap.
  frames.restart();
  EXPECT_EQ(frames.due(90000), 0u);
  EXPECT_EQ(frames.due(90010), 441u);
  EXPECT_EQ(frames.due(10), 0u);
  EXPECT_EQ(frames.due(20), 441u);
}
