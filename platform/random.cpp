// The Park-Miller minimal standard generator (multiplier 48271, modulus
// 2^31 - 1). Levels replay from their key script only if this sequence is the
// same on every machine, so it is integer arithmetic throughout.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/platform.h"

namespace plat {
int32_t random_state = 4660;
}

namespace {

constexpr int64_t kModulus = 2147483647;
constexpr int64_t kMultiplier = 48271;
constexpr double kSpan = 2147483646.0;  // states run from 1 to kModulus - 1

int32_t next_state() {
  plat::random_state = int32_t((int64_t(plat::random_state) * kMultiplier) % kModulus);
  return plat::random_state;
}

// One draw in [0, 1): the first state gives the high part, the second the
// low part, (s1 - 1 + (s2 - 1) / span) / span. Rounding can carry the very
// top draws up to 1.0; those become the largest double below 1.
double draw() {
  double s1 = next_state() - 1;
  double s2 = next_state() - 1;
  double d = (s1 + s2 / kSpan) / kSpan;
  return d < 1.0 ? d : std::nextafter(1.0, 0.0);
}

}  // namespace

void SeedRandom(int32_t seed) {
  int32_t s = int32_t(uint32_t(seed) & 0x7fffffffu);
  plat::random_state = (s == 0 || s == kModulus) ? 4660 : s;
}

double RandomReal(double lo, double hi) {
  if (hi < lo) std::swap(lo, hi);
  double d = draw();
  double v = lo + d * (hi - lo);
  if (!std::isfinite(hi - lo)) v = lo * (1 - d) + hi * d;  // a range wider than a double
  return (v >= hi && hi > lo) ? std::nextafter(hi, lo) : v;
}

int RandomInt(int lo, int hi) {
  if (hi < lo) std::swap(lo, hi);
  int64_t span = int64_t(hi) - lo + 1;
  int64_t v = lo + int64_t(draw() * double(span));
  return int(v > hi ? hi : v);
}
