// The level checker, shared by tumbo-check and the level editor.
#include "world/level_check.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

struct checker {
  std::vector<std::string> lines;
  levelcheck out;
  char rkind = 0;  // the record being read, as the reader will keep it
  int index = -1;
  int counts[4] = {0, 0, 0, 0};  // balls, links, tensions, virtual links kept so far
  size_t at = 0;                 // index of the next line to read

  struct ballinfo {
    double x, y;
    int line;
  };
  std::map<int, ballinfo> balls;  // by number as read
  int nballs = 0, stops = 0, records = 0;

  void report(int line, bool error, const std::string& what) {
    out.findings.push_back({line, error, what, rkind, index});
    (error ? out.errors : out.warnings)++;
  }

  bool eof() const { return at >= lines.size(); }
  // A record cut short reads empty lines, as the game's reader does at the end of the file.
  bool cut = false;  // the current record ran past the end of the file
  std::string next(int& line) {
    line = static_cast<int>(at) + 1;
    if (eof()) {
      cut = true;
      return "";
    }
    return lines[at++];
  }

  static bool isint(const std::string& s) {
    size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    if (s[i] == '+' || s[i] == '-') ++i;
    if (i >= s.size()) return false;
    for (; i < s.size(); ++i)
      if (s[i] < '0' || s[i] > '9') return false;
    return true;
  }

  int readint(const char* what, int& line) {
    std::string s = next(line);
    if (!isint(s) && !cut)
      report(
          line, false,
          std::string(what) + " \"" + s + "\" is not a plain integer; reads as " + std::to_string(ToInt(s)));
    return ToInt(s);
  }

  double readdouble(const char* what, int& line) {
    std::string s = next(line);
    const double v = ToDouble(s);
    // The game's conversion never yields infinity or NaN, but a value written
    // as one (or beyond the range of a double) is not what its author meant.
    char* end = nullptr;
    errno = 0;
    const double full = std::strtod(s.c_str(), &end);
    if (!std::isfinite(full) || (errno == ERANGE && std::fabs(full) > 1)) {
      report(line, true, std::string(what) + " \"" + s + "\" is not a finite number");
    } else if (!cut && (s.empty() || end == s.c_str() || *end != '\0')) {
      report(line, false,
             std::string(what) + " \"" + s + "\" is not a plain number; reads as " + std::to_string(v));
    }
    return v;
  }

  // A reference is resolved when its record is read, so the ball must come first.
  const ballinfo* ref(const char* what, int& line) {
    const int n = readint(what, line);
    auto it = balls.find(n);
    if (it == balls.end()) {
      report(line, true,
             std::string(what) + " names ball " + std::to_string(n) + ", which is not defined before it");
      return nullptr;
    }
    return &it->second;
  }

  void readball(int marker) {
    int line = 0, numline = 0;
    const int number = readint("ball number", numline);
    const double m = readdouble("mass", line);
    if (std::isfinite(m) && m <= 0) report(line, true, "mass is not positive");
    const double x = readdouble("x", line);
    const double y = readdouble("y", line);
    const double r = readdouble("radius", line);
    if (std::isfinite(r) && r <= 0) report(line, true, "radius is not positive");
    const int anchored = readint("anchored", line);
    readdouble("anchor x", line);
    readdouble("anchor y", line);
    readdouble("ball tension", line);
    for (const char* c : {"red", "green", "blue"}) {
      const int v = readint(c, line);
      if (v < 0 || v > 255) report(line, false, std::string(c) + " is outside 0..255");
    }
    const std::string kind = next(line);
    if (!cut && kind != "normal" && kind != "background" && kind != "damaging")
      report(line, true, "ball kind \"" + kind + "\" will be read as \"normal\"");
    readint("rolling", line);
    if (balls.count(number))
      report(numline, true,
             "ball number " + std::to_string(number) + " is already used at line " +
                 std::to_string(balls[number].line) + "; links will attach to this one");
    if (nballs == 0 && anchored == 1)
      report(marker, false, "the player's ball is anchored; play frees it anyway");
    if (nballs == 0 && kind != "normal")
      report(marker, false, "the player's ball plays as \"normal\" whatever its kind");
    ++nballs;
    balls[number] = {x, y, marker};
  }

  bool readlink(int marker, bool isvirtual) {
    int line = 0, l1 = 0, l2 = 0;
    const int n1 = ToInt(lines.size() > at ? lines[at] : "");
    const ballinfo* a = ref("first ball", l1);
    const int n2 = ToInt(lines.size() > at ? lines[at] : "");
    const ballinfo* b = ref("second ball", l2);
    // A virtual link only pairs figures (a figure may be paired with itself).
    if (isvirtual) return a && b;
    if (n1 == n2)
      report(marker, true, "link has zero length: it joins a ball to itself");
    else if (a && b && std::hypot(b->x - a->x, b->y - a->y) < 0.00001)
      report(marker, true, "link has zero length: both ends lie at the same point");
    const double d = readdouble("distance", line);
    if (std::isfinite(d) && d < 0) report(line, true, "link distance is negative");
    const double w = readdouble("width", line);
    if (std::isfinite(w) && w < 0) report(line, true, "link width is negative");
    for (const char* c : {"red", "green", "blue"}) readint(c, line);
    const std::string kind = next(line);
    if (!cut && kind != "normal" && kind != "background" && kind != "damaging" && kind != "stop" &&
        kind != "virtual")
      report(line, true, "link kind \"" + kind + "\" will be read as \"normal\"");
    if (kind == "stop") ++stops;
    return a && b;
  }

  bool readtension(int marker) {
    int line = 0, n[3];
    bool found = true;
    const char* what[3] = {"first ball", "joint ball", "third ball"};
    for (int i = 0; i < 3; ++i) {
      int l = 0;
      n[i] = ToInt(lines.size() > at ? lines[at] : "");
      found = ref(what[i], l) != nullptr && found;
    }
    if (n[0] == n[1] || n[1] == n[2] || n[0] == n[2])
      report(marker, true, "tension names the same ball twice");
    readdouble("angle", line);
    const double s = readdouble("strength", line);
    if (std::isfinite(s) && s <= 10) report(line, false, "tension strength 10 or less does nothing");
    return found;
  }

  void run() {
    if (lines.empty() || lines[0] != "2") {
      report(1, true, "first line is not \"2\"; the level loads empty");
      return;
    }
    at = 1;
    while (!eof()) {
      const int marker = static_cast<int>(at) + 1;
      cut = false;
      std::string s = lines[at++];
      if (!s.empty() && s.back() == ' ') s.pop_back();
      // Findings name the record by its place among those the reader keeps.
      auto begin = [&](char k, int slot) {
        rkind = k;
        index = counts[slot];
      };
      bool kept = true;
      int slot = 0;
      if (s == "New Ball") {
        begin('b', slot = 0);
        readball(marker);
      } else if (s == "New Link") {
        begin('l', slot = 1);
        kept = readlink(marker, false);
      } else if (s == "New Virtual Link") {
        begin('v', slot = 3);
        kept = readlink(marker, true);
      } else if (s == "New Tension") {
        begin('t', slot = 2);
        kept = readtension(marker);
      } else {
        continue;
      }
      if (kept) counts[slot]++;
      ++records;
      if (cut) report(marker, true, "record is cut short by the end of the file");
    }
    rkind = 0;
    index = -1;
    const int last = static_cast<int>(lines.size());
    if (nballs == 0) report(last, true, "no player's ball: the level has no balls");
    if (stops == 0) report(last, true, "no \"stop\" link: the level cannot be completed");
  }
};

}  // namespace

levelcheck checklevel(const std::vector<std::string>& lines) {
  checker c;
  c.lines = lines;
  c.run();
  c.out.nballs = c.nballs;
  c.out.records = c.records;
  return std::move(c.out);
}

std::vector<std::string> splitlevellines(const std::string& bytes) {
  std::vector<std::string> out;
  std::string cur;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\n' || c == '\0') {
      out.push_back(cur);
      cur.clear();
    } else if (c != '\r') {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}
