// Link and joint constraints, solved by position projection. Each pass is a
// simultaneous sweep: every constraint reads the positions at the start of the
// pass, the corrections are summed in the balls' shiftx/shifty, and only then
// added to the positions.
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "world/game.h"

namespace {

constexpr double kLinkStiffness = 0.3f;  // share of a link's error removed per pass
constexpr double kInertStrength = 10.0;  // joints this weak or weaker do nothing
constexpr double kJointCap = 0.7f;       // caps joint stiffness by arm length and mass
constexpr double kJointGain = 400.0;     // degrees of error per unit of push

// Beyond this size repeated subtraction of 360 would take too long (or never
// end once 360 is below the float spacing); the remainder is exact either way.
constexpr float kWrapReduce = 1e6f;

}  // namespace

double wrap360(float a) {
  if (!(std::fabs(a) < kWrapReduce)) a = std::fmod(a, 360.0f);
  while (a >= 360.0f) a -= 360.0f;
  while (a < 0.0f) a += 360.0f;
  return a;
}

double wrap180(float a) {
  if (!(std::fabs(a) < kWrapReduce)) a = std::fmod(a, 360.0f);
  if (a > 180.0f) {
    while (a > 180.0f) a -= 360.0f;
  }
  if (a < -180.0f) {
    while (a < -180.0f) a += 360.0f;
  }
  return a;
}

double atan2deg(double y, double x) { return ATan2(y, x); }

namespace {

// Joints measure in single precision, but a rest angle may be any double; one
// beyond the float range cannot be narrowed (that is undefined), so it is first
// taken modulo 360, which is exact and leaves the joint's aim unchanged.
float narrowangle(double a) {
  if (std::isfinite(a) && std::fabs(a) > std::numeric_limits<float>::max()) a = std::fmod(a, 360.0);
  return static_cast<float>(a);
}

}  // namespace

namespace {

// One link's corrections, entries 1 to 4 as partialshiftballs returns them.
// ra and rb are m1/m2 + 1 and m2/m1 + 1, the same all through a frame.
inline void linkshift(double x1, double y1, double x2, double y2, double d, double ra, double rb,
                      double c[5]) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  double len = std::sqrt(dx * dx + dy * dy);
  if (std::fabs(len) < kNearZero) len = kNearZero;
  const double e = len - d;
  c[1] = e / ra * (dx / len) * kLinkStiffness;
  c[2] = e / ra * (dy / len) * kLinkStiffness;
  c[3] = -e / rb * (dx / len) * kLinkStiffness;
  c[4] = -e / rb * (dy / len) * kLinkStiffness;
}

// One joint's pushes on its end balls a and c and on the joint b, each
// already divided by the receiving ball's mass.
struct jointpush {
  double ax, ay, cx, cy, bx, by;
};

inline jointpush jointshift(double ax, double ay, double bx, double by, double cx, double cy, double ma,
                            double mb, double mc, double mmin, double angle, double strength, double s) {
  const double dx1 = bx - ax;
  const double dy1 = by - ay;
  const double dx2 = cx - bx;
  const double dy2 = cy - by;
  const double a1 = atan2deg(dy1, -dx1);
  const double a2 = atan2deg(dy2, -dx2);
  // Joints measure in single precision: a straight line reads 180.
  const double theta = wrap360(static_cast<float>(a1 - a2 + 180));
  const double err = wrap180(narrowangle(theta - angle));

  double q1 = dx1 * dx1 + dy1 * dy1;
  double q2 = dx2 * dx2 + dy2 * dy2;
  if (q1 < kNearZero) q1 = kNearZero;
  if (q2 < kNearZero) q2 = kNearZero;
  const double k = std::min(std::min(kJointCap * q1 * mmin, kJointCap * q2 * mmin), strength);
  const double f = k * (err / kJointGain) * s;
  return {f * dy1 / q1 / ma,
          f * (-dx1) / q1 / ma,
          f * dy2 / q2 / mc,
          f * (-dx2) / q2 / mc,
          (-f * dy1 / q1 - f * dy2 / q2) / mb,
          (f * dx1 / q1 + f * dx2 / q2) / mb};
}

inline double smallestmass(double ma, double mb, double mc) { return std::min(std::min(ma, mb), mc); }

// A joint acts unless it is too weak or all three of its balls are pinned.
inline bool jointacts(const tension& t) {
  if (t.strength <= kInertStrength) return false;
  return !(t.ball1->anchored == 1 && t.ball2->anchored == 1 && t.ball3->anchored == 1);
}

// ---- The frame's sweeps, four constraints at a time
//
// A sweep's corrections depend only on the positions at its start, so they
// are worked out four at a time in vector registers (sqrt, division and the
// rest are correctly rounded lane by lane, so each lane gives the bits of the
// one-at-a-time code), and then added to the shifts one constraint after the
// other in list order, as the records would take them.
//
// A joint's arc tangents only matter through the single-precision angle they
// make; the lanes use a quick arc tangent good to about 1e-13 degrees, and a
// joint whose angle lies within 1e-10 of a rounding boundary of that single
// (or whose arms are degenerate, or whose error is far outside a turn) is
// worked out again with the library's arc tangent, so every joint gets
// exactly the single it would have got.

// The vectors never cross a call: every helper taking one is inlined.
#pragma GCC diagnostic ignored "-Wpsabi"
using v4d = double __attribute__((vector_size(32)));
using v4l = long long __attribute__((vector_size(32)));
using v4f = float __attribute__((vector_size(16)));
using v4i = int __attribute__((vector_size(16)));

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
// Wide registers where the processor has them; the same code otherwise.
#define SWEEP_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define SWEEP_KERNEL
#endif
#define LANES [[gnu::always_inline]] inline

LANES v4d splat(double v) { return v4d{v, v, v, v}; }
LANES v4d vabs(v4d v) { return v < 0 ? -v : v; }
LANES v4d vsqrt(v4d v) {
  return v4d{__builtin_sqrt(v[0]), __builtin_sqrt(v[1]), __builtin_sqrt(v[2]), __builtin_sqrt(v[3])};
}
// std::min's choice, lane by lane: the second only if it is smaller.
LANES v4d vmin(v4d a, v4d b) { return b < a ? b : a; }

constexpr double kDegrees = 180.0 / 3.14159265358979323846;
constexpr double kHalfPi = 1.57079632679489661923;
constexpr double kPi = 3.14159265358979323846;
// How far the quick angle may be from the library's before a joint is redone.
constexpr double kAngleMargin = 1e-10;

// atan(k/16) for k = 0..16: the quick arc tangent's fixed points.
struct arctable {
  double v[17];
  arctable() {
    for (int k = 0; k <= 16; k++) v[k] = std::atan(k / 16.0);
  }
};
const arctable kArcs;

// atan2(y, x) in degrees, to about 1e-13; bad is set for lanes it cannot
// answer (both zero, not finite, or near the -180/180 seam).
LANES v4d quickatan2deg(v4d y, v4d x, v4l& bad) {
  const v4d ax = vabs(x), ay = vabs(y);
  const v4l steep = ay > ax;
  const v4d num = steep ? ax : ay;
  const v4d den = steep ? ay : ax;
  bad |= ~((den > 0) & (den <= splat(1e300)));
  const v4d t = num / (den > 0 ? den : splat(1.0));  // in [0, 1]
  // atan t = atan c + atan u, with c the nearest sixteenth and |u| <= 1/32.
  v4d c, base;
  for (int i = 0; i < 4; i++) {
    const double ti = t[i] >= 0 && t[i] <= 1 ? t[i] : 0;
    const int k = static_cast<int>(ti * 16 + 0.5);
    c[i] = k / 16.0;
    base[i] = kArcs.v[k];
  }
  const v4d u = (t - c) / (1 + t * c);
  const v4d u2 = u * u;
  const v4d p = u2 * (-1.0 / 3 + u2 * (1.0 / 5 + u2 * (-1.0 / 7 + u2 * (1.0 / 9 + u2 * (-1.0 / 11)))));
  v4d r = base + (u + u * p);
  r = steep ? kHalfPi - r : r;
  r = x < 0 ? kPi - r : r;
  r = (std::bit_cast<v4l>(y) < 0) ? -r : r;
  const v4d d = r * kDegrees;
  bad |= vabs(d) > 179.9999;
  return d;
}

// Whether every double of v within the margin rounds to the same single
// (the one it rounds to): it lies well inside that single's rounding interval.
LANES v4l roundsurely(v4d v, v4f f) {
  const v4f mag = f < 0 ? -f : f;
  const v4i bits = std::bit_cast<v4i>(mag);
  const v4f up = std::bit_cast<v4f>(bits + 1);
  const v4f down = std::bit_cast<v4f>(bits - 1);
  const v4d m = vabs(v);
  const v4d fm = __builtin_convertvector(mag, v4d);
  const v4d lo = (fm + __builtin_convertvector(down, v4d)) * 0.5;
  const v4d hi = (fm + __builtin_convertvector(up, v4d)) * 0.5;
  return (m - lo > kAngleMargin) & (hi - m > kAngleMargin) & (fm > 1e-20) & (fm < 1e30);
}

struct linkitem {
  int a, b;
  double d, ra, rb;
};
struct jointitem {
  int a, b, c;
  double ma, mb, mc, mmin, angle, strength;
};

// A link's four corrections land at out[4i..4i+3], a joint's six pushes
// (end a, end c, joint b; x then y) at out[6i..6i+5].
SWEEP_KERNEL void linkfixes(const linkitem* items, size_t n, const double* x, const double* y, double* out) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    v4d x1, y1, x2, y2, d, ra, rb;
    for (int k = 0; k < 4; k++) {
      const linkitem& l = items[i + k];
      x1[k] = x[l.a];
      y1[k] = y[l.a];
      x2[k] = x[l.b];
      y2[k] = y[l.b];
      d[k] = l.d;
      ra[k] = l.ra;
      rb[k] = l.rb;
    }
    const v4d dx = x2 - x1;
    const v4d dy = y2 - y1;
    v4d len = vsqrt(dx * dx + dy * dy);
    len = vabs(len) < kNearZero ? splat(kNearZero) : len;
    const v4d e = len - d;
    const v4d ux = dx / len, uy = dy / len;
    const v4d to1 = e / ra, to2 = -e / rb;
    const v4d c1 = to1 * ux * kLinkStiffness, c2 = to1 * uy * kLinkStiffness;
    const v4d c3 = to2 * ux * kLinkStiffness, c4 = to2 * uy * kLinkStiffness;
    for (int k = 0; k < 4; k++) {
      double* o = out + 4 * (i + k);
      o[0] = c1[k];
      o[1] = c2[k];
      o[2] = c3[k];
      o[3] = c4[k];
    }
  }
  for (; i < n; i++) {
    const linkitem& l = items[i];
    double c[5];
    linkshift(x[l.a], y[l.a], x[l.b], y[l.b], l.d, l.ra, l.rb, c);
    std::copy(c + 1, c + 5, out + 4 * i);
  }
}

void exactjoint(const jointitem& j, const double* x, const double* y, double s, double* o) {
  const jointpush p = jointshift(x[j.a], y[j.a], x[j.b], y[j.b], x[j.c], y[j.c], j.ma, j.mb, j.mc, j.mmin,
                                 j.angle, j.strength, s);
  o[0] = p.ax;
  o[1] = p.ay;
  o[2] = p.cx;
  o[3] = p.cy;
  o[4] = p.bx;
  o[5] = p.by;
}

SWEEP_KERNEL void jointfixes(const jointitem* items, size_t n, const double* x, const double* y, double s,
                             double* out) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    v4d ax, ay, bx, by, cx, cy, ma, mb, mc, mmin, angle, strength;
    for (int k = 0; k < 4; k++) {
      const jointitem& j = items[i + k];
      ax[k] = x[j.a];
      ay[k] = y[j.a];
      bx[k] = x[j.b];
      by[k] = y[j.b];
      cx[k] = x[j.c];
      cy[k] = y[j.c];
      ma[k] = j.ma;
      mb[k] = j.mb;
      mc[k] = j.mc;
      mmin[k] = j.mmin;
      angle[k] = j.angle;
      strength[k] = j.strength;
    }
    const v4d dx1 = bx - ax, dy1 = by - ay;
    const v4d dx2 = cx - bx, dy2 = cy - by;
    v4l bad = {0, 0, 0, 0};
    const v4d a1 = quickatan2deg(dy1, -dx1, bad);
    const v4d a2 = quickatan2deg(dy2, -dx2, bad);
    const v4d v = a1 - a2 + 180;
    const v4f measured = __builtin_convertvector(v, v4f);
    bad |= ~roundsurely(v, measured);
    // One turn at most either way, as the wrapping loops would do it.
    v4f theta = measured >= 360.0f ? measured - 360.0f : measured;
    theta = theta < 0.0f ? theta + 360.0f : theta;
    const v4d off = __builtin_convertvector(theta, v4d) - angle;
    bad |= ~(vabs(off) <= 540);
    v4f err = __builtin_convertvector(off, v4f);
    err = err > 180.0f ? err - 360.0f : err;
    err = err < -180.0f ? err + 360.0f : err;

    v4d q1 = dx1 * dx1 + dy1 * dy1;
    v4d q2 = dx2 * dx2 + dy2 * dy2;
    q1 = q1 < kNearZero ? splat(kNearZero) : q1;
    q2 = q2 < kNearZero ? splat(kNearZero) : q2;
    const v4d k = vmin(vmin(kJointCap * q1 * mmin, kJointCap * q2 * mmin), strength);
    const v4d f = k * (__builtin_convertvector(err, v4d) / kJointGain) * s;
    const v4d p1 = f * dy1 / q1, p2 = f * dy2 / q2;
    const v4d r1 = f * dx1 / q1, r2 = f * dx2 / q2;
    const v4d pax = p1 / ma, pay = -r1 / ma;
    const v4d pcx = p2 / mc, pcy = -r2 / mc;
    const v4d pbx = (-p1 - p2) / mb, pby = (r1 + r2) / mb;
    for (int k = 0; k < 4; k++) {
      double* o = out + 6 * (i + k);
      if (bad[k]) {
        exactjoint(items[i + k], x, y, s, o);
        continue;
      }
      o[0] = pax[k];
      o[1] = pay[k];
      o[2] = pcx[k];
      o[3] = pcy[k];
      o[4] = pbx[k];
      o[5] = pby[k];
    }
  }
  for (; i < n; i++) exactjoint(items[i], x, y, s, out + 6 * i);
}

// The frame's passes run over compact copies of what they touch: positions,
// shifts and masses of the balls side by side in plain arrays, and the links
// and joints as slots into them, with what stays fixed through the frame
// (masses, mass ratios, which joints act) worked out once. The arithmetic and
// its order are those of shiftballs and tensionballs, so the result is the
// same to the bit; the passes just stay in the cache.
struct framesolver {
  std::vector<ball*> balls;  // slot -> ball
  std::vector<double> x, y, sx, sy, m;
  std::vector<int> os;   // slots of osballlist, in its order
  bool repeats = false;  // a ball listed twice in osballlist takes its shifts twice
  int moving = 0;        // slots below this are osballlist's balls; the rest never move
  std::vector<linkitem> links;
  std::vector<jointitem> joints;
  std::vector<double> linkout, jointout;  // one sweep's corrections, see linkfixes

  // Where each ball's corrections of a sweep lie in the sweep's output, in
  // the order the ball takes them: feed[first[i]] to feed[first[i+1]-1]
  // are the offsets of slot i's x corrections (its y ones follow each).
  struct feeds {
    std::vector<int> first, feed;
    void reserve(size_t nballs, size_t nentries) {
      first.reserve(nballs + 1);
      feed.reserve(nentries);
    }
    // entries(add) calls add(slot, offset) for every correction in order.
    template <class Entries>
    void build(size_t nslots, Entries entries) {
      first.assign(nslots + 1, 0);
      size_t total = 0;
      entries([&](int slot, int) {
        first[slot + 1]++;
        total++;
      });
      for (size_t i = 0; i < nslots; i++) first[i + 1] += first[i];
      feed.resize(total);
      std::vector<int>& next = first;  // filled from each slot's start, then shifted back
      entries([&](int slot, int offset) { feed[next[slot]++] = offset; });
      for (size_t i = nslots; i > 0; i--) first[i] = first[i - 1];
      first[0] = 0;
    }
  };
  feeds linkfeed, jointfeed;

  // Room for every ball, link and joint of the world, so that the frames of a
  // level allocate nothing even as more of it comes into view.
  void reserve(size_t nballs, size_t nlinks, size_t njoints) {
    balls.reserve(nballs);
    x.reserve(nballs);
    y.reserve(nballs);
    sx.reserve(nballs);
    sy.reserve(nballs);
    m.reserve(nballs);
    os.reserve(nballs);
    links.reserve(nlinks);
    joints.reserve(njoints);
    linkout.reserve(4 * nlinks);
    jointout.reserve(6 * njoints);
    linkfeed.reserve(nballs, 2 * nlinks);
    jointfeed.reserve(nballs, 3 * njoints);
  }
  void clear() {
    balls.clear();
    x.clear();
    y.clear();
    sx.clear();
    sy.clear();
    m.clear();
    os.clear();
    links.clear();
    joints.clear();
    repeats = false;
    moving = 0;
  }
  // A ball outside osballlist (an end of a link into a figure out of view)
  // gets a slot too: its shifts build up as they do in the record, and it is
  // never moved.
  inline int slotof(ball* b) {
    const size_t i = static_cast<size_t>(b->slot);
    if (i < balls.size() && balls[i] == b) return b->slot;
    b->slot = static_cast<int>(balls.size());
    balls.push_back(b);
    x.push_back(b->x);
    y.push_back(b->y);
    sx.push_back(b->shiftx);
    sy.push_back(b->shifty);
    m.push_back(b->actualmass);
    return b->slot;
  }
  void prepare() {
    linkout.resize(4 * links.size());
    jointout.resize(6 * joints.size());
    if (repeats) return;
    linkfeed.build(balls.size(), [this](auto add) {
      for (size_t i = 0; i < links.size(); i++) {
        add(links[i].a, static_cast<int>(4 * i));
        add(links[i].b, static_cast<int>(4 * i + 2));
      }
    });
    jointfeed.build(balls.size(), [this](auto add) {
      for (size_t i = 0; i < joints.size(); i++) {
        add(joints[i].a, static_cast<int>(6 * i));
        add(joints[i].c, static_cast<int>(6 * i + 2));
        add(joints[i].b, static_cast<int>(6 * i + 4));
      }
    });
  }

  // Each moving ball sums its corrections from zero, in the order the sweep
  // made them, and moves by the sum; the last sweep's sums stay as its
  // shifts. A ball that never moves keeps adding to the shifts it had.
  void gather(const feeds& f, const double* out, bool last) {
    const int* first = f.first.data();
    const int* feed = f.feed.data();
    for (int i = 0; i < moving; i++) {
      double gx = 0, gy = 0;
      for (int k = first[i]; k < first[i + 1]; k++) {
        gx += out[feed[k]];
        gy += out[feed[k] + 1];
      }
      x[i] += gx;
      y[i] += gy;
      if (last) {
        sx[i] = gx;
        sy[i] = gy;
      }
    }
    for (size_t i = static_cast<size_t>(moving); i < balls.size(); i++) {
      for (int k = first[i]; k < first[i + 1]; k++) {
        sx[i] += out[feed[k]];
        sy[i] += out[feed[k] + 1];
      }
    }
  }

  // With a ball listed twice in osballlist the corrections go into the
  // shifts one by one, and the shifts are added once per listing.
  void clearshifts() {
    for (int i : os) {
      sx[i] = 0;
      sy[i] = 0;
    }
  }
  void settle(bool more) {
    for (int i : os) {
      x[i] += sx[i];
      y[i] += sy[i];
    }
    if (more) clearshifts();
  }
  void jointsweep(double s, bool last) {
    jointfixes(joints.data(), joints.size(), x.data(), y.data(), s, jointout.data());
    if (!repeats) return gather(jointfeed, jointout.data(), last);
    for (size_t i = 0; i < joints.size(); i++) {
      const jointitem& j = joints[i];
      const double* o = &jointout[6 * i];
      const int to[3] = {j.a, j.c, j.b};
      for (int e = 0; e < 3; e++) {
        sx[to[e]] += o[2 * e];
        sy[to[e]] += o[2 * e + 1];
      }
    }
    settle(!last);
  }
  void linksweep(bool last) {
    linkfixes(links.data(), links.size(), x.data(), y.data(), linkout.data());
    if (!repeats) return gather(linkfeed, linkout.data(), last);
    for (size_t i = 0; i < links.size(); i++) {
      const linkitem& l = links[i];
      const double* o = &linkout[4 * i];
      sx[l.a] += o[0];
      sy[l.a] += o[1];
      sx[l.b] += o[2];
      sy[l.b] += o[3];
    }
    settle(!last);
  }
  // Joints first, so the links have the last word in every pass.
  void run(int passes, double s) {
    clearshifts();
    prepare();
    for (int i = 0; i < passes; i++) {
      jointsweep(s, false);
      linksweep(i + 1 == passes);
    }
  }
};

framesolver& solver() {
  static framesolver s;
  return s;
}

}  // namespace

void game::constraintpasses() {
  framesolver& fs = solver();
  fs.clear();
  fs.reserve(std::max(balllist.size(), osballlist.size()) + 1, linklist.size(), TensionList.size());
  for (ball* b : osballlist) {
    const size_t before = fs.balls.size();
    const int i = fs.slotof(b);
    fs.repeats = fs.repeats || fs.balls.size() == before;
    fs.os.push_back(i);
  }
  fs.moving = static_cast<int>(fs.balls.size());
  for (tension* t : ostensionlist) {
    if (!jointacts(*t)) continue;
    const int a = fs.slotof(t->ball1), b = fs.slotof(t->ball2), c = fs.slotof(t->ball3);
    fs.joints.push_back(
        {a, b, c, fs.m[a], fs.m[b], fs.m[c], smallestmass(fs.m[a], fs.m[b], fs.m[c]), t->angle, t->strength});
  }
  for (struct link* l : oslinklist) {
    const int a = fs.slotof(l->ball1), b = fs.slotof(l->ball2);
    fs.links.push_back({a, b, l->distance, fs.m[a] / fs.m[b] + 1, fs.m[b] / fs.m[a] + 1});
  }
  fs.run(kConstraintPasses, slower);
  for (size_t i = 0; i < fs.balls.size(); i++) {
    ball& b = *fs.balls[i];
    b.x = fs.x[i];
    b.y = fs.y[i];
    b.shiftx = fs.sx[i];
    b.shifty = fs.sy[i];
  }
}

void game::shiftballs() {
  for (ball* b : osballlist) {
    b->shiftx = 0;
    b->shifty = 0;
  }
  for (struct link* l : oslinklist) {
    const std::array<double, 5> c = partialshiftballs(l->ball1, l->ball2, l->distance);
    l->ball1->shiftx += c[1];
    l->ball1->shifty += c[2];
    l->ball2->shiftx += c[3];
    l->ball2->shifty += c[4];
  }
  for (ball* b : osballlist) {
    b->x += b->shiftx;
    b->y += b->shifty;
  }
}

// Each end moves toward the other by its share of 30% of the error, the share
// going by the other ball's mass, so a heavy ball barely moves.
std::array<double, 5> game::partialshiftballs(const ball* b1, const ball* b2, double d) const {
  const double m1 = b1->actualmass;
  const double m2 = b2->actualmass;
  std::array<double, 5> c{};
  linkshift(b1->x, b1->y, b2->x, b2->y, d, m1 / m2 + 1, m2 / m1 + 1, c.data());
  return c;
}

void game::tensionballs() {
  for (ball* b : osballlist) {
    b->shiftx = 0;
    b->shifty = 0;
  }
  for (tension* t : ostensionlist) t->partialtension(slower);
  for (ball* b : osballlist) {
    b->x += b->shiftx;
    b->y += b->shifty;
  }
}

// Turns both arms about the joint ball2 toward the rest angle: each end is
// pushed at right angles to its arm and the joint takes the opposite push.
void tension::partialtension(double s) {
  if (!jointacts(*this)) return;
  ball& a = *ball1;
  ball& b = *ball2;
  ball& c = *ball3;
  const jointpush p = jointshift(a.x, a.y, b.x, b.y, c.x, c.y, a.actualmass, b.actualmass, c.actualmass,
                                 smallestmass(a.actualmass, b.actualmass, c.actualmass), angle, strength, s);
  a.shiftx += p.ax;
  a.shifty += p.ay;
  c.shiftx += p.cx;
  c.shifty += p.cy;
  b.shiftx += p.bx;
  b.shifty += p.by;
}
