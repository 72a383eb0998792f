#include "session/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "nmea/text.h"
#include "session/file_places.h"

namespace orlimo {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view TrimEnd(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return TrimEnd(s);
}

// Opens `path` for reading without waiting, so that a FIFO or a device put where the
// settings file belongs cannot hold up the program, and keeps it open only when it is
// a regular file. -1 otherwise: `regular` false when the path names something else,
// else errno tells why it could not be opened.
int OpenRegularFile(const std::string& path, bool& regular) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    regular = errno != ENXIO;  // a socket, or a device with nothing behind it
    return -1;
  }
  struct stat st {};
  regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (regular) return fd;
  ::close(fd);
  return -1;
}

// Follows `path` while it is a symbolic link, so that a write replaces the file the
// link names and the link stays. False with `error` set for a link that cannot be read
// or a loop of links.
bool FollowLinks(std::string& path, bool& linked, std::string& error) {
  linked = false;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    char to[4096];
    const ssize_t n = ::readlink(path.c_str(), to, sizeof to);
    if (n <= 0 || static_cast<std::size_t>(n) == sizeof to) {
      error = std::strerror(n < 0 ? errno : ENAMETOOLONG);
      return false;
    }
    linked = true;
    const std::string target(to, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    // A relative target is relative to the link's folder.
    path = target.front() == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
  }
  error = std::strerror(ELOOP);
  return false;
}

// A header line's section name.
std::optional<std::string_view> HeaderName(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.find(']') == std::string_view::npos) return std::nullopt;
  return Trim(trimmed.substr(1, trimmed.find(']') - 1));
}

// A key line's key and where its "=" is; an empty key for a line kept as it is.
std::string_view KeyOf(std::string_view line, std::size_t& eq) {
  eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  const std::string_view key = Trim(line.substr(0, eq));
  return !key.empty() && key.front() != ';' ? key : std::string_view{};
}

std::size_t LineEnd(const std::string& lines, std::size_t pos) {
  const std::size_t eol = lines.find('\n', pos);
  return eol == std::string::npos ? lines.size() : eol;
}

}  // namespace

bool TIniFile::Load(const std::string& path) {
  lines_.clear();
  refused_ = false;
  bom_ = false;
  bool regular = false;
  const int fd = OpenRegularFile(path, regular);
  if (fd < 0) return false;
  struct stat st {};
  refused_ = ::fstat(fd, &st) == 0 && static_cast<std::size_t>(st.st_size) > kMaxBytes;
  std::string text;
  char block[65536];
  ssize_t n = 0;
  while (!refused_ && (n = ::read(fd, block, sizeof block)) != 0) {
    if (n > 0) {
      text.append(block, static_cast<std::size_t>(n));
      refused_ = text.size() > kMaxBytes;  // it grew while read
    } else if (errno != EINTR) {
      break;
    }
  }
  ::close(fd);
  if (refused_ || n < 0) return false;
  Parse(text);
  return true;
}

void TIniFile::Parse(std::string_view text) {
  lines_.clear();
  lines_.reserve(text.size());
  // Editors on Windows may start a UTF-8 file with a mark that is no part of its first line.
  bom_ = text.substr(0, kBom.size()) == kBom;
  if (bom_) text.remove_prefix(kBom.size());
  for (std::size_t start = 0; start < text.size();) {
    // CR LF, LF or a lone CR (old Mac files) ends a line.
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    std::size_t eq = 0;
    if (const auto name = HeaderName(line)) {
      lines_ += '[';
      lines_ += *name;
      lines_ += ']';
    } else if (const std::string_view key = KeyOf(line, eq); !key.empty()) {
      // Trailing blanks are an editor's leftovers ("9600 " is no rate); leading ones
      // stay, as the console history's commands may start with blanks.
      lines_ += key;
      lines_ += '=';
      lines_ += TrimEnd(line.substr(eq + 1));
    } else {
      lines_ += line;
    }
    lines_ += '\n';
  }
}

TIniFile::Body TIniFile::Find(std::string_view name) const {
  Body body;
  for (std::size_t pos = 0; pos < lines_.size();) {
    const std::size_t eol = LineEnd(lines_, pos);
    const auto header = HeaderName(std::string_view(lines_).substr(pos, eol - pos));
    if (header && body.begin != std::string::npos) {
      body.end = pos;
      return body;
    }
    if (header && SameTextIgnoringCase(*header, name)) body.begin = eol + 1;
    pos = eol + 1;
  }
  if (body.begin != std::string::npos) body.end = lines_.size();
  return body;
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
  const Body body = Find(section);
  for (std::size_t pos = body.begin; pos < body.end;) {
    const std::size_t eol = LineEnd(lines_, pos);
    const std::string_view line = std::string_view(lines_).substr(pos, eol - pos);
    std::size_t eq = 0;
    const std::string_view k = KeyOf(line, eq);
    if (!k.empty() && SameTextIgnoringCase(k, key)) return std::string(line.substr(eq + 1));
    pos = eol + 1;
  }
  return std::nullopt;
}

void TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  std::string line(key);
  line += '=';
  line += value;
  line += '\n';
  const Body body = Find(section);
  if (body.begin == std::string::npos) {
    lines_ += '[';
    lines_ += section;
    lines_ += "]\n";
    lines_ += line;
    return;
  }
  // After the section's last key, before any blank lines that end it.
  std::size_t at = body.begin;
  for (std::size_t pos = body.begin; pos < body.end;) {
    const std::size_t eol = LineEnd(lines_, pos);
    const std::string_view text = std::string_view(lines_).substr(pos, eol - pos);
    std::size_t eq = 0;
    const std::string_view k = KeyOf(text, eq);
    if (!k.empty() && SameTextIgnoringCase(k, key)) {
      lines_.replace(pos + eq + 1, eol - pos - eq - 1, value);
      return;
    }
    if (!Trim(text).empty()) at = eol + 1;
    pos = eol + 1;
  }
  lines_.insert(at, line);
}

std::string TIniFile::Text() const {
  std::string out(bom_ ? kBom : std::string_view{});
  out.reserve(out.size() + lines_.size() + static_cast<std::size_t>(std::count(lines_.begin(), lines_.end(), '\n')));
  for (char c : lines_) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool TIniFile::Save(const std::string& path, std::string& error) const {
  if (refused_) {
    error = "the file is too large to be a settings file; it is left as it is";
    return false;
  }
  const std::string text = Text();
  if (text.size() > kMaxBytes) {
    // The next start would refuse such a file.
    error = "the settings would make the file too large to be a settings file; it is left as it is";
    return false;
  }
  std::string target = path;
  bool linked = false;
  if (!FollowLinks(target, linked, error)) return false;
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  struct stat st {};
  if (linked && (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))) {
    error = "it links to " + target + ", whose folder does not exist";
    return false;
  }
  if (!linked && !MakeFolders(folder)) {
    error = std::strerror(errno);
    return false;
  }
  // Only a regular file is replaced: a FIFO, a device or a folder there stays.
  bool regular = true;
  const int old = OpenRegularFile(target, regular);
  if (old >= 0) {
    ::close(old);
  } else if (!regular) {
    error = target + " is not a regular file";
    return false;
  } else if (errno != ENOENT && errno != EACCES) {  // a file that cannot be read is replaced as ever
    error = std::strerror(errno);
    return false;
  }
  std::string temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  const bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  const int writeErrno = errno;
  if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    error = std::strerror(ok ? errno : writeErrno);
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself is on disk once the folder is.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace orlimo
