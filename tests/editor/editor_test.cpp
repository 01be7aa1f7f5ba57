// The level editor on the headless backend, driven by scripted mouse and keys.
#include "editor/editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <tuple>

#include "platform/headless/headless.h"
#include "tests/support/harness.h"

namespace fs = std::filesystem;
using edit::document;
using edit::editor;
using headless::frameinput;

namespace {

constexpr int kW = 1280, kH = 800;
// The editor opens centred on (512, 384) at zoom 1.
int sx(double wx) { return int(wx - 512 + kW / 2); }
int sy(double wy) { return int(wy - 384 + kH / 2); }

frameinput at(double wx, double wy, int buttons = 0, std::set<int> keys = {}) {
  frameinput f;
  f.held = std::move(keys);
  f.mx = sx(wx);
  f.my = sy(wy);
  f.buttons = buttons;
  return f;
}
constexpr int kLeft = 1 << MOUSE_LEFT;

std::vector<frameinput> click(double x, double y) { return {at(x, y), at(x, y, kLeft), at(x, y)}; }
std::vector<frameinput> drag(double x1, double y1, double x2, double y2) {
  return {at(x1, y1), at(x1, y1, kLeft), at((x1 + x2) / 2, (y1 + y2) / 2, kLeft), at(x2, y2, kLeft),
          at(x2, y2)};
}
std::vector<frameinput> key(std::set<int> keys) { return {frameinput{keys, ""}, frameinput{}}; }

void add(std::vector<frameinput>& s, const std::vector<frameinput>& more) {
  s.insert(s.end(), more.begin(), more.end());
}

// Runs the editor's frames until the script is used up.
void run(editor& ed, const std::vector<frameinput>& script) {
  headless::set_script(script);
  harness::run([&] {
    for (;;) ed.frame();
  });
  headless::set_script({}, false);  // later reads of the keys do not end the run
}

std::string bytes(const std::string& path) {
  stream s = OpenTextRead(path);
  std::string out;
  if (s)
    while (!s.Eof()) out += s.ReadLine() + "\n";
  return out;
}

// The small level: the player's ball, a floor of two anchored balls, a
// bridge of two loose balls linked to it, a tension at the bridge's middle,
// and the goal (a "stop" link) at the far end.
std::vector<frameinput> buildscript() {
  std::vector<frameinput> s;
  add(s, key({'2'}));  // ball tool
  for (auto [x, y] : std::vector<std::pair<double, double>>{
           {150, 450}, {100, 500}, {400, 500}, {500, 500}, {600, 500}, {700, 500}})
    add(s, click(x, y));
  add(s, key({'3'}));  // link tool
  add(s, drag(100, 500, 400, 500));
  add(s, drag(400, 500, 500, 500));
  add(s, drag(500, 500, 600, 500));
  add(s, drag(600, 500, 700, 500));
  add(s, key({'4'}));  // tension: bridge ball, joint, bridge ball
  add(s, click(400, 500));
  add(s, click(500, 500));
  add(s, click(600, 500));
  return s;
}

}  // namespace

TEST(Editor, BuildsSavesAndTheGameReadsEveryRecord) {
  harness::gamedir dir;
  headless::install();
  editor ed(kW, kH);
  run(ed, buildscript());
  ASSERT_EQ(ed.doc.balls.size(), 6u);
  ASSERT_EQ(ed.doc.links.size(), 4u);
  ASSERT_EQ(ed.doc.tensions.size(), 1u);
  EXPECT_DOUBLE_EQ(ed.doc.links[0].distance, 300);
  EXPECT_DOUBLE_EQ(ed.doc.links[1].distance, 100);
  EXPECT_EQ(ed.doc.tensions[0].b2, 3);
  EXPECT_DOUBLE_EQ(ed.doc.tensions[0].angle, 180);
  EXPECT_TRUE(ed.dirty);
  // The goal: the last link made a "stop" link through the panel's values.
  {
    const document before = ed.doc;
    ed.doc.links[3].kind = "stop";
    ed.change(before);
  }
  ed.path = "built.txt";
  std::vector<frameinput> save = key({KEY_CONTROL, KEY_S});
  run(ed, save);
  EXPECT_FALSE(ed.dirty);
  ASSERT_EQ(FileKind("built.txt"), 1);

  game g;
  g.openmarionet(1, "built.txt");
  ASSERT_EQ(g.balllist.size(), 6u);
  for (size_t i = 0; i < 6; i++) {
    const edit::edball& e = ed.doc.balls[i];
    const ball& b = *g.balllist[i];
    EXPECT_EQ(b.number, int(i) + 1);
    EXPECT_EQ(b.x, e.x);
    EXPECT_EQ(b.y, e.y);
    EXPECT_EQ(b.r, e.r);
    EXPECT_EQ(b.m, e.m);
    EXPECT_EQ(b.anchored, e.anchored);
    EXPECT_EQ(b.anchorx, e.anchorx);
    EXPECT_EQ(b.kind, e.kind);
    EXPECT_EQ(b.color, e.color);
  }
  ASSERT_EQ(g.linklist.size(), 4u);
  EXPECT_EQ(g.linklist[3]->kind, "stop");
  EXPECT_EQ(g.linklist[0]->ball1, g.balllist[1].get());
  EXPECT_EQ(g.linklist[0]->ball2, g.balllist[2].get());
  EXPECT_EQ(g.linklist[1]->distance, 100);
  ASSERT_EQ(g.TensionList.size(), 1u);
  EXPECT_EQ(g.TensionList[0]->ball2, g.balllist[3].get());
  EXPECT_EQ(g.TensionList[0]->angle, ed.doc.tensions[0].angle);
  EXPECT_EQ(edit::fromgame(g), ed.doc);
  EXPECT_EQ(ed.findings().errors, 0) << (ed.findings().findings.empty() ? ""
                                                                        : ed.findings().findings[0].what);
}

TEST(Editor, TestPlayCompletesAndLeavesTheWorldAsItWas) {
  harness::gamedir dir;
  headless::install();
  editor ed(kW, kH);
  // A wall at the far end to run into: the goal.
  std::vector<frameinput> s = buildscript();
  add(s, key({'2'}));
  add(s, click(700, 150));
  add(s, key({'3'}));
  add(s, drag(700, 500, 700, 150));
  run(ed, s);
  ASSERT_EQ(ed.doc.links.size(), 5u);
  const document before = ed.doc;
  ed.doc.links[4].kind = "stop";
  ed.change(before);
  const document built = ed.doc;
  const std::vector<std::string> folder = ListDirectory(".");
  s = key({KEY_F5});
  for (int i = 0; i < 900; i++)
    s.push_back(frameinput{i < 45 ? std::set<int>{KEY_RIGHT} : std::set<int>{}, ""});
  run(ed, s);
  EXPECT_EQ(ed.play, nullptr);
  EXPECT_EQ(ed.playresult, "levelcompleted") << ed.playframes << " frames";
  EXPECT_GT(ed.playframes, 10);
  EXPECT_EQ(ed.doc, built);
  EXPECT_EQ(ed.world.balllist.size(), built.balls.size());
  EXPECT_EQ(ed.world.balllist[2]->x, built.balls[2].x);
  // The level went through a temporary file elsewhere, gone once read.
  ASSERT_FALSE(ed.playfile.empty());
  EXPECT_EQ(ed.playfile.front(), '/');
  EXPECT_EQ(FileKind(ed.playfile), 0) << ed.playfile;
  EXPECT_EQ(ListDirectory("."), folder);
  // Esc ends play too and reports it.
  s = key({KEY_F5});
  s.push_back(frameinput{{KEY_ESCAPE}, ""});
  s.push_back(frameinput{});
  run(ed, s);
  EXPECT_EQ(ed.playresult, "esc");
  EXPECT_EQ(ed.doc, built);
}

TEST(Editor, UndoAndRedoRestoreExactStates) {
  harness::gamedir dir;
  headless::install();
  editor ed(kW, kH);
  std::vector<document> states{ed.doc};
  // Every step of the build is one edit, seen as a state.
  std::vector<frameinput> script = buildscript();
  headless::set_script(script);
  harness::run([&] {
    for (;;) {
      ed.frame();
      if (!(ed.doc == states.back())) states.push_back(ed.doc);
    }
  });
  headless::set_script({}, false);
  ASSERT_EQ(states.size(), 12u);  // six balls, four links, one tension
  // Move, delete, duplicate, then all undone.
  std::vector<frameinput> s = key({'1'});
  add(s, drag(500, 500, 550, 450));
  add(s, key({KEY_DELETE}));
  add(s, click(400, 500));
  add(s, key({KEY_CONTROL, KEY_D}));
  run(ed, s);
  EXPECT_EQ(ed.hist.depth(), 14u);
  EXPECT_EQ(ed.doc.balls.size(), 6u);  // one deleted, one duplicated
  const document last = ed.doc;
  for (int i = 0; i < 3; i++) ed.undo();
  EXPECT_EQ(ed.doc, states.back());
  for (size_t i = states.size() - 1; i-- > 0;) {
    ed.undo();
    EXPECT_EQ(ed.doc, states[i]) << "undo to state " << i;
  }
  for (size_t i = 1; i < states.size(); i++) {
    ed.redo();
    EXPECT_EQ(ed.doc, states[i]) << "redo to state " << i;
  }
  for (int i = 0; i < 3; i++) ed.redo();
  EXPECT_EQ(ed.doc, last);
  // A moved anchored ball takes its anchor along.
  ed.undo();
  ed.undo();
  ed.undo();
  ed.redo();
  EXPECT_EQ(ed.doc.balls[3].x, 550);
  EXPECT_EQ(ed.doc.balls[3].anchorx, 550);
}

TEST(Editor, ShippedLevelsSaveToTheSameBytes) {
  harness::gamedir dir;
  headless::install();
  editor ed(kW, kH);
  int levels = 0;
  for (const auto& c : fs::directory_iterator("campaigns")) {
    if (!c.is_directory()) continue;  // the folder's README
    for (const auto& f : fs::directory_iterator(c.path())) {
      const std::string path = f.path().string();
      const std::string original = bytes(path);
      ed.open(path);
      ed.path = "copy.txt";
      ASSERT_TRUE(ed.save()) << ed.message;
      EXPECT_EQ(bytes("copy.txt"), original) << path;
      // Edited, every edit undone, saved: the same bytes again.
      document before = ed.doc;
      ed.sel.balls = {0, 1};
      edit::moveselected(ed.doc, ed.sel, 10, 20);
      ed.change(before);
      before = ed.doc;
      edit::removeselected(ed.doc, ed.sel);
      ed.change(before);
      ed.undo();
      ed.undo();
      ASSERT_TRUE(ed.save());
      EXPECT_EQ(bytes("copy.txt"), original) << path << " after edits undone";
      levels++;
    }
  }
  EXPECT_GE(levels, 10);
}

TEST(Editor, DamagedFilesOpenWithTheCheckersFindings) {
  harness::gamedir dir;
  headless::install();
  editor ed(kW, kH);
  const std::string good = bytes("campaigns/Meadow/1");
  harness::gamedir* d = &dir;
  d->write("cut.txt", good.substr(0, good.size() / 2));
  // Two NULs in the middle: the length is the literal's own, not strlen's.
  static const char junk[] = "2\nNew Link\n99\n-5\nnan\n\0\0New Ball\n1e999\n";
  d->write("junk.txt", std::string(junk, sizeof junk - 1));
  d->write("empty.txt", "");
  ed.open("cut.txt");
  EXPECT_FALSE(ed.doc.balls.empty());
  EXPECT_GT(ed.opened.errors, 0);
  ed.open("junk.txt");
  EXPECT_GT(ed.opened.errors, 0);
  EXPECT_GT(ed.findings().errors, 0);
  std::vector<frameinput> s;
  for (int i = 0; i < 3; i++) s.push_back(frameinput{});
  run(ed, s);  // and it draws
  ed.open("empty.txt");
  EXPECT_TRUE(ed.doc.balls.empty());
  ed.open("missing.txt");
  EXPECT_TRUE(ed.doc.balls.empty());
  // A file that cannot be written says why and keeps the work.
  ed.open("campaigns/Meadow/1");
  ed.path = "no/such/folder/level.txt";
  const document kept = ed.doc;
  EXPECT_FALSE(ed.save());
  EXPECT_NE(ed.message.find("does not exist"), std::string::npos) << ed.message;
  EXPECT_EQ(ed.doc, kept);
}

TEST(Editor, MouseIsScriptedPerFrame) {
  headless::install();
  frameinput a;
  a.mx = 10;
  a.my = 20;
  a.buttons = kLeft;
  a.wheel = 2;
  frameinput b;
  headless::set_script({a, b}, false);
  EXPECT_EQ(MouseX(), 10);
  EXPECT_EQ(MouseY(), 20);
  EXPECT_EQ(MouseDown(MOUSE_LEFT), 1);
  EXPECT_EQ(MouseHits(MOUSE_LEFT), 1);
  EXPECT_EQ(MouseHits(MOUSE_LEFT), 0);
  EXPECT_EQ(MouseWheel(), 2);
  EXPECT_EQ(MouseWheel(), 0);
  Flip(-1);
  EXPECT_EQ(MouseDown(MOUSE_LEFT), 0);
  EXPECT_EQ(MouseX(), 10);  // kept
}

namespace {

// The findings without their lines (a document has none until it is saved).
std::vector<std::tuple<char, int, bool, std::string>> essence(const levelcheck& c) {
  std::vector<std::tuple<char, int, bool, std::string>> out;
  for (const levelfinding& f : c.findings) out.emplace_back(f.kind, f.index, f.error, f.what);
  return out;
}

// Everything the editor keeps beside the document agrees with what would be
// made from the document afresh: the world record for record, the checker's
// findings, and the picking grid's answers.
void agrees(editor& ed, const std::string& when) {
  SCOPED_TRACE(when);
  ASSERT_EQ(edit::fromgame(ed.world), ed.doc);
  ed.checknow();
  EXPECT_EQ(essence(ed.findings()), essence(checklevel(edit::doclines(ed.doc))));
  EXPECT_EQ(ed.findings().errors, checklevel(edit::doclines(ed.doc)).errors);
  edit::spatialindex fresh;
  fresh.build(ed.doc);
  const edit::spatialindex& kept = ed.picking();
  for (size_t i = 0; i < ed.doc.balls.size(); i += 3) {
    const edit::edball& b = ed.doc.balls[i];
    EXPECT_EQ(kept.ballat(ed.doc, b.x + 1, b.y), fresh.ballat(ed.doc, b.x + 1, b.y)) << "ball " << i;
  }
  for (size_t i = 0; i < ed.doc.links.size(); i += 3) {
    const edit::edball &a = ed.doc.balls[size_t(ed.doc.links[i].b1)],
                       &b = ed.doc.balls[size_t(ed.doc.links[i].b2)];
    const double x = (a.x + b.x) / 2, y = (a.y + b.y) / 2;
    EXPECT_EQ(kept.linkat(ed.doc, x, y), fresh.linkat(ed.doc, x, y)) << "link " << i;
  }
  EXPECT_EQ(kept.ballsin(ed.doc, 0, 0, 600, 500), fresh.ballsin(ed.doc, 0, 0, 600, 500));
}

}  // namespace

// Random edits of a shipped level, of every kind the editor makes, each a
// step of the history: after each, the world, the checker and the picking
// grid agree with the document, frames draw it, and undoing them all
// restores every state before it exactly, down to the saved bytes.
TEST(Editor, EveryEditIsFollowedAndUndone) {
  harness::gamedir dir;
  headless::install();
  editor ed(kW, kH);
  const std::string level = "campaigns/Meadow/1";
  ed.open(level);
  ASSERT_GT(ed.doc.balls.size(), 5u);
  std::vector<document> states{ed.doc};
  uint32_t seed = 12345;
  auto rnd = [&](int n) {
    seed = seed * 1664525u + 1013904223u;
    return int((seed >> 8) % uint32_t(n));
  };
  auto someballs = [&](int most) {
    std::set<int> s;
    for (int k = 1 + rnd(most); k > 0; k--) s.insert(rnd(int(ed.doc.balls.size())));
    return std::vector<int>(s.begin(), s.end());
  };
  for (int round = 0; round < 200; round++) {
    const int what = ed.doc.balls.size() < 3 ? 1 : rnd(10);
    const size_t depth = ed.hist.depth();
    switch (what) {
      case 0: {  // move some balls, or a link's ball onto its other end (and off it)
        if (!ed.doc.links.empty() && rnd(2)) {
          const edit::edlink& l = ed.doc.links[size_t(rnd(int(ed.doc.links.size())))];
          const edit::edball &a = ed.doc.balls[size_t(l.b1)], &b = ed.doc.balls[size_t(l.b2)];
          ed.sel = {{l.b1}, {}};
          edit::step s = ed.changing(ed.sel.balls, {});
          if (a.x == b.x && a.y == b.y)
            edit::moveselected(ed.doc, ed.sel, 30, 0);
          else
            edit::moveselected(ed.doc, ed.sel, b.x - a.x, b.y - a.y);
          ed.changed(std::move(s));
          break;
        }
        ed.sel = {someballs(4), {}};
        edit::step s = ed.changing(ed.sel.balls, {});
        edit::moveselected(ed.doc, ed.sel, rnd(200) - 100, rnd(200) - 100);
        ed.changed(std::move(s));
        break;
      }
      case 1: {  // add a ball, sometimes right on another
        const auto before = ed.adding();
        edit::edball b;
        b.x = b.anchorx = rnd(800);
        b.y = b.anchory = rnd(600);
        if (rnd(3) == 0 && !ed.doc.balls.empty()) b.x = ed.doc.balls[0].x, b.y = ed.doc.balls[0].y;
        ed.doc.balls.push_back(b);
        ed.added(before);
        break;
      }
      case 2: {  // link two balls, or a ball to itself, of any kind
        const auto before = ed.adding();
        const int a = rnd(int(ed.doc.balls.size())), b = rnd(4) == 0 ? a : rnd(int(ed.doc.balls.size()));
        const edit::edball &p = ed.doc.balls[size_t(a)], &q = ed.doc.balls[size_t(b)];
        ed.doc.links.push_back(
            {a, b, std::hypot(p.x - q.x, p.y - q.y), 3, {255, 255, 255}, rnd(3) ? "normal" : "stop"});
        ed.added(before);
        break;
      }
      case 3: {  // a tension and a virtual link
        const auto before = ed.adding();
        const int n = int(ed.doc.balls.size());
        ed.doc.tensions.push_back({rnd(n), rnd(n), rnd(n), double(rnd(360)), double(rnd(100))});
        ed.doc.virtuals.push_back({rnd(n), rnd(n)});
        ed.added(before);
        break;
      }
      case 4: {  // values typed in, some of them bad
        ed.sel = {someballs(3), {}};
        if (!ed.doc.links.empty()) ed.sel.links = {rnd(int(ed.doc.links.size()))};
        edit::step s = ed.changing(ed.sel.balls, ed.sel.links);
        for (int i : ed.sel.balls) {
          ed.doc.balls[size_t(i)].m = rnd(4) == 0 ? -1 : 2;
          ed.doc.balls[size_t(i)].kind = rnd(3) == 0 ? "damaging" : "normal";
          ed.doc.balls[size_t(i)].anchored = rnd(2);
        }
        for (int l : ed.sel.links) {
          ed.doc.links[size_t(l)].width = rnd(4) == 0 ? -2 : 5;
          ed.doc.links[size_t(l)].kind = rnd(2) ? "stop" : "background";
        }
        ed.changed(std::move(s));
        break;
      }
      case 5: {  // delete balls and a link
        edit::selection gone{someballs(3), {}};
        if (!ed.doc.links.empty()) gone.links = {rnd(int(ed.doc.links.size()))};
        ed.remove(gone);
        break;
      }
      case 6:  // another ball becomes the player's
        ed.tofront(1 + rnd(int(ed.doc.balls.size()) - 1));
        break;
      case 7: {  // duplicate
        const auto before = ed.adding();
        ed.sel = {someballs(5), {}};
        edit::pastein(ed.doc, edit::copyof(ed.doc, ed.sel), 25, 25);
        ed.added(before);
        break;
      }
      case 8:  // undo, and sometimes redo
        if (ed.hist.depth() > 0) {
          ed.undo();
          states.pop_back();
          ASSERT_EQ(ed.doc, states.back()) << "round " << round;
          if (rnd(2)) {
            ed.redo();
            states.push_back(ed.doc);
          }
        }
        break;
      case 9:  // a whole-document change found by comparing
      {
        const document before = ed.doc;
        ed.sel = {someballs(3), {}};
        edit::removeselected(ed.doc, ed.sel);
        ed.sel = {};
        ed.change(before);
        break;
      }
    }
    if (what != 8 && ed.hist.depth() > depth) states.push_back(ed.doc);
    agrees(ed, "round " + std::to_string(round) + ", edit " + std::to_string(what));
    if (HasFatalFailure()) return;
    if (round % 10 == 0) run(ed, {frameinput{}, frameinput{}});  // and it draws
  }
  ASSERT_EQ(ed.hist.depth() + 1, states.size());
  for (size_t i = states.size() - 1; i-- > 0;) {
    ed.undo();
    ASSERT_EQ(ed.doc, states[i]) << "undo to state " << i;
  }
  agrees(ed, "all undone");
  ed.path = "copy.txt";
  ASSERT_TRUE(ed.save());
  EXPECT_EQ(bytes("copy.txt"), bytes(level));
}

// A larger window shows more of the level at the same scale, with the panel
// at its new right edge: a click where the panel was now adds a ball there.
TEST(Editor, ResizedViewUsesTheWholeWindow) {
  harness::gamedir dir;
  headless::install();
  editor ed(kW, kH);
  auto clickat = [&](int x, int y) {
    frameinput f;
    f.mx = x;
    f.my = y;
    std::vector<frameinput> s = key({'2'});
    s.push_back(f);
    f.buttons = kLeft;
    s.push_back(f);
    f.buttons = 0;
    s.push_back(f);
    run(ed, s);
  };
  clickat(1100, 300);  // on the panel
  EXPECT_TRUE(ed.doc.balls.empty());
  ed.resize(1600, 1000);
  EXPECT_EQ(ed.world.xwin, 1600);
  EXPECT_DOUBLE_EQ(ed.worldx(800), ed.cx);
  EXPECT_DOUBLE_EQ(ed.worldy(500), ed.cy);
  clickat(1100, 300);
  ASSERT_EQ(ed.doc.balls.size(), 1u);
  EXPECT_DOUBLE_EQ(ed.doc.balls[0].x, 800);  // 512 + 300, snapped to the grid of 25
  EXPECT_DOUBLE_EQ(ed.doc.balls[0].y, 175);  // 384 - 200, snapped
  clickat(1500, 300);                        // the panel, at its new place
  EXPECT_EQ(ed.doc.balls.size(), 1u);
}

// The Open dialog's list: every campaign's levels in play order, then the
// working folder's files that begin as a level does, and nothing else.
TEST(Editor, OpenDialogListsTheLevels) {
  harness::gamedir dir;
  dir.write("mine.txt", bytes("campaigns/Meadow/2"));
  dir.write("notes.txt", "not a level\n");
  const std::vector<std::string> l = edit::levelfiles();
  auto at = [&](const std::string& f) { return std::find(l.begin(), l.end(), f) - l.begin(); };
  ASSERT_LT(size_t(at("campaigns/Meadow/10")), l.size());
  EXPECT_EQ(at("campaigns/Meadow/2"), at("campaigns/Meadow/1") + 1);
  EXPECT_EQ(at("campaigns/Meadow/10"), at("campaigns/Meadow/9") + 1);
  EXPECT_EQ(l.back(), "mine.txt");
  EXPECT_EQ(size_t(at("notes.txt")), l.size());
  EXPECT_EQ(size_t(at("campaigns")), l.size());
  size_t shipped = 0;
  for (const auto& c : fs::directory_iterator("campaigns"))
    if (c.is_directory())
      for ([[maybe_unused]] const auto& f : fs::directory_iterator(c.path())) shipped++;
  EXPECT_EQ(l.size(), shipped + 1);
}
