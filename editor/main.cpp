// tumbo-edit [LEVELFILE]: the level editor, in a window of its own.
#include <string>

#include "editor/editor.h"

int main(int argc, char** argv) {
  UseSdlBackend();
  SetAppTitle("tumbo-edit");
  edit::editor ed(1280, 800);
  if (argc > 1) ed.open(argv[1]);
  while (!ed.quit) ed.frame();
  CloseGraphics();
  return 0;
}
