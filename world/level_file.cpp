// Level files: one value per line, records introduced by marker lines, balls
// referred to by the number written in their own record.
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "world/game.h"

namespace {

// A marker line, as written or with one trailing space. Compared in place:
// this runs for every line of a level.
bool ismarker(const std::string& line, std::string_view marker) {
  const std::string_view l = line;
  return l.substr(0, marker.size()) == marker &&
         (l.size() == marker.size() || (l.size() == marker.size() + 1 && l.back() == ' '));
}

bool isballkind(const std::string& k) { return k == "normal" || k == "background" || k == "damaging"; }

bool islinkkind(const std::string& k) { return isballkind(k) || k == "stop" || k == "virtual"; }

// Reads the value lines of one record; a record cut short reads 0 or "".
class recordreader {
 public:
  explicit recordreader(stream& s) : s_(s) {}
  int integer() { return ToInt(s_.ReadLine(line_)); }
  double real() { return ToDouble(s_.ReadLine(line_)); }
  std::string text() { return s_.ReadLine(); }
  // The next line, in room that every line shares.
  const std::string& line() { return s_.ReadLine(line_); }

 private:
  stream& s_;
  std::string line_;
};

// Balls by number. Files number their balls 1, 2, 3 ..., so numbers up to a
// few million are kept in a plain table, grown as they come; any other number
// goes to a map.
class ballnumbers {
 public:
  void set(int n, ball* b) {
    if (n >= 0 && n < kTable) {
      const auto i = static_cast<size_t>(n);
      if (i >= table_.size()) table_.resize(std::max(i + 1, table_.size() * 2), nullptr);
      table_[i] = b;
    } else {
      others_[n] = b;
    }
  }
  ball* get(int n) const {
    if (n >= 0 && n < kTable) return static_cast<size_t>(n) < table_.size() ? table_[static_cast<size_t>(n)] : nullptr;
    auto it = others_.find(n);
    return it == others_.end() ? nullptr : it->second;
  }

 private:
  static constexpr int kTable = 1 << 22;
  std::vector<ball*> table_;
  std::unordered_map<int, ball*> others_;
};

std::string real(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%#.17lg", v);
  return buf;
}

}  // namespace

void game::forgetworld() {
  // The solver's layout names records of the world as it was.
  dropsolver();
  // The records go away with the lists: nothing may keep pointing at them.
  osballlist.clear();
  oslinklist.clear();
  ostensionlist.clear();
  osobjects.clear();
  osvirtuallinkobjects.clear();
  drawlist.clear();
  virtuallinkobjectslist.clear();
  grouplist.clear();
  marionetobjectlist.clear();
  firstball = nullptr;
  grabbedball = nullptr;
  virtuallinklist.clear();
  balllist.clear();
  linklist.clear();
  TensionList.clear();
}

void game::openmarionet(int flag, const std::string& path) {
  updateballnumbers();
  // Read-only access is enough, so installed level files load too.
  stream s = OpenTextRead(path);
  if (s) {
    openedfilename = path;
    // The solver's layout names records of the world as it was.
    dropsolver();
    if (flag == 1) forgetworld();
    const int base = static_cast<int>(balllist.size());

    // Ball numbers seen so far; a later ball with the same number wins.
    ballnumbers numbered;
    for (const auto& b : balllist) numbered.set(b->number, b.get());
    auto find = [&](int n) -> ball* { return numbered.get(base + n); };

    if (s.ReadLine() == "2") {
      recordreader in(s);
      while (!s.Eof()) {
        const std::string& line = in.line();
        if (ismarker(line, "New Ball")) {
          auto b = std::make_unique<ball>();
          b->number = base + in.integer();
          b->m = in.real();
          b->x = in.real();
          b->y = in.real();
          b->r = in.real();
          b->anchored = in.integer();
          b->anchorx = in.real();
          b->anchory = in.real();
          b->balltension = in.real();
          for (int& c : b->color) c = in.integer();
          b->kind = in.text();
          b->rolling = in.integer();
          if (!isballkind(b->kind)) b->kind = "normal";
          b->oldx = b->x;
          b->oldy = b->y;
          b->gamoz = this;
          numbered.set(b->number, b.get());
          balllist.push_back(std::move(b));
        } else if (ismarker(line, "New Link")) {
          auto l = std::make_unique<struct link>();
          l->ball1 = find(in.integer());
          l->ball2 = find(in.integer());
          l->distance = in.real();
          l->width = in.real();
          for (int& c : l->color) c = in.integer();
          l->kind = in.text();
          if (!islinkkind(l->kind)) l->kind = "normal";
          l->gamoz = this;
          // A link to a ball the file never defines has nothing to hold.
          if (l->ball1 != nullptr && l->ball2 != nullptr) linklist.push_back(std::move(l));
        } else if (ismarker(line, "New Virtual Link")) {
          auto l = std::make_unique<struct link>();
          l->ball1 = find(in.integer());
          l->ball2 = find(in.integer());
          l->kind = "virtual";
          l->gamoz = this;
          if (l->ball1 != nullptr && l->ball2 != nullptr) virtuallinklist.push_back(std::move(l));
        } else if (ismarker(line, "New Tension")) {
          auto t = std::make_unique<tension>();
          t->ball1 = find(in.integer());
          t->ball2 = find(in.integer());
          t->ball3 = find(in.integer());
          t->angle = in.real();
          t->strength = in.real();
          if (t->ball1 != nullptr && t->ball2 != nullptr && t->ball3 != nullptr) {
            TensionList.push_back(std::move(t));
          }
        }
      }
    }
    s.Close();
  }
  defineobjects();
  FlushKeyboard();
  updateballnumbers();
}

bool game::savemarionet(const std::string& path) { return WriteTextFileSafely(path, marionetlines()); }

std::vector<std::string> game::marionetlines() {
  updateballnumbers();
  std::vector<std::string> lines;
  auto integer = [&](int v) { lines.push_back(std::to_string(v)); };
  auto number = [&](double v) { lines.push_back(real(v)); };
  auto colour = [&](const std::array<int, 3>& c) {
    for (int v : c) integer(v);
  };

  lines.push_back("2");
  for (const auto& b : balllist) {
    lines.push_back("New Ball");
    integer(b->number);
    number(b->m);
    number(b->x);
    number(b->y);
    number(b->r);
    integer(b->anchored);
    number(b->anchorx);
    number(b->anchory);
    number(b->balltension);
    colour(b->color);
    lines.push_back(b->kind);
    integer(b->rolling);
    lines.push_back("");
    lines.push_back("");
  }
  for (const auto& l : linklist) {
    lines.push_back("New Link");
    integer(l->ball1->number);
    integer(l->ball2->number);
    number(l->distance);
    number(l->width);
    colour(l->color);
    lines.push_back(l->kind);
    lines.push_back("");
  }
  for (const auto& t : TensionList) {
    lines.push_back("New Tension");
    integer(t->ball1->number);
    integer(t->ball2->number);
    integer(t->ball3->number);
    number(t->angle);
    number(t->strength);
    lines.push_back("");
  }
  for (const auto& l : virtuallinklist) {
    lines.push_back("New Virtual Link");
    integer(l->ball1->number);
    integer(l->ball2->number);
  }
  return lines;
}
