// The music playlist (one track in practice), looped by restarting it when it
// ends, and silent outside the play modes. Volumes are in tenths.
#include "world/game.h"

void game::initmusic() {
  if (optmusicvol <= 0) return;
  musicNumber++;
  // Slot 0 is never used; past the last track (or the playlist's end) the
  // playlist starts again.
  if (musicNumber > maxmusic || musicNumber < 1 || musicNumber >= static_cast<int>(musics.size())) {
    musicNumber = 1;
  }
  // Cue paused, set the volume, then play: no sample at the wrong volume.
  musicChannel = musics[musicNumber].Cue();
  musicChannel.SetVolume(optmusicvol / 10.0f);
  musicChannel.SetPaused(0);
}

void game::continuemusic() {
  if (optmusicvol <= 0 || !musicChannel || musicChannel.Playing()) return;
  musicChannel.Stop();
  initmusic();
}

void game::stopmusic() {
  if (musicChannel) musicChannel.Stop();
}
