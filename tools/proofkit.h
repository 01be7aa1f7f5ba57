// Key plans of Left, Right and Space, one entry per frame, and what the
// proving tools do with them: play a level through the game's own level frame
// on the headless backend (as tumbo-sim plays it), check that every key stays
// pressed or released long enough for a person, move key changes by a few
// frames, and make the mashing scripts a careless player would try.
#pragma once

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <new>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <climits>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "tools/keyscript.h"
#include "world/game.h"

namespace proof {

enum : uint8_t { kLeft = 1, kRight = 2, kSpace = 4 };
constexpr int kKeys = 3;
constexpr uint8_t kKeyBits[kKeys] = {kLeft, kRight, kSpace};
constexpr const char* kKeyNames[kKeys] = {"LEFT", "RIGHT", "SPACE"};

using plan = std::vector<uint8_t>;  // entry f - 1: the keys held in frame f

inline std::set<int> keycodes(uint8_t k) {
  std::set<int> s;
  if (k & kLeft) s.insert(KEY_LEFT);
  if (k & kRight) s.insert(KEY_RIGHT);
  if (k & kSpace) s.insert(KEY_SPACE);
  return s;
}

// A level in play as tumbo-sim plays it: free play with five lives, one
// frame at a time. The headless backend is installed afresh before the game
// is made, as tumbo-sim does it: the game reads its clock and takes a random
// draw when it is made, so a game made on the backend of an earlier run would
// start with another random state and would wait, in its first frame, for that
// run's clock (a wait that grows with every run before it).
class session {
  struct fresh {
    fresh() { headless::install(); }
  } installed_;

 public:
  game g;
  std::string result = "play";
  int frames = 0;  // frames played

  explicit session(const std::string& level) {
    g.optres = 3;
    g.changeres(0, g.optres, 0);
    g.lives = 5;
    g.setuplevelfile(level, g.level);
  }
  session(const session&) = delete;
  session& operator=(const session&) = delete;

  // One frame with the given keys held.
  void frame(uint8_t keys) {
    headless::set_script({{keycodes(keys), ""}}, false);
    headless::clear_calls();
    g.levelframe(result, 1, 0);
    frames++;
  }
  // Completed, lost or left: nothing more happens in the level.
  bool over() const { return g.mode == "end"; }
};

// What became of one run.
struct outcome {
  int frames = 0;                                                   // frames played
  bool completed = false;                                           // ended with "levelcompleted"
  bool lost = false;                                                // the ball was lost
  double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;  // where the player's ball went
};

// Plays the plan (then no keys) until the level ends, completed or lost, or
// `frames` have passed.
inline outcome play(const std::string& level, const plan& p, int frames) {
  session s(level);
  outcome o;
  for (int f = 0; f < frames && !s.over(); ++f) {
    s.frame(static_cast<size_t>(f) < p.size() ? p[static_cast<size_t>(f)] : 0);
    if (!s.g.balllist.empty()) {
      const ball& b = *s.g.balllist.front();
      o.xmin = std::min(o.xmin, b.x), o.xmax = std::max(o.xmax, b.x);
      o.ymin = std::min(o.ymin, b.y), o.ymax = std::max(o.ymax, b.y);
    }
  }
  o.frames = s.frames;
  o.completed = s.over() && s.result == "levelcompleted";
  o.lost = s.result == "lost";
  return o;
}

// What one run sends back from a worker process.
struct record {
  int32_t task = 0, completed = 0, lost = 0, frames = 0;
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
};

inline record torecord(int task, const outcome& o) {
  return {task, o.completed, o.lost, o.frames, o.xmin, o.xmax, o.ymin, o.ymax};
}

inline outcome fromrecord(const record& r) {
  outcome o;
  o.completed = r.completed, o.lost = r.lost, o.frames = r.frames;
  o.xmin = r.xmin, o.xmax = r.xmax, o.ymin = r.ymin, o.ymax = r.ymax;
  return o;
}

// Plays tasks 0 .. n-1 and hands each outcome to `done` in the calling
// process, as it comes. With J > 1 (where the system can fork) J worker
// processes take the next task from a shared counter, one at a time, and send
// each outcome back through one pipe (a record is shorter than the pipe's
// atomic write). Returns the tasks that never came back (a worker died).
inline std::vector<int> runall(int n, int jobs, const std::function<outcome(int)>& run,
                          const std::function<void(int, const outcome&)>& done) {
  std::vector<bool> got(static_cast<size_t>(n), false);
  bool forked = false;
#ifndef _WIN32
  static_assert(sizeof(record) <= PIPE_BUF, "a record must go through the pipe in one write");
  jobs = std::min(jobs, n);
  void* shared = jobs > 1 ? mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE,
                                 MAP_SHARED | MAP_ANONYMOUS, -1, 0)
                          : MAP_FAILED;
  int fds[2];
  if (shared != MAP_FAILED && pipe(fds) == 0) {
    auto* next = new (shared) std::atomic<int>(0);
    std::fflush(stdout);
    std::fflush(stderr);
    std::vector<pid_t> children;
    for (int j = 0; j < jobs; ++j) {
      const pid_t pid = fork();
      if (pid == 0) {
        close(fds[0]);
        for (int i; (i = next->fetch_add(1)) < n;) {
          const record rec = torecord(i, run(i));
          if (write(fds[1], &rec, sizeof rec) != static_cast<ssize_t>(sizeof rec)) _exit(1);
        }
        _exit(0);
      }
      if (pid > 0) children.push_back(pid);
    }
    close(fds[1]);
    if (!children.empty()) {
      forked = true;
      record rec;
      size_t have = 0;
      for (;;) {
        const ssize_t got_now = read(fds[0], reinterpret_cast<char*>(&rec) + have, sizeof rec - have);
        if (got_now < 0 && errno == EINTR) continue;
        if (got_now <= 0) break;
        have += static_cast<size_t>(got_now);
        if (have < sizeof rec) continue;
        have = 0;
        if (rec.task >= 0 && rec.task < n && !got[static_cast<size_t>(rec.task)]) {
          got[static_cast<size_t>(rec.task)] = true;
          done(rec.task, fromrecord(rec));
        }
      }
      for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
      }
    }
    close(fds[0]);
    munmap(shared, sizeof(std::atomic<int>));
  } else if (shared != MAP_FAILED) {
    munmap(shared, sizeof(std::atomic<int>));
  }
#endif
  if (!forked)
    for (int i = 0; i < n; ++i) {
      got[static_cast<size_t>(i)] = true;
      done(i, run(i));
    }
  std::vector<int> missing;
  for (int i = 0; i < n; ++i)
    if (!got[static_cast<size_t>(i)]) missing.push_back(i);
  return missing;
}

// Reads a key file as tumbo-sim does; only Left, Right and Space count.
inline bool readplan(const std::string& path, int frames, plan& p, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read key file " + path;
    return false;
  }
  std::vector<headless::frameinput> script;
  if (!keyscript::read(in, path, frames, script, error)) return false;
  p.assign(script.size(), 0);
  for (size_t f = 0; f < script.size(); ++f)
    for (int k = 0; k < kKeys; ++k)
      if (script[f].held.count(*keycodes(kKeyBits[k]).begin())) p[f] |= kKeyBits[k];
  while (!p.empty() && p.back() == 0) p.pop_back();
  return true;
}

// Writes a plan as key file lines, one line per run of equal keys.
inline std::string scripttext(const plan& p) {
  std::string s;
  for (size_t i = 0; i < p.size();) {
    size_t j = i;
    while (j + 1 < p.size() && p[j + 1] == p[i]) ++j;
    if (p[i]) {
      s += std::to_string(i + 1) + "-" + std::to_string(j + 1);
      for (int k = 0; k < kKeys; ++k)
        if (p[i] & kKeyBits[k]) s += std::string(" ") + kKeyNames[k];
      s += "\n";
    }
    i = j + 1;
  }
  return s;
}

// A person cannot press or let go of a key for a frame or two: every run of a
// key pressed, or released between presses, lasts at least `hold` frames. The
// run before a key's first press and the run the level ends in are free.
// Returns the first frame (from 1) where a run was too short, or 0.
inline int tooshort(const plan& p, int hold) {
  for (int k = 0; k < kKeys; ++k) {
    const uint8_t bit = kKeyBits[k];
    int runstart = -1;  // frame index where the current run began; -1 before the first press
    for (size_t f = 0; f < p.size(); ++f) {
      const bool now = p[f] & bit, before = f > 0 && (p[f - 1] & bit);
      if (f > 0 && now == before) continue;
      if (f == 0 && !now) continue;
      if (runstart >= 0 && static_cast<int>(f) - runstart < hold) return runstart + 1;
      if (runstart >= 0 || now) runstart = static_cast<int>(f);
    }
  }
  return 0;
}

// The same plan with every change of every key moved by a random amount from
// -shift to +shift frames. A key's changes keep their order; a run squeezed to
// nothing disappears.
inline plan perturbed(const plan& p, std::mt19937& rng, int shift = 2) {
  plan out(p.size() + static_cast<size_t>(shift), 0);
  for (int k = 0; k < kKeys; ++k) {
    const uint8_t bit = kKeyBits[k];
    std::vector<int> changes;  // frame indices where the key's state flips
    bool held = false;
    for (size_t f = 0; f < p.size(); ++f)
      if (static_cast<bool>(p[f] & bit) != held) {
        changes.push_back(static_cast<int>(f));
        held = !held;
      }
    if (held) changes.push_back(static_cast<int>(p.size()));
    int floor = 0;
    for (int& c : changes) {
      const int moved = c + static_cast<int>(rng() % static_cast<unsigned>(2 * shift + 1)) - shift;
      c = std::max(floor, moved);
      floor = c;
    }
    for (size_t i = 0; i + 1 < changes.size(); i += 2)
      for (int f = changes[i]; f < changes[i + 1] && f < static_cast<int>(out.size()); ++f)
        out[static_cast<size_t>(f)] |= bit;
  }
  while (!out.empty() && out.back() == 0) out.pop_back();
  return out;
}

// The `tries` perturbed replays of a plan; the same for the same seed
// everywhere.
inline std::vector<plan> perturbations(const plan& p, int tries = 40, unsigned seed = 40) {
  std::mt19937 rng(seed);
  std::vector<plan> out;
  for (int i = 0; i < tries; ++i) out.push_back(perturbed(p, rng));
  return out;
}

// How many of `tries` perturbed replays of the plan still complete the level
// within `frames`.
inline int perturbcount(const std::string& level, const plan& p, int tries = 40, unsigned seed = 40,
                        int frames = 7200) {
  int count = 0;
  for (const plan& q : perturbations(p, tries, seed)) count += play(level, q, frames).completed;
  return count;
}

// The careless player's scripts, `frames` long: the fixed patterns first,
// then `randoms` scripts of holds of 8 to 60 frames of random subsets of
// Left, Right and Space.
struct mash {
  std::string name;
  plan keys;
};
inline std::vector<mash> mashes(int randoms, int frames = 7200, unsigned seed = 17) {
  auto pattern = [frames](auto keyof) {
    plan p(static_cast<size_t>(frames));
    for (int f = 0; f < frames; ++f) p[static_cast<size_t>(f)] = keyof(f);
    return p;
  };
  std::vector<mash> m = {
      {"nothing", plan{}},
      {"right", pattern([](int) { return kRight; })},
      {"right+space", pattern([](int) { return kRight | kSpace; })},
      {"right+space-pulses", pattern([](int f) { return (f / 30) % 2 ? 0 : kRight | kSpace; })},
      {"rocking+space", pattern([](int f) { return kSpace | ((f / 60) % 2 ? kLeft : kRight); })},
  };
  std::mt19937 rng(seed);
  for (int i = 0; i < randoms; ++i) {
    plan p;
    while (static_cast<int>(p.size()) < frames) {
      const uint8_t keys = static_cast<uint8_t>(rng() % 8);
      const int len = 8 + static_cast<int>(rng() % 53);
      p.insert(p.end(), static_cast<size_t>(len), keys);
    }
    p.resize(static_cast<size_t>(frames));
    m.push_back({"random-" + std::to_string(i + 1), p});
  }
  return m;
}

}  // namespace proof
