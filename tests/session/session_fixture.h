// A session with a recording view and hand-driven ticks, connected to a pty whose
// master side plays the receiver.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fake_session_view.h"
#include "pty_support.h"
#include "session/session.h"

namespace orlimo {

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : session(view, Options()) { test::App(); }

  static SessionOptions Options() {
    SessionOptions o;
    o.manualTicks = true;
    return o;
  }

  // Connects at `rate` to the pty.
  void Connect(const std::string& rate = "9600") {
    ASSERT_TRUE(pty.Valid());
    view.port = pty.SlavePath();
    view.rate = rate;
    session.TBOpenClick();
    ASSERT_TRUE(session.State().PortOpen);
  }

  // The receiver sends `bytes`; waits until the session has them all.
  void Receive(const std::string& bytes) {
    const auto before = session.State().RxBytesInSecond;
    ASSERT_TRUE(pty.Write(QByteArray::fromStdString(bytes)));
    ASSERT_TRUE(test::SpinUntil([&] {
      return session.State().RxBytesInSecond >= before + static_cast<std::int64_t>(bytes.size());
    }));
  }

  // A data second without the pty: the bytes go straight to the receive handler.
  void DataSecond(const std::string& bytes = "x") {
    session.Pipeline().CommGPSReceiveData(bytes.data(), bytes.size());
    session.Tm1sTimer();
  }

  FakeSessionView view;
  test::Pty pty;
  TSession session;
};

}  // namespace orlimo
