// The shipped campaigns, one file each under tools/levels/. Each file builds
// its ten levels from the pieces of tools/levelkit.h; tumbo-levels writes them.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "tools/levelkit.h"

namespace levels {

struct campaign {
  std::string name;  // the folder under campaigns/, shown after "CAMPAIGN: "
  std::vector<std::function<void(kit::level&)>> levels;
};

campaign meadow();
campaign steelworks();
campaign zenith();

// The ball starts at (100, 300) above a wall that stops it rolling off the
// left edge of the world.
inline void start(kit::level& k) {
  k.player(100, 300);
  k.platform(-20, 0, -20, 560, 14);
}

}  // namespace levels
