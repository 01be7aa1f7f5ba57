// The checker's findings, kept per record and made again only for the records
// an edit touched. A record's findings depend on the record alone, a link's
// also on where its two balls lie, the player's warnings on the first ball,
// and the whole level's on whether there are balls and a goal; so the shared
// checker run on a small level of the touched records, the balls they name,
// the first ball and one goal finds for them what it finds in the whole
// document.
#include <algorithm>

#include "editor/editor.h"
#include "editor/lists.h"

namespace edit {

void livecheck::mark(std::vector<slot>& v, int i) {
  if (i < 0 || i >= int(v.size()) || v[size_t(i)].marked) return;
  v[size_t(i)].marked = true;
  count_++;
}

void livecheck::markall(const document& d) {
  balls_.assign(d.balls.size(), {});
  links_.assign(d.links.size(), {});
  tensions_.assign(d.tensions.size(), {});
  virtuals_.assign(d.virtuals.size(), {});
  count_ = 0;
  for (auto* v : {&balls_, &links_, &tensions_, &virtuals_})
    for (slot& s : *v) s.marked = true, count_++;
  wholemarked_ = true;
}

void livecheck::reset(const document& d) {
  markall(d);
  work(d, ~size_t(0));
}

void livecheck::follow(const document& d, const step& s, bool forward) {
  // Marks of removed records go with them.
  auto drop = [&](std::vector<slot>& v, const std::vector<int>& at) {
    for (int i : at)
      if (v[size_t(i)].marked) count_--;
    eraseat(v, at);
  };
  auto markeach = [&](std::vector<slot>& v, const std::vector<int>& at) {
    for (int i : at) mark(v, i);
  };
  switch (s.kind) {
    case step::set:
      markeach(balls_, s.balls.at);
      markeach(links_, s.links.at);
      markeach(tensions_, s.tensions.at);
      markeach(virtuals_, s.virtuals.at);
      break;
    case step::append: {
      auto grow = [&](std::vector<slot>& v, size_t n) {
        while (v.size() < n) {
          v.push_back({{}, true});
          count_++;
        }
        while (v.size() > n) {
          if (v.back().marked) count_--;
          v.pop_back();
        }
      };
      grow(balls_, d.balls.size());
      grow(links_, d.links.size());
      grow(tensions_, d.tensions.size());
      grow(virtuals_, d.virtuals.size());
      break;
    }
    case step::erase:
      if (forward) {
        drop(balls_, s.balls.at);
        drop(links_, s.links.at);
        drop(tensions_, s.tensions.at);
        drop(virtuals_, s.virtuals.at);
      } else {
        // Renumbering alone changes no finding: the records put back are new.
        insertat(balls_, s.balls.at, [](size_t) { return slot{}; });
        insertat(links_, s.links.at, [](size_t) { return slot{}; });
        insertat(tensions_, s.tensions.at, [](size_t) { return slot{}; });
        insertat(virtuals_, s.virtuals.at, [](size_t) { return slot{}; });
        markeach(balls_, s.balls.at);
        markeach(links_, s.links.at);
        markeach(tensions_, s.tensions.at);
        markeach(virtuals_, s.virtuals.at);
      }
      break;
    case step::tofront:
      if (s.first > 0 && s.first < int(balls_.size())) {
        const auto b = balls_.begin();
        if (forward)
          std::rotate(b, b + s.first, b + s.first + 1);
        else
          std::rotate(b, b + 1, b + s.first + 1);
        markball(s.first);
        markball(1);
      }
      break;
    case step::whole:
      markall(d);
      break;
  }
  // The first ball and the whole level are looked at in every slice anyway.
  markball(0);
  wholemarked_ = true;
  gathered_ = false;
}

bool livecheck::work(const document& d, size_t budget) {
  if (count_ == 0 && !wholemarked_) return true;
  // The small level: the first ball, the marked records, the balls they
  // name, and a goal if the document has one.
  document small;
  std::vector<int> ballfrom, linkfrom, tensionfrom, virtualfrom;
  std::unordered_map<int, int> ballto;
  std::vector<char> checked;  // for each ball of the small level: its findings are taken
  auto take = [&](int i, bool mine) {
    auto [it, fresh] = ballto.try_emplace(i, int(small.balls.size()));
    if (fresh) {
      small.balls.push_back(d.balls[size_t(i)]);
      ballfrom.push_back(i);
      checked.push_back(0);
    }
    if (mine) checked[size_t(it->second)] = 1;
    return it->second;
  };
  size_t left = budget;
  if (!d.balls.empty()) take(0, true);
  for (size_t i = 0; i < balls_.size() && left > 0; i++)
    if (balls_[i].marked) {
      take(int(i), true);
      left--;
    }
  bool goal = false;
  for (size_t i = 0; i < links_.size() && left > 0; i++)
    if (links_[i].marked) {
      edlink l = d.links[i];
      goal = goal || l.kind == "stop";
      l.b1 = take(l.b1, false);
      l.b2 = take(l.b2, false);
      small.links.push_back(l);
      linkfrom.push_back(int(i));
      left--;
    }
  for (size_t i = 0; i < tensions_.size() && left > 0; i++)
    if (tensions_[i].marked) {
      edtension t = d.tensions[i];
      t.b1 = take(t.b1, false);
      t.b2 = take(t.b2, false);
      t.b3 = take(t.b3, false);
      small.tensions.push_back(t);
      tensionfrom.push_back(int(i));
      left--;
    }
  for (size_t i = 0; i < virtuals_.size() && left > 0; i++)
    if (virtuals_[i].marked) {
      edvirtual v = d.virtuals[i];
      v.b1 = take(v.b1, false);
      v.b2 = take(v.b2, false);
      small.virtuals.push_back(v);
      virtualfrom.push_back(int(i));
      left--;
    }
  if (!goal) {
    auto it = std::find_if(d.links.begin(), d.links.end(), [](const edlink& l) { return l.kind == "stop"; });
    if (it != d.links.end()) {
      edlink l = *it;
      l.b1 = take(l.b1, false);
      l.b2 = take(l.b2, false);
      small.links.push_back(l);
      linkfrom.push_back(-1);  // its own findings are not taken from here
    }
  }
  togame(small, scratch_);
  const levelcheck c = checklevel(scratch_.marionetlines());
  scratch_.forgetworld();

  // The findings of the records looked at are replaced by what was found now.
  for (size_t k = 0; k < ballfrom.size(); k++)
    if (checked[k]) balls_[size_t(ballfrom[k])].findings.clear();
  auto clear = [&](std::vector<slot>& v, const std::vector<int>& from) {
    for (int i : from)
      if (i >= 0) v[size_t(i)].findings.clear();
  };
  clear(links_, linkfrom);
  clear(tensions_, tensionfrom);
  clear(virtuals_, virtualfrom);
  whole_.clear();
  for (levelfinding f : c.findings) {
    const int k = f.index;
    f.line = 0;  // the document has no lines of its own until it is saved
    slot* s = nullptr;
    if (f.kind == 'b' && k >= 0 && k < int(ballfrom.size()) && checked[size_t(k)])
      s = &balls_[size_t(f.index = ballfrom[size_t(k)])];
    else if (f.kind == 'l' && k >= 0 && k < int(linkfrom.size()) && linkfrom[size_t(k)] >= 0)
      s = &links_[size_t(f.index = linkfrom[size_t(k)])];
    else if (f.kind == 't' && k >= 0 && k < int(tensionfrom.size()))
      s = &tensions_[size_t(f.index = tensionfrom[size_t(k)])];
    else if (f.kind == 'v' && k >= 0 && k < int(virtualfrom.size()))
      s = &virtuals_[size_t(f.index = virtualfrom[size_t(k)])];
    if (s)
      s->findings.push_back(std::move(f));
    else if (f.kind == 0)
      whole_.push_back(std::move(f));
  }
  auto unmark = [&](slot& s) {
    if (s.marked) s.marked = false, count_--;
  };
  for (size_t k = 0; k < ballfrom.size(); k++)
    if (checked[k]) unmark(balls_[size_t(ballfrom[k])]);
  for (int i : linkfrom)
    if (i >= 0) unmark(links_[size_t(i)]);
  for (int i : tensionfrom) unmark(tensions_[size_t(i)]);
  for (int i : virtualfrom) unmark(virtuals_[size_t(i)]);
  wholemarked_ = false;
  gathered_ = false;
  return count_ == 0;
}

void livecheck::gather() const {
  // In the order the checker reports them for a file: balls, links, tensions,
  // virtual links, then the whole level.
  found_ = {};
  for (auto* v : {&balls_, &links_, &tensions_, &virtuals_})
    for (size_t i = 0; i < v->size(); i++)
      for (const levelfinding& f : (*v)[i].findings) {
        // Named by the place the record has now: it may have moved since.
        found_.findings.push_back(f);
        found_.findings.back().index = int(i);
        (f.error ? found_.errors : found_.warnings)++;
      }
  for (const levelfinding& f : whole_) {
    found_.findings.push_back(f);
    (f.error ? found_.errors : found_.warnings)++;
  }
  found_.nballs = int(balls_.size());
  found_.records = int(balls_.size() + links_.size() + tensions_.size() + virtuals_.size());
  gathered_ = true;
}

}  // namespace edit
