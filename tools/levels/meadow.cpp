#include "tools/levels/levels.h"

using kit::level;
using kit::piece;

namespace levels {
namespace {

// ---------------------------------------------------------------- Meadow
// The first campaign teaches one thing per level.

// Roll, then hop over a low wall to the goal post.
void firststeps(level& k) {
  start(k);
  k.path({{-20, 560}, {1500, 560}}, 14, "normal", kit::kLeaf);
  k.platform(700, 560, 700, 470, 16);
  k.goal(1400, 450, 1400, 530);
  k.tree(300, 546, 120);
  k.tree(1000, 546, 160);
  k.cloud(500, 200, 30);
  k.cloud(1100, 150, 40);
}

// A gap too wide to jump: hop on the island under the swinging ball.
void island(level& k) {
  start(k);
  k.path({{-20, 560}, {420, 560}}, 14);
  k.platform(640, 600, 760, 600, 12);
  k.pendulum(700, 150, 330, 60, 24, 2);
  k.path({{980, 560}, {1500, 560}, {1500, 300}}, 14);
  k.pit(420, 980);
  k.goal(1420, 470, 1420, 540);
  k.cloud(700, 100, 30);
}

// Down a slope, across, up a ramp and a jump onto a ledge.
void hills(level& k) {
  start(k);
  k.path({{-20, 450}, {500, 700}, {900, 700}, {1200, 560}}, 14, "normal", kit::kLeaf);
  k.path({{1400, 420}, {1900, 420}, {1900, 200}}, 14);
  k.pit(1200, 1400);
  k.goal(1820, 330, 1820, 400);
  k.tree(700, 686, 140);
  k.cloud(900, 300, 35);
}

// A seesaw: the ledge is too high to reach from the ground, but not from the
// plank's raised end.
void seesaw(level& k) {
  start(k);
  k.path({{-20, 560}, {1400, 560}, {1400, -200}}, 14, "normal", kit::kLeaf);
  k.seesaw(900, 470, 400);
  k.path({{1100, 250}, {1400, 250}}, 14);
  k.goal(1340, 170, 1340, 230);
  k.tree(300, 546, 140);
  k.cloud(700, 120, 35);
}

// Boulders roll down the hill towards the ball.
void boulders(level& k) {
  start(k);
  piece hill =
      k.path({{-20, 560}, {500, 560}, {1300, 260}, {1700, 260}, {1700, 0}}, 14, "normal", kit::kLeaf);
  for (int i = 0; i < 4; ++i) k.boulder(1350 + i * 80, 220, 26, 2, {&hill}, i % 2 ? "damaging" : "normal");
  k.goal(1640, 180, 1640, 240);
  k.tree(250, 546, 150);
}

// A tower of blocks is the only way up to the ledge; it sways as you climb.
void tower(level& k) {
  start(k);
  piece ground = k.path({{-20, 560}, {1500, 560}, {1500, -200}}, 14);
  k.tower(850, 546, 5, 70, 60, 1, ground);
  k.path({{1000, 560}, {1000, 250}, {1500, 250}}, 14);
  k.goal(1440, 170, 1440, 230);
  k.tree(400, 546, 140);
}

// Two rope bridges sag over a pit of spikes; the far bank is higher.
void bridges(level& k) {
  start(k);
  k.path({{-20, 560}, {400, 560}}, 14, "normal", kit::kLeaf);
  k.rope(400, 560, 900, 560, 10, 60, 8);
  k.path({{900, 560}, {980, 560}}, 14);
  k.rope(980, 560, 1480, 560, 10, 80, 8);
  // The goal lies in a hollow of the far bank with spikes beyond it: a ball
  // that flies across at full speed sails over the hollow onto them.
  k.path({{1480, 560},
          {1480, 440},
          {1780, 440},
          {1780, 500},
          {1860, 500},
          {1860, 440},
          {2200, 440},
          {2200, -300}},
         14, "normal", kit::kLeaf);
  k.pit(400, 1480);
  k.spikes(1890, 2180, 426, 5);
  k.goal(1795, 480, 1845, 480);
  k.tree(250, 546, 130);
  k.tree(1580, 426, 150);
}

// Springy blocks climb out of a pit: they lean and spring back under the ball.
void jelly(level& k) {
  start(k);
  k.path({{-20, 560}, {350, 560}}, 14);
  for (int i = 0; i < 4; ++i) k.jelly(450 + i * 220, 640 - i * 80, 90, 90, 60);
  k.path({{1350, 230}, {1700, 230}, {1700, -200}}, 14);
  k.pit(350, 1350);
  k.goal(1640, 150, 1640, 210);
}

// Hammers swing across a low corridor, down to its floor: the ball has to
// time its dash under each one, and the ceiling stops any jump over them.
void hammers(level& k) {
  start(k);
  k.path({{-20, 560}, {2700, 560}, {2700, 200}}, 14);
  k.path({{300, 360}, {2500, 360}}, 14);
  for (int i = 0; i < 5; ++i) k.hammer(700 + i * 400, 360, 130, i % 2 ? -60 : 60, 80);
  k.goal(2620, 470, 2620, 540);
  k.tree(2600, 546, 150);
}

// All of it: a bridge, a swinging hammer, a seesaw up to a high ledge, and a
// last bridge high over the pit.
void meadowfinale(level& k) {
  start(k);
  k.path({{-20, 560}, {400, 560}}, 14);
  k.rope(400, 560, 900, 560, 10, 50, 8);
  k.path({{900, 560}, {1500, 560}}, 14);
  k.pit(400, 900);
  k.hammer(1150, 300, 200, 50, 90);
  k.seesaw(1750, 470, 400);
  k.path({{1500, 560}, {2200, 560}, {2200, 800}}, 14);
  k.path({{1950, 250}, {2600, 250}}, 14);
  k.rope(2600, 250, 3100, 250, 10, 70, 8);
  k.path({{3100, 250}, {3400, 250}, {3400, -200}}, 14, "normal", kit::kLeaf);
  k.pit(2200, 3100, 900);
  k.goal(3340, 170, 3340, 230);
  k.tree(1300, 546, 150);
  k.tree(3250, 236, 140);
  k.cloud(2800, -100, 40);
}

}  // namespace

campaign meadow() {
  return {"Meadow", {firststeps, island, hills, seesaw, boulders, tower, bridges, jelly, hammers, meadowfinale}};
}

}  // namespace levels
