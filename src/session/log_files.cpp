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
#include <tuple>

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

// "__tmp20261207-101500.tmp", "__tmp20261207-101500-2.tmp", "__tmp20261207-101500.ubx.tmp":
// the stamp, stem and kind; an empty stamp when the name is none of these.
AbandonedLog ParseTempLogName(std::string_view name) {
  constexpr std::string_view kPrefix = "__tmp";
  for (const LogKind kind : kLogKinds) {
    const std::string extension = TempExtension(kind);
    if (name.size() < kPrefix.size() + 15 + extension.size() || name.substr(0, kPrefix.size()) != kPrefix ||
        name.substr(name.size() - extension.size()) != extension)
      continue;
    const std::string_view stamp = name.substr(kPrefix.size(), 15);
    const std::size_t restAt = kPrefix.size() + 15;
    const std::string_view rest = name.substr(restAt, name.size() - restAt - extension.size());
    if (!IsDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !IsDigits(stamp.substr(9))) continue;
    if (!rest.empty() && (rest[0] != '-' || !IsDigits(rest.substr(1)))) continue;
    AbandonedLog log;
    log.stamp = stamp;
    log.stem = name.substr(0, name.size() - extension.size());
    log.kind = kind;
    return log;
  }
  return {};
}

std::size_t CountLines(int fd) {
  std::size_t lines = 0;
  char buf[1 << 16];
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) lines += static_cast<std::size_t>(std::count(buf, buf + n, '\n'));
  return lines;
}

}  // namespace

std::string LogKindName(LogKind kind) {
  switch (kind) {
    case LogKind::UBX: return "UBX";
    case LogKind::SiRF: return "SiRF";
    case LogKind::Text: break;
  }
  return "NMEA";
}

std::string LogExtension(LogKind kind) {
  switch (kind) {
    case LogKind::UBX: return ".ubx";
    case LogKind::SiRF: return ".sirf";
    case LogKind::Text: break;
  }
  return ".log";
}

std::string TempExtension(LogKind kind) {
  return kind == LogKind::Text ? std::string(".tmp") : LogExtension(kind).append(".tmp");
}

std::string FreeName(const std::string& dir, const std::string& stem, const std::string& extension) {
  return dir + FreeStem(dir, stem, {extension}) + extension;
}

std::string FreeStem(const std::string& dir, const std::string& stem, const std::vector<std::string>& extensions) {
  for (int n = 1; n < kMaxSuffix; ++n) {
    const std::string suffixed = Suffixed(stem, n);
    if (std::none_of(extensions.begin(), extensions.end(),
                     [&](const std::string& extension) { return Exists(dir + suffixed + extension); }))
      return suffixed;
  }
  return Suffixed(stem, kMaxSuffix);
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without it: a hard link fails on an existing target as well.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

bool TempLogFile::Create(const std::string& dir, const std::string& stem, std::string& error,
                         const std::string& extension) {
  Close();
  MakeFolders(dir);
  for (int n = 1; n <= kMaxSuffix; ++n) {
    const std::string path = dir + Suffixed(stem, n) + extension;
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
    AbandonedLog log = ParseTempLogName(e->d_name);
    if (log.stamp.empty()) continue;
    log.path = dir + e->d_name;
    const std::string& path = log.path;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // A running copy holds its file locked; anything but a regular file is not a log.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      log.bytes = static_cast<std::size_t>(st.st_size);
      if (log.kind == LogKind::Text) log.lines = CountLines(fd);
      found.push_back(std::move(log));
    }
    ::close(fd);
  }
  ::closedir(d);
  // The files of one run side by side, its text log first.
  std::sort(found.begin(), found.end(), [](const AbandonedLog& a, const AbandonedLog& b) {
    return std::tie(a.stem, a.kind) < std::tie(b.stem, b.kind);
  });
  return found;
}

std::optional<std::string> WriteRescueFile(const std::vector<std::string>& dirs, const std::string& name,
                                           const std::vector<std::string>& records,
                                           std::string_view terminator) {
  std::string text;
  for (const std::string& record : records) text.append(record).append(terminator);
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
