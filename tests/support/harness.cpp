#include "tests/support/harness.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/headless/headless.h"

namespace fs = std::filesystem;

namespace harness {

ending run(const std::function<void()>& body) {
  try {
    body();
  } catch (const headless::program_ended&) {
    return ending::program_ended;
  } catch (const headless::script_ended&) {
    return ending::script_ended;
  }
  return ending::returned;
}

namespace {

#ifdef _WIN32
// A new folder of its own under the temporary folder.
std::string new_folder() {
  static int counter = 0;
  for (int tries = 0; tries < 1000; tries++) {
    fs::path p = fs::temp_directory_path() /
                 ("tumbo-test-" + std::to_string(_getpid()) + "-" + std::to_string(counter++));
    if (fs::create_directory(p)) return p.string();
  }
  throw std::runtime_error("no temporary folder");
}
#else
std::string new_folder() {
  std::string tmpl = (fs::temp_directory_path() / "tumbo-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  return tmpl;
}
#endif

// Links the folder in; where links cannot be made (Windows without the
// right to make them), copies it.
void bring(const std::string& from, const fs::path& to) {
  std::error_code ec;
  fs::create_directory_symlink(from, to, ec);
  if (ec) fs::copy(from, to, fs::copy_options::recursive);
}

}  // namespace

gamedir::gamedir(const std::string& campaigns) {
  oldcwd_ = fs::current_path().string();
  path_ = new_folder();
  bring(source("media"), fs::path(path_) / "media");
  bring(campaigns.empty() ? source("campaigns") : campaigns, fs::path(path_) / "campaigns");
  fs::current_path(path_);
}

gamedir::~gamedir() {
  std::error_code ec;
  fs::current_path(oldcwd_, ec);
  fs::remove_all(path_, ec);
}

std::string gamedir::read(const std::string& file) const {
  std::ifstream in(fs::path(path_) / file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void gamedir::write(const std::string& file, const std::string& bytes) const {
  std::ofstream out(fs::path(path_) / file, std::ios::binary);
  out << bytes;
}

std::string data(const std::string& relative) { return source("tests/data/" + relative); }
std::string source(const std::string& relative) {
#ifdef _WIN32
  // Built on Linux and run under wine, whose drive Z: is the Unix root.
  if (TUMBO_SOURCE_DIR[0] == '/') return std::string("Z:") + TUMBO_SOURCE_DIR + "/" + relative;
#endif
  return std::string(TUMBO_SOURCE_DIR) + "/" + relative;
}

}  // namespace harness
