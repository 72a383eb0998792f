#include "session/raw_data_log.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "nmea/sentence.h"
#include "session/file_places.h"
#include "session/session_state.h"
#include "session/session_view.h"

namespace orlimo {
namespace {

std::string ErrnoText() { return std::strerror(errno); }

// Where lines that cannot be written at the end of a run go: the user's state folder,
// else the system's temporary folder.
std::vector<std::string> RescueDirs(const std::string& chosen) {
  std::vector<std::string> dirs;
  if (!chosen.empty()) dirs.push_back(chosen);
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  if (state != nullptr && *state == '/') dirs.push_back(std::string(state) + "/orlimo/");
  else if (home != nullptr && *home == '/') dirs.push_back(std::string(home) + "/.local/state/orlimo/");
  const char* tmp = std::getenv("TMPDIR");
  dirs.push_back(tmp != nullptr && *tmp == '/' ? std::string(tmp) + "/" : std::string("/tmp/"));
  return dirs;
}

}  // namespace

RawDataLog::RawDataLog(ISessionView& view, SessionState& state) : view_(view), state_(state) {
  ageTimer_.setSingleShot(true);
  ageTimer_.setInterval(kMaxLineAge);
  QObject::connect(&ageTimer_, &QTimer::timeout, [this] {
    if (!lines_.empty()) FlushLog();
  });
}

void RawDataLog::SetPlaces(const std::string& appDir, const std::tm& startTime) {
  appDir_ = appDir;
  tempStem_ = "__tmp" + DateTimeStamp(startTime);
  tempLogPath_ = appDir + tempStem_ + ".tmp";
}

std::string RawDataLog::Stamp() const { return DateTimeStamp(now_ ? now_() : LocalTimeNow()); }

void RawDataLog::AddLogLine(std::string_view line) {
  lines_.emplace_back(line);
  pendingBytes_ += line.size() + 2;
  if (!ageTimer_.isActive() && QCoreApplication::instance() != nullptr) ageTimer_.start();
  if (pendingBytes_ <= maxPendingBytes_) return;
  while (pendingBytes_ > maxPendingBytes_ && !lines_.empty()) {
    pendingBytes_ -= lines_.front().size() + 2;
    lines_.pop_front();
    ++dropped_;
  }
  if (dropped_ > 0) view_.SetPanelText(8, "Log Lost " + std::to_string(dropped_));
}

bool RawDataLog::WriteBatch(std::string& error) {
  if (tempStem_.empty()) {
    error = "no folder for the log";
    return false;
  }
  if (!temp_.IsOpen() && !temp_.Create(appDir_, tempStem_, error)) return false;
  tempLogPath_ = temp_.Path();
  const int fd = temp_.Fd();
  struct stat st {};
  const off_t before = ::fstat(fd, &st) == 0 ? st.st_size : -1;
  std::string batch;
  batch.reserve(pendingBytes_);
  for (const std::string& line : lines_) {
    batch += line;
    batch += "\r\n";
  }
  if (!WriteAll(fd, batch)) {
    error = ErrnoText();
    // Take back the part that got in: the file holds whole batches only.
    if (before >= 0 && ::ftruncate(fd, before) != 0) error += " (the file keeps part of a batch)";
    return false;
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - lastSync_ >= kSyncInterval) {
    lastSync_ = now;
    ::fdatasync(fd);
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

std::optional<std::string> RawDataLog::SaveQuietly(std::string& error) {
  state_.LogActive = false;
  // A save right after a flush has nothing left to write.
  if ((!lines_.empty() || !temp_.IsOpen()) && !WriteBatch(error)) return std::nullopt;
  ::fdatasync(temp_.Fd());
  // A name in use (a save in the same second, another copy's) gets the next "-N".
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::string logPath = FreeName(appDir_, "NMEA_" + Stamp(), ".log");
    if (RenameNoReplace(temp_.Path(), logPath)) {
      temp_.Close();
      tempLogPath_ = appDir_ + tempStem_ + ".tmp";
      return logPath;
    }
    if (errno != EEXIST) break;
  }
  error = ErrnoText();
  return std::nullopt;
}

bool RawDataLog::SaveLogFile() {
  std::string error;
  state_.LogActive = false;  // also when it fails: the data waits for the next save
  if (!FlushLogLines()) return false;
  const std::optional<std::string> logPath = SaveQuietly(error);
  if (!logPath) {
    view_.ShowErrorMsg("Unable to create Log file.");
    return false;
  }
  view_.ShowConfirmMsg(*logPath + " was saved !");
  return true;
}

std::string RawDataLog::SaveAtExit(bool confirm) {
  if (!state_.LogActive && lines_.empty()) return {};
  if (HoldsNoLine()) {
    // A log of nothing is no log: its empty file goes.
    state_.LogActive = false;
    if (temp_.IsOpen()) ::unlink(temp_.Path().c_str());
    temp_.Close();
    tempLogPath_ = appDir_ + tempStem_ + ".tmp";
    if (confirm) view_.ShowInformationMsg("Nothing was logged: no log was kept.");
    return {};
  }
  std::string error;
  if (const std::optional<std::string> logPath = SaveQuietly(error)) {
    if (confirm) view_.ShowConfirmMsg(*logPath + " was saved !");
    return {};
  }
  if (lines_.empty()) {
    // Every line is in the temporary file, which the next start recovers.
    temp_.Close();
    return "The log could not be saved (" + error + "); all its lines are in " + tempLogPath_ +
           ", which the next start recovers.";
  }
  return RescueAtExit();
}

bool RawDataLog::HoldsNoLine() const {
  struct stat st {};
  return lines_.empty() && (!temp_.IsOpen() || (::fstat(temp_.Fd(), &st) == 0 && st.st_size == 0));
}

std::string RawDataLog::RescueAtExit() {
  const std::vector<std::string> lines(lines_.begin(), lines_.end());
  const std::string target = temp_.IsOpen() ? temp_.Path() : tempLogPath_;
  const std::optional<std::string> rescue =
      WriteRescueFile(RescueDirs(rescueDir_), "NMEA_" + Stamp() + ".rescue.log", lines);
  temp_.Close();
  // Built by appending: GCC 12 at -O3 misreads a literal added to a temporary string.
  std::string said = std::to_string(lines.size());
  said.append(" lines could not be written to ").append(target);
  if (rescue) {
    said.append("; they are in ").append(*rescue).append(".");
    lines_.clear();
    pendingBytes_ = 0;
  } else {
    said.append(" nor to a rescue file; they are lost.");
  }
  if (dropped_ > 0) {
    said.append(" ").append(std::to_string(dropped_));
    said.append(" earlier lines were lost while the file could not be written.");
  }
  return said;
}

void RawDataLog::RecoverEarlierLogs() {
  if (!available_ || appDir_.empty()) return;
  for (const AbandonedLog& log : FindAbandonedLogs(appDir_)) {
    const std::string target = FreeName(appDir_, "NMEA_" + log.stamp, ".log");
    if (!RenameNoReplace(log.path, target)) continue;  // left as it is, for the next start
    view_.ShowInformationMsg("Recovered the log of an earlier run: " + target + " (" + std::to_string(log.lines) +
                             " lines).");
  }
}

void RawDataLog::TBStartLogClick() {
  if (!available_) return;
  if (!state_.LogActive) {
    // Made now, so that a folder that cannot be written says so before a line is held.
    std::string error;
    if (!temp_.IsOpen() && (tempStem_.empty() || !temp_.Create(appDir_, tempStem_, error))) {
      view_.ShowErrorMsg("Unable to create the log file in " + appDir_ + " : " +
                         (error.empty() ? "no folder for the log" : error) + "\r\n\r\nLogging stays off.");
      return;
    }
    tempLogPath_ = temp_.Path();
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
  if (view_.AskYesNo("Do you want to save log data before quit ? ")) return SaveLogFile();
  // Kept, as declined data always was, under a name recovery leaves alone.
  state_.LogActive = false;
  if (temp_.IsOpen() && RenameNoReplace(temp_.Path(), temp_.Path() + ".declined"))
    tempLogPath_ = temp_.Path() + ".declined";
  temp_.Close();
  return true;
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
