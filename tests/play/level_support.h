// Helpers for the level and campaign tests: a game on the headless backend in
// a fresh folder whose campaigns are the test campaigns, and a key script
// built press by press.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "tests/support/harness.h"
#include "world/game.h"

namespace levelplay {

// Keys and typed text, frame after frame (entry 0 is the frame under way).
struct script {
  std::vector<headless::frameinput> frames;

  script& idle(int n) {
    frames.resize(frames.size() + n);
    return *this;
  }
  // Holds the keys for one frame, then lets `gap` frames pass.
  script& press(std::set<int> keys, int gap = 6) {
    frames.push_back({std::move(keys), ""});
    return idle(gap);
  }
  script& hold(std::set<int> keys, int n) {
    for (int i = 0; i < n; i++) frames.push_back({keys, ""});
    return *this;
  }
  script& type(const std::string& text) {
    for (char c : text) frames.push_back({{}, std::string(1, c)});
    return *this;
  }
  // The level skip: 8 and 2 hit in the same frame.
  script& skip(int gap = 6) { return press({KEY_8, KEY_2}, gap); }
  int size() const { return static_cast<int>(frames.size()); }
  void start(bool end_when_done = true) const { headless::set_script(frames, end_when_done); }
};

// A game in a folder of its own, window open and media loaded as the game
// does it. `campaigns` defaults to the test campaigns under tests/data.
struct session {
  std::unique_ptr<harness::gamedir> dir;
  std::unique_ptr<game> g;

  explicit session(const std::string& campaigns = harness::data("campaigns"), bool open = true) {
    headless::install();
    headless::set_proceed_answer(0);
    dir = std::make_unique<harness::gamedir>(campaigns);
    g = std::make_unique<game>();
    if (open) g->changeres(0, 3, 0);
  }
};

inline bool drawn(const std::string& text) {
  for (const headless::drawcall& c : headless::calls()) {
    if (c.kind == headless::op::text && c.text == text) return true;
  }
  return false;
}

inline std::vector<std::string> texts(const std::vector<headless::drawcall>& calls) {
  std::vector<std::string> t;
  for (const headless::drawcall& c : calls) {
    if (c.kind == headless::op::text) t.push_back(c.text);
  }
  return t;
}

}  // namespace levelplay
