// Shared helpers for tests that drive the game on the headless backend.
#pragma once

#include <functional>
#include <string>

namespace harness {

// How a scripted run ended.
enum class ending { returned, program_ended, script_ended };

// Runs body; EndProgram and a key script that runs out end it here.
ending run(const std::function<void()>& body);

// A fresh working folder for the game: media/ and campaigns/ of the source
// tree are linked into it (or the given campaigns folder), and the current
// directory is moved there until the object goes away.
class gamedir {
 public:
  explicit gamedir(const std::string& campaigns = "");
  ~gamedir();
  gamedir(const gamedir&) = delete;
  gamedir& operator=(const gamedir&) = delete;
  const std::string& path() const { return path_; }
  std::string read(const std::string& file) const;  // whole file, bytes as they are
  void write(const std::string& file, const std::string& bytes) const;

 private:
  std::string path_;
  std::string oldcwd_;
};

// Path of a file under tests/data.
std::string data(const std::string& relative);
// Path under the source tree.
std::string source(const std::string& relative);

}  // namespace harness
