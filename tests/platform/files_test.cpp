#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/harness.h"

namespace fs = std::filesystem;

TEST(TextFiles, WrittenLinesEndInCarriageReturnLineFeed) {
  harness::gamedir dir;
  stream s = OpenTextWrite("out.txt");
  ASSERT_TRUE(s);
  s.WriteLine("abc");
  s.WriteLine("");
  s.WriteLine(std::string("\xff\x01", 2));
  EXPECT_TRUE(s.Close());
  EXPECT_EQ(dir.read("out.txt"), std::string("abc\r\n\r\n\xff\x01\r\n"));
  stream r = OpenTextRead("out.txt");
  ASSERT_TRUE(r);
  EXPECT_EQ(r.ReadLine(), "abc");
  EXPECT_EQ(r.ReadLine(), "");
  EXPECT_EQ(r.ReadLine(), std::string("\xff\x01", 2));
  EXPECT_TRUE(r.Eof());
  EXPECT_EQ(r.ReadLine(), "");
  // Writing again empties the file first.
  stream again = OpenTextWrite("out.txt");
  again.WriteLine("x");
  again.Close();
  EXPECT_EQ(dir.read("out.txt"), "x\r\n");
}

TEST(TextFiles, ReadingEndsLinesAtLineFeedZeroOrEndAndDropsCarriageReturns) {
  harness::gamedir dir;
  dir.write("lf.txt", "one\ntwo\nthree");
  dir.write("mixed.txt", std::string("a\rb\r\nc\0d\n\r\ne", 12));
  stream r = OpenTextRead("lf.txt");
  ASSERT_TRUE(r);
  EXPECT_FALSE(r.Eof());
  EXPECT_EQ(r.ReadLine(), "one");
  EXPECT_EQ(r.ReadLine(), "two");
  EXPECT_FALSE(r.Eof());
  EXPECT_EQ(r.ReadLine(), "three");
  EXPECT_TRUE(r.Eof());
  stream m = OpenTextRead("mixed.txt");
  std::vector<std::string> lines;
  while (!m.Eof()) lines.push_back(m.ReadLine());
  EXPECT_EQ(lines, (std::vector<std::string>{"ab", "c", "d", "", "e"}));
  dir.write("empty.txt", "");
  stream e = OpenTextRead("empty.txt");
  ASSERT_TRUE(e);
  EXPECT_TRUE(e.Eof());
  EXPECT_EQ(e.ReadLine(), "");
}

// Files are read in blocks: lines that run across the edge of a block, and
// terminators or carriage returns right at it, read as they do anywhere.
TEST(TextFiles, LinesAcrossTheReadingBlocksReadAsAnywhere) {
  harness::gamedir dir;
  std::mt19937 rng(7);
  const std::string alphabet("ab\r\n\0", 5);
  for (int round = 0; round < 6; round++) {
    // Long stretches of letters, and every special byte placed on and
    // around multiples of 64 KiB.
    std::string bytes(200000 + round * 7, 'x');
    for (char& c : bytes) c = alphabet[rng() % 2];
    for (size_t edge = 65536; edge < bytes.size(); edge += 65536) {
      for (int d = -2; d <= 2; d++) bytes[edge + d] = alphabet[rng() % alphabet.size()];
    }
    for (int i = 0; i < 50; i++) bytes[rng() % bytes.size()] = alphabet[2 + rng() % 3];
    // What the lines must be: cut at each line feed or zero byte, carriage
    // returns dropped, nothing after a final terminator.
    std::vector<std::string> expected(1);
    for (char c : bytes) {
      if (c == '\n' || c == '\0') {
        expected.emplace_back();
      } else if (c != '\r') {
        expected.back() += c;
      }
    }
    if (bytes.back() == '\n' || bytes.back() == '\0') expected.pop_back();
    dir.write("blocks.txt", bytes);
    stream r = OpenTextRead("blocks.txt");
    ASSERT_TRUE(r);
    std::vector<std::string> lines;
    std::string room;
    while (!r.Eof()) lines.push_back(round % 2 ? r.ReadLine() : r.ReadLine(room));
    EXPECT_EQ(lines, expected) << "round " << round;
    EXPECT_EQ(r.ReadLine(), "");
  }
}

TEST(TextFiles, OpeningFailsQuietlyAndReadOnlyFilesCanBeRead) {
  harness::gamedir dir;
  EXPECT_FALSE(OpenTextRead("missing.txt"));
  EXPECT_FALSE(OpenTextRead("media"));  // a folder is not a text file
  EXPECT_FALSE(OpenTextWrite("no/such/folder/x.txt"));
  EXPECT_FALSE(OpenTextRead(""));
  dir.write("ro.txt", "5\r\n");
  chmod("ro.txt", 0444);
  stream r = OpenTextRead("ro.txt");
  ASSERT_TRUE(r);
  EXPECT_EQ(r.ReadLine(), "5");
  // An empty handle ignores everything.
  stream none;
  none.WriteLine("x");
  EXPECT_EQ(none.ReadLine(), "");
  EXPECT_TRUE(none.Eof());
  EXPECT_FALSE(none.Close());
}

TEST(Files, KindsCreationAndListing) {
  harness::gamedir dir;
  EXPECT_EQ(FileKind("nothing"), 0);
  EXPECT_EQ(FileKind("media"), 2);
  dir.write("f.txt", "old");
  EXPECT_EQ(FileKind("f.txt"), 1);
  EXPECT_TRUE(CreateEmptyFile("f.txt"));
  EXPECT_EQ(dir.read("f.txt"), "");
  EXPECT_TRUE(CreateEmptyFile("new.txt"));
  EXPECT_EQ(FileKind("new.txt"), 1);
  fs::create_directory("sub");
  dir.write("sub/a", "");
  EXPECT_FALSE(CreateEmptyFile("sub"));  // a folder is never deleted
  EXPECT_EQ(FileKind("sub/a"), 1);
  auto names = ListDirectory(".");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"campaigns", "f.txt", "media", "new.txt", "sub"}));
  EXPECT_EQ(ListDirectory("sub"), std::vector<std::string>{"a"});
  EXPECT_TRUE(ListDirectory("nowhere").empty());
}

// Listings come sorted bytewise whatever order the file system keeps: upper
// case before lower case, digits before letters, bytes above 127 last.
TEST(Files, ListingsAreSortedBytewise) {
  harness::gamedir dir;
  fs::create_directory("l");
  const std::vector<std::string> made = {"meadow",     "Zeta",   "b10", "\xc3\xa9t\xc3\xa9",
                                         "b2",         "Alpha",  "a",   "9",
                                         "Steelworks", "Meadow", "b",   "_x"};
  for (const std::string& n : made) dir.write("l/" + n, "");
  for (int i = 0; i < 40; i++) dir.write("l/n" + std::to_string((i * 17) % 40), "");
  std::vector<std::string> want = made;
  for (int i = 0; i < 40; i++) want.push_back("n" + std::to_string(i));
  std::sort(want.begin(), want.end(), [](const std::string& x, const std::string& y) {
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
      return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
    });
  });
  EXPECT_EQ(ListDirectory("l"), want);
  EXPECT_EQ(want.front(), "9");
  EXPECT_EQ(want.back(), "\xc3\xa9t\xc3\xa9");
  const std::vector<std::string> names = ListDirectory("l");
  EXPECT_LT(std::find(names.begin(), names.end(), "Meadow"),
            std::find(names.begin(), names.end(), "Steelworks"));
  EXPECT_LT(std::find(names.begin(), names.end(), "Zeta"), std::find(names.begin(), names.end(), "a"));
}

TEST(Files, SafeWriteReplacesWholeFilesOrLeavesTheOldOne) {
  harness::gamedir dir;
  dir.write("prefs.txt", "old\r\n");
  ASSERT_TRUE(WriteTextFileSafely("prefs.txt", {"1", "2"}));
  EXPECT_EQ(dir.read("prefs.txt"), "1\r\n2\r\n");
  fs::create_directory("d");
  ASSERT_TRUE(WriteTextFileSafely("d/s.txt", {"x"}));
  EXPECT_EQ(dir.read("d/s.txt"), "x\r\n");
  // A folder in the way: the rename fails, the folder and its content stay
  // and no temporary file is left behind.
  fs::create_directory("d/busy");
  dir.write("d/busy/keep", "k");
  EXPECT_FALSE(WriteTextFileSafely("d/busy", {"y"}));
  EXPECT_EQ(dir.read("d/busy/keep"), "k");
  auto names = ListDirectory("d");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"busy", "s.txt"}));
  // No folder to write into.
  EXPECT_FALSE(WriteTextFileSafely("none/x.txt", {"y"}));
  EXPECT_FALSE(WriteTextFileSafely("", {"y"}));
}
