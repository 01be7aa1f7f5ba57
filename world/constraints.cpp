// Link and joint constraints, solved by position projection. Each pass is a
// simultaneous sweep: every constraint reads the positions at the start of the
// pass, the corrections are summed in the balls' shiftx/shifty, and only then
// added to the positions.
// The plain passes below are the readable statement of the rules; the frame
// itself runs the wide solver of constraints_wide.cpp, which must match them
// to the bit.
#include <array>
#include <cmath>

#include "world/constraint_rules.h"
#include "world/game.h"

namespace {

// Subtracts 360 from b while more(b) holds, with the bits the plain loop
// gives. Far out the float spacing exceeds 8, each subtraction rounds, and
// the loop's result drifts away from the remainder (2e8 ends at 168, not
// 200); it is kept. Within one binade every step rounds the same way (once
// a tie has settled which neighbour is even), so runs of equal steps are
// taken at once. Only where a subtraction no longer changes the value (from
// just above 2^33, and for infinities), where the loop would never end, is the
// remainder used.
template <class More>
float subtractturns(float b, More more) {
  while (more(b)) {
    const float next = b - 360.0f;
    if (next == b) {
      b = std::fmod(b, 360.0f);
      continue;
    }
    const float after = next - 360.0f;
    const double step = double(b) - double(next);  // both exact: the values are close
    if (b < 4096.0f || double(next) - double(after) != step) {
      b = next;
      continue;
    }
    // Every step from b that lands at least 360 above the binade's foot
    // rounds in the binade's spacing, the same way.
    const double foot = std::ldexp(1.0, std::ilogb(b));
    const double runs = std::floor((double(b) - foot - 360.0) / step);
    b = runs >= 1 ? static_cast<float>(double(b) - runs * step) : next;
  }
  return b;
}

// Adds 360 to a while more(-a) holds: the mirror image of subtracting it
// from -a, as the rounding is, except that a sum landing on zero is +0.
template <class More>
float addturns(float a, More more) {
  const float b = -subtractturns(-a, more);
  return b == 0.0f ? 0.0f : b;
}

}  // namespace

double wrap360(float a) {
  a = subtractturns(a, [](float b) { return b >= 360.0f; });
  return addturns(a, [](float b) { return b > 0.0f; });
}

double wrap180(float a) {
  if (a > 180.0f) a = subtractturns(a, [](float b) { return b > 180.0f; });
  if (a < -180.0f) a = addturns(a, [](float b) { return b > 180.0f; });
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
