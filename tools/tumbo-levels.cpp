// tumbo-levels [CAMPAIGNSDIR]: builds the shipped campaigns from pieces and
// writes them with the game's own level writer, as CAMPAIGNSDIR/<campaign>/1
// to 10 (default "campaigns"). The levels are made here, never edited by hand.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "tools/levelkit.h"

using kit::level;
using kit::piece;

namespace {

// Every level starts the ball at (100, 300) above a wall that stops it
// rolling off the left edge of the world.
void start(level& k) {
  k.player(100, 300);
  k.platform(-20, 0, -20, 560, 14);
}

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

// ---------------------------------------------------------------- Foundry
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

struct campaign {
  std::string name;
  std::vector<std::function<void(level&)>> levels;
};

}  // namespace

int main(int argc, char** argv) {
  headless::install();
  const std::string dir = argc > 1 ? argv[1] : "campaigns";
  const std::vector<campaign> campaigns = {
      {"Meadow", {firststeps, island, hills, seesaw, boulders, tower, bridges, jelly, hammers, meadowfinale}},
      {"Foundry",
       {topple, hammerbridges, islands, chute, jellystairs, zigzag, fireseesaw, burningweights, swings,
        gauntlet}},
  };
  int status = 0;
  for (const campaign& c : campaigns) {
    std::filesystem::create_directories(dir + "/" + c.name);
    for (size_t i = 0; i < c.levels.size(); ++i) {
      game g;
      level k(g);
      c.levels[i](k);
      const std::string path = dir + "/" + c.name + "/" + std::to_string(i + 1);
      if (!k.save(path)) {
        std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
        status = 1;
      } else {
        std::printf("%s: %zu balls, %zu links, %zu tensions, %zu pairs\n", path.c_str(), g.balllist.size(),
                    g.linklist.size(), g.TensionList.size(), g.virtuallinklist.size());
      }
    }
  }
  return status;
}
