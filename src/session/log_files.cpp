#include "session/log_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "session/file_places.h"

namespace orlimo {
namespace {

// The most "-N" names tried for one stem: far more copies than anyone runs at once.
constexpr int kMaxSuffix = 999;

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string Suffixed(const std::string& stem, int n) { return n == 1 ? stem : stem + "-" + std::to_string(n); }

bool IsDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "__tmp20261207-101500.tmp" or "__tmp20261207-101500-2.tmp": the stamp, else empty.
std::string TempLogStamp(std::string_view name) {
  constexpr std::string_view kPrefix = "__tmp", kExtension = ".tmp";
  if (name.size() < kPrefix.size() + 15 + kExtension.size() || name.substr(0, kPrefix.size()) != kPrefix ||
      name.substr(name.size() - kExtension.size()) != kExtension)
    return {};
  const std::string_view stamp = name.substr(kPrefix.size(), 15);
  const std::string_view rest = name.substr(kPrefix.size() + 15, name.size() - kPrefix.size() - 15 - kExtension.size());
  if (!IsDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !IsDigits(stamp.substr(9))) return {};
  if (!rest.empty() && (rest[0] != '-' || !IsDigits(rest.substr(1)))) return {};
  return std::string(stamp);
}

std::size_t CountLines(int fd) {
  std::size_t lines = 0;
  char buf[1 << 16];
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) lines += static_cast<std::size_t>(std::count(buf, buf + n, '\n'));
  return lines;
}

}  // namespace

std::string FreeName(const std::string& dir, const std::string& stem, const std::string& extension) {
  for (int n = 1; n < kMaxSuffix; ++n) {
    const std::string path = dir + Suffixed(stem, n) + extension;
    if (!Exists(path)) return path;
  }
  return dir + Suffixed(stem, kMaxSuffix) + extension;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without it: a hard link fails on an existing target as well.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

bool TempLogFile::Create(const std::string& dir, const std::string& stem, std::string& error) {
  Close();
  MakeFolders(dir);
  for (int n = 1; n <= kMaxSuffix; ++n) {
    const std::string path = dir + Suffixed(stem, n) + ".tmp";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;  // another copy's, or one left behind
    if (fd < 0) {
      error = std::strerror(errno);
      return false;
    }
    // Held as long as this run writes the file: a later start leaves it alone.
    ::flock(fd, LOCK_EX | LOCK_NB);
    fd_ = fd;
    path_ = path;
    return true;
  }
  error = "too many temporary logs in the folder";
  return false;
}

void TempLogFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::vector<AbandonedLog> FindAbandonedLogs(const std::string& dir) {
  std::vector<AbandonedLog> found;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (d == nullptr) return found;
  while (const dirent* e = ::readdir(d)) {
    const std::string stamp = TempLogStamp(e->d_name);
    if (stamp.empty()) continue;
    const std::string path = dir + e->d_name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // A running copy holds its file locked; anything but a regular file is not a log.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      found.push_back({path, stamp, CountLines(fd)});
    ::close(fd);
  }
  ::closedir(d);
  std::sort(found.begin(), found.end(), [](const AbandonedLog& a, const AbandonedLog& b) { return a.path < b.path; });
  return found;
}

std::optional<std::string> WriteRescueFile(const std::vector<std::string>& dirs, const std::string& name,
                                           const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  const std::size_t dot = name.find('.');
  const std::string stem = name.substr(0, dot), extension = dot == std::string::npos ? "" : name.substr(dot);
  for (const std::string& dir : dirs) {
    if (dir.empty() || !MakeFolders(dir)) continue;
    const std::string path = FreeName(dir, stem, extension);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) continue;
    const bool written = WriteAll(fd, text) && ::fdatasync(fd) == 0;
    ::close(fd);
    if (written) return path;
    ::unlink(path.c_str());  // never half a rescue
  }
  return std::nullopt;
}

}  // namespace orlimo
