// Reading and writing level files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "tests/support/harness.h"
#include "tests/world/worldkit.h"

namespace {

// Lines joined with CR LF, as level files are written.
std::string lines(const std::vector<std::string>& ls) {
  std::string s;
  for (const auto& l : ls) s += l + "\r\n";
  return s;
}

std::vector<std::string> ballrecord(int number, double x, double y, const std::string& kind = "normal",
                                    const std::string& marker = "New Ball") {
  return {marker,
          std::to_string(number),
          "1.5",
          std::to_string(x),
          std::to_string(y),
          "12",
          "0",
          "0",
          "0",
          "0",
          "10",
          "20",
          "30",
          kind,
          "0"};
}

std::vector<std::string> linkrecord(int n1, int n2, double dist, const std::string& kind = "normal",
                                    const std::string& marker = "New Link") {
  return {marker, std::to_string(n1), std::to_string(n2), std::to_string(dist), "4", "1", "2", "3", kind};
}

std::vector<std::string> cat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

int indexof(const game& g, const ball* b) {
  for (size_t i = 0; i < g.balllist.size(); i++)
    if (g.balllist[i].get() == b) return static_cast<int>(i);
  return -1;
}

// The world's structure as ball indices, for comparing loads.
std::vector<std::vector<int>> topology(const game& g) {
  std::vector<std::vector<int>> t;
  for (const auto& l : g.linklist) t.push_back({0, indexof(g, l->ball1), indexof(g, l->ball2)});
  for (const auto& l : g.virtuallinklist) t.push_back({1, indexof(g, l->ball1), indexof(g, l->ball2)});
  for (const auto& x : g.TensionList)
    t.push_back({2, indexof(g, x->ball1), indexof(g, x->ball2), indexof(g, x->ball3)});
  return t;
}

}  // namespace

TEST(LevelFile, ReadsEveryFieldOfEveryRecord) {
  headless::install();
  harness::gamedir dir;
  dir.write("level",
            lines({"2",           "New Ball", "1",  "2.5",        "100",      "-200.25",  "20",
                   "1",           "11",       "12", "0.75",       "255",      "128",      "0",
                   "damaging",    "1",        "",   "",           "New Ball", "2",        "1",
                   "300",         "200",      "15", "0",          "0",        "0",        "0",
                   "1",           "2",        "3",  "background", "0",        "New Link", "1",
                   "2",           "250.5",    "6",  "9",          "8",        "7",        "stop",
                   "New Tension", "2",        "1",  "2",          "90",       "300",      "New Virtual Link",
                   "2",           "1"}));
  game g;
  g.openmarionet(1, "level");
  ASSERT_EQ(g.balllist.size(), 2u);
  const ball& b = *g.balllist[0];
  EXPECT_EQ(b.number, 1);
  EXPECT_EQ(b.m, 2.5);
  EXPECT_EQ(b.x, 100);
  EXPECT_EQ(b.y, -200.25);
  EXPECT_EQ(b.oldx, 100);
  EXPECT_EQ(b.oldy, -200.25);
  EXPECT_EQ(b.xv, 0);
  EXPECT_EQ(b.yv, 0);
  EXPECT_EQ(b.r, 20);
  EXPECT_EQ(b.anchored, 1);
  EXPECT_EQ(b.anchorx, 11);
  EXPECT_EQ(b.anchory, 12);
  EXPECT_EQ(b.balltension, 0.75);
  EXPECT_EQ(b.color, (std::array<int, 3>{255, 128, 0}));
  EXPECT_EQ(b.kind, "damaging");
  EXPECT_EQ(b.rolling, 1);
  EXPECT_EQ(b.gamoz, &g);
  EXPECT_EQ(g.balllist[1]->kind, "background");

  ASSERT_EQ(g.linklist.size(), 1u);
  const struct link& l = *g.linklist[0];
  EXPECT_EQ(l.ball1, g.balllist[0].get());
  EXPECT_EQ(l.ball2, g.balllist[1].get());
  EXPECT_EQ(l.distance, 250.5);
  EXPECT_EQ(l.width, 6);
  EXPECT_EQ(l.color, (std::array<int, 3>{9, 8, 7}));
  EXPECT_EQ(l.kind, "stop");
  EXPECT_EQ(l.gamoz, &g);

  ASSERT_EQ(g.TensionList.size(), 1u);
  EXPECT_EQ(g.TensionList[0]->ball1, g.balllist[1].get());
  EXPECT_EQ(g.TensionList[0]->ball2, g.balllist[0].get());
  EXPECT_EQ(g.TensionList[0]->ball3, g.balllist[1].get());
  EXPECT_EQ(g.TensionList[0]->angle, 90);
  EXPECT_EQ(g.TensionList[0]->strength, 300);

  ASSERT_EQ(g.virtuallinklist.size(), 1u);
  EXPECT_EQ(g.virtuallinklist[0]->kind, "virtual");
  EXPECT_EQ(g.virtuallinklist[0]->ball1, g.balllist[1].get());
  EXPECT_EQ(g.virtuallinklist[0]->distance, 0);
  EXPECT_EQ(g.virtuallinklist[0]->width, 3.0);

  EXPECT_EQ(g.openedfilename, "level");
  // Figures are built: one figure of two balls, one group, one self pair.
  ASSERT_EQ(g.marionetobjectlist.size(), 1u);
  EXPECT_EQ(g.grouplist.size(), 1u);
  EXPECT_EQ(g.virtuallinkobjectslist.size(), 1u);
}

TEST(LevelFile, ValueLinesParseAsNumbersOrZero) {
  headless::install();
  harness::gamedir dir;
  dir.write("level", lines({"2", "New Ball", "  +7xyz", "abc", "1.5e2", "-.5", "3.9", " 1", "12abc", "", "x",
                            "300", "-4", "7.9", "normal", ""}));
  game g;
  g.openmarionet(1, "level");
  ASSERT_EQ(g.balllist.size(), 1u);
  const ball& b = *g.balllist[0];
  EXPECT_EQ(b.number, 1);  // renumbered after loading
  EXPECT_EQ(b.m, 0);
  EXPECT_EQ(b.x, 150);
  EXPECT_EQ(b.y, -0.5);
  EXPECT_EQ(b.r, 3.9);
  EXPECT_EQ(b.anchored, 1);
  EXPECT_EQ(b.anchorx, 12);
  EXPECT_EQ(b.anchory, 0);
  EXPECT_EQ(b.balltension, 0);
  EXPECT_EQ(b.color, (std::array<int, 3>{300, -4, 7}));
  EXPECT_EQ(b.rolling, 0);
}

TEST(LevelFile, MarkersTakeOneTrailingSpaceAtMost) {
  headless::install();
  harness::gamedir dir;
  dir.write("level", lines(cat({{"2"},
                                ballrecord(1, 0, 0),
                                ballrecord(2, 50, 0, "normal", "New Ball "),
                                ballrecord(3, 90, 0, "normal", "New Ball  "),
                                ballrecord(4, 90, 0, "normal", "new ball"),
                                linkrecord(1, 2, 50, "normal", "New Link "),
                                linkrecord(1, 2, 60, "normal", "New Link  "),
                                linkrecord(1, 2, 70, "normal", " New Link"),
                                {"New Tension ", "1", "2", "1", "90", "50"},
                                {"New Virtual Link ", "1", "2"}})));
  game g;
  g.openmarionet(1, "level");
  EXPECT_EQ(g.balllist.size(), 2u);
  ASSERT_EQ(g.linklist.size(), 1u);
  EXPECT_EQ(g.linklist[0]->distance, 50);
  EXPECT_EQ(g.TensionList.size(), 1u);
  EXPECT_EQ(g.virtuallinklist.size(), 1u);
}

TEST(LevelFile, BlankLinesDoNotChangeTheWorld) {
  headless::install();
  harness::gamedir dir;
  const auto b1 = ballrecord(1, 0, 0), b2 = ballrecord(2, 50, 0), b3 = ballrecord(3, 100, 0);
  const auto l12 = linkrecord(1, 2, 50), l23 = linkrecord(2, 3, 50);
  const std::vector<std::string> t = {"New Tension", "1", "2", "3", "180", "100"};
  const std::vector<std::string> v = {"New Virtual Link", "3", "1"};
  dir.write("dense", lines(cat({{"2"}, b1, b2, b3, l12, l23, t, v})));
  dir.write("airy", lines(cat({{"2", "", ""},
                               b1,
                               {"", "", "junk", ""},
                               b2,
                               {""},
                               b3,
                               {"", "", ""},
                               l12,
                               {""},
                               l23,
                               {"", ""},
                               t,
                               {"   "},
                               v,
                               {"", ""}})));
  game dense, airy;
  dense.openmarionet(1, "dense");
  airy.openmarionet(1, "airy");
  ASSERT_EQ(dense.balllist.size(), 3u);
  ASSERT_EQ(airy.balllist.size(), 3u);
  EXPECT_EQ(topology(dense), topology(airy));
  EXPECT_EQ(topology(dense).size(), 4u);
  for (size_t i = 0; i < 3; i++) EXPECT_EQ(dense.balllist[i]->x, airy.balllist[i]->x);
}

TEST(LevelFile, KindsAreNormalised) {
  headless::install();
  harness::gamedir dir;
  dir.write("level", lines(cat({{"2"},
                                ballrecord(1, 0, 0, "stop"),
                                ballrecord(2, 0, 0, "virtual"),
                                ballrecord(3, 0, 0, "Damaging"),
                                ballrecord(4, 0, 0, "background"),
                                linkrecord(1, 2, 1, "stop"),
                                linkrecord(1, 2, 1, "virtual"),
                                linkrecord(1, 2, 1, "normal "),
                                linkrecord(1, 2, 1, "damaging"),
                                linkrecord(1, 2, 1, "background"),
                                {"New Link", "1", "2"}})));
  game g;
  g.openmarionet(1, "level");
  ASSERT_EQ(g.balllist.size(), 4u);
  EXPECT_EQ(g.balllist[0]->kind, "normal");
  EXPECT_EQ(g.balllist[1]->kind, "normal");
  EXPECT_EQ(g.balllist[2]->kind, "normal");
  EXPECT_EQ(g.balllist[3]->kind, "background");
  ASSERT_EQ(g.linklist.size(), 6u);
  EXPECT_EQ(g.linklist[0]->kind, "stop");
  EXPECT_EQ(g.linklist[1]->kind, "virtual");
  EXPECT_EQ(g.linklist[2]->kind, "normal");
  EXPECT_EQ(g.linklist[3]->kind, "damaging");
  EXPECT_EQ(g.linklist[4]->kind, "background");
  // A record cut short by the end of the file: missing lines read 0 or "".
  EXPECT_EQ(g.linklist[5]->kind, "normal");
  EXPECT_EQ(g.linklist[5]->distance, 0);
  EXPECT_EQ(g.linklist[5]->width, 0);
  EXPECT_EQ(g.linklist[5]->color, (std::array<int, 3>{0, 0, 0}));
}

TEST(LevelFile, DuplicateNumbersResolveToTheLaterBall) {
  headless::install();
  harness::gamedir dir;
  dir.write("level", lines(cat({{"2"},
                                ballrecord(5, 0, 0),
                                ballrecord(5, 10, 0),
                                ballrecord(9, 20, 0),
                                linkrecord(5, 9, 20),
                                {"New Tension", "9", "5", "5", "90", "50"}})));
  game g;
  g.openmarionet(1, "level");
  ASSERT_EQ(g.balllist.size(), 3u);
  ASSERT_EQ(g.linklist.size(), 1u);
  EXPECT_EQ(g.linklist[0]->ball1, g.balllist[1].get());
  EXPECT_EQ(g.linklist[0]->ball2, g.balllist[2].get());
  EXPECT_EQ(g.TensionList[0]->ball2, g.balllist[1].get());
  EXPECT_EQ(g.balllist[0]->number, 1);
  EXPECT_EQ(g.balllist[1]->number, 2);
  EXPECT_EQ(g.balllist[2]->number, 3);
}

TEST(LevelFile, RecordsNamingUndefinedBallsAreSkippedWhole) {
  headless::install();
  harness::gamedir dir;
  // Ball 3 comes after the records that name it, so they cannot see it.
  dir.write("level", lines(cat({{"2"},
                                ballrecord(1, 0, 0),
                                ballrecord(2, 50, 0),
                                linkrecord(1, 3, 50),
                                linkrecord(7, 2, 50),
                                {"New Virtual Link", "1", "8"},
                                {"New Tension", "1", "2", "3", "90", "50"},
                                linkrecord(1, 2, 42),
                                ballrecord(3, 100, 0),
                                {"New Virtual Link", "2", "3"},
                                {"New Tension", "1", "2", "3", "90", "55"}})));
  game g;
  g.openmarionet(1, "level");
  ASSERT_EQ(g.balllist.size(), 3u);
  ASSERT_EQ(g.linklist.size(), 1u);
  EXPECT_EQ(g.linklist[0]->distance, 42);  // the skipped records' lines were consumed
  ASSERT_EQ(g.TensionList.size(), 1u);
  EXPECT_EQ(g.TensionList[0]->strength, 55);
  ASSERT_EQ(g.virtuallinklist.size(), 1u);
  EXPECT_EQ(g.virtuallinklist[0]->ball2, g.balllist[2].get());
  for (const auto& l : g.linklist) EXPECT_TRUE(l->ball1 && l->ball2);
}

TEST(LevelFile, FailuresKeepOrEmptyTheWorld) {
  headless::install();
  harness::gamedir dir;
  dir.write("level", lines(cat({{"2"}, ballrecord(1, 0, 0), ballrecord(2, 50, 0), linkrecord(1, 2, 50)})));
  dir.write("onlyversion", lines({"2"}));
  dir.write("wrongversion", lines(cat({{"2 "}, ballrecord(1, 0, 0)})));
  dir.write("empty", "");

  game g;
  g.openmarionet(1, "level");
  ASSERT_EQ(g.balllist.size(), 2u);
  g.firstball = g.balllist[0].get();
  g.leftborder = -1000;
  g.rightborder = 1000;
  g.upborder = -1000;
  g.downborder = 1000;
  g.findonscreen(0);
  ASSERT_EQ(g.osobjects.size(), 1u);

  // Missing: the world stays, figures are rebuilt from it.
  g.openmarionet(1, "missing");
  EXPECT_EQ(g.openedfilename, "level");
  ASSERT_EQ(g.balllist.size(), 2u);
  EXPECT_EQ(g.linklist.size(), 1u);
  EXPECT_EQ(g.marionetobjectlist.size(), 1u);
  EXPECT_EQ(g.balllist[0]->ballmarionetobject, g.marionetobjectlist[0].get());
  EXPECT_TRUE(g.osobjects.empty());  // the old figures are gone

  // A folder is not a level either.
  std::filesystem::create_directory("folder");
  g.openmarionet(1, "folder");
  EXPECT_EQ(g.balllist.size(), 2u);

  // Wrong first line: empty world.
  g.openmarionet(1, "wrongversion");
  EXPECT_EQ(g.openedfilename, "wrongversion");
  EXPECT_TRUE(g.balllist.empty());
  EXPECT_TRUE(g.linklist.empty());
  EXPECT_TRUE(g.marionetobjectlist.empty());
  EXPECT_TRUE(g.grouplist.empty());
  EXPECT_TRUE(g.osballlist.empty());
  EXPECT_EQ(g.firstball, nullptr);

  g.openmarionet(1, "level");
  g.openmarionet(1, "empty");
  EXPECT_TRUE(g.balllist.empty());

  // Only the version line: an empty world without a player's ball.
  g.openmarionet(1, "level");
  g.openmarionet(1, "onlyversion");
  EXPECT_TRUE(g.balllist.empty());
  EXPECT_TRUE(g.TensionList.empty());
  EXPECT_TRUE(g.virtuallinklist.empty());
  g.findonscreen(0);
  EXPECT_TRUE(g.osballlist.empty());
}

TEST(LevelFile, ReadOnlyFileLoads) {
  headless::install();
  harness::gamedir dir;
  dir.write("level", lines(cat({{"2"}, ballrecord(1, 0, 0), ballrecord(2, 50, 0), linkrecord(1, 2, 50)})));
  ASSERT_EQ(chmod("level", 0444), 0);
  // Root may write to any file; make it immutable so that only a read-only
  // open can succeed.
  struct immutableflag {
    int fd = -1;
    bool set = false;
    void change(bool on) {
      int flags = 0;
      if (fd < 0 || ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) return;
      flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
      set = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0 && on;
    }
    ~immutableflag() {
      if (set) change(false);
      if (fd >= 0) close(fd);
    }
  } guard;
  if (geteuid() == 0) {
    guard.fd = open("level", O_RDONLY);
    guard.change(true);
    if (!guard.set) GTEST_SKIP() << "cannot make a file unwritable for root here";
  }
  ASSERT_NE(access("level", W_OK), 0);
  game g;
  g.openmarionet(1, "level");
  EXPECT_EQ(g.balllist.size(), 2u);
  EXPECT_EQ(g.linklist.size(), 1u);
}

TEST(LevelFile, WrittenWorldReadsBackTheSame) {
  headless::install();
  harness::gamedir dir;
  game g;
  ball* a = worldkit::addball(g, 1.0, 15.0, 2.5, 1, 20);
  a->anchorx = 0.1;
  a->anchory = -1e-7;
  a->balltension = 1.0 / 3;
  a->kind = "damaging";
  a->rolling = 1;
  ball* b = worldkit::addball(g, 123.456, -7.25e10);
  b->kind = "background";
  ball* c = worldkit::addball(g, 0.30000000000000004, 1e-300);
  worldkit::addlink(g, a, b, 99.5)->kind = "stop";
  worldkit::addlink(g, c, b, 1.0 / 7)->width = 12.5;
  worldkit::addtension(g, a, b, c, 206.56505117707798, 300);
  worldkit::addvirtual(g, c, a);
  ASSERT_TRUE(g.savemarionet("out"));

  const std::string bytes = dir.read("out");
  EXPECT_TRUE(bytes.starts_with("2\r\nNew Ball\r\n1\r\n2.5000000000000000\r\n1.0000000000000000\r\n"));
  EXPECT_NE(bytes.find("15.000000000000000\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("damaging\r\n1\r\n\r\n\r\nNew Ball\r\n2\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("stop\r\n\r\nNew Link\r\n3\r\n2\r\n"), std::string::npos);
  EXPECT_TRUE(bytes.ends_with("\r\n\r\nNew Virtual Link\r\n3\r\n1\r\n"));

  game h;
  h.openmarionet(1, "out");
  ASSERT_EQ(h.balllist.size(), 3u);
  for (size_t i = 0; i < 3; i++) {
    const ball& x = *g.balllist[i];
    const ball& y = *h.balllist[i];
    EXPECT_EQ(x.number, y.number);
    EXPECT_EQ(x.m, y.m);
    EXPECT_EQ(x.x, y.x);
    EXPECT_EQ(x.y, y.y);
    EXPECT_EQ(x.r, y.r);
    EXPECT_EQ(x.anchored, y.anchored);
    EXPECT_EQ(x.anchorx, y.anchorx);
    EXPECT_EQ(x.anchory, y.anchory);
    EXPECT_EQ(x.balltension, y.balltension);
    EXPECT_EQ(x.color, y.color);
    EXPECT_EQ(x.kind, y.kind);
    EXPECT_EQ(x.rolling, y.rolling);
  }
  EXPECT_EQ(topology(g), topology(h));
  for (size_t i = 0; i < 2; i++) {
    EXPECT_EQ(g.linklist[i]->distance, h.linklist[i]->distance);
    EXPECT_EQ(g.linklist[i]->width, h.linklist[i]->width);
    EXPECT_EQ(g.linklist[i]->color, h.linklist[i]->color);
    EXPECT_EQ(g.linklist[i]->kind, h.linklist[i]->kind);
  }
  EXPECT_EQ(g.TensionList[0]->angle, h.TensionList[0]->angle);
  EXPECT_EQ(g.TensionList[0]->strength, h.TensionList[0]->strength);
  ASSERT_TRUE(h.savemarionet("again"));
  EXPECT_EQ(dir.read("again"), bytes);

  // Writing where no file can be made fails and says so.
  EXPECT_FALSE(g.savemarionet("no/such/folder/out"));
}

TEST(LevelFile, FixtureLevelsAreCanonical) {
  headless::install();
  harness::gamedir dir;
  for (const char* name : {"pendulum", "bridge"}) {
    const std::string path = harness::data(std::string("levels/") + name);
    game g;
    g.openmarionet(1, path);
    ASSERT_FALSE(g.balllist.empty()) << name;
    EXPECT_EQ(g.balllist[0]->anchored, 0) << name;
    ASSERT_TRUE(g.savemarionet("copy"));
    // Virtual links carry no colour, so the bytes match exactly.
    std::ifstream in(path, std::ios::binary);
    const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(dir.read("copy"), original) << name;
  }
}

TEST(LevelFile, LoadingForgetsPendingKeys) {
  headless::install();
  harness::gamedir dir;
  dir.write("level", lines(cat({{"2"}, ballrecord(1, 0, 0)})));
  game g;
  headless::set_script({{{KEY_SPACE}, ""}}, false);
  EXPECT_EQ(KeyPresses(KEY_SPACE), 1);
  headless::set_script({{{KEY_SPACE}, "a"}}, false);
  g.openmarionet(1, "level");
  EXPECT_EQ(KeyPresses(KEY_SPACE), 0);
  EXPECT_EQ(NextTypedChar(), 0);
  // A missing level forgets them too.
  headless::set_script({{{KEY_SPACE}, "a"}}, false);
  g.openmarionet(1, "missing");
  EXPECT_EQ(KeyPresses(KEY_SPACE), 0);
  EXPECT_EQ(g.balllist.size(), 1u);
}
