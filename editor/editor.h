// tumbo-edit: the level editor. The document is the world's records as the
// level file holds them; every change goes through the history so that it
// undoes; the view draws with the game's own drawing code; test play runs the
// game's own level frame on a copy of the level.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "world/game.h"
#include "world/level_check.h"

namespace edit {

// ---- document.cpp
struct edball {
  double m = 1, x = 0, y = 0, r = 15;
  int anchored = 1;
  double anchorx = 0, anchory = 0, balltension = 0;
  std::array<int, 3> color{255, 255, 255};
  std::string kind = "normal";
  int rolling = 0;
  bool operator==(const edball&) const = default;
};
struct edlink {
  int b1 = 0, b2 = 0;
  double distance = 0, width = 3;
  std::array<int, 3> color{255, 255, 255};
  std::string kind = "normal";
  bool operator==(const edlink&) const = default;
};
struct edtension {
  int b1 = 0, b2 = 0, b3 = 0;
  double angle = 0, strength = 50;
  bool operator==(const edtension&) const = default;
};
struct edvirtual {
  int b1 = 0, b2 = 0;
  bool operator==(const edvirtual&) const = default;
};
// Balls are named by their place in the list; the first is the player's.
struct document {
  std::vector<edball> balls;
  std::vector<edlink> links;
  std::vector<edtension> tensions;
  std::vector<edvirtual> virtuals;
  bool operator==(const document&) const = default;
};

document fromgame(const game& g);
// Replaces g's world with the document's records (figures and groups made).
void togame(const document& d, game& g);
// The lines the game's writer makes of the document.
std::vector<std::string> doclines(const document& d);
// Reads a level with the game's reader: whatever it can read.
document opendoc(const std::string& path);
// Writes through the game's writer, atomically; on failure why says why.
bool savedoc(const document& d, const std::string& path, std::string& why);
// The angle the joints would keep for three balls as they lie now.
double restangle(const edball& a, const edball& j, const edball& c);

// ---- selection.cpp: picking through a grid of cells.
class spatialindex {
 public:
  void build(const document& d);
  int ballat(const document& d, double x, double y) const;  // -1: none
  int linkat(const document& d, double x, double y) const;
  std::vector<int> ballsin(const document& d, double x1, double y1, double x2, double y2) const;

 private:
  static constexpr double kCell = 64;
  std::unordered_map<int64_t, std::vector<int>> balls_, links_;
  static int64_t key(int cx, int cy) { return (int64_t(cx) << 32) ^ uint32_t(cy); }
};
struct selection {
  std::vector<int> balls, links;  // sorted
  bool empty() const { return balls.empty() && links.empty(); }
  bool hasball(int i) const;
  bool haslink(int i) const;
  void toggleball(int i);
  void togglelink(int i);
};

// ---- commands.cpp: edits, each undoable.
class history {
 public:
  void record(const document& before) {
    undo_.push_back(before);
    redo_.clear();
  }
  bool undo(document& d);
  bool redo(document& d);
  size_t depth() const { return undo_.size(); }

 private:
  std::vector<document> undo_, redo_;
};
// The pieces of a document a selection names, balls renumbered from 0.
document copyof(const document& d, const selection& s);
// Adds the pieces at an offset; returns the new balls' indices.
std::vector<int> pastein(document& d, const document& piece, double dx, double dy);
void removeselected(document& d, const selection& s);
void moveselected(document& d, const selection& s, double dx, double dy);
void makefirst(document& d, int ball);

// ---- editor.cpp
class editor {
 public:
  editor(int width, int height);
  void open(const std::string& path);
  void newlevel();
  bool save();
  void frame();  // one frame: input, drawing, widgets, Flip
  bool quit = false;

  // The state, public for the panel and for tests.
  document doc;
  history hist;
  selection sel;
  spatialindex index;
  std::string path;
  bool dirty = false;
  std::string message;  // the last save's or open's outcome
  levelcheck found;     // the checker's findings on the document
  levelcheck opened;    // and on the file as it was opened
  double zoom = 1, cx = 512, cy = 384;
  int tool = 0;  // 0 select, 1 ball, 2 link, 3 tension, 4 virtual link
  bool numbers = false, snap = true, help = false;
  double gridstep = 25;
  document clipboard;
  std::vector<int> pending;  // balls clicked so far for a tension
  // Test play.
  std::unique_ptr<game> play;
  std::string playresult;
  int playframes = 0;
  game world;  // the document as the game draws it

  void change(const document& before);  // after any edit
  void undo();
  void redo();
  void startplay();
  double worldx(double sx) const { return cx + (sx - width_ / 2.0) / zoom; }
  double worldy(double sy) const { return cy + (sy - height_ / 2.0) / zoom; }
  double screenx(double x) const { return width_ / 2.0 + zoom * (x - cx); }
  double screeny(double y) const { return height_ / 2.0 + zoom * (y - cy); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_, height_;
  // Mouse drags.
  int dragging = 0;  // 0 none, 1 move, 2 box, 3 link, 4 virtual, 5 pan
  double pressx = 0, pressy = 0, lastx = 0, lasty = 0;
  int pressball = -1;
  double curx_ = 0, cury_ = 0, panx_ = 0, pany_ = 0;  // the pointer in the world
  document beforedrag;
  void refresh();
  void input();
  void mouse();
  void keys();
  void playframe();
  void title();
  // view.cpp
  void drawworld();
  void drawoverlays();
  // panel.cpp
  void panel();
};

}  // namespace edit
