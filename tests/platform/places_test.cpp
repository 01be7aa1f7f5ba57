// Where the game's relative names are kept: portable beside the working
// folder, or installed with the data under <prefix>/share/tumbo and the
// player's files under their own data folder.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/harness.h"

namespace fs = std::filesystem;

namespace {

struct tempfolder {
  fs::path path;
  tempfolder() {
    std::string tmpl = (fs::temp_directory_path() / "tumbo-places-XXXXXX").string();
    path = mkdtemp(tmpl.data());
  }
  ~tempfolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string operator/(const std::string& rel) const { return (path / rel).string(); }
};

void put(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// An installed game under prefix (its data holding media/ and campaigns/)
// and the game's working folder, empty, made current while it lives.
struct installed {
  tempfolder prefix, home, work;
  std::string oldcwd = fs::current_path().string();
  installed() {
    fs::create_directories(prefix / "share/tumbo/media");
    fs::create_directories(prefix / "share/tumbo/campaigns");
    fs::current_path(work.path);
  }
  ~installed() {
    UseFilePlaces(fileplaces{});
    fs::current_path(oldcwd);
  }
};

}  // namespace

TEST(FilePlaces, InstalledOnlyWithoutGameFoldersHereAndWithDataBesideTheProgram) {
  installed i;
  const std::string data = i.prefix / "share/tumbo";
  // bin/ and games/ both find <prefix>/share/tumbo.
  for (const char* dir : {"bin", "games"}) {
    fileplaces p = FindFilePlaces("", i.prefix / (std::string(dir) + "/tumbo"), "", i.home.path.string());
    EXPECT_TRUE(p.installed()) << dir;
    EXPECT_EQ(p.data, data);
    EXPECT_EQ(p.user, i.home / ".local/share/tumbo");
  }
  // An absolute XDG_DATA_HOME wins; a relative one is ignored.
  EXPECT_EQ(FindFilePlaces("", i.prefix / "bin/tumbo", "/x/data", "/h").user, "/x/data/tumbo");
  EXPECT_EQ(FindFilePlaces("", i.prefix / "bin/tumbo", "rel", "/h").user, "/h/.local/share/tumbo");
  // No home at all: stay beside the working folder.
  EXPECT_FALSE(FindFilePlaces("", i.prefix / "bin/tumbo", "", "").installed());
  // A working folder with either game folder is portable, whatever is installed.
  fs::create_directory(i.work / "campaigns");
  EXPECT_FALSE(FindFilePlaces("", i.prefix / "bin/tumbo", "", "/h").installed());
  fs::remove(i.work / "campaigns");
  fs::create_directory(i.work / "media");
  EXPECT_FALSE(FindFilePlaces(i.work.path.string(), i.prefix / "bin/tumbo", "", "/h").installed());
  fs::remove(i.work / "media");
  // A program whose prefix has no game data: as before, in the working folder.
  EXPECT_FALSE(FindFilePlaces("", i.home / "bin/tumbo", "", "/h").installed());
  EXPECT_FALSE(FindFilePlaces("", "", "", "/h").installed());
  EXPECT_FALSE(FindFilePlaces("", "tumbo", "", "/h").installed());
  // A data folder with neither game folder is no game.
  fs::remove_all(i.prefix / "share/tumbo/media");
  fs::remove_all(i.prefix / "share/tumbo/campaigns");
  EXPECT_FALSE(FindFilePlaces("", i.prefix / "bin/tumbo", "", "/h").installed());
}

TEST(FilePlaces, InstalledSavesGoToThePlayersFolderMadeOnTheFirstSave) {
  installed i;
  const std::string user = i.home / "deep/data/tumbo";
  UseFilePlaces({i.prefix / "share/tumbo", user});
  EXPECT_FALSE(OpenTextRead("prefs.txt"));
  EXPECT_FALSE(fs::exists(user));  // nothing is made by reading
  ASSERT_TRUE(WriteTextFileSafely("prefs.txt", {"0", "3"}));
  EXPECT_EQ(slurp(user + "/prefs.txt"), "0\r\n3\r\n");
  struct stat st;
  ASSERT_EQ(stat(user.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);  // the player's alone
  // The rewrite leaves no temporary behind and nothing in the working folder.
  EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(user), {}).size(), 1u);
  EXPECT_TRUE(fs::is_empty(i.work.path));
  stream r = OpenTextRead("prefs.txt");
  ASSERT_TRUE(r);
  EXPECT_EQ(r.ReadLine(), "0");
  r.Close();
  // The plain writer and the empty-file maker go to the same place.
  EXPECT_EQ(CreateEmptyFile("scores.txt"), 1);
  EXPECT_EQ(FileKind("scores.txt"), 1);
  stream w = OpenTextWrite("scores.txt");
  w.WriteLine("NOBODY");
  EXPECT_TRUE(w.Close());
  EXPECT_EQ(slurp(user + "/scores.txt"), "NOBODY\r\n");
  EXPECT_TRUE(fs::is_empty(i.work.path));
  // Absolute names are never moved.
  EXPECT_TRUE(WriteTextFileSafely(i.work / "abs.txt", {"a"}));
  EXPECT_EQ(slurp(i.work / "abs.txt"), "a\r\n");
}

TEST(FilePlaces, InstalledCampaignsAreTheShippedThenThePlayersOwn) {
  installed i;
  const std::string data = i.prefix / "share/tumbo", user = i.home / "tumbo";
  put(data + "/campaigns/Steelworks/1", "shipped steel\n");
  put(data + "/campaigns/Meadow/1", "shipped meadow\n");
  put(data + "/campaigns/loose", "2\n");
  put(data + "/media/a.txt", "medium\n");
  put(user + "/campaigns/Zoo/1", "own zoo\n");
  put(user + "/campaigns/Apple/1", "own apple\n");
  put(user + "/campaigns/Meadow/1", "own meadow\n");  // the player's copy of a shipped one
  UseFilePlaces({data, user});
  EXPECT_EQ(ListDirectory("campaigns"),
            (std::vector<std::string>{"Meadow", "Steelworks", "loose", "Apple", "Zoo"}));
  EXPECT_EQ(FileKind("campaigns"), 2);
  EXPECT_EQ(FileKind("campaigns/Zoo"), 2);
  EXPECT_EQ(FileKind("campaigns/Steelworks"), 2);
  EXPECT_EQ(FileKind("campaigns/loose"), 1);
  EXPECT_EQ(FileKind("campaigns/Nothing"), 0);
  EXPECT_EQ(ListDirectory("campaigns/Zoo"), std::vector<std::string>{"1"});
  EXPECT_EQ(OpenTextRead("campaigns/Zoo/1").ReadLine(), "own zoo");
  EXPECT_EQ(OpenTextRead("campaigns/Steelworks/1").ReadLine(), "shipped steel");
  EXPECT_EQ(OpenTextRead("campaigns/Meadow/1").ReadLine(), "own meadow");
  EXPECT_EQ(OpenTextRead("media/a.txt").ReadLine(), "medium");
  // A player's media never stand in for the game's.
  put(user + "/media/a.txt", "other\n");
  EXPECT_EQ(OpenTextRead("media/a.txt").ReadLine(), "medium");
  // Levels written (by the editor) land in the player's folder.
  ASSERT_TRUE(WriteTextFileSafely("campaigns/New/1", {"2"}));
  EXPECT_EQ(slurp(user + "/campaigns/New/1"), "2\r\n");
  EXPECT_EQ(ListDirectory("campaigns").back(), "Zoo");
  EXPECT_EQ(ListDirectory("campaigns")[4], "New");
}

TEST(FilePlaces, PortableNamesStayAsTheyAre) {
  harness::gamedir dir;
  UseFilePlaces(fileplaces{});
  EXPECT_FALSE(CurrentFilePlaces().installed());
  ASSERT_TRUE(WriteTextFileSafely("prefs.txt", {"0"}));
  EXPECT_EQ(dir.read("prefs.txt"), "0\r\n");
  EXPECT_EQ(FileKind("media"), 2);
  EXPECT_FALSE(LoadSprite("media/ball.png") == nullptr);
}

TEST(FilePlaces, InstalledMediaLoadFromTheDataFolder) {
  installed i;
  const std::string data = i.prefix / "share/tumbo";
  for (const char* f : {"ball.png", "jump.wav", "zekton__.ttf"})
    fs::copy_file(harness::source(std::string("media/") + f), data + "/media/" + f);
  UseFilePlaces({data, i.home / "tumbo"});
  EXPECT_TRUE(LoadSprite("media/ball.png") != nullptr);
  EXPECT_TRUE(LoadSoundFile("media/jump.wav"));
  EXPECT_TRUE(LoadFont("media/zekton__.ttf", 32, 0) != nullptr);
  EXPECT_TRUE(LoadSprite("media/tumbo.png") == nullptr);  // not installed, so not found
}
