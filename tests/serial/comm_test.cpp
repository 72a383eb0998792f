// The port component against real pseudo-terminals: open errors, exclusivity,
// ordered complete writes, chunking by the interval timeout, line settings seen
// from the other side, hangup, and clean close/reopen cycles.
#include <gtest/gtest.h>

#include <QByteArrayList>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "pty_support.h"
#include "serial/comm.h"
#include "serial/line_settings.h"

namespace orlimo {
namespace {

using test::Pty;
using test::SpinUntil;

// Records what a component reports.
struct Recorder {
  QByteArrayList chunks;
  int hangups = 0;
  int empties = 0;

  explicit Recorder(TComm& comm) {
    QObject::connect(&comm, &TComm::OnReceiveData, [this](const QByteArray& b) { chunks.append(b); });
    QObject::connect(&comm, &TComm::OnRequestHangup, [this] { ++hangups; });
    QObject::connect(&comm, &TComm::OnSendDataEmpty, [this] { ++empties; });
  }
  QByteArray All() const { return chunks.join(); }
};

std::string OpenError(TComm& comm) {
  try {
    comm.OpenComm();
  } catch (const ECommsError& e) {
    return e.what();
  }
  return "(opened)";
}

QByteArray Pattern(int size, int seed) {
  QByteArray b(size, '\0');
  unsigned x = static_cast<unsigned>(seed) * 2654435761u + 1;
  for (int i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    b[i] = static_cast<char>(x >> 16);
  }
  return b;
}

class CommTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    ASSERT_TRUE(pty.Valid());
    comm.SetCommName(QString::fromStdString(pty.SlavePath()));
    comm.SetOutx_XonXoffFlow(false);  // let every byte value through
    comm.SetInx_XonXoffFlow(false);
  }
  Pty pty;
  TComm comm;
};

TEST(CommDefaults, MatchTheComponentTable) {
  TComm c;
  EXPECT_EQ(c.CommName(), "COM2");
  EXPECT_EQ(c.BaudRate(), 9600u);
  EXPECT_FALSE(c.Outx_CtsFlow());
  EXPECT_TRUE(c.Outx_XonXoffFlow() && c.Inx_XonXoffFlow() && c.TxContinueOnXoff());
  EXPECT_EQ(c.DtrControl(), TDtrControl::DtrEnable);
  EXPECT_EQ(c.RtsControl(), TRtsControl::RtsEnable);
  EXPECT_EQ(c.XonLimit(), 500);
  EXPECT_EQ(c.ByteSize(), TByteSize::_8);
  EXPECT_EQ(c.Parity(), TParity::None);
  EXPECT_EQ(c.StopBits(), TStopBits::_1);
  EXPECT_EQ(c.XonChar(), 0x11);
  EXPECT_EQ(c.XoffChar(), 0x13);
  EXPECT_EQ(c.ReadIntervalTimeout(), 100u);
  EXPECT_EQ(c.ReadTotalTimeoutConstant(), 0u);
  EXPECT_FALSE(c.IsOpen());
  EXPECT_FALSE(c.WriteData("x", 1));
  c.CloseComm();  // closing a closed component does nothing
}

// What a pty hides (it forces 8 bits and no parity) is checked on the mapping.
TEST(LineTermios, MapsByteSizeParityAndFlow) {
  const struct {
    TByteSize size;
    TParity parity;
    tcflag_t cflag;
  } cases[] = {
      {TByteSize::_5, TParity::None, CS5},
      {TByteSize::_6, TParity::Odd, CS6 | PARENB | PARODD},
      {TByteSize::_7, TParity::Even, CS7 | PARENB},
      {TByteSize::_8, TParity::Mark, CS8 | PARENB | PARODD | CMSPAR},
      {TByteSize::_8, TParity::Space, CS8 | PARENB | CMSPAR},
  };
  termios start{};
  start.c_cflag = CS8 | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CREAD | CLOCAL;
  for (const auto& c : cases) {
    TCommLine line;
    line.ByteSize = c.size;
    line.Parity = c.parity;
    const termios t = LineTermios(start, line);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS), c.cflag);
    EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), tcflag_t(CREAD | CLOCAL));  // untouched
  }
  TCommLine line;
  line.ParityCheck = true;
  line.RtsControl = TRtsControl::RtsHandshake;
  line.Inx_XonXoffFlow = false;
  const termios t = LineTermios(start, line);
  EXPECT_NE(t.c_iflag & INPCK, 0u);
  EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON));
}

TEST_F(CommTest, RefusesWhatIsNotAnOpenableTerminalAndLeaksNothing) {
  char dir[] = "/tmp/orlimo-commXXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string file = std::string(dir) + "/plain";
  const std::string fifo = std::string(dir) + "/fifo";
  std::fclose(std::fopen(file.c_str(), "w"));
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

  const int fds = test::CountOpenFds();
  const struct {
    std::string path;
    const char* message;
  } cases[] = {
      {std::string(dir) + "/missing", kMsgOpenFailed},
      {"", kMsgOpenFailed},
      {dir, kMsgOpenFailed},
      {file, kMsgNotCommHandle},
      {fifo, kMsgNotCommHandle},  // must not hang waiting for a writer
      {"/dev/null", kMsgNotCommHandle},
  };
  TComm other;
  for (const auto& c : cases) {
    other.SetCommName(QString::fromStdString(c.path));
    EXPECT_EQ(OpenError(other), c.message) << c.path;
    EXPECT_FALSE(other.IsOpen());
  }
  EXPECT_EQ(test::CountOpenFds(), fds);
  EXPECT_EQ(std::string(kMsgNotCommHandle), "File handle is not a comm handle ");

  // After the failures the same component opens a real port.
  other.SetCommName(QString::fromStdString(pty.SlavePath()));
  EXPECT_EQ(OpenError(other), "(opened)");
  other.CloseComm();
  std::remove(file.c_str());
  std::remove(fifo.c_str());
  ::rmdir(dir);
}

TEST_F(CommTest, APortIsOpenedOnlyOnce) {
  comm.OpenComm();
  EXPECT_EQ(OpenError(comm), kMsgAlreadyOpen);
  EXPECT_TRUE(comm.IsOpen());

  TComm second;
  second.SetCommName(comm.CommName());
  EXPECT_EQ(OpenError(second), kMsgOpenFailed);

  // The first one still works after both refusals.
  ASSERT_TRUE(comm.WriteData("ok", 2));
  EXPECT_EQ(pty.Read(2), "ok");

  comm.CloseComm();
  EXPECT_EQ(OpenError(second), "(opened)");
}

TEST_F(CommTest, WriteDataRefusesEmptyOversizeAndClosed) {
  EXPECT_FALSE(comm.WriteData("abc", 3));
  comm.OpenComm();
  EXPECT_FALSE(comm.WriteData("abc", 0));
  EXPECT_FALSE(comm.WriteData(nullptr, 3));
  EXPECT_FALSE(comm.WriteData(QByteArray(kWriteDataMax + 1, 'x')));
  EXPECT_TRUE(comm.WriteData(QByteArray(kWriteDataMax, 'x')));
  EXPECT_EQ(pty.Read(kWriteDataMax).size(), kWriteDataMax);
  comm.CloseComm();
  EXPECT_FALSE(comm.WriteData("abc", 3));
}

TEST_F(CommTest, WritesKeepCallOrderAndArriveWhole) {
  Recorder rec(comm);
  comm.OpenComm();
  ASSERT_TRUE(SpinUntil([&] { return rec.empties == 1; }));  // the writer is up and idle
  // Far more than the pty takes at once, so the writer must continue partial writes.
  const QByteArrayList parts = {Pattern(40000, 1), Pattern(7, 2), Pattern(kWriteDataMax, 3), Pattern(1, 4),
                                Pattern(30000, 5)};
  QByteArray expected;
  for (const auto& p : parts) {
    ASSERT_TRUE(comm.WriteData(p));
    expected += p;
  }
  const QByteArray got = pty.Read(expected.size());
  EXPECT_EQ(got.size(), expected.size());
  EXPECT_TRUE(got == expected);
  EXPECT_TRUE(SpinUntil([&] { return rec.empties == 2 && comm.OutputEmpty(); }));
  EXPECT_EQ(rec.hangups, 0);
}

TEST_F(CommTest, ReceivedBytesArriveVerbatimInOrder) {
  Recorder rec(comm);
  comm.SetReadIntervalTimeout(5);
  comm.OpenComm();
  QByteArray all;
  for (int i = 0; i < 256; ++i) all.append(static_cast<char>(i));  // CR, LF, NUL, 0xFF, ...
  all += Pattern(20000, 9);
  ASSERT_TRUE(pty.Write(all));
  ASSERT_TRUE(SpinUntil([&] { return rec.All().size() >= all.size(); }));
  EXPECT_TRUE(rec.All() == all);
  for (const auto& c : rec.chunks) {
    EXPECT_GT(c.size(), 0);
    EXPECT_LE(c.size(), kReadChunkMax);
  }
}

TEST_F(CommTest, ChunksEndWhenTheLineIsQuietOrFull) {
  Recorder rec(comm);
  comm.SetReadIntervalTimeout(1000);
  comm.OpenComm();

  // Pieces written with gaps far below the interval make one chunk.
  for (const char* piece : {"$GPGGA,", "123519,", "4807.038,N*47\r\n"}) {
    ASSERT_TRUE(pty.Write(piece));
    QCoreApplication::processEvents();
  }
  ASSERT_TRUE(SpinUntil([&] { return !rec.chunks.isEmpty(); }));
  EXPECT_EQ(rec.chunks, QByteArrayList{"$GPGGA,123519,4807.038,N*47\r\n"});

  // A shorter interval, set on the open port, applies at once: a piece written after
  // the previous chunk came (a gap longer than the interval) is a chunk of its own.
  rec.chunks.clear();
  comm.SetReadIntervalTimeout(20);
  for (const char* piece : {"first", "second", "third"}) {
    const auto before = rec.chunks.size();
    ASSERT_TRUE(pty.Write(piece));
    ASSERT_TRUE(SpinUntil([&] { return rec.chunks.size() > before; }));
  }
  EXPECT_EQ(rec.chunks, (QByteArrayList{"first", "second", "third"}));

  // A burst longer than a chunk is cut at 2048 bytes.
  rec.chunks.clear();
  comm.SetReadIntervalTimeout(200);
  const QByteArray burst = Pattern(5000, 7).toHex().left(5000);
  ASSERT_TRUE(pty.Write(burst));
  ASSERT_TRUE(SpinUntil([&] { return rec.All().size() >= burst.size(); }));
  EXPECT_TRUE(rec.All() == burst);
  EXPECT_GE(rec.chunks.size(), 3);
  for (const auto& c : rec.chunks) EXPECT_LE(c.size(), kReadChunkMax);
}

TEST_F(CommTest, BytesFromBeforeARateChangeGetAChunkOfTheirOwn) {
  Recorder rec(comm);
  comm.SetReadIntervalTimeout(300);
  comm.OpenComm();
  ASSERT_TRUE(pty.Write("old rate"));
  SpinUntil([] { return false; }, 50);  // gathered, not yet delivered
  comm.SetBaudRate(19200);
  ASSERT_TRUE(pty.Write("new rate"));
  ASSERT_TRUE(SpinUntil([&] { return rec.All().size() == 16; }));
  EXPECT_EQ(rec.chunks, (QByteArrayList{"old rate", "new rate"}));
}

TEST_F(CommTest, DiscardReceivedDropsWhatWasReadOrHeldBeforeIt) {
  Recorder rec(comm);
  comm.SetReadIntervalTimeout(300);
  comm.OpenComm();
  ASSERT_TRUE(pty.Write("gathered"));
  SpinUntil([] { return false; }, 50);  // read, not yet delivered
  ASSERT_TRUE(pty.Write("held"));       // read or still with the driver
  comm.DiscardReceived();
  ASSERT_TRUE(pty.Write("after"));
  ASSERT_TRUE(SpinUntil([&] { return !rec.chunks.isEmpty(); }));
  EXPECT_EQ(rec.chunks, QByteArrayList{"after"});
}

TEST_F(CommTest, LineSettingsReachTheOtherSide) {
  // A pty keeps its own byte size and parity enable bit; rate, stop bits, flow
  // control and the odd/even choice show through to the master.
  comm.SetBaudRate(4800);
  comm.OpenComm();
  termios t = pty.SlaveSettings();
  EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);  // raw
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);

  // Line settings apply on the open port at once (baud detection relies on it).
  comm.SetBaudRate(115200);
  comm.SetStopBits(TStopBits::_2);
  comm.SetOutx_XonXoffFlow(true);
  comm.SetXoffChar(0x14);
  t = pty.SlaveSettings();
  EXPECT_EQ(cfgetospeed(&t), speed_t(B115200));
  EXPECT_EQ(cfgetispeed(&t), speed_t(B115200));
  EXPECT_NE(t.c_cflag & CSTOPB, 0u);
  EXPECT_NE(t.c_iflag & IXON, 0u);
  EXPECT_EQ(t.c_cc[VSTOP], 0x14);

  // Parity and the name wait for the next open.
  comm.SetParity(TParity::Odd);
  comm.SetCommName("/nonexistent/port");
  comm.SetBaudRate(19200);  // a rebuild must not pull the new parity in early
  t = pty.SlaveSettings();
  EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
  EXPECT_EQ(t.c_cflag & PARODD, 0u);
  ASSERT_TRUE(comm.WriteData("still here", 10));
  EXPECT_EQ(pty.Read(10), "still here");

  comm.CloseComm();
  comm.SetCommName(QString::fromStdString(pty.SlavePath()));
  comm.OpenComm();
  t = pty.SlaveSettings();
  EXPECT_NE(t.c_cflag & PARODD, 0u);
  EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
}

TEST_F(CommTest, ReaderEndsWhenTheOtherSideGoes) {
  Recorder rec(comm);
  comm.OpenComm();
  ASSERT_TRUE(SpinUntil([&] { return rec.empties == 1; }));  // both workers are up
  const int threads = test::CountThreads();
  pty.Write("last words");
  ASSERT_TRUE(SpinUntil([&] { return rec.All() == "last words"; }));

  pty.CloseMaster();
  ASSERT_TRUE(SpinUntil([&] { return rec.hangups == 1; }));
  // The reader is gone rather than spinning on the dead line.
  EXPECT_TRUE(SpinUntil([&] { return test::CountThreads() == threads - 1; }));
  EXPECT_TRUE(comm.IsOpen());  // formally open until closed

  // The writer meets the dead line at its next write and ends too; from then on
  // WriteData says it cannot send instead of queueing bytes nobody will write.
  EXPECT_TRUE(comm.WriteData("lost", 4));
  ASSERT_TRUE(SpinUntil([&] { return rec.hangups == 2; }));
  EXPECT_TRUE(SpinUntil([&] { return test::CountThreads() == threads - 2; }));
  EXPECT_FALSE(comm.WriteData("more", 4));
  comm.CloseComm();
  EXPECT_EQ(test::CountThreads(), threads - 2);
  EXPECT_EQ(rec.hangups, 2);
}

TEST_F(CommTest, CloseAndReopenLeavesNothingBehind) {
  Recorder rec(comm);
  comm.SetReadIntervalTimeout(1);
  comm.OpenComm();
  comm.CloseComm();
  const int fds = test::CountOpenFds();
  const int threads = test::CountThreads();
  for (int i = 0; i < 100; ++i) {
    comm.OpenComm();
    comm.CloseComm();
  }
  EXPECT_EQ(test::CountOpenFds(), fds);
  EXPECT_EQ(test::CountThreads(), threads);

  // Fresh workers after the cycles: both directions still work.
  comm.OpenComm();
  ASSERT_TRUE(comm.WriteData("ping", 4));
  EXPECT_EQ(pty.Read(4), "ping");
  rec.chunks.clear();
  ASSERT_TRUE(pty.Write("pong"));
  EXPECT_TRUE(SpinUntil([&] { return rec.All() == "pong"; }));
}

TEST_F(CommTest, DestroyingAnOpenComponentStopsItsWorkers) {
  const int threads = test::CountThreads();
  {
    TComm local;
    local.SetCommName(QString::fromStdString(pty.SlavePath()));
    local.OpenComm();
    pty.Write("unread");
    local.WriteData("unsent", 6);
  }
  EXPECT_EQ(test::CountThreads(), threads);
  QCoreApplication::processEvents();  // queued reports of the dead object are dropped
}

}  // namespace
}  // namespace orlimo
