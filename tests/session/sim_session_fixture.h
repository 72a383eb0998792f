// The session against the simulated receiver on a pty, with hand-driven ticks: what
// the session recognises comes out of the receiver's bytes on the line.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "fake_session_view.h"
#include "pty_support.h"
#include "session/session.h"
#include "sim/simulated_receiver.h"

namespace orlimo {

// Lets the event loop deliver what arrives for `ms` milliseconds.
inline void Pump(int ms) { test::SpinUntil([] { return false; }, ms); }

class WithReceiver : public ::testing::Test {
 protected:
  WithReceiver() { test::App(); }

  TSession& StartSession(const Edition& edition = {}) {
    SessionOptions o;
    o.edition = edition;
    o.manualTicks = true;
    session = std::make_unique<TSession>(view, o);
    return *session;
  }

  // A receiver sends about 500 bytes a cycle: as many cycles a second as its line
  // carries with room to spare, so that its bursts end in quiet gaps as on a real line.
  void StartReceiver(SimPersonality personality, int rate,
                     const std::function<void(SimOptions&)>& adjust = {}) {
    SimOptions o;
    o.personality = personality;
    o.rate = rate;
    o.hz = rate >= 57600 ? 10 : rate >= 38400 ? 5 : 1;
    secondMs = o.hz == 10 ? 300 : o.hz == 5 ? 450 : 1050;
    o.ttffStart = 0.5;
    o.ttffCold = 0.5;
    o.ttffHot = 0.5;
    o.restartSilence = 0.2;
    if (adjust) adjust(o);
    sim = std::make_unique<SimulatedReceiver>(o);
    view.port = sim->Start();
    ASSERT_FALSE(view.port.empty()) << sim->Error();
  }

  // One supervisor second, shortened when the receiver sends several bursts a second.
  void Second(int ms = 0) {
    Pump(ms > 0 ? ms : secondMs);
    session->Tm1sTimer();
  }

  // Runs seconds until the detection has a result or gave up.
  void DetectUntilDone() {
    for (int i = 0; i < 12 && session->State().LinkState == TLinkState::Auto && session->State().PortOpen; ++i)
      Second();
  }

  FakeSessionView view;
  int secondMs = 1050;
  std::unique_ptr<SimulatedReceiver> sim;
  std::unique_ptr<TSession> session;
};

}  // namespace orlimo
