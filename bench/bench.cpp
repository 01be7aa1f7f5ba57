// The game's hot paths on generated worlds and on the shipped levels. Every
// figure that matters is paired with a baseline measured in the same run:
// the world frame with the arithmetic it cannot avoid (the floor), level
// loading with the literal label propagation. bench/report.py turns the JSON
// output into the table of bench/README.md.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <unordered_map>
#include <utility>

#include "bench/worlds.h"
#include "platform/headless/headless.h"

namespace fs = std::filesystem;
using benchworld::shape;
using benchworld::worldframe;

namespace {

constexpr double kDeg = 180.0 / M_PI;

// Sprites and font loaded once, as the game loads them, and shared by every
// game the benchmarks make.
game& media() {
  static std::unique_ptr<game> m = [] {
    headless::install();
    auto g = std::make_unique<game>();
    g->changeres(0, 3, 0);
    return g;
  }();
  return *m;
}

std::unique_ptr<game> newgame() {
  game& m = media();
  auto g = std::make_unique<game>();
  g->xwin = m.xwin;
  g->ywin = m.ywin;
  g->delimiter = m.xwin;
  g->tumbosprite = m.tumbosprite;
  g->ballsprite = m.ballsprite;
  g->platformsprite = m.platformsprite;
  g->sparki = m.sparki;
  g->gamefont = m.gamefont;
  return g;
}


std::unique_ptr<game> world(shape s, int n, bool all) {
  auto g = newgame();
  benchworld::build(*g, s, n);
  benchworld::view(*g, all);
  std::string result = "play";
  worldframe(*g, result);  // on-screen lists and masses as in play
  return g;
}

void worldcounters(benchmark::State& st, const game& g) {
  st.counters["balls"] = static_cast<double>(g.osballlist.size());
  st.counters["links"] = static_cast<double>(g.oslinklist.size());
  st.counters["tensions"] = static_cast<double>(g.ostensionlist.size());
  st.counters["onscreen"] = static_cast<double>(g.osballlist.size()) / static_cast<double>(g.balllist.size());
}

void BM_WorldFrame(benchmark::State& st) {
  auto g = world(static_cast<shape>(st.range(0)), static_cast<int>(st.range(1)), st.range(2) != 0);
  std::string result = "play";
  for (auto _ : st) {
    worldframe(*g, result);
    benchmark::ClobberMemory();
  }
  worldcounters(st, *g);
}

// The arithmetic a frame cannot avoid, on the same world's numbers laid out
// in plain arrays: per pass, a square root per link, and per joint the two
// arc tangents in degrees and the two conversions to single precision.
struct floorwork {
  std::vector<double> link;   // dx, dy per link
  std::vector<double> joint;  // dx1, dy1, dx2, dy2, angle per joint

  explicit floorwork(const game& g) {
    for (const struct link* l : g.oslinklist) {
      link.push_back(l->ball2->x - l->ball1->x);
      link.push_back(l->ball2->y - l->ball1->y);
    }
    for (const tension* t : g.ostensionlist) {
      joint.push_back(t->ball2->x - t->ball1->x);
      joint.push_back(t->ball2->y - t->ball1->y);
      joint.push_back(t->ball3->x - t->ball2->x);
      joint.push_back(t->ball3->y - t->ball2->y);
      joint.push_back(t->angle);
    }
  }
  double links() const {
    double sum = 0;
    for (size_t i = 0; i < link.size(); i += 2)
      sum += std::sqrt(link[i] * link[i] + link[i + 1] * link[i + 1]);
    return sum;
  }
  double joints() const {
    double sum = 0;
    for (size_t i = 0; i < joint.size(); i += 5) {
      const double a1 = std::atan2(joint[i + 1], -joint[i]) * kDeg;
      const double a2 = std::atan2(joint[i + 3], -joint[i + 2]) * kDeg;
      const float theta = static_cast<float>(a1 - a2 + 180);
      sum += static_cast<float>(theta - joint[i + 4]);
    }
    return sum;
  }
};

void BM_WorldFloor(benchmark::State& st) {
  auto g = world(static_cast<shape>(st.range(0)), static_cast<int>(st.range(1)), st.range(2) != 0);
  const floorwork f(*g);
  for (auto _ : st) {
    double sum = 0;
    for (int pass = 0; pass < kConstraintPasses; pass++) {
      sum += f.joints();
      sum += f.links();
    }
    benchmark::DoNotOptimize(sum);
  }
  worldcounters(st, *g);
}

// The frame and its floor taken in turns, each timed on the thread's own CPU
// clock, so that a change in the machine's load between two benchmarks
// cannot tilt their ratio.
double threadms() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// How fast the processor runs this thread just now: a chain of dependent
// additions takes one cycle each, so additions per second are the clock in
// effect. This machine is a virtual one on a shared host, and its clock in
// effect moves (2.4 to 2.9 GHz within a minute has been seen); taken at the
// start and at the end of a run, it tells how fast the run's machine was.
void BM_ClockProbe(benchmark::State& st) {
  constexpr int kChain = 10'000'000;
  double ms = 0;
  for (auto _ : st) {
    const double t0 = threadms();
    uint64_t x = 0;
    for (int i = 0; i < kChain; i++) {
#if defined(__x86_64__)
      asm volatile("add $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0" : "+r"(x));
#else
      benchmark::DoNotOptimize(x += 4);
#endif
    }
    benchmark::DoNotOptimize(x);
    ms += threadms() - t0;
  }
  st.counters["ghz"] = 4.0 * kChain * static_cast<double>(st.iterations()) / (ms * 1e6);
}

void BM_FrameAgainstFloor(benchmark::State& st) {
  auto g = world(static_cast<shape>(st.range(0)), static_cast<int>(st.range(1)), st.range(2) != 0);
  const floorwork f(*g);
  std::string result = "play";
  double framems = 0, floorms = 0;
  for (auto _ : st) {
    const double t0 = threadms();
    worldframe(*g, result);
    benchmark::ClobberMemory();
    const double t1 = threadms();
    double sum = 0;
    for (int pass = 0; pass < kConstraintPasses; pass++) {
      sum += f.joints();
      sum += f.links();
    }
    benchmark::DoNotOptimize(sum);
    const double t2 = threadms();
    framems += t1 - t0;
    floorms += t2 - t1;
  }
  const double n = static_cast<double>(st.iterations());
  st.counters["frame_ms"] = framems / n;
  st.counters["floor_ms"] = floorms / n;
  st.counters["ratio"] = framems / floorms;
  worldcounters(st, *g);
}

// The frame's 20 constraint passes with only one kind of constraint in view,
// and the floor of that kind, per item and pass.
void itemrate(benchmark::State& st, size_t items) {
  st.counters["per_item"] =
      benchmark::Counter(static_cast<double>(items) * kConstraintPasses,
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LinkPasses(benchmark::State& st) {
  auto g = world(shape::mesh, static_cast<int>(st.range(0)), true);
  g->ostensionlist.clear();
  for (auto _ : st) g->constraintpasses();
  itemrate(st, g->oslinklist.size());
}

void BM_LinkFloor(benchmark::State& st) {
  auto g = world(shape::mesh, static_cast<int>(st.range(0)), true);
  const floorwork f(*g);
  for (auto _ : st) {
    double sum = 0;
    for (int pass = 0; pass < kConstraintPasses; pass++) sum += f.links();
    benchmark::DoNotOptimize(sum);
  }
  itemrate(st, g->oslinklist.size());
}

void BM_TensionPasses(benchmark::State& st) {
  auto g = world(shape::mesh, static_cast<int>(st.range(0)), true);
  g->oslinklist.clear();
  for (auto _ : st) g->constraintpasses();
  itemrate(st, g->ostensionlist.size());
}

void BM_TensionFloor(benchmark::State& st) {
  auto g = world(shape::mesh, static_cast<int>(st.range(0)), true);
  const floorwork f(*g);
  for (auto _ : st) {
    double sum = 0;
    for (int pass = 0; pass < kConstraintPasses; pass++) sum += f.joints();
    benchmark::DoNotOptimize(sum);
  }
  itemrate(st, g->ostensionlist.size());
}

// The same passes on the records themselves (tensionballs and shiftballs, as
// the tests call them): what the compact solver saves.
void BM_RecordPasses(benchmark::State& st) {
  auto g = world(shape::mesh, static_cast<int>(st.range(0)), true);
  for (auto _ : st) {
    for (int pass = 0; pass < kConstraintPasses; pass++) {
      g->tensionballs();
      g->shiftballs();
    }
  }
  worldcounters(st, *g);
}

void BM_SolverPasses(benchmark::State& st) {
  auto g = world(shape::mesh, static_cast<int>(st.range(0)), true);
  for (auto _ : st) g->constraintpasses();
  worldcounters(st, *g);
}

// ---- Level loading

// A pile level of about n balls, written once by the game's own writer.
const std::string& levelfile(int n) {
  static std::map<int, std::string> files;
  auto it = files.find(n);
  if (it != files.end()) return it->second;
  const fs::path dir = fs::temp_directory_path() / ("tumbo-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / ("pile" + std::to_string(n))).string();
  auto g = newgame();
  benchworld::build(*g, shape::pile, n);
  if (!g->savemarionet(path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return files[n] = path;
}

// Reading, grouping and numbering, as a level starts; the old world is
// dropped outside the measured time.
void BM_Load(benchmark::State& st) {
  const std::string& path = levelfile(static_cast<int>(st.range(0)));
  auto g = newgame();
  for (auto _ : st) {
    g->openmarionet(1, path);
    st.PauseTiming();
    g->forgetworld();
    st.ResumeTiming();
  }
  g->openmarionet(1, path);
  st.counters["balls"] = static_cast<double>(g->balllist.size());
  st.counters["figures"] = static_cast<double>(g->marionetobjectlist.size());
  st.counters["groups"] = static_cast<double>(g->grouplist.size());
}

// The growth from 10^3 to 10^5 balls with both sizes loaded in turns, each
// load timed apart on the thread's CPU clock: a change in the machine's
// speed between two benchmarks cannot tilt the ratio. Each iteration loads
// the small level as often as it takes to weigh about as much as one large
// load.
void BM_LoadGrowth(benchmark::State& st) {
  const int small = 1000, large = 100000, repeats = large / small;
  const std::string& smallpath = levelfile(small);
  const std::string& largepath = levelfile(large);
  auto g = newgame();
  double smallms = 0, largems = 0;
  size_t smallballs = 0, largeballs = 0;
  for (auto _ : st) {
    for (int i = 0; i < repeats; i++) {
      const double t0 = threadms();
      g->openmarionet(1, smallpath);
      smallms += threadms() - t0;
      smallballs = g->balllist.size();
      g->forgetworld();
    }
    const double t0 = threadms();
    g->openmarionet(1, largepath);
    largems += threadms() - t0;
    largeballs = g->balllist.size();
    g->forgetworld();
  }
  const double n = static_cast<double>(st.iterations());
  const double smallavg = smallms / (n * repeats), largeavg = largems / n;
  st.counters["small_ms"] = smallavg;
  st.counters["large_ms"] = largeavg;
  st.counters["balls"] = static_cast<double>(largeballs);
  st.counters["growth"] =
      (largeavg / smallavg) / (static_cast<double>(largeballs) / static_cast<double>(smallballs));
}

void BM_DefineObjects(benchmark::State& st) {
  auto g = newgame();
  g->openmarionet(1, levelfile(static_cast<int>(st.range(0))));
  for (auto _ : st) g->defineobjects();
  st.counters["balls"] = static_cast<double>(g->balllist.size());
}

// Figures and groups by the literal label propagation: a full pass over the
// links once per ball for every new figure, then over the pairs once per
// figure for every new group.
std::pair<int, int> literalgrouping(const game& g) {
  std::unordered_map<const ball*, int> index;
  for (size_t i = 0; i < g.balllist.size(); i++) index[g.balllist[i].get()] = static_cast<int>(i);
  const int nb = static_cast<int>(g.balllist.size());
  std::vector<int> num(nb, 0);
  std::vector<std::pair<int, int>> ends;
  for (const auto& l : g.linklist) ends.emplace_back(index.at(l->ball1), index.at(l->ball2));
  int n = 0;
  for (int i = 0; i < nb; i++) {
    if (num[i] != 0) continue;
    num[i] = ++n;
    for (int rep = 0; rep < nb; rep++) {
      for (const auto& [a, b] : ends) {
        if (num[a] != 0) num[b] = num[a];
        if (num[b] != 0) num[a] = num[b];
      }
    }
  }
  std::vector<std::pair<int, int>> pairs;
  for (const auto& l : g.virtuallinklist) {
    const int o1 = num[index.at(l->ball1)], o2 = num[index.at(l->ball2)];
    bool held = false;
    for (const auto& p : pairs) held = held || p == std::pair{o1, o2} || p == std::pair{o2, o1};
    if (!held) pairs.emplace_back(o1, o2);
  }
  std::vector<int> gn(n, 0);
  int ng = 0;
  for (int f = 0; f < n; f++) {
    if (gn[f] != 0) continue;
    gn[f] = ++ng;
    for (int rep = 0; rep < n; rep++) {
      for (const auto& [o1, o2] : pairs) {
        if (gn[o1 - 1] != 0) gn[o2 - 1] = gn[o1 - 1];
        if (gn[o2 - 1] != 0) gn[o1 - 1] = gn[o2 - 1];
      }
    }
  }
  return {n, ng};
}

void BM_LiteralGrouping(benchmark::State& st) {
  auto g = newgame();
  g->openmarionet(1, levelfile(static_cast<int>(st.range(0))));
  for (auto _ : st) {
    const auto r = literalgrouping(*g);
    if (r.first != static_cast<int>(g->marionetobjectlist.size()) ||
        r.second != static_cast<int>(g->grouplist.size())) {
      st.SkipWithError("literal grouping disagrees with defineobjects");
      break;
    }
  }
  st.counters["balls"] = static_cast<double>(g->balllist.size());
}

// ---- Culling and the draw list

// findonscreen and drawballlinks over 20,000 items in view (chains of 10
// balls and 9 links), recorded by the headless backend.
void BM_CullAndDraw(benchmark::State& st) {
  auto g = world(shape::chain, 10530, true);
  for (auto _ : st) {
    g->findonscreen(0);
    g->drawballlinks();
    headless::clear_calls();
  }
  st.counters["items"] = static_cast<double>(g->osballlist.size() + g->oslinklist.size());
}

void BM_Cull(benchmark::State& st) {
  auto g = world(shape::chain, 10530, true);
  for (auto _ : st) g->findonscreen(0);
  st.counters["items"] = static_cast<double>(g->osballlist.size() + g->oslinklist.size());
}

// ---- Shipped levels: the whole frame, drawing included

void BM_LevelFrame(benchmark::State& st, const std::string& path) {
  auto g = newgame();
  g->lives = 5;
  g->setuplevelfile(path, 1);
  std::string result = "play";
  int frames = 0;
  for (auto _ : st) {
    g->levelframe(result, 1, 0);
    headless::clear_calls();
    // A level is played afresh every 600 frames, as after a loss.
    if (++frames % 600 == 0) {
      st.PauseTiming();
      g->setuplevelfile(path, 1);
      result = "play";
      st.ResumeTiming();
    }
  }
  st.counters["balls"] = static_cast<double>(g->balllist.size());
}

// ---- Start-up on the SDL backend (dummy video driver)

// Runs the game's own start-up in a child process, which ends at the first
// main-menu frame (see startup.cpp); the time is from before the fork to the
// child's end.
void BM_Startup(benchmark::State& st) {
  const fs::path dir = fs::temp_directory_path() / ("tumbo-bench-start-" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::remove(dir / "media");
  fs::create_directory_symlink(fs::current_path() / "media", dir / "media");
  {
    // A second run: the preferences exist, so no first-run question.
    std::FILE* f = std::fopen((dir / "prefs.txt").c_str(), "w");
    std::fputs("0\r\n3\r\n0\r\n3\r\n5\r\n5\r\n", f);
    std::fclose(f);
  }
  for (auto _ : st) {
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir.c_str()) != 0) _exit(3);
      setenv("SDL_VIDEODRIVER", "dummy", 1);
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      execl(TUMBO_STARTUP, TUMBO_STARTUP, static_cast<char*>(nullptr));
      _exit(4);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto t1 = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      st.SkipWithError("the start-up child did not reach the main menu");
      break;
    }
    st.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  fs::remove_all(dir);
}

void worldargs(benchmark::internal::Benchmark* b) {
  for (int s = 0; s < 3; s++) {
    for (int n : {100, 1000, 10000, 100000}) {
      for (int all : {1, 0}) b->Args({s, n, all});
    }
  }
  b->ArgNames({"shape", "n", "all"})->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_ClockProbe)->Arg(0)->ArgName("start")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorldFrame)->Apply(worldargs);
BENCHMARK(BM_WorldFloor)->Apply(worldargs);
BENCHMARK(BM_FrameAgainstFloor)
    ->Args({static_cast<int>(shape::mesh), 10000, 1})
    ->ArgNames({"shape", "n", "all"})
    ->MinTime(2)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LinkPasses)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LinkFloor)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TensionPasses)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TensionFloor)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordPasses)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolverPasses)->Arg(10000)->Unit(benchmark::kMicrosecond);
// The figures with a target are taken five times over and reported by their
// median: the machine is shared, and a single run can land in someone
// else's busy second.
constexpr int kRepeats = 5;
BENCHMARK(BM_Load)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Repetitions(kRepeats)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGrowth)
    ->MinTime(2)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DefineObjects)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// Quadratic and worse: only where it ends in seconds.
BENCHMARK(BM_LiteralGrouping)->Arg(1000)->Arg(2000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CullAndDraw)->Repetitions(kRepeats)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cull)->Repetitions(kRepeats)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Startup)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClockProbe)->Arg(1)->ArgName("end")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // Media and shipped levels are read from the source tree.
  fs::current_path(TUMBO_SOURCE_DIR);
  media();
  std::vector<std::string> levels;
  if (fs::is_directory("campaigns")) {
    for (const auto& c : fs::directory_iterator("campaigns")) {
      if (!c.is_directory()) continue;  // the folder's README
      for (const auto& l : fs::directory_iterator(c.path())) levels.push_back(l.path().generic_string());
    }
  }
  std::sort(levels.begin(), levels.end(), [](const std::string& a, const std::string& b) {
    const auto split = [](const std::string& p) {
      const size_t s = p.rfind('/');
      return std::pair{p.substr(0, s), std::atoi(p.c_str() + s + 1)};
    };
    return split(a) < split(b);
  });
  for (const std::string& level : levels) {
    benchmark::RegisterBenchmark(("BM_LevelFrame/" + level).c_str(), BM_LevelFrame, level)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(fs::temp_directory_path() / ("tumbo-bench-" + std::to_string(getpid())), ec);
  return 0;
}
