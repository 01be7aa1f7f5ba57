#include "tests/support/harness.h"

#include <unistd.h>

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

gamedir::gamedir(const std::string& campaigns) {
  oldcwd_ = fs::current_path().string();
  std::string tmpl = (fs::temp_directory_path() / "tumbo-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
  fs::create_directory_symlink(source("media"), fs::path(path_) / "media");
  fs::create_directory_symlink(campaigns.empty() ? source("campaigns") : campaigns,
                               fs::path(path_) / "campaigns");
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
std::string source(const std::string& relative) { return std::string(TUMBO_SOURCE_DIR) + "/" + relative; }

}  // namespace harness
