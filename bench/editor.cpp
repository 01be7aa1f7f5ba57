// tumbo-edit on a level of 10,000 balls and 10,000 links: one editor frame
// (the game's drawing of the level, the overlays, the panel, a slice of the
// checker), and edits committed and undone: the step recorded, the world,
// the picking grid and the checker's marks following it. A frame must stay
// within 16.7 ms for 60 frames a second, an edit well within one.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "editor/editor.h"
#include "platform/headless/headless.h"

namespace {

// 100 rows of 100 balls, each row a chain of 99 links, with one more link
// down from each row's first ball: 10,000 balls, 10,000 links.
edit::document bigdoc() {
  edit::document d;
  for (int r = 0; r < 100; r++)
    for (int c = 0; c < 100; c++) {
      edit::edball b;
      b.x = b.anchorx = c * 40.0;
      b.y = b.anchory = r * 40.0;
      d.balls.push_back(b);
    }
  for (int r = 0; r < 100; r++) {
    for (int c = 0; c + 1 < 100; c++) d.links.push_back({r * 100 + c, r * 100 + c + 1, 40, 3, {}, "normal"});
    d.links.push_back({r * 100, ((r + 1) % 100) * 100 + 50, 40, 3, {}, r == 0 ? "stop" : "normal"});
  }
  return d;
}

struct fixture {
  fixture() {
    std::filesystem::current_path(TUMBO_SOURCE_DIR);  // for media/
    headless::install();
    ed = std::make_unique<edit::editor>(1280, 800);
    ed->doc = bigdoc();
    const edit::document empty;
    ed->change(empty);
    // The whole level in view.
    ed->zoom = 0.2;
    ed->cx = 2000;
    ed->cy = 2000;
    ed->numbers = true;
    headless::set_script({}, false);
  }
  std::unique_ptr<edit::editor> ed;
};

fixture& shared() {
  static fixture f;
  return f;
}

void EditorFrame(benchmark::State& state) {
  fixture& f = shared();
  for (auto _ : state) {
    headless::clear_calls();
    f.ed->frame();
  }
  state.counters["balls"] = double(f.ed->doc.balls.size());
}
BENCHMARK(EditorFrame)->Unit(benchmark::kMillisecond);

void EditorMoveBall(benchmark::State& state) {
  fixture& f = shared();
  edit::editor& ed = *f.ed;
  ed.sel = {{5050}, {}};
  for (auto _ : state) {
    edit::step s = ed.changing(ed.sel.balls, {});
    edit::moveselected(ed.doc, ed.sel, 1, 0);
    ed.changed(std::move(s));
  }
  ed.checknow();
}
BENCHMARK(EditorMoveBall)->Unit(benchmark::kMicrosecond);

void EditorSetRadius(benchmark::State& state) {
  fixture& f = shared();
  edit::editor& ed = *f.ed;
  ed.sel = {{5050}, {}};
  for (auto _ : state) {
    edit::step s = ed.changing(ed.sel.balls, {});
    ed.doc.balls[5050].r = ed.doc.balls[5050].r == 15 ? 16 : 15;
    ed.changed(std::move(s));
  }
  ed.checknow();
}
BENCHMARK(EditorSetRadius)->Unit(benchmark::kMicrosecond);

void EditorUndoRedo(benchmark::State& state) {
  fixture& f = shared();
  edit::editor& ed = *f.ed;
  ed.sel = {{5050}, {}};
  edit::step s = ed.changing(ed.sel.balls, {});
  edit::moveselected(ed.doc, ed.sel, 1, 0);
  ed.changed(std::move(s));
  for (auto _ : state) {
    ed.undo();
    ed.redo();
  }
  ed.checknow();
}
BENCHMARK(EditorUndoRedo)->Unit(benchmark::kMicrosecond);

// A ball added and the addition undone.
void EditorAddBallAndUndo(benchmark::State& state) {
  fixture& f = shared();
  edit::editor& ed = *f.ed;
  for (auto _ : state) {
    const auto before = ed.adding();
    edit::edball b;
    b.x = b.anchorx = 2010;
    b.y = b.anchory = 2010;
    ed.doc.balls.push_back(b);
    ed.added(before);
    ed.undo();
  }
  ed.checknow();
}
BENCHMARK(EditorAddBallAndUndo)->Unit(benchmark::kMicrosecond);

// A ball in the middle deleted (its links go, the balls after it are
// renumbered) and the deletion undone.
void EditorDeleteBallAndUndo(benchmark::State& state) {
  fixture& f = shared();
  edit::editor& ed = *f.ed;
  for (auto _ : state) {
    ed.remove({{5050}, {}});
    ed.undo();
  }
  ed.checknow();
}
BENCHMARK(EditorDeleteBallAndUndo)->Unit(benchmark::kMicrosecond);

// What an edit leaves to the next frame: an added ball, then the frame that
// makes the figures again and checks it, and the same for its undoing.
void EditorAddBallThenFrames(benchmark::State& state) {
  fixture& f = shared();
  edit::editor& ed = *f.ed;
  for (auto _ : state) {
    const auto before = ed.adding();
    edit::edball b;
    b.x = b.anchorx = 2010;
    b.y = b.anchory = 2010;
    ed.doc.balls.push_back(b);
    ed.added(before);
    headless::clear_calls();
    ed.frame();
    ed.undo();
    headless::clear_calls();
    ed.frame();
  }
}
BENCHMARK(EditorAddBallThenFrames)->Unit(benchmark::kMillisecond);

// One frame's slice of the checker: 128 records.
void EditorCheckSlice(benchmark::State& state) {
  fixture& f = shared();
  edit::editor& ed = *f.ed;
  int next = 0;
  for (auto _ : state) {
    for (int i = 0; i < 128; i++) ed.checker.markball((next++ * 7919) % 10000);
    ed.checker.work(ed.doc, 128);
  }
}
BENCHMARK(EditorCheckSlice)->Unit(benchmark::kMicrosecond);

void EditorPick(benchmark::State& state) {
  fixture& f = shared();
  int found = 0;
  for (auto _ : state) found += f.ed->picking().ballat(f.ed->doc, 2001, 2001) >= 0;
  benchmark::DoNotOptimize(found);
}
BENCHMARK(EditorPick);

}  // namespace

BENCHMARK_MAIN();
