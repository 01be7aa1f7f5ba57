// One ball's motion in a frame, shared by the step and by the constraint
// solver, which moves the balls itself while it takes their positions.
#pragma once

#include "world/records.h"

// A pinned ball goes back to its anchor, at rest.
inline void anchorball(ball& b) {
  b.x = b.anchorx;
  b.y = b.anchory;
  b.oldx = b.x;
  b.oldy = b.y;
  b.xv = 0;
  b.yv = 0;
}

// Gravity, and where the ball was before this frame's move.
inline void fallball(ball& b, double gravity) {
  b.yv = b.yv + gravity / 1;
  b.oldx = b.x;
  b.oldy = b.y;
}

// A step by the ball's velocity; only anchored == 1 pins (other non-zero
// values just make the ball heavy).
inline void moveball(ball& b, double slower) {
  b.x = b.x + b.xv * slower;
  b.y = b.y + b.yv * slower;
  if (b.anchored == 1) anchorball(b);
}
