// The frame's link and joint passes, four constraints at a time, on compact
// copies of the records. The plain passes of constraints.cpp state the rules;
// this solver must give exactly their bits.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "world/constraint_rules.h"
#include "world/game.h"
#include "world/motion.h"

namespace {

// ---- The frame's sweeps, four constraints at a time
//
// A sweep's corrections depend only on the positions at its start, so they
// are worked out four at a time in vector registers (sqrt, division and the
// rest are correctly rounded lane by lane, so each lane gives the bits of the
// one-at-a-time code). Each correction goes to a cell of its ball, and each
// ball then sums its cells from zero in list order, as the record's shifts
// would take them.
//
// A joint's arc tangents only matter through the single-precision angle they
// make; the lanes work it out from one quick arc tangent good to about 1e-13
// degrees, and a joint whose angle lies within 1e-10 of a rounding boundary
// of that single (or whose arms are degenerate or near the -180/180 seam, or
// whose error is far outside a turn) is worked out again with the library's
// arc tangents, so every joint gets exactly the single it would have got.

// The vectors never cross a call: every helper taking one is inlined.
#pragma GCC diagnostic ignored "-Wpsabi"
// Four lanes, a register's worth of doubles (more lanes than the registers
// hold make the compiler take the comparisons one lane at a time).
constexpr int kLanes = 4;
using vd = double __attribute__((vector_size(8 * kLanes)));
using vl = long long __attribute__((vector_size(8 * kLanes)));
using vf = float __attribute__((vector_size(4 * kLanes)));
using vi = int __attribute__((vector_size(4 * kLanes)));

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
// Wide registers where the processor has them; the same code otherwise.
#define SWEEP_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define SWEEP_KERNEL
#endif
#define LANES [[gnu::always_inline]] inline

LANES vd splat(double v) {
  vd r;
  for (int i = 0; i < kLanes; i++) r[i] = v;
  return r;
}
LANES vd loadlanes(const double* p) {
  vd v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}
LANES vd vabs(vd v) { return v < 0 ? -v : v; }
LANES vd vsqrt(vd v) {
  for (int i = 0; i < kLanes; i++) v[i] = __builtin_sqrt(v[i]);
  return v;
}
using v2d = double __attribute__((vector_size(16)));
// The lanes' balls' coordinates, from positions kept x beside y: at[i] is
// where lane i's ball's x lies (twice its slot).
LANES void fetch(const double* xy, const unsigned* at, vd& x, vd& y) {
  static_assert(kLanes == 4, "fetch and put pair the lanes of four");
  v2d p[4];
  for (int i = 0; i < 4; i++) __builtin_memcpy(&p[i], xy + at[i], sizeof p[i]);
  const vd even = __builtin_shufflevector(p[0], p[2], 0, 1, 2, 3);  // x0 y0 x2 y2
  const vd odd = __builtin_shufflevector(p[1], p[3], 0, 1, 2, 3);   // x1 y1 x3 y3
  x = __builtin_shufflevector(even, odd, 0, 4, 2, 6);
  y = __builtin_shufflevector(even, odd, 1, 5, 3, 7);
}
// Singles (or ints) to doubles, lane by lane: written out, because GCC 12
// takes a whole-vector conversion in halves through memory.
template <class V>
LANES vd widen(V v) {
  vd r;
  for (int i = 0; i < kLanes; i++) r[i] = v[i];
  return r;
}
// std::min's choice, lane by lane: the second only if it is smaller.
LANES vd vmin(vd a, vd b) { return b < a ? b : a; }

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

// The quick arc tangent of y over x comes in two steps, each a loop of its
// own in the sweep: first the argument is reduced to a fixed point c (a
// sixteenth) and a small remainder u, then a short series gives the angle.
// Lanes the quick way cannot answer (both zero, tiny, huge or not finite)
// are marked bad.
LANES void reduceatan(vd y, vd x, vd& u, vd& base, vl& bad) {
  const vd ax = vabs(x), ay = vabs(y);
  const vl steep = ay > ax;
  const vd num = steep ? ax : ay;
  vd den = steep ? ay : ax;
  bad |= ~((den >= 1e-30) & (den <= 1e30));
  den = den > 0 ? den : splat(1.0);
  // The nearest sixteenth to num/den (in [0, 1]) only has to be near: the
  // series below holds a little beyond a thirty-second either side. Single
  // precision gets there sooner than a double division would.
  const vf t = __builtin_convertvector(num, vf) / __builtin_convertvector(den, vf);
  const vf tk = t >= 0 ? (t <= 1 ? t : 1) : 0;  // not a number counts as 0
  const vi k = __builtin_convertvector(tk * 16 + 0.5f, vi);
  const vd c = widen(k) * (1.0 / 16);
  for (int i = 0; i < kLanes; i++) base[i] = kArcs.v[k[i]];
  // atan(num/den) = atan c + atan u with u = (num/den - c) / (1 + c num/den).
  u = (num - c * den) / (den + c * num);
}

// atan2(y, x) in degrees from its reduced argument, to about 1e-13; bad is
// set for lanes just below the -180/180 seam.
LANES vd finishatan(vd y, vd x, vd u, vd base, vl& bad) {
  const vl steep = vabs(y) > vabs(x);
  const vd u2 = u * u;
  // The series to u^11 (the next term is below 1e-19 of u), in two halves
  // that do not wait on each other.
  const vd u4 = u2 * u2;
  const vd lo = u2 * (-1.0 / 3 + u2 * (1.0 / 5)) + u4 * u2 * (-1.0 / 7);
  const vd hi = u4 * u4 * (1.0 / 9 + u2 * (-1.0 / 11));
  const vd p = lo + hi;
  vd r = base + (u + u * p);
  r = steep ? kHalfPi - r : r;
  r = x < 0 ? kPi - r : r;
  r = ((vl)y < 0) ? -r : r;  // the sign bit, as for -0
  // The platform's arc tangent turns -180 into 180. An arm pointing exactly
  // along the negative x axis gives exactly +-180 here as there; one just off
  // it, below, might land on the other side of the seam, and is redone.
  const vd d = r * kDegrees;
  bad |= (d < -179.9999) & (y != 0);
  return d <= -180 ? splat(180) : d;
}

// Whether every double of v within the margin rounds to the same single
// (the one it rounds to): it lies well inside that single's rounding
// interval. The narrower half of the interval, the one toward zero, is
// taken for both sides (they differ only at powers of two).
LANES vl roundsurely(vd v, vf f) {
  // Casts between vectors of one size keep the bits.
  const vi bits = (vi)f & 0x7fffffff;
  const vd fm = widen((vf)bits);
  const vd down = widen((vf)(bits - 1));  // the next single toward zero
  const vd off = vabs(vabs(v) - fm);      // exact: the two are close
  return ((fm - down) * 0.5 - off > kAngleMargin) & (fm > 1e-20) & (fm < 1e30);
}

// 1/v when v is a power of two (dividing by it is then exactly multiplying by
// that), else 0. Unit masses make every divisor of a link or joint such.
double exactinverse(double v) {
  const bool power = (std::bit_cast<uint64_t>(v) & ((uint64_t{1} << 52) - 1)) == 0;
  return power && v > 0x1p-900 && v < 0x1p900 ? 1 / v : 0;
}

LANES bool none(vl m) {
  unsigned __int128 half[sizeof m / 16];
  __builtin_memcpy(half, &m, sizeof m);
  unsigned __int128 any = 0;
  for (auto h : half) any |= h;
  return any == 0;
}

struct linkitem {
  int a, b;
  double d, ra, rb;
  double ia = exactinverse(ra), ib = exactinverse(rb);
  int da = 0, db = 0;  // the cells of its corrections of its balls
  bool exact() const { return ia != 0 && ib != 0; }
};
struct jointitem {
  int a, b, c;
  double ma, mb, mc, mmin, angle, strength;
  double ia = exactinverse(ma), ib = exactinverse(mb), ic = exactinverse(mc);
  int da = 0, db = 0, dc = 0;
  bool exact() const { return ia != 0 && ib != 0 && ic != 0; }
};

// The sweeps read links and joints in packs of four, each field four lanes
// side by side. Each lane puts the x and y corrections of each of its balls
// side by side in the cell given for it (da for ball a, and so on). The
// lanes past the last item of a pack hold a copy of it and put the same
// values in the same cells.
struct linkpack {
  double d[kLanes], ra[kLanes], rb[kLanes], ia[kLanes], ib[kLanes];
  unsigned a[kLanes], b[kLanes];    // where in the positions (2 x the slot)
  unsigned da[kLanes], db[kLanes];  // where in the cells (2 x the cell)
  bool exact;                       // every divisor a power of two
};
struct jointpack {
  double ma[kLanes], mb[kLanes], mc[kLanes], ia[kLanes], ib[kLanes], ic[kLanes], mmin[kLanes], angle[kLanes],
      strength[kLanes];
  unsigned a[kLanes], b[kLanes], c[kLanes];
  unsigned da[kLanes], db[kLanes], dc[kLanes];
  bool exact;  // every mass a power of two
};

LANES void put(double* cells, const unsigned* to, vd cx, vd cy) {
  const vd even = __builtin_shufflevector(cx, cy, 0, 4, 2, 6);  // lanes 0 and 2, x beside y
  const vd odd = __builtin_shufflevector(cx, cy, 1, 5, 3, 7);
  // Through memory the upper pairs go straight from the register to the
  // cells (a shuffle first would take the divider's port).
  double e[kLanes], o[kLanes];
  __builtin_memcpy(e, &even, sizeof e);
  __builtin_memcpy(o, &odd, sizeof o);
  __builtin_memcpy(cells + to[0], e, 2 * sizeof(double));
  __builtin_memcpy(cells + to[1], o, 2 * sizeof(double));
  __builtin_memcpy(cells + to[2], e + 2, 2 * sizeof(double));
  __builtin_memcpy(cells + to[3], o + 2, 2 * sizeof(double));
}

// What a link sweep's first loop leaves for its second: the links' spans
// and lengths. (Aligned for the wide registers, as jointwork below.)
struct alignas(32) linkwork {
  vd dx, dy, len;
};

// In two loops, so that each is a short chain and the processor can work on
// many packs at once: the lengths (a square root each), then the pushes (two
// divisions each).
SWEEP_KERNEL void linkfixes(const linkpack* packs, size_t n, const double* xy, double* cells,
                            linkwork* work) {
  for (size_t p = 0; p < n; p++) {
    const linkpack& l = packs[p];
    linkwork& w = work[p];
    vd x1, y1, x2, y2;
    fetch(xy, l.a, x1, y1);
    fetch(xy, l.b, x2, y2);
    const vd dx = x2 - x1;
    const vd dy = y2 - y1;
    const vd len = vsqrt(dx * dx + dy * dy);
    w.dx = dx;
    w.dy = dy;
    w.len = vabs(len) < kNearZero ? splat(kNearZero) : len;
  }
  for (size_t p = 0; p < n; p++) {
    const linkpack& l = packs[p];
    const linkwork& w = work[p];
    const vd len = w.len;
    const vd e = len - loadlanes(l.d);
    const vd ux = w.dx / len, uy = w.dy / len;
    vd to1, to2;
    if (l.exact) {
      to1 = e * loadlanes(l.ia);
      to2 = -e * loadlanes(l.ib);
    } else {
      to1 = e / loadlanes(l.ra);
      to2 = -e / loadlanes(l.rb);
    }
    const vd c1 = to1 * ux * kLinkStiffness, c2 = to1 * uy * kLinkStiffness;
    const vd c3 = to2 * ux * kLinkStiffness, c4 = to2 * uy * kLinkStiffness;
    put(cells, l.da, c1, c2);
    put(cells, l.db, c3, c4);
  }
}

// Lane k of a joint pack the one-at-a-time way, with the library's arc
// tangent, into out: its pushes of lane k, each kind kLanes apart.
void exactjoint(const jointpack& j, int k, const double* xy, double s, double* out) {
  const double *a = xy + j.a[k], *b = xy + j.b[k], *c = xy + j.c[k];
  const jointpush p = jointshift(a[0], a[1], b[0], b[1], c[0], c[1], j.ma[k], j.mb[k], j.mc[k], j.mmin[k],
                                 j.angle[k], j.strength[k], s);
  const double v[6] = {p.ax, p.ay, p.cx, p.cy, p.bx, p.by};
  for (int i = 0; i < 6; i++) out[kLanes * i + k] = v[i];
}

// What the earlier loops of a joint sweep leave for the later ones: the arms,
// their products, the arc tangent's reduced argument, how stiff the joint is,
// the turn (later the push's size), and which lanes must be redone.
// (Without wide registers a vector of doubles is aligned to 16 only; the wide
// code expects more.)
struct alignas(64) jointwork {
  vd dx1, dy1, dx2, dy2, cross, dot, u, base, stiff, f;
  vl bad;
};

// The sweep in short loops over the packs, each a short chain of steps, so
// that the processor can work on many packs at once: the arms, the reduced
// arc tangent, the angle, its error and the push, then the pushes on the balls.
SWEEP_KERNEL void jointfixes(const jointpack* packs, size_t n, const double* xy, double s, double* cells,
                             jointwork* work) {
  for (size_t p = 0; p < n; p++) {
    const jointpack& j = packs[p];
    jointwork& w = work[p];
    vd ax, ay, bx, by, cx, cy;
    fetch(xy, j.a, ax, ay);
    fetch(xy, j.b, bx, by);
    fetch(xy, j.c, cx, cy);
    const vd dx1 = bx - ax, dy1 = by - ay, dx2 = cx - bx, dy2 = cy - by;
    w.dx1 = dx1;
    w.dy1 = dy1;
    w.dx2 = dx2;
    w.dy2 = dy2;
    w.cross = dx1 * dy2 - dx2 * dy1;
    w.dot = dx1 * dx2 + dy1 * dy2;
    vd q1 = dx1 * dx1 + dy1 * dy1;
    vd q2 = dx2 * dx2 + dy2 * dy2;
    q1 = q1 < kNearZero ? splat(kNearZero) : q1;
    q2 = q2 < kNearZero ? splat(kNearZero) : q2;
    const vd mmin = loadlanes(j.mmin);
    w.stiff = vmin(vmin(kJointCap * q1 * mmin, kJointCap * q2 * mmin), loadlanes(j.strength));
  }
  // The angle is the first arm's direction less the second's, each the
  // library's arc tangent in (-180, 180]. Their difference comes from one
  // arc tangent of the arms' cross and dot products, a turn more or less
  // where the arms point to opposite sides of the x axis (there the two
  // products cannot cancel near a difference of 0, so the side is sure).
  // Arms on the same side that differ by nearly half a turn are redone.
  for (size_t p = 0; p < n; p++) {
    jointwork& w = work[p];
    vl bad = {};
    reduceatan(w.cross, w.dot, w.u, w.base, bad);
    w.bad = bad;
  }
  for (size_t p = 0; p < n; p++) {
    jointwork& w = work[p];
    vl bad = w.bad;
    w.f = finishatan(w.cross, w.dot, w.u, w.base, bad);  // for now, the turn
    w.bad = bad;
  }
  for (size_t p = 0; p < n; p++) {
    const jointpack& j = packs[p];
    jointwork& w = work[p];
    const vd turn = w.f;
    const vd dx1 = w.dx1, dy1 = w.dy1, dx2 = w.dx2, dy2 = w.dy2;
    vl bad = w.bad;
    const vl upper1 = dy1 >= 0, upper2 = dy2 >= 0;
    vd diff = (upper1 & ~upper2 & (turn < 0)) ? turn + 360 : turn;
    diff = (~upper1 & upper2 & (diff > 0)) ? diff - 360 : diff;
    bad |= ~(upper1 ^ upper2) & (vabs(turn) > 179.99);
    // An arm just below the negative x axis the library may read as 180
    // (dy between -1e-6 dx and 0, which needs dx above 0).
    bad |= (dy1 < 0) & (dy1 > dx1 * -1e-6);
    bad |= (dy2 < 0) & (dy2 > dx2 * -1e-6);
    const vd v = diff + 180;
    bad |= ~roundsurely(v, __builtin_convertvector(v, vf));
    w.f = v;  // for now, the angle
    w.bad = bad;
  }
  for (size_t p = 0; p < n; p++) {
    const jointpack& j = packs[p];
    jointwork& w = work[p];
    vl bad = w.bad;
    const vf measured = __builtin_convertvector(w.f, vf);
    // One turn at most either way, as the wrapping loops would do it.
    vf theta = measured >= 360.0f ? measured - 360.0f : measured;
    theta = theta < 0.0f ? theta + 360.0f : theta;
    const vd off = widen(theta) - loadlanes(j.angle);
    bad |= ~(vabs(off) <= 540);
    vf err = __builtin_convertvector(off, vf);
    err = err > 180.0f ? err - 360.0f : err;
    err = err < -180.0f ? err + 360.0f : err;
    w.f = widen(err);  // for now, the error
    w.bad = bad;
  }
  // The push's size, in a loop of its own: its division would otherwise
  // wait at the end of the long chain above.
  for (size_t p = 0; p < n; p++) {
    jointwork& w = work[p];
    w.f = w.stiff * (w.f / kJointGain) * s;
  }
  for (size_t p = 0; p < n; p++) {
    const jointpack& j = packs[p];
    const jointwork& w = work[p];
    vd q1 = w.dx1 * w.dx1 + w.dy1 * w.dy1;
    vd q2 = w.dx2 * w.dx2 + w.dy2 * w.dy2;
    // Products of arms this short or long could underflow or overflow.
    const vl bad = w.bad | ~((q1 >= 1e-250) & (q1 <= 1e250) & (q2 >= 1e-250) & (q2 <= 1e250));
    q1 = q1 < kNearZero ? splat(kNearZero) : q1;
    q2 = q2 < kNearZero ? splat(kNearZero) : q2;
    const vd f = w.f;
    const vd p1 = f * w.dy1 / q1, p2 = f * w.dy2 / q2;
    const vd r1 = f * w.dx1 / q1, r2 = f * w.dx2 / q2;
    vd push[6];
    if (j.exact) {
      const vd ia = loadlanes(j.ia), ib = loadlanes(j.ib), ic = loadlanes(j.ic);
      push[0] = p1 * ia, push[1] = -r1 * ia;
      push[2] = p2 * ic, push[3] = -r2 * ic;
      push[4] = (-p1 - p2) * ib, push[5] = (r1 + r2) * ib;
    } else {
      const vd ma = loadlanes(j.ma), mb = loadlanes(j.mb), mc = loadlanes(j.mc);
      push[0] = p1 / ma, push[1] = -r1 / ma;
      push[2] = p2 / mc, push[3] = -r2 / mc;
      push[4] = (-p1 - p2) / mb, push[5] = (r1 + r2) / mb;
    }
    if (!none(bad)) {
      double redone[6 * kLanes];
      __builtin_memcpy(redone, push, sizeof push);
      // A lane past the last joint is redone too: its copy goes to the same cells.
      for (int lane = 0; lane < kLanes; lane++) {
        if (bad[lane]) exactjoint(j, lane, xy, s, redone);
      }
      __builtin_memcpy(push, redone, sizeof push);
    }
    put(cells, j.da, push[0], push[1]);
    put(cells, j.dc, push[2], push[3]);
    put(cells, j.db, push[4], push[5]);
  }
}

// Each moving ball of the fours in [from, to) sums its corrections from
// zero, in the order the sweep made them, and moves by the sum; the last
// sweep's sums stay as its shifts. Four balls side by side take their first
// W cells side by side; cells, positions and shifts all keep x beside y, so
// two balls' pairs fill a register and need no shuffling.
template <int W>
LANES void sumfours(const double* cells, size_t stride, int from, int to, double* xy, double* sxy,
                    bool last) {
  for (int i = 2 * from; i < 2 * to; i += 2 * kLanes) {
    vd front = {}, back = {};
    for (int k = 0; k < W; k++) {
      const double* row = cells + 2 * k * stride + i;
      front += loadlanes(row);
      back += loadlanes(row + kLanes);
    }
    const vd nfront = loadlanes(xy + i) + front, nback = loadlanes(xy + i + kLanes) + back;
    __builtin_memcpy(xy + i, &nfront, sizeof nfront);
    __builtin_memcpy(xy + i + kLanes, &nback, sizeof nback);
    if (last) {
      __builtin_memcpy(sxy + i, &front, sizeof front);
      __builtin_memcpy(sxy + i + kLanes, &back, sizeof back);
    }
  }
}
SWEEP_KERNEL void sumrows(const double* cells, size_t stride, int width, int from, int to, double* xy,
                          double* sxy, bool last) {
  switch (width) {
    case 0:
      return sumfours<0>(cells, stride, from, to, xy, sxy, last);
    case 1:
      return sumfours<1>(cells, stride, from, to, xy, sxy, last);
    case 2:
      return sumfours<2>(cells, stride, from, to, xy, sxy, last);
    case 3:
      return sumfours<3>(cells, stride, from, to, xy, sxy, last);
    case 4:
      return sumfours<4>(cells, stride, from, to, xy, sxy, last);
    case 5:
      return sumfours<5>(cells, stride, from, to, xy, sxy, last);
    case 6:
      return sumfours<6>(cells, stride, from, to, xy, sxy, last);
    case 7:
      return sumfours<7>(cells, stride, from, to, xy, sxy, last);
    default:
      return sumfours<8>(cells, stride, from, to, xy, sxy, last);
  }
}

// The frame's passes run over compact copies of what they touch: positions,
// shifts and masses of the balls side by side in plain arrays, and the links
// and joints as slots into them, with what stays fixed through the frame
// (masses, mass ratios, which joints act) worked out once. The arithmetic and
// its order are those of shiftballs and tensionballs, so the result is the
// same to the bit; the passes just stay in the cache.
//
// Balls that no link or joint ties together cannot move each other, so the
// world is cut into blocks of whole figures, a few hundred balls each, and
// every block goes through all its passes while it is in the cache. A ball's
// corrections still come in the order of the lists, pass after pass.
constexpr int kBlockBalls = 256;

}  // namespace

struct framesolver {
  std::vector<ball*> balls;        // slot -> ball
  std::vector<double> xy, sxy, m;  // positions and shifts, x beside y
  std::vector<int> anchored;
  std::vector<char> moves;        // per slot: listed in osballlist
  std::vector<int> os;            // slots of osballlist, in its order
  bool repeats = false;           // a ball listed twice in osballlist takes its shifts twice
  std::vector<linkitem> links;    // by block, in list order within each
  std::vector<jointitem> joints;  // the same
  std::vector<linkpack> linkpacks;
  std::vector<jointpack> jointpacks;
  std::vector<jointwork> jointmid;  // a joint sweep's halfway results
  std::vector<linkwork> linkmid;    // a link sweep's

  // A block: slots [begin, end), the balls in view first (up to moving);
  // its links and joints are items [link0, link1) and [joint0, joint1), laid
  // out in packs [linkpack0, linkpack1) and [jointpack0, jointpack1).
  struct block {
    int begin = 0, moving = 0, end = 0;
    size_t link0 = 0, link1 = 0, joint0 = 0, joint1 = 0;
    size_t linkpack0 = 0, linkpack1 = 0, jointpack0 = 0, jointpack1 = 0;
  };
  std::vector<block> blocks;

  // Scratch for cutting the world into blocks.
  std::vector<int> parent, blockof, place, jointplace, order;
  std::vector<double> dscratch;
  std::vector<int> iscratch;
  std::vector<ball*> bscratch;
  std::vector<linkitem> linkscratch;
  std::vector<jointitem> jointscratch;

  // Where a sweep puts each ball's corrections. The corrections from the
  // ball's k-th item (in list order) go to cell k * stride + slot for the
  // first `width` items, so that balls side by side sum theirs side by side,
  // and any more to a run of the ball's own after those rows. A cell is a
  // pair of doubles, x then y. The cells of items a ball does not have stay
  // +0, and adding +0 to a sum that started at +0 changes none of its bits.
  struct cellmap {
    int width = 0, stride = 0, size = 0;
    std::vector<int> count, run, taken;  // per slot: its items, where its run starts
    std::vector<int> runners;            // the moving slots with a run, in order
    std::vector<double> cells;
    void reserve(size_t nballs, size_t nentries) {
      for (auto* v : {&count, &run, &taken, &runners}) v->reserve(nballs);
      cells.reserve(2 * (4 * nballs + nentries));
    }
    // entries(add) calls add(slot, cell) for every correction in list order;
    // cell is set to where that correction goes.
    template <class Entries>
    void build(const std::vector<char>& moves, Entries entries) {
      const int nslots = static_cast<int>(moves.size());
      count.assign(moves.size(), 0);
      int total = 0;
      entries([&](int slot, int&) {
        count[slot]++;
        total++;
      });
      // The rows leave at most one moving ball in 32 with a run, and fit
      // the room set aside.
      int counts[10] = {};
      int moving = 0;
      for (int i = 0; i < nslots; i++) {
        if (!moves[i]) continue;
        counts[std::min(count[i], 9)]++;
        moving++;
      }
      width = 0;
      for (int over = moving - counts[0]; width < 8 && over > moving / 32;) over -= counts[++width];
      while (2 * (static_cast<size_t>(width) * nslots + total) > cells.capacity() && width > 0) width--;
      stride = nslots;
      run.resize(moves.size());
      size = width * nslots;
      runners.clear();
      for (int i = 0; i < nslots; i++) {
        run[i] = size;
        size += std::max(count[i] - width, 0);
        if (moves[i] && count[i] > width) runners.push_back(i);
      }
      cells.assign(2 * static_cast<size_t>(size), 0.0);
      taken.assign(moves.size(), 0);
      entries([&](int slot, int& cell) {
        const int k = taken[slot]++;
        cell = k < width ? k * stride + slot : run[slot] + k - width;
      });
    }
  };
  cellmap linkcells, jointcells;

  // Room for every ball, link and joint of the world, so that the frames of a
  // level allocate nothing even as more of it comes into view.
  void reserve(size_t nballs, size_t nlinks, size_t njoints) {
    for (auto* v : {&xy, &sxy}) v->reserve(2 * nballs);
    m.reserve(nballs);
    for (auto* v : {&anchored, &os, &parent, &blockof, &place, &iscratch}) v->reserve(nballs);
    balls.reserve(nballs);
    bscratch.reserve(nballs);
    dscratch.reserve(2 * nballs);
    jointplace.reserve(njoints);
    order.reserve(std::max(nlinks, njoints));
    moves.reserve(nballs);
    blocks.reserve(nballs);
    links.reserve(nlinks);
    linkscratch.reserve(nlinks);
    seen.balls.reserve(nballs);
    seen.links.reserve(nlinks);
    seen.link.reserve(nlinks);
    seen.tensions.reserve(njoints);
    seen.joint.reserve(njoints);
    seen.linkset.reserve(nlinks);
    seen.jointset.reserve(njoints);
    joints.reserve(njoints);
    jointscratch.reserve(njoints);
    // Every block may leave its last pack part empty.
    linkpacks.reserve(nlinks / kLanes + nballs + 1);
    jointpacks.reserve(njoints / kLanes + nballs + 1);
    jointmid.reserve(jointpacks.capacity());
    linkmid.reserve(linkpacks.capacity());
    linkcells.reserve(nballs, 2 * nlinks);
    jointcells.reserve(nballs, 3 * njoints);
  }
  void clear() {
    balls.clear();
    xy.clear();
    sxy.clear();
    m.clear();
    anchored.clear();
    os.clear();
    links.clear();
    joints.clear();
    repeats = false;
    seen.valid = false;
  }
  // A ball outside osballlist (an end of a link into a figure out of view)
  // gets a slot too: its shifts build up as they do in the record, and it is
  // never moved.
  inline int slotof(ball* b) {
    const size_t i = static_cast<size_t>(b->slot);
    if (i < balls.size() && balls[i] == b) return b->slot;
    b->slot = static_cast<int>(balls.size());
    balls.push_back(b);
    xy.insert(xy.end(), {b->x, b->y});
    sxy.insert(sxy.end(), {b->shiftx, b->shifty});
    m.push_back(b->actualmass);
    anchored.push_back(b->anchored);
    return b->slot;
  }
  // What the solver was built from, so that the next frame can use it again
  // when nothing it depends on has changed: the same lists in the same
  // order, the same ends, rest lengths, rest angles, strengths, masses and
  // anchors. Only positions and shifts are then read afresh.
  struct linksetup {
    const ball *a, *b;
    double d;
  };
  struct jointsetup {
    const ball *a, *b, *c;
    double angle, strength;
  };
  struct built {
    bool valid = false;
    std::vector<ball*> balls;
    std::vector<struct link*> links;
    std::vector<tension*> tensions;
    std::vector<int> link;   // per link of oslinklist: its item
    std::vector<int> joint;  // per tension: its joint, or -1 if it does nothing
    // What each link and joint of the lists was, in list order, so that the
    // next frame's check reads straight along.
    std::vector<linksetup> linkset;
    std::vector<jointsetup> jointset;
  } seen;

  static bool samebits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
  }

  bool samelists(const game& g) const {
    return seen.valid && g.osballlist == seen.balls && g.oslinklist == seen.links &&
           g.ostensionlist == seen.tensions;
  }
  // One walk over the balls: their masses and anchors are checked while
  // their positions and shifts are taken (a rebuild takes them afresh). With
  // `move`, each ball in view first falls and moves, every one of them even
  // once a check has failed, so that a rebuild finds them all moved.
  bool takeballs(const game& g, bool move) {
    bool same = true;
    for (size_t i = 0; i < balls.size(); i++) {
      if (i + 32 < balls.size()) {  // the lines from x to anchored
        __builtin_prefetch(&balls[i + 32]->x);
        __builtin_prefetch(&balls[i + 32]->oldx);
        __builtin_prefetch(&balls[i + 32]->anchored);
      }
      ball& b = *balls[i];
      if (move && moves[i]) {
        fallball(b, g.gravity);
        moveball(b, g.slower);
      }
      if (!same) continue;
      if (!samebits(b.actualmass, m[i]) || b.anchored != anchored[i]) {
        if (!move) return false;
        same = false;
        continue;
      }
      xy[2 * i] = b.x;
      xy[2 * i + 1] = b.y;
      sxy[2 * i] = b.shiftx;
      sxy[2 * i + 1] = b.shifty;
    }
    return same;
  }
  // The joints and links are the ones laid out, with the same ends, rest
  // angles, strengths and rest lengths.
  bool samesetup(const game& g) const {
    for (size_t i = 0; i < g.ostensionlist.size(); i++) {
      if (i + 32 < g.ostensionlist.size()) __builtin_prefetch(g.ostensionlist[i + 32]);
      const tension& t = *g.ostensionlist[i];
      const jointsetup& was = seen.jointset[i];
      if (t.ball1 != was.a || t.ball2 != was.b || t.ball3 != was.c || !samebits(t.angle, was.angle) ||
          !samebits(t.strength, was.strength)) {
        return false;
      }
      // A joint laid out still acts: its strength is the same, and the
      // anchors of its balls were found unchanged. One that did nothing may
      // have balls outside the layout, whose anchors are looked at here.
      if (seen.joint[i] < 0 && jointacts(t)) return false;
    }
    for (size_t i = 0; i < g.oslinklist.size(); i++) {
      if (i + 32 < g.oslinklist.size()) __builtin_prefetch(&g.oslinklist[i + 32]->ball1);
      const struct link& l = *g.oslinklist[i];
      const linksetup& was = seen.linkset[i];
      if (l.ball1 != was.a || l.ball2 != was.b || !samebits(l.distance, was.d)) return false;
    }
    return true;
  }
  // The layout's balls are read only once the links and joints of this frame
  // are found to name them all.
  bool reuse(const game& g) { return samelists(g) && samesetup(g) && takeballs(g, false); }
  void remember(const game& g) {
    seen.balls.assign(g.osballlist.begin(), g.osballlist.end());
    seen.links.assign(g.oslinklist.begin(), g.oslinklist.end());
    seen.tensions.assign(g.ostensionlist.begin(), g.ostensionlist.end());
    seen.jointset.clear();
    for (const tension* t : g.ostensionlist)
      seen.jointset.push_back({t->ball1, t->ball2, t->ball3, t->angle, t->strength});
    seen.linkset.clear();
    for (const struct link* l : g.oslinklist) seen.linkset.push_back({l->ball1, l->ball2, l->distance});
    seen.valid = true;
  }

  int root(int i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  }
  void join(int a, int b) {
    a = root(a);
    b = root(b);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);  // a figure's root is its first slot
  }
  template <class T>
  static void permute(std::vector<T>& v, std::vector<T>& scratch, const std::vector<int>& to) {
    scratch.assign(v.begin(), v.end());
    for (size_t i = 0; i < scratch.size(); i++) v[to[i]] = scratch[i];
  }
  static void permutepairs(std::vector<double>& v, std::vector<double>& scratch, const std::vector<int>& to) {
    scratch.assign(v.begin(), v.end());
    for (size_t i = 0; i < to.size(); i++) {
      v[2 * to[i]] = scratch[2 * i];
      v[2 * to[i] + 1] = scratch[2 * i + 1];
    }
  }
  // Cuts the slots into blocks of whole figures (balls joined by links or
  // joints), taken in the order of their first slot, and renumbers the slots
  // so that every block's lie together, its balls in view first; the links
  // and joints are then taken block by block, in list order within each.
  // The first `inview` slots are osballlist's balls.
  void cut(int inview) {
    const int n = static_cast<int>(balls.size());
    blocks.clear();
    moves.assign(balls.size(), 0);
    std::fill(moves.begin(), moves.begin() + inview, 1);
    seen.link.resize(links.size());
    for (size_t i = 0; i < links.size(); i++) seen.link[i] = static_cast<int>(i);
    if (repeats) {
      // Balls listed twice take their shifts one by one, the whole world at once.
      blocks.push_back({0, inview, n, 0, links.size(), 0, joints.size()});
      return;
    }
    parent.resize(balls.size());
    for (int i = 0; i < n; i++) parent[i] = i;
    for (const linkitem& l : links) join(l.a, l.b);
    for (const jointitem& j : joints) {
      join(j.a, j.b);
      join(j.b, j.c);
    }
    // Figure sizes at their roots, then the figures into blocks in turn.
    blockof.assign(balls.size(), 0);
    for (int i = 0; i < n; i++) blockof[root(i)]++;
    int filled = 0;
    for (int i = 0; i < n; i++) {
      if (root(i) != i) continue;
      if (blocks.empty() || filled + blockof[i] > kBlockBalls) {
        blocks.emplace_back();
        filled = 0;
      }
      filled += blockof[i];
      blockof[i] = static_cast<int>(blocks.size() - 1);
    }
    for (int i = 0; i < n; i++) blockof[i] = blockof[root(i)];
    // Where each block's balls go: those in view, then the others, each in
    // slot order. moving and end count up as places are handed out.
    for (int i = 0; i < n; i++) (i < inview ? blocks[blockof[i]].moving : blocks[blockof[i]].end)++;
    int start = 0;
    for (block& k : blocks) {
      const int in = k.moving, out = k.end;
      k.begin = start;
      k.moving = start;    // next place for a ball in view
      k.end = start + in;  // next place for one out of view
      start += in + out;
    }
    place.resize(balls.size());
    for (int i = 0; i < n; i++) {
      block& k = blocks[blockof[i]];
      place[i] = i < inview ? k.moving++ : k.end++;
    }
    permutepairs(xy, dscratch, place);
    permutepairs(sxy, dscratch, place);
    permute(m, dscratch, place);
    permute(anchored, iscratch, place);
    permute(balls, bscratch, place);
    for (int i = 0; i < n; i++) balls[i]->slot = i;
    for (int& s : os) s = place[s];
    std::fill(moves.begin(), moves.end(), 0);
    for (int i = 0; i < inview; i++) moves[place[i]] = 1;
    // The links and joints, block by block, in list order within each.
    for (const linkitem& l : links) blocks[blockof[l.a]].link1++;
    for (const jointitem& j : joints) blocks[blockof[j.a]].joint1++;
    size_t nextlink = 0, nextjoint = 0;
    for (block& k : blocks) {
      k.link0 = nextlink;
      k.joint0 = nextjoint;
      nextlink += k.link1;
      nextjoint += k.joint1;
      k.link1 = k.link0;  // counts up as the block's items are placed
      k.joint1 = k.joint0;
    }
    linkscratch.assign(links.begin(), links.end());
    for (size_t i = 0; i < linkscratch.size(); i++) {
      linkitem l = linkscratch[i];
      const size_t to = blocks[blockof[l.a]].link1++;
      l.a = place[l.a];
      l.b = place[l.b];
      links[to] = l;
      seen.link[i] = static_cast<int>(to);
    }
    jointscratch.assign(joints.begin(), joints.end());
    jointplace.resize(joints.size());
    for (size_t i = 0; i < jointscratch.size(); i++) {
      jointitem j = jointscratch[i];
      const size_t to = blocks[blockof[j.a]].joint1++;
      j.a = place[j.a];
      j.b = place[j.b];
      j.c = place[j.c];
      joints[to] = j;
      jointplace[i] = static_cast<int>(to);
    }
    for (int& j : seen.joint) {
      if (j >= 0) j = jointplace[j];
    }
  }

  // Lays items [from, to) out four to a pack at the end of packs, those that
  // divide only by powers of two first, so that as many packs as can be take
  // the quick way; the lanes past the last item repeat it. A ball still takes
  // its corrections in list order, from the cells its items were given.
  // fill(pack, lane, item) sets one lane.
  template <class Item, class Pack, class Fill>
  void packlanes(const std::vector<Item>& items, size_t from, size_t to, std::vector<Pack>& packs,
                 Fill fill) {
    order.clear();
    for (size_t i = from; i < to; i++) {
      if (items[i].exact()) order.push_back(static_cast<int>(i));
    }
    for (size_t i = from; i < to; i++) {
      if (!items[i].exact()) order.push_back(static_cast<int>(i));
    }
    const size_t first = packs.size(), n = order.size();
    packs.resize(first + (n + kLanes - 1) / kLanes);
    for (size_t i = 0; i < n || i % kLanes != 0; i++) {
      const int k = static_cast<int>(i % kLanes);
      const Item& item = items[order[std::min(i, n - 1)]];
      fill(packs[first + i / kLanes], k, item);
    }
  }
  void pack() {
    linkpacks.clear();
    jointpacks.clear();
    for (block& k : blocks) {
      k.linkpack0 = linkpacks.size();
      packlanes(links, k.link0, k.link1, linkpacks, [](linkpack& p, int lane, const linkitem& l) {
        p.a[lane] = 2u * l.a;
        p.b[lane] = 2u * l.b;
        p.da[lane] = 2u * l.da;
        p.db[lane] = 2u * l.db;
        p.d[lane] = l.d;
        p.ra[lane] = l.ra;
        p.rb[lane] = l.rb;
        p.ia[lane] = l.ia;
        p.ib[lane] = l.ib;
        p.exact = (lane == 0 || p.exact) && l.exact();
      });
      k.linkpack1 = linkpacks.size();
      k.jointpack0 = jointpacks.size();
      packlanes(joints, k.joint0, k.joint1, jointpacks, [](jointpack& p, int lane, const jointitem& j) {
        p.a[lane] = 2u * j.a;
        p.b[lane] = 2u * j.b;
        p.c[lane] = 2u * j.c;
        p.da[lane] = 2u * j.da;
        p.db[lane] = 2u * j.db;
        p.dc[lane] = 2u * j.dc;
        p.ma[lane] = j.ma;
        p.mb[lane] = j.mb;
        p.mc[lane] = j.mc;
        p.ia[lane] = j.ia;
        p.ib[lane] = j.ib;
        p.ic[lane] = j.ic;
        p.mmin[lane] = j.mmin;
        p.angle[lane] = j.angle;
        p.strength[lane] = j.strength;
        p.exact = (lane == 0 || p.exact) && j.exact();
      });
      k.jointpack1 = jointpacks.size();
      if (jointmid.size() < k.jointpack1 - k.jointpack0) jointmid.resize(k.jointpack1 - k.jointpack0);
      if (linkmid.size() < k.linkpack1 - k.linkpack0) linkmid.resize(k.linkpack1 - k.linkpack0);
    }
  }
  void prepare() {
    linkcells.build(moves, [this](auto add) {
      for (linkitem& l : links) {
        add(l.a, l.da);
        add(l.b, l.db);
      }
    });
    jointcells.build(moves, [this](auto add) {
      for (jointitem& j : joints) {
        add(j.a, j.da);
        add(j.c, j.dc);
        add(j.b, j.db);
      }
    });
    pack();
  }

  // One moving ball's sum the one-at-a-time way, its run included.
  void gatherone(const cellmap& c, bool last, int i) {
    const double* cells = c.cells.data();
    double gx = 0, gy = 0;
    for (int k = 0; k < c.width; k++) {
      const size_t cell = static_cast<size_t>(k) * c.stride + i;
      gx += cells[2 * cell];
      gy += cells[2 * cell + 1];
    }
    for (int k = c.run[i]; k < c.run[i] + c.count[i] - c.width; k++) {
      gx += cells[2 * k];
      gy += cells[2 * k + 1];
    }
    xy[2 * i] += gx;
    xy[2 * i + 1] += gy;
    if (last) {
      sxy[2 * i] = gx;
      sxy[2 * i + 1] = gy;
    }
  }
  void gather(const cellmap& c, bool last, const block& b) {
    // Whole fours side by side, but those with a ball with a run (and the
    // balls after the last whole four) one at a time.
    const double* cells = c.cells.data();
    auto fours = [&](int from, int to) {
      sumrows(cells, static_cast<size_t>(c.stride), c.width, from, to, xy.data(), sxy.data(), last);
    };
    const int whole = b.begin + (b.moving - b.begin) / kLanes * kLanes;
    int done = b.begin;  // every four before this is summed
    for (auto r = std::lower_bound(c.runners.begin(), c.runners.end(), b.begin);
         r != c.runners.end() && *r < whole; ++r) {
      const int four = b.begin + (*r - b.begin) / kLanes * kLanes;
      if (four < done) continue;
      fours(done, four);
      for (int i = four; i < four + kLanes; i++) gatherone(c, last, i);
      done = four + kLanes;
    }
    fours(done, whole);
    for (int i = whole; i < b.moving; i++) gatherone(c, last, i);
    // A ball that never moves keeps adding to the shifts it had.
    for (int i = b.moving; i < b.end; i++) {
      for (int k = 0; k < c.count[i]; k++) {
        const size_t cell = k < c.width ? static_cast<size_t>(k) * c.stride + i : c.run[i] + k - c.width;
        sxy[2 * i] += c.cells[2 * cell];
        sxy[2 * i + 1] += c.cells[2 * cell + 1];
      }
    }
  }

  // With a ball listed twice in osballlist the corrections go into the
  // shifts one by one, and the shifts are added once per listing.
  void clearshifts() {
    for (int i : os) {
      sxy[2 * i] = 0;
      sxy[2 * i + 1] = 0;
    }
  }
  void settle(bool more) {
    for (int i : os) {
      xy[2 * i] += sxy[2 * i];
      xy[2 * i + 1] += sxy[2 * i + 1];
    }
    if (more) clearshifts();
  }
  void jointsweep(const block& b, double s, bool last) {
    jointfixes(jointpacks.data() + b.jointpack0, b.jointpack1 - b.jointpack0, xy.data(), s,
               jointcells.cells.data(), jointmid.data());
    if (!repeats) return gather(jointcells, last, b);
    const double* c = jointcells.cells.data();
    for (const jointitem& j : joints) {
      const int to[3] = {j.a, j.c, j.b}, cell[3] = {j.da, j.dc, j.db};
      for (int e = 0; e < 3; e++) {
        sxy[2 * to[e]] += c[2 * cell[e]];
        sxy[2 * to[e] + 1] += c[2 * cell[e] + 1];
      }
    }
    settle(!last);
  }
  void linksweep(const block& b, bool last) {
    linkfixes(linkpacks.data() + b.linkpack0, b.linkpack1 - b.linkpack0, xy.data(), linkcells.cells.data(),
              linkmid.data());
    if (!repeats) return gather(linkcells, last, b);
    const double* c = linkcells.cells.data();
    for (const linkitem& l : links) {
      sxy[2 * l.a] += c[2 * l.da];
      sxy[2 * l.a + 1] += c[2 * l.da + 1];
      sxy[2 * l.b] += c[2 * l.db];
      sxy[2 * l.b + 1] += c[2 * l.db + 1];
    }
    settle(!last);
  }
  // Joints first, so the links have the last word in every pass.
  void run(int passes, double s, bool fresh) {
    clearshifts();
    if (fresh) prepare();
    for (const block& b : blocks) {
      for (int i = 0; i < passes; i++) {
        jointsweep(b, s, false);
        linksweep(b, i + 1 == passes);
      }
    }
  }
};

void framesolverdrop::operator()(framesolver* fs) const { delete fs; }

namespace {

// The world's solver, made when first needed; a world that was replaced
// dropped the old one with its pointers into the old records.
framesolver& solver(game& g) {
  if (!g.solverstate) g.solverstate.reset(new framesolver);
  return *g.solverstate;
}

// Lays the frame's balls, joints and links out for the solver.
void buildsolver(framesolver& fs, const game& g) {
  fs.clear();
  fs.reserve(std::max(g.balllist.size(), g.osballlist.size()) + 1, g.linklist.size(), g.TensionList.size());
  // The records lie all over the heap: ask for the ones a few steps ahead
  // while this one is worked on (the link or joint itself further ahead, so
  // that its ball pointers are there to be read when their turn comes).
  constexpr size_t kAhead = 8;
  auto ahead = [](const auto& list, size_t i) {
    return i + kAhead < list.size() ? list[i + kAhead] : nullptr;
  };
  for (size_t i = 0; i < g.osballlist.size(); i++) {
    __builtin_prefetch(ahead(g.osballlist, i));
    const size_t before = fs.balls.size();
    const int slot = fs.slotof(g.osballlist[i]);
    fs.repeats = fs.repeats || fs.balls.size() == before;
    fs.os.push_back(slot);
  }
  const int inview = static_cast<int>(fs.balls.size());
  fs.seen.joint.clear();
  for (size_t i = 0; i < g.ostensionlist.size(); i++) {
    if (i + 2 * kAhead < g.ostensionlist.size()) __builtin_prefetch(g.ostensionlist[i + 2 * kAhead]);
    if (const tension* next = ahead(g.ostensionlist, i)) {
      __builtin_prefetch(next->ball1);
      __builtin_prefetch(next->ball2);
      __builtin_prefetch(next->ball3);
    }
    const tension* t = g.ostensionlist[i];
    if (!jointacts(*t)) {
      fs.seen.joint.push_back(-1);
      continue;
    }
    fs.seen.joint.push_back(static_cast<int>(fs.joints.size()));
    const int a = fs.slotof(t->ball1), b = fs.slotof(t->ball2), c = fs.slotof(t->ball3);
    fs.joints.push_back(
        {a, b, c, fs.m[a], fs.m[b], fs.m[c], smallestmass(fs.m[a], fs.m[b], fs.m[c]), t->angle, t->strength});
  }
  for (size_t i = 0; i < g.oslinklist.size(); i++) {
    if (i + 2 * kAhead < g.oslinklist.size()) __builtin_prefetch(g.oslinklist[i + 2 * kAhead]);
    if (const struct link* next = ahead(g.oslinklist, i)) {
      __builtin_prefetch(next->ball1);
      __builtin_prefetch(next->ball2);
    }
    const struct link* l = g.oslinklist[i];
    const int a = fs.slotof(l->ball1), b = fs.slotof(l->ball2);
    fs.links.push_back({a, b, l->distance, fs.m[a] / fs.m[b] + 1, fs.m[b] / fs.m[a] + 1});
  }
  fs.cut(inview);
  fs.remember(g);
}

}  // namespace

void game::constraintpasses() { solveconstraints(false); }

// The passes, then the velocity of every ball in view from how far it moved
// this step: done while each record is written back rather than in a walk
// of its own.
void game::constraintstep() { solveconstraints(true); }

namespace {

// The passes (on a fresh layout when the last one could not be used), then
// the records written back, with the velocities if asked.
void finishstep(game& g, framesolver& fs, bool fresh, bool velocities) {
  if (fresh) buildsolver(fs, g);
  fs.run(kConstraintPasses, g.slower, fresh);
  for (size_t i = 0; i < fs.balls.size(); i++) {
    if (i + 32 < fs.balls.size()) {  // the lines from x to rebounded
      __builtin_prefetch(&fs.balls[i + 32]->x, 1);
      __builtin_prefetch(&fs.balls[i + 32]->oldx, 1);
      __builtin_prefetch(&fs.balls[i + 32]->rebounded, 1);
    }
    ball& b = *fs.balls[i];
    b.x = fs.xy[2 * i];
    b.y = fs.xy[2 * i + 1];
    b.shiftx = fs.sxy[2 * i];
    b.shifty = fs.sxy[2 * i + 1];
    if (velocities && fs.moves[i]) {
      b.updatev(g.slower);
      b.rebounded = 0;
    }
  }
}

}  // namespace

void game::solveconstraints(bool velocities) {
  framesolver& fs = solver(*this);
  finishstep(*this, fs, !fs.reuse(*this), velocities);
}

void game::dropsolver() { solverstate.reset(); }

// The step's motion while the solver takes the positions: only when the
// lists are those of the last frame, and no ball is listed twice (it would
// have to fall and move twice before the passes).
bool game::constraintmove() {
  framesolver& fs = solver(*this);
  // The links and joints are checked first: once they name the balls laid
  // out, every ball of the layout is a record of this world.
  if (!fs.samelists(*this) || fs.repeats || !fs.samesetup(*this)) return false;
  const bool same = fs.takeballs(*this, true);
  finishstep(*this, fs, !same, true);
  return true;
}
