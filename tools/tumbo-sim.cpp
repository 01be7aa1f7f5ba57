// tumbo-sim LEVELFILE [--frames N] [--keys KEYFILE] [--every K] [--level N] [--shot FRAME:FILE.png]...
//
// Plays a level on the headless backend, as free play with five lives, through
// the game's own level frame, and prints every ball after every K-th frame and
// after the last:  f n x y xv yv  (17 significant digits), then
//   end frames=N result=WORD
// KEYFILE lines are "A-B KEY..." or "A KEY..." (frames from 1, '#' starts a
// comment line); keys: LEFT RIGHT UP DOWN SPACE ENTER ESC P R A D W S 8 2.
// Key frames are shown frames: while the game is paused, frames pass but the
// level does not. Esc and the 8-2 skip are tested after a frame is shown, with
// the keys of the next one, so keys of frame A end the level after frame A - 1.
//
// --level N plays it as level N of its campaign (1 by default): the captions
// and the level-1 hints follow the number.
// --shot renders a frame with the real SDL renderer into a PNG. The run
// itself stays headless (so the keys come from the script and the numbers are
// the same with or without shots); the draw calls of the requested frames are
// kept and, after the run, replayed one by one on an offscreen SDL window.
// Media are loaded from "media/" under the working directory, as the game does.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "tools/keyscript.h"
#include "world/game.h"

namespace {

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "tumbo-sim: %s\n", message.c_str());
  std::exit(2);
}

int tonumber(const std::string& text, const std::string& what) {
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 0 || v > 100000000) fail("bad " + what + ": '" + text + "'");
  return static_cast<int>(v);
}

std::vector<headless::frameinput> readkeys(const std::string& path, int frames) {
  std::ifstream in(path);
  if (!in) fail("cannot read key file " + path);
  std::vector<headless::frameinput> script;
  std::string error;
  if (!keyscript::read(in, path, frames, script, error)) fail(error);
  return script;
}

void dump(const game& g, int frame) {
  for (const auto& b : g.balllist) {
    std::printf("%d %d %.17g %.17g %.17g %.17g\n", frame, b->number, b->x, b->y, b->xv, b->yv);
  }
}

// Replays one recorded frame on the SDL backend and saves it; the sprites and
// the font are those the game loads, found again by the file they came from.
bool rendershot(game& view, const std::vector<headless::drawcall>& calls, const std::string& file) {
  const std::map<std::string, sprite> sprites = {{"media/tumbo.png", view.tumbosprite},
                                                 {"media/ball.png", view.ballsprite},
                                                 {"media/plat.png", view.platformsprite},
                                                 {"media/spark.png", view.sparki},
                                                 {"media/205275.png", view.logo}};
  size_t last = calls.size();
  while (last > 0 && calls[last - 1].kind != headless::op::flip) last--;
  if (last > 0) last--;  // the frame is shot as it is presented
  for (size_t i = 0; i < last; i++) {
    const headless::drawcall& c = calls[i];
    SetColor(c.r, c.g, c.b);
    SetAlpha(c.alpha);
    SetBlend(c.blend);
    SetDrawScale(c.sx, c.sy);
    SetDrawRotation(c.rotation);
    switch (c.kind) {
      case headless::op::cls:
        Cls();
        break;
      case headless::op::line:
        DrawLine(c.x, c.y, c.x2, c.y2);
        break;
      case headless::op::text:
        DrawString(c.text, c.x, c.y);
        break;
      case headless::op::sprite: {
        auto s = sprites.find(c.text);
        if (s != sprites.end()) DrawSprite(s->second, c.x, c.y);
        break;
      }
      case headless::op::grab:
      case headless::op::flip:
        break;
    }
  }
  return SaveScreenshot(file);
}

}  // namespace

int main(int argc, char** argv) {
  std::string levelfile, keyfile;
  int frames = 600, every = 1, level = 1;
  std::map<int, std::string> shots;
  for (int i = 1; i < argc; i++) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) fail(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--frames") {
      frames = tonumber(value(), "--frames");
    } else if (arg == "--keys") {
      keyfile = value();
    } else if (arg == "--every") {
      every = tonumber(value(), "--every");
      if (every < 1) fail("--every must be at least 1");
    } else if (arg == "--level") {
      level = tonumber(value(), "--level");
      if (level < 1 || level > 10) fail("--level must be 1 to 10");
    } else if (arg == "--shot") {
      const std::string shot = value();
      const size_t colon = shot.find(':');
      if (colon == std::string::npos || colon + 1 == shot.size()) fail("--shot needs FRAME:FILE.png");
      shots[tonumber(shot.substr(0, colon), "--shot frame")] = shot.substr(colon + 1);
    } else if (levelfile.empty() && (arg.empty() || arg[0] != '-')) {
      levelfile = arg;
    } else {
      fail("usage: tumbo-sim LEVELFILE [--frames N] [--keys KEYFILE] [--every K] [--level N] [--shot FRAME:FILE.png]...");
    }
  }
  if (levelfile.empty())
    fail("usage: tumbo-sim LEVELFILE [--frames N] [--keys KEYFILE] [--every K] [--level N] [--shot FRAME:FILE.png]...");

  headless::install();
  // The level reader is silent about a file it cannot open, so look first.
  if (FileKind(levelfile) != 1 || !OpenTextRead(levelfile)) fail("cannot read level " + levelfile);
  std::vector<headless::frameinput> script;
  if (!keyfile.empty()) script = readkeys(keyfile, frames);

  std::map<int, std::vector<headless::drawcall>> recorded;
  game g;
  g.optres = 3;
  g.changeres(0, g.optres, 0);
  g.lives = 5;
  g.level = level;
  g.setuplevelfile(levelfile, g.level);
  // The script starts with the level's first frame (the level set-up
  // forgets pending keys, so it must not come earlier).
  headless::set_script(script, false);
  std::string result = "play";
  int frame = 0;
  while (frame < frames) {
    headless::clear_calls();
    g.levelframe(result, 1, 0);
    frame++;
    if (shots.count(frame)) recorded[frame] = headless::calls();
    if (frame % every == 0) dump(g, frame);
    if (g.mode == "end") break;
  }
  if (frame % every != 0) dump(g, frame);
  std::printf("end frames=%d result=%s\n", frame, result.c_str());
  std::fflush(stdout);

  int status = 0;
  for (const auto& [at, file] : shots) {
    if (!recorded.count(at)) {
      std::fprintf(stderr, "tumbo-sim: frame %d was not reached; no %s\n", at, file.c_str());
      status = 1;
    }
  }
  if (!recorded.empty()) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    UseSdlBackend();
    game view;
    view.changeres(0, g.optres, 0);
    for (const auto& [at, calls] : recorded) {
      if (!rendershot(view, calls, shots[at])) {
        std::fprintf(stderr, "tumbo-sim: could not write %s\n", shots[at].c_str());
        status = 1;
      }
    }
    CloseGraphics();
  }
  return status;
}
