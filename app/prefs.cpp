// The player's settings and "prefs.txt": six integer lines, the first one
// reserved (written as 0, ignored on reading).
#include <string>
#include <vector>

#include "world/game.h"

void game::initprefs() {
  optres = 3;
  opttrailsize = 3;
  optsoundsvol = 5;
  optmusicvol = 5;
}

void game::readprefs() {
  stream file = OpenTextRead("prefs.txt");
  if (!file) {
    // First run: the question comes before any window exists.
    const int answer = Proceed("Play Fullscreen?", 0);
    if (answer == -1) EndProgram();
    optfullscr = answer == 1 ? 1 : 0;
    writeprefs();
  } else {
    int reserved = 0;
    int* const fields[6] = {&reserved, &optres, &optfullscr, &opttrailsize, &optsoundsvol, &optmusicvol};
    for (int* field : fields) {
      if (file.Eof()) break;
      *field = ToInt(file.ReadLine());
    }
    file.Close();
  }
  // Only the display settings are checked here; the options screen clamps the
  // rest when it is opened.
  if (optfullscr > 1 || optfullscr < 0) optfullscr = 0;
  if (optres > 3 || optres <= 0) optres = 3;
}

void game::writeprefs() {
  // Written beside the old file and renamed over it, so a crash mid-save never
  // loses the settings. When even that cannot be done the old file stays as it
  // was and the settings live in memory for this run only.
  WriteTextFileSafely("prefs.txt",
                      {"0", std::to_string(optres), std::to_string(optfullscr), std::to_string(opttrailsize),
                       std::to_string(optsoundsvol), std::to_string(optmusicvol)});
}
