// The game starts and plays without its media: a missing or damaged image,
// font or sound leaves its handle empty and everything goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/play/level_support.h"

using levelplay::script;
using levelplay::session;
namespace fs = std::filesystem;

namespace {

// From start-up into FREE PLAY, level 1 of the test campaign, then rolling
// right with space held for a while.
script playfreely() {
  script keys;
  keys.idle(15).press({KEY_ENTER});  // past the splash: PLAY
  keys.press({KEY_ENTER});           // FREE PLAY
  keys.press({KEY_ENTER});           // the first campaign
  keys.press({KEY_ENTER});           // level 1
  keys.hold({KEY_RIGHT, KEY_SPACE}, 120);
  return keys;
}

void playwithout(session& s) {
  s.g->optmusicvol = 10;
  s.g->optsoundsvol = 10;
  playfreely().start();
  EXPECT_EQ(harness::run([&] { s.g->allgame(); }), harness::ending::script_ended);
  // Levels were loaded and played: the first test level (a fall onto its
  // goal) was passed, so the run went on to later ones.
  EXPECT_GE(s.g->level, 2);
  EXPECT_FALSE(s.g->tumbosprite);
  EXPECT_FALSE(s.g->gamefont);
}

TEST(MissingMedia, TheGamePlaysWithNoMediaFolder) {
  session s(harness::data("campaigns"), false);
  fs::remove(fs::path(s.dir->path()) / "media");
  playwithout(s);
  EXPECT_FALSE(s.g->jumpsound);
  EXPECT_FALSE(s.g->musics[1]);
}

TEST(MissingMedia, TheGamePlaysWithEveryMediaFileTruncated) {
  session s(harness::data("campaigns"), false);
  const fs::path media = fs::path(s.dir->path()) / "media";
  fs::remove(media);
  fs::create_directory(media);
  for (const auto& e : fs::directory_iterator(harness::source("media"))) {
    const std::string name = e.path().filename().string();
    if (name == "README.md") continue;
    std::ifstream in(e.path(), std::ios::binary);
    std::string head(64, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    head.resize(size_t(in.gcount()));
    std::ofstream(media / name, std::ios::binary) << head;
  }
  playwithout(s);
}

}  // namespace
