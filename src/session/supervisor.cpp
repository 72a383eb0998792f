#include "session/supervisor.h"

#include <string>

#include "frames/frame_scan.h"
#include "frames/sirf_frame.h"
#include "nmea/text.h"
#include "session/baud_detection.h"
#include "session/connection_control.h"
#include "session/receiver_family.h"
#include "session/session_context.h"

namespace orlimo {
namespace {
constexpr std::string_view kSiRFFrameStart{"\xA0\xA2\x00\x09\x09", 5};
}

void Supervisor::Tm1sTimer() {
  SessionState& s = ctx_.state;
  ISessionView& view = ctx_.view;
  ++s.SessionSeconds;
  ctx_.pipeline.Statistics.Tick();
  view.SetPanelText(6, SecondsToHMS(s.SessionSeconds));
  if (view.TraceVisible(2)) view.AppendTrace(3, "  gCntRxIn1s : " + std::to_string(s.gCntRxIn1s));
  s.gCntRxIn1s = 0;

  if (s.RxBytesInSecond == 0) {
    SilentSecond();
    return;  // detection and identification count only seconds that brought data
  }
  view.SetPanelText(4, " Rx(Bps):" + std::to_string(s.RxBytesInSecond));
  s.SilentSeconds = 0;
  s.RxBytesInSecond = 0;
  if (s.PortOpen && !s.Paused) view.SetPanelText(2, connection_.OpenText());

  switch (s.LinkState) {
    case TLinkState::Unknow: WhileUnknown(); break;
    case TLinkState::NMEA:
    case TLinkState::UBX: WhileNMEA(); break;
    case TLinkState::SiRF: WhileSiRF(); break;
    case TLinkState::Auto: detection_.Tick(); break;
    default: break;
  }
  if (s.PortOpen) GarbageWatch();
}

void Supervisor::GarbageWatch() {
  SessionState& s = ctx_.state;
  const std::uint64_t accepted = ctx_.pipeline.Statistics.Accepted();
  const bool heard = accepted != s.AcceptedAtTick;
  s.AcceptedAtTick = accepted;
  if (heard) s.GarbageHandled = false;
  // Detection judges garbled bytes itself, and SiRF binary has its own question.
  if (heard || s.LinkState == TLinkState::Auto || s.LinkState == TLinkState::SiRF ||
      s.LinkState == TLinkState::Null) {
    s.GarbageSeconds = 0;
    return;
  }
  if (++s.GarbageSeconds < kGarbageLimit || s.GarbageHandled) return;
  s.GarbageHandled = true;  // once a stretch: a failed search is not repeated
  ctx_.Trace(" no valid data for " + std::to_string(s.GarbageSeconds) + " s");
  if (s.LinkState != TLinkState::Unknow) GoStale();
  // A rate change being checked has its own way back; a u-blox receiver is not
  // searched for, as from the button; a network source has no rate.
  if (!ctx_.Networked() && s.RateCheckOldRate == 0 && !FamilyOf(s.ReceiverKind).SpeaksUBX())
    detection_.StartBaudDetection();
}

void Supervisor::GoStale() {
  SessionState& s = ctx_.state;
  s.LinkState = TLinkState::Unknow;
  ctx_.view.SetPanelText(3, LinkStateName(s.LinkState));
  ctx_.NMEAData.ClearRecords();
  ctx_.NMEAData.FixValid = false;
  ctx_.pipeline.RefreshViews();
}

void Supervisor::SilentSecond() {
  SessionState& s = ctx_.state;
  ctx_.Trace(ctx_.view.PanelText(6) + " => 0");
  if (s.LinkDown) return;  // a network source still connecting: no receiver to hear yet
  ++s.SilentSeconds;
  if (FamilyOf(s.ReceiverKind).SpeaksUBX() && s.SilentSeconds > s.UBXSilenceLimit) {
    connection_.TBOpenClick();
    ctx_.view.SchedulePortListCheck(2000);
  }
  if (s.SilentSeconds > kSilenceLimit) {
    ctx_.Tm1s.Stop();  // before the box, so it is shown once
    ctx_.view.ShowWarningMsg("Can not receive data from " + ctx_.CommName() +
                             " !!\r\n\r\nPlease change another COM Port and try again !\r\n");
    connection_.TBOpenClick();
  }
}

void Supervisor::WhileUnknown() {
  SessionState& s = ctx_.state;
  ISessionView& view = ctx_.view;
  // Asked before the line search, which drops what precedes a line; a stream that
  // carries sentences too is taken as NMEA, and its frames are decoded all the same.
  const TFrameProtocol frames = FindNextFrame(ctx_.pipeline.RxBuffer).Protocol;
  const bool nmea = ctx_.pipeline.FindFirstValidLine();
  if (nmea || frames == TFrameProtocol::UBX) {
    s.LinkState = nmea ? TLinkState::NMEA : TLinkState::UBX;
    s.RateCheckOldRate = 0;  // the receiver is heard at its new rate
    ctx_.Trace(" GPS =>NMEA : " + std::to_string(ctx_.clock.elapsed()));
    view.SetPanelText(1, ctx_.Networked() ? "GPS Source :" + ctx_.CommName()
                                          : "GPS Baud Rate :" + std::to_string(ctx_.BaudRate()));
    view.SetPanelText(3, LinkStateName(s.LinkState));
    if (!s.VersionKnown) {
      ctx_.commands.QueryReceiverVersion();
      ++s.VersionQueryCount;
    }
    ctx_.pipeline.ProcessRxBuffer();  // the first sentences show at once
    return;
  }
  if (frames == TFrameProtocol::SiRF || ctx_.pipeline.RxBuffer.find(kSiRFFrameStart) != std::string::npos) {
    s.LinkState = TLinkState::SiRF;
    view.SetPanelText(3, LinkStateName(s.LinkState));
  }
  ctx_.pipeline.RxBuffer.clear();
  if (s.LinkState == TLinkState::Unknow && !ctx_.Networked()) ctx_.commands.RateChangeCheck();
}

void Supervisor::WhileNMEA() {
  ctx_.pipeline.ProcessRxBuffer();
  if (ctx_.state.FirstFixTiming) FirstFixMeasurement();
  if (!ctx_.state.VersionKnown) VersionWait();
  if (ctx_.state.RestartMarkIndex > 0) FactoryDefaultWatch();
}

void Supervisor::FirstFixMeasurement() {
  SessionState& s = ctx_.state;
  const bool fix = ctx_.NMEAData.FixValid;
  ++s.FirstFixSeconds;
  if (s.AwaitFixLoss && s.FirstFixSeconds > s.FirstFixGrace && fix) {
    // The fix held before the restart never went away: count from here.
    s.AwaitFixLoss = false;
    s.FirstFixSeconds = 1;
  }
  if (s.AwaitFixLoss || s.RestartMarkIndex != 0) return;
  const std::string elapsed = SecondsToHMS(s.FirstFixSeconds + s.RestartMarkSeconds);
  if (fix) {
    const std::string text = "Fix after :" + elapsed;
    ctx_.view.SetPanelText(5, text);
    ctx_.view.AppendTrace(4, text);
    s.FirstFixTiming = false;
    s.FirstFixSeconds = 0;
    s.RestartMarkSeconds = 0;
  } else {
    ctx_.view.SetPanelText(5, "Timer :" + elapsed);
  }
}

void Supervisor::VersionWait() {
  SessionState& s = ctx_.state;
  if (s.VersionQueryCount < s.VersionWaitLimit) {
    // Asked at recognition, then one, three and five data seconds after it.
    const int n = s.VersionQueryCount;
    if (n == 1 || n == 3 || n == 5) ctx_.commands.QueryReceiverVersion();
    ++s.VersionQueryCount;
  } else if (s.VersionQueryCount == s.VersionWaitLimit) {
    ctx_.view.SetWindowTitle(ctx_.edition.Title() + " (??)");
    ++s.VersionQueryCount;
    if (ctx_.edition.TashviEdition) {
      s.VersionKnown = true;
      connection_.EnableSessionControls();
    } else if (!ctx_.Link().ReadOnly()) {  // a read-only source has told why already
      ctx_.view.SetRestartUnavailableReason(kUnidentifiedReason);
    }
  } else {
    s.VersionQueryPending = false;  // no further replies are expected
  }
}

void Supervisor::FactoryDefaultWatch() {
  SessionState& s = ctx_.state;
  ++s.RestartMarkSeconds;
  const int selected = ctx_.view.MonitorSelectedIndex();
  if (selected != s.RestartMarkIndex) {
    s.RestartMarkIndex = selected;
    if (++s.RestartMarkLineSeconds >= kStayedAtRateSeconds) {
      // It came back at this rate: the watch ends and the first-fix clock, which has
      // counted since the restart, shows again. A fix still reported is the old one.
      s.RestartMarkIndex = 0;
      s.RestartMarkSeconds = 0;
      s.AwaitFixLoss = ctx_.NMEAData.FixValid;
    }
    return;
  }
  // No line arrived during the last second: the receiver restarted at a new rate.
  ctx_.Trace("gFactory4800:" + std::to_string(s.RestartMarkIndex));
  ctx_.Trace("gOSFactory4800:" + std::to_string(s.RestartMarkSeconds));
  s.AwaitFixLoss = true;
  ctx_.pipeline.RxBuffer.clear();
  detection_.StartBaudDetection();
  s.RestartMarkIndex = 0;
  s.FirstFixSeconds = s.RestartMarkSeconds;
}

void Supervisor::WhileSiRF() {
  SessionState& s = ctx_.state;
  if (s.SiRFQuestionAsked) {
    WhileSiRFBinary();
    return;
  }
  ctx_.Tm1s.Stop();  // the tick must not run again while the question is open
  if (!ctx_.view.AskYesNo(
          "GPS is in SiRF Binary mode.\r\n\r\nDo you want to switch to NMEA mode (Factory Default) ?")) {
    // Declined: the connection stays, and the binary data is shown as it comes.
    s.SiRFQuestionAsked = true;
    s.SiRFBinaryKept = true;
    ctx_.Tm1s.Start();
    ctx_.view.SetRestartUnavailableReason(kSiRFBinaryReason);
    connection_.SendString(ctx_.Link(), BuildSiRFFrame(std::string_view("\x84\x00", 2)));
    WhileSiRFBinary();
    return;
  }
  s.SiRFQuestionAsked = true;
  ctx_.Tm1s.Start();
  ctx_.Trace(" gpSiRF => FactoryReset ..");
  ConnectionControl::DelayMs(20);
  if (connection_.SendString(ctx_.Link(), kSiRFFactoryDefaultFrame)) {
    ConnectionControl::DelayMs(50);
    detection_.StartBaudDetection();
  } else {
    s.SiRFQuestionAsked = false;  // not sent: the question comes again next data second
  }
}

void Supervisor::WhileSiRFBinary() {
  SessionState& s = ctx_.state;
  ctx_.pipeline.ProcessRxBuffer();
  if (s.FirstFixTiming) FirstFixMeasurement();
  // Its software version, asked with message 132, names it in the title; the
  // commands stay off: they are text, which it ignores in this mode.
  const std::string_view version = ctx_.pipeline.Binary.SiRF().Version.Software.View();
  if (!version.empty() && !s.VersionKnown) {
    ctx_.view.SetWindowTitle(ctx_.edition.Title() + " (" + std::string(version) + ")");
    s.VersionKnown = true;
  }
}

}  // namespace orlimo
