// The receive pipeline. The receive handler only appends to RxBuffer; once a second
// the supervisor calls ProcessRxBuffer, which cuts the buffer into CR LF lines,
// keeps the valid sentences, decodes them and refreshes the views in a fixed order.
// While the protocol is not yet known, the supervisor uses the two buffer scans
// FindFirstValidLine and DetectBaudBySignature instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "measure/stream_statistics.h"
#include "session/binary_feed.h"
#include "frames/frame_scan.h"
#include "nmea/sentence.h"
#include "session/fix_watch.h"
#include "session/frame_log_cutter.h"
#include "session/session_state.h"

namespace orlimo {

class TqvNMEA;
class ISessionView;
class PipelineHooks;
class ReplyScanners;
class RawLogHooks;
class ActivityIndicator;

class ReceivePipeline {
 public:
  static constexpr std::size_t kRxBufferCap = 4096;
  static constexpr int kMonitorMaxLines = 2400;
  static constexpr int kMonitorKeepLines = 1919;
  static constexpr int kTraceMaxLines = 500;
  static constexpr std::size_t kLogFlushLines = 600;

  ReceivePipeline(SessionState& state, TqvNMEA& nmea, ISessionView& view, ReplyScanners& scanners,
                  RawLogHooks& log, ActivityIndicator& indicator)
      : state_(state), nmea_(nmea), view_(view), scanners_(scanners), log_(log), indicator_(indicator) {}
  ReceivePipeline(SessionState& state, TqvNMEA& nmea, ISessionView& view, PipelineHooks& hooks,
                  ActivityIndicator& indicator);

  // The serial component's receive handler: counts, appends, lights the indicator,
  // and hands every complete valid sentence to the raw-data log while it is on.
  void CommGPSReceiveData(const char* buffer, std::size_t length);

  // One pass: reply scans, line assembly, decoding, then the refresh when not paused.
  void ProcessRxBuffer();

  // The view fan-out, always in this order; clears SentenceSeen.
  void RefreshViews();

  // Keeps the monitor list and the trace panes bounded.
  void TrimMonitorList();

  // Drops everything before the first valid complete line; false (and only the
  // unterminated tail kept) when there is none.
  bool FindFirstValidLine();

  // While detecting the rate: searches the buffer for the garbled patterns of the
  // port's current rate (19200 or 115200). On a match sets the link state and the
  // detected receiver rate, shows the state in panel 3 and empties the buffer.
  bool DetectBaudBySignature(int portBaudRate);

  // While set, every received chunk is also appended to `tap` (at most kTapCap bytes):
  // a command exchange reads its replies there, whatever the passes cut meanwhile.
  void SetReplyTap(std::string* tap) { tap_ = tap; }
  static constexpr std::size_t kTapCap = 4 * kRxBufferCap;

  // While set, every received chunk is stamped on the watch's clock and the watch hears
  // of each decoded sentence that changes FixValid, with its arrival. nullptr: none.
  void SetFixWatch(FixWatch* watch);

  // Called for every accepted sentence right after it was decoded, while the
  // decoder's records still hold it (measurements read their fixes here).
  using SentenceObserver = std::function<void(TSentenceType type, std::string_view line)>;
  void AddSentenceObserver(SentenceObserver observer) { sentenceObservers_.push_back(std::move(observer)); }

  std::string RxBuffer;
  bool NewLinesPending = false;
  // Everything received since the connect, counted as it arrives.
  StreamStatistics Statistics;
  // The UBX and SiRF decoders behind the binary frames of each pass.
  BinaryFeed Binary;
  // Valid binary frames decoded since the connect: a stream that brings them is heard.
  std::uint64_t FramesTaken = 0;

  // An unfinished line longer than this cannot end in a sentence any more.
  static constexpr std::size_t kLogCarryMax = 1024;

 private:
  // `end`: the place in the received stream just after the line's CR LF.
  void AcceptSentence(std::string_view line, std::uint64_t end);
  // Takes every whole binary frame out of RxBuffer into the decoders; returns the
  // start of a frame still arriving at the end, which is kept back from the lines.
  std::string TakeBinaryFrames();
  void AcceptFrame(TFrameProtocol protocol, std::string_view frame, std::uint64_t end);
  // What every decoded sentence or frame ends with: the restart's fix-loss watch,
  // and a refresh due.
  void AfterDecoding();
  SentenceArrival ArrivalOf(std::uint64_t end);
  // The log takes sentences as they arrive, not from the once-a-second pass, whose
  // buffer keeps only its last 4096 bytes: a fast line must lose nothing there.
  void LogReceivedLines(std::string_view chunk);

  SessionState& state_;
  TqvNMEA& nmea_;
  ISessionView& view_;
  ReplyScanners& scanners_;
  RawLogHooks& log_;
  ActivityIndicator& indicator_;
  std::string logCarry_;  // the unfinished line of the log's own framing
  bool logResync_ = true; // the carry may begin inside a line
  FrameLogCutter logFrames_;
  std::string* tap_ = nullptr;
  struct ChunkStamp {
    std::uint64_t end;  // the stream place after the chunk's last byte
    std::int64_t ms;
  };
  FixWatch* fixWatch_ = nullptr;
  std::uint64_t received_ = 0;     // bytes ever appended to RxBuffer: the place of its end
  std::deque<ChunkStamp> stamps_;  // the chunks still in RxBuffer, oldest first
  std::vector<SentenceObserver> sentenceObservers_;
};

}  // namespace orlimo
