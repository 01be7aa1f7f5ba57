// Collisions: ball against ball, ball against link, the collision pass with
// its play events, jumps and impact sounds.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "world/game.h"

namespace {

constexpr double kBounce = 0.88f;
constexpr double kFriction = 0.1f;
constexpr double kGap = 0.1f;               // 0.10000000149011612
constexpr double kJump = 2 * double(4.9f);  // 9.800000190734863 units per frame

class Collide : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::install();
    g = std::make_unique<game>();
  }

  // Every field the collisions read is set, whatever the constructor drew.
  ball* addball(double x, double y, double r, double m = 1) {
    g->balllist.push_back(std::make_unique<ball>());
    ball* b = g->balllist.back().get();
    b->x = b->oldx = x;
    b->y = b->oldy = y;
    b->xv = b->yv = 0;
    b->r = r;
    b->m = b->actualmass = m;
    b->anchored = 0;
    b->rolling = 0;
    b->kind = "normal";
    b->gamoz = g.get();
    return b;
  }
  struct link* addlink(ball* a, ball* b, double width) {
    g->linklist.push_back(std::make_unique<struct link>());
    struct link* l = g->linklist.back().get();
    l->ball1 = a;
    l->ball2 = b;
    l->width = width;
    l->kind = "normal";
    l->gamoz = g.get();
    return l;
  }
  // A link from (0, 0) to (400, 300): direction (0.8, 0.6), slope 3/4, so
  // distances to it are exact. Its ends weigh 99 like anchored balls.
  struct link* slanted(double width = 3) {
    return addlink(addball(0, 0, 5, 99), addball(400, 300, 5, 99), width);
  }
  // The player's ball, in the on-screen lists, with a world around it.
  ball* player(double x, double y, double r) {
    ball* p = addball(x, y, r);
    p->rolling = 1;
    g->firstball = p;
    g->osballlist.push_back(p);
    return p;
  }

  std::unique_ptr<game> g;
};

// Distance of a ball's centre from a link's line as it lies now.
double gap(const ball* b, const struct link* l) {
  return distancetoline(b->x, b->y, l->ball1->x, l->ball1->y, l->ball2->x, l->ball2->y);
}

// Normal (0.6, -0.8) of the slanted link, pointing up and right.
constexpr double kNx = 0.6, kNy = -0.8;

TEST(CollideGeometry, ProjectionAndDistance) {
  auto p = projectonline(0, 2, 0, 0, 10, 10);
  EXPECT_NEAR(p[0], 1, 1e-12);
  EXPECT_NEAR(p[1], 1, 1e-12);
  EXPECT_DOUBLE_EQ(distancetoline(200, 133.75, 0, 0, 400, 300), 13);
  // Horizontal and vertical lines go through the guarded slope.
  p = projectonline(30, 7, 0, 0, 100, 0);
  EXPECT_NEAR(p[0], 30, 1e-5);
  EXPECT_NEAR(p[1], 0, 1e-5);
  EXPECT_NEAR(distancetoline(30, 7, 0, 0, 100, 0), 7, 1e-5);
  p = projectonline(0, 7, 3, 0, 3, 50);
  EXPECT_NEAR(p[0], 3, 1e-5);
  EXPECT_NEAR(p[1], 7, 1e-5);
  EXPECT_NEAR(distancetoline(0, 7, 3, 0, 3, 50), 3, 1e-5);
  // The guard drops the sign: a line running left is as good as one running right.
  EXPECT_NEAR(distancetoline(30, 7, 100, 0, 0, 0), 7, 1e-5);
}

TEST_F(Collide, TouchingIsNoContact) {
  ball* a = addball(0, 0, 10);
  ball* b = addball(12, 16, 10);  // exactly 20 apart
  a->xv = 1;
  EXPECT_EQ(g->collision(a, b), 0);
  EXPECT_EQ(a->x, 0);
  EXPECT_EQ(b->x, 12);
  EXPECT_EQ(a->xv, 1);
  b->y = 15.99;
  EXPECT_GT(g->collision(a, b), 0);

  struct link* l = slanted();
  ball* c = addball(200, 133.75, 10);  // 13 = r + width from the line
  c->yv = 1;
  EXPECT_EQ(g->collisionbl(c, l), 0);
  EXPECT_EQ(c->y, 133.75);
  EXPECT_EQ(c->yv, 1);
  c->y = 133.76;
  EXPECT_GT(g->collisionbl(c, l), 0);
}

TEST_F(Collide, LinkSpanEndsAtTheEndBalls) {
  struct link* l = slanted();
  // (-6, 8) projects exactly onto ball1's centre; (394, 308) onto ball2's.
  for (auto [x, y] : {std::pair{-6.0, 8.0}, {-7.0, 8.0}, {394.0, 308.0}, {395.0, 308.0}}) {
    ball* b = addball(x, y, 15);
    EXPECT_EQ(g->collisionbl(b, l), 0) << x;
    EXPECT_EQ(b->x, x);
  }
  EXPECT_GT(g->collisionbl(addball(-5, 8, 15), l), 0);
  EXPECT_GT(g->collisionbl(addball(393, 308, 15), l), 0);
}

TEST_F(Collide, OverlappingBallsAlwaysBounce) {
  ball* a = addball(0, 0, 10);
  ball* b = addball(9, 12, 10);  // 15 apart along (0.6, 0.8)
  // Already separating along the line of centres, plus some sideways motion.
  a->xv = -0.6, a->yv = -0.8;
  b->xv = 0.6 + 0.8, b->yv = 0.8 - 0.6;
  auto normal = [&] { return (b->xv - a->xv) * 0.6 + (b->yv - a->yv) * 0.8; };
  auto side = [&] { return (b->xv - a->xv) * 0.8 - (b->yv - a->yv) * 0.6; };
  const double before = normal(), sidebefore = side();
  const double px = a->xv + b->xv, py = a->yv + b->yv;
  EXPECT_GE(g->collision(a, b), 1);
  EXPECT_NEAR(normal(), -(2 * kBounce - 1) * before, 1e-9);
  EXPECT_NEAR(side(), sidebefore, 1e-9);
  EXPECT_NEAR(a->xv + b->xv, px, 1e-12);
  EXPECT_NEAR(a->yv + b->yv, py, 1e-12);
  // Pushed 0.1 beyond touching, each by half for equal masses.
  EXPECT_NEAR(std::hypot(b->x - a->x, b->y - a->y), 20 + kGap, 1e-12);
  EXPECT_NEAR(a->x + b->x, 9, 1e-12);

  // Unequal masses: the light ball takes the larger share.
  ball* c = addball(0, 100, 10, 3);
  ball* d = addball(0, 115, 10, 1);
  g->collision(c, d);
  EXPECT_NEAR(d->y - 115, 3 * (100 - c->y), 1e-6);
}

TEST_F(Collide, RestingContactHasStrengthOne) {
  ball* a = addball(0, 0, 10);
  ball* b = addball(0, 19, 10);
  EXPECT_EQ(g->collision(a, b), 1);
  struct link* l = slanted();
  ball* c = addball(200 + 12 * kNx, 150 + 12 * kNy, 10);
  EXPECT_EQ(g->collisionbl(c, l), 1);
  // A hard hit: 10 units per frame into a heavy ball.
  ball* e = addball(0, 200, 10, 99);
  ball* f = addball(0, 219, 10, 1);
  f->yv = -10.5;
  EXPECT_EQ(g->collision(e, f), 10);
}

TEST_F(Collide, CoincidentCentresPartDiagonally) {
  ball* a = addball(5, 5, 10);
  ball* b = addball(5, 5, 10);
  g->collision(a, b);
  const double o = 20 + kGap - double(0.00001f);
  EXPECT_NEAR(b->x, 5 + o / 2, 1e-12);
  EXPECT_NEAR(b->y, 5 + o / 2, 1e-12);
  EXPECT_NEAR(a->x, 5 - o / 2, 1e-12);
  EXPECT_NEAR(a->y, 5 - o / 2, 1e-12);
}

TEST_F(Collide, FrictionOnlyForNonRollingBalls) {
  const double mL = 2 * 99.0, mb = 1;
  for (int rolling : {1, 0}) {
    struct link* l = slanted();
    ball* b = addball(200 + 12 * kNx, 150 + 12 * kNy, 10, mb);
    b->rolling = rolling;
    b->xv = 2 * 0.8;  // sliding along the link at 2 units per frame
    b->yv = 2 * 0.6;
    ASSERT_EQ(g->collisionbl(b, l), 1);
    const double along = b->xv * 0.8 + b->yv * 0.6;
    const double kept = rolling ? 1 : 1 - kFriction * 2 * kBounce * mL / (mL + mb);
    EXPECT_NEAR(along, 2 * kept, 1e-12) << rolling;
    EXPECT_NEAR(b->xv * kNx + b->yv * kNy, 0, 1e-12);
    // The link's ends take the opposite momentum, and only through friction.
    const double ends = l->ball1->xv * 0.8 + l->ball1->yv * 0.6 + l->ball2->xv * 0.8 + l->ball2->yv * 0.6;
    EXPECT_NEAR(ends * mL, (2 - along) * mb, 1e-9);
  }
}

TEST_F(Collide, LinkPushesBallClearAndWeighsEndsByDistance) {
  ball* e1 = addball(0, 0, 5, 1);
  ball* e2 = addball(400, 300, 5, 1);
  struct link* l = addlink(e1, e2, 3);
  // The contact is a quarter of the way along: ball1 is nearer.
  ball* b = addball(100 + 12 * kNx, 75 + 12 * kNy, 10, 1);
  b->xv = -kNx;
  b->yv = -kNy;  // falling onto the link at 1 unit per frame
  g->collisionbl(b, l);
  EXPECT_GT(gap(b, l), 13);
  EXPECT_GT(b->xv * kNx + b->yv * kNy, 0);  // bounced off
  const double n1 = e1->xv * kNx + e1->yv * kNy, n2 = e2->xv * kNx + e2->yv * kNy;
  EXPECT_LT(n1, 0);
  EXPECT_NEAR(n1, 3 * n2, 1e-9);  // weights 300 : 100
}

TEST_F(Collide, JumpGivesNinePointEightAway) {
  ball* p = player(0, 0, 12);
  ball* o = addball(12, 16, 12, 2);  // along (0.6, 0.8), overlapping
  p->xv = 1, p->yv = 2;
  o->xv = 0.5, o->yv = -0.5;
  const double on = o->xv * 0.6 + o->yv * 0.8, pside = p->xv * 0.8 - p->yv * 0.6;
  g->balljump = 1;
  g->collision(p, o);
  EXPECT_EQ(g->balljump, -5);
  EXPECT_NEAR(p->xv * 0.6 + p->yv * 0.8, on - kJump, 1e-9);
  EXPECT_NEAR(p->xv * 0.8 - p->yv * 0.6, pside, 1e-12);

  // Only the player's ball jumps, and only while armed.
  ball* a = addball(0, 100, 10);
  ball* b = addball(0, 119, 10);
  g->balljump = 1;
  g->collision(a, b);
  EXPECT_EQ(g->balljump, 1);
  EXPECT_NEAR(a->yv, 0, 1e-12);

  // Off a link: the link's velocity at the contact plus 9.8 along the normal.
  struct link* l = slanted();
  l->ball1->xv = l->ball2->xv = 0.5;
  ball* q = addball(200 + 12 * kNx, 150 + 12 * kNy, 10);
  q->rolling = 1;
  q->xv = 0.3, q->yv = 0.4;
  const double qalong = q->xv * 0.8 + q->yv * 0.6;
  g->firstball = q;
  g->balljump = 1;
  g->collisionbl(q, l);
  EXPECT_EQ(g->balljump, -5);
  EXPECT_NEAR(q->xv * kNx + q->yv * kNy, 0.5 * kNx + kJump, 1e-9);
  EXPECT_NEAR(q->xv * 0.8 + q->yv * 0.6, qalong, 1e-12);
}

TEST_F(Collide, CentreOnTheLinkLineGoesAlongTheNormal) {
  struct link* l = slanted();
  ball* b = addball(200, 150, 10);  // exactly on the centre line
  EXPECT_EQ(g->collisionbl(b, l), 1);
  // The normal (-ldy, ldx) of a link from (0, 0) to (400, 300) is (-0.6, 0.8).
  EXPECT_TRUE(std::isfinite(b->x) && std::isfinite(b->y));
  EXPECT_NEAR((b->x - 200) * 0.8 + (b->y - 150) * 0.6, 0, 1e-9);
  EXPECT_LT(b->x, 200);
  EXPECT_GT(gap(b, l), 13);
  // A jump off the line takes the same direction.
  ball* p = player(200, 150, 10);
  g->balljump = 1;
  g->collisionbl(p, slanted());
  EXPECT_NEAR(p->xv * -0.6 + p->yv * 0.8, kJump, 1e-6);
}

TEST_F(Collide, DegenerateMassesEndThePushLoop) {
  // Masses so large that their sum overflows: every displacement is 0 and
  // the ball would never get clear.
  ball* e1 = addball(0, 0, 5, 0.5e308);
  ball* e2 = addball(0.8, 0.6, 5, 0.5e308);
  struct link* l = addlink(e1, e2, 3);
  ball* b = addball(0.4 + 12.9 * kNx, 0.3 + 12.9 * kNy, 10, 1.5e308);
  EXPECT_EQ(g->collisionbl(b, l), 1);
  EXPECT_DOUBLE_EQ(b->x, 0.4 + 12.9 * kNx);
  EXPECT_EQ(e1->x, 0);
  // Weightless balls give no defined correction either; the frame still ends.
  ball* z1 = addball(0, 0, 5, 0);
  ball* z2 = addball(400, 300, 5, 0);
  ball* z = addball(200 + 12 * kNx, 150 + 12 * kNy, 10, 0);
  EXPECT_EQ(g->collisionbl(z, addlink(z1, z2, 3)), 1);
}

TEST_F(Collide, PassRaisesDeathAndGoalOnlyInPlay) {
  ball* p = player(200 + 12 * kNx, 150 + 12 * kNy, 10);
  struct link* l = slanted();
  g->oslinklist.push_back(l);
  g->lives = 3;
  std::string result = "play";

  l->kind = "damaging";
  g->checkcollisions(result, 1);
  EXPECT_EQ(result, "lost");      // a resting touch kills
  EXPECT_EQ(g->alreadysound, 0);  // but makes no sound

  // After the event, contacts still push but raise nothing.
  p->x = 200 + 12 * kNx, p->y = 150 + 12 * kNy;
  l->kind = "stop";
  result = "levelcompleted";
  g->mode = "showlevelscore";
  g->checkcollisions(result, 1);
  EXPECT_EQ(result, "levelcompleted");
  EXPECT_EQ(g->mode, "showlevelscore");
  EXPECT_GT(gap(p, l), 13);

  p->x = 200 + 12 * kNx, p->y = 150 + 12 * kNy;
  result = "play";
  g->checkcollisions(result, 1);
  EXPECT_EQ(result, "levelcompleted");
  EXPECT_EQ(g->mode, "end");

  // A damaging ball kills; a normal one does not.
  g->oslinklist.clear();
  ball* d = addball(p->x + 15, p->y, 10);
  g->osballlist.push_back(d);
  result = "play";
  g->checkcollisions(result, 1);
  EXPECT_EQ(result, "play");
  d->x = p->x + 15;
  d->y = p->y;
  d->kind = "damaging";
  g->checkcollisions(result, 1);
  EXPECT_EQ(result, "lost");
}

TEST_F(Collide, BackgroundNeverTouchesThePlayer) {
  ball* p = player(200 + 12 * kNx, 150 + 12 * kNy, 10);
  struct link* l = slanted();
  l->kind = "background";
  g->oslinklist.push_back(l);
  ball* b = addball(p->x + 5, p->y, 10);
  b->kind = "background";
  g->osballlist.push_back(b);
  g->balljump = 1;
  std::string result = "play";
  g->checkcollisions(result, 0);
  EXPECT_EQ(p->x, 200 + 12 * kNx);
  EXPECT_EQ(b->x, p->x + 5);
  EXPECT_EQ(p->xv, 0);
  EXPECT_EQ(g->balljump, 1);
  EXPECT_EQ(result, "play");
}

TEST_F(Collide, FirstContactConsumesTheJump) {
  ball* p = player(0, 0, 10);
  ball* a = addball(-19, 0, 10);  // left of the player, tested first
  ball* b = addball(0, 19, 10);   // below
  g->osballlist.push_back(a);
  g->osballlist.push_back(b);
  g->balljump = 1;
  std::string result = "play";
  g->checkcollisions(result, 1);
  EXPECT_EQ(g->balljump, -5);
  EXPECT_GT(p->xv, 4);             // thrown right, away from a
  EXPECT_LT(std::fabs(p->yv), 1);  // b gave no second jump
}

TEST_F(Collide, ImpactSound) {
  g->optsoundsvol = 5;
  g->impactsound(1);
  EXPECT_EQ(g->alreadysound, 0);
  g->impactsound(2);
  EXPECT_EQ(g->alreadysound, 4);
  g->alreadysound = 1;
  g->impactsound(30);
  EXPECT_EQ(g->alreadysound, 1);
  g->alreadysound = 0;
  g->optsoundsvol = 0;
  g->impactsound(30);
  EXPECT_EQ(g->alreadysound, 0);

  // In the pass: a hard hit on a normal ball starts a sound.
  g->optsoundsvol = 10;
  ball* p = player(0, 0, 10);
  p->yv = 10;
  ball* o = addball(0, 19, 10, 99);
  g->osballlist.push_back(o);
  std::string result = "play";
  g->checkcollisions(result, 1);
  EXPECT_EQ(g->alreadysound, 4);
}

// A sound whose every sample is 1: one mixed frame of it is its channel's volume.
sound flatsound(size_t frames) {
  auto d = std::make_shared<sounddata>();
  d->samples.assign(frames * 2, 1.0f);
  return sound(d);
}

// Sum of the volumes of every channel playing now.
float playingvolume() {
  float out[2] = {0, 0};
  plat::sounds().mix(out, 1);
  return out[0];
}

// The impact sound is as loud as the hit beyond strength 1, a tenth per unit,
// scaled by the sound setting and never beyond full volume.
TEST_F(Collide, ImpactVolumeGrowsWithTheStrengthBeyondOne) {
  g->jumpsound = flatsound(44100);
  const struct {
    int strength, setting;
    double volume;
  } cases[] = {{2, 10, 0.1}, {6, 5, 0.25}, {3, 7, 0.14}, {11, 10, 1.0}, {8, 10, 0.7}, {40, 3, 1.0}};
  for (const auto& c : cases) {
    plat::sounds().clear();
    g->alreadysound = 0;
    g->optsoundsvol = c.setting;
    g->impactsound(c.strength);
    EXPECT_NEAR(playingvolume(), c.volume, 1e-6) << "strength " << c.strength << " setting " << c.setting;
    EXPECT_EQ(g->alreadysound, 4);
  }
  // Strength 1 (a resting touch) is silent, and so is any hit while held off.
  plat::sounds().clear();
  g->alreadysound = 0;
  g->impactsound(1);
  g->alreadysound = 1;
  g->impactsound(9);
  EXPECT_EQ(playingvolume(), 0);

  // In the pass: the player's ball falling at 6.5 onto a heavy ball hits
  // with strength 6, so the sound plays at (6 - 1) / 10 at setting 10.
  plat::sounds().clear();
  g->alreadysound = 0;
  g->optsoundsvol = 10;
  ball* p = player(0, 0, 10);
  p->yv = 6.5;
  ball* o = addball(0, 19, 10, 99);
  g->osballlist.push_back(o);
  std::string result = "play";
  g->checkcollisions(result, 1);
  EXPECT_NEAR(playingvolume(), 0.5, 1e-6);
  plat::sounds().clear();
}

// A ball against a link whose ends weigh and move differently. Worked in
// the link's own frame: n = (0.6, -0.8) across it, contact a quarter along
// (d1 = 125 from ball1, d2 = 375 from ball2). The link's velocity at the
// contact weighs each end by its own distance; the ends share the push by
// the other end's distance times mass.
TEST_F(Collide, LinkEndsOfUnequalMassAndSpeedShareTheHitByTheRule) {
  const double m1 = 2, m2 = 1, mb = 1, d1 = 125, d2 = 375;
  const double v1 = 0.5, v2 = -1.5, vb = -4.5;  // across the link, along n
  ball* e1 = addball(0, 0, 5, m1);
  ball* e2 = addball(400, 300, 5, m2);
  e1->xv = v1 * kNx, e1->yv = v1 * kNy;
  e2->xv = v2 * kNx, e2->yv = v2 * kNy;
  struct link* l = addlink(e1, e2, 3);
  ball* b = addball(100 + 12 * kNx, 75 + 12 * kNy, 10, mb);
  b->rolling = 1;
  b->xv = vb * kNx + 0.7 * 0.8;  // and sliding along the link at 0.7
  b->yv = vb * kNy + 0.7 * 0.6;

  const double vl = (v1 * d1 + v2 * d2) / (d1 + d2);  // -1, not 0 as the nearer-weighs-more mean gives
  const double j = vl - vb;                           // 3.5 across
  const double mL = 2 * std::min(m1, m2);
  const double w1 = d1 * m1, w2 = d2 * m2, W = w1 + w2;  // 250 and 375
  EXPECT_EQ(g->collisionbl(b, l), 3);
  auto across = [](const ball* x) { return x->xv * kNx + x->yv * kNy; };
  auto along = [](const ball* x) { return x->xv * 0.8 + x->yv * 0.6; };
  EXPECT_NEAR(across(b), vb + j * 2 * mL / (mL + mb) * kBounce, 1e-9);
  EXPECT_NEAR(across(e1), v1 - j * (w2 / W) * 2 * mb / (mL + mb) * kBounce, 1e-9);  // -0.732
  EXPECT_NEAR(across(e2), v2 - j * (w1 / W) * 2 * mb / (mL + mb) * kBounce, 1e-9);  // -2.3213...
  EXPECT_NEAR(along(b), 0.7, 1e-9);  // rolling: no friction
  EXPECT_NEAR(along(e1), 0, 1e-9);
  EXPECT_NEAR(along(e2), 0, 1e-9);

  // Pushed clear in two equal moves of c = (13.1 - 12) / 2 across: the ball
  // by 2 mL / (mL + mb) of it, each end by its share of 2 mb / (mL + mb).
  const double c = (10 + 3 + kGap - 12) / 2;
  auto moved = [](const ball* x, double x0, double y0) { return (x->x - x0) * kNx + (x->y - y0) * kNy; };
  EXPECT_NEAR(moved(b, 100 + 12 * kNx, 75 + 12 * kNy), 2 * c * 2 * mL / (mL + mb), 1e-9);
  EXPECT_NEAR(moved(e1, 0, 0), -2 * c * (w2 / W) * 2 * mb / (mL + mb), 1e-9);
  EXPECT_NEAR(moved(e2, 400, 300), -2 * c * (w1 / W) * 2 * mb / (mL + mb), 1e-9);
  EXPECT_GT(gap(b, l), 13);
}

// Two balls of unequal mass and speed: the push and the bounce go by the
// other ball's share of the mass, and momentum is kept.
TEST_F(Collide, BallsOfUnequalMassAndSpeedShareTheHitByTheOthersMass) {
  const double m1 = 3, m2 = 1;
  ball* a = addball(0, 0, 12, m1);
  ball* b = addball(12, 16, 12, m2);  // n = (0.6, 0.8) from a to b, 20 apart
  a->xv = 1, a->yv = 0.5;
  b->xv = -0.5, b->yv = -1;
  const double dvn = (b->xv - a->xv) * 0.6 + (b->yv - a->yv) * 0.8;  // -2.1: closing
  const double j = -dvn;
  EXPECT_EQ(g->collision(a, b), 2);
  auto across = [](const ball* x) { return x->xv * 0.6 + x->yv * 0.8; };
  auto side = [](const ball* x) { return x->xv * 0.8 - x->yv * 0.6; };
  EXPECT_NEAR(across(b), (-0.5 * 0.6 - 0.8) + j * kBounce * 2 * m1 / (m1 + m2), 1e-9);
  EXPECT_NEAR(across(a), (0.6 + 0.4) - j * kBounce * 2 * m2 / (m1 + m2), 1e-9);
  EXPECT_NEAR(side(a), 1 * 0.8 - 0.5 * 0.6, 1e-12);
  EXPECT_NEAR(side(b), -0.5 * 0.8 + 0.6, 1e-12);
  EXPECT_NEAR(m1 * a->xv + m2 * b->xv, m1 * 1 + m2 * -0.5, 1e-9);
  EXPECT_NEAR(m1 * a->yv + m2 * b->yv, m1 * 0.5 + m2 * -1, 1e-9);
  // Overlap 24.1 - 20 = 4.1: the light ball takes three quarters of it.
  const double o = 24 + kGap - 20;
  EXPECT_NEAR(a->x * 0.6 + a->y * 0.8, -o * m2 / (m1 + m2), 1e-9);
  EXPECT_NEAR((b->x - 12) * 0.6 + (b->y - 16) * 0.8, o * m1 / (m1 + m2), 1e-9);
}

TEST_F(Collide, FigurePairsCollideBothWays) {
  // Figure 1: a link; figure 2: a ball lying on it. Paired once, in either order.
  for (bool swapped : {false, true}) {
    struct link* l = slanted();
    ball* b = addball(200 + 12 * kNx, 150 + 12 * kNy, 10);
    marionetobject f1, f2;
    f1.balllist = {l->ball1, l->ball2};
    f1.linklist = {l};
    f2.balllist = {b};
    virtuallinkobject pair{swapped ? &f2 : &f1, swapped ? &f1 : &f2};
    g->osvirtuallinkobjects = {&pair};
    std::string result = "play";
    g->checkcollisions(result, 0);
    EXPECT_GT(gap(b, l), 13) << swapped;
    g->osvirtuallinkobjects.clear();
  }
  // Balls of the two figures against each other.
  ball* a = addball(0, 500, 10);
  ball* c = addball(0, 515, 10);
  marionetobject f1, f2;
  f1.balllist = {a};
  f2.balllist = {c};
  virtuallinkobject pair{&f1, &f2};
  g->osvirtuallinkobjects = {&pair};
  std::string result = "play";
  g->checkcollisions(result, 0);
  EXPECT_NEAR(c->y - a->y, 20 + kGap, 1e-12);
  // An unpaired figure touches nothing.
  ball* d = addball(0, 800, 10);
  ball* e = addball(0, 815, 10);
  g->checkcollisions(result, 0);
  EXPECT_EQ(e->y - d->y, 15);
}

}  // namespace
