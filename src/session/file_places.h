// Where the program keeps its files. Beside the program while it runs from a build
// tree or a portable copy whose folder can be written; an installed program, and one
// whose folder cannot be written, uses the user's XDG folders: the settings under the
// config home and the logs under the data home. A folder given on the command line
// takes both.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace orlimo {

struct TFilePlaces {
  std::string AppDir;   // the folder of the log files, with a trailing '/'
  std::string IniPath;  // the settings file
};

// The prefixes this build installs under: cmake --install's and the Debian package's.
std::vector<std::string> InstallPrefixes();

// `executablePath` is the program file; `dataDir` the folder asked for (empty: none).
// The settings file is named after the program file: its extension, if any, replaced
// by ".ini". A program whose folder lies in <prefix>/bin of one of `installPrefixes`
// (symbolic links resolved) is installed: root could write there, but must not.
TFilePlaces ResolveFilePlaces(std::string_view executablePath, std::string_view dataDir,
                              const std::vector<std::string>& installPrefixes = InstallPrefixes());

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
