// One file of a run's raw-data log: the records (NMEA lines, or binary frames as they
// came) waiting in memory, bounded, and the temporary file they are appended to in
// whole batches. RawDataLog keeps one per kind and decides when each is written,
// saved, recovered or given up.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "session/log_files.h"

namespace orlimo {

class LogStream {
 public:
  // The file is synced to the disk at most this often while written.
  static constexpr std::chrono::seconds kSyncInterval{10};

  explicit LogStream(LogKind kind) : kind_(kind) {}

  LogKind Kind() const { return kind_; }
  // What ends each record in the file: CR LF after a line, nothing after a frame,
  // which is kept byte for byte.
  std::string_view Terminator() const { return kind_ == LogKind::Text ? "\r\n" : ""; }
  // "lines", "UBX frames", "SiRF frames": what the user is told was lost or kept.
  std::string Noun() const;

  // Waits for the next batch; past `maxBytes` waiting the oldest records go, counted.
  void Add(std::string_view record, std::size_t maxBytes);
  std::size_t Waiting() const { return records_.size(); }
  std::size_t Dropped() const { return dropped_; }
  void ClearDropped() { dropped_ = 0; }
  std::vector<std::string> Records() const { return {records_.begin(), records_.end()}; }
  void ClearRecords();

  // Creates the temporary file dir + stem (or "stem-N") + TempExtension(kind).
  bool Create(const std::string& dir, const std::string& stem, std::string& error);
  bool IsOpen() const { return temp_.IsOpen(); }
  const std::string& Path() const { return temp_.Path(); }
  // Appends every waiting record to the open file as one batch; false with `error`
  // set, every record kept and the file as it was, when it cannot.
  bool WriteBatch(std::string& error);
  void Sync();
  // Nothing waits and the file is empty or was never made.
  bool HoldsNothing() const;
  // Renames the file to `path`, never replacing one, and lets it go.
  bool RenameTo(const std::string& path);
  // Removes the file, which holds nothing, and lets it go.
  void Remove();
  // Lets the file go; it stays on disk under `renamedTo` when that rename works.
  void Close(const std::string& renamedTo = {});

 private:
  LogKind kind_;
  TempLogFile temp_;
  std::deque<std::string> records_;
  std::size_t pendingBytes_ = 0;
  std::size_t dropped_ = 0;  // records lost to the memory bound in this failure streak
  std::chrono::steady_clock::time_point lastSync_{};
};

}  // namespace orlimo
