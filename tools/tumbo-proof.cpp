// tumbo-proof LEVELFILE... [--solutions DIR] [--random N] [--tries T] [--jobs J] [--check]
//             [--exceptions FILE] [--table]
//
// Proves levels fair to a person and closed to a careless one. For each level
// campaigns/<Campaign>/<N> and its solution DIR/<Campaign>/<N>.keys (DIR is
// tests/data/solutions by default) it
//  - replays the solution T times (default 40) with every key change moved by
//    a random amount from -2 to +2 frames (a fixed seed) and counts the replays
//    that still complete the level;
//  - plays the mashing scripts for 7200 frames (doing nothing, holding Right,
//    Right and Space, Right and Space in pulses, rocking Left and Right with
//    Space held, and N random scripts of holds of 8 to 60 frames, default 100)
//    and names those that complete the level;
//  - measures the level's shape: the span of its solid items, where the ball
//    starts and where the goal is, how far down the ball goes.
// One line per level:
//   Meadow/3 frames=1500 humane=yes perturbed=17/40 mashed=- span=3.4x1.2 ...
// Everything runs through the game's own level frame on the headless backend.
//
// --check fails (exit status 1) on a level that breaks a rule, unless the
// exceptions file (one "Campaign/N rule" or "Campaign rule" a line, '#' starts
// a comment) lets it:
//   solution   the solution completes the level, keys held or released 8+ frames
//   perturbed  at least 10 of 40 on levels 1 to 5, 4 of 40 on levels 6 to 10
//   mashed     no mashing script completes a level, but for levels 1 and 2 of
//              the first campaign in sorted order
//   shape      solid items span 3 x 1024 units in x or y; solutions last 1200
//              frames from level 3 on and 2400 from level 8 on; a whole
//              campaign's ten add up to 14400 frames
//   camera     the ball stays at y <= 2000 along its solution (below it the
//              camera stops following), and no solid item lies below 2384
//              (the lowest line the view ever shows) or the fall-out line
// At most three single-level "perturbed" exceptions are allowed in all.
// --table prints a Markdown table row per level instead, its idea read from
// DIR/<Campaign>/ideas (lines "N: idea").
#include <algorithm>
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
#include <sys/wait.h>
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
  bool check = false, table = false;
};

struct result {
  std::string campaign, error;
  int number = 0;
  int frames = 0, humane = 1, perturbed = -1;
  std::string mashed = "-";
  double spanx = 0, spany = 0;  // solid items, in screens
  double startx = 0, starty = 0, goalx = 0, goaly = 0;
  double pathx = 0, pathy = 0;      // the ball's travel along the solution, in screens
  double ballymax = 0, lowest = 0;  // the ball's lowest point, the lowest solid item
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

result prove(const options& o, const std::string& level) {
  result r;
  names(level, r.campaign, r.number);
  {
    game g;
    proof::start(g, level);
    if (g.balllist.empty()) {
      r.error = "no player's ball";
      return r;
    }
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    r.lowest = -1e300;
    for (const auto& b : g.balllist) {
      if (b->kind == "background" || b.get() == g.balllist.front().get()) continue;
      x0 = std::min(x0, b->x - b->r), x1 = std::max(x1, b->x + b->r);
      y0 = std::min(y0, b->y - b->r), y1 = std::max(y1, b->y + b->r);
      r.lowest = std::max(r.lowest, b->y);
    }
    r.spanx = (x1 - x0) / kScreen, r.spany = (y1 - y0) / kScreen;
    r.startx = g.balllist.front()->x, r.starty = g.balllist.front()->y;
    for (const auto& l : g.linklist)
      if (l->kind == "stop") {
        r.goalx = (l->ball1->x + l->ball2->x) / 2, r.goaly = (l->ball1->y + l->ball2->y) / 2;
        break;
      }
  }
  proof::plan solution;
  const std::string keys = o.solutions + "/" + r.campaign + "/" + std::to_string(r.number) + ".keys";
  std::string error;
  if (!proof::readplan(keys, kLimit, solution, error)) {
    r.error = error;
  } else {
    const proof::outcome run = proof::play(level, solution, kLimit);
    r.humane = proof::tooshort(solution, 8) == 0;
    if (!run.completed) {
      r.error = keys + " does not complete the level";
    } else {
      r.frames = run.frames;
      r.pathx = (run.xmax - run.xmin) / kScreen, r.pathy = (run.ymax - run.ymin) / kScreen;
      r.ballymax = run.ymax;
      solution.resize(std::min(solution.size(), static_cast<size_t>(run.frames)));
      r.perturbed = proof::perturbcount(level, solution, o.tries);
    }
  }
  std::string mashed;
  for (const proof::mash& m : proof::mashes(o.randoms, kLimit))
    if (proof::play(level, m.keys, kLimit).completed) mashed += (mashed.empty() ? "" : ",") + m.name;
  if (!mashed.empty()) r.mashed = mashed;
  return r;
}

std::string line(const result& r, int tries) {
  char buf[512];
  std::snprintf(buf, sizeof buf,
                "%s/%d frames=%d humane=%s perturbed=%d/%d mashed=%s span=%.1fx%.1f path=%.1fx%.1f "
                "start=%.0f,%.0f goal=%.0f,%.0f ballymax=%.0f lowest=%.0f",
                r.campaign.c_str(), r.number, r.frames, r.humane ? "yes" : "no", r.perturbed, tries,
                r.mashed.c_str(), r.spanx, r.spany, r.pathx, r.pathy, r.startx, r.starty, r.goalx, r.goaly,
                r.ballymax, r.lowest);
  std::string s = buf;
  if (!r.error.empty()) s += " error=" + r.error;
  return s;
}

bool parse(const std::string& text, result& r) {
  const size_t slash = text.find('/'), space = text.find(' ');
  if (slash == std::string::npos || space == std::string::npos || slash > space) return false;
  r.campaign = text.substr(0, slash);
  r.number = std::atoi(text.c_str() + slash + 1);
  std::istringstream words(text.substr(space + 1));
  std::string w;
  while (words >> w) {
    const size_t eq = w.find('=');
    if (eq == std::string::npos) continue;
    const std::string k = w.substr(0, eq), v = w.substr(eq + 1);
    auto two = [&](double& a, double& b, char sep) {
      const size_t at = v.find(sep);
      a = std::atof(v.substr(0, at).c_str()), b = std::atof(v.substr(at + 1).c_str());
    };
    if (k == "frames") r.frames = std::atoi(v.c_str());
    if (k == "humane") r.humane = v == "yes";
    if (k == "perturbed") r.perturbed = std::atoi(v.c_str());
    if (k == "mashed") r.mashed = v;
    if (k == "span") two(r.spanx, r.spany, 'x');
    if (k == "path") two(r.pathx, r.pathy, 'x');
    if (k == "start") two(r.startx, r.starty, ',');
    if (k == "goal") two(r.goalx, r.goaly, ',');
    if (k == "ballymax") r.ballymax = std::atof(v.c_str());
    if (k == "lowest") r.lowest = std::atof(v.c_str());
    if (k == "error") r.error = text.substr(text.find("error=") + 6);
    if (k == "error") break;
  }
  return true;
}

// Proves every level, in J processes at once where the system can fork.
std::vector<result> proveall(const options& o) {
  std::vector<result> results(o.levels.size());
#ifndef _WIN32
  if (o.jobs > 1 && o.levels.size() > 1) {
    std::vector<std::pair<pid_t, int>> children;
    const int jobs = std::min<int>(o.jobs, static_cast<int>(o.levels.size()));
    for (int j = 0; j < jobs; ++j) {
      int fds[2];
      if (pipe(fds) != 0) break;
      const pid_t pid = fork();
      if (pid == 0) {
        close(fds[0]);
        FILE* out = fdopen(fds[1], "w");
        for (size_t i = static_cast<size_t>(j); i < o.levels.size(); i += static_cast<size_t>(jobs))
          std::fprintf(out, "%zu %s\n", i, line(prove(o, o.levels[i]), o.tries).c_str());
        std::fclose(out);
        _exit(0);
      }
      close(fds[1]);
      children.push_back({pid, fds[0]});
    }
    std::vector<bool> got(o.levels.size(), false);
    for (auto [pid, fd] : children) {
      FILE* in = fdopen(fd, "r");
      char buf[4096];
      while (in && std::fgets(buf, sizeof buf, in)) {
        std::string text = buf;
        if (!text.empty() && text.back() == '\n') text.pop_back();
        const size_t i = std::strtoul(text.c_str(), nullptr, 10);
        if (i < results.size() && parse(text.substr(text.find(' ') + 1), results[i])) got[i] = true;
      }
      if (in) std::fclose(in);
      int status = 0;
      waitpid(pid, &status, 0);
    }
    for (size_t i = 0; i < results.size(); ++i)
      if (!got[i]) {
        names(o.levels[i], results[i].campaign, results[i].number);
        results[i].error = "its proof did not finish";
      }
    return results;
  }
#endif
  for (size_t i = 0; i < o.levels.size(); ++i) results[i] = prove(o, o.levels[i]);
  return results;
}

// The campaign played first: the first folder, in sorted order, beside this one.
std::string firstcampaign(const std::string& level) {
  std::string dir = level.substr(0, level.rfind('/'));
  const size_t up = dir.rfind('/');
  const std::string parent = up == std::string::npos ? "." : dir.substr(0, up);
  for (const std::string& n : ListDirectory(parent))
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
    if (!r.error.empty()) fail(r, "solution", r.error);
    if (!r.humane) fail(r, "solution", "a key is pressed or released for fewer than 8 frames");
    const int need = n <= 5 ? 10 : 4;
    if (r.error.empty() && r.perturbed < need * o.tries / 40)
      fail(r, "perturbed",
           std::to_string(r.perturbed) + "/" + std::to_string(o.tries) + " perturbed replays complete it");
    const bool mayfall = n <= 2 && r.campaign == firstcampaign(o.levels[i]);
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

std::string where(const result& r) {
  const double dx = (r.goalx - r.startx) / kScreen, dy = (r.goaly - r.starty) / kScreen;
  char buf[128];
  std::string lr = std::fabs(dx) < 0.5 ? "" : (dx > 0 ? "right" : "left (back behind)");
  std::string ud = std::fabs(dy) < 0.5 ? "" : (dy < 0 ? "above" : "below");
  std::snprintf(buf, sizeof buf, "goal %.1f screens %s%s%s", std::hypot(dx, dy), lr.c_str(),
                !lr.empty() && !ud.empty() ? ", " : "", ud.c_str());
  std::string s = buf;
  if (std::fabs(dx) >= 0.5 && std::fabs(dy) >= 0.5) {
    std::snprintf(buf, sizeof buf, " (%.1f across, %.1f %s)", std::fabs(dx), std::fabs(dy),
                  dy < 0 ? "up" : "down");
    s += buf;
  }
  return s;
}

void table(const options& o, const std::vector<result>& results) {
  std::map<std::string, std::map<int, std::string>> ideas;
  std::printf("| Level | Idea | Size (screens) | Start and end | Solution frames | Perturbed /%d |\n",
              o.tries);
  std::printf("|---|---|---|---|---|---|\n");
  for (const result& r : results) {
    if (!ideas.count(r.campaign)) {
      std::ifstream in(o.solutions + "/" + r.campaign + "/ideas");
      std::string l;
      while (std::getline(in, l)) {
        const size_t colon = l.find(':');
        if (colon != std::string::npos)
          ideas[r.campaign][std::atoi(l.c_str())] = l.substr(l.find_first_not_of(' ', colon + 1));
      }
    }
    std::printf("| %d | %s | %.1f x %.1f | %s | %d | %d |\n", r.number, ideas[r.campaign][r.number].c_str(),
                r.spanx, r.spany, where(r).c_str(), r.frames, r.perturbed);
  }
}

}  // namespace

int main(int argc, char** argv) {
  options o;
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
      o.jobs = std::max(1, std::atoi(value().c_str()));
    } else if (arg == "--exceptions") {
      o.exceptions = value();
    } else if (arg == "--check") {
      o.check = true;
    } else if (arg == "--table") {
      o.table = true;
    } else if (!arg.empty() && arg[0] != '-') {
      o.levels.push_back(arg);
    } else {
      std::fprintf(stderr,
                   "usage: tumbo-proof LEVELFILE... [--solutions DIR] [--random N] [--tries T] [--jobs J] "
                   "[--check] [--exceptions FILE] [--table]\n");
      return 2;
    }
  }
  headless::install();
  for (const std::string& l : o.levels)
    if (FileKind(l) != 1) {
      std::fprintf(stderr, "tumbo-proof: cannot read level %s\n", l.c_str());
      return 2;
    }
  const std::vector<result> results = proveall(o);
  if (o.table) {
    table(o, results);
    return 0;
  }
  for (const result& r : results) std::printf("%s\n", line(r, o.tries).c_str());
  std::fflush(stdout);
  return o.check ? check(o, results) : 0;
}
