#include "session/baud_detection.h"

#include <string>

#include "nmea/text.h"
#include "session/connection_control.h"
#include "session/receiver_family.h"
#include "session/session_context.h"

namespace orlimo {

void BaudDetection::StartBaudDetection() {
  SessionState& s = ctx_.state;
  if (!s.PortOpen) {
    ctx_.Trace(" COM Port not Open !!");
    ctx_.view.ShowErrorMsg(" COM Port not Open !!");
    return;
  }
  if (ctx_.Networked()) return;  // a network source has no rate to find
  ctx_.view.SetPanelText(1, "GPS Baud Rate Detection");
  if (s.LinkState == TLinkState::Auto) return;
  s.TrialBaudRate = 19200;
  s.LinkState = TLinkState::Auto;
  ctx_.view.SetPanelText(3, LinkStateName(s.LinkState));
  s.DetectedBaudRate = 0;
  SwitchRate(19200);
  ConnectionControl::DelayMs(30);
  ctx_.pipeline.RxBuffer.clear();
}

void BaudDetection::SwitchRate(int rate) {
  ctx_.CommGPS.SetBaudRate(static_cast<std::uint32_t>(rate));
  // Bytes read at the rate before are no clue to this one, however late they arrive
  // (a busy machine delivers a chunk read before the switch well after it), nor are
  // those the driver took in before it.
  ctx_.CommGPS.DiscardReceived();
  ctx_.pipeline.RxBuffer.clear();
}

void BaudDetection::NextTrialRate() {
  SessionState& s = ctx_.state;
  int next;
  if (s.TrialBaudRate == kHighListenRate) return;
  if (s.AutoSyncStep >= kClassicSteps) next = kHighListenRate;
  else if (s.TrialBaudRate == 19200) next = 115200;
  else if (s.TrialBaudRate == 115200) next = 19200;
  else return;
  ConnectionControl::DelayMs(30);
  ctx_.pipeline.RxBuffer.clear();
  s.TrialBaudRate = next;
  ConnectionControl::DelayMs(20);
  SwitchRate(next);
}

void BaudDetection::TBAutoSyncClick() {
  ISessionView& view = ctx_.view;
  SessionState& s = ctx_.state;
  if (s.PortOpen && ctx_.Networked()) return;  // no rate to detect: the button stays off
  view.SetButtonDown(TToolButton::AutoSync, true);
  view.SetButtonEnabled(TToolButton::AutoSync, false);
  if (FamilyOf(s.ReceiverKind).SpeaksUBX()) {
    // u-blox receivers are not detected: show the rate the port was opened with.
    view.SetPanelText(1, s.PortOpen ? "GPS Baud Rate :" + view.BaudRateText() : "");
  } else if (s.LinkState == TLinkState::Unknow || s.LinkState == TLinkState::Null) {
    StartBaudDetection();
  }
  view.SetButtonDown(TToolButton::AutoSync, false);
  view.SetButtonEnabled(TToolButton::AutoSync, true);
}

void BaudDetection::Tick() {
  SessionState& s = ctx_.state;
  if (s.DiscardRxOnce) {
    s.DiscardRxOnce = false;
    ctx_.pipeline.RxBuffer.clear();
    return;
  }
  ++s.AutoSyncSeconds;
  ctx_.view.SetPanelText(5, "Timer :" + SecondsToHMS(s.AutoSyncSeconds));
  ctx_.Trace(" ... AutoSync:" + std::to_string(s.AutoSyncStep / 2 + 1) + " ...");
  if (ctx_.pipeline.DetectBaudBySignature(ctx_.BaudRate())) {
    Succeeded();
  } else {
    Missed();
  }
}

void BaudDetection::Succeeded() {
  SessionState& s = ctx_.state;
  ISessionView& view = ctx_.view;
  s.AutoSyncStep = 0;
  const std::string rate = std::to_string(s.DetectedBaudRate);
  view.SelectBaudRate(rate);
  ctx_.Trace("Auto Baud Rate : " + rate);
  view.SetPanelText(1, "GPS Baud Rate :" + rate);
  ConnectionControl::DelayMs(30);
  ctx_.CommGPS.SetBaudRate(static_cast<std::uint32_t>(s.DetectedBaudRate));
  connection_.ApplyRateTimeouts(s.DetectedBaudRate);
  view.SetButtonDown(TToolButton::AutoSync, false);
  view.SetButtonEnabled(TToolButton::AutoSync, true);
  ConnectionControl::DelayMs(30);
  if (ctx_.edition.TrickleButtonEnabled && !s.PowerReplyWatch) {
    ctx_.commands.SendAnnotatedCommand("$PQXC,200,0*18 (Query the Power Mode)");
    s.PowerReplyWatch = true;
    s.PowerReplyCount = 3;
  }
}

void BaudDetection::Missed() {
  SessionState& s = ctx_.state;
  ISessionView& view = ctx_.view;
  ++s.AutoSyncStep;
  view.SetPanelText(1, view.PanelText(1) + ".");
  if (s.AutoSyncStep % 2 == 0) {
    NextTrialRate();
    ctx_.Trace(" gsRx2: " + std::to_string(ctx_.pipeline.RxBuffer.size()));
  }
  if (s.AutoSyncStep >= kMaxSteps) {
    ctx_.Trace("Auto Baud Rate : Fail !!");
    s.AutoSyncStep = 0;
    s.LinkState = TLinkState::Null;
    connection_.TBOpenClick();
    view.SetPanelText(1, "");
    view.ShowErrorMsg(ctx_.CommName() + " can not find GPS Data !!");
  }
}

}  // namespace orlimo
