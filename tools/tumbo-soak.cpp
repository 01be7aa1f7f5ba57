// tumbo-soak [--frames N] [--seed S] [LEVELFILE...]
//
// Plays every level given (by default every shipped level, campaigns/*/*) for
// N frames each (100000 by default) on the headless backend, as free play,
// with random keys drawn from the seed: arrows, Space and R, held for random
// runs. A level that ends is started again. After every frame every ball must
// be finite. Prints per level the frames, the restarts and the resident memory
// after the first thousand frames and at the end, then the peak. Exits 1 when
// a value was not finite or memory kept growing, 2 on bad usage.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "world/game.h"

namespace {

constexpr int kSettle = 1000;          // frames before memory must stay flat
constexpr long kGrowthLimitKb = 4096;  // allowed growth after that

long residentkb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long peakkb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Random held runs: each run holds a random set of keys for 1 to 90 frames.
std::vector<headless::frameinput> randomkeys(std::mt19937& rng, int frames) {
  static const int keys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_SPACE, KEY_R};
  std::vector<headless::frameinput> script;
  script.reserve(frames);
  while (int(script.size()) < frames) {
    headless::frameinput in;
    for (int k : keys) {
      // R restarts the level: rarely.
      const unsigned odds = k == KEY_R ? 200 : 3;
      if (rng() % odds == 0) in.held.insert(k);
    }
    const int run = 1 + int(rng() % 90);
    for (int i = 0; i < run && int(script.size()) < frames; i++) script.push_back(in);
  }
  return script;
}

struct report {
  int frames = 0, restarts = 0, nonfinite = 0;
  long settledkb = 0, endkb = 0;
};

report soak(const std::string& path, int frames, std::mt19937& rng) {
  report r;
  headless::install();
  game g;
  g.optres = 3;
  g.changeres(0, 3, 0);
  while (r.frames < frames) {
    g.lives = 5;
    g.setuplevelfile(path, 1);
    // Spare frames: the last frame still polls keys after its flip.
    headless::set_script(randomkeys(rng, frames - r.frames + 5), true);
    std::string result = "play";
    try {
      while (r.frames < frames && g.mode != "end") {
        headless::clear_calls();
        g.levelframe(result, 1, 0);
        r.frames++;
        for (const auto& b : g.balllist) {
          if (!std::isfinite(b->x) || !std::isfinite(b->y) || !std::isfinite(b->xv) ||
              !std::isfinite(b->yv)) {
            if (r.nonfinite++ < 5) {
              std::fprintf(stderr, "tumbo-soak: %s frame %d ball %d not finite: %g %g %g %g\n", path.c_str(),
                           r.frames, b->number, b->x, b->y, b->xv, b->yv);
            }
          }
        }
        if (r.frames == kSettle) r.settledkb = residentkb();
      }
    } catch (const headless::script_ended&) {
      break;
    }
    if (g.mode == "end") r.restarts++;
  }
  r.endkb = residentkb();
  if (r.settledkb == 0) r.settledkb = r.endkb;
  return r;
}

[[noreturn]] void usage() {
  std::fprintf(stderr, "usage: tumbo-soak [--frames N] [--seed S] [LEVELFILE...]\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  int frames = 100000;
  unsigned seed = 1;
  std::vector<std::string> levels;
  for (int i = 1; i < argc; i++) {
    const std::string arg = argv[i];
    if ((arg == "--frames" || arg == "--seed") && i + 1 < argc) {
      char* end = nullptr;
      const long v = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || v < 0 || v > 1000000000) usage();
      if (arg == "--frames")
        frames = int(v);
      else
        seed = unsigned(v);
    } else if (!arg.empty() && arg[0] != '-') {
      levels.push_back(arg);
    } else {
      usage();
    }
  }
  headless::install();
  if (levels.empty()) {
    std::vector<std::string> campaigns = ListDirectory("campaigns");
    std::sort(campaigns.begin(), campaigns.end());
    for (const std::string& c : campaigns) {
      for (int n = 1; n <= 10; n++) {
        const std::string p = "campaigns/" + c + "/" + std::to_string(n);
        if (FileKind(p) == 1) levels.push_back(p);
      }
    }
  }
  if (levels.empty()) {
    std::fprintf(stderr, "tumbo-soak: no levels\n");
    return 2;
  }

  std::mt19937 rng(seed);
  int problems = 0;
  long total = 0;
  const auto t0 = std::chrono::steady_clock::now();
  for (const std::string& path : levels) {
    if (FileKind(path) != 1) {
      std::fprintf(stderr, "tumbo-soak: cannot read level %s\n", path.c_str());
      problems++;
      continue;
    }
    const report r = soak(path, frames, rng);
    total += r.frames;
    const bool grew = r.endkb - r.settledkb > kGrowthLimitKb;
    std::printf("%s frames=%d restarts=%d nonfinite=%d rss_kb_after_%d=%ld rss_kb_end=%ld%s\n", path.c_str(),
                r.frames, r.restarts, r.nonfinite, kSettle, r.settledkb, r.endkb, grew ? " GREW" : "");
    std::fflush(stdout);
    problems += (r.nonfinite > 0) + grew;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("soak levels=%zu frames=%ld seconds=%.1f peak_rss_kb=%ld problems=%d\n", levels.size(), total,
              seconds, peakkb(), problems);
  return problems ? 1 : 0;
}
