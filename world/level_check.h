// The level checker: reads a level file's lines by the game's reader rules and
// finds whatever would make the level broken or unfair. Used by tumbo-check
// and by the level editor, which shows the findings live.
#pragma once

#include <string>
#include <vector>

struct levelfinding {
  int line = 0;  // 1-based line of the file
  bool error = false;
  std::string what;
  // The record it concerns, counted as the reader keeps them: 'b' the nth
  // ball, 'l' the nth link, 't' the nth tension, 'v' the nth virtual link
  // (from 0); 0 when it concerns the whole level.
  char kind = 0;
  int index = -1;
};

struct levelcheck {
  std::vector<levelfinding> findings;
  int errors = 0, warnings = 0;
  int nballs = 0, records = 0;
};

levelcheck checklevel(const std::vector<std::string>& lines);
// Lines as the game reads them: a line ends at LF, CR is dropped, and a zero
// byte also ends a line.
std::vector<std::string> splitlevellines(const std::string& bytes);
