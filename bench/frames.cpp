// Runs world frames of a generated world and nothing else, so that a tool
// that counts instructions and cache misses (callgrind) can see them apart
// from the set-up. On a shared machine whose speed drifts, those counts are
// the steady measure of a change; bench/count.sh runs it.
//
//   tumbo-frames [shape 0..2] [balls] [frames]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/worlds.h"
#include "platform/headless/headless.h"

// The frames to count (count.sh collects inside this function only), after
// a first frame that has built the solver's layout.
__attribute__((noinline)) void countedframes(game& g, int n) {
  std::string result = "play";
  for (int i = 0; i < n; i++) benchworld::worldframe(g, result);
}

int main(int argc, char** argv) {
  const int shape = argc > 1 ? std::atoi(argv[1]) : 1;
  const int n = argc > 2 ? std::atoi(argv[2]) : 10000;
  const int frames = argc > 3 ? std::atoi(argv[3]) : 5;
  if (shape < 0 || shape > 2 || n < 1 || frames < 0) {
    std::fprintf(stderr, "usage: tumbo-frames [shape 0..2] [balls] [frames]\n");
    return 2;
  }
  headless::install();
  auto g = std::make_unique<game>();
  g->xwin = 800;
  g->ywin = 600;
  g->delimiter = 800;
  benchworld::build(*g, static_cast<benchworld::shape>(shape), n);
  benchworld::view(*g, true);
  std::string result = "play";
  benchworld::worldframe(*g, result);
  countedframes(*g, frames);
  // Something of the world's state, so that the frames cannot be left out.
  std::printf("%s %d: ball 1 at %.17g %.17g\n", benchworld::name(static_cast<benchworld::shape>(shape)), n,
              g->balllist[1]->x, g->balllist[1]->y);
  return 0;
}
