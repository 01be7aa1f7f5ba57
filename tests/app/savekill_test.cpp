// Saves that survive the worst: the process killed at any moment while it
// writes "scores.txt" and "prefs.txt", a disk that fills up, a folder that
// cannot be written. Each file is afterwards the old one or the new one,
// whole, and the game keeps its settings and tables in memory.
//
// TUMBO_SAVEKILL_TRIALS sets the number of kills (50 by default).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "platform/headless/headless.h"
#include "tests/support/harness.h"
#include "world/game.h"

namespace {

namespace fs = std::filesystem;

// Two clearly different states of the settings and the tables.
void setstate(game& g, int which) {
  g.optres = which ? 1 : 3;
  g.optfullscr = which;
  g.opttrailsize = which ? 9 : 3;
  g.optsoundsvol = which ? 0 : 5;
  g.optmusicvol = which ? 10 : 5;
  for (int d = 0; d < 3; d++) {
    for (int i = 0; i < 20; i++) {
      g.scoreslist[d][i] = {which ? 100000 - i * 7 - d : 0, which ? "PLAYER " + std::to_string(i) : "NOBODY"};
    }
  }
}

struct SaveKill : ::testing::Test {
  void SetUp() override {
    headless::install();
    dir = std::make_unique<harness::gamedir>();
    g.initscores();
    for (int which : {1, 0}) {
      setstate(g, which);
      g.writescores();
      g.writeprefs();
      scores[which] = dir->read("scores.txt");
      prefs[which] = dir->read("prefs.txt");
    }
    ASSERT_NE(scores[0], scores[1]);
    ASSERT_NE(prefs[0], prefs[1]);
  }
  // Runs body in a child process and returns its exit status.
  template <typename F>
  int inchild(F body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
  }
  int leftovers() const {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir->path())) {
      const std::string name = e.path().filename().string();
      if (name != "media" && name != "campaigns" && name != "scores.txt" && name != "prefs.txt") n++;
    }
    return n;
  }
  std::unique_ptr<harness::gamedir> dir;
  game g;
  std::string scores[2], prefs[2];
};

TEST_F(SaveKill, KilledWhileSavingLeavesOldOrNewFiles) {
  const char* env = std::getenv("TUMBO_SAVEKILL_TRIALS");
  const int trials = env ? std::atoi(env) : 50;
  std::mt19937 rng(1234);
  // Kills are spread over a few saves' time, measured here, so that a slow
  // disk still sees saves finish between kills.
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 4; i++) {
    g.writescores();
    g.writeprefs();
  }
  const auto persave =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count() /
      4;
  const unsigned spread = unsigned(std::max<long long>(20000, 3 * persave));
  int bothkinds[2] = {0, 0};
  for (int t = 0; t < trials; t++) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // Saves the two states in turn until it is killed.
      for (int which = 1;; which ^= 1) {
        setstate(g, which);
        g.writescores();
        g.writeprefs();
      }
    }
    usleep(rng() % spread);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const std::string s = dir->read("scores.txt"), p = dir->read("prefs.txt");
    ASSERT_TRUE(s == scores[0] || s == scores[1])
        << "trial " << t << ": scores.txt of " << s.size() << " bytes";
    ASSERT_TRUE(p == prefs[0] || p == prefs[1]) << "trial " << t << ": prefs.txt of " << p.size() << " bytes";
    bothkinds[s == scores[1]]++;
  }
  // Both outcomes happen, so the kills did land in the middle of saving.
  if (trials >= 50) {
    EXPECT_GT(bothkinds[0] * bothkinds[1], 0);
  }
  std::printf("savekill: %d kills, scores old/new %d/%d, %d stray temporary files\n", trials, bothkinds[0],
              bothkinds[1], leftovers());
  // Kills never pile up temporaries: each file has one, reused by every save.
  EXPECT_LE(leftovers(), 2);
}

// A disk that fills up (the file size limit stands in for it): nothing is
// reported, the old files stay whole, no partial file is left, and the game
// goes on with its new settings and tables in memory.
TEST_F(SaveKill, FullDiskKeepsOldFilesAndMemory) {
  const int status = inchild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit tiny = {8, 8};
    if (setrlimit(RLIMIT_FSIZE, &tiny) != 0) return 3;
    setstate(g, 1);
    g.writescores();
    g.writeprefs();
    if (g.optres != 1 || g.opttrailsize != 9 || g.scoreslist[2][0].name != "PLAYER 0") return 4;
    g.initprefs();
    g.readprefs();  // reads the old file: the new one never made it
    return g.optres == 3 && g.opttrailsize == 3 ? 0 : 5;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(dir->read("scores.txt"), scores[0]);
  EXPECT_EQ(dir->read("prefs.txt"), prefs[0]);
  EXPECT_EQ(leftovers(), 0);
}

// A folder the game may not write to: the same.
TEST_F(SaveKill, ReadOnlyFolderKeepsOldFilesAndMemory) {
  ASSERT_EQ(chmod(dir->path().c_str(), 0555), 0);
  const int status = inchild([&] {
    // Root writes anywhere; become an ordinary user to see the folder as others do.
    if (geteuid() == 0 && setuid(65534) != 0) return 3;
    if (access(".", W_OK) == 0) return 6;
    setstate(g, 1);
    g.writescores();
    g.writeprefs();
    if (g.optfullscr != 1 || g.optmusicvol != 10 || g.scoreslist[0][3].points != 100000 - 21) return 4;
    game fresh;
    fresh.initscores();
    fresh.readscores();
    return fresh.scoreslist[0][3].name == "NOBODY" ? 0 : 5;
  });
  chmod(dir->path().c_str(), 0755);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(dir->read("scores.txt"), scores[0]);
  EXPECT_EQ(dir->read("prefs.txt"), prefs[0]);
  EXPECT_EQ(leftovers(), 0);
}

}  // namespace
