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

// "X was saved !", or "X and Y were saved !" for the files of one run.
std::string SavedText(const std::vector<std::string>& paths) {
  std::string said;
  for (std::size_t i = 0; i < paths.size(); ++i) said.append(i == 0 ? "" : " and ").append(paths[i]);
  return said.append(paths.size() == 1 ? " was saved !" : " were saved !");
}

}  // namespace

RawDataLog::RawDataLog(ISessionView& view, SessionState& state) : view_(view), state_(state) {
  ageTimer_.setSingleShot(true);
  ageTimer_.setInterval(kMaxLineAge);
  QObject::connect(&ageTimer_, &QTimer::timeout, [this] {
    if (LogLineCount() > 0) FlushLog();
  });
}

void RawDataLog::SetPlaces(const std::string& appDir, const std::tm& startTime) {
  appDir_ = appDir;
  tempStem_ = "__tmp" + DateTimeStamp(startTime);
  tempLogPath_ = appDir + tempStem_ + ".tmp";
}

std::string RawDataLog::Stamp() const { return DateTimeStamp(now_ ? now_() : LocalTimeNow()); }

std::string RawDataLog::RunStem() const {
  if (!Text().IsOpen()) return tempStem_;
  const std::string& path = Text().Path();
  const std::size_t from = appDir_.size(), extension = TempExtension(LogKind::Text).size();
  return path.size() > from + extension ? path.substr(from, path.size() - from - extension) : tempStem_;
}

std::size_t RawDataLog::LogLineCount() const {
  std::size_t waiting = 0;
  for (const LogStream& stream : streams_) waiting += stream.Waiting();
  return waiting;
}

void RawDataLog::AddLogLine(std::string_view line) { Add(Text(), line); }

void RawDataLog::AddLogFrame(TFrameProtocol protocol, std::string_view frame) {
  if (protocol == TFrameProtocol::UBX) Add(streams_[1], frame);
  else if (protocol == TFrameProtocol::SiRF) Add(streams_[2], frame);
}

void RawDataLog::Add(LogStream& stream, std::string_view record) {
  const std::size_t dropped = stream.Dropped();
  stream.Add(record, maxPendingBytes_);
  if (!ageTimer_.isActive() && QCoreApplication::instance() != nullptr) ageTimer_.start();
  if (stream.Dropped() == dropped) return;
  view_.SetPanelText(8, std::string("Log Lost ").append(std::to_string(stream.Dropped())));
}

bool RawDataLog::WriteBatch(std::string& error) {
  if (tempStem_.empty()) {
    error = "no folder for the log";
    return false;
  }
  for (LogStream& stream : streams_) {
    const bool text = stream.Kind() == LogKind::Text;
    if (!text && stream.Waiting() == 0) continue;
    failedPath_ = stream.IsOpen() ? stream.Path() : appDir_ + RunStem() + TempExtension(stream.Kind());
    if (!stream.IsOpen() && !stream.Create(appDir_, text ? tempStem_ : RunStem(), error)) return false;
    if (text) tempLogPath_ = stream.Path();
    failedPath_ = stream.Path();
    if (!stream.WriteBatch(error)) return false;
  }
  return true;
}

bool RawDataLog::FlushLogLines() {
  std::string error;
  lastAttempt_ = std::chrono::steady_clock::now();
  if (!WriteBatch(error)) {
    view_.ShowErrorMsg("Unable to write the log file " + failedPath_ + " : " + error);
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
  view_.ShowErrorMsg("Unable to write the log file " + failedPath_ + " : " + error +
                     "\r\n\r\nThe data is kept and written as soon as the file can be written again.");
}

void RawDataLog::Recovered() {
  failing_ = false;
  view_.SetPanelText(8, state_.LogActive ? "Start Log" : "Stop Log");
  view_.AppendTrace(2, "Log file written again: " + tempLogPath_);
  for (LogStream& stream : streams_) {
    if (stream.Dropped() == 0) continue;
    const char* log = stream.Kind() == LogKind::Text ? " log " : " ";
    view_.ShowWarningMsg(std::to_string(stream.Dropped()) + log + stream.Noun() +
                         " were lost while the log file could not be written.");
    stream.ClearDropped();
  }
}

std::optional<std::vector<std::string>> RawDataLog::SaveQuietly(std::string& error, bool keepEmptyText) {
  state_.LogActive = false;
  // A save right after a flush has nothing left to write.
  if ((LogLineCount() > 0 || !Text().IsOpen()) && !WriteBatch(error)) return std::nullopt;
  std::vector<LogStream*> kept;
  std::vector<std::string> extensions;
  for (LogStream& stream : streams_) {
    if (stream.HoldsNothing() && !(keepEmptyText && stream.Kind() == LogKind::Text)) {
      stream.Remove();  // a log of nothing is no log
      continue;
    }
    stream.Sync();
    kept.push_back(&stream);
    extensions.push_back(LogExtension(stream.Kind()));
  }
  tempLogPath_ = appDir_ + tempStem_ + ".tmp";
  if (kept.empty()) return std::vector<std::string>{};
  // A name in use (a save in the same second, another copy's) gets the next "-N".
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::string stem = FreeStem(appDir_, "NMEA_" + Stamp(), extensions);
    std::vector<std::string> saved{appDir_ + stem + extensions[0]};
    if (!kept[0]->RenameTo(saved[0])) {
      if (errno != EEXIST) break;
      continue;
    }
    for (std::size_t i = 1; i < kept.size(); ++i) {
      // Taken meanwhile by another copy: the next free name. Failing that the file
      // stays as it is, and the next start recovers it.
      std::string path = appDir_ + stem + extensions[i];
      if (!kept[i]->RenameTo(path) && !kept[i]->RenameTo(path = FreeName(appDir_, stem, extensions[i]))) {
        kept[i]->Close();
        continue;
      }
      saved.push_back(path);
    }
    return saved;
  }
  error = ErrnoText();
  tempLogPath_ = Text().IsOpen() ? Text().Path() : tempLogPath_;
  failedPath_ = kept[0]->Path();
  return std::nullopt;
}

bool RawDataLog::SaveLogFile() {
  std::string error;
  state_.LogActive = false;  // also when it fails: the data waits for the next save
  if (!FlushLogLines()) return false;
  const std::optional<std::vector<std::string>> saved = SaveQuietly(error, true);
  if (!saved || saved->empty()) {
    view_.ShowErrorMsg("Unable to create Log file.");
    return false;
  }
  view_.ShowConfirmMsg(SavedText(*saved));
  return true;
}

std::string RawDataLog::SaveAtExit(bool confirm) {
  if (!state_.LogActive && LogLineCount() == 0) return {};
  if (HoldsNoLine()) {
    // A log of nothing is no log: its empty files go.
    state_.LogActive = false;
    for (LogStream& stream : streams_) stream.Remove();
    tempLogPath_ = appDir_ + tempStem_ + ".tmp";
    if (confirm) view_.ShowInformationMsg("Nothing was logged: no log was kept.");
    return {};
  }
  std::string error;
  if (const std::optional<std::vector<std::string>> saved = SaveQuietly(error, false)) {
    if (confirm && !saved->empty()) view_.ShowConfirmMsg(SavedText(*saved));
    return {};
  }
  if (LogLineCount() == 0) {
    // Every line is in the temporary files, which the next start recovers.
    for (LogStream& stream : streams_) stream.Close();
    return "The log could not be saved (" + error + "); all its lines are in " + failedPath_ +
           ", which the next start recovers.";
  }
  return RescueAtExit();
}

bool RawDataLog::HoldsNoLine() const {
  for (const LogStream& stream : streams_)
    if (!stream.HoldsNothing()) return false;
  return true;
}

std::string RawDataLog::RescueAtExit() {
  std::string said;
  for (LogStream& stream : streams_) {
    if (stream.Waiting() == 0) continue;
    const std::vector<std::string> records = stream.Records();
    const std::string target = stream.IsOpen() ? stream.Path()
                               : stream.Kind() == LogKind::Text
                                   ? tempLogPath_
                                   : appDir_ + RunStem() + TempExtension(stream.Kind());
    const std::optional<std::string> rescue =
        WriteRescueFile(RescueDirs(rescueDir_), "NMEA_" + Stamp() + ".rescue" + LogExtension(stream.Kind()), records,
                        stream.Terminator());
    // Built by appending: GCC 12 at -O3 misreads a literal added to a temporary string.
    said.append(said.empty() ? "" : " ").append(std::to_string(records.size()));
    said.append(" ").append(stream.Noun()).append(" could not be written to ").append(target);
    if (rescue) {
      said.append("; they are in ").append(*rescue).append(".");
      stream.ClearRecords();
    } else {
      said.append(" nor to a rescue file; they are lost.");
    }
    if (stream.Dropped() > 0) {
      said.append(" ").append(std::to_string(stream.Dropped()));
      said.append(" earlier ").append(stream.Noun()).append(" were lost while the file could not be written.");
    }
  }
  for (LogStream& stream : streams_) stream.Close();
  return said;
}

void RawDataLog::RecoverEarlierLogs() {
  if (!available_ || appDir_.empty()) return;
  // The files of one dead run (sorted, so side by side) keep one name.
  const std::vector<AbandonedLog> found = FindAbandonedLogs(appDir_);
  for (std::size_t first = 0, next; first < found.size(); first = next) {
    std::vector<const AbandonedLog*> run;
    std::vector<std::string> extensions;
    for (next = first; next < found.size() && found[next].stem == found[first].stem; ++next) {
      const AbandonedLog& log = found[next];
      if (log.kind != LogKind::Text && log.bytes == 0) {
        ::unlink(log.path.c_str());  // a binary file of no frame is no log
        continue;
      }
      run.push_back(&log);
      extensions.push_back(LogExtension(log.kind));
    }
    if (run.empty()) continue;
    const std::string stem = FreeStem(appDir_, "NMEA_" + found[first].stamp, extensions);
    for (std::size_t i = 0; i < run.size(); ++i) {
      const std::string target = appDir_ + stem + extensions[i];
      if (!RenameNoReplace(run[i]->path, target)) continue;  // left as it is, for the next start
      const bool text = run[i]->kind == LogKind::Text;
      view_.ShowInformationMsg(std::string("Recovered the ")
                                   .append(text ? "" : LogKindName(run[i]->kind).append(" "))
                                   .append("log of an earlier run: ")
                                   .append(target)
                                   .append(" (")
                                   .append(std::to_string(text ? run[i]->lines : run[i]->bytes))
                                   .append(text ? " lines)." : " bytes)."));
    }
  }
}

void RawDataLog::TBStartLogClick() {
  if (!available_) return;
  if (!state_.LogActive) {
    // Made now, so that a folder that cannot be written says so before a line is held.
    std::string error;
    if (!Text().IsOpen() && (tempStem_.empty() || !Text().Create(appDir_, tempStem_, error))) {
      view_.ShowErrorMsg("Unable to create the log file in " + appDir_ + " : " +
                         (error.empty() ? "no folder for the log" : error) + "\r\n\r\nLogging stays off.");
      return;
    }
    tempLogPath_ = Text().Path();
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
  for (LogStream& stream : streams_) stream.Close(stream.IsOpen() ? stream.Path() + ".declined" : std::string());
  if (Text().Path().ends_with(".declined")) tempLogPath_ = Text().Path();
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
