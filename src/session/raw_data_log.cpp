#include "session/raw_data_log.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "nmea/sentence.h"
#include "session/file_places.h"
#include "session/session_state.h"
#include "session/session_view.h"

namespace orlimo {
namespace {

// Renames only when the target does not exist yet: a log is never replaced.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without it: a hard link fails on an existing target as well.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace

void RawDataLog::SetPlaces(const std::string& appDir, const std::tm& startTime) {
  appDir_ = appDir;
  tempLogPath_ = appDir + "__tmp" + DateTimeStamp(startTime) + ".tmp";
}

void RawDataLog::AddLogLine(std::string_view line) {
  lines_.emplace_back(line);
  pendingBytes_ += line.size() + 2;
  if (pendingBytes_ <= maxPendingBytes_) return;
  while (pendingBytes_ > maxPendingBytes_ && !lines_.empty()) {
    pendingBytes_ -= lines_.front().size() + 2;
    lines_.pop_front();
    ++dropped_;
  }
  if (dropped_ > 0) view_.SetPanelText(8, "Log Lost " + std::to_string(dropped_));
}

bool RawDataLog::WriteBatch(std::string& error) {
  if (tempLogPath_.empty()) {
    error = "no folder for the log";
    return false;
  }
  MakeFolders(appDir_);
  const int fd = ::open(tempLogPath_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  struct stat st {};
  const off_t before = ::fstat(fd, &st) == 0 ? st.st_size : -1;
  std::string batch;
  batch.reserve(pendingBytes_);
  for (const std::string& line : lines_) {
    batch += line;
    batch += "\r\n";
  }
  if (!WriteAll(fd, batch)) {
    error = std::strerror(errno);
    // Take back the part that got in: the file holds whole batches only.
    if (before >= 0 && ::ftruncate(fd, before) != 0) error += " (the file keeps part of a batch)";
    ::close(fd);
    return false;
  }
  if (::close(fd) != 0) {
    error = std::strerror(errno);
    return false;
  }
  lines_.clear();
  pendingBytes_ = 0;
  return true;
}

bool RawDataLog::FlushLogLines() {
  std::string error;
  lastAttempt_ = std::chrono::steady_clock::now();
  if (!WriteBatch(error)) {
    view_.ShowErrorMsg("Unable to write the log file " + tempLogPath_ + " : " + error);
    failing_ = true;
    return false;
  }
  if (failing_) Recovered();
  return true;
}

void RawDataLog::FlushLog() {
  const auto now = std::chrono::steady_clock::now();
  if (failing_ && now - lastAttempt_ < retryInterval_) return;
  lastAttempt_ = now;
  std::string error;
  if (WriteBatch(error)) {
    if (failing_) Recovered();
  } else if (!failing_) {
    Failed(error);
  }
}

void RawDataLog::Failed(const std::string& error) {
  // Said once per failure streak; the lines wait and the write is retried.
  failing_ = true;
  view_.SetPanelText(8, "Log Error");
  view_.ShowErrorMsg("Unable to write the log file " + tempLogPath_ + " : " + error +
                     "\r\n\r\nThe data is kept and written as soon as the file can be written again.");
}

void RawDataLog::Recovered() {
  failing_ = false;
  view_.SetPanelText(8, state_.LogActive ? "Start Log" : "Stop Log");
  view_.AppendTrace(2, "Log file written again: " + tempLogPath_);
  if (dropped_ > 0) {
    view_.ShowWarningMsg(std::to_string(dropped_) +
                         " log lines were lost while the log file could not be written.");
    dropped_ = 0;
  }
}

bool RawDataLog::SaveLogFile() {
  const std::string logPath = appDir_ + "NMEA_" + DateTimeStamp(now_ ? now_() : LocalTimeNow()) + ".log";
  state_.LogActive = false;
  if (!FlushLogLines()) return false;
  if (!RenameNoReplace(tempLogPath_, logPath)) {
    view_.ShowErrorMsg("Unable to create Log file.");
    return false;
  }
  view_.ShowConfirmMsg(logPath + " was saved !");
  return true;
}

void RawDataLog::TBStartLogClick() {
  if (!available_) return;
  if (!state_.LogActive) {
    state_.LogActive = true;
    view_.SetButtonDown(TToolButton::StartLog, true);
    view_.SetButtonImage(TToolButton::StartLog, kImageLogging);
    view_.SetPanelText(8, "Start Log");
    view_.SetButtonHint(TToolButton::StartLog, "Stop Log");
    return;
  }
  if (!SaveLogFile()) return;  // the button keeps its logging look
  view_.SetPanelText(8, "Stop Log");
  view_.SetButtonDown(TToolButton::StartLog, false);
  view_.SetButtonImage(TToolButton::StartLog, kImageLogStopped);
  view_.SetButtonHint(TToolButton::StartLog, "Start to Log data");
}

void RawDataLog::DisableLoggingOnCDROM() {
  if (!IsCDROMDrive(appDir_)) return;
  available_ = false;
  view_.SetButtonImage(TToolButton::StartLog, kImageLogUnavailable);
  view_.SetButtonHint(TToolButton::StartLog, "The Log function was disabled when run the utility from CD-ROM !");
}

bool RawDataLog::AskSaveBeforeQuit() {
  if (!state_.LogActive) return true;
  if (!view_.AskYesNo("Do you want to save log data before quit ? ")) return true;
  return SaveLogFile();
}

std::vector<std::string> CheckLogLines(const std::vector<std::string>& lines) {
  std::vector<std::string> report;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsValidSentence(lines[i])) continue;
    char item[32];
    std::snprintf(item, sizeof item, "  itemIdx:%.3zu", i);
    report.emplace_back(item);
  }
  report.emplace_back("OK !");
  return report;
}

}  // namespace orlimo
