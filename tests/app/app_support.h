// Helpers shared by the application-shell tests: a game on the headless
// backend in a fresh folder, and queries over the recorded draw calls.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "tests/support/harness.h"
#include "world/game.h"

namespace apptest {

constexpr const char* kDefaultPrefs = "0\r\n3\r\n0\r\n3\r\n5\r\n5\r\n";

// A headless game in its own folder; prefs are written so that no first-run
// question is asked unless a test wants it.
struct fixture : ::testing::Test {
  void SetUp() override {
    headless::install();
    dir = std::make_unique<harness::gamedir>();
    g = std::make_unique<game>();
  }
  void TearDown() override {
    g.reset();
    dir.reset();
  }
  // Opens the display as start-up would, with settings from the given prefs.
  void open(const std::string& prefs = kDefaultPrefs) {
    dir->write("prefs.txt", prefs);
    g->initprefs();
    g->readprefs();
    g->changeres(g->optfullscr, g->optres, 0);
  }
  // A fresh backend (new script, no calls recorded) with the display reopened,
  // since a new backend starts with an empty drawing state.
  void restart() {
    headless::install();
    g->changeres(g->optfullscr, g->optres, 0);
  }
  std::unique_ptr<harness::gamedir> dir;
  std::unique_ptr<game> g;
};

inline std::vector<headless::drawcall> texts_in_frame(int frame) {
  std::vector<headless::drawcall> out;
  for (const auto& c : headless::calls()) {
    if (c.kind == headless::op::text && c.frame == frame) out.push_back(c);
  }
  return out;
}

inline bool has_text(const std::vector<headless::drawcall>& calls, const std::string& text) {
  for (const auto& c : calls) {
    if (c.text == text) return true;
  }
  return false;
}

inline headless::drawcall find_text(const std::vector<headless::drawcall>& calls, const std::string& text) {
  for (const auto& c : calls) {
    if (c.text == text) return c;
  }
  ADD_FAILURE() << "text not drawn: " << text;
  return {};
}

inline bool grey(const headless::drawcall& c) { return c.r == 100 && c.g == 100 && c.b == 100; }

// The one entry drawn in a colour other than grey, among the given texts.
inline std::string highlighted(const std::vector<headless::drawcall>& calls,
                               const std::vector<std::string>& entries) {
  std::string found;
  int count = 0;
  for (const auto& c : calls) {
    for (const auto& e : entries) {
      if (c.text == e && !grey(c)) {
        found = e;
        count++;
      }
    }
  }
  return count == 1 ? found : "";
}

// Checks a text is centred across xwin at the given scale and y.
inline void expect_centred(const headless::drawcall& c, int xwin, double scale, double y) {
  EXPECT_NEAR(c.sx, scale, 1e-9) << c.text;
  EXPECT_NEAR(c.sy, scale, 1e-9) << c.text;
  EXPECT_NEAR(c.x, (xwin - StringWidth(c.text) * scale) / 2, 1e-6) << c.text;
  EXPECT_NEAR(c.y, y, 1e-6) << c.text;
}

}  // namespace apptest
