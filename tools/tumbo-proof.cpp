// tumbo-proof LEVELFILE... [--solutions DIR] [--random N] [--tries T] [--jobs J] [--check]
//             [--exceptions FILE] [--mashing-only] [--table]
//
// Proves levels fair to a person and closed to a careless one. For each level
// campaigns/<Campaign>/<N> and its solution DIR/<Campaign>/<N>.keys (DIR is
// tests/data/solutions by default) it
//  - replays the solution T times (default 40) with every key change moved by
//    a random amount from -2 to +2 frames (seed 40) and counts the replays
//    that still complete the level within 7200 frames;
//  - plays the mashing scripts for 7200 frames (doing nothing, holding Right,
//    Right and Space, Right and Space in pulses, rocking Left and Right with
//    Space held, and N random scripts of holds of 8 to 60 frames, default 100,
//    seed 17) and names those that complete the level;
//  - measures the level's shape: the extent of its balls (scenery left out),
//    where the ball starts and where the goal is, how far down the ball goes.
// A run stops as soon as the level ends, completed or lost. One line per
// level on standard output, printed as soon as the level (and every level
// before it) is done:
//   Meadow/3 frames=1500 humane=yes perturbed=17/40 mashed=- span=3.4x1.2 ...
// and on standard error how far the whole proof has come, and at the end how
// many frames were played and how fast. Everything runs through the game's
// own level frame on the headless backend, as tumbo-sim plays it.
//
// --jobs J plays the runs in J processes at once (0: one per processor); the
// runs of all levels are shared out one at a time, so one level gains too.
// --mashing-only plays the mashing scripts and nothing else (no solution is
// read); with --check only the mashing rule is checked.
// --check fails (exit status 1) on a level that breaks a rule, unless the
// exceptions file (one "Campaign/N rule" or "Campaign rule" a line, '#' starts
// a comment) lets it:
//   solution   the solution completes the level, keys held or released 8+ frames
//   perturbed  at least 10 of 40 on levels 1 to 5, 4 of 40 on levels 6 to 10
//   mashed     no mashing script completes a level, but for levels 1 and 2 of
//              the first campaign in sorted order
//   shape      the level spans 3 x 1024 units in x or y; solutions last 1200
//              frames from level 3 on and 2400 from level 8 on; a whole
//              campaign's ten add up to 14400 frames
//   camera     the ball stays at y <= 2000 along its solution (below it the
//              camera stops following), and no solid item lies below 2384
//              (the lowest line the view ever shows) or the fall-out line
// At most three single-level "perturbed" exceptions are allowed in all.
// --table prints the campaigns' Markdown table instead, one row per level
// (campaign, level, idea, size in screens, start, goal, solution frames,
// shifted replays that complete), its idea read from DIR/<Campaign>/ideas
// (lines "N: idea"); it plays no mashing scripts.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "tools/proofkit.h"
#include "world/game.h"

namespace {

constexpr int kScreen = 1024;
constexpr int kLimit = 7200;

struct options {
  std::vector<std::string> levels;
  std::string solutions = "tests/data/solutions", exceptions;
  int randoms = 100, tries = 40, jobs = 1;
  bool check = false, table = false, mashingonly = false;
};

struct result {
  std::string campaign, error;
  int number = 0;
  int frames = 0, humane = 1, perturbed = -1;
  std::string mashed = "-";
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;  // the extent of the level's balls
  double spanx = 0, spany = 0;            // the same, in screens
  double startx = 0, starty = 0, goalx = 0, goaly = 0;
  double pathx = 0, pathy = 0;      // the ball's travel along the solution, in screens
  double ballymax = 0, lowest = 0;  // the ball's lowest point, the lowest solid item
  proof::plan solution;             // as far as it takes to complete the level
  long long played = 0;             // frames played for this level, all runs
};

// "campaigns/Meadow/3" -> ("Meadow", 3).
void names(const std::string& path, std::string& campaign, int& number) {
  const size_t slash = path.rfind('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  const size_t up = dir.rfind('/');
  campaign = up == std::string::npos ? dir : dir.substr(up + 1);
  number = std::atoi(base.c_str());
}

// The level as it stands before the first frame: its extent, start and goal.
void measure(const std::string& level, result& r) {
  names(level, r.campaign, r.number);
  proof::session s(level);
  const game& g = s.g;
  if (g.balllist.empty()) {
    r.error = "no player's ball";
    return;
  }
  double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  r.lowest = -1e300;
  for (const auto& b : g.balllist) {
    if (b->kind == "background") continue;
    x0 = std::min(x0, b->x - b->r), x1 = std::max(x1, b->x + b->r);
    y0 = std::min(y0, b->y - b->r), y1 = std::max(y1, b->y + b->r);
    if (b.get() != g.balllist.front().get()) r.lowest = std::max(r.lowest, b->y);
  }
  r.x0 = x0, r.x1 = x1, r.y0 = y0, r.y1 = y1;
  r.spanx = (x1 - x0) / kScreen, r.spany = (y1 - y0) / kScreen;
  r.startx = g.balllist.front()->x, r.starty = g.balllist.front()->y;
  for (const auto& l : g.linklist)
    if (l->kind == "stop") {
      r.goalx = (l->ball1->x + l->ball2->x) / 2, r.goaly = (l->ball1->y + l->ball2->y) / 2;
      break;
    }
}

std::string line(const result& r, const options& o) {
  const std::string perturbed = r.perturbed < 0 ? "-" : std::to_string(r.perturbed) + "/" + std::to_string(o.tries);
  char shape[256];
  std::snprintf(shape, sizeof shape,
                " span=%.1fx%.1f path=%.1fx%.1f start=%.0f,%.0f goal=%.0f,%.0f ballymax=%.0f lowest=%.0f", r.spanx,
                r.spany, r.pathx, r.pathy, r.startx, r.starty, r.goalx, r.goaly, r.ballymax, r.lowest);
  // The list of mashing scripts can be long: it is not cut to a buffer.
  std::string s = r.campaign + "/" + std::to_string(r.number) + " frames=" + std::to_string(r.frames) +
                  " humane=" + (r.humane ? "yes" : "no") + " perturbed=" + perturbed + " mashed=" + r.mashed + shape;
  if (!r.error.empty()) s += " error=" + r.error;
  return s;
}

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Proves every level: first the solutions, then the shifted replays and the
// mashing scripts of all levels, shared out among the jobs.
std::vector<result> proveall(const options& o, bool printlines) {
  const auto t0 = std::chrono::steady_clock::now();
  const size_t nlevels = o.levels.size();
  std::vector<result> results(nlevels);
  long long played = 0;
  int runs = 0;
  for (size_t i = 0; i < nlevels; ++i) measure(o.levels[i], results[i]);

  // The solutions.
  std::vector<int> withsolution;
  if (!o.mashingonly)
    for (size_t i = 0; i < nlevels; ++i) {
      result& r = results[i];
      if (!r.error.empty()) continue;
      const std::string keys = o.solutions + "/" + r.campaign + "/" + std::to_string(r.number) + ".keys";
      std::string error;
      if (!proof::readplan(keys, kLimit, r.solution, error)) {
        r.error = error;
        continue;
      }
      r.humane = proof::tooshort(r.solution, 8) == 0;
      withsolution.push_back(static_cast<int>(i));
    }
  const std::vector<int> lost = proof::runall(
      static_cast<int>(withsolution.size()), o.jobs,
      [&](int t) {
        const result& r = results[static_cast<size_t>(withsolution[static_cast<size_t>(t)])];
        return proof::play(o.levels[static_cast<size_t>(withsolution[static_cast<size_t>(t)])], r.solution, kLimit);
      },
      [&](int t, const proof::outcome& run) {
        result& r = results[static_cast<size_t>(withsolution[static_cast<size_t>(t)])];
        played += run.frames, r.played += run.frames, runs++;
        if (!run.completed) {
          r.error = o.solutions + "/" + r.campaign + "/" + std::to_string(r.number) +
                    ".keys does not complete the level";
          return;
        }
        r.frames = run.frames;
        r.pathx = (run.xmax - run.xmin) / kScreen, r.pathy = (run.ymax - run.ymin) / kScreen;
        r.ballymax = run.ymax;
        r.solution.resize(std::min(r.solution.size(), static_cast<size_t>(run.frames)));
        r.perturbed = 0;
      });
  for (int t : lost) results[static_cast<size_t>(withsolution[static_cast<size_t>(t)])].error = "its solution's run did not finish";

  // Every other run, level by level.
  struct task {
    size_t level;
    const proof::plan* keys;
    int mash;  // index into the mashing scripts, or -1 for a shifted replay
  };
  const std::vector<proof::mash> mashes = o.table ? std::vector<proof::mash>{} : proof::mashes(o.randoms, kLimit);
  std::vector<std::vector<proof::plan>> shifted(nlevels);
  std::vector<task> tasks;
  std::vector<int> left(nlevels, 0);  // runs of each level still to come back
  for (size_t i = 0; i < nlevels; ++i) {
    if (results[i].perturbed >= 0) shifted[i] = proof::perturbations(results[i].solution, o.tries);
    for (const proof::plan& p : shifted[i]) tasks.push_back({i, &p, -1});
    for (size_t m = 0; m < mashes.size(); ++m) tasks.push_back({i, &mashes[m].keys, static_cast<int>(m)});
  }
  for (const task& t : tasks) left[t.level]++;
  std::vector<std::set<int>> mashedby(nlevels);
  size_t printed = 0;
  auto flush = [&]() {
    while (printed < nlevels && left[printed] == 0) {
      result& r = results[printed];
      std::string m;
      for (int k : mashedby[printed]) m += (m.empty() ? "" : ",") + mashes[static_cast<size_t>(k)].name;
      if (!m.empty()) r.mashed = m;
      if (printlines) std::printf("%s\n", line(r, o).c_str());
      std::fflush(stdout);
      std::fprintf(stderr, "tumbo-proof: %zu/%zu levels done (%s/%d: %lld frames), %.1f s\n", printed + 1,
                   nlevels, r.campaign.c_str(), r.number, r.played, seconds(t0));
      printed++;
    }
  };
  flush();
  const std::vector<int> unfinished = proof::runall(
      static_cast<int>(tasks.size()), o.jobs,
      [&](int i) {
        const task& t = tasks[static_cast<size_t>(i)];
        return proof::play(o.levels[t.level], *t.keys, kLimit);
      },
      [&](int i, const proof::outcome& run) {
        const task& t = tasks[static_cast<size_t>(i)];
        result& r = results[t.level];
        played += run.frames, r.played += run.frames, runs++;
        if (run.completed) {
          if (t.mash < 0) r.perturbed++;
          else mashedby[t.level].insert(t.mash);
        }
        left[t.level]--;
        flush();
      });
  for (int i : unfinished) {
    const task& t = tasks[static_cast<size_t>(i)];
    results[t.level].error = "its proof did not finish";
    left[t.level]--;
  }
  flush();
  const double took = seconds(t0);
  std::fprintf(stderr, "tumbo-proof: %d runs, %lld frames in %.1f s with %d jobs: %.0f frames/s\n", runs, played,
               took, std::max(1, std::min<int>(o.jobs, static_cast<int>(tasks.size()))),
               took > 0 ? static_cast<double>(played) / took : 0.0);
  return results;
}

// The campaign played first: the first folder, in sorted order, beside this one.
std::string firstcampaign(const std::string& level) {
  std::string dir = level.substr(0, level.rfind('/'));
  const size_t up = dir.rfind('/');
  const std::string parent = up == std::string::npos ? "." : dir.substr(0, up);
  std::vector<std::string> found = ListDirectory(parent);
  std::sort(found.begin(), found.end());
  for (const std::string& n : found)
    if (FileKind(parent + "/" + n) == 2) return n;
  return "";
}

struct exceptions {
  std::set<std::string> allowed;  // "Campaign/N rule" and "Campaign rule"
  int singleperturbed = 0;
  bool read(const std::string& path) {
    if (path.empty()) return true;
    std::ifstream in(path);
    if (!in) return false;
    std::string l;
    while (std::getline(in, l)) {
      l = l.substr(0, l.find('#'));
      std::istringstream w(l);
      std::string what, rule;
      if (!(w >> what >> rule)) continue;
      allowed.insert(what + " " + rule);
      if (rule == "perturbed" && what.find('/') != std::string::npos) singleperturbed++;
    }
    return true;
  }
  bool lets(const result& r, const std::string& rule) const {
    return allowed.count(r.campaign + "/" + std::to_string(r.number) + " " + rule) ||
           allowed.count(r.campaign + " " + rule);
  }
};

int check(const options& o, const std::vector<result>& results) {
  exceptions ex;
  if (!ex.read(o.exceptions)) {
    std::fprintf(stderr, "tumbo-proof: cannot read %s\n", o.exceptions.c_str());
    return 2;
  }
  int fails = 0;
  auto fail = [&](const result& r, const std::string& rule, const std::string& what) {
    if (ex.lets(r, rule)) {
      std::printf("allowed: %s/%d %s: %s\n", r.campaign.c_str(), r.number, rule.c_str(), what.c_str());
      return;
    }
    std::printf("FAIL: %s/%d %s: %s\n", r.campaign.c_str(), r.number, rule.c_str(), what.c_str());
    fails++;
  };
  if (ex.singleperturbed > 3) {
    std::printf("FAIL: %d levels are let off the perturbation count; three at most\n", ex.singleperturbed);
    fails++;
  }
  std::map<std::string, std::pair<int, int>> campaigns;  // levels proven and their frames
  for (size_t i = 0; i < results.size(); ++i) {
    const result& r = results[i];
    const int n = r.number;
    const bool mayfall = n <= 2 && r.campaign == firstcampaign(o.levels[i]);
    if (o.mashingonly) {
      if (!r.error.empty()) fail(r, "mashed", r.error);
      if (r.mashed != "-" && !mayfall) fail(r, "mashed", "completed by " + r.mashed);
      continue;
    }
    if (!r.error.empty()) fail(r, "solution", r.error);
    if (!r.humane) fail(r, "solution", "a key is pressed or released for fewer than 8 frames");
    const int need = n <= 5 ? 10 : 4;
    if (r.error.empty() && r.perturbed < need * o.tries / 40)
      fail(r, "perturbed",
           std::to_string(r.perturbed) + "/" + std::to_string(o.tries) + " perturbed replays complete it");
    if (r.mashed != "-" && !mayfall) fail(r, "mashed", "completed by " + r.mashed);
    if (std::max(r.spanx, r.spany) < 3) fail(r, "shape", "spans fewer than 3 screens");
    if (r.error.empty() && n >= 3 && r.frames < (n >= 8 ? 2400 : 1200))
      fail(r, "shape", "its solution lasts only " + std::to_string(r.frames) + " frames");
    if (r.error.empty() && r.ballymax > 2000) fail(r, "camera", "the ball goes below y = 2000");
    if (r.lowest > 2384) fail(r, "camera", "a solid item lies below y = 2384");
    auto& c = campaigns[r.campaign];
    c.first++;
    c.second += r.frames;
  }
  for (const auto& [name, c] : campaigns)
    if (c.first == 10 && c.second < 14400) {
      result r;
      r.campaign = name;
      fail(r, "shape", "the ten solutions add up to " + std::to_string(c.second) + " frames, under 14400");
    }
  std::printf("%zu levels proven, %d failures\n", results.size(), fails);
  return fails ? 1 : 0;
}

// Where a point lies in the level's extent: "left, top" .. "right, bottom".
std::string place(const result& r, double x, double y) {
  auto third = [](double v, double lo, double hi, const char* a, const char* b, const char* c) {
    const double f = hi > lo ? (v - lo) / (hi - lo) : 0.5;
    return std::string(f < 1.0 / 3 ? a : f < 2.0 / 3 ? b : c);
  };
  const std::string h = third(x, r.x0, r.x1, "left", "middle", "right");
  const std::string v = third(y, r.y0, r.y1, "top", "middle", "bottom");
  char buf[128];
  std::snprintf(buf, sizeof buf, "%s (%.0f, %.0f)", h == v ? "middle" : (h + ", " + v).c_str(), x, y);
  return buf;
}

// The goal from the start, in screens: "3.2 right, 1.1 up".
std::string fromstart(const result& r) {
  const double dx = (r.goalx - r.startx) / kScreen, dy = (r.goaly - r.starty) / kScreen;
  char buf[128];
  std::snprintf(buf, sizeof buf, "%.1f %s, %.1f %s of the start", std::fabs(dx), dx < 0 ? "left" : "right",
                std::fabs(dy), dy < 0 ? "up" : "down");
  return buf;
}

std::string cell(const std::string& s) {
  std::string out;
  for (char c : s) out += c == '|' ? std::string("\\|") : std::string(1, c);
  return out;
}

void table(const options& o, std::vector<result> results) {
  // In the order of play: campaigns sorted bytewise, as the chooser lists them.
  std::stable_sort(results.begin(), results.end(), [](const result& a, const result& b) {
    return a.campaign != b.campaign ? a.campaign < b.campaign : a.number < b.number;
  });
  std::map<std::string, std::map<int, std::string>> ideas;
  std::printf(
      "| Campaign | Level | Idea | Size (screens) | Start | Goal | Solution frames | Shifted replays /%d |\n",
      o.tries);
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (const result& r : results) {
    if (!ideas.count(r.campaign)) {
      std::ifstream in(o.solutions + "/" + r.campaign + "/ideas");
      std::string l;
      while (std::getline(in, l)) {
        const size_t colon = l.find(':');
        const size_t text = colon == std::string::npos ? colon : l.find_first_not_of(' ', colon + 1);
        if (text != std::string::npos) ideas[r.campaign][std::atoi(l.c_str())] = l.substr(text);
      }
    }
    const std::string frames = r.error.empty() ? std::to_string(r.frames) : "no solution";
    const std::string shifted = r.perturbed < 0 ? "-" : std::to_string(r.perturbed);
    std::printf("| %s | %d | %s | %.1f x %.1f | %s | %s, %s | %s | %s |\n", cell(r.campaign).c_str(), r.number,
                cell(ideas[r.campaign][r.number]).c_str(), r.spanx, r.spany,
                place(r, r.startx, r.starty).c_str(), place(r, r.goalx, r.goaly).c_str(), fromstart(r).c_str(),
                frames.c_str(), shifted.c_str());
  }
}

int processors() {
#ifndef _WIN32
  const long n = sysconf(_SC_NPROCESSORS_ONLN);
  return n > 0 ? static_cast<int>(n) : 1;
#else
  return 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  options o;
  const char* usage =
      "usage: tumbo-proof LEVELFILE... [--solutions DIR] [--random N] [--tries T] [--jobs J] "
      "[--check] [--exceptions FILE] [--mashing-only] [--table]\n";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "tumbo-proof: %s needs a value\n", arg.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--solutions") {
      o.solutions = value();
    } else if (arg == "--random") {
      o.randoms = std::max(0, std::atoi(value().c_str()));
    } else if (arg == "--tries") {
      o.tries = std::max(1, std::atoi(value().c_str()));
    } else if (arg == "--jobs") {
      o.jobs = std::atoi(value().c_str());
      if (o.jobs <= 0) o.jobs = processors();
    } else if (arg == "--exceptions") {
      o.exceptions = value();
    } else if (arg == "--check") {
      o.check = true;
    } else if (arg == "--table") {
      o.table = true;
    } else if (arg == "--mashing-only") {
      o.mashingonly = true;
    } else if (arg == "--help") {
      std::printf("%s", usage);
      return 0;
    } else if (!arg.empty() && arg[0] != '-') {
      o.levels.push_back(arg);
    } else {
      std::fprintf(stderr, "%s", usage);
      return 2;
    }
  }
  if (o.table && o.mashingonly) {
    std::fprintf(stderr, "tumbo-proof: --table needs the solutions; it cannot go with --mashing-only\n");
    return 2;
  }
  headless::install();
  for (const std::string& l : o.levels)
    if (FileKind(l) != 1) {
      std::fprintf(stderr, "tumbo-proof: cannot read level %s\n", l.c_str());
      return 2;
    }
  const std::vector<result> results = proveall(o, !o.table);
  if (o.table) {
    table(o, results);
    return 0;
  }
  std::fflush(stdout);
  return o.check ? check(o, results) : 0;
}
