// tumbo-edit on a level of 10,000 balls and 10,000 links: one editor frame
// (the game's drawing of the level, the overlays, the panel) and one edit
// (a ball moved: the figures, the picking grid and the checker made again).
// A frame must stay within 16.7 ms for 60 frames a second.
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
  f.ed->sel = {{5050}, {}};
  for (auto _ : state) {
    const edit::document before = f.ed->doc;
    edit::moveselected(f.ed->doc, f.ed->sel, 1, 0);
    f.ed->change(before);
  }
}
BENCHMARK(EditorMoveBall)->Unit(benchmark::kMillisecond);

void EditorPick(benchmark::State& state) {
  fixture& f = shared();
  int found = 0;
  for (auto _ : state) found += f.ed->index.ballat(f.ed->doc, 2001, 2001) >= 0;
  benchmark::DoNotOptimize(found);
}
BENCHMARK(EditorPick);

}  // namespace

BENCHMARK_MAIN();
