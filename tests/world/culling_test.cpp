// Figures, pairs and groups, and the choice of what is in view.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/headless/headless.h"
#include "tests/world/worldkit.h"

using worldkit::addball;
using worldkit::addlink;
using worldkit::addtension;
using worldkit::addvirtual;

namespace {

using box = std::array<double, 4>;  // xmin, xmax, ymin, ymax

// What the grouping produces, with balls, links and figures as indices.
struct grouping {
  std::vector<int> ballnum, single;
  std::vector<std::vector<int>> figballs, figlinks;
  std::vector<box> figbox;
  std::vector<std::pair<int, int>> pairs;  // figure numbers
  std::vector<int> groupnum;               // per figure
  std::vector<std::vector<int>> groupfigs;
  std::vector<box> groupbox;
  bool operator==(const grouping&) const = default;
};

void grow(box& b, double xmin, double xmax, double ymin, double ymax) {
  if (xmin < b[0]) b[0] = xmin;
  if (xmax > b[1]) b[1] = xmax;
  if (ymin < b[2]) b[2] = ymin;
  if (ymax > b[3]) b[3] = ymax;
}

constexpr box kEmpty = {999999.0, -999999.0, 999999.0, -999999.0};

// The grouping as the game's design states it, step by step: label
// propagation repeated once per ball for every new figure, then once per
// figure for every new group. Quadratic or worse; only for comparison.
grouping literalgrouping(const game& g) {
  std::unordered_map<const ball*, int> index;
  for (size_t i = 0; i < g.balllist.size(); i++) index[g.balllist[i].get()] = static_cast<int>(i);
  const int nb = static_cast<int>(g.balllist.size());
  grouping r;
  std::vector<int>& num = r.ballnum;
  num.assign(nb, 0);
  r.single.assign(nb, 0);
  std::vector<std::pair<int, int>> ends;
  for (const auto& l : g.linklist) ends.emplace_back(index.at(l->ball1), index.at(l->ball2));
  int n = 0;
  for (int i = 0; i < nb; i++) {
    if (num[i] != 0) continue;
    n = n + 1;
    num[i] = n;
    for (int rep = 0; rep < nb; rep++) {
      for (const auto& [a, b] : ends) {
        if (num[a] != 0) num[b] = num[a];
        if (num[b] != 0) num[a] = num[b];
      }
    }
  }
  for (int j = 1; j <= n; j++) {
    if (std::count(num.begin(), num.end(), j) == 1)
      r.single[std::find(num.begin(), num.end(), j) - num.begin()] = 1;
  }
  for (int j = 1; j <= n; j++) {
    r.figballs.emplace_back();
    r.figbox.push_back(kEmpty);
    for (int i = 0; i < nb; i++) {
      if (num[i] != j) continue;
      const ball& b = *g.balllist[i];
      r.figballs.back().push_back(i);
      grow(r.figbox.back(), b.x - b.r, b.x + b.r, b.y - b.r, b.y + b.r);
    }
  }
  for (int j = 0; j < n; j++) {
    r.figlinks.emplace_back();
    for (size_t k = 0; k < g.linklist.size(); k++) {
      const auto& fb = r.figballs[j];
      if (std::find(fb.begin(), fb.end(), index.at(g.linklist[k]->ball1)) != fb.end()) {
        r.figlinks.back().push_back(static_cast<int>(k));
      }
    }
  }
  for (const auto& l : g.virtuallinklist) {
    const int o1 = num[index.at(l->ball1)], o2 = num[index.at(l->ball2)];
    bool held = false;
    for (const auto& p : r.pairs) held = held || p == std::pair{o1, o2} || p == std::pair{o2, o1};
    if (!held) r.pairs.emplace_back(o1, o2);
  }
  std::vector<int>& gn = r.groupnum;
  gn.assign(n, 0);
  int ng = 0;
  for (int f = 0; f < n; f++) {
    if (gn[f] != 0) continue;
    ng = ng + 1;
    gn[f] = ng;
    for (int rep = 0; rep < n; rep++) {
      for (const auto& [o1, o2] : r.pairs) {
        if (gn[o1 - 1] != 0) gn[o2 - 1] = gn[o1 - 1];
        if (gn[o2 - 1] != 0) gn[o1 - 1] = gn[o2 - 1];
      }
    }
  }
  for (int k = 1; k <= ng; k++) {
    r.groupfigs.emplace_back();
    r.groupbox.push_back(kEmpty);
    for (int f = 0; f < n; f++) {
      if (gn[f] != k) continue;
      r.groupfigs.back().push_back(f + 1);
      const box& fb = r.figbox[f];
      grow(r.groupbox.back(), fb[0], fb[1], fb[2], fb[3]);
    }
  }
  return r;
}

// The grouping that defineobjects left in the game, read back as indices.
grouping readgrouping(const game& g) {
  std::unordered_map<const ball*, int> bi;
  std::unordered_map<const struct link*, int> li;
  for (size_t i = 0; i < g.balllist.size(); i++) bi[g.balllist[i].get()] = static_cast<int>(i);
  for (size_t i = 0; i < g.linklist.size(); i++) li[g.linklist[i].get()] = static_cast<int>(i);
  grouping r;
  for (const auto& b : g.balllist) {
    r.ballnum.push_back(b->ballobjectnum);
    r.single.push_back(b->single);
    EXPECT_EQ(b->ballmarionetobject->objnum, b->ballobjectnum);
  }
  for (size_t j = 0; j < g.marionetobjectlist.size(); j++) {
    const marionetobject& o = *g.marionetobjectlist[j];
    EXPECT_EQ(o.objnum, static_cast<int>(j) + 1);
    EXPECT_TRUE(o.TensionList.empty());
    r.figballs.emplace_back();
    for (const ball* b : o.balllist) r.figballs.back().push_back(bi.at(b));
    r.figlinks.emplace_back();
    for (const struct link* l : o.linklist) r.figlinks.back().push_back(li.at(l));
    r.figbox.push_back({o.xmin, o.xmax, o.ymin, o.ymax});
    r.groupnum.push_back(o.groupnum);
  }
  for (const auto& p : g.virtuallinkobjectslist) r.pairs.emplace_back(p->obj1->objnum, p->obj2->objnum);
  for (size_t k = 0; k < g.grouplist.size(); k++) {
    const group& gr = *g.grouplist[k];
    EXPECT_EQ(gr.number, static_cast<int>(k) + 1);
    r.groupfigs.emplace_back();
    for (const marionetobject* o : gr.objectlist) r.groupfigs.back().push_back(o->objnum);
    r.groupbox.push_back({gr.xmin, gr.xmax, gr.ymin, gr.ymax});
  }
  return r;
}

// A random world; chains are sometimes listed far end first and against the
// ball order, so that labels need many passes to spread.
void randomworld(game& g, std::mt19937& rng) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  std::uniform_real_distribution<double> coord(-2000, 2000);
  const int nb = 1 + pick(70);
  for (int i = 0; i < nb; i++) addball(g, coord(rng), coord(rng), 1.0, 0, 1 + pick(40));
  std::vector<ball*> balls;
  for (auto& b : g.balllist) balls.push_back(b.get());
  const int style = pick(4);
  if (style == 0 || style == 3) {
    // A long chain through the balls in a shuffled order, its links reversed.
    std::vector<ball*> order = balls;
    std::shuffle(order.begin(), order.end(), rng);
    const int len = 1 + pick(nb);
    for (int k = len - 1; k >= 1; k--) {
      if (pick(2))
        addlink(g, order[k], order[k - 1], 10);
      else
        addlink(g, order[k - 1], order[k], 10);
    }
  }
  const int extra = style == 1 ? pick(2 * nb) : pick(nb / 2 + 1);
  for (int k = 0; k < extra; k++) {
    ball* a = balls[pick(nb)];
    addlink(g, a, pick(8) == 0 ? a : balls[pick(nb)], 10);
  }
  if (style == 3) std::shuffle(g.linklist.begin(), g.linklist.end(), rng);
  const int nv = pick(25);
  for (int k = 0; k < nv; k++) {
    ball* a = balls[pick(nb)];
    ball* b = pick(5) == 0 ? a : balls[pick(nb)];
    addvirtual(g, a, b);
    if (pick(4) == 0) addvirtual(g, b, a);
  }
}

}  // namespace

TEST(Figures, FastGroupingMatchesTheLiteralOne) {
  headless::install();
  std::mt19937 rng(20240611);
  int multi = 0;
  for (int w = 0; w < 400; w++) {
    game g;
    randomworld(g, rng);
    const grouping expected = literalgrouping(g);
    g.defineobjects();
    const grouping got = readgrouping(g);
    ASSERT_TRUE(got == expected) << "world " << w;
    if (expected.groupfigs.size() > 1 && expected.figballs.size() > expected.groupfigs.size()) multi++;
  }
  EXPECT_GT(multi, 50);  // the worlds do exercise groups of several figures

  // Running again on the same world gives the same result.
  game g;
  randomworld(g, rng);
  g.defineobjects();
  const grouping first = readgrouping(g);
  g.defineobjects();
  EXPECT_TRUE(readgrouping(g) == first);
}

TEST(Figures, LinkedBallsShareAFigureAndLoneBallsAreSingle) {
  headless::install();
  game g;
  ball* lone = addball(g, 0, 0);
  ball* a = addball(g, 100, 0);
  ball* self = addball(g, 300, 0);
  ball* b = addball(g, 200, 0, 1.0, 0, 5);
  struct link* ab = addlink(g, b, a, 100);
  addlink(g, self, self, 0);
  addvirtual(g, a, lone);
  g.defineobjects();
  ASSERT_EQ(g.marionetobjectlist.size(), 3u);
  EXPECT_EQ(lone->ballobjectnum, 1);
  EXPECT_EQ(lone->single, 1);
  EXPECT_EQ(a->ballobjectnum, 2);
  EXPECT_EQ(b->ballobjectnum, 2);
  EXPECT_EQ(a->single, 0);
  EXPECT_EQ(self->ballobjectnum, 3);
  EXPECT_EQ(self->single, 1);  // a link to itself joins nothing
  const marionetobject& fig = *g.marionetobjectlist[1];
  EXPECT_EQ(fig.balllist, (std::vector<ball*>{a, b}));
  EXPECT_EQ(fig.linklist, (std::vector<struct link*>{ab}));
  EXPECT_EQ(fig.xmin, 85);
  EXPECT_EQ(fig.xmax, 205);
  EXPECT_EQ(fig.ymin, -15);
  EXPECT_EQ(fig.ymax, 15);
  // Virtual links join figures into groups, not figures.
  ASSERT_EQ(g.grouplist.size(), 2u);
  EXPECT_EQ(g.grouplist[0]->objectlist.size(), 2u);
  EXPECT_EQ(g.grouplist[0]->xmax, 205);
  EXPECT_EQ(g.grouplist[0]->xmin, -15);
}

TEST(Figures, PairsAreCountedOncePerTwoFigures) {
  headless::install();
  game g;
  ball* a = addball(g, 0, 0);
  ball* a2 = addball(g, 10, 0);
  ball* b = addball(g, 100, 0);
  addlink(g, a, a2, 10);
  addvirtual(g, a, b);
  addvirtual(g, b, a2);
  addvirtual(g, a2, a);  // within one figure: the figure paired with itself
  addvirtual(g, a, a2);
  g.defineobjects();
  ASSERT_EQ(g.virtuallinkobjectslist.size(), 2u);
  const auto& p = g.virtuallinkobjectslist;
  EXPECT_EQ(p[0]->obj1, g.marionetobjectlist[0].get());
  EXPECT_EQ(p[0]->obj2, g.marionetobjectlist[1].get());
  EXPECT_EQ(p[1]->obj1, g.marionetobjectlist[0].get());
  EXPECT_EQ(p[1]->obj2, g.marionetobjectlist[0].get());
  EXPECT_EQ(g.grouplist.size(), 1u);
}

namespace {

// Three figures: the player's ball linked to a partner (with a joint), a
// two-ball figure paired with a lone ball, and a far lone ball.
struct scene {
  game g;
  ball *player, *partner, *p2, *f1, *f2, *pairball, *far;
  scene() {
    player = addball(g, 0, 0);
    partner = addball(g, 40, 0);
    p2 = addball(g, 80, 0);
    f1 = addball(g, 500, 500);
    f2 = addball(g, 550, 500);
    pairball = addball(g, 3000, 500);
    far = addball(g, 9000, 9000);
    addlink(g, player, partner, 40);
    addtension(g, player, partner, p2, 180, 100);
    addlink(g, partner, p2, 40);
    addlink(g, f2, f1, 50);
    addvirtual(g, f1, pairball);
    g.defineobjects();
    g.firstball = player;
  }
  void view(double left, double right, double up, double down) {
    g.leftborder = left;
    g.rightborder = right;
    g.upborder = up;
    g.downborder = down;
  }
};

}  // namespace

TEST(OnScreen, WholeGroupsInViewAreChosen) {
  headless::install();
  scene s;
  s.view(400, 600, 400, 600);
  s.g.findonscreen(0);
  game& g = s.g;
  // The pair's far figure comes along with its group; the player first.
  EXPECT_EQ(g.osballlist, (std::vector<ball*>{s.player, s.f1, s.f2, s.pairball}));
  EXPECT_EQ(s.player->onscreen, 0);
  EXPECT_EQ(s.f1->onscreen, 1);
  EXPECT_EQ(s.pairball->onscreen, 1);
  EXPECT_EQ(s.far->onscreen, 0);
  ASSERT_EQ(g.osobjects.size(), 2u);
  EXPECT_EQ(g.osvirtuallinkobjects.size(), 1u);
  EXPECT_EQ(g.oslinklist, (std::vector<struct link*>{g.linklist[2].get()}));
  EXPECT_TRUE(g.ostensionlist.empty());

  // Boxes follow the balls each frame.
  s.f1->x = 5000;
  s.f2->x = 5000;
  s.pairball->x = 5000;
  g.findonscreen(0);
  EXPECT_EQ(g.osballlist, (std::vector<ball*>{s.player}));
  EXPECT_TRUE(g.osvirtuallinkobjects.empty());
  EXPECT_EQ(g.marionetobjectlist[1]->xmin, 4985);
}

TEST(OnScreen, PlayerBallAloneAtTheFrontOrInItsPlace) {
  headless::install();
  scene s;
  game& g = s.g;
  s.view(400, 600, 400, 600);
  g.findonscreen(0);
  ASSERT_FALSE(g.osballlist.empty());
  EXPECT_EQ(g.osballlist.front(), s.player);
  // Its links and joint are not simulated while its figure is out of view.
  for (const struct link* l : g.oslinklist) EXPECT_NE(l->ball1, s.player);
  EXPECT_TRUE(g.ostensionlist.empty());

  // Other flags leave the player's ball out.
  g.findonscreen(1);
  EXPECT_EQ(std::count(g.osballlist.begin(), g.osballlist.end(), s.player), 0);

  // In view, it appears once, in its figure's place, with its links and joint.
  s.view(-100, 600, -100, 600);
  g.findonscreen(0);
  EXPECT_EQ(std::count(g.osballlist.begin(), g.osballlist.end(), s.player), 1);
  EXPECT_EQ(g.osballlist[0], s.player);
  EXPECT_EQ(g.osballlist[1], s.partner);
  EXPECT_EQ(s.player->onscreen, 1);
  EXPECT_EQ(g.oslinklist.size(), 3u);
  EXPECT_EQ(g.ostensionlist.size(), 1u);

  // Without a player's ball nothing is forced in.
  g.firstball = nullptr;
  s.view(100000, 100001, 0, 1);
  g.findonscreen(0);
  EXPECT_TRUE(g.osballlist.empty());
}

TEST(OnScreen, TouchingTheViewEdgeIsNotInView) {
  headless::install();
  game g;
  ball* b = addball(g, 100, 100, 1.0, 0, 15);  // box 85..115 both ways
  g.defineobjects();
  auto inview = [&](double left, double right, double up, double down) {
    g.leftborder = left;
    g.rightborder = right;
    g.upborder = up;
    g.downborder = down;
    g.findonscreen(1);
    return g.osballlist.size() == 1 && b->onscreen == 1;
  };
  EXPECT_FALSE(inview(115, 200, 0, 200));
  EXPECT_TRUE(inview(114.999, 200, 0, 200));
  EXPECT_FALSE(inview(0, 85, 0, 200));
  EXPECT_TRUE(inview(0, 85.001, 0, 200));
  EXPECT_FALSE(inview(0, 200, 115, 200));
  EXPECT_TRUE(inview(0, 200, 114.999, 200));
  EXPECT_FALSE(inview(0, 200, 0, 85));
  EXPECT_TRUE(inview(0, 200, 0, 85.001));
}

TEST(OnScreen, OffScreenGroupStaysFrozenOverManyFrames) {
  headless::install();
  scene s;
  game& g = s.g;
  s.f1->xv = 3;
  s.f1->yv = -1;
  s.view(-100, 200, -100, 200);
  std::vector<std::array<double, 4>> before;
  for (ball* b : {s.f1, s.f2, s.pairball, s.far}) before.push_back({b->x, b->y, b->xv, b->yv});
  ball* const* data = nullptr;
  for (int i = 0; i < 300; i++) {
    g.findonscreen(0);
    if (i == 1) data = g.osballlist.data();
    g.handleslower();
    g.updatemass();
    g.stepworld();
    g.blockballsplay();
  }
  EXPECT_EQ(g.osballlist.data(), data);  // the per-frame lists keep their storage
  std::vector<std::array<double, 4>> after;
  for (ball* b : {s.f1, s.f2, s.pairball, s.far}) after.push_back({b->x, b->y, b->xv, b->yv});
  EXPECT_EQ(before, after);
  EXPECT_GT(s.player->y, 100);  // the player's figure fell out of view and on
}

TEST(Numbers, BallsAreNumberedInListOrder) {
  headless::install();
  game g;
  for (int i = 0; i < 5; i++) addball(g, 0, 0)->number = 40 - i;
  g.updateballnumbers();
  for (int i = 0; i < 5; i++) EXPECT_EQ(g.balllist[i]->number, i + 1);
}
