#include "session/receive_pipeline.h"

#include <algorithm>

#include "nmea/decoder.h"
#include "nmea/sentence.h"
#include "session/activity_indicator.h"
#include "session/baud_signatures.h"
#include "session/frame_log_cutter.h"
#include "session/pipeline_hooks.h"
#include "session/receiver_family.h"
#include "session/session_view.h"

namespace orlimo {
namespace {
constexpr std::string_view kCRLF = "\r\n";
constexpr auto npos = std::string_view::npos;
}  // namespace

ReceivePipeline::ReceivePipeline(SessionState& state, TqvNMEA& nmea, ISessionView& view,
                                 PipelineHooks& hooks, ActivityIndicator& indicator)
    : ReceivePipeline(state, nmea, view, hooks, hooks, indicator) {}

void ReceivePipeline::CommGPSReceiveData(const char* buffer, std::size_t length) {
  if (state_.LinkState == TLinkState::Null || buffer == nullptr || length == 0) return;
  ++state_.gCntRxIn1s;
  state_.RxBytesInSecond += static_cast<std::int64_t>(length);
  Statistics.Feed(std::string_view(buffer, length));
  if (state_.LogActive && !state_.Paused) {
    LogReceivedLines(std::string_view(buffer, length));
    logFrames_.Feed(std::string_view(buffer, length), log_);
  } else {
    logCarry_.clear();
    logResync_ = true;
    logFrames_.Reset();
  }
  if (tap_ != nullptr && tap_->size() < kTapCap) tap_->append(buffer, std::min(length, kTapCap - tap_->size()));
  if (length >= kRxBufferCap) {
    RxBuffer.assign(buffer + (length - kRxBufferCap), kRxBufferCap);
  } else {
    RxBuffer.append(buffer, length);
    if (RxBuffer.size() >= kRxBufferCap) RxBuffer.erase(0, RxBuffer.size() - kRxBufferCap);
  }
  received_ += length;
  if (fixWatch_ != nullptr) {
    stamps_.push_back({received_, fixWatch_->NowMs()});
    // A chunk wholly cut from the buffer dates no sentence any more.
    const std::uint64_t start = received_ - std::min<std::uint64_t>(received_, RxBuffer.size());
    while (!stamps_.empty() && stamps_.front().end <= start) stamps_.pop_front();
  }
  indicator_.OnBlockReceived();
}

void ReceivePipeline::ProcessRxBuffer() {
  if (FamilyOf(state_.ReceiverKind).SpeaksUBX()) scanners_.ScanUBXFrames(RxBuffer);
  scanners_.CheckFirmwareReply(RxBuffer);
  scanners_.WatchPowerReply(RxBuffer);

  const std::string arriving = TakeBinaryFrames();

  // Only the first line of a pass is resynchronised on its last '$'; every later
  // candidate starts right after the previous CR LF and must begin with '$' there.
  const std::string_view buf = RxBuffer;
  const std::uint64_t start = received_ - std::min<std::uint64_t>(received_, buf.size() + arriving.size());
  std::size_t a = buf.find(kCRLF);  // 0-based here; npos for "none"
  std::size_t b = a == npos ? npos : SentenceStart(buf.substr(0, a));
  while (a != npos) {
    if (b != npos) {
      const std::string_view candidate = buf.substr(b, a - b);
      if (IsValidSentence(candidate)) AcceptSentence(candidate, start + a + 2);
    }
    b = a + 2;
    a = buf.find(kCRLF, b);
  }
  // Keep the unterminated tail after the last CR LF (everything when there was none).
  if (b != npos) RxBuffer.erase(0, b);
  RxBuffer += arriving;

  if (!state_.Paused && NewLinesPending) {
    view_.SelectLastMonitorLine();
    RefreshViews();
    TrimMonitorList();
    if (state_.LogActive && log_.LogLineCount() > kLogFlushLines) log_.FlushLog();
    NewLinesPending = false;
  }
}

std::string ReceivePipeline::TakeBinaryFrames() {
  if (!MayHoldFrame(RxBuffer)) return {};
  const std::string_view buf = RxBuffer;
  const std::uint64_t start = received_ - std::min<std::uint64_t>(received_, buf.size());
  std::string text;
  std::size_t at = 0;
  for (TFoundFrame f; (f = FindNextFrame(buf, at)).Protocol != TFrameProtocol::None;) {
    text.append(buf.substr(at, f.Offset - at));
    at = f.Offset + f.Frame.size();
    AcceptFrame(f.Protocol, f.Frame, start + at);
  }
  const std::size_t arriving = at + PartialFrameStart(buf.substr(at));
  text.append(buf.substr(at, arriving - at));
  std::string kept(buf.substr(std::min(arriving, buf.size())));
  RxBuffer = std::move(text);
  return kept;
}

void ReceivePipeline::AcceptFrame(TFrameProtocol protocol, std::string_view frame, std::uint64_t end) {
  const bool hadFix = nmea_.FixValid;
  const BinaryFeed::Result r =
      protocol == TFrameProtocol::UBX ? Binary.TakeUBX(frame, nmea_) : Binary.TakeSiRF(frame, nmea_);
  ++FramesTaken;
  if (!state_.Paused) view_.AppendMonitorFrame(r.text.View(), frame);
  if (fixWatch_ != nullptr && nmea_.FixValid != hadFix) fixWatch_->FixChanged(nmea_.FixValid, ArrivalOf(end));
  AfterDecoding();
}

void ReceivePipeline::AfterDecoding() {
  if (state_.AwaitFixLoss && !nmea_.FixValid) {
    // The fix held before the restart has gone: the first-fix clock starts now.
    state_.AwaitFixLoss = false;
    state_.FirstFixSeconds = state_.AutoSyncSeconds;
    state_.AutoSyncSeconds = 0;
  }
  NewLinesPending = true;
}

void ReceivePipeline::LogReceivedLines(std::string_view chunk) {
  logCarry_.append(chunk);
  const std::string_view buf = logCarry_;
  std::size_t start = 0;
  for (std::size_t end; (end = buf.find(kCRLF, start)) != npos; start = end + 2) {
    // As in a pass: only the first line, cut where logging began, starts at its last
    // '$'; every later one starts right after a line end or is refused whole.
    std::string_view line = buf.substr(start, end - start);
    if (logResync_) {
      const std::size_t dollar = SentenceStart(line);
      line = dollar == npos ? std::string_view{} : line.substr(dollar);
      logResync_ = false;
    }
    if (IsValidSentence(line)) log_.AddLogLine(line);
  }
  logCarry_.erase(0, start);
  if (logCarry_.size() > kLogCarryMax) {
    logCarry_.erase(0, logCarry_.size() - kLogCarryMax);
    logResync_ = true;  // the carry now begins inside a line
  }
}

void ReceivePipeline::SetFixWatch(FixWatch* watch) {
  fixWatch_ = watch;
  stamps_.clear();
  // What the buffer holds already came before now.
  if (watch != nullptr) stamps_.push_back({received_, watch->NowMs()});
}

SentenceArrival ReceivePipeline::ArrivalOf(std::uint64_t end) {
  const auto chunk = std::lower_bound(stamps_.begin(), stamps_.end(), end,
                                      [](const ChunkStamp& s, std::uint64_t place) { return s.end < place; });
  if (chunk == stamps_.end()) return {fixWatch_->NowMs(), 0};
  return {chunk->ms, static_cast<std::size_t>(chunk->end - end)};
}

void ReceivePipeline::AcceptSentence(std::string_view line, std::uint64_t end) {
  if (!state_.Paused) view_.AppendMonitorLine(line);
  TSentenceType type = stNIL;
  const bool hadFix = nmea_.FixValid;
  nmea_.DecodeSentence(line, type);
  if (fixWatch_ != nullptr && nmea_.FixValid != hadFix) fixWatch_->FixChanged(nmea_.FixValid, ArrivalOf(end));
  nmea_.SentenceSeen[type] = true;
  nmea_.Sky.AddSentence(type, line);
  for (const SentenceObserver& observer : sentenceObservers_) observer(type, line);
  AfterDecoding();
}

void ReceivePipeline::RefreshViews() {
  view_.UpdateNaviPanel(nmea_);
  view_.ShowSatelliteTable(nmea_);
  // The sky view draws a completed cycle once: afterwards the cycle is marked drawn.
  const bool cycleComplete = nmea_.GSV.MsgNum == nmea_.GSV.TotalMsgs;
  view_.DrawSkyView(nmea_);
  if (cycleComplete) nmea_.GSV.MsgNum = 0;
  view_.ShowSpeedAndCourse(nmea_);
  nmea_.SentenceSeen.fill(false);
  nmea_.Sky.EndRefresh();
}

void ReceivePipeline::TrimMonitorList() {
  const int lines = view_.MonitorLineCount();
  if (lines > kMonitorMaxLines) view_.DeleteFirstMonitorLines(lines - kMonitorKeepLines);
  for (int memo = 1; memo <= 4; ++memo) {
    if (view_.TraceLineCount(memo) > kTraceMaxLines) view_.ClearTrace(memo);
  }
}

bool ReceivePipeline::FindFirstValidLine() {
  std::size_t start = 0;
  for (std::size_t end = RxBuffer.find(kCRLF); end != npos;
       start = end + 2, end = RxBuffer.find(kCRLF, start)) {
    if (IsValidSentence(std::string_view(RxBuffer).substr(start, end - start))) {
      RxBuffer.erase(0, start);
      return true;
    }
  }
  RxBuffer.erase(0, start);
  return false;
}

bool ReceivePipeline::DetectBaudBySignature(int portBaudRate) {
  if (state_.LinkState != TLinkState::Auto || state_.DetectedBaudRate != 0) return false;
  const BaudSignatureTable* table = SignatureTableFor(portBaudRate);
  if (table == nullptr) return false;
  const std::string_view buf = RxBuffer;
  for (const BaudSignatureRow& row : table->rows) {
    TLinkState found;
    if (buf.find(row.first) != npos) found = table->firstState;
    else if (buf.find(row.second) != npos) found = table->secondState;
    else continue;
    state_.LinkState = found;
    state_.DetectedBaudRate = row.receiverRate;
    view_.SetPanelText(3, LinkStateName(found));
    RxBuffer.clear();
    return true;
  }
  return false;
}

}  // namespace orlimo
