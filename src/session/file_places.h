// Where the program keeps its files. Beside the program while its folder can be
// written (a build tree, a portable copy); otherwise in the user's XDG folders, the
// settings under the config home and the logs under the data home. A folder given on
// the command line takes both.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace orlimo {

struct TFilePlaces {
  std::string AppDir;   // the folder of the log files, with a trailing '/'
  std::string IniPath;  // the settings file
};

// `executablePath` is the program file; `dataDir` the folder asked for (empty: none).
// The settings file is named after the program file: its extension, if any, replaced
// by ".ini".
TFilePlaces ResolveFilePlaces(std::string_view executablePath, std::string_view dataDir);

// Creates the folder and its parents; false when it cannot.
bool MakeFolders(const std::string& folder);

// Writes every byte, going on after short writes and interruptions; false with errno
// set when the file takes no more.
bool WriteAll(int fd, std::string_view bytes);

// True when nothing can be written in the folder for good: a read-only file system,
// or an optical disc. A folder that does not exist yet is judged by its nearest
// existing parent.
bool IsCDROMDrive(const std::string& folder);

// "yyyymmdd-hhmmss" of a local time.
std::string DateTimeStamp(const std::tm& local);
// The local time now.
std::tm LocalTimeNow();

}  // namespace orlimo
