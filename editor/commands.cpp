// Edits of the document, and the history that undoes them: each entry keeps
// the document as it was before the edit, so undo restores it exactly.
#include <algorithm>
#include <set>

#include "editor/editor.h"

namespace edit {

bool history::undo(document& d) {
  if (undo_.empty()) return false;
  redo_.push_back(std::move(d));
  d = std::move(undo_.back());
  undo_.pop_back();
  return true;
}

bool history::redo(document& d) {
  if (redo_.empty()) return false;
  undo_.push_back(std::move(d));
  d = std::move(redo_.back());
  redo_.pop_back();
  return true;
}

document copyof(const document& d, const selection& s) {
  document out;
  std::vector<int> to(d.balls.size(), -1);
  for (int i : s.balls) {
    to[size_t(i)] = int(out.balls.size());
    out.balls.push_back(d.balls[size_t(i)]);
  }
  auto in = [&](int i) { return to[size_t(i)] >= 0; };
  for (const edlink& l : d.links)
    if (in(l.b1) && in(l.b2))
      out.links.push_back({to[size_t(l.b1)], to[size_t(l.b2)], l.distance, l.width, l.color, l.kind});
  for (const edtension& t : d.tensions)
    if (in(t.b1) && in(t.b2) && in(t.b3))
      out.tensions.push_back({to[size_t(t.b1)], to[size_t(t.b2)], to[size_t(t.b3)], t.angle, t.strength});
  for (const edvirtual& v : d.virtuals)
    if (in(v.b1) && in(v.b2)) out.virtuals.push_back({to[size_t(v.b1)], to[size_t(v.b2)]});
  return out;
}

std::vector<int> pastein(document& d, const document& piece, double dx, double dy) {
  const int base = int(d.balls.size());
  std::vector<int> added;
  for (edball b : piece.balls) {
    b.x += dx;
    b.y += dy;
    b.anchorx += dx;
    b.anchory += dy;
    added.push_back(int(d.balls.size()));
    d.balls.push_back(b);
  }
  for (edlink l : piece.links) {
    l.b1 += base;
    l.b2 += base;
    d.links.push_back(l);
  }
  for (edtension t : piece.tensions) {
    t.b1 += base;
    t.b2 += base;
    t.b3 += base;
    d.tensions.push_back(t);
  }
  for (edvirtual v : piece.virtuals) d.virtuals.push_back({v.b1 + base, v.b2 + base});
  return added;
}

void removeselected(document& d, const selection& s) {
  std::vector<int> to(d.balls.size());
  std::vector<edball> balls;
  for (size_t i = 0; i < d.balls.size(); i++) {
    to[i] = s.hasball(int(i)) ? -1 : int(balls.size());
    if (to[i] >= 0) balls.push_back(d.balls[i]);
  }
  auto kept = [&](int i) { return to[size_t(i)] >= 0; };
  std::vector<edlink> links;
  for (size_t i = 0; i < d.links.size(); i++) {
    edlink l = d.links[i];
    if (s.haslink(int(i)) || !kept(l.b1) || !kept(l.b2)) continue;
    l.b1 = to[size_t(l.b1)];
    l.b2 = to[size_t(l.b2)];
    links.push_back(l);
  }
  std::vector<edtension> tensions;
  for (edtension t : d.tensions) {
    if (!kept(t.b1) || !kept(t.b2) || !kept(t.b3)) continue;
    t.b1 = to[size_t(t.b1)];
    t.b2 = to[size_t(t.b2)];
    t.b3 = to[size_t(t.b3)];
    tensions.push_back(t);
  }
  std::vector<edvirtual> virtuals;
  for (edvirtual v : d.virtuals)
    if (kept(v.b1) && kept(v.b2)) virtuals.push_back({to[size_t(v.b1)], to[size_t(v.b2)]});
  d.balls = std::move(balls);
  d.links = std::move(links);
  d.tensions = std::move(tensions);
  d.virtuals = std::move(virtuals);
}

void moveselected(document& d, const selection& s, double dx, double dy) {
  for (int i : s.balls) {
    edball& b = d.balls[size_t(i)];
    b.x += dx;
    b.y += dy;
    // An anchored ball is pulled back to its anchor: the anchor goes along.
    b.anchorx += dx;
    b.anchory += dy;
  }
}

void makefirst(document& d, int ball) {
  if (ball <= 0 || ball >= int(d.balls.size())) return;
  // The balls keep their order except the one that moves to the front.
  std::vector<int> to(d.balls.size());
  for (int i = 0; i < int(d.balls.size()); i++) to[size_t(i)] = i == ball ? 0 : i < ball ? i + 1 : i;
  std::rotate(d.balls.begin(), d.balls.begin() + ball, d.balls.begin() + ball + 1);
  for (edlink& l : d.links) l.b1 = to[size_t(l.b1)], l.b2 = to[size_t(l.b2)];
  for (edtension& t : d.tensions) t.b1 = to[size_t(t.b1)], t.b2 = to[size_t(t.b2)], t.b3 = to[size_t(t.b3)];
  for (edvirtual& v : d.virtuals) v.b1 = to[size_t(v.b1)], v.b2 = to[size_t(v.b2)];
}

}  // namespace edit
