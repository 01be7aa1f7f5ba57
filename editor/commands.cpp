// Edits of the document, and the history that undoes them: each entry keeps
// the records an edit changed as they were and as they became, so undo and
// redo restore the document exactly, at the cost of what the edit touched.
#include <algorithm>

#include "editor/editor.h"
#include "editor/lists.h"

namespace edit {

namespace {

// Ball numbers after the removal of the sorted balls (-1: removed), or the
// other way round: the old number of each ball that stays.
std::vector<int> afterremoval(size_t n, const std::vector<int>& removed) {
  std::vector<int> to(n);
  size_t k = 0;
  int next = 0;
  for (size_t i = 0; i < n; i++) {
    if (k < removed.size() && size_t(removed[k]) == i) {
      to[i] = -1;
      k++;
    } else {
      to[i] = next++;
    }
  }
  return to;
}
std::vector<int> beforeremoval(size_t n, const std::vector<int>& removed) {
  std::vector<int> from;
  from.reserve(n);
  size_t k = 0;
  for (size_t i = 0; from.size() < n; i++) {
    if (k < removed.size() && size_t(removed[k]) == i)
      k++;
    else
      from.push_back(int(i));
  }
  return from;
}

template <class F>
void renumber(document& d, F to) {
  for (edlink& l : d.links) l.b1 = to(l.b1), l.b2 = to(l.b2);
  for (edtension& t : d.tensions) t.b1 = to(t.b1), t.b2 = to(t.b2), t.b3 = to(t.b3);
  for (edvirtual& v : d.virtuals) v.b1 = to(v.b1), v.b2 = to(v.b2);
}

template <class T>
void setrecords(std::vector<T>& v, const records<T>& r, bool forward) {
  for (size_t k = 0; k < r.at.size(); k++) v[size_t(r.at[k])] = forward ? r.now[k] : r.was[k];
}
template <class T>
void appendrecords(std::vector<T>& v, const records<T>& r, bool forward) {
  if (forward)
    v.insert(v.end(), r.now.begin(), r.now.end());
  else
    v.resize(v.size() - r.now.size());
}

// The records at which two lists of the same length differ.
template <class T>
records<T> changes(const std::vector<T>& before, const std::vector<T>& after) {
  records<T> r;
  for (size_t i = 0; i < before.size(); i++)
    if (!(before[i] == after[i])) {
      r.at.push_back(int(i));
      r.was.push_back(before[i]);
      r.now.push_back(after[i]);
    }
  return r;
}
template <class T>
bool grows(const std::vector<T>& before, const std::vector<T>& after) {
  return before.size() <= after.size() && std::equal(before.begin(), before.end(), after.begin());
}
template <class T>
records<T> tail(const std::vector<T>& before, const std::vector<T>& after) {
  records<T> r;
  r.now.assign(after.begin() + ptrdiff_t(before.size()), after.end());
  return r;
}

}  // namespace

void apply(document& d, const step& s, bool forward) {
  switch (s.kind) {
    case step::set:
      setrecords(d.balls, s.balls, forward);
      setrecords(d.links, s.links, forward);
      setrecords(d.tensions, s.tensions, forward);
      setrecords(d.virtuals, s.virtuals, forward);
      break;
    case step::append:
      appendrecords(d.balls, s.balls, forward);
      appendrecords(d.links, s.links, forward);
      appendrecords(d.tensions, s.tensions, forward);
      appendrecords(d.virtuals, s.virtuals, forward);
      break;
    case step::erase:
      if (forward) {
        // The removed records keep the numbers they had; those that stay are
        // renumbered after the removal.
        const std::vector<int> to = afterremoval(d.balls.size(), s.balls.at);
        eraseat(d.balls, s.balls.at);
        eraseat(d.links, s.links.at);
        eraseat(d.tensions, s.tensions.at);
        eraseat(d.virtuals, s.virtuals.at);
        renumber(d, [&](int i) { return to[size_t(i)]; });
      } else {
        const std::vector<int> from = beforeremoval(d.balls.size(), s.balls.at);
        renumber(d, [&](int i) { return from[size_t(i)]; });
        insertat(d.balls, s.balls.at, [&](size_t k) { return s.balls.was[k]; });
        insertat(d.links, s.links.at, [&](size_t k) { return s.links.was[k]; });
        insertat(d.tensions, s.tensions.at, [&](size_t k) { return s.tensions.was[k]; });
        insertat(d.virtuals, s.virtuals.at, [&](size_t k) { return s.virtuals.was[k]; });
      }
      break;
    case step::tofront:
      if (forward) {
        makefirst(d, s.first);
      } else if (s.first > 0 && s.first < int(d.balls.size())) {
        const int k = s.first;
        std::rotate(d.balls.begin(), d.balls.begin() + 1, d.balls.begin() + k + 1);
        renumber(d, [&](int i) { return i == 0 ? k : i <= k ? i - 1 : i; });
      }
      break;
    case step::whole:
      d = forward ? s.now : s.was;
      break;
  }
}

step difference(const document& before, const document& after) {
  step s;
  if (before.balls.size() == after.balls.size() && before.links.size() == after.links.size() &&
      before.tensions.size() == after.tensions.size() && before.virtuals.size() == after.virtuals.size()) {
    s.kind = step::set;
    s.balls = changes(before.balls, after.balls);
    s.links = changes(before.links, after.links);
    s.tensions = changes(before.tensions, after.tensions);
    s.virtuals = changes(before.virtuals, after.virtuals);
  } else if (grows(before.balls, after.balls) && grows(before.links, after.links) &&
             grows(before.tensions, after.tensions) && grows(before.virtuals, after.virtuals)) {
    s.kind = step::append;
    s.balls = tail(before.balls, after.balls);
    s.links = tail(before.links, after.links);
    s.tensions = tail(before.tensions, after.tensions);
    s.virtuals = tail(before.virtuals, after.virtuals);
  } else {
    s.kind = step::whole;
    s.was = before;
    s.now = after;
  }
  return s;
}

step erasure(const document& d, const selection& sel) {
  step s;
  s.kind = step::erase;
  std::vector<char> gone(d.balls.size(), 0);
  for (int i : sel.balls)
    if (i >= 0 && i < int(d.balls.size()) && !gone[size_t(i)]) {
      gone[size_t(i)] = 1;
      s.balls.at.push_back(i);
      s.balls.was.push_back(d.balls[size_t(i)]);
    }
  auto out = [&](int i) { return gone[size_t(i)] != 0; };
  for (size_t i = 0; i < d.links.size(); i++) {
    const edlink& l = d.links[i];
    if (sel.haslink(int(i)) || out(l.b1) || out(l.b2)) {
      s.links.at.push_back(int(i));
      s.links.was.push_back(l);
    }
  }
  for (size_t i = 0; i < d.tensions.size(); i++) {
    const edtension& t = d.tensions[i];
    if (out(t.b1) || out(t.b2) || out(t.b3)) {
      s.tensions.at.push_back(int(i));
      s.tensions.was.push_back(t);
    }
  }
  for (size_t i = 0; i < d.virtuals.size(); i++) {
    const edvirtual& v = d.virtuals[i];
    if (out(v.b1) || out(v.b2)) {
      s.virtuals.at.push_back(int(i));
      s.virtuals.was.push_back(v);
    }
  }
  return s;
}

const step* history::undo() {
  if (undo_.empty()) return nullptr;
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  return &redo_.back();
}

const step* history::redo() {
  if (redo_.empty()) return nullptr;
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  return &undo_.back();
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

void removeselected(document& d, const selection& s) { apply(d, erasure(d, s), true); }

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
