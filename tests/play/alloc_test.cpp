// Steady-state play allocates nothing: once the first frame of a level has
// sized the per-frame lists, the draw list and the spark pool, a frame only
// reuses them. The global allocator is replaced in this file with one that
// counts, but only while a test switches counting on, so the other tests of
// this program are not affected.
#include <execinfo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "tests/play/level_support.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
// TUMBO_ALLOC_TRACE=1 prints the call stack of every counted allocation
// (addresses for addr2line -f -C -e test_play).
const bool tracing = std::getenv("TUMBO_ALLOC_TRACE") != nullptr;

void note() {
  if (!counting.load(std::memory_order_relaxed)) return;
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (tracing) {
    counting = false;  // backtrace may allocate on its first use
    void* frames[16];
    const int n = backtrace(frames, 16);
    backtrace_symbols_fd(frames, n, STDERR_FILENO);
    write(STDERR_FILENO, "--\n", 3);
    counting = true;
  }
}

void* allocate(std::size_t n) {
  note();
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}

void* allocatealigned(std::size_t n, std::align_val_t a) {
  note();
  const std::size_t al = static_cast<std::size_t>(a);
  if (void* p = std::aligned_alloc(al, (n + al - 1) / al * al)) return p;
  throw std::bad_alloc();
}

// Counts the allocations made while it lives.
class counter {
 public:
  counter() {
    allocations = 0;
    counting = true;
  }
  ~counter() { counting = false; }
  long count() const { return allocations.load(); }
};

}  // namespace

void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  try {
    return allocate(n);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void* operator new(std::size_t n, std::align_val_t a) { return allocatealigned(n, a); }
void* operator new[](std::size_t n, std::align_val_t a) { return allocatealigned(n, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

using levelplay::script;
using levelplay::session;

constexpr int kFrames = 600;

// Running, jumping and turning back: the player's ball meets links and balls,
// so the collision pass and the impact sound take part.
script restless() {
  script s;
  while (s.size() < kFrames + 10) {
    s.hold({KEY_RIGHT}, 40)
        .hold({KEY_RIGHT, KEY_SPACE}, 20)
        .hold({KEY_LEFT}, 30)
        .hold({KEY_SPACE}, 10)
        .idle(5);
  }
  return s;
}

// Plays frames of the level as the game does (sound on, the jump sound
// loaded) and returns the allocations made after the first frame.
long allocationsafterfirstframe(const std::string& level, int frames, int& played) {
  session s(harness::source("campaigns"));
  game& g = *s.g;
  g.jumpsound = LoadSoundFile("media/jump.wav");
  g.optsoundsvol = 5;
  g.lives = 5;
  g.setuplevelfile(level, 1);
  restless().start(false);
  std::string result = "play";
  g.levelframe(result, 1, 0);
  // The recorded draw calls are the test's, not the game's: drop them every
  // frame, as a long recording would otherwise grow without end.
  headless::clear_calls();
  counter c;
  for (played = 1; played < frames; played++) {
    g.levelframe(result, 1, 0);
    headless::clear_calls();
  }
  return c.count();
}

TEST(Allocation, CounterSeesAllocationsOnlyWhileSwitchedOn) {
  {
    counter c;
    auto* p = new std::vector<int>(1000);
    delete p;
    EXPECT_EQ(c.count(), 2);  // the vector and its elements
  }
  const long before = allocations.load();
  auto* q = new int(5);
  delete q;
  EXPECT_EQ(allocations.load(), before);
}

TEST(Allocation, ShippedLevelsPlayWithoutAllocatingAfterTheFirstFrame) {
  const std::string root = harness::source("campaigns");
  std::vector<std::string> levels;
  for (const auto& campaign : std::filesystem::directory_iterator(root)) {
    if (!campaign.is_directory()) continue;  // the folder's README
    for (const auto& level : std::filesystem::directory_iterator(campaign.path())) {
      levels.push_back("campaigns/" + campaign.path().filename().string() + "/" +
                       level.path().filename().string());
    }
  }
  // Before any campaign ships, the bridge fixture stands in for one.
  if (levels.empty()) levels.push_back(harness::data("levels/bridge"));
  std::sort(levels.begin(), levels.end());
  for (const std::string& level : levels) {
    int played = 0;
    EXPECT_EQ(allocationsafterfirstframe(level, kFrames, played), 0) << level;
    EXPECT_EQ(played, kFrames) << level;
  }
}

}  // namespace

// A fresh start (a new backend, as between the levels a tool plays) stops
// every sound; the channels it stops are used again by the next cues, so a
// long run of levels never wears the pool down to allocating in play.
TEST(Allocation, ChannelsStoppedByAFreshStartAreUsedAgain) {
  harness::gamedir dir;
  headless::install();
  sound s = LoadSoundFile(harness::source("media/jump.wav"));
  ASSERT_TRUE(s);
  auto cueall = [&] {
    for (int i = 0; i < 12; i++) {
      channel c = s.Cue();
      c.SetPaused(0);
    }
  };
  cueall();
  headless::install();
  counter c;
  cueall();
  EXPECT_EQ(c.count(), 0);
}
