// tumbo-check LEVELFILE...: reads level files by the game's reader rules and
// reports, with file and line, whatever would make a level broken or unfair.
// Exit status 1 when any file has an error, 2 when a file cannot be read.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "world/level_check.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tumbo-check LEVELFILE...\n");
    return 2;
  }
  int status = 0, total = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "%s: cannot be read\n", argv[i]);
      status = 2;
      continue;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    const levelcheck c = checklevel(splitlevellines(ss.str()));
    for (const levelfinding& f : c.findings)
      std::printf("%s:%d: %s: %s\n", argv[i], f.line, f.error ? "error" : "warning", f.what.c_str());
    total += c.errors;
    if (c.errors && status == 0) status = 1;
    std::printf("%s: %d balls, %d records, %d errors, %d warnings\n", argv[i], c.nballs, c.records, c.errors,
                c.warnings);
  }
  if (total) std::printf("%d errors\n", total);
  return status;
}
