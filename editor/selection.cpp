// What is selected, and picking through a grid of cells so that a click
// looks at the few items near the pointer, not at every item of the level.
#include <algorithm>
#include <cmath>

#include "editor/editor.h"

namespace edit {

namespace {
void toggle(std::vector<int>& v, int i) {
  auto it = std::lower_bound(v.begin(), v.end(), i);
  if (it != v.end() && *it == i)
    v.erase(it);
  else
    v.insert(it, i);
}
int cellof(double v, double size) {
  const double c = std::floor(v / size);
  return c < -1e9 ? -1000000000 : c > 1e9 ? 1000000000 : int(c);
}
}  // namespace

bool selection::hasball(int i) const { return std::binary_search(balls.begin(), balls.end(), i); }
bool selection::haslink(int i) const { return std::binary_search(links.begin(), links.end(), i); }
void selection::toggleball(int i) { toggle(balls, i); }
void selection::togglelink(int i) { toggle(links, i); }

void spatialindex::build(const document& d) {
  balls_.clear();
  links_.clear();
  entries_ = extra_ = 0;
  for (int i = 0; i < int(d.balls.size()); i++) addball(d, i);
  for (int i = 0; i < int(d.links.size()); i++) addlink(d, i);
  entries_ = extra_;
  extra_ = 0;
}

void spatialindex::addball(const document& d, int i) {
  const edball& b = d.balls[size_t(i)];
  if (!std::isfinite(b.x) || !std::isfinite(b.y)) return;
  std::vector<int>& cell = balls_[key(cellof(b.x, kCell), cellof(b.y, kCell))];
  // A ball moved within its cell is there already.
  if (std::find(cell.begin(), cell.end(), i) != cell.end()) return;
  cell.push_back(i);
  extra_++;
}

void spatialindex::addlink(const document& d, int i) {
  const edball& a = d.balls[size_t(d.links[size_t(i)].b1)];
  const edball& b = d.balls[size_t(d.links[size_t(i)].b2)];
  if (!std::isfinite(a.x + a.y + b.x + b.y)) return;
  const int x1 = cellof(std::min(a.x, b.x), kCell), x2 = cellof(std::max(a.x, b.x), kCell);
  const int y1 = cellof(std::min(a.y, b.y), kCell), y2 = cellof(std::max(a.y, b.y), kCell);
  // A very long link is kept out of the cells rather than filling millions.
  if (double(x2 - x1 + 1) * (y2 - y1 + 1) > 4096) return;
  for (int cx = x1; cx <= x2; cx++)
    for (int cy = y1; cy <= y2; cy++) {
      std::vector<int>& cell = links_[key(cx, cy)];
      if (std::find(cell.begin(), cell.end(), i) != cell.end()) continue;
      cell.push_back(i);
      extra_++;
    }
}

int spatialindex::ballat(const document& d, double x, double y) const {
  int best = -1;
  double bestd = 0;
  const int cx = cellof(x, kCell), cy = cellof(y, kCell);
  // Balls up to a cell away: radii beyond a cell are rare and picked by their centre's cell.
  for (int i = -2; i <= 2; i++)
    for (int j = -2; j <= 2; j++) {
      auto it = balls_.find(key(cx + i, cy + j));
      if (it == balls_.end()) continue;
      for (int n : it->second) {
        const edball& b = d.balls[size_t(n)];
        const double dist = std::hypot(b.x - x, b.y - y);
        // Of balls as near, the later one, which is drawn over the other.
        if (dist <= std::max(b.r, 4.0) && (best < 0 || dist < bestd || (dist == bestd && n > best))) {
          best = n;
          bestd = dist;
        }
      }
    }
  return best;
}

int spatialindex::linkat(const document& d, double x, double y) const {
  auto it = links_.find(key(cellof(x, kCell), cellof(y, kCell)));
  if (it == links_.end()) return -1;
  int best = -1;
  double bestd = 0;
  for (int n : it->second) {
    const edlink& l = d.links[size_t(n)];
    const edball& a = d.balls[size_t(l.b1)];
    const edball& b = d.balls[size_t(l.b2)];
    const double dist = distancetoline(x, y, a.x, a.y, b.x, b.y);
    if (dist > std::max(l.width / 2, 3.0)) continue;
    const double t = ((x - a.x) * (b.x - a.x) + (y - a.y) * (b.y - a.y)) /
                     std::max(1e-9, (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
    if (t < 0 || t > 1) continue;
    // The nearest; of links as near, the later one, drawn over the other.
    if (best < 0 || dist < bestd || (dist == bestd && n > best)) {
      best = n;
      bestd = dist;
    }
  }
  return best;
}

std::vector<int> spatialindex::ballsin(const document& d, double x1, double y1, double x2, double y2) const {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  std::vector<int> out;
  const int a = cellof(x1, kCell), b = cellof(x2, kCell), c = cellof(y1, kCell), e = cellof(y2, kCell);
  if (double(b - a + 1) * (e - c + 1) > 1e6) {
    for (int i = 0; i < int(d.balls.size()); i++) {
      const edball& q = d.balls[size_t(i)];
      if (q.x >= x1 && q.x <= x2 && q.y >= y1 && q.y <= y2) out.push_back(i);
    }
    return out;
  }
  for (int i = a; i <= b; i++)
    for (int j = c; j <= e; j++) {
      auto it = balls_.find(key(i, j));
      if (it == balls_.end()) continue;
      for (int n : it->second) {
        const edball& q = d.balls[size_t(n)];
        if (q.x >= x1 && q.x <= x2 && q.y >= y1 && q.y <= y2) out.push_back(n);
      }
    }
  // A ball that moved may be entered in more than one cell.
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

}  // namespace edit
