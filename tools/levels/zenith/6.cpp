#include "tools/levels/zenith.h"

using kit::level;
using kit::piece;
using namespace levels::zenithlook;

namespace levels {

// The springy spires: from a low ice shelf east up a stair of springy ice
// blocks, each a step higher, with a post between each two; along the top
// of the first spire and up a rope bridge that climbs over a pit of spikes
// to a second, higher spire; up its own stair of springy blocks to a ledge
// against the cliff, and from there one jump up onto the summit, where the
// goal waits far above the start.
void zenith6(level& k) {
  k.player(300, 1766);
  ice(k, {{0, 1000}, {0, 1800}, {1600, 1800}}, 14);
  // The first stair: each block stands between two posts; the ball rests on
  // a block against the post and jumps over it onto the next, higher block.
  const double ax[4] = {600, 820, 1040, 1260};
  for (int i = 0; i < 3; ++i) k.jelly(ax[i] + 10, 1800, 205, 150 + 150 * i, 60);
  // The first spire's top, running east to the bridge.
  ice(k, {{1275, 1200}, {1600, 1200}}, 14);
  for (int i = 0; i < 4; ++i) k.platform(ax[i], 1800, ax[i], 1800 - 150 * (i + 1), 7, "normal", kIce);
  ice(k, {{1600, 1200}, {1600, 1800}}, 14);
  // The bridge climbs to the second spire over a pit of spikes.
  k.rope(1600, 1200, 2200, 900, 12, 50, 14);
  k.pit(1620, 2180, 1780);
  // The second spire: a flat top under a roof of icicles (whatever flies
  // off the bridge's end meets them), then its own stair of two blocks.
  ice(k, {{2200, 1800}, {2200, 900}, {2960, 900}}, 14);
  ice(k, {{2200, 740}, {2420, 740}}, 10);
  icicles(k, 2200, 2420, 740, 6, 32);
  const double bx[3] = {2500, 2720, 2940};
  for (int i = 0; i < 2; ++i) k.jelly(bx[i] + 10, 900, 205, 150 + 150 * i, 60);
  // A ledge against the cliff at the top of the stair, and above it the
  // summit, running west from over the ledge.
  ice(k, {{2955, 450}, {3180, 450}}, 14);
  for (int i = 0; i < 3; ++i) k.platform(bx[i], 900, bx[i], 900 - 150 * (i + 1), 7, "normal", kIce);
  ice(k, {{3180, 900}, {3180, -400}}, 14);
  ice(k, {{3080, 250}, {2550, 250}, {2550, 150}}, 14);
  k.goal(2660, 160, 2660, 220);
  // Scenery: clouds below and around, birds, far spires.
  sky(k, -300, -300, 3500, 1900, 26, 500, 3100);
  sky(k, -300, 1880, 3600, 2250, 12);
  sky(k, 500, -500, 3000, -100, 8);
  spire(k, 200, 1780, 70, 600);
  spire(k, 1900, 1760, 90, 500);
  spire(k, 3300, 900, 80, 900);
  cloud(k, 1700, 1500, 50);
  cloud(k, 2500, 1500, 60);
  cloud(k, 900, 900, 45);
  bird(k, 1400, 800, 22);
  bird(k, 2300, 600, 18);
}

}  // namespace levels
