// Link and joint constraints, solved by position projection. Each pass is a
// simultaneous sweep: every constraint reads the positions at the start of the
// pass, the corrections are summed in the balls' shiftx/shifty, and only then
// added to the positions.
#include <algorithm>
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

// The frame's passes run over compact copies of what they touch: positions,
// shifts and masses of the balls side by side in plain arrays, and the links
// and joints as slots into them, with what stays fixed through the frame
// (masses, mass ratios, which joints act) worked out once. The arithmetic and
// its order are those of shiftballs and tensionballs, so the result is the
// same to the bit; the passes just stay in the cache.
struct framesolver {
  struct linkitem {
    int a, b;
    double d, ra, rb;
  };
  struct jointitem {
    int a, b, c;
    double ma, mb, mc, mmin, angle, strength;
  };
  std::vector<ball*> balls;  // slot -> ball
  std::vector<double> x, y, sx, sy, m;
  std::vector<int> os;   // slots of osballlist, in its order
  bool repeats = false;  // a ball listed twice in osballlist takes its shifts twice
  std::vector<linkitem> links;
  std::vector<jointitem> joints;

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
  void clearshifts() {
    for (int i : os) {
      sx[i] = 0;
      sy[i] = 0;
    }
  }
  void applyshifts() {
    for (int i : os) {
      x[i] += sx[i];
      y[i] += sy[i];
    }
  }
  // Adds the sweep's shifts to the positions and, when another sweep follows,
  // clears them for it; in one walk unless a ball is listed twice.
  void settle(bool more) {
    if (!more || repeats) {
      applyshifts();
      if (more) clearshifts();
      return;
    }
    for (int i : os) {
      x[i] += sx[i];
      y[i] += sy[i];
      sx[i] = 0;
      sy[i] = 0;
    }
  }
  void jointsweep(double s) {
    for (const jointitem& j : joints) {
      const jointpush p = jointshift(x[j.a], y[j.a], x[j.b], y[j.b], x[j.c], y[j.c], j.ma, j.mb, j.mc, j.mmin,
                                     j.angle, j.strength, s);
      sx[j.a] += p.ax;
      sy[j.a] += p.ay;
      sx[j.c] += p.cx;
      sy[j.c] += p.cy;
      sx[j.b] += p.bx;
      sy[j.b] += p.by;
    }
  }
  void linksweep() {
    double c[5];
    for (const linkitem& l : links) {
      linkshift(x[l.a], y[l.a], x[l.b], y[l.b], l.d, l.ra, l.rb, c);
      sx[l.a] += c[1];
      sy[l.a] += c[2];
      sx[l.b] += c[3];
      sy[l.b] += c[4];
    }
  }
  // Joints first, so the links have the last word in every pass.
  void run(int passes, double s) {
    clearshifts();
    for (int i = 0; i < passes; i++) {
      jointsweep(s);
      settle(true);
      linksweep();
      settle(i + 1 < passes);
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
