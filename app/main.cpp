// Program entry of the real game: the SDL backend, the one game object, and
// allgame, which never returns (the program ends inside it).
#include "platform/platform.h"
#include "world/game.h"

int main() {
  UseSdlBackend();
  game g;
  g.allgame();
  return 0;
}
