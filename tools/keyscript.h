// Key scripts, as tumbo-sim reads them: lines "A-B KEY..." or "A KEY..."
// (frames counted from 1, '#' starts a comment line); keys LEFT RIGHT UP DOWN
// SPACE ENTER ESC P R A D W S 8 2. The result holds one input per frame: entry
// f - 1 holds the keys of frame f; a key held over consecutive frames is one
// held run, so it is hit once.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <istream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace keyscript {

inline const std::map<std::string, int>& keynames() {
  static const std::map<std::string, int> names = {
      {"LEFT", KEY_LEFT},   {"RIGHT", KEY_RIGHT}, {"UP", KEY_UP}, {"DOWN", KEY_DOWN}, {"SPACE", KEY_SPACE},
      {"ENTER", KEY_ENTER}, {"ESC", KEY_ESCAPE},  {"P", KEY_P},   {"R", KEY_R},       {"A", KEY_A},
      {"D", KEY_D},         {"W", KEY_W},         {"S", KEY_S},   {"8", KEY_8},       {"2", KEY_2}};
  return names;
}

// A frame number: plain decimal digits, 0 to 100,000,000.
inline bool framenumber(const std::string& text, int& out) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const long v = std::strtol(text.c_str(), nullptr, 10);
  if (v > 100000000) return false;
  out = static_cast<int>(v);
  return true;
}

// Reads a script of the given number of frames; name labels the errors
// ("name:line: what"). Returns false, with the error, on the first bad line.
inline bool read(std::istream& in, const std::string& name, int frames,
                 std::vector<headless::frameinput>& script, std::string& error) {
  script.assign(static_cast<size_t>(frames < 0 ? 0 : frames), headless::frameinput{});
  std::string line;
  int lineno = 0;
  while (std::getline(in, line)) {
    lineno++;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string range;
    if (!(words >> range) || range[0] == '#') continue;
    const std::string where = name + ":" + std::to_string(lineno);
    const size_t dash = range.find('-');
    int a = 0, b = 0;
    if (!framenumber(range.substr(0, dash), a) ||
        !framenumber(dash == std::string::npos ? range : range.substr(dash + 1), b) || a < 1 || b < a) {
      error = "bad frame range '" + range + "' at " + where;
      return false;
    }
    std::string key;
    while (words >> key) {
      auto k = keynames().find(key);
      if (k == keynames().end()) {
        error = "unknown key '" + key + "' at " + where;
        return false;
      }
      for (int f = a; f <= b && f <= frames; f++) script[static_cast<size_t>(f - 1)].held.insert(k->second);
    }
  }
  return true;
}

}  // namespace keyscript
