// "prefs.txt": the reading rules, the range checks and the safe writing.
#include <sys/stat.h>

#include "tests/app/app_support.h"

using apptest::fixture;
using harness::ending;

namespace {

using prefs = fixture;

TEST_F(prefs, ShortAndNonNumericFilesFallBackLineByLine) {
  dir->write("prefs.txt", "9\r\n2\r\n");
  g->initprefs();
  g->readprefs();
  EXPECT_EQ(g->optres, 2);
  EXPECT_EQ(g->optfullscr, 0);
  EXPECT_EQ(g->opttrailsize, 3);
  EXPECT_EQ(g->optsoundsvol, 5);
  EXPECT_EQ(g->optmusicvol, 5);
  EXPECT_EQ(headless::proceed_calls(), 0);
  EXPECT_EQ(dir->read("prefs.txt"), "9\r\n2\r\n");  // reading leaves the file alone

  dir->write("prefs.txt", "x\nabc\n-1\n  7 trail\nz\n+4\n99\n");
  g->initprefs();
  g->readprefs();
  EXPECT_EQ(g->optres, 3);      // no digits: 0, then the check
  EXPECT_EQ(g->optfullscr, 0);  // -1 checked back to a window
  EXPECT_EQ(g->opttrailsize, 7);
  EXPECT_EQ(g->optsoundsvol, 0);
  EXPECT_EQ(g->optmusicvol, 4);
}

TEST_F(prefs, OutOfRangeVolumesStayUntilTheOptionsScreenIsUsed) {
  dir->write("prefs.txt", "0\r\n3\r\n1\r\n3\r\n5\r\n15\r\n");
  g->initprefs();
  g->readprefs();
  EXPECT_EQ(g->optmusicvol, 15);
  EXPECT_EQ(g->optfullscr, 1);
  g->changeres(0, 3, 0);
  headless::idle(2);
  headless::hold({KEY_ENTER}, 1, 1);
  EXPECT_EQ(harness::run([&] { g->optionsmenu(); }), ending::returned);
  EXPECT_EQ(g->optmusicvol, 10);
  EXPECT_EQ(dir->read("prefs.txt"), "0\r\n3\r\n1\r\n3\r\n5\r\n10\r\n");
}

TEST_F(prefs, InitprefsLeavesFullScreenAlone) {
  g->optfullscr = 1;
  g->optres = 1;
  g->optmusicvol = 0;
  g->initprefs();
  EXPECT_EQ(g->optfullscr, 1);
  EXPECT_EQ(g->optres, 3);
  EXPECT_EQ(g->opttrailsize, 3);
  EXPECT_EQ(g->optsoundsvol, 5);
  EXPECT_EQ(g->optmusicvol, 5);
}

TEST_F(prefs, ASaveThatCannotBeMadeKeepsWhatIsThere) {
  // A folder in the file's place cannot be replaced by a save.
  ASSERT_EQ(mkdir("prefs.txt", 0755), 0);
  dir->write("prefs.txt/keep", "kept");
  g->optmusicvol = 9;
  g->writeprefs();
  EXPECT_EQ(FileKind("prefs.txt"), 2);
  EXPECT_EQ(dir->read("prefs.txt/keep"), "kept");
  EXPECT_EQ(g->optmusicvol, 9);

  g->writeprefs();
  g->writeprefs();
  // No temporary files are left behind by failed or successful saves.
  int entries = 0;
  for (const auto& n : ListDirectory(".")) entries += n != "media" && n != "campaigns";
  EXPECT_EQ(entries, 1);
}

}  // namespace
