// One level of play: set-up, the frame, the player's controls and the rules
// that end a level. The same frame function serves the game and tumbo-sim.
#include <cmath>
#include <algorithm>
#include <cstdint>

#include "world/game.h"

namespace {
constexpr double kPush = 0.2f;  // velocity the arrows add per frame
constexpr double kPlayerRadius = 20.0;
constexpr double kFallLimit = 3000.0;  // deeper than this the ball is lost
constexpr int kBonusFrames = 7200;     // two minutes at 60 frames per second
constexpr int kScreenDelay = 20;       // frames before a screen accepts Enter
}  // namespace

std::string game::playlevel(const std::string& campaign, int lvl, int freeplay, int difficulty) {
  setuplevel(campaign, lvl);
  std::string result = "play";
  do {
    levelframe(result, freeplay, difficulty);
  } while (mode != "end");
  return result;
}

void game::setuplevel(const std::string& campaign, int lvl) {
  setuplevelfile("campaigns/" + campaign + "/" + std::to_string(lvl), lvl);
}

void game::setuplevelfile(const std::string& path, int lvl) {
  time = 0;
  delimiter = xwin;
  scritta = "    LEVEL " + std::to_string(lvl) + "    ";
  temposcritta = 160;
  zoom = optres == 1 ? 0.625 : optres == 2 ? 0.78125 : 1.0;
  mode = "play";
  drawing = -1;
  // The old trail goes back to the pool: a new level starts without sparks.
  dotfree.insert(dotfree.end(), dotlist.begin(), dotlist.end());
  dotlist.clear();
  openmarionet(1, path);
}

void game::levelframe(std::string& result, int freeplay, int difficulty) {
  Cls();
  continuemusic();
  scrittelivello();
  alreadysound -= 1;
  firstball = balllist.empty() ? nullptr : balllist.front().get();
  findonscreen(0);
  handleslower();
  updatemass();
  fixzoom();
  dobackground2();
  countfps(freeplay);
  varycol();
  moveball1();
  stepworld();
  checkcollisions(result, freeplay);
  blockballsplay();
  doscritta(0.25);
  drawballlinks();
  handledotbursts(zoom);
  changemodes(difficulty, freeplay);
  pause(result);
  Flip(-1);
  checkclose();
  deltatimecount();

  // A ball that is no longer anywhere (a broken world made it non-finite) is
  // as lost as one that fell out.
  if (firstball && result == "play" &&
      (firstball->y > kFallLimit || !std::isfinite(firstball->x) || !std::isfinite(firstball->y)))
    died(result);
  if (KeyHeld(KEY_ESCAPE)) {
    result = "esc";
    mode = "end";
  }
  // The level skip: 8 then 2 (2 is only polled once 8 was hit).
  if (KeyPresses(KEY_8) > 0 && KeyPresses(KEY_2) > 0 && result == "play") passedlevel(result, freeplay);
}

void game::died(std::string& result) {
  // A restart from the score screen counts the level as lost, so the points
  // it just added are taken back: the level is played again for them.
  if (mode == "showlevelscore") totalscore = oldscore;
  result = "lost";
  // On the last life the level ends through the name entry.
  mode = lives == 1 ? "gameover" : "end";
  changetime = time;
}

void game::passedlevel(std::string& result, int freeplay) {
  oldscore = totalscore;
  levelscore = level * 1000;
  // The bonus falls linearly to nothing at frame 7200. The product is taken
  // in 64 bits so that a very long level cannot wrap it back to a bonus.
  const int64_t product = int64_t{level} * 1000 * (kBonusFrames - time);
  timebonus = std::max(0, TruncInt(static_cast<double>(product) / kBonusFrames));
  totalscore += levelscore + timebonus;
  result = "levelcompleted";
  mode = freeplay ? "end" : "showlevelscore";
  changetime = time;
}

void game::changemodes(int difficulty, int) {
  if (mode == "showlevelscore") {
    levelcompleted(time - changetime);
    if (KeyHeld(KEY_ENTER)) {
      // After level 10 the campaign is over: on to the name entry.
      mode = level < 10 ? "end" : "gameover";
      changetime = time;
    }
  }
  if (mode == "gameover") {
    gameover(time - changetime, difficulty);
    if (time - changetime > kScreenDelay && KeyHeld(KEY_ENTER)) {
      mode = "highscores";
      changetime = time;
      updatescores(name, totalscore, difficulty);
      writescores();
    }
  }
  if (mode == "highscores") {
    showhighscores(time - changetime, difficulty);
    if (time - changetime > kScreenDelay && (KeyHeld(KEY_ENTER) || KeyHeld(KEY_SPACE))) mode = "end";
  }
}

void game::moveball1() {
  ball* b = firstball;
  if (b) {
    // Whatever the level file says, the first ball plays as the player's ball.
    b->tumbo = 1;
    b->kind = "normal";
    b->rolling = 1;
    b->m = 1.0;
    b->r = kPlayerRadius;
    b->anchored = 0;
    if (drawing == -1) {
      if (KeyHeld(KEY_LEFT)) b->xv -= kPush;
      if (KeyHeld(KEY_RIGHT)) b->xv += kPush;
    }
  }
  // Holding space re-arms the jump once the cooldown after a jump is over.
  balljump = std::min(0, balljump + 1);
  if (KeyHeld(KEY_SPACE) && balljump == 0) balljump = 1;
}
