// Construction of the game and of the world records that draw random defaults.
#include "world/game.h"

game::game() {
  oldtime = ClockMillis();
  musicNumber = TruncInt(RandomReal(1, maxmusic));
}

game::~game() = default;

// The random defaults are drawn in the record's own field order (col, x, y,
// then the three colour channels), so a level loads with the same colours and
// stray positions for a given generator state.
ball::ball() {
  col = RandomInt(0, 4);
  x = RandomInt(0, 800);
  y = RandomInt(0, 600);
  for (int& c : color) c = RandomInt(0, 255);
  oldx = x;
  oldy = y;
}

link::link() {
  for (int& c : color) c = RandomInt(0, 255);
}
