// Everything the concerns of one receiver session share: the screen, the edition,
// the state, the decoder, the port, the timers and the receive pipeline.
#pragma once

#include <QElapsedTimer>

#include <string>
#include <string_view>

#include "nmea/decoder.h"
#include "serial/comm.h"
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
  std::string CommName() const { return CommGPS.CommName().toStdString(); }
  int BaudRate() const { return static_cast<int>(CommGPS.BaudRate()); }

  ISessionView& view;
  const Edition edition;
  SessionState& state;
  TqvNMEA NMEAData;
  TComm CommGPS;
  IIntervalTimer& Tm1s;
  ActivityIndicator indicator;
  ReceivePipeline pipeline;
  CommandHooks& commands;
  RawLogHooks& log;  // the pending lines of the raw-data log
  QElapsedTimer clock;  // the millisecond tick count of the traces
};

}  // namespace orlimo
