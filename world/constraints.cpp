// Link and joint constraints, solved by position projection. Each pass is a
// simultaneous sweep: every constraint reads the positions at the start of the
// pass, the corrections are summed in the balls' shiftx/shifty, and only then
// added to the positions.
#include <algorithm>
#include <cmath>

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
  const double dx = b2->x - b1->x;
  const double dy = b2->y - b1->y;
  double len = std::sqrt(dx * dx + dy * dy);
  if (std::fabs(len) < kNearZero) len = kNearZero;
  const double e = len - d;
  std::array<double, 5> c{};
  c[1] = e / (m1 / m2 + 1) * (dx / len) * kLinkStiffness;
  c[2] = e / (m1 / m2 + 1) * (dy / len) * kLinkStiffness;
  c[3] = -e / (m2 / m1 + 1) * (dx / len) * kLinkStiffness;
  c[4] = -e / (m2 / m1 + 1) * (dy / len) * kLinkStiffness;
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
  if (strength <= kInertStrength) return;
  ball& a = *ball1;
  ball& b = *ball2;
  ball& c = *ball3;
  if (a.anchored == 1 && b.anchored == 1 && c.anchored == 1) return;

  const double dx1 = b.x - a.x;
  const double dy1 = b.y - a.y;
  const double dx2 = c.x - b.x;
  const double dy2 = c.y - b.y;
  const double a1 = atan2deg(dy1, -dx1);
  const double a2 = atan2deg(dy2, -dx2);
  // Joints measure in single precision: a straight line reads 180.
  const double theta = wrap360(static_cast<float>(a1 - a2 + 180));
  const double err = wrap180(static_cast<float>(theta - angle));

  double q1 = dx1 * dx1 + dy1 * dy1;
  double q2 = dx2 * dx2 + dy2 * dy2;
  if (q1 < kNearZero) q1 = kNearZero;
  if (q2 < kNearZero) q2 = kNearZero;
  const double mmin = std::min(std::min(a.actualmass, b.actualmass), c.actualmass);
  const double k = std::min(std::min(kJointCap * q1 * mmin, kJointCap * q2 * mmin), strength);
  const double f = k * (err / kJointGain) * s;

  a.shiftx += f * dy1 / q1 / a.actualmass;
  a.shifty += f * (-dx1) / q1 / a.actualmass;
  c.shiftx += f * dy2 / q2 / c.actualmass;
  c.shifty += f * (-dx2) / q2 / c.actualmass;
  b.shiftx += (-f * dy1 / q1 - f * dy2 / q2) / b.actualmass;
  b.shifty += (f * dx1 / q1 + f * dx2 / q2) / b.actualmass;
}
