// How often the reader wakes: a slow line must not wake it for every byte, an idle
// port not at all, and looking at the port instead of watching it must still see the
// other end go.
#include <gtest/gtest.h>

#include <QByteArrayList>

#include <time.h>

#include <thread>

#include "pty_support.h"
#include "serial/comm.h"
#include "thread_counters.h"

namespace orlimo {
namespace {

using test::Pty;
using test::SpinUntil;

class CommWakeups : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    ASSERT_TRUE(pty.Valid());
    comm.SetCommName(QString::fromStdString(pty.SlavePath()));
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    QObject::connect(&comm, &TComm::OnReceiveData, [this](const QByteArray& b) {
      events.append(b);
      received += b;
    });
    QObject::connect(&comm, &TComm::OnRequestHangup, [this] { events.append("(hangup)"); });
    QObject::connect(&comm, &TComm::OnSendDataEmpty, [this] { writerIdle = true; });
  }
  // Opens the port and waits until both workers sleep.
  void Open() {
    comm.OpenComm();
    ASSERT_TRUE(SpinUntil([&] {
      reader = test::FindThread("comm-reader");
      return writerIdle && reader != 0 && test::ThreadPollWait(reader).has_value();
    }));
  }
  // Where the reader waits for bytes while it has none: the port and the stop
  // descriptor, without a timeout.
  static constexpr test::PollWait kIdle{2, false};
  Pty pty;
  TComm comm;
  QByteArrayList events;
  QByteArray received;
  bool writerIdle = false;
  int reader = 0;
};

TEST_F(CommWakeups, ASlowLineWakesTheReaderFarLessThanOncePerByte) {
  comm.SetBaudRate(9600);
  comm.SetReadIntervalTimeout(33);  // what a connection at 9600 uses
  Open();
  QByteArray sent;
  for (int i = 0; i < 400; ++i) sent.append(static_cast<char>('A' + i % 26));
  const long before = test::VoluntarySwitches(reader);
  // One byte a millisecond, as a UART at 9600 bit/s hands them over; a writer that
  // falls behind catches up, so the line never pauses for long.
  std::thread feeder([&] {
    timespec next{};
    ::clock_gettime(CLOCK_MONOTONIC, &next);
    for (char c : sent) {
      next.tv_nsec += 1000000;
      if (next.tv_nsec >= 1000000000) {
        next.tv_nsec -= 1000000000;
        ++next.tv_sec;
      }
      ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
      pty.Write(QByteArray(1, c));
    }
  });
  const bool all = SpinUntil([&] { return received.size() >= sent.size(); });
  feeder.join();
  ASSERT_TRUE(all);
  EXPECT_TRUE(received == sent);
  // Watching the port took a wake-up per byte or two; looking at it every half
  // interval takes about one per 16 bytes here.
  EXPECT_LT((test::VoluntarySwitches(reader) - before) * 4, sent.size());
}

TEST_F(CommWakeups, AnIdlePortDoesNotWakeTheReader) {
  comm.SetReadIntervalTimeout(10);
  Open();
  EXPECT_EQ(test::ThreadPollWait(reader), kIdle);
  const long start = test::VoluntarySwitches(reader);
  SpinUntil([] { return false; }, 100);
  EXPECT_EQ(test::VoluntarySwitches(reader), start);

  // Nor does one that was busy: the first wait after the chunk went out has no timer.
  ASSERT_TRUE(pty.Write("$GPGGA,1*00\r\n"));
  ASSERT_TRUE(SpinUntil([&] { return !events.isEmpty() && test::ThreadPollWait(reader).has_value(); }));
  EXPECT_EQ(test::ThreadPollWait(reader), kIdle);
  EXPECT_EQ(events, QByteArrayList{"$GPGGA,1*00\r\n"});
}

TEST_F(CommWakeups, AHangupWhileGatheringDeliversTheBytesFirst) {
  comm.SetReadIntervalTimeout(1000);  // the reader is still looking when the end goes
  Open();
  const long asleep = test::VoluntarySwitches(reader);
  ASSERT_TRUE(pty.Write("partial"));
  // Asleep again after waking for the bytes: they are read (a hangup would flush
  // them from the port otherwise), not yet delivered.
  ASSERT_TRUE(SpinUntil([&] { return test::VoluntarySwitches(reader) > asleep; }));
  ASSERT_TRUE(events.isEmpty());
  pty.CloseMaster();
  ASSERT_TRUE(SpinUntil([&] { return events.size() == 2; }));
  EXPECT_EQ(events, (QByteArrayList{"partial", "(hangup)"}));
}

}  // namespace
}  // namespace orlimo
