#include "session/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "nmea/text.h"
#include "session/file_places.h"

namespace orlimo {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool TIniFile::Load(const std::string& path) {
  sections_.clear();
  truncated_ = false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string text;
  char block[65536];
  while (text.size() < kMaxBytes && in.read(block, sizeof block).gcount() > 0) {
    text.append(block, static_cast<std::size_t>(in.gcount()));
  }
  truncated_ = text.size() > kMaxBytes || in.peek() != std::char_traits<char>::eof();
  if (text.size() > kMaxBytes) text.resize(kMaxBytes);
  Parse(text);
  return true;
}

void TIniFile::Parse(std::string_view text) {
  sections_.assign(1, Section{});
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = Trim(line);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.find(']') != std::string_view::npos) {
      sections_.push_back({std::string(Trim(trimmed.substr(1, trimmed.find(']') - 1))), {}});
      continue;
    }
    const std::size_t eq = line.find('=');
    const std::string_view key = eq == std::string_view::npos ? std::string_view{} : Trim(line.substr(0, eq));
    if (key.empty() || trimmed.front() == ';') {
      sections_.back().entries.push_back({"", std::string(line)});
    } else {
      sections_.back().entries.push_back({std::string(key), std::string(line.substr(eq + 1))});
    }
  }
}

TIniFile::Section* TIniFile::Find(std::string_view name) {
  for (std::size_t i = 1; i < sections_.size(); ++i)
    if (SameTextIgnoringCase(sections_[i].name, name)) return &sections_[i];
  return nullptr;
}

const TIniFile::Section* TIniFile::Find(std::string_view name) const {
  return const_cast<TIniFile*>(this)->Find(name);
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
  const Section* s = Find(section);
  if (s == nullptr) return std::nullopt;
  for (const Entry& e : s->entries)
    if (!e.key.empty() && SameTextIgnoringCase(e.key, key)) return e.value;
  return std::nullopt;
}

void TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  if (sections_.empty()) sections_.assign(1, Section{});
  Section* s = Find(section);
  if (s == nullptr) {
    sections_.push_back({std::string(section), {}});
    s = &sections_.back();
  }
  for (Entry& e : s->entries) {
    if (!e.key.empty() && SameTextIgnoringCase(e.key, key)) {
      e.value = value;
      return;
    }
  }
  // After the section's last key, before any blank lines that end it.
  auto at = s->entries.end();
  while (at != s->entries.begin() && std::prev(at)->key.empty() && Trim(std::prev(at)->value).empty()) --at;
  s->entries.insert(at, {std::string(key), std::string(value)});
}

std::string TIniFile::Text() const {
  std::string out;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) out += "[" + sections_[i].name + "]\r\n";
    for (const Entry& e : sections_[i].entries) out += (e.key.empty() ? e.value : e.key + "=" + e.value) + "\r\n";
  }
  return out;
}

bool TIniFile::Save(const std::string& path, std::string& error) const {
  if (truncated_) {
    error = "the file is too large to be a settings file; it is left as it is";
    return false;
  }
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  if (!MakeFolders(folder)) {
    error = std::strerror(errno);
    return false;
  }
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  const bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, Text()) && ::fsync(fd) == 0;
  const int writeErrno = errno;
  if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), path.c_str()) != 0) {
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
