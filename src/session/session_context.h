// Everything the concerns of one receiver session share: the screen, the edition,
// the state, the decoder, the port, the timers and the receive pipeline.
#pragma once

#include <QElapsedTimer>

#include <string>
#include <string_view>

#include "nmea/decoder.h"
#include "serial/comm.h"
#include "serial/net_source.h"
#include "session/activity_indicator.h"
#include "session/command_hooks.h"
#include "session/edition.h"
#include "session/pipeline_hooks.h"
#include "session/receive_pipeline.h"
#include "session/session_state.h"
#include "session/session_view.h"

namespace orlimo {

struct SessionContext {
  SessionContext(ISessionView& v, Edition e, SessionState& s, ReplyScanners& scanners, RawLogHooks& logHooks,
                 CommandHooks& commandHooks, IIntervalTimer& tm1s, IIntervalTimer& tmGPSData)
      : view(v),
        edition(std::move(e)),
        state(s),
        Tm1s(tm1s),
        indicator(tmGPSData, v),
        pipeline(state, NMEAData, v, scanners, logHooks, indicator),
        commands(commandHooks),
        log(logHooks) {
    clock.start();
  }

  // The hidden trace pane the supervisor writes to.
  void Trace(std::string_view text) { view.AppendTrace(2, text); }
  // The port's name as the user gave it: a device or a network source.
  std::string CommName() const { return CommGPS.CommName().toStdString(); }
  int BaudRate() const { return static_cast<int>(CommGPS.BaudRate()); }
  // What the session reads: the serial port, or the network source when the name
  // given at the last open was one.
  ITransport& Link() { return *link; }
  const ITransport& Link() const { return *link; }
  bool Networked() const { return link == &NetGPS; }

  ISessionView& view;
  const Edition edition;
  SessionState& state;
  TqvNMEA NMEAData;
  TComm CommGPS;  // also keeps the name of a network source, for the settings
  TNetSource NetGPS;
  ITransport* link = &CommGPS;
  IIntervalTimer& Tm1s;
  ActivityIndicator indicator;
  ReceivePipeline pipeline;
  CommandHooks& commands;
  RawLogHooks& log;  // the pending lines of the raw-data log
  QElapsedTimer clock;  // the millisecond tick count of the traces
};

}  // namespace orlimo
