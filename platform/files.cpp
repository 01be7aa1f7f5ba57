// Line-oriented 8-bit text files, the directory listing and the safe rewrite
// used for settings and scores.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/backend.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <process.h>
#include <windows.h>
// The C library's unlocked getc has another name here.
static inline int getc_unlocked(FILE* f) { return _getc_nolock(f); }
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
// Without O_BINARY Windows would turn every "\n" written into "\r\n".
constexpr int kBinary = O_BINARY;
int flush_to_disk(int fd) { return _commit(fd); }
// Replaces path in one step; the write-through flag returns only once the
// move is on disk.
bool replace_file(const std::string& temp, const std::string& path, const std::string&) {
  return MoveFileExW(std::filesystem::path(temp).c_str(), std::filesystem::path(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
#else
constexpr int kBinary = 0;
int flush_to_disk(int fd) { return fsync(fd); }
bool replace_file(const std::string& temp, const std::string& path, const std::string& folder) {
  if (rename(temp.c_str(), path.c_str()) != 0) return false;
  // Make the rename itself survive a crash.
  int dfd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
  return true;
}
#endif

}  // namespace

struct streamdata {
  FILE* f = nullptr;
  bool writer = false;
  bool failed = false;
  // A reader takes the file in blocks and cuts its lines out of them.
  std::vector<char> block;
  size_t at = 0, end = 0;
  // Whether unread bytes are at hand, reading the next block if need be.
  bool more() {
    if (at < end) return true;
    if (!f) return false;
    if (block.empty()) block.resize(size_t{1} << 16);
    at = 0;
    end = fread(block.data(), 1, block.size(), f);
    return end > 0;
  }
  ~streamdata() {
    if (f) fclose(f);
  }
};

namespace {

std::shared_ptr<streamdata> open_stream(const std::string& path, bool writer) {
  if (path.empty()) return nullptr;
  FILE* f = fopen(path.c_str(), writer ? "wb" : "rb");
  if (!f) return nullptr;
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
    fclose(f);
    return nullptr;
  }
  auto d = std::make_shared<streamdata>();
  d->f = f;
  d->writer = writer;
  return d;
}

// Folder part of a path ("." when it has none).
std::string folder_of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

int stream::Eof() const {
  if (!d_ || !d_->f || d_->writer) return 1;
  return d_->more() ? 0 : 1;
}

// A line ends at a line feed or a zero byte (either is consumed) or at the
// end of the file; carriage returns anywhere in it are dropped.
std::string stream::ReadLine() {
  std::string line;
  return ReadLine(line);
}

std::string& stream::ReadLine(std::string& line) {
  line.clear();
  if (!d_ || !d_->f || d_->writer) return line;
  streamdata& d = *d_;
  while (d.more()) {
    const char* from = d.block.data() + d.at;
    const size_t left = d.end - d.at;
    const char* stop = static_cast<const char*>(std::memchr(from, '\n', left));
    const size_t upto = stop ? static_cast<size_t>(stop - from) : left;
    const char* zero = static_cast<const char*>(std::memchr(from, 0, upto));
    const size_t n = zero ? static_cast<size_t>(zero - from) : upto;
    // The pieces between carriage returns (usually one, before the line feed).
    for (const char* p = from; p < from + n;) {
      const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(from + n - p)));
      const char* piece = cr ? cr : from + n;
      line.append(p, piece);
      p = cr ? cr + 1 : piece;
    }
    const bool ended = zero || stop;
    d.at += ended ? n + 1 : n;
    if (ended) break;
  }
  return line;
}

void stream::WriteLine(const std::string& text) {
  if (!d_ || !d_->f || !d_->writer) return;
  if (fwrite(text.data(), 1, text.size(), d_->f) != text.size() || fwrite("\r\n", 1, 2, d_->f) != 2)
    d_->failed = true;
}

bool stream::Close() {
  if (!d_ || !d_->f) return false;
  bool ok = !d_->failed;
  if (d_->writer) ok = fflush(d_->f) == 0 && flush_to_disk(fileno(d_->f)) == 0 && ok;
  ok = fclose(d_->f) == 0 && ok;
  d_->f = nullptr;
  return ok;
}

stream OpenTextRead(const std::string& path) { return stream(open_stream(path, false)); }
stream OpenTextWrite(const std::string& path) { return stream(open_stream(path, true)); }

int CreateEmptyFile(const std::string& path) {
  if (path.empty()) return 0;
  unlink(path.c_str());  // a file only; a folder of that name stays
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | kBinary, 0666);
  if (fd >= 0) close(fd);
  return FileKind(path) == 1;
}

int FileKind(const std::string& path) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return 0;
  return S_ISDIR(st.st_mode) ? 2 : 1;
}

std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = opendir(path.empty() ? "." : path.c_str());
  if (!dir) return names;
  while (dirent* e = readdir(dir)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(dir);
  // The file system's own order differs between machines (hashed on most
  // Linux file systems, alphabetical on others); sorted bytewise, a listing
  // is the same everywhere, and so is the order campaigns are offered in.
  std::sort(names.begin(), names.end());
  return names;
}

bool WriteTextFileSafely(const std::string& path, const std::vector<std::string>& lines) {
  if (path.empty() || path.back() == '/') return false;
  std::string folder = folder_of(path);
  std::string base = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  // One fixed temporary name per file: a save killed half-way leaves at most
  // one stale temporary, which the next save simply overwrites.
  std::string temp = (folder == "." ? "" : folder + "/") + "." + base + ".tmp";
  // Keep the old file's permissions; a new file gets the usual ones.
  mode_t mode = 0666;
  struct stat old;
  if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) mode = old.st_mode & 07777;
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | kBinary, mode);
  if (fd < 0) return false;
  std::string bytes;
  for (const std::string& l : lines) bytes += l + "\r\n";
  bool ok = true;
  for (size_t done = 0; ok && done < bytes.size();) {
    auto n = write(fd, bytes.data() + done, unsigned(bytes.size() - done));
    if (n <= 0)
      ok = false;
    else
      done += size_t(n);
  }
  ok = flush_to_disk(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok) ok = replace_file(temp, path, folder);
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}
