// tumbo-solve LEVELFILE [--out KEYFILE] [--beam B] [--seg K] [--frames N] [--search N] [--via X,Y]...
//             [--near D] [--hold H] [--robust C] [--prefix KEYFILE [--from F]] [--upto]
//
// Looks for a key script that completes a level: a beam search over held-key
// patterns (left, right, none, each with or without space) that may change
// every K frames (default 8), played through the game's own level frame on the headless backend,
// exactly as tumbo-sim plays it. A branch is scored by how far along the route
// (the --via points in order, then the middle of the nearest "stop" link) the
// player's ball has come; branches that lose the ball are dropped, and of
// branches that end in the same place and motion only the best is kept.
// The script found is replayed from a fresh start before it is written. The
// search looks --search frames ahead at most (default 3000); a beam that loses
// every branch is widened twice.
// As a person plays: every key stays pressed, or released, for at least H
// frames at a time (default 8), so a change that would cut a key's run short
// is not tried. With --robust C a script is kept only when at least C of 40
// replays with every key change moved by up to 2 frames still complete the
// level (the replays tumbo-proof makes); others are dropped and the search goes on.
// With --prefix the first F frames of KEYFILE (all of it by default) are
// played first and the search goes on from there, so a long level can be
// solved one section at a time; the script written holds both parts. With
// --upto the search ends as soon as the ball comes near the last --via point
// and writes the keys that brought it there, to be the prefix of the next
// section.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "tools/proofkit.h"
#include "world/game.h"

namespace {

struct action {
  const char* name;
  std::set<int> keys;
};
const std::vector<action> kActions = {
    {"RIGHT SPACE", {KEY_RIGHT, KEY_SPACE}},
    {"RIGHT", {KEY_RIGHT}},
    {"LEFT SPACE", {KEY_LEFT, KEY_SPACE}},
    {"LEFT", {KEY_LEFT}},
    {"SPACE", {KEY_SPACE}},
    {"", {}},
};

uint8_t bits(const action& a) {
  uint8_t b = 0;
  if (a.keys.count(KEY_LEFT)) b |= proof::kLeft;
  if (a.keys.count(KEY_RIGHT)) b |= proof::kRight;
  if (a.keys.count(KEY_SPACE)) b |= proof::kSpace;
  return b;
}

// The plan's keys frame by frame.
proof::plan perframe(const std::vector<int>& plan, int seg, int frames) {
  proof::plan p;
  for (int a : plan) p.insert(p.end(), static_cast<size_t>(seg), bits(kActions[a]));
  if (static_cast<int>(p.size()) > frames) p.resize(static_cast<size_t>(frames));
  return p;
}

// Everything a frame reads that the frame itself does not recompute.
struct snapshot {
  std::vector<ball> balls;
  std::vector<struct link> links;
  int time = 0, balljump = 0, alreadysound = 0, changetime = 0, temposcritta = 0;
  std::string mode, result, scritta;
  double xcenter = 0, ycenter = 0, leftborder = 0, rightborder = 0, upborder = 0, downborder = 0, zoom = 1;
};

snapshot save(const game& g, const std::string& result) {
  snapshot s;
  for (const auto& b : g.balllist) s.balls.push_back(*b);
  for (const auto& l : g.linklist) s.links.push_back(*l);
  s.time = g.time, s.balljump = g.balljump, s.alreadysound = g.alreadysound, s.changetime = g.changetime;
  s.temposcritta = g.temposcritta, s.mode = g.mode, s.result = result, s.scritta = g.scritta;
  s.xcenter = g.xcenter, s.ycenter = g.ycenter, s.leftborder = g.leftborder, s.rightborder = g.rightborder;
  s.upborder = g.upborder, s.downborder = g.downborder, s.zoom = g.zoom;
  return s;
}

void restore(game& g, const snapshot& s, std::string& result) {
  for (size_t i = 0; i < s.balls.size(); ++i) *g.balllist[i] = s.balls[i];
  for (size_t i = 0; i < s.links.size(); ++i) *g.linklist[i] = s.links[i];
  g.time = s.time, g.balljump = s.balljump, g.alreadysound = s.alreadysound, g.changetime = s.changetime;
  g.temposcritta = s.temposcritta, g.mode = s.mode, result = s.result, g.scritta = s.scritta;
  g.xcenter = s.xcenter, g.ycenter = s.ycenter, g.leftborder = s.leftborder, g.rightborder = s.rightborder;
  g.upborder = s.upborder, g.downborder = s.downborder, g.zoom = s.zoom;
}

struct node {
  snapshot state;
  std::vector<int> plan;  // action per segment
  int reached = 0;        // route points passed
  double score = 0;
  std::array<int, proof::kKeys> since{};  // frames since each key last changed
};

struct options {
  std::string level, out;
  int beam = 40, seg = 8, frames = 7200, search = 3000, hold = 8, robust = 0;
  double near = 60;
  std::vector<std::pair<double, double>> via;
  proof::plan prefix;  // the keys of the frames played before the search
  bool upto = false;   // stop at the last --via point instead of the goal
};

// Frames since each key last changed at the end of the prefix.
std::array<int, proof::kKeys> heldsince(const proof::plan& p) {
  std::array<int, proof::kKeys> since{};
  for (int k = 0; k < proof::kKeys; ++k) {
    const uint8_t bit = proof::kKeyBits[k];
    int n = 0;
    for (size_t i = p.size(); i > 0 && (p[i - 1] & bit) == (p.back() & bit); --i) ++n;
    since[k] = n;
  }
  return since;
}

std::string script(const std::vector<int>& plan, int seg, int frames) {
  std::string s;
  size_t i = 0;
  while (i < plan.size()) {
    size_t j = i;
    while (j + 1 < plan.size() && plan[j + 1] == plan[i]) ++j;
    const int a = static_cast<int>(i) * seg + 1, b = std::min(static_cast<int>(j + 1) * seg, frames);
    if (kActions[plan[i]].name[0])
      s += std::to_string(a) + "-" + std::to_string(b) + " " + kActions[plan[i]].name + "\n";
    i = j + 1;
  }
  return s;
}

// Replays a plan from a fresh start; returns the frames it took to complete
// the level, or 0 when it does not.
int replay(const options& o, const std::vector<int>& plan) {
  proof::session s(o.level);
  const int pre = static_cast<int>(o.prefix.size());
  for (int f = 0; f < o.frames; ++f) {
    if (f < pre) {
      s.frame(o.prefix[static_cast<size_t>(f)]);
    } else {
      const size_t k = (f - pre) / o.seg;
      s.frame(k < plan.size() ? bits(kActions[plan[k]]) : 0);
    }
    if (s.over()) return s.result == "levelcompleted" ? f + 1 : 0;
  }
  return 0;
}

int solve(const options& o) {
  proof::session s(o.level);
  game& g = s.g;
  std::string& result = s.result;
  // The route ends at the middle of the first goal.
  std::vector<std::pair<double, double>> route = o.via;
  for (const auto& l : g.linklist)
    if (l->kind == "stop") {
      route.push_back({(l->ball1->x + l->ball2->x) / 2, (l->ball1->y + l->ball2->y) / 2});
      break;
    }
  if (route.empty() || route.size() == o.via.size()) {
    std::fprintf(stderr, "tumbo-solve: %s has no goal\n", o.level.c_str());
    return 2;
  }
  auto score = [&](const ball& p, int& reached) {
    while (reached + 1 < static_cast<int>(route.size()) &&
           std::hypot(p.x - route[reached].first, p.y - route[reached].second) < o.near)
      ++reached;
    return reached * 100000.0 - std::hypot(p.x - route[reached].first, p.y - route[reached].second);
  };

  const int pre = static_cast<int>(o.prefix.size());
  for (int f = 0; f < pre && !s.over(); ++f) s.frame(o.prefix[static_cast<size_t>(f)]);
  if (g.mode == "end") {
    std::fprintf(stderr, "tumbo-solve: the level ends within the prefix\n");
    return 2;
  }
  std::vector<node> beam(1);
  beam[0].state = save(g, result);
  if (pre) beam[0].since = heldsince(o.prefix);
  const int steps = (std::min(o.frames, o.search) + o.seg - 1) / o.seg;
  for (int step = 0; step < steps; ++step) {
    std::vector<node> next;
    for (const node& n : beam) {
      const uint8_t held = n.plan.empty() ? 0 : bits(kActions[n.plan.back()]);
      for (size_t a = 0; a < kActions.size(); ++a) {
        // A key's run may end only once it has lasted long enough; the
        // run before a key's first press is free.
        const uint8_t want = bits(kActions[a]);
        bool humane = true;
        std::array<int, proof::kKeys> since = n.since;
        for (int k = 0; k < proof::kKeys; ++k) {
          const uint8_t bit = proof::kKeyBits[k];
          if ((want & bit) != (held & bit)) {
            if (since[k] < o.hold) humane = false;
            since[k] = 0;
          }
          since[k] += o.seg;
        }
        if (!humane) continue;
        restore(g, n.state, result);
        for (int f = 0; f < o.seg && !s.over(); ++f) s.frame(bits(kActions[a]));
        if (result == "lost" || (g.mode == "end" && result != "levelcompleted")) continue;
        node m;
        m.plan = n.plan;
        m.plan.push_back(static_cast<int>(a));
        m.since = since;
        if (result == "levelcompleted") {
          const int took = replay(o, m.plan);
          if (!took) {
            std::fprintf(stderr, "tumbo-solve: a plan completed in search but not on replay; skipped\n");
            continue;
          }
          m.plan.resize((took - pre + o.seg - 1) / o.seg);
          proof::plan keyplan = o.prefix;
          const proof::plan tail = perframe(m.plan, o.seg, took - pre);
          keyplan.insert(keyplan.end(), tail.begin(), tail.end());
          if (const int f = proof::tooshort(keyplan, o.hold)) {
            std::fprintf(stderr,
                         "tumbo-solve: a plan has a key run shorter than %d frames at frame %d; skipped\n",
                         o.hold, f);
            continue;
          }
          if (o.robust > 0) {
            const int count = proof::perturbcount(o.level, keyplan);
            std::fprintf(stderr, "tumbo-solve: a plan of %d frames completes %d of 40 perturbed replays\n",
                         took, count);
            if (count < o.robust) continue;
          }
          const std::string keys = pre ? proof::scripttext(keyplan) : script(m.plan, o.seg, took);
          std::printf("solved in %d frames\n%s", took, keys.c_str());
          if (!o.out.empty()) {
            FILE* f = std::fopen(o.out.c_str(), "w");
            if (!f) return 2;
            std::fprintf(
                f, "# Found by tumbo-solve (beam %d, %d-frame key patterns, keys held or released %d+ frames",
                o.beam, o.seg, o.hold);
            for (auto [x, y] : o.via) std::fprintf(f, ", via %g,%g", x, y);
            if (pre) std::fprintf(f, ", after a prefix of %d frames", pre);
            std::fprintf(f, "); completes the level in %d frames.\n%s", took, keys.c_str());
            std::fclose(f);
          }
          return 0;
        }
        const ball& p = *g.balllist.front();
        m.reached = n.reached;
        m.score = score(p, m.reached);
        if (o.upto && m.reached == static_cast<int>(route.size()) - 1) {
          // Far enough for this section: write the keys so far.
          proof::plan keyplan = o.prefix;
          const proof::plan tail = perframe(m.plan, o.seg, static_cast<int>(m.plan.size()) * o.seg);
          keyplan.insert(keyplan.end(), tail.begin(), tail.end());
          std::printf("reached the last point in %zu frames\n", keyplan.size());
          if (!o.out.empty()) {
            FILE* f = std::fopen(o.out.c_str(), "w");
            if (!f) return 2;
            std::fprintf(f, "# A section found by tumbo-solve; %zu frames.\n%s", keyplan.size(),
                         proof::scripttext(keyplan).c_str());
            std::fclose(f);
          }
          return 0;
        }
        m.state = save(g, result);
        next.push_back(std::move(m));
      }
    }
    if (next.empty()) {
      std::fprintf(stderr, "tumbo-solve: every branch lost the ball by frame %d\n", (step + 1) * o.seg);
      return 1;
    }
    // Keep the best branch of each place and motion, then the best of those.
    std::sort(next.begin(), next.end(), [](const node& a, const node& b) { return a.score > b.score; });
    std::unordered_map<long long, int> seen;
    std::vector<node> kept;
    for (node& n : next) {
      const ball& p = n.state.balls.front();
      const long long key = (static_cast<long long>(std::floor(p.x / 30)) * 1000003LL +
                             static_cast<long long>(std::floor(p.y / 30))) *
                                1009LL +
                            static_cast<long long>(std::floor(p.xv / 2)) * 31 +
                            static_cast<long long>(std::floor(p.yv / 3));
      if (seen[key]++) continue;
      kept.push_back(std::move(n));
      if (static_cast<int>(kept.size()) >= o.beam) break;
    }
    beam = std::move(kept);
    if (step % 50 == 0) {
      const ball& p = beam.front().state.balls.front();
      std::fprintf(stderr, "frame %d: best at (%.0f, %.0f) route point %d score %.0f\n", pre + (step + 1) * o.seg,
                   p.x, p.y, beam.front().reached, beam.front().score);
    }
  }
  std::fprintf(stderr, "tumbo-solve: no solution within %d frames\n", std::min(o.frames, o.search));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  options o;
  std::string prefixfile;
  int from = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "tumbo-solve: %s needs a value\n", arg.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--out") {
      o.out = value();
    } else if (arg == "--beam") {
      o.beam = std::max(1, std::atoi(value().c_str()));
    } else if (arg == "--seg") {
      o.seg = std::max(1, std::atoi(value().c_str()));
    } else if (arg == "--frames") {
      o.frames = std::max(1, std::atoi(value().c_str()));
    } else if (arg == "--search") {
      o.search = std::max(1, std::atoi(value().c_str()));
    } else if (arg == "--hold") {
      o.hold = std::max(1, std::atoi(value().c_str()));
    } else if (arg == "--robust") {
      o.robust = std::max(0, std::atoi(value().c_str()));
    } else if (arg == "--near") {
      o.near = std::atof(value().c_str());
    } else if (arg == "--upto") {
      o.upto = true;
    } else if (arg == "--prefix") {
      prefixfile = value();
    } else if (arg == "--from") {
      from = std::max(0, std::atoi(value().c_str()));
    } else if (arg == "--via") {
      const std::string v = value();
      const size_t comma = v.find(',');
      o.via.push_back({std::atof(v.substr(0, comma).c_str()),
                       comma == std::string::npos ? 0 : std::atof(v.substr(comma + 1).c_str())});
    } else if (o.level.empty() && !arg.empty() && arg[0] != '-') {
      o.level = arg;
    } else {
      std::fprintf(stderr,
                   "usage: tumbo-solve LEVELFILE [--out KEYFILE] [--beam B] [--seg K] [--frames N] [--search "
                   "N] [--via X,Y]... "
                   "[--near D] [--hold H] [--robust C] [--prefix KEYFILE [--from F]] [--upto]\n");
      return 2;
    }
  }
  headless::install();
  if (o.level.empty() || FileKind(o.level) != 1) {
    std::fprintf(stderr, "tumbo-solve: cannot read level %s\n", o.level.c_str());
    return 2;
  }
  if (!prefixfile.empty()) {
    std::string error;
    if (!proof::readplan(prefixfile, o.frames, o.prefix, error)) {
      std::fprintf(stderr, "tumbo-solve: %s\n", error.c_str());
      return 2;
    }
    if (from >= 0) o.prefix.resize(static_cast<size_t>(std::min(from, o.frames)), 0);
  }
  // A beam that loses every branch was too narrow: widen it and start again.
  for (int tries = 0; tries < 3; ++tries, o.beam *= 2) {
    const int status = solve(o);
    if (status != 1) return status;
    std::fprintf(stderr, "tumbo-solve: widening the beam to %d\n", o.beam * 2);
  }
  return 1;
}
