// Figures, figure pairs and groups, and the per-frame choice of what is in
// view. Only the groups in view (and the player's ball) are simulated.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <unordered_set>

#include "world/game.h"

namespace {

constexpr double kEmptyMin = 999999.0;
constexpr double kEmptyMax = -999999.0;
constexpr double kDepthLimit = 133333.0;

// Disjoint sets over 0..n-1 with path halving and union by size.
class disjointsets {
 public:
  explicit disjointsets(size_t n) : parent_(n), size_(n, 1) { std::iota(parent_.begin(), parent_.end(), 0); }
  size_t find(size_t i) {
    while (parent_[i] != i) {
      parent_[i] = parent_[parent_[i]];
      i = parent_[i];
    }
    return i;
  }
  void join(size_t a, size_t b) {
    a = find(a);
    b = find(b);
    if (a == b) return;
    if (size_[a] < size_[b]) std::swap(a, b);
    parent_[b] = a;
    size_[a] += size_[b];
  }

 private:
  std::vector<size_t> parent_;
  std::vector<size_t> size_;
};

// Numbers the sets 1, 2, 3 ... in the order of their first member.
std::vector<int> numbersets(disjointsets& sets, size_t n, int& count) {
  std::vector<int> byroot(n, 0);
  std::vector<int> label(n);
  count = 0;
  for (size_t i = 0; i < n; i++) {
    int& l = byroot[sets.find(i)];
    if (l == 0) l = ++count;
    label[i] = l;
  }
  return label;
}

template <typename box>
void emptybox(box& o) {
  o.xmin = kEmptyMin;
  o.xmax = kEmptyMax;
  o.ymin = kEmptyMin;
  o.ymax = kEmptyMax;
}

template <typename box>
void growbox(box& o, const ball& b) {
  if (b.x - b.r < o.xmin) o.xmin = b.x - b.r;
  if (b.x + b.r > o.xmax) o.xmax = b.x + b.r;
  if (b.y - b.r < o.ymin) o.ymin = b.y - b.r;
  if (b.y + b.r > o.ymax) o.ymax = b.y + b.r;
}

void growbox(group& gr, const marionetobject& o) {
  if (o.xmin < gr.xmin) gr.xmin = o.xmin;
  if (o.xmax > gr.xmax) gr.xmax = o.xmax;
  if (o.ymin < gr.ymin) gr.ymin = o.ymin;
  if (o.ymax > gr.ymax) gr.ymax = o.ymax;
}

// Grown in a local box: the figure's bounds and the balls' coordinates are
// all doubles, so growing the figure in place would store and reload its
// bounds at every ball.
void figurebox(marionetobject& o) {
  struct {
    double xmin, xmax, ymin, ymax;
  } box;
  emptybox(box);
  for (const ball* b : o.balllist) growbox(box, *b);
  o.xmin = box.xmin;
  o.xmax = box.xmax;
  o.ymin = box.ymin;
  o.ymax = box.ymax;
}

void groupbox(group& gr) {
  emptybox(gr);
  for (const marionetobject* o : gr.objectlist) growbox(gr, *o);
}

}  // namespace

// Figures are the connected components of the balls over the links, numbered
// in the order of their first ball; groups are the connected components of the
// figures over the pairs, numbered in the order of their first figure.
void game::defineobjects() {
  const size_t nballs = balllist.size();
  // Each ball's index in balllist, kept in ballobjectnum until it is numbered.
  for (size_t i = 0; i < nballs; i++) {
    balllist[i]->ballobjectnum = static_cast<int>(i);
    balllist[i]->single = 0;
  }
  auto indexof = [&](const ball* b) -> size_t {
    if (b == nullptr) return nballs;
    const size_t i = static_cast<size_t>(b->ballobjectnum);
    return i < nballs && balllist[i].get() == b ? i : nballs;
  };
  disjointsets balls(nballs);
  for (const auto& l : linklist) {
    const size_t i = indexof(l->ball1);
    const size_t j = indexof(l->ball2);
    if (i < nballs && j < nballs) balls.join(i, j);
  }
  int n = 0;
  const std::vector<int> ballnum = numbersets(balls, nballs, n);

  osobjects.clear();
  osvirtuallinkobjects.clear();
  marionetobjectlist.clear();
  for (int j = 1; j <= n; j++) {
    auto o = std::make_unique<marionetobject>();
    o->objnum = j;
    emptybox(*o);
    marionetobjectlist.push_back(std::move(o));
  }
  for (size_t i = 0; i < nballs; i++) {
    ball& b = *balllist[i];
    marionetobject& o = *marionetobjectlist[ballnum[i] - 1];
    b.ballobjectnum = ballnum[i];
    b.ballmarionetobject = &o;
    o.balllist.push_back(&b);
    growbox(o, b);
  }
  for (const auto& o : marionetobjectlist) {
    if (o->balllist.size() == 1) o->balllist.front()->single = 1;
  }
  for (const auto& l : linklist) {
    if (l->ball1 != nullptr && l->ball1->ballmarionetobject != nullptr) {
      l->ball1->ballmarionetobject->linklist.push_back(l.get());
    }
  }

  // One pair per two figures, whatever the direction of the virtual links.
  virtuallinkobjectslist.clear();
  std::unordered_set<uint64_t> seen;
  disjointsets figures(marionetobjectlist.size());
  for (const auto& l : virtuallinklist) {
    if (l->ball1 == nullptr || l->ball2 == nullptr) continue;
    marionetobject* o1 = l->ball1->ballmarionetobject;
    marionetobject* o2 = l->ball2->ballmarionetobject;
    if (o1 == nullptr || o2 == nullptr) continue;
    const uint64_t lo = std::min(o1->objnum, o2->objnum);
    const uint64_t hi = std::max(o1->objnum, o2->objnum);
    if (!seen.insert(lo << 32 | hi).second) continue;
    auto p = std::make_unique<virtuallinkobject>();
    p->obj1 = o1;
    p->obj2 = o2;
    virtuallinkobjectslist.push_back(std::move(p));
    figures.join(o1->objnum - 1, o2->objnum - 1);
  }

  int g = 0;
  const std::vector<int> groupnum = numbersets(figures, marionetobjectlist.size(), g);
  grouplist.clear();
  for (int k = 1; k <= g; k++) {
    auto gr = std::make_unique<group>();
    gr->number = k;
    emptybox(*gr);
    grouplist.push_back(std::move(gr));
  }
  for (size_t i = 0; i < marionetobjectlist.size(); i++) {
    marionetobject& o = *marionetobjectlist[i];
    group& gr = *grouplist[groupnum[i] - 1];
    o.groupnum = groupnum[i];
    gr.objectlist.push_back(&o);
    growbox(gr, o);
  }

  // The per-frame lists can hold the whole world (and the player's ball once
  // more), so that selecting what is in view never allocates during play.
  osballlist.reserve(nballs + 1);
  oslinklist.reserve(linklist.size());
  ostensionlist.reserve(TensionList.size());
  osobjects.reserve(marionetobjectlist.size());
  osvirtuallinkobjects.reserve(virtuallinkobjectslist.size());
}

void game::findonscreen(int flag) {
  osballlist.clear();
  ostensionlist.clear();
  oslinklist.clear();
  osobjects.clear();
  osvirtuallinkobjects.clear();
  for (const auto& b : balllist) b->onscreen = 0;

  for (const auto& o : marionetobjectlist) figurebox(*o);
  for (const auto& gr : grouplist) groupbox(*gr);

  // A group merely touching the edge of the view stays out.
  auto inview = [this](const group& gr) {
    return gr.xmax > leftborder && gr.xmin < rightborder && gr.ymax > upborder && gr.ymin < downborder;
  };
  for (const auto& gr : grouplist) {
    if (inview(*gr)) osobjects.insert(osobjects.end(), gr->objectlist.begin(), gr->objectlist.end());
  }
  // Both figures of a pair share a group, so obj1 decides.
  for (const auto& p : virtuallinkobjectslist) {
    const int k = p->obj1->groupnum;
    if (k >= 1 && k <= static_cast<int>(grouplist.size()) && inview(*grouplist[k - 1])) {
      osvirtuallinkobjects.push_back(p.get());
    }
  }
  for (marionetobject* o : osobjects) {
    for (ball* b : o->balllist) {
      b->onscreen = 1;
      osballlist.push_back(b);
    }
  }
  // The player's ball is always simulated, alone if its figure is out of view.
  if (flag == 0 && firstball != nullptr && firstball->onscreen == 0) {
    osballlist.insert(osballlist.begin(), firstball);
  }
  // Each link and joint looks at its first ball's record: ask for those some
  // steps ahead, and for the line of the link or joint that names it further
  // ahead still. The walk is quick, so ahead is well ahead.
  constexpr size_t kAhead = 16;
  for (size_t i = 0; i < linklist.size(); i++) {
    if (i + 2 * kAhead < linklist.size()) __builtin_prefetch(&linklist[i + 2 * kAhead]->ball1);
    if (i + kAhead < linklist.size()) __builtin_prefetch(&linklist[i + kAhead]->ball1->onscreen);
    if (linklist[i]->ball1->onscreen == 1) oslinklist.push_back(linklist[i].get());
  }
  for (size_t i = 0; i < TensionList.size(); i++) {
    if (i + 2 * kAhead < TensionList.size()) __builtin_prefetch(TensionList[i + 2 * kAhead].get());
    if (i + kAhead < TensionList.size()) __builtin_prefetch(&TensionList[i + kAhead]->ball1->onscreen);
    if (TensionList[i]->ball1->onscreen == 1) ostensionlist.push_back(TensionList[i].get());
  }
}

void game::updateballnumbers() {
  int n = 0;
  for (const auto& b : balllist) b->number = ++n;
}

void game::blockballsplay() {
  for (const auto& b : balllist) {
    if (b->y > kDepthLimit) {
      b->y = kDepthLimit;
      b->yv = 0;
    }
  }
}
