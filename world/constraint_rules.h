// The rules of one link and one joint, shared by the plain passes (the
// readable statement of them) and the wide solver, so that both do the same
// arithmetic in the same order.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "world/game.h"

namespace {

constexpr double kLinkStiffness = 0.3f;  // share of a link's error removed per pass
constexpr double kInertStrength = 10.0;  // joints this weak or weaker do nothing
constexpr double kJointCap = 0.7f;       // caps joint stiffness by arm length and mass
constexpr double kJointGain = 400.0;     // degrees of error per unit of push

// Joints measure in single precision, but a rest angle may be any double; one
// beyond the float range cannot be narrowed (that is undefined), so it is first
// taken modulo 360, which is exact and leaves the joint's aim unchanged.
inline float narrowangle(double a) {
  if (std::isfinite(a) && std::fabs(a) > std::numeric_limits<float>::max()) a = std::fmod(a, 360.0);
  return static_cast<float>(a);
}

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

}  // namespace
