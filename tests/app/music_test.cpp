// Music: started at the music volume, restarted when the track ends, stopped
// when play ends, and never started at volume 0.
#include "platform/backend.h"  // channel internals: volume and paused flag
#include "tests/app/app_support.h"

using apptest::fixture;

namespace {

using music = fixture;

// A quarter-second track written into the game's folder.
sound shorttrack() {
  std::vector<int16_t> samples(22050 / 4, 1000);
  EXPECT_TRUE(WriteWAV("track.wav", 22050, samples));
  sound s = LoadSoundFile("track.wav");
  EXPECT_TRUE(s);
  return s;
}

TEST_F(music, VolumeZeroStartsNothing) {
  open();
  g->musics[1] = shorttrack();
  g->optmusicvol = 0;
  g->initmusic();
  EXPECT_FALSE(g->musicChannel);
  EXPECT_EQ(g->musicNumber, 1);
  g->continuemusic();
  EXPECT_FALSE(g->musicChannel);
  g->stopmusic();  // nothing to stop, nothing breaks
}

TEST_F(music, TrackStartsAtTheMusicVolumeAndRestartsWhenItEnds) {
  open();
  g->musics[1] = shorttrack();
  g->optmusicvol = 7;
  g->initmusic();
  ASSERT_TRUE(g->musicChannel);
  EXPECT_EQ(g->musicNumber, 1);
  EXPECT_EQ(g->musicChannel.Playing(), 1);
  EXPECT_FLOAT_EQ(g->musicChannel.data()->volume, 0.7f);
  EXPECT_FALSE(g->musicChannel.data()->paused);

  const auto first = g->musicChannel.data();
  int frames = 0;
  while (g->musicChannel.data() == first && frames < 100) {
    Flip(-1);
    g->continuemusic();
    frames++;
  }
  // A quarter second is 15 frames; the restart follows at once.
  EXPECT_GE(frames, 15);
  EXPECT_LE(frames, 17);
  EXPECT_EQ(first->stopped, true);
  EXPECT_EQ(g->musicChannel.Playing(), 1);
  EXPECT_EQ(g->musicNumber, 1);
  EXPECT_FLOAT_EQ(g->musicChannel.data()->volume, 0.7f);

  // While it plays, nothing changes.
  const auto second = g->musicChannel.data();
  Flip(-1);
  g->continuemusic();
  EXPECT_EQ(g->musicChannel.data(), second);

  g->stopmusic();
  EXPECT_EQ(g->musicChannel.Playing(), 0);
  EXPECT_EQ(g->musicChannel.data(), second);  // kept, stopped, until the next start
  g->initmusic();
  EXPECT_NE(g->musicChannel.data(), second);
  EXPECT_EQ(g->musicChannel.Playing(), 1);
}

TEST_F(music, AMissingTrackLeavesNoChannelToRestart) {
  open();
  g->optmusicvol = 5;
  g->initmusic();  // musics[1] is empty
  EXPECT_FALSE(g->musicChannel);
  Flip(-1);
  g->continuemusic();
  EXPECT_FALSE(g->musicChannel);
}

}  // namespace
