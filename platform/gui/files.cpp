// Temporary files for the tools, in the system's temporary folder ($TMPDIR,
// else /tmp), each made new with a name of its own so that two tools never
// share one.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gui.h"

namespace gui {

std::string temporary_file(const std::string& stem) {
  const char* dir = std::getenv("TMPDIR");
  std::string folder = dir != nullptr && dir[0] == '/' ? dir : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::string name = folder + "/" + stem + "-XXXXXX";
  std::vector<char> buf(name.begin(), name.end());
  buf.push_back('\0');
  const int fd = mkstemp(buf.data());
  if (fd < 0) return "";
  close(fd);
  return std::string(buf.data());
}

bool remove_file(const std::string& path) { return !path.empty() && std::remove(path.c_str()) == 0; }

}  // namespace gui
