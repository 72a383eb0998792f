#include "session/connection_control.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "serial/comm_types.h"
#include "session/session_context.h"

namespace orlimo {
namespace {

// "Open (port,rate bps)"; a network source has no rate: "Open (tcp://host:port)".
std::string PortRateText(const char* what, const SessionContext& ctx) {
  if (ctx.Networked()) return std::string(what).append(" (").append(ctx.CommName()).append(")");
  char buf[512];
  std::snprintf(buf, sizeof buf, "%s (%s,%d bps)", what, ctx.CommName().c_str(), ctx.BaudRate());
  return buf;
}

}  // namespace

std::string ConnectionControl::OpenText() const { return PortRateText("Open", ctx_); }
std::string ConnectionControl::PauseText() const { return PortRateText("Pause", ctx_); }

std::string ConnectionControl::ConnectionErrorText(const std::string& reason) const {
  std::string text = ctx_.CommName() + " Connection Error !";
  if (!reason.empty()) text.append("\r\n").append(reason);
  return text;
}

void ConnectionControl::ApplyRateTimeouts(int baud) {
  // At 4800 bit/s a byte takes 2 ms, so chunks end on a 1 ms pause; the receiver
  // also needs far longer to answer its version query there.
  ctx_.state.VersionWaitLimit = baud == 4800 ? 100 : 3;
  ctx_.CommGPS.SetReadIntervalTimeout(baud == 4800 ? 1 : 33);
  ctx_.CommGPS.SetReadTotalTimeoutMultiplier(0);
  ctx_.CommGPS.SetReadTotalTimeoutConstant(0);
}

bool ConnectionControl::ConfigureAndOpen(TComm& comm, const std::string& portName, int baud) {
  comm.SetCommName(QString::fromStdString(portName));
  if (IsNetworkSource(portName)) return OpenNetSource(portName);
  ctx_.link = &comm;
  comm.SetBaudRate(static_cast<std::uint32_t>(baud < 0 ? 0 : baud));
  ApplyRateTimeouts(baud);
  try {
    comm.SetOutx_CtsFlow(false);
    comm.SetDtrControl(TDtrControl::DtrEnable);
    comm.SetRtsControl(TRtsControl::RtsEnable);
    comm.SetInx_XonXoffFlow(false);
    comm.SetOutx_XonXoffFlow(false);
    comm.OpenComm();
    return true;
  } catch (const ECommsError& e) {
    // The component's own message is not shown: the user needs the port name, and
    // on the next line why.
    const std::string reason = OpenFailureReason(e.SystemError);
    ctx_.view.ShowErrorMsg(comm.CommName().toStdString() + " Connection Error !" +
                           (reason.empty() ? "" : "\r\n" + reason));
    comm.CloseComm();
    return false;
  } catch (const std::exception&) {
    ctx_.view.ShowErrorMsg(comm.CommName().toStdString() + " Connection Error !");
    comm.CloseComm();
    return false;
  }
}

bool ConnectionControl::OpenNetSource(const std::string& name) {
  TNetSource& net = ctx_.NetGPS;
  ctx_.link = &net;
  net.SetSource(QString::fromStdString(name));
  net.SetRetryInterval(ctx_.state.RetryIntervalMs);
  try {
    net.Open();
  } catch (const std::exception& e) {
    // An address that cannot work: no retry would help.
    ctx_.view.ShowErrorMsg(ConnectionErrorText(e.what()));
    net.Close();
    return false;
  }
  ctx_.state.LinkDown = true;
  ctx_.state.SourceConnected = false;
  return true;
}

void ConnectionControl::LinkUp() {
  SessionState& s = ctx_.state;
  if (!s.PortOpen) return;
  s.LinkDown = false;
  s.SourceConnected = true;
  s.SilentSeconds = 0;
  ctx_.Trace(std::string(" Connected : ").append(ctx_.CommName()));
  if (!s.Paused) ctx_.view.SetPanelText(2, OpenText());
}

void ConnectionControl::LinkDown() {
  SessionState& s = ctx_.state;
  if (!s.PortOpen) return;
  // The receiver may be another one when the link comes back: start over.
  s.LinkDown = true;
  s.LinkState = TLinkState::Unknow;
  s.VersionKnown = false;
  s.VersionQueryPending = false;
  s.VersionQueryCount = 0;
  s.ReceiverKind = 0;
  s.Clues = {};
  DisableCommandControls();
  ctx_.pipeline.RxBuffer.clear();
  ctx_.view.SetPanelText(3, LinkStateName(s.LinkState));
  std::string every = std::to_string(s.RetryIntervalMs / 1000.0);  // "10.500000": "10.5"
  every.erase(every.find_last_not_of('0') + 1);
  if (every.back() == '.') every.pop_back();
  const std::string text = ConnectionErrorText(ctx_.Link().ErrorText());
  ctx_.Trace(std::string(" Link down : ").append(ctx_.CommName()).append(" : ").append(ctx_.Link().ErrorText()));
  ctx_.view.SetPanelText(2, ctx_.CommName() + " Retrying every " + every + " s");
  ctx_.view.ShowConnectionNotice(text + "\r\nRetrying every " + every + " s until you disconnect.");
}

void ConnectionControl::OpenGPSPort() {
  const int baud = std::atoi(ctx_.view.BaudRateText().c_str());
  ctx_.state.PortOpen = ConfigureAndOpen(ctx_.CommGPS, ctx_.view.PortText(), baud);
  if (!ctx_.state.PortOpen) {
    ctx_.view.SetPanelText(2, "Connection Fail");
    return;
  }
  ctx_.pipeline.RxBuffer.clear();
  ctx_.view.SetPanelBevel(2, TPanelBevel::Raised);
  ctx_.view.SetPanelText(2, ctx_.state.LinkDown ? std::string("Connecting (").append(ctx_.CommName()).append(")") : OpenText());
  ctx_.state.Paused = false;
  ctx_.state.VersionKnown = false;
  ctx_.state.TMCPresent = false;
  ctx_.state.ReceiverKind = 0;
  ctx_.state.Clues = {};
}

void ConnectionControl::CloseGPSPort() {
  ctx_.Link().Close();
  ctx_.state.LinkDown = false;
  ctx_.state.LinkState = TLinkState::Unknow;
  ctx_.state.ReceiverKind = 0;
  ctx_.view.SetPanelText(3, LinkStateName(ctx_.state.LinkState));
  ctx_.state.PortOpen = false;
  ctx_.view.SetPanelBevel(2, TPanelBevel::Lowered);
  ctx_.view.SetPanelText(2, ctx_.CommName() + " Close");
  ctx_.view.RepaintStatusBar();
}

void ConnectionControl::TBOpenClick() {
  ISessionView& view = ctx_.view;
  SessionState& s = ctx_.state;
  view.ShowReadInterval(static_cast<int>(ctx_.CommGPS.ReadIntervalTimeout()));
  s.SilentSeconds = 0;
  s.gCntRxIn1s = 0;
  s.RateCheckOldRate = 0;
  view.SetRestartUnavailableReason("");

  if (s.PortOpen) {
    view.SetButtonHint(TToolButton::Open, "Connect to GPS");
    view.SetButtonDown(TToolButton::Open, false);
    CloseGPSPort();
    DisableSessionControls();
    StopSessionTimers();
    view.SetButtonImage(TToolButton::Open, kImagePlugsJoined);
    return;
  }

  view.SetButtonImage(TToolButton::Open, kImageConnecting);
  s.SessionSeconds = 0;
  s.GarbageSeconds = 0;
  s.AcceptedAtTick = 0;
  s.GarbageHandled = false;
  s.SiRFQuestionAsked = false;
  s.SiRFBinaryKept = false;
  ctx_.pipeline.Statistics.Clear();
  ctx_.pipeline.Binary.Clear();
  ctx_.NMEAData.ClearRecords();
  ctx_.NMEAData.FixValid = false;
  ctx_.pipeline.RefreshViews();
  for (int panel : {1, 5, 6}) view.SetPanelText(panel, "");
  if (ctx_.edition.TrickleButtonEnabled) view.SetPanelText(7, "[?/?]");
  DisableSessionControls();
  s.VersionKnown = false;
  s.VersionQueryPending = false;
  s.VersionQueryCount = 0;
  s.FirstFixTiming = true;
  s.FirstFixSeconds = 0;

  OpenGPSPort();
  if (s.PortOpen) {
    view.SetWindowTitle(ctx_.edition.Title());
    DelayMs(50);
    view.SetButtonImage(TToolButton::Open, kImagePlugsApart);
    view.SetButtonDown(TToolButton::Open, true);
    if (!view.ButtonEnabled(TToolButton::Pause)) view.SetButtonEnabled(TToolButton::Pause, true);
    view.SetButtonHint(TToolButton::Open, "Disconnect");
    view.SetButtonEnabled(TToolButton::Close, true);
    view.SetButtonEnabled(TToolButton::AutoSync, !ctx_.Networked());
    if (ctx_.Link().ReadOnly()) view.SetRestartUnavailableReason(kReadOnlyReason);
    ctx_.Tm1s.Start();
    s.LinkState = TLinkState::Unknow;
    ctx_.indicator.SetOff();
    view.RepaintStatusBar();
  } else {
    view.SetButtonHint(TToolButton::Open, "Connect to GPS");
    view.SetButtonImage(TToolButton::Open, kImagePlugsJoined);
    view.SetButtonDown(TToolButton::Open, false);
    view.SetButtonEnabled(TToolButton::Open, true);
  }
}

void ConnectionControl::CommGPSRequestHangup() {
  // A hangup reported for an earlier connection, or one the port got over, is not ours.
  if (!ctx_.state.PortOpen || !ctx_.Link().HungUp()) return;
  const std::string port = ctx_.CommName();
  ctx_.Trace(" Hang up : " + port);
  if (ctx_.Networked()) {
    const std::string text = ConnectionErrorText(ctx_.Link().ErrorText());
    TBOpenClick();
    ctx_.view.SetPanelText(2, port + " Connection Fail");
    ctx_.view.ShowErrorMsg(text);
    return;
  }
  TBOpenClick();
  ctx_.view.SetPanelText(2, port + " Hang up");
  ctx_.view.ShowWarningMsg(port + " was disconnected: the device is gone or its line was hung up !");
}

void ConnectionControl::TBCloseClick() {
  CloseGPSPort();
  DisableSessionControls();
  StopSessionTimers();
}

void ConnectionControl::TBPauseClick(bool down) {
  ISessionView& view = ctx_.view;
  ctx_.state.Paused = down;
  if (down) {
    DisableCommandControls();
    view.SetButtonHint(TToolButton::Pause, "Click to Continue");
    view.SetPanelBevel(2, TPanelBevel::Lowered);
    view.SetPanelText(2, PauseText());
  } else {
    EnableSessionControls();
    view.SetButtonHint(TToolButton::Pause, "Click to Pause");
    view.SetPanelBevel(2, TPanelBevel::Raised);
    view.SetPanelText(2, OpenText());
  }
  view.SetButtonDown(TToolButton::Pause, down);
}

void ConnectionControl::StopSessionTimers() {
  ctx_.indicator.Reset();
  ctx_.Tm1s.Stop();
}

void ConnectionControl::EnableSessionControls() {
  ISessionView& view = ctx_.view;
  view.SetButtonEnabled(TToolButton::Close, true);
  view.SetButtonEnabled(TToolButton::AutoSync, !ctx_.Networked());
  view.SetButtonDown(TToolButton::AutoSync, false);
  // Nothing reaches the receiver through a read-only source: its commands stay off.
  view.EnableSessionControls(ctx_.state.VersionKnown && !ctx_.Link().ReadOnly(), ctx_.state.TMCPresent);
}

void ConnectionControl::DisableSessionControls() {
  ISessionView& view = ctx_.view;
  view.SetButtonEnabled(TToolButton::Close, false);
  view.SetButtonDown(TToolButton::Pause, false);
  view.SetButtonEnabled(TToolButton::Pause, false);
  view.SetButtonImage(TToolButton::Pause, kImagePause);
  view.SetButtonEnabled(TToolButton::AutoSync, false);
  view.SetButtonDown(TToolButton::AutoSync, false);
  view.DisableSessionControls();
}

void ConnectionControl::DisableCommandControls() {
  ctx_.view.SetButtonEnabled(TToolButton::AutoSync, false);
  ctx_.view.DisableCommandControls();
}

bool ConnectionControl::SendString(ITransport& link, std::string_view text) {
  if (!ctx_.state.PortOpen || text.size() > kMaxSendLength) return false;
  for (char byte : text) {
    if (!link.Write(&byte, 1)) return false;
    DelayMs(0);
  }
  return true;
}

void ConnectionControl::DelayMs(std::uint16_t milliseconds) {
  if (QCoreApplication::instance() == nullptr) return;
  if (milliseconds == 0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  // A local event loop: timers, received data and clicks go on; no CPU is spent.
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace orlimo
