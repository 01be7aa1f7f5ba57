// Collisions: the player's ball against everything in view, and the declared
// figure pairs against each other. Each contact corrects positions and
// exchanges velocity at once; there is no contact list.
#include <algorithm>
#include <cmath>

#include "world/game.h"

namespace {

// Single-precision constants used in double arithmetic.
constexpr double kGap = 0.1f;       // items end this far beyond touching
constexpr double kFriction = 0.1f;  // share of the sliding velocity a non-rolling ball loses
constexpr double kBounce = 0.88f;   // 2 * 0.88 of the normal velocity is removed: 0.76 bounces back
constexpr double kJumpHalf = 4.9f;  // half of the 9.8 units per frame a jump gives
constexpr int kMaxPushes = 64;      // degenerate masses may never separate a ball from a link

// Lengths and differences this close to zero would blow up a division; the
// sign is not kept, so a vertical line gets a large positive slope.
double guard(double v) { return std::fabs(v) < kNearZero ? kNearZero : v; }

// Whether B projects strictly between the end balls along the link's direction
// (ldx, ldy); a ball projecting exactly onto an end ball is outside.
bool inspan(const ball* b, const ball* e1, const ball* e2, double ldx, double ldy) {
  return (b->x - e1->x) * ldx + (b->y - e1->y) * ldy > 0 && (b->x - e2->x) * ldx + (b->y - e2->y) * ldy < 0;
}

// Whether b lies so far outside the box around a link's end balls, widened by
// the reach, that it cannot touch the link: touching needs the ball to project
// between the ends and lie within reach of the line. Only for coordinates
// where rounding stays far below the margin of 1; a value that is not a
// number is never ruled out here.
bool beyondreach(const ball* b, const ball* e1, const ball* e2, double reach) {
  constexpr double kModerate = 1e9;
  for (double v : {b->x, b->y, e1->x, e1->y, e2->x, e2->y}) {
    if (!(std::fabs(v) < kModerate)) return false;
  }
  const double m = reach + 1;
  return b->x < std::min(e1->x, e2->x) - m || b->x > std::max(e1->x, e2->x) + m ||
         b->y < std::min(e1->y, e2->y) - m || b->y > std::max(e1->y, e2->y) + m;
}

int strengthof(double jx, double jy) { return TruncInt(std::max(1.0, std::sqrt(jx * jx + jy * jy))); }

}  // namespace

std::array<double, 2> projectonline(double px, double py, double x1, double y1, double x2, double y2) {
  const double ldx = guard(x2 - x1), ldy = guard(y2 - y1);
  const double s = ldy / ldx;
  // The line through (x1, y1) as y = s x + o, seen from (px, py).
  const double o = (y1 - py) - (x1 - px) * s;
  const double u = -o / (s + 1 / s);
  return {px + u, py + o + s * u};
}

double distancetoline(double px, double py, double x1, double y1, double x2, double y2) {
  const double ldx = guard(x2 - x1), ldy = guard(y2 - y1);
  const double s = ldy / ldx;
  return std::fabs((x1 - px) * s - (y1 - py)) / std::sqrt(s * s + 1);
}

int game::collision(ball* first, ball* second) {
  double dx = second->x - first->x, dy = second->y - first->y;
  double dist = std::sqrt(dx * dx + dy * dy);
  const double R = first->r + second->r;
  // Written so that a ball that is not a number touches nothing.
  if (!(dist < R)) return 0;
  // Coincident centres end up pushed apart along (+1, +1).
  dist = guard(dist);
  dx = guard(dx);
  dy = guard(dy);

  const double m1 = first->actualmass, m2 = second->actualmass;
  const double dvx = second->xv - first->xv, dvy = second->yv - first->yv;
  const double s = guard(dy / dx);
  // Minus the relative velocity along the line of centres; applied even when
  // the balls already separate.
  double jx = -(dvy + dvx / s) / (s + 1 / s);
  double jy = jx * s;

  if (balljump == 1 && first == firstball) {
    jx = (jx / 2 + kJumpHalf * dx / dist) / (m2 / (m1 + m2)) / kBounce;
    jy = (jy / 2 + kJumpHalf * dy / dist) / (m2 / (m1 + m2)) / kBounce;
    balljump = -5;
  }
  const int strength = strengthof(jx, jy);

  const double o = R + kGap - dist;
  second->x += o * dx / dist * m1 / (m1 + m2);
  second->y += o * dy / dist * m1 / (m1 + m2);
  first->x -= o * dx / dist * m2 / (m1 + m2);
  first->y -= o * dy / dist * m2 / (m1 + m2);

  second->xv += jx * kBounce * 2 * m1 / (m1 + m2);
  second->yv += jy * kBounce * 2 * m1 / (m1 + m2);
  first->xv -= jx * kBounce * 2 * m2 / (m1 + m2);
  first->yv -= jy * kBounce * 2 * m2 / (m1 + m2);
  return strength;
}

int game::collisionbl(ball* b, struct link* l) {
  ball* e1 = l->ball1;
  ball* e2 = l->ball2;
  if (beyondreach(b, e1, e2, b->r + l->width)) return 0;
  double ldx = guard(e2->x - e1->x), ldy = guard(e2->y - e1->y);
  double d = distancetoline(b->x, b->y, e1->x, e1->y, e2->x, e2->y);
  const double reach = b->r + l->width;
  if (!inspan(b, e1, e2, ldx, ldy)) return 0;
  if (d >= reach) return 0;

  const double s = ldy / ldx;
  const auto [px, py] = projectonline(b->x, b->y, e1->x, e1->y, e2->x, e2->y);
  const double d1 = std::sqrt((px - e1->x) * (px - e1->x) + (py - e1->y) * (py - e1->y));
  const double d2 = std::sqrt((px - e2->x) * (px - e2->x) + (py - e2->y) * (py - e2->y));
  const double dB = std::sqrt((b->x - px) * (b->x - px) + (b->y - py) * (b->y - py));
  const double S = d1 + d2;
  const double m1 = e1->actualmass, m2 = e2->actualmass, mb = b->actualmass;
  const double w1 = d1 * m1, w2 = d2 * m2, W = w1 + w2;

  // Each end ball's velocity is weighted by its own distance from the contact.
  const double vlx = (e1->xv * d1 + e2->xv * d2) / S;
  const double vly = (e1->yv * d1 + e2->yv * d2) / S;
  const double dvx = vlx - b->xv, dvy = vly - b->yv;
  double jx = (dvx * s - dvy) / (s + 1 / s);
  double jy = -jx / s;

  if (b->rolling == 0) {
    // Friction: a tenth of the sliding velocity relative to the link.
    const auto [tx, ty] = projectonline(b->xv - vlx, b->yv - vly, 0, 0, ldx, ldy);
    jx -= kFriction * tx;
    jy -= kFriction * ty;
  }
  const double mL = 2 * std::min(m1, m2);

  // Away from the link: from the contact point to the ball's centre. A centre
  // lying exactly on the centre line has no such direction, so it goes along
  // the link's normal (-ldy, ldx), i.e. to the right of the way from ball1 to
  // ball2 with y pointing down.
  double ex = b->x - px, ey = b->y - py, elen = dB;
  if (dB == 0) {
    const double len = std::sqrt(ldx * ldx + ldy * ldy);
    ex = -ldy / len;
    ey = ldx / len;
    elen = 1;
  }

  if (balljump == 1 && b == firstball) {
    jx = (jx / 2 + kJumpHalf * ex / elen) / (mL / (mL + mb)) / kBounce;
    jy = (jy / 2 + kJumpHalf * ey / elen) / (mL / (mL + mb)) / kBounce;
    balljump = -5;
  }
  const int strength = strengthof(jx, jy);

  b->xv += jx * 2 * mL / (mL + mb) * kBounce;
  b->yv += jy * 2 * mL / (mL + mb) * kBounce;
  e1->xv -= jx * (w2 / W) * 2 * mb / (mL + mb) * kBounce;
  e1->yv -= jy * (w2 / W) * 2 * mb / (mL + mb) * kBounce;
  e2->xv -= jx * (w1 / W) * 2 * mb / (mL + mb) * kBounce;
  e2->yv -= jy * (w1 / W) * 2 * mb / (mL + mb) * kBounce;

  // Half the way to 0.1 beyond touching, repeated until the ball is clear.
  const double cx = (px + (reach + kGap) * ex / elen - b->x) / 2;
  const double cy = (py + (reach + kGap) * ey / elen - b->y) / 2;
  for (int i = 0; i < kMaxPushes; ++i) {
    e1->x -= cx * (w2 / W) * 2 * mb / (mL + mb);
    e1->y -= cy * (w2 / W) * 2 * mb / (mL + mb);
    e2->x -= cx * (w1 / W) * 2 * mb / (mL + mb);
    e2->y -= cy * (w1 / W) * 2 * mb / (mL + mb);
    b->x += cx * 2 * mL / (mL + mb);
    b->y += cy * 2 * mL / (mL + mb);
    ldx = guard(e2->x - e1->x);
    ldy = guard(e2->y - e1->y);
    d = distancetoline(b->x, b->y, e1->x, e1->y, e2->x, e2->y);
    if (d > reach || !inspan(b, e1, e2, ldx, ldy)) break;
  }
  return strength;
}

void game::impactsound(int strength) {
  if (strength > 1 && optsoundsvol > 0 && alreadysound <= 0) {
    channel c = jumpsound.Cue();
    c.SetVolume(static_cast<float>(std::min(1.0, (strength - 1) / 10.0 * optsoundsvol / 10.0)));
    c.SetPaused(0);
    alreadysound = 4;
  }
}

void game::checkcollisions(std::string& result, int freeplay) {
  if (ball* player = firstball) {
    // Index loops: a death or goal must not invalidate the walk.
    for (size_t i = 0; i < oslinklist.size(); ++i) {
      // The records lie all over the heap: ask for the link some steps
      // ahead (its kind and, a few lines on, its ends), and for its end
      // balls once its record has had time to arrive.
      if (i + 32 < oslinklist.size()) {
        __builtin_prefetch(&oslinklist[i + 32]->kind);
        __builtin_prefetch(&oslinklist[i + 32]->ball1);
      }
      if (i + 16 < oslinklist.size()) {
        __builtin_prefetch(oslinklist[i + 16]->ball1);
        __builtin_prefetch(oslinklist[i + 16]->ball2);
      }
      struct link* l = oslinklist[i];
      if (iskind(l->kind, "background")) continue;
      const int strength = collisionbl(player, l);
      if (strength > 0 && result == "play") {
        if (iskind(l->kind, "stop")) {
          passedlevel(result, freeplay);
        } else if (iskind(l->kind, "damaging")) {
          died(result);
        }
      }
      impactsound(strength);
    }
    for (size_t i = 0; i < osballlist.size(); ++i) {
      if (i + 16 < osballlist.size()) {
        const ball* ahead = osballlist[i + 16];
        __builtin_prefetch(&ahead->x);
        __builtin_prefetch(&ahead->r);
        __builtin_prefetch(&ahead->kind);
      }
      ball* other = osballlist[i];
      if (other == player || iskind(other->kind, "background")) continue;
      const int strength = collision(player, other);
      if (strength > 0 && iskind(other->kind, "damaging") && result == "play") died(result);
      impactsound(strength);
    }
  }

  // Declared figure pairs: three separate passes, kinds play no part.
  for (virtuallinkobject* v : osvirtuallinkobjects) {
    for (ball* b : v->obj1->balllist)
      for (struct link* l : v->obj2->linklist) collisionbl(b, l);
  }
  for (virtuallinkobject* v : osvirtuallinkobjects) {
    for (ball* b : v->obj2->balllist)
      for (struct link* l : v->obj1->linklist) collisionbl(b, l);
  }
  for (virtuallinkobject* v : osvirtuallinkobjects) {
    for (ball* b1 : v->obj1->balllist)
      for (ball* b2 : v->obj2->balllist) collision(b1, b2);
  }
}
