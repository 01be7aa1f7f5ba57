// The proving tools: their runs of a level, the 8-frame rule, moved key
// changes, the careless player's scripts and the runs shared out among
// worker processes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "tools/proofkit.h"

namespace {

using proof::kLeft;
using proof::kRight;
using proof::kSpace;

const std::string kCamp = std::string(TUMBO_SOURCE_DIR) + "/tests/data/campaigns/testcamp/";

proof::plan runs(std::initializer_list<std::pair<int, uint8_t>> parts) {
  proof::plan p;
  for (auto [n, k] : parts) p.insert(p.end(), static_cast<size_t>(n), k);
  return p;
}

TEST(Proof, KeyRunsMustLastEightFrames) {
  // The wait before the first press and the last run are free.
  EXPECT_EQ(proof::tooshort(runs({{2, 0}, {8, kRight}, {8, 0}, {3, kRight}}), 8), 0);
  // Right pressed for 7 frames from frame 3.
  EXPECT_EQ(proof::tooshort(runs({{2, 0}, {7, kRight}, {8, 0}, {9, kRight}}), 8), 3);
  // Right let go for 5 frames from frame 11.
  EXPECT_EQ(proof::tooshort(runs({{10, kRight}, {5, 0}, {9, kRight}}), 8), 11);
  // Space toggles inside a long Right hold: each key is judged alone.
  EXPECT_EQ(proof::tooshort(runs({{8, kRight | kSpace}, {4, kRight}, {8, kRight | kSpace}}), 8), 9);
  EXPECT_EQ(proof::tooshort(runs({{8, kRight | kSpace}, {8, kRight}, {8, kLeft | kSpace}}), 8), 0);
}

TEST(Proof, PerturbedChangesMoveByAtMostTwoFrames) {
  const proof::plan p = runs({{20, 0}, {30, kRight}, {20, kRight | kSpace}, {10, 0}, {15, kLeft}});
  std::mt19937 rng(40);
  bool moved = false;
  for (int i = 0; i < 50; ++i) {
    const proof::plan q = proof::perturbed(p, rng);
    moved |= q != p;
    for (int k = 0; k < proof::kKeys; ++k) {
      const uint8_t bit = proof::kKeyBits[k];
      std::vector<int> a, b;
      for (size_t f = 0; f < p.size() + 3; ++f) {
        auto at = [&](const proof::plan& x, size_t g) { return g < x.size() && (x[g] & bit); };
        if (at(p, f) != (f > 0 && at(p, f - 1))) a.push_back(static_cast<int>(f));
        if (at(q, f) != (f > 0 && at(q, f - 1))) b.push_back(static_cast<int>(f));
      }
      ASSERT_EQ(a.size(), b.size());
      for (size_t j = 0; j < a.size(); ++j) EXPECT_LE(std::abs(a[j] - b[j]), 2);
    }
  }
  EXPECT_TRUE(moved);
  std::mt19937 again(40), other(40);
  EXPECT_EQ(proof::perturbed(p, again), proof::perturbed(p, other));
}

TEST(Proof, MashingScriptsAreTheFixedPatternsThenRandomHolds) {
  const std::vector<proof::mash> m = proof::mashes(20, 7200);
  ASSERT_EQ(m.size(), 25u);
  EXPECT_TRUE(m[0].keys.empty());
  EXPECT_EQ(m[1].keys, proof::plan(7200, kRight));
  EXPECT_EQ(m[2].keys, proof::plan(7200, kRight | kSpace));
  EXPECT_EQ(m[3].keys[0], kRight | kSpace);
  EXPECT_EQ(m[3].keys[30], 0);
  EXPECT_EQ(m[4].keys[0], kRight | kSpace);
  EXPECT_EQ(m[4].keys[60], kLeft | kSpace);
  for (size_t i = 5; i < m.size(); ++i) {
    ASSERT_EQ(m[i].keys.size(), 7200u);
    // Every hold but the one cut off at the end lasts 8 to 60 frames; two
    // holds of the same keys in a row make one longer run, so look at the
    // shortest only.
    size_t start = 0;
    for (size_t f = 1; f <= m[i].keys.size(); ++f)
      if (f == m[i].keys.size() || m[i].keys[f] != m[i].keys[start]) {
        if (f < m[i].keys.size()) {
          EXPECT_GE(f - start, 8u) << m[i].name;
        }
        start = f;
      }
  }
  EXPECT_NE(m[5].keys, m[6].keys);
  EXPECT_EQ(proof::mashes(20, 7200)[7].keys, m[7].keys);
}

TEST(Proof, ARunEndsWithTheLevelAsTumboSimPlaysIt) {
  // testcamp/1 ends itself after 42 frames; tumbo-sim says the same.
  proof::outcome o = proof::play(kCamp + "1", {}, 7200);
  EXPECT_TRUE(o.completed);
  EXPECT_FALSE(o.lost);
  EXPECT_EQ(o.frames, 42);
  // Holding Right rolls the ball off testcamp/5 in frame 369.
  o = proof::play(kCamp + "5", proof::plan(2000, kRight), 7200);
  EXPECT_FALSE(o.completed);
  EXPECT_TRUE(o.lost);
  EXPECT_EQ(o.frames, 369);
  EXPECT_GT(o.xmax, o.xmin);
  // Waiting there ends nothing: the run lasts as long as it was given.
  o = proof::play(kCamp + "5", {}, 500);
  EXPECT_FALSE(o.completed || o.lost);
  EXPECT_EQ(o.frames, 500);
}

TEST(Proof, EachRunStartsOnAFreshClock) {
  // A run's game is made on its own backend: its first frame does not wait
  // for the clock of the runs before it.
  proof::play(kCamp + "5", {}, 3000);
  proof::session s(kCamp + "5");
  s.frame(0);
  EXPECT_LT(headless::clock(), 100);
  EXPECT_EQ(s.frames, 1);
  EXPECT_FALSE(s.over());
}

TEST(Proof, RunsSharedOutAmongWorkersAllComeBack) {
  auto run = [](int i) {
    proof::outcome o;
    o.frames = 10 * i + 1;
    o.completed = i % 3 == 0;
    o.xmin = -i, o.xmax = i;
    return o;
  };
  for (int jobs : {1, 2, 3}) {
    std::vector<int> frames(50, -1), completed(50, -1);
    double xs = 0;
    const std::vector<int> missing = proof::runall(50, jobs, run, [&](int i, const proof::outcome& o) {
      ASSERT_GE(i, 0);
      ASSERT_LT(i, 50);
      EXPECT_EQ(frames[static_cast<size_t>(i)], -1) << "task " << i << " came back twice";
      frames[static_cast<size_t>(i)] = o.frames, completed[static_cast<size_t>(i)] = o.completed;
      xs += o.xmax - o.xmin;
    });
    EXPECT_TRUE(missing.empty()) << jobs;
    for (int i = 0; i < 50; ++i) {
      EXPECT_EQ(frames[static_cast<size_t>(i)], 10 * i + 1) << jobs;
      EXPECT_EQ(completed[static_cast<size_t>(i)], i % 3 == 0) << jobs;
    }
    EXPECT_EQ(xs, 2.0 * 49 * 50 / 2) << jobs;
  }
  EXPECT_TRUE(proof::runall(0, 2, run, [](int, const proof::outcome&) { FAIL(); }).empty());
}

#ifndef _WIN32
TEST(Proof, ARunWhoseWorkerDiesIsReportedMissing) {
  // The worker that takes task 7 dies; the others go on with the rest.
  int back = 0;
  const std::vector<int> missing = proof::runall(
      20, 2,
      [](int i) {
        if (i == 7) _exit(3);
        proof::outcome o;
        o.frames = i;
        return o;
      },
      [&](int i, const proof::outcome& o) {
        EXPECT_EQ(o.frames, i);
        back++;
      });
  EXPECT_EQ(missing, std::vector<int>{7});
  EXPECT_EQ(back, 19);
}
#endif

}  // namespace
