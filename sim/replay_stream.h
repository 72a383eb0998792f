// Where a replay's cycles come from. A capture file is played as a stream: read piece
// by piece as its cycles are asked for and read again from the start after its end,
// so a capture of any size starts at once and costs a few of its cycles in memory.
#pragma once

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/capture_cutter.h"
#include "sim/replay.h"

namespace orlimo {

// The cycles of a replay in turn, the first again after the last.
class ReplaySource {
 public:
  virtual ~ReplaySource() = default;
  // The next cycle; empty only when the capture yields none any more (emptied while
  // played, say).
  virtual std::string Next() = 0;
  // Seconds between the cycles as captured.
  virtual double Interval() const = 0;
};

// Cycles cut beforehand and held in memory.
class ReplayCycles final : public ReplaySource {
 public:
  explicit ReplayCycles(std::vector<std::string> cycles);
  std::string Next() override;
  double Interval() const override { return interval_; }

 private:
  std::vector<std::string> cycles_;
  std::size_t next_ = 0;
  double interval_;
};

// One pass over a capture file, cycle by cycle, reading it a piece at a time.
class CapturePass {
 public:
  // `anchored` as for CaptureCutter; comment lines are dropped where the file may have them.
  CapturePass(const std::string& path, bool anchored);
  bool Opened() const { return opened_; }
  // The next cycle; nothing once the file has ended (or cannot be read any more).
  std::optional<std::string> Next();
  // The file could not be read to its end.
  bool Failed() const { return failed_; }
  // Bytes read from the file so far, comments included.
  std::size_t BytesRead() const { return bytesRead_; }
  const CaptureCutter& Cutter() const { return cutter_; }
  // The most bytes of the capture it held at once.
  std::size_t MostHeld() const { return mostHeld_; }

 private:
  std::ifstream in_;
  bool opened_ = false;
  bool ended_ = false;
  bool failed_ = false;
  bool comments_;
  std::size_t bytesRead_ = 0;
  std::size_t mostHeld_ = 0;
  std::string piece_;  // as read
  std::string data_;   // without comments
  CaptureCommentFilter filter_;
  CaptureCutter cutter_;
};

// A capture file as a replay.
class ReplayStream final : public ReplaySource {
 public:
  // Pieces read from the file at a time.
  static constexpr std::size_t kPieceBytes = 16384;
  // The pace is judged from the cycles in the capture's first MiB, an hour's at most.
  static constexpr std::size_t kSampleBytes = std::size_t{1} << 20;
  static constexpr std::size_t kSampleCycles = 3600;

  // Checks the file (it exists, can be read and holds a sentence or frame with a
  // correct checksum), reads the start of it for its pace and is ready to play; nullptr
  // with `why` set ("FILE is empty", ...) when it cannot be played.
  static std::unique_ptr<ReplayStream> Open(const std::string& path, std::string& why);

  std::string Next() override;
  double Interval() const override { return sample_.interval; }
  const CaptureSample& Sample() const { return sample_; }
  // The capture has anchors (see sim/replay.h).
  bool Anchored() const { return anchored_; }
  // The most bytes of the capture it has held at once while playing.
  std::size_t MostHeld() const { return std::max(mostHeld_, pass_ ? pass_->MostHeld() : 0); }

 private:
  ReplayStream(std::string path, bool anchored, CaptureSample sample);

  std::string path_;
  bool anchored_;
  CaptureSample sample_;
  std::unique_ptr<CapturePass> pass_;
  std::size_t mostHeld_ = 0;  // of the passes before this one
};

}  // namespace orlimo
