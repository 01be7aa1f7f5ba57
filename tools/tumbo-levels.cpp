// tumbo-levels [CAMPAIGNSDIR [CAMPAIGN]]: builds the shipped campaigns from
// pieces and writes them with the game's own level writer, as
// CAMPAIGNSDIR/<campaign>/1 to 10 (default "campaigns"). The levels are made
// here, never edited by hand; each campaign's source is a file of its own
// under tools/levels/. Given a CAMPAIGN name, only that campaign is written,
// which may also be one still being built (not shipped yet), for trying its
// levels in a scratch folder.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "tools/levels/levels.h"

int main(int argc, char** argv) {
  headless::install();
  const std::string dir = argc > 1 ? argv[1] : "campaigns";
  std::vector<levels::campaign> campaigns = {levels::meadow(), levels::steelworks(), levels::zenith()};
  if (argc > 2) {
    std::vector<levels::campaign> all = {levels::meadow(), levels::steelworks(), levels::zenith()};
    campaigns.clear();
    for (levels::campaign& c : all)
      if (c.name == argv[2]) campaigns.push_back(std::move(c));
    if (campaigns.empty()) {
      std::fprintf(stderr, "tumbo-levels: no campaign named %s\n", argv[2]);
      return 2;
    }
  }
  int status = 0;
  for (const levels::campaign& c : campaigns) {
    std::filesystem::create_directories(dir + "/" + c.name);
    for (size_t i = 0; i < c.levels.size(); ++i) {
      game g;
      kit::level k(g);
      c.levels[i](k);
      const std::string path = dir + "/" + c.name + "/" + std::to_string(i + 1);
      if (!k.save(path)) {
        std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
        status = 1;
      } else {
        std::printf("%s: %zu balls, %zu links, %zu tensions, %zu pairs\n", path.c_str(), g.balllist.size(),
                    g.linklist.size(), g.TensionList.size(), g.virtuallinklist.size());
      }
    }
  }
  return status;
}
