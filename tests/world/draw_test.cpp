// Drawing the world, checked on the draw calls the headless backend records.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/headless/headless.h"
#include "tests/support/harness.h"
#include "world/game.h"

namespace {

using headless::drawcall;
using headless::op;

constexpr double kBallScale = 1.0f / 148;  // 0.006756756920367479
constexpr double kAlong = 0.0025f;
constexpr double kAcross = 0.02f;

class Draw : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::install();
    g = std::make_unique<game>();
    // Three tiny sprites told apart by their file names.
    const std::vector<uint8_t> pixel(4 * 4, 255);
    for (const char* name : {"ball.png", "tumbo.png", "plat.png"}) ASSERT_TRUE(WritePNG(name, 2, 2, pixel));
    g->ballsprite = LoadSprite("ball.png");
    g->tumbosprite = LoadSprite("tumbo.png");
    g->platformsprite = LoadSprite("plat.png");
    ASSERT_TRUE(g->ballsprite && g->tumbosprite && g->platformsprite);
    g->delimiter = 1024;
    g->xcenter = 500;
    g->ycenter = 300;
    g->zoom = 1;
    headless::clear_calls();
  }

  ball* addball(double x, double y, double r, const std::string& kind = "normal") {
    g->balllist.push_back(std::make_unique<ball>());
    ball* b = g->balllist.back().get();
    b->x = x;
    b->y = y;
    b->r = r;
    b->kind = kind;
    b->tumbo = 0;
    b->gamoz = g.get();
    return b;
  }
  struct link* addlink(ball* a, ball* b, double width, const std::string& kind = "normal") {
    g->linklist.push_back(std::make_unique<struct link>());
    struct link* l = g->linklist.back().get();
    l->ball1 = a;
    l->ball2 = b;
    l->width = width;
    l->kind = kind;
    l->gamoz = g.get();
    return l;
  }
  // The sprites drawn since the last clear.
  static std::vector<drawcall> sprites() {
    std::vector<drawcall> out;
    for (const drawcall& c : headless::calls())
      if (c.kind == op::sprite) out.push_back(c);
    headless::clear_calls();
    return out;
  }
  static drawcall onesprite() {
    auto s = sprites();
    EXPECT_EQ(s.size(), 1u);
    return s.empty() ? drawcall{} : s[0];
  }

  harness::gamedir dir;
  std::unique_ptr<game> g;
};

TEST_F(Draw, BallsLandWhereTheViewPutsThem) {
  ball* a = addball(500, 300, 10);
  ball* b = addball(600, 300, 10);
  a->draw(0);
  b->draw(0);
  auto s = sprites();
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].text, "ball.png");
  EXPECT_DOUBLE_EQ(s[0].x, 512);
  EXPECT_DOUBLE_EQ(s[0].y, 384);
  EXPECT_DOUBLE_EQ(s[1].x, 612);
  EXPECT_DOUBLE_EQ(s[1].y, 384);
  EXPECT_DOUBLE_EQ(s[1].sx, 10 * kBallScale);
  EXPECT_DOUBLE_EQ(s[1].sy, 10 * kBallScale);

  g->zoom = 0.625;
  b->draw(0);
  const drawcall c = onesprite();
  EXPECT_DOUBLE_EQ(c.x, 574.5);
  EXPECT_DOUBLE_EQ(c.y, 384);
  EXPECT_DOUBLE_EQ(c.sx, 6.25 * kBallScale);
  EXPECT_DOUBLE_EQ(b->xapp, 574.5);
  EXPECT_DOUBLE_EQ(b->rapp, 6.25);
}

TEST_F(Draw, BallLooksFollowItsKind) {
  g->unicol[0][0] = 10, g->unicol[0][1] = 20, g->unicol[0][2] = 30;
  addball(0, 0, 10)->draw(0);
  drawcall c = onesprite();
  EXPECT_EQ(std::tie(c.r, c.g, c.b), std::make_tuple(255, 255, 255));
  EXPECT_EQ(c.alpha, 1);
  addball(0, 0, 10, "damaging")->draw(0);
  c = onesprite();
  EXPECT_EQ(std::tie(c.r, c.g, c.b), std::make_tuple(255, 0, 0));
  addball(0, 0, 10, "background")->draw(0);
  EXPECT_EQ(onesprite().alpha, 0.5);
  // Opacity and scale are back to 1 afterwards.
  addball(0, 0, 10)->draw(0);
  EXPECT_EQ(onesprite().alpha, 1);
  DrawSprite(g->ballsprite, 0, 0);
  c = onesprite();
  EXPECT_EQ(c.sx, 1);
  EXPECT_EQ(c.alpha, 1);

  // The player's ball wears colour 0 and its own sprite, even when damaging.
  ball* p = addball(0, 0, 15, "damaging");
  p->tumbo = 1;
  g->firstball = p;
  p->draw(0);
  c = onesprite();
  EXPECT_EQ(c.text, "tumbo.png");
  EXPECT_EQ(std::tie(c.r, c.g, c.b), std::make_tuple(10, 20, 30));
}

TEST_F(Draw, LinkRotationFoldsIntoTheSpriteRange) {
  ball* a = addball(500, 300, 5);
  auto rotation = [&](double bx, double by) {
    addlink(a, addball(bx, by, 5), 4)->Draw();
    return onesprite().rotation;
  };
  EXPECT_NEAR(rotation(600, 300), 0, 1e-12);
  EXPECT_NEAR(rotation(600, 300 + 100 * std::tan(M_PI / 6)), 30, 1e-9);
  EXPECT_NEAR(rotation(600, 300 + 100 * std::tan(M_PI / 3)), -120, 1e-9);
  EXPECT_NEAR(rotation(600, 300 - 100 * std::tan(M_PI / 6)), -30, 1e-9);
  EXPECT_NEAR(rotation(500, 400), -90, 1e-3);  // vertical: the guarded sdx
  EXPECT_NEAR(rotation(500, 200), -90, 1e-3);
  EXPECT_NEAR(rotation(500, 300), 0, 1e-12);  // no length at all

  // Placement, size and outline of a horizontal link at zoom 0.5.
  g->zoom = 0.5;
  struct link* l = addlink(a, addball(600, 300, 5), 4);
  l->Draw();
  const drawcall c = onesprite();
  EXPECT_EQ(c.text, "plat.png");
  EXPECT_DOUBLE_EQ(c.x, 537);
  EXPECT_DOUBLE_EQ(c.y, 384);
  EXPECT_DOUBLE_EQ(c.sx, kAlong * 50);
  EXPECT_DOUBLE_EQ(c.sy, kAcross * 2 * 0.5);
  // The outline lies `width` either side of the centre line.
  const std::array<double, 5> x{0, 500, 600, 600, 500}, y{0, 304, 304, 296, 296};
  const std::array<double, 5> xapp{0, 512, 562, 562, 512}, yapp{0, 386, 386, 382, 382};
  for (int i = 0; i < 5; ++i) {
    EXPECT_NEAR(l->x[i], x[i], 1e-12) << i;
    EXPECT_NEAR(l->y[i], y[i], 1e-12) << i;
    EXPECT_NEAR(l->xapp[i], xapp[i], 1e-12) << i;
    EXPECT_NEAR(l->yapp[i], yapp[i], 1e-12) << i;
  }
  // Rotation, scale and opacity are reset for whatever comes next.
  addlink(a, addball(600, 400, 5), 4, "background")->Draw();
  EXPECT_EQ(onesprite().alpha, 0.5);
  DrawSprite(g->ballsprite, 0, 0);
  const drawcall after = onesprite();
  EXPECT_EQ(after.rotation, 0);
  EXPECT_EQ(after.sx, 1);
  EXPECT_EQ(after.sy, 1);
  EXPECT_EQ(after.alpha, 1);
}

// The fold takes off 180 only above 45 degrees: a link at exactly 45 keeps
// its angle, one a degree steeper is turned back to -134.
TEST_F(Draw, LinkRotationFoldsOnlyAboveFortyFive) {
  ball* a = addball(500, 300, 5);
  auto rotation = [&](double bx, double by) {
    addlink(a, addball(bx, by, 5), 4)->Draw();
    return onesprite().rotation;
  };
  const double deg = M_PI / 180;
  EXPECT_NEAR(rotation(600, 400), 45, 1e-9);  // sdy / sdx = 1
  EXPECT_NEAR(rotation(600, 300 + 100 * std::tan(44 * deg)), 44, 1e-9);
  EXPECT_NEAR(rotation(600, 300 + 100 * std::tan(46 * deg)), 46 - 180, 1e-9);
  EXPECT_NEAR(rotation(400, 200), 45, 1e-9);  // the same slope drawn the other way
  EXPECT_NEAR(rotation(600, 200), -45, 1e-9);
  // The fold is on the screen's slope: at zoom 2 a world slope of 1 is still 45.
  g->zoom = 2;
  EXPECT_NEAR(rotation(550, 350), 45, 1e-9);
}

// A link shorter than the guard is outlined as if its half-length were the
// guard: the outline of a 1e-6 long link of width 4 lies 2 * 1e-6 / 0.00001
// = 0.2 either side, not 4; a link of no length is outlined at its centre.
TEST_F(Draw, ShortLinksAreOutlinedWithTheGuardedLength) {
  constexpr double kGuard = 0.00001f;
  ball* a = addball(500, 300, 5);
  struct link* l = addlink(a, addball(500 + 1e-6, 300, 5), 4);
  l->Draw();
  onesprite();
  const double t = 2 / kGuard;
  EXPECT_NEAR(l->y[1], 300 + t * 1e-6, 1e-9);  // 300.2
  EXPECT_NEAR(l->y[2], 300 + t * 1e-6, 1e-9);
  EXPECT_NEAR(l->y[3], 300 - t * 1e-6, 1e-9);
  EXPECT_NEAR(l->y[4], 300 - t * 1e-6, 1e-9);
  EXPECT_NEAR(l->x[1], 500, 1e-9);
  EXPECT_NEAR(l->x[3], 500 + 1e-6, 1e-9);

  struct link* z = addlink(a, addball(500, 300, 5), 4);
  z->Draw();
  const drawcall c = onesprite();
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(z->x[i], 500) << i;
    EXPECT_EQ(z->y[i], 300) << i;
    EXPECT_EQ(z->xapp[i], 512) << i;
    EXPECT_EQ(z->yapp[i], 384) << i;
  }
  EXPECT_EQ(c.rotation, 0);
  EXPECT_EQ(c.sx, 0);  // no length on screen
  EXPECT_DOUBLE_EQ(c.x, 512);
  EXPECT_DOUBLE_EQ(c.y, 384);
}

TEST_F(Draw, LinkLooksFollowItsKind) {
  g->unicol[1][0] = 7, g->unicol[1][1] = 8, g->unicol[1][2] = 9;
  ball* a = addball(0, 0, 5);
  ball* b = addball(100, 0, 5);
  auto look = [&](const std::string& kind) {
    addlink(a, b, 2, kind)->Draw();
    return onesprite();
  };
  drawcall c = look("normal");
  EXPECT_EQ(std::tie(c.r, c.g, c.b, c.alpha), std::make_tuple(255, 255, 255, 1.0));
  c = look("damaging");
  EXPECT_EQ(std::tie(c.r, c.g, c.b, c.alpha), std::make_tuple(255, 0, 0, 1.0));
  c = look("background");
  EXPECT_EQ(c.alpha, 0.5);
  c = look("stop");
  EXPECT_EQ(std::tie(c.r, c.g, c.b), std::make_tuple(7, 8, 9));

  // A virtual link is cyan, half transparent, and 7 wide from then on.
  struct link* v = addlink(a, b, 2, "virtual");
  v->Draw();
  c = onesprite();
  EXPECT_EQ(std::tie(c.r, c.g, c.b, c.alpha), std::make_tuple(0, 255, 255, 0.5));
  EXPECT_EQ(v->width, 7);
  EXPECT_DOUBLE_EQ(c.sy, kAcross * 3.5);
}

TEST_F(Draw, SmallestFirstAndThePlayerLast) {
  ball* p = addball(500, 300, 15);
  p->tumbo = 1;
  g->firstball = p;
  ball* big = addball(0, 0, 20);
  ball* small = addball(0, 0, 10);
  g->osballlist = {p, big, small};
  g->oslinklist = {addlink(big, small, 15)};
  // Twice: the list is rebuilt each frame, not added to.
  for (int frame = 0; frame < 2; ++frame) {
    g->drawballlinks();
    auto s = sprites();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].text, "ball.png");
    EXPECT_DOUBLE_EQ(s[0].sx, 10 * kBallScale);
    EXPECT_EQ(s[1].text, "plat.png");
    EXPECT_EQ(s[2].text, "ball.png");
    EXPECT_DOUBLE_EQ(s[2].sx, 20 * kBallScale);
    EXPECT_EQ(s[3].text, "tumbo.png");
  }
  EXPECT_EQ(g->drawlist.size(), 4u);

  // Equal sizes keep their list order: balls before links, each in list order.
  ball* b15 = addball(0, 0, 15, "damaging");
  struct link* l15 = addlink(big, small, 15, "background");
  g->osballlist = {p, b15};
  g->oslinklist = {l15, g->oslinklist[0]};
  g->drawballlinks();
  auto s = sprites();
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0].r, 255);
  EXPECT_EQ(s[0].g, 0);        // the damaging ball
  EXPECT_EQ(s[1].alpha, 0.5);  // the background link
  EXPECT_EQ(s[2].alpha, 1);
  EXPECT_EQ(s[2].text, "plat.png");

  // Without a player's ball the last entry draws nothing.
  g->firstball = nullptr;
  g->osballlist = {big};
  g->oslinklist.clear();
  g->drawballlinks();
  EXPECT_EQ(sprites().size(), 1u);
}

// Sizes of every kind, many distinct and many repeated: the draw list must
// come out as a stable sort by size, with a size that is not a number first.
TEST_F(Draw, DrawListSortsAnySizesStably) {
  const double special[] = {3, 15, -1, 0.0, -0.0, NAN, INFINITY, -INFINITY, 1e-300, 7.25, 1e9, 15};
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  ball* p = addball(500, 300, 15);
  g->firstball = p;
  ball* end1 = addball(0, 0, 1);
  ball* end2 = addball(50, 20, 1);
  struct item {
    double size;
    const void* what;
  };
  std::vector<item> expected;
  g->osballlist = {p};
  g->oslinklist.clear();
  for (int i = 0; i < 400; ++i) {
    const uint32_t r = next() >> 8;
    const double size = r % 3 == 0 ? special[r / 3 % 12] : (r % 1000) * 0.37 - 50;
    if (i % 2 == 0) {
      g->osballlist.push_back(addball(i, i, size));
    } else {
      g->oslinklist.push_back(addlink(end1, end2, size));
    }
  }
  for (ball* b : g->osballlist)
    if (b != p) expected.push_back({b->r, b});
  for (struct link* l : g->oslinklist) expected.push_back({l->width, l});
  std::stable_sort(expected.begin(), expected.end(), [](const item& a, const item& b) {
    const double sa = std::isnan(a.size) ? -INFINITY : a.size, sb = std::isnan(b.size) ? -INFINITY : b.size;
    return sa < sb;
  });

  g->drawballlinks();
  ASSERT_EQ(g->drawlist.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) {
    const balllink& e = g->drawlist[i];
    const void* what = e.ball1 ? static_cast<const void*>(e.ball1) : e.link1;
    ASSERT_EQ(what, expected[i].what) << i;
  }
  EXPECT_EQ(g->drawlist.back().ball1, p);
  EXPECT_EQ(sprites().size(), expected.size() + 1);
}

TEST_F(Draw, EqualSizesOrderLikeCompare) {
  balllink a, b;
  a.size = b.size = 5;
  EXPECT_EQ(a.Compare(b), -1);
  EXPECT_EQ(b.Compare(a), -1);
  b.size = 4;
  EXPECT_EQ(a.Compare(b), 1);
  EXPECT_EQ(b.Compare(a), -1);
}

TEST_F(Draw, ColoursStepAndBounce) {
  g->unicol[0][0] = 254, g->adder[0][0] = 2;
  g->unicol[0][1] = 2, g->adder[0][1] = -2;
  g->unicol[0][2] = 3, g->adder[0][2] = -2;
  g->varycol();
  EXPECT_EQ(g->unicol[0][0], 252);
  EXPECT_EQ(g->unicol[0][1], 4);
  EXPECT_EQ(g->unicol[0][2], 5);
  EXPECT_EQ(g->unicol[29][2], 2);  // every entry climbs from 0

  // Over a long run every channel stays in its band and some reverse midway.
  int reversed = 0;
  for (int frame = 0; frame < 2000; ++frame) {
    int before = g->adder[5][1];
    g->varycol();
    if (g->adder[5][1] != before && g->unicol[5][1] > 10 && g->unicol[5][1] < 240) reversed++;
    for (int i = 0; i < 30; ++i)
      for (int j = 0; j < 3; ++j) {
        ASSERT_GE(g->unicol[i][j], 2);
        ASSERT_LE(g->unicol[i][j], 254);
      }
  }
  EXPECT_GT(reversed, 0);
}

// A channel turns down only above 252 and up only at 3 or below: 252 still
// climbs to 254, 253 turns to 251; 4 still falls to 2, 3 turns to 5.
TEST_F(Draw, ColoursBounceJustPastTheirEdges) {
  const int start[4] = {252, 253, 4, 3}, step[4] = {2, 2, -2, -2}, want[4] = {254, 251, 2, 5};
  for (int k = 0; k < 4; ++k) {
    g->unicol[k][0] = start[k];
    g->adder[k][0] = step[k];
  }
  g->varycol();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(g->unicol[k][0], want[k]) << "from " << start[k];
}

TEST_F(Draw, ViewFollowsThePlayerWithinLimits) {
  g->zoom = 0.001;
  g->fixzoom();
  EXPECT_EQ(g->zoom, double(0.01f));
  g->zoom = 500;
  g->fixzoom();
  EXPECT_EQ(g->zoom, 100);

  // The borders come from the view before the camera moves.
  g->zoom = 2;
  g->xcenter = 500, g->ycenter = 300;
  ball* p = addball(900, 2500, 15);
  g->firstball = p;
  g->fixzoom();
  EXPECT_DOUBLE_EQ(g->leftborder, 500 - 256);
  EXPECT_DOUBLE_EQ(g->rightborder, 500 + 256);
  EXPECT_DOUBLE_EQ(g->upborder, 300 - 192);
  EXPECT_DOUBLE_EQ(g->downborder, 300 + 192);
  EXPECT_EQ(g->xcenter, 900);
  EXPECT_EQ(g->ycenter, 2000);  // the camera stops following deeper

  // Pan keys shift the borders; without a player's ball they move the view.
  headless::set_script({headless::frameinput{{KEY_D, KEY_W}, ""}}, false);
  g->fixzoom();
  EXPECT_DOUBLE_EQ(g->leftborder, 900 + 7 - 256);
  EXPECT_DOUBLE_EQ(g->upborder, 2000 - 7 - 192);
  EXPECT_EQ(g->xcenter, 900);
  g->firstball = nullptr;
  g->fixzoom();
  EXPECT_DOUBLE_EQ(g->xcenter, 907);
  EXPECT_DOUBLE_EQ(g->ycenter, 1993);
}

TEST_F(Draw, BackgroundGridMovesSlowerThanTheWorld) {
  auto lines = [&] {
    std::vector<drawcall> out;
    for (const drawcall& c : headless::calls())
      if (c.kind == op::line) out.push_back(c);
    headless::clear_calls();
    return out;
  };
  g->xcenter = 0, g->ycenter = 0;
  g->dobackground2();
  auto at0 = lines();
  ASSERT_FALSE(at0.empty());
  EXPECT_EQ(at0[0].r, 120);
  // Zoom 1 draws the grid at zoom 1/2: world x 0 at the centre, 500 at +250.
  bool vertical = false;
  for (const drawcall& c : at0) {
    if (c.x == c.x2) {
      vertical = true;
      EXPECT_EQ(c.y, 0);
      EXPECT_EQ(c.y2, 768);
      EXPECT_EQ(std::fmod(c.x - 512, 250), 0) << c.x;
    } else {
      EXPECT_EQ(c.x, 0);
      EXPECT_EQ(c.x2, 1024);
      EXPECT_EQ(std::fmod(c.y - 384, 250), 0) << c.y;
    }
  }
  EXPECT_TRUE(vertical);
  // Moving the view 100 units moves the grid 50 pixels.
  g->xcenter = 100;
  g->dobackground2();
  for (const drawcall& c : lines()) {
    if (c.x == c.x2) {
      EXPECT_EQ(std::fmod(c.x - 462 + 1000, 250), 0) << c.x;
    }
  }
  // A dimmer grid at a smaller zoom.
  g->zoom = 0.5;
  g->dobackground2();
  EXPECT_EQ(lines().at(0).r, 60);
}

// The grid at zoom 1.5 seen from (-300, -200): it is drawn at zoom
// 1 / (1 / 1.5 + 1) = 0.6 from the grid point below the view's top-left
// corner, floor((-300 - 512 / 1.5) / 500) = -2 steps and
// floor((-200 - 384 / 1.5) / 500) = -1 step, for floor(1024 / 500 / 1.5) + 2
// = 3 steps more. Vertical lines at 512 + 0.6 (-1000 + 500 i + 300): 92, 392,
// 692 and, the last step, 992; horizontal at 384 + 0.6 (-500 + 500 i + 200):
// 204 and 504 (804 and 1104 are below the window). Grey 120 * 1.5.
TEST_F(Draw, BackgroundGridRoundsDownAndDrawsItsLastLine) {
  auto lines = [&] {
    std::vector<drawcall> out;
    for (const drawcall& c : headless::calls())
      if (c.kind == op::line) out.push_back(c);
    headless::clear_calls();
    return out;
  };
  g->zoom = 1.5;
  g->xcenter = -300;
  g->ycenter = -200;
  g->dobackground2();
  std::vector<double> xs, ys;
  for (const drawcall& c : lines()) {
    EXPECT_EQ(std::tie(c.r, c.g, c.b), std::make_tuple(180, 180, 180));
    if (c.x == c.x2) {
      EXPECT_EQ(c.y, 0);
      EXPECT_EQ(c.y2, 768);
      xs.push_back(c.x);
    } else {
      EXPECT_EQ(c.y, c.y2);
      EXPECT_EQ(c.x, 0);
      EXPECT_EQ(c.x2, 1024);
      ys.push_back(c.y);
    }
  }
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  const std::vector<double> wantx{92, 392, 692, 992}, wanty{204, 504};
  ASSERT_EQ(xs.size(), wantx.size());
  ASSERT_EQ(ys.size(), wanty.size());
  for (size_t i = 0; i < xs.size(); i++) EXPECT_NEAR(xs[i], wantx[i], 1e-9);
  for (size_t i = 0; i < ys.size(); i++) EXPECT_NEAR(ys[i], wanty[i], 1e-9);

  // The grey is cut, not rounded: 120 * 0.78125 = 93.75 gives 93.
  g->zoom = 0.78125;
  g->dobackground2();
  const std::vector<drawcall> dim = lines();
  ASSERT_FALSE(dim.empty());
  for (const drawcall& c : dim) EXPECT_EQ(std::tie(c.r, c.g, c.b), std::make_tuple(93, 93, 93));
}

}  // namespace
