// Where the game's relative names live on disk. Portable (the checkout, the
// Windows zip): everything beside the working directory, names used as they
// are. Installed: media/ and campaigns/ are read from the data folder found
// beside the executable (<prefix>/share/tumbo for <prefix>/bin or
// <prefix>/games), and everything the game writes goes to the player's own
// folder ($XDG_DATA_HOME/tumbo), which also holds the player's campaigns.
#include "platform/places.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backend.h"

#ifdef _WIN32
#include <direct.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

fileplaces& chosen() {
  static fileplaces p;
  return p;
}

bool is_folder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

bool holds_game(const std::string& folder) {
  const std::string base = folder.empty() ? "" : folder + "/";
  return is_folder(base + "media") || is_folder(base + "campaigns");
}

std::string parent_of(const std::string& path) {
  size_t end = path.size();
  while (end > 1 && path[end - 1] == '/') end--;
  const size_t slash = path.rfind('/', end - 1);
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool absolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

// Whether path is name itself or something inside it.
bool under(const std::string& path, const std::string& name) {
  return path.compare(0, name.size(), name) == 0 && (path.size() == name.size() || path[name.size()] == '/');
}

std::vector<std::string> sorted_names(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* e = readdir(dir)) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Makes every missing folder on the way to path; new ones are the player's alone.
void make_folders(const std::string& path) {
  if (path.empty() || is_folder(path)) return;
  make_folders(parent_of(path));
#ifdef _WIN32
  mkdir(path.c_str());
#else
  mkdir(path.c_str(), 0700);
#endif
}

}  // namespace

fileplaces FindFilePlaces(const std::string& workdir, const std::string& executable,
                          const std::string& xdg_data_home, const std::string& home) {
  fileplaces p;
  if (holds_game(workdir)) return p;
  // <prefix>/bin/tumbo or <prefix>/games/tumbo: the data is <prefix>/share/tumbo.
  const std::string prefix = parent_of(parent_of(executable));
  if (executable.empty() || prefix.empty()) return p;
  const std::string data = (prefix == "/" ? "" : prefix) + "/share/tumbo";
  if (!holds_game(data)) return p;
  // Only an absolute XDG_DATA_HOME counts; otherwise the usual default.
  std::string user;
  if (absolute(xdg_data_home))
    user = xdg_data_home + "/tumbo";
  else if (absolute(home))
    user = home + "/.local/share/tumbo";
  else
    return p;  // no home to save in: stay beside the working directory
  p.data = data;
  p.user = user;
  return p;
}

void UseFilePlaces(const fileplaces& places) { chosen() = places; }
fileplaces CurrentFilePlaces() { return chosen(); }

void ChooseFilePlaces() {
#ifndef _WIN32
  // The Windows zip is always portable; elsewhere the executable's own place
  // tells where an installed game keeps its data.
  std::string exe(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size() - 1);
  exe.resize(n > 0 ? size_t(n) : 0);
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  std::string homedir = home ? home : "";
  if (homedir.empty()) {
    if (const passwd* pw = getpwuid(getuid())) homedir = pw->pw_dir ? pw->pw_dir : "";
  }
  UseFilePlaces(FindFilePlaces("", exe, xdg ? xdg : "", homedir));
#endif
}

namespace plat {

std::string place_for_reading(const std::string& path) {
  const fileplaces& p = chosen();
  if (!p.installed() || absolute(path)) return path;
  if (under(path, "media")) return p.data + "/" + path;
  if (under(path, "campaigns")) {
    // The player's copy of a level comes before the shipped one.
    const std::string own = p.user + "/" + path;
    return exists(own) ? own : p.data + "/" + path;
  }
  return p.user + "/" + path;
}

std::string place_for_writing(const std::string& path) {
  const fileplaces& p = chosen();
  if (!p.installed() || absolute(path) || path.empty()) return path;
  const std::string own = p.user + "/" + path;
  make_folders(parent_of(own));
  return own;
}

bool merged_listing(const std::string& path, std::vector<std::string>& names) {
  const fileplaces& p = chosen();
  if (!p.installed() || absolute(path) || !under(path, "campaigns")) return false;
  // The shipped entries first, then the player's own that are not shipped,
  // each group in byte order.
  names = sorted_names(p.data + "/" + path);
  const size_t shipped = names.size();
  for (const std::string& n : sorted_names(p.user + "/" + path)) {
    if (!std::binary_search(names.begin(), names.begin() + long(shipped), n)) names.push_back(n);
  }
  return true;
}

}  // namespace plat
