#include "session/file_places.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#ifndef ORLIMO_INSTALL_PREFIXES
#error "ORLIMO_INSTALL_PREFIXES (':'-separated) comes from src/session/CMakeLists.txt"
#endif

namespace orlimo {
namespace {

constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;
constexpr const char* kProgramFolder = "orlimo";

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// $VAR when it is an absolute path, else the home folder plus `fallback`.
std::string XdgFolder(const char* var, const char* fallback) {
  const char* value = std::getenv(var);
  if (value != nullptr && value[0] == '/') return WithSlash(value);
  const char* home = std::getenv("HOME");
  return WithSlash(std::string(home != nullptr && home[0] == '/' ? home : "/tmp") + fallback);
}

bool Writable(const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }

// The folder with its links resolved, or as written (tidied) when it does not exist.
std::string RealFolder(const std::string& folder) {
  if (char* real = ::realpath(folder.c_str(), nullptr)) {
    std::string out(real);
    std::free(real);
    return WithSlash(std::move(out));
  }
  return WithSlash(std::filesystem::path(folder).lexically_normal().string());
}

bool Installed(const std::string& folder, const std::vector<std::string>& prefixes) {
  const std::string real = RealFolder(folder);
  for (const std::string& prefix : prefixes) {
    if (prefix.empty() || prefix[0] != '/') continue;
    const std::string bin = RealFolder(WithSlash(prefix) + "bin");
    if (real.compare(0, bin.size(), bin) == 0) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> InstallPrefixes() {
  std::vector<std::string> out;
  const std::string_view all = ORLIMO_INSTALL_PREFIXES;
  for (std::size_t at = 0; at <= all.size();) {
    std::size_t end = all.find(':', at);
    if (end == std::string_view::npos) end = all.size();
    if (end > at) out.emplace_back(all.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

TFilePlaces ResolveFilePlaces(std::string_view executablePath, std::string_view dataDir,
                              const std::vector<std::string>& installPrefixes) {
  const std::string exe(executablePath);
  const std::size_t slash = exe.rfind('/');
  const std::string folder = slash == std::string::npos ? "./" : exe.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? exe : exe.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  if (name.empty()) name = kProgramFolder;
  const std::string iniName = name + ".ini";

  if (!dataDir.empty()) {
    const std::string dir = WithSlash(std::string(dataDir));
    return {dir, dir + iniName};
  }
  if (!Installed(folder, installPrefixes) && Writable(folder)) return {folder, folder + iniName};
  return {XdgFolder("XDG_DATA_HOME", "/.local/share") + kProgramFolder + "/",
          XdgFolder("XDG_CONFIG_HOME", "/.config") + kProgramFolder + "/" + iniName};
}

bool MakeFolders(const std::string& folder) {
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n == 0) errno = ENOSPC;
      return false;
    }
  }
  return true;
}

bool IsCDROMDrive(const std::string& folder) {
  std::string probe = folder.empty() ? "." : folder;
  struct stat st {};
  while (::stat(probe.c_str(), &st) != 0) {
    while (probe.size() > 1 && probe.back() == '/') probe.pop_back();
    const std::size_t slash = probe.rfind('/');
    if (slash == std::string::npos) return false;
    probe = slash == 0 ? "/" : probe.substr(0, slash);
  }
  struct statvfs vfs {};
  if (::statvfs(probe.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0) return true;
  struct statfs fs {};
  return ::statfs(probe.c_str(), &fs) == 0 &&
         (static_cast<long>(fs.f_type) == kIso9660Magic || static_cast<long>(fs.f_type) == kUdfMagic);
}

std::string DateTimeStamp(const std::tm& t) {
  char out[32];
  std::snprintf(out, sizeof out, "%04d%02d%02d-%02d%02d%02d", (t.tm_year + 1900) % 10000, (t.tm_mon + 1) % 100,
                t.tm_mday % 100, t.tm_hour % 100, t.tm_min % 100, t.tm_sec % 100);
  return out;
}

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return local;
}

}  // namespace orlimo
