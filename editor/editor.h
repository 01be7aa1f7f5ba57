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
// One record into the world's, the balls named by their place in g's list.
void toball(const edball& e, ball& b);
void tolink(const edlink& e, struct link& l, const game& g);
void totension(const edtension& e, tension& t, const game& g);
void tovirtual(const edvirtual& e, struct link& l, const game& g);
std::unique_ptr<ball> newball(const edball& e, game& g);
std::unique_ptr<struct link> newlink(const edlink& e, game& g);
std::unique_ptr<tension> newtension(const edtension& e, game& g);
std::unique_ptr<struct link> newvirtual(const edvirtual& e, game& g);
// The lines the game's writer makes of the document.
std::vector<std::string> doclines(const document& d);
// Reads a level with the game's reader: whatever it can read.
document opendoc(const std::string& path);
// Writes through the game's writer, atomically; on failure why says why.
bool savedoc(const document& d, const std::string& path, std::string& why);
// The levels the Open dialog offers: every campaign's, in play order, then
// the files of the working folder that begin as a level file does.
std::vector<std::string> levelfiles();
// The angle the joints would keep for three balls as they lie now.
double restangle(const edball& a, const edball& j, const edball& c);

// ---- selection.cpp: picking through a grid of cells.
// Built at once, then kept up as records move or are added: a record that
// moves is entered again in its new cells and its old entries stay until the
// next build (every query checks the records themselves), so the grid is
// built again only when the extra entries outnumber the records.
class spatialindex {
 public:
  void build(const document& d);
  void addball(const document& d, int i);
  void addlink(const document& d, int i);
  // Whether building again is cheaper than keeping the extra entries.
  bool worn() const { return extra_ > entries_ + 1024; }
  int ballat(const document& d, double x, double y) const;  // -1: none
  int linkat(const document& d, double x, double y) const;
  std::vector<int> ballsin(const document& d, double x1, double y1, double x2, double y2) const;

 private:
  static constexpr double kCell = 64;
  std::unordered_map<int64_t, std::vector<int>> balls_, links_;
  size_t entries_ = 0, extra_ = 0;
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
// Records of one kind that a step touches, by index.
template <class T>
struct records {
  std::vector<int> at;      // sorted
  std::vector<T> was, now;  // as they were and as they are, for each index
  bool empty() const { return at.empty() && now.empty(); }
};
// One undoable step, kept as the records it changes rather than the whole
// document, so that an edit of a large level costs what the edit touches.
struct step {
  enum kinds {
    set,      // records at `at` change from `was` to `now`
    append,   // `now` records are added at the ends of the lists
    erase,    // records at `at` (`was`) go; the balls after them are renumbered
    tofront,  // ball `first` becomes the first; the balls before it move up
    whole,    // the fallback: the whole document, before and after
  } kind = set;
  records<edball> balls;
  records<edlink> links;
  records<edtension> tensions;
  records<edvirtual> virtuals;
  int first = 0;
  document was, now;
};
// Applies a step to a document (forward), or takes it back.
void apply(document& d, const step& s, bool forward);
// The step that takes `before` to `after`: changed records where the lists
// keep their lengths, records added where they only grow, else the whole.
step difference(const document& before, const document& after);
// The records a deletion of the selection removes: the selected balls and
// links, and every link, tension and virtual link that names a removed ball.
step erasure(const document& d, const selection& s);

class history {
 public:
  void record(step s) {
    undo_.push_back(std::move(s));
    redo_.clear();
  }
  // The step to take back (or to do again), moved to the other list; null
  // when there is none.
  const step* undo();
  const step* redo();
  size_t depth() const { return undo_.size(); }

 private:
  std::vector<step> undo_, redo_;
};
// The pieces of a document a selection names, balls renumbered from 0.
document copyof(const document& d, const selection& s);
// Adds the pieces at an offset; returns the new balls' indices.
std::vector<int> pastein(document& d, const document& piece, double dx, double dy);
void removeselected(document& d, const selection& s);
void moveselected(document& d, const selection& s, double dx, double dy);
void makefirst(document& d, int ball);

// ---- checking.cpp: the checker's findings kept per record. An edit marks
// the records it touches; their findings are made again a slice at a time,
// each slice by the shared checker on a small level of just those records
// (with the first ball and a goal, so the whole-level findings come out as
// for the whole document).
class livecheck {
 public:
  void reset(const document& d);  // every record checked at once
  void markall(const document& d);
  void markball(int i) { mark(balls_, i); }
  void marklink(int i) { mark(links_, i); }
  void marktension(int i) { mark(tensions_, i); }
  void markvirtual(int i) { mark(virtuals_, i); }
  // Follows a step's records: new ones are marked, removed ones dropped,
  // renumbered ones moved with their findings.
  void follow(const document& d, const step& s, bool forward);
  // Checks up to `budget` marked records; true when nothing is left.
  bool work(const document& d, size_t budget);
  size_t pending() const { return count_; }
  const levelcheck& found() const {
    if (!gathered_) gather();
    return found_;
  }

 private:
  struct slot {
    std::vector<levelfinding> findings;
    bool marked = false;
  };
  std::vector<slot> balls_, links_, tensions_, virtuals_;
  std::vector<levelfinding> whole_;  // findings on the whole level
  bool wholemarked_ = true;
  size_t count_ = 0;
  mutable levelcheck found_;  // the findings in order, gathered when asked for
  mutable bool gathered_ = false;
  game scratch_;
  void mark(std::vector<slot>& v, int i);
  void gather() const;
};

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
  std::string path;
  bool dirty = false;
  std::string message;  // the last save's or open's outcome
  levelcheck opened;    // the checker's findings on the file as it was opened
  double zoom = 1, cx = 512, cy = 384;
  int tool = 0;  // 0 select, 1 ball, 2 link, 3 tension, 4 virtual link
  bool numbers = false, snap = true, help = false;
  double gridstep = 25;
  document clipboard;
  std::vector<int> pending;  // balls clicked so far for a tension
  // The Open dialog: the levels offered and the path chosen or typed.
  std::vector<std::string> openlist;
  std::string openpath;
  // Test play.
  std::unique_ptr<game> play;
  std::string playresult;
  int playframes = 0;
  game world;  // the document as the game draws it, kept record for record

  // Edits. The document is changed first; then the step is recorded and the
  // world, the picking grid and the checker follow what it touched.
  void commit(step s);
  void change(const document& before);  // any edit, found by comparing
  // The records of the selection as they are, before changing them in place;
  // changed() records what became of them.
  step changing(const std::vector<int>& balls, const std::vector<int>& links,
                const std::vector<int>& tensions = {});
  void changed(step s);
  // The lengths of the lists before records are added at their ends;
  // added() records the new ones.
  std::array<size_t, 4> adding() const;
  void added(const std::array<size_t, 4>& before);
  void remove(const selection& s);
  void tofront(int ball);
  void undo();
  void redo();
  void startplay();
  // The checker's findings, made up to date by a slice every frame.
  const levelcheck& findings() const { return checker.found(); }
  void checknow() { checker.work(doc, ~size_t(0)); }
  livecheck checker;
  // The picking grid, built again first if the records have been renumbered.
  const spatialindex& picking();

  double worldx(double sx) const { return cx + (sx - width_ / 2.0) / zoom; }
  double worldy(double sy) const { return cy + (sy - height_ / 2.0) / zoom; }
  double screenx(double x) const { return width_ / 2.0 + zoom * (x - cx); }
  double screeny(double y) const { return height_ / 2.0 + zoom * (y - cy); }
  int width() const { return width_; }
  int height() const { return height_; }
  void resize(int width, int height);
  // Where test play writes the level for the game's set-up (a temporary
  // file, removed once play has been set up).
  std::string playfile;

 private:
  int width_, height_;
  spatialindex index_;
  bool indexstale_ = true;
  // The links that name each ball, for following a moved ball.
  std::vector<std::vector<int>> balllinks_;
  bool linksstale_ = true;
  bool figuresstale_ = true;  // the world's figures and groups are made again before drawing
  // Mouse drags.
  int dragging = 0;  // 0 none, 1 move, 2 box, 3 link, 4 virtual, 5 pan
  double pressx = 0, pressy = 0, lastx = 0, lasty = 0;
  int pressball = -1;
  double curx_ = 0, cury_ = 0, panx_ = 0, pany_ = 0;  // the pointer in the world
  step drag_;                                         // the moved balls as they were when the drag began
  int settling_ = 0, settlew_ = 0, settleh_ = 0;      // a new window size, held so many frames
  void fitwindow();
  void rebuild();  // everything made again from the document
  void follow(const step& s, bool forward);
  void syncball(int i);
  void synclink(int i);
  const std::vector<std::vector<int>>& balllinks();
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
