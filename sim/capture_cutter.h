// Cutting a capture into output cycles as a stream: the bytes come in pieces of any
// size and the cycles go out as soon as they are complete, so that a capture of any
// length is played in bounded memory. sim/replay.h says how records and cycles are cut.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orlimo {

// One record of a capture: a sentence with its line end, a SiRF or UBX frame, or a run
// of other bytes; `pos` is where it starts in the stream it was cut from.
struct CaptureRecord {
  static constexpr double kNoTime = -1;
  std::size_t pos = 0, len = 0;
  std::string key;        // for spotting repeats; empty for a run of other bytes
  double time = kNoTime;  // second of the day the sentence carries
  bool anchor = false;    // sent once a cycle
  bool checked = false;   // a sentence or frame whose checksum is right
};

// No record looks further than this past its start: the longest frame.
inline constexpr std::size_t kCaptureLookahead = 65535 + 8;

// The record at `pos`; `stream` must reach kCaptureLookahead bytes past it or to the
// stream's end.
CaptureRecord NextCaptureRecord(std::string_view stream, std::size_t pos);

// Drops the capture format's '#' comment lines (printable text after the '#') from a
// stream fed in pieces. A "comment" longer than kMaxComment is taken for data.
class CaptureCommentFilter {
 public:
  static constexpr std::size_t kMaxComment = 65536;
  // Appends the data of `piece` to `out`.
  void Feed(std::string_view piece, std::string& out);
  // The stream ended: a comment without a line end is dropped.
  void Finish() { *this = {}; }
  std::size_t Held() const { return comment_.capacity(); }

 private:
  enum class State { LineStart, Data, Comment };
  State state_ = State::LineStart;
  std::string comment_;  // the line so far while it may be a comment
};

// Cuts a capture's stream (without comments), fed in pieces, into cycles.
class CaptureCutter {
 public:
  // `anchored`: the stream has anchors at all (when it has none, cycles end where a
  // record repeats).
  explicit CaptureCutter(bool anchored) : anchored_(anchored) {}

  void Feed(std::string_view piece);
  // The stream ended: what is left becomes the last cycle.
  void Finish();
  // The oldest complete cycle, or nothing.
  std::optional<std::string> TakeCycle();

  bool SawChecked() const { return sawChecked_; }
  bool SawAnchor() const { return sawAnchor_; }
  // Bytes of the stream it holds: the open cycle, the look-ahead and the cycles not
  // yet taken.
  std::size_t Held() const { return buf_.capacity() + readyBytes_; }

 private:
  // The cycle being built: its records and what a new record is compared with.
  class OpenCycle {
   public:
    bool Empty() const { return records_.empty(); }
    // Does `r` begin the next cycle?
    bool NewCycleAt(const CaptureRecord& r, bool anchored) const;
    // Where the next cycle starts (a run of records after the last anchor may join it).
    std::size_t Cut(bool anchored) const;
    // The bytes of the records before `cut`; those after it begin the next cycle.
    std::string Close(std::string_view stream, std::size_t cut);
    void Add(CaptureRecord r);
    // Where its first record starts, or npos when it has none.
    std::size_t FirstPos() const { return records_.empty() ? std::string_view::npos : records_.front().pos; }
    // The bytes before `by` were dropped from the stream.
    void Rebase(std::size_t by);

   private:
    std::vector<CaptureRecord> records_;
    std::unordered_set<std::string> keys_, anchorKeys_;
    double time_ = CaptureRecord::kNoTime;
    std::size_t bytes_ = 0;
  };

  void Take(std::size_t limit);
  void Push(std::string cycle);
  // Drops the bytes before the open cycle that were cut already: when there are many,
  // or (`force`) whenever there are any.
  void Compact(bool force);
  std::string_view Stream() const { return {buf_.data(), buf_.size()}; }

  bool anchored_;
  // The stream from the open cycle's first record on. It grows only as far as the
  // open cycle, the look-ahead and a piece need, never by doubling.
  std::vector<char> buf_;
  std::size_t parsed_ = 0;  // records are cut up to here
  OpenCycle cycle_;
  std::deque<std::string> ready_;
  std::size_t readyBytes_ = 0;
  bool sawChecked_ = false, sawAnchor_ = false;
};

}  // namespace orlimo
