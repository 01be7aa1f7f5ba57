// The proving tools' key plans: the 8-frame rule, moved key changes and the
// careless player's scripts.
#include <gtest/gtest.h>

#include <random>

#include "tools/proofkit.h"

namespace {

using proof::kLeft;
using proof::kRight;
using proof::kSpace;

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
        if (f < m[i].keys.size()) EXPECT_GE(f - start, 8u) << m[i].name;
        start = f;
      }
  }
  EXPECT_NE(m[5].keys, m[6].keys);
  EXPECT_EQ(proof::mashes(20, 7200)[7].keys, m[7].keys);
}

}  // namespace
