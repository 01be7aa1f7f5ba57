// The player's own campaigns in an installed game: listed after the shipped
// ones and played like them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "tests/play/level_support.h"

using levelplay::script;
using levelplay::session;

namespace fs = std::filesystem;

TEST(InstalledCampaigns, ThePlayersOwnFollowTheShippedAndPlay) {
  session s;  // its folder stands in for the installed data
  std::string tmpl = (fs::temp_directory_path() / "tumbo-player-XXXXXX").string();
  const fs::path user = mkdtemp(tmpl.data());
  // "Mine" sorts before "testcamp" but is the player's, so it comes after.
  fs::create_directories(user / "campaigns/Mine");
  fs::copy_file(harness::data("levels/pendulum"), user / "campaigns/Mine/1");
  UseFilePlaces({s.dir->path(), user.string()});

  std::string chosen;
  script().idle(2).press({KEY_DOWN}).press({KEY_ENTER}).start();
  EXPECT_EQ(harness::run([&] { chosen = s.g->chosecampaign(); }), harness::ending::returned);
  std::vector<std::string> entries;
  for (const headless::drawcall& c : headless::last_frame())
    if (c.kind == headless::op::text && c.text.rfind("CAMPAIGN: ", 0) == 0) entries.push_back(c.text);
  EXPECT_EQ(entries, (std::vector<std::string>{"CAMPAIGN: testcamp", "CAMPAIGN: Mine"}));
  EXPECT_EQ(chosen, "Mine");

  // Its level loads from the player's folder as the level loop asks for it.
  s.g->setuplevelfile(harness::data("levels/pendulum"), 1);
  const size_t balls = s.g->balllist.size();
  s.g->setuplevelfile("campaigns/testcamp/1", 1);
  ASSERT_NE(s.g->balllist.size(), balls);
  s.g->setuplevelfile("campaigns/" + chosen + "/1", 1);
  EXPECT_EQ(s.g->balllist.size(), balls);

  UseFilePlaces(fileplaces{});
  std::error_code ec;
  fs::remove_all(user, ec);
}
