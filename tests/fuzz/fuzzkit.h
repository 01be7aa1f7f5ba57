// Shared by the fuzz targets: a scratch folder to work in and a way to hand a
// fuzzed input to the game as a file.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzkit {

// Every target runs in a fresh folder of its own (no media, no campaigns), so
// that the files the game writes never land in the source tree and the game
// runs as it would with media/ missing.
inline void enterscratch() {
  char tmpl[] = "/tmp/tumbo-fuzz-XXXXXX";
  if (!mkdtemp(tmpl) || chdir(tmpl) != 0) std::abort();
}

inline void writefile(const char* name, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(name, "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

}  // namespace fuzzkit
