#include "tools/levels/levels.h"

using kit::level;
using kit::piece;

namespace levels {
namespace {

// ---------------------------------------------------------------- Steelworks
// The second campaign: iron, chains and fire.

// Topple the tower to cross the pit.
void topple(level& k) {
  start(k);
  piece left = k.path({{-20, 560}, {600, 560}}, 14, "normal", kit::kIron);
  k.tower(540, 546, 6, 60, 60, 1, left);
  k.path({{1000, 560}, {1500, 560}, {1500, 200}}, 14, "normal", kit::kIron);
  k.pit(600, 1000);
  k.goal(1420, 470, 1420, 540);
}

// Two long bridges, each under hammers.
void hammerbridges(level& k) {
  start(k);
  k.path({{-20, 560}, {300, 560}}, 14, "normal", kit::kIron);
  k.rope(300, 560, 1300, 560, 20, 80, 7);
  k.hammer(800, 250, 230, 70, 100);
  k.path({{1300, 560}, {1400, 560}}, 14, "normal", kit::kIron);
  k.rope(1400, 560, 2400, 560, 20, 100, 7);
  k.hammer(1750, 250, 230, -70, 100);
  k.hammer(2050, 250, 230, 70, 100);
  k.path({{2400, 560}, {2800, 560}, {2800, 200}}, 14, "normal", kit::kIron);
  k.pit(300, 2400);
  k.goal(2720, 470, 2720, 540);
}

// Islands across a wide pit, each under a swinging weight.
void islands(level& k) {
  start(k);
  k.path({{-20, 560}, {300, 560}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 5; ++i) {
    k.platform(500 + i * 330, 620 - i * 30, 600 + i * 330, 620 - i * 30, 12, "normal", kit::kIron);
    k.pendulum(550 + i * 330, 200, 320 - i * 30, i % 2 ? 50 : -50, 22, 3);
  }
  k.path({{2150, 500}, {2500, 500}, {2500, 100}}, 14, "normal", kit::kIron);
  k.pit(300, 2150);
  k.goal(2420, 410, 2420, 480);
}

// A long chute: burning boulders come rolling down as the ball climbs.
void chute(level& k) {
  start(k);
  piece chute = k.path({{-20, 560}, {400, 560}, {1400, 200}, {2400, -150}, {2700, -150}, {2700, -500}}, 14,
                       "normal", kit::kIron);
  for (int i = 0; i < 6; ++i)
    k.boulder(1500 + i * 150, 126 - i * 52.5, 22, 3, {&chute}, i % 2 ? "normal" : "damaging");
  k.goal(2640, -230, 2640, -170);
}

// Springy stairs up a shaft.
void jellystairs(level& k) {
  start(k);
  k.path({{-20, 560}, {400, 560}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 4; ++i) k.jelly(460 + i * 200, 560 - i * 90, 80, 70, 40);
  k.path({{1250, 200}, {1600, 200}, {1600, -100}}, 14, "normal", kit::kIron);
  k.pit(400, 1250);
  k.goal(1520, 120, 1520, 180);
}

// Climb a zigzag between burning bars.
void zigzag(level& k) {
  start(k);
  k.path({{-20, 560}, {900, 560}, {900, -600}}, 14, "normal", kit::kIron);
  k.platform(520, 400, 880, 400, 12);
  k.platform(-20, 240, 400, 240, 12);
  k.platform(500, 80, 880, 80, 12);
  k.spikes(580, 880, 546, 6, 24);
  k.platform(-20, 90, 200, 90, 8, "damaging");
  k.platform(620, 250, 800, 250, 8, "damaging");
  k.goal(820, 0, 820, 60);
}

// A seesaw over fire, then a high shelf. A low roof over the fire stops any
// jump across it: the ball has to ride the seesaw.
void fireseesaw(level& k) {
  start(k);
  k.path({{-20, 560}, {500, 560}}, 14, "normal", kit::kIron);
  k.seesaw(750, 560, 400);
  k.path({{420, -300}, {420, 400}, {1080, 400}}, 14, "normal", kit::kIron);
  k.path({{1000, 560}, {1300, 560}}, 14, "normal", kit::kIron);
  k.pit(500, 1000, 860);
  k.path({{1300, 330}, {1700, 330}, {1700, 0}}, 14, "normal", kit::kIron);
  k.goal(1620, 250, 1620, 310);
}

// A long chain bridge under swinging burning weights, then a climb.
void burningweights(level& k) {
  start(k);
  k.path({{-20, 560}, {300, 560}}, 14, "normal", kit::kIron);
  k.rope(300, 560, 1600, 560, 24, 110, 7);
  for (int i = 0; i < 4; ++i) k.pendulum(500 + i * 280, 150, 260, i % 2 ? 40 : -40, 20, 2, "damaging");
  k.path({{1600, 560}, {1900, 560}}, 14, "normal", kit::kIron);
  k.platform(1950, 400, 2150, 400, 12, "normal", kit::kIron);
  k.platform(2200, 250, 2400, 250, 12, "normal", kit::kIron);
  k.path({{2450, 100}, {2800, 100}, {2800, -300}}, 14, "normal", kit::kIron);
  k.pit(300, 1600);
  k.pit(1900, 2450, 760);
  k.goal(2720, 20, 2720, 80);
}

// Slack chains hung over a burning floor, each higher than the last.
void swings(level& k) {
  start(k);
  k.path({{-20, 560}, {300, 560}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 5; ++i)
    k.rope(380 + i * 260, 540 - i * 70, 540 + i * 260, 540 - i * 70, 5, 50, 6, 1, kit::kIron);
  k.path({{1700, 180}, {2100, 180}, {2100, -200}}, 14, "normal", kit::kIron);
  k.pit(300, 1700, 900);
  k.goal(2020, 100, 2020, 160);
}

// The gauntlet: a bridge under a hammer, burning boulders, a swing over the
// fire and springy stairs up to the goal.
void gauntlet(level& k) {
  start(k);
  k.path({{-20, 560}, {500, 560}}, 14, "normal", kit::kIron);
  k.rope(500, 560, 1000, 560, 10, 60, 7);
  k.hammer(750, 250, 230, 60, 90);
  piece b = k.path({{1000, 560}, {1400, 560}, {2000, 300}, {2300, 300}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 3; ++i) k.boulder(2050 + i * 80, 260, 22, 3, {&b}, "damaging");
  // The swing hangs from a roof that stops the ramp from flinging the ball
  // over the rest of the gauntlet.
  k.platform(1950, 100, 2850, 100, 14, "normal", kit::kIron);
  k.pendulum(2550, 100, 300, -40, 20, 2);
  k.path({{2750, 560}, {3100, 560}}, 14, "normal", kit::kIron);
  for (int i = 0; i < 3; ++i) k.jelly(3200 + i * 200, 560 - i * 90, 80, 70, 40);
  k.path({{3800, 240}, {4400, 240}, {4400, -200}}, 14, "normal", kit::kIron);
  k.pit(500, 1000);
  k.pit(2300, 2750);
  k.pit(3100, 3800);
  k.goal(4340, 160, 4340, 220);
}

}  // namespace

campaign steelworks() {
  return {"Steelworks",
          {topple, hammerbridges, islands, chute, jellystairs, zigzag, fireseesaw, burningweights, swings,
           gauntlet}};
}

}  // namespace levels
