// The files of the raw-data log on disk: the temporary log one run writes (created
// exclusively and locked while the run writes it, so that two copies of the program
// never share one and a later start can tell an abandoned one from one in use), the
// dated logs it becomes, and the rescue file for lines that could not be written at
// the end of a run. Plain POSIX; nothing here shows anything.
//
// A run logs NMEA text to "NMEA_<stamp>.log" and the binary frames of a receiver that
// sends them, byte for byte, to "NMEA_<stamp>.ubx" or ".sirf" beside it: one file of
// each kind, all named alike ("__tmp<stamp>.tmp", "__tmp<stamp>.ubx.tmp" while written).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlimo {

enum class LogKind : std::uint8_t { Text, UBX, SiRF };
inline constexpr std::array<LogKind, 3> kLogKinds{LogKind::Text, LogKind::UBX, LogKind::SiRF};
// "NMEA", "UBX", "SiRF": what the user is told a file holds.
std::string LogKindName(LogKind kind);
// The dated log's extension: ".log", ".ubx", ".sirf".
std::string LogExtension(LogKind kind);
// A temporary log's: ".tmp", ".ubx.tmp", ".sirf.tmp".
std::string TempExtension(LogKind kind);

// "dir/NMEA_20261207-101500.log", or with "-2", "-3" ... before the extension: the
// first such name that does not exist yet.
std::string FreeName(const std::string& dir, const std::string& stem, const std::string& extension);
// The first of `stem`, "stem-2", ... for which no file of any of `extensions` exists:
// the files of one run keep one name.
std::string FreeStem(const std::string& dir, const std::string& stem, const std::vector<std::string>& extensions);

// Renames only when the target does not exist yet: a log is never replaced.
bool RenameNoReplace(const std::string& from, const std::string& to);

// A temporary log created for this run: the file is new (O_EXCL: another copy's file
// gets the next "-N" name), a regular file, and held under an exclusive lock until
// closed. Errors come back as text.
class TempLogFile {
 public:
  TempLogFile() = default;
  ~TempLogFile() { Close(); }
  TempLogFile(const TempLogFile&) = delete;
  TempLogFile& operator=(const TempLogFile&) = delete;

  // Creates "dir" + stem + extension (or stem-2 + extension ...); false with `error` set.
  bool Create(const std::string& dir, const std::string& stem, std::string& error,
              const std::string& extension = ".tmp");
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  int Fd() const { return fd_; }
  // Releases the lock and the file (it stays on disk).
  void Close();
  // After a rename: the file now has this name.
  void Renamed(std::string path) { path_ = std::move(path); }

 private:
  int fd_ = -1;
  std::string path_;
};

// A temporary log left in `dir` by a run that ended without closing it: not locked
// by a running copy, and not one the user declined (those end in ".declined").
struct AbandonedLog {
  std::string path;
  std::string stamp;  // "yyyymmdd-hhmmss" of the run that wrote it
  std::string stem;   // "__tmp" and the stamp (and "-N"): shared by the files of one run
  LogKind kind = LogKind::Text;
  std::size_t lines = 0;
  std::size_t bytes = 0;
};
std::vector<AbandonedLog> FindAbandonedLogs(const std::string& dir);

// Writes `records`, each followed by `terminator`, to a new file `name` in the first
// of `dirs` that takes it whole; its path, or nullopt.
std::optional<std::string> WriteRescueFile(const std::vector<std::string>& dirs, const std::string& name,
                                           const std::vector<std::string>& records,
                                           std::string_view terminator = "\r\n");

}  // namespace orlimo
