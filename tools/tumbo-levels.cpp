// tumbo-levels [CAMPAIGNSDIR]: builds the shipped campaigns from pieces and
// writes them with the game's own level writer, as CAMPAIGNSDIR/<campaign>/1
// to 10 (default "campaigns"). The levels are made here, never edited by hand;
// each campaign's source is a file of its own under tools/levels/.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "tools/levels/levels.h"

int main(int argc, char** argv) {
  headless::install();
  const std::string dir = argc > 1 ? argv[1] : "campaigns";
  const std::vector<levels::campaign> campaigns = {levels::meadow(), levels::steelworks()};
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
