// One receiver session: the port, the decoder, the receive pipeline and the
// supervisor, driven by its timers and talking to the screen through ISessionView.
// The program creates one for its whole run.
//
//   TSession session(view);
//   session.TBOpenClick();      // connect with the view's port and rate
//   ...                         // the event loop delivers data and ticks
//
// With SessionOptions::manualTicks the timers only keep their running state and
// the owner calls Tm1sTimer() and TmGPSDataTimer() itself (tests, scripts).
#pragma once

#include <QObject>

#include <memory>

#include "serial/stream_server.h"
#include "session/baud_detection.h"
#include "session/bench_recorder.h"
#include "session/command_hooks.h"
#include "session/connection_control.h"
#include "session/edition.h"
#include "session/interval_timer.h"
#include "session/pipeline_hooks.h"
#include "session/receiver_commands.h"
#include "session/raw_data_log.h"
#include "session/receiver_identification.h"
#include "session/session_context.h"
#include "session/supervisor.h"
#include "session/ttff_runs.h"

namespace orlimo {

struct SessionOptions {
  Edition edition;
  bool manualTicks = false;
};

class TSession {
 public:
  static constexpr int kTickMs = 1000;

  explicit TSession(ISessionView& view, SessionOptions options = {});
  ~TSession();

  // Connection control.
  void TBOpenClick() { connection_.TBOpenClick(); }
  void TBCloseClick() { connection_.TBCloseClick(); }
  void TBPauseClick(bool down) { connection_.TBPauseClick(down); }
  bool SendString(std::string_view text) { return connection_.SendString(ctx_.Link(), text); }
  static void DelayMs(std::uint16_t ms) { ConnectionControl::DelayMs(ms); }

  // Receiver commands.
  void TBHotStartClick() { commands_.RestartReceiver(kHotStart); }
  void TBColdStartClick() { commands_.RestartReceiver(kColdStart); }
  void TBFactoryClick() { commands_.RestartReceiver(kFactoryDefault); }
  // No button: the console's "warm" and the test bench.
  void WarmStart() { commands_.RestartReceiver(kWarmStart); }
  void btnGPSBRApplyClick() { commands_.btnGPSBRApplyClick(); }
  void btnCMDSendClick() { commands_.SendConsoleCommand(); }
  void TBTPClick() { commands_.TBTPClick(); }
  void btnTPClick() { commands_.TBTPClick(); }
  void Button20Click() { commands_.Button20Click(); }
  void ButtonTestClick() { commands_.ButtonTestClick(); }
  void TBNMEAOutputClick() {}  // the button has no action
  void cbCOMMANDKeyDown() {}   // Enter does not send: only the Send button does

  // Raw-data logging.
  void TBStartLogClick() { rawLog_.TBStartLogClick(); }
  RawDataLog& RawLog() { return rawLog_; }

  // Supervisor and detection.
  void Tm1sTimer();
  void TmGPSDataTimer() { ctx_.indicator.TmGPSDataTimer(); }
  void TBAutoSyncClick() { detection_.TBAutoSyncClick(); }
  void StartBaudDetection() { detection_.StartBaudDetection(); }
  void RefreshViews() { ctx_.pipeline.RefreshViews(); }

  SessionState& State() { return ctx_.state; }
  const SessionState& State() const { return ctx_.state; }
  TqvNMEA& NMEAData() { return ctx_.NMEAData; }
  TComm& CommGPS() { return ctx_.CommGPS; }
  // The network source that a tcp://, udp:// or gpsd:// port name opens.
  TNetSource& NetGPS() { return ctx_.NetGPS; }
  bool Networked() const { return ctx_.Networked(); }
  // Milliseconds between reconnects when a network source fails; 0: it ends the
  // connection (the default).
  void SetRetryInterval(int ms) { ctx_.state.RetryIntervalMs = ms; }

  // The stream server: every byte received from the receiver goes to its clients.
  // False with `why` set when it cannot listen.
  bool StartStreamServer(const QString& address, quint16 port, std::string& why);
  void StopStreamServer() { server_.Stop(); }
  TStreamServer& StreamServer() { return server_; }
  ReceivePipeline& Pipeline() { return ctx_.pipeline; }
  const ActivityIndicator& Indicator() const { return ctx_.indicator; }
  bool Tm1sRunning() const { return tm1s_->IsActive(); }
  ConnectionControl& Connection() { return connection_; }
  ReceiverCommands& Commands() { return commands_; }
  ReceiverIdentification& Identification() { return identification_; }
  // Time-to-first-fix runs; with manualTicks the owner calls its Tick() itself.
  orlimo::TtffRuns& TtffRuns() { return ttffRuns_; }
  // Accuracy, track and signal history of the run so far.
  TBenchRecorder& Bench() { return bench_; }
  // What the receiver sent since the connect: lines, frames, bad ones, per type.
  const StreamStatistics& Statistics() const { return ctx_.pipeline.Statistics; }

 private:
  std::unique_ptr<IIntervalTimer> MakeTimer(int intervalMs, std::function<void()> onTick) const;

  SessionOptions options_;
  SessionState state_;
  RawDataLog rawLog_;
  std::unique_ptr<IIntervalTimer> tm1s_;
  std::unique_ptr<IIntervalTimer> tmGPSData_;
  std::unique_ptr<IIntervalTimer> tmTtff_;
  // The command set and the reply scanners come before the context, which keeps
  // references to them; they only keep references to the members after them.
  ReceiverCommands commands_{ctx_, connection_, detection_};
  ReceiverIdentification identification_{ctx_, connection_};
  SessionContext ctx_;
  ConnectionControl connection_{ctx_};
  BaudDetection detection_{ctx_, connection_};
  Supervisor supervisor_{ctx_, connection_, detection_};
  orlimo::TtffRuns ttffRuns_{ctx_, commands_, *tmTtff_};
  TBenchRecorder bench_{ctx_.pipeline, ctx_.NMEAData};
  TStreamServer server_;
};

}  // namespace orlimo
