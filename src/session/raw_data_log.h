// Raw-data logging: while logging is on, every sentence the pipeline accepts (and
// every console command sent) waits in memory and is appended in batches to one
// temporary file of the run; saving renames that file to a log named after the date
// and time. A batch that cannot be written keeps its lines: they wait, bounded, and
// the write is retried on its own.
//
// Nothing received waits long: a batch also goes out once its oldest line has waited
// a second, and the file is synced to the disk every ten seconds and at the save, so
// a crash or a power cut loses at most the last seconds. The temporary file is made
// when logging starts (which proves the folder can be written), for this run alone,
// and locked while the run holds it; a later start recovers one whose run died.
//
//   log.SetPlaces(appDir, LocalTimeNow());   // the temporary name is fixed for the run
//   log.TBStartLogClick();                   // start; the pipeline adds lines
//   log.TBStartLogClick();                   // stop: saved as NMEA_yyyymmdd-hhmmss.log
//
// The binary frames of a receiver that sends them (whole, with a correct checksum)
// go the same way to a file of their own beside the text log, byte for byte:
// NMEA_yyyymmdd-hhmmss.ubx or .sirf, made by the first frame and kept only when it
// holds one. The files of a run always share one name.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QTimer>

#include "session/log_files.h"
#include "session/log_stream.h"
#include "session/pipeline_hooks.h"

namespace orlimo {

class ISessionView;
struct SessionState;

// Pictures of the log tool button.
enum TLogImage : int { kImageLogging = 18, kImageLogStopped = 19, kImageLogUnavailable = 20 };

class RawDataLog : public RawLogHooks {
 public:
  // Lines kept while the file cannot be written: over an hour of a saturated
  // 115200 bit/s line. Beyond it the oldest go, and the loss is reported.
  static constexpr std::size_t kMaxPendingBytes = std::size_t{48} << 20;
  // A failing batch write is tried again this long after the last attempt.
  static constexpr std::chrono::seconds kRetryInterval{5};
  // The longest a line waits in memory, and the longest between two syncs.
  static constexpr std::chrono::milliseconds kMaxLineAge{1000};
  static constexpr std::chrono::seconds kSyncInterval = LogStream::kSyncInterval;

  RawDataLog(ISessionView& view, SessionState& state);

  // The folder of the logs and the start of the run, which names the temporary file.
  void SetPlaces(const std::string& appDir, const std::tm& startTime);
  // Tests: the local time used for log names, and the retry interval.
  void SetClock(std::function<std::tm()> now) { now_ = std::move(now); }
  void SetRetryInterval(std::chrono::milliseconds interval) { retryInterval_ = interval; }
  void SetMaxPendingBytes(std::size_t bytes) { maxPendingBytes_ = bytes; }

  // RawLogHooks: the pipeline adds lines and frames and asks for a batch write above
  // 600 of them.
  void AddLogLine(std::string_view line) override;
  void AddLogFrame(TFrameProtocol protocol, std::string_view frame) override;
  std::size_t LogLineCount() const override;
  void FlushLog() override;

  // Appends the waiting lines to the temporary file (created when missing); false,
  // with an error shown and every line kept, when it cannot. Never leaves part of a
  // batch in the file.
  bool FlushLogLines();
  // Writes the rest and renames the temporary file to the log; false (the data kept in
  // the temporary file) when the log cannot be made.
  bool SaveLogFile();
  // The log tool button: start, or stop and save.
  void TBStartLogClick();
  // Start-up: no logging where nothing can be written for good.
  void DisableLoggingOnCDROM();
  // Shut-down with logging on: asks whether to keep the data; false when the save
  // failed, so the window stays open. A log the user declines stays as a temporary
  // file marked ".declined", which recovery leaves alone.
  bool AskSaveBeforeQuit();

  // Start-up: the temporary logs that earlier runs left in the folder without closing
  // (none held by a running copy) become dated logs, each said once.
  void RecoverEarlierLogs();
  // The end of a run that asks nothing (a signal, the console's end): with logging on
  // the log is saved without the "was saved !" box, and the lines that cannot be
  // written go to a rescue file. Empty when all is saved (or nothing was logging),
  // else the sentence that tells the user where the lines are; it shows no box but,
  // with `confirm`, the "was saved !" line of a view that blocks nothing (the console).
  // A log that holds no line is removed instead, and with `confirm` that is said.
  std::string SaveAtExit(bool confirm = false);
  // Where rescue files go: $XDG_STATE_HOME/orlimo/ unless set (tests).
  void SetRescueDir(std::string dir) { rescueDir_ = std::move(dir); }

  bool Available() const { return available_; }
  const std::string& TempLogPath() const { return tempLogPath_; }
  const std::string& AppDir() const { return appDir_; }
  std::size_t DroppedLines() const { return Text().Dropped(); }

 private:
  LogStream& Text() { return streams_[0]; }
  const LogStream& Text() const { return streams_[0]; }
  void Add(LogStream& stream, std::string_view record);
  // Writes what waits in each file; a binary file is made by its first frame.
  bool WriteBatch(std::string& error);
  void Failed(const std::string& error);
  void Recovered();
  // Writes the rest and renames the temporary files to dated logs of one name; their
  // paths (the text log's first), or nothing with `error` set (no box shown). The
  // text log is kept empty only with `keepEmptyText`, a binary file never.
  std::optional<std::vector<std::string>> SaveQuietly(std::string& error, bool keepEmptyText);
  std::string RescueAtExit();
  // Nothing waits and every temporary file is empty (or was never made).
  bool HoldsNoLine() const;
  std::string Stamp() const;
  // "__tmp" and the run's start, as the text log's temporary file took it.
  std::string RunStem() const;

  ISessionView& view_;
  SessionState& state_;
  std::string appDir_;
  std::string tempStem_;     // "__tmp" and the run's start
  std::string tempLogPath_;  // the text log's
  std::string failedPath_;   // the file the last failed batch was for
  std::array<LogStream, 3> streams_{LogStream(LogKind::Text), LogStream(LogKind::UBX), LogStream(LogKind::SiRF)};
  QTimer ageTimer_;          // the oldest waiting line has waited long enough
  std::function<std::tm()> now_;
  std::chrono::milliseconds retryInterval_ = kRetryInterval;
  std::size_t maxPendingBytes_ = kMaxPendingBytes;

  bool available_ = true;
  bool failing_ = false;           // the last batch write failed
  std::chrono::steady_clock::time_point lastAttempt_{};
  std::string rescueDir_;
};

// The lines of a saved log that are not valid sentences, as the checker reports
// them ("  itemIdx:%.3d", counted from 0), then "OK !".
std::vector<std::string> CheckLogLines(const std::vector<std::string>& lines);

}  // namespace orlimo
