// The simulated receiver driven through its pseudo-terminal, as the program drives a port.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <thread>

#include "frames/hex.h"
#include "frames/ubx_frame.h"
#include "nmea/sentence.h"
#include "session/baud_signatures.h"
#include "sim/replay.h"
#include "sim/simulated_receiver.h"
#include "sim/termios_rate.h"

namespace orlimo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The host side: a raw serial port as the program opens it.
class HostPort {
 public:
  HostPort(const std::string& path, int rate) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0) SetRate(rate);
    tcflush(fd_, TCIOFLUSH);
  }
  ~HostPort() {
    if (fd_ >= 0) close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  void SetRate(int rate) {
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, SpeedOfRate(rate));
    cfsetospeed(&t, SpeedOfRate(rate));
    tcsetattr(fd_, TCSANOW, &t);
  }
  void Send(const std::string& s) { ASSERT_EQ(write(fd_, s.data(), s.size()), static_cast<ssize_t>(s.size())); }
  // Reads until `done` says so or the time is up; returns everything read.
  std::string ReadUntil(std::chrono::milliseconds limit, const std::function<bool(const std::string&)>& done) {
    const auto end = Clock::now() + limit;
    while (Clock::now() < end && !done(got_)) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) > 0) {
        char buf[2048];
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n > 0) got_.append(buf, static_cast<std::size_t>(n));
      }
    }
    return got_;
  }
  std::string ReadFor(std::chrono::milliseconds d) {
    return ReadUntil(d, [](const std::string&) { return false; });
  }
  void Clear() { got_.clear(); }

 private:
  int fd_ = -1;
  std::string got_;
};

std::vector<std::string> ValidLines(const std::string& s) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  for (std::size_t eol; (eol = s.find("\r\n", pos)) != std::string::npos; pos = eol + 2) {
    const std::size_t dollar = s.rfind('$', eol);
    if (dollar != std::string::npos && dollar >= pos && IsValidSentence(s.substr(dollar, eol - dollar)))
      out.push_back(s.substr(dollar, eol - dollar));
  }
  return out;
}

std::string Command(const std::string& text) { return text + NMEAChecksumSuffix(text) + "\r\n"; }

// Status of the last complete RMC in the text: "A", "V" or "" when none.
std::string LastRmcStatus(const std::string& s) {
  std::string status;
  for (const std::string& l : ValidLines(s))
    if (l.rfind("$GPRMC,", 0) == 0 && l.size() > 18) status = l.substr(l.find(',', 7) + 1, 1);
  return status;
}

SimOptions Fast(SimPersonality p = SimPersonality::SiRF, int rate = 9600) {
  SimOptions o;
  o.personality = p;
  o.rate = rate;
  o.hz = 5;
  o.ttffStart = 0;
  o.ttffHot = 0.6;
  o.ttffCold = 1.0;
  o.restartSilence = 0.2;
  return o;
}

TEST(SimPty, SendsDecodableNmeaAndAnswersQueries) {
  SimulatedReceiver sim(Fast());
  const std::string path = sim.Start();
  ASSERT_FALSE(path.empty()) << sim.Error();
  HostPort host(path, 9600);
  ASSERT_TRUE(host.ok());
  host.ReadFor(300ms);
  host.Send("$PQXC,201*05\r\n");
  const std::string got = host.ReadUntil(3s, [](const std::string& s) {
    const std::size_t r = s.find("$PQXR,201,");
    return r != std::string::npos && s.find("\r\n", r) != std::string::npos;
  });
  const std::size_t reply = got.find("$PQXR,201,");
  ASSERT_NE(reply, std::string::npos) << got;
  EXPECT_EQ(got.substr(got.find(',', reply + 6) + 1, 3), "GSW");
  const auto lines = ValidLines(got);
  EXPECT_GE(lines.size(), 8u);
  for (const char* type : {"$GPRMC", "$GPGGA", "$GPGSA", "$GPGSV"}) {
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(type, 0) == 0; }))
        << type;
  }
  const SimStatus st = sim.Status();
  EXPECT_TRUE(st.hostOpen);
  EXPECT_EQ(st.hostRate, 9600);
  EXPECT_EQ(st.counters.received, std::deque<std::string>{"$PQXC,201*05"});
}

TEST(SimPty, HotStartLosesTheFixAndRegainsIt) {
  SimulatedReceiver sim(Fast());
  HostPort host(sim.Start(), 9600);
  ASSERT_EQ(LastRmcStatus(host.ReadUntil(3s, [](const std::string& s) { return LastRmcStatus(s) == "A"; })), "A");
  host.Send(Command("$PSRF101,0,0,0,96000,0,0,12,1"));
  host.Clear();
  EXPECT_EQ(LastRmcStatus(host.ReadUntil(3s, [](const std::string& s) { return LastRmcStatus(s) == "V"; })), "V");
  EXPECT_EQ(LastRmcStatus(host.ReadUntil(4s, [](const std::string& s) { return LastRmcStatus(s) == "A"; })), "A");
  EXPECT_EQ(sim.Status().counters.lastRestartKind, 1);
}

TEST(SimPty, RateChangeAppliesAtOnceAndTheHostMustFollow) {
  SimulatedReceiver sim(Fast());
  HostPort host(sim.Start(), 9600);
  host.ReadFor(200ms);
  host.Send(Command("$PSRF100,1,38400,8,1,0"));
  host.ReadUntil(2s, [&](const std::string&) { return sim.Status().rate == 38400; });
  ASSERT_EQ(sim.Status().rate, 38400);
  host.Clear();
  EXPECT_TRUE(ValidLines(host.ReadFor(700ms)).empty());  // still listening at 9600: garbage
  host.SetRate(38400);  // changed while open, as the port component does
  host.ReadFor(100ms);
  host.Clear();
  EXPECT_GE(ValidLines(host.ReadFor(900ms)).size(), 5u);
  EXPECT_EQ(sim.Status().hostRate, 38400);
}

TEST(SimPty, UBlox8AcksARateChangeAtTheOldRateAndSendsAtTheNewAfterIt) {
  SimulatedReceiver sim(Fast(SimPersonality::UBlox8, 38400));
  HostPort host(sim.Start(), 38400);
  host.ReadFor(100ms);
  host.Send(BuildUBXFrame(0x06, 0x00, HexToBytes("01000000D008000000C2010007000300" "00000000").value()));  // 115200
  const std::string ack = HexToBytes("B562050102000600").value();
  ASSERT_NE(host.ReadUntil(1s, [&](const std::string& s) { return s.find(ack) != std::string::npos; }).find(ack),
            std::string::npos);
  host.SetRate(115200);
  host.ReadFor(50ms);
  host.Clear();
  EXPECT_GE(ValidLines(host.ReadUntil(800ms, [](const std::string& s) { return ValidLines(s).size() >= 5; })).size(), 5u);
  EXPECT_EQ(sim.Status().rate, 115200);
}

TEST(SimPty, HostAtDetectionRateReadsTheSignatureOfA4800Receiver) {
  SimulatedReceiver sim(Fast(SimPersonality::SiRF, 4800));
  HostPort host(sim.Start(), 19200);
  const std::string_view pattern = kSignaturesAt19200.rows[0].second;
  const std::string got = host.ReadUntil(5s, [&](const std::string& s) { return s.find(pattern) != std::string::npos; });
  EXPECT_NE(got.find(pattern), std::string::npos);
  EXPECT_TRUE(ValidLines(got).empty());
}

TEST(SimPty, BinaryModeReturnsToNmeaOnFactoryDefault) {
  SimulatedReceiver sim(Fast(SimPersonality::SiRFBinary, 9600));
  HostPort host(sim.Start(), 9600);
  const std::string start = HexToBytes("A0A2000909").value();
  ASSERT_NE(host.ReadUntil(3s, [&](const std::string& s) { return s.find(start) != std::string::npos; }).find(start),
            std::string::npos);
  host.Send(HexToBytes("A0A20019" "80" "000000000000000000000000" "000177FA" "00000000" "0000" "0C38" "0236B0B3").value());
  host.ReadUntil(2s, [&](const std::string&) { return sim.Status().mode == SimMode::Nmea; });
  EXPECT_EQ(sim.Status().mode, SimMode::Nmea);
  EXPECT_EQ(sim.Status().rate, 4800);
  host.SetRate(4800);
  host.Clear();
  EXPECT_FALSE(ValidLines(host.ReadUntil(4s, [](const std::string& s) { return !ValidLines(s).empty(); })).empty());
}

TEST(SimPty, ReplaysACapturedLog) {
  const std::string log = std::string(ORLIMO_TESTDATA_DIR) + "/receiver-logs/bt451.log";  // lines end in CR LF
  if (!std::filesystem::exists(log)) GTEST_SKIP() << "no captures at " << log;
  SimOptions o = Fast(SimPersonality::SiRF, 57600);
  o.hz = 10;
  o.replayFile = log;
  SimulatedReceiver sim(o);
  HostPort host(sim.Start(), 57600);
  const std::string got = host.ReadUntil(5s, [](const std::string& s) { return ValidLines(s).size() >= 10; });
  EXPECT_GE(ValidLines(got).size(), 10u);
  EXPECT_EQ(got.find("# Name"), std::string::npos);
}

TEST(SimPty, AReplayArrivesByteForByteAsCaptured) {
  const std::string log = std::string(ORLIMO_TESTDATA_DIR) + "/receiver-logs/neo-m8n.log";
  if (!std::filesystem::exists(log)) GTEST_SKIP() << "no captures at " << log;
  SimOptions o;
  std::string error, note;
  ASSERT_TRUE(SetUpReplay(log, 115200, 16, o, error, note)) << error;
  SimulatedReceiver sim(o);
  HostPort host(sim.Start(), 115200);
  const auto cycles = LoadReplay(log);
  ASSERT_TRUE(cycles);
  std::string capture;
  for (const std::string& c : *cycles) capture += c;
  // Once round the loop, from the first line end the port saw to the last.
  std::string got = host.ReadUntil(20s, [&](const std::string& s) { return s.size() > capture.size() + 2000; });
  ASSERT_GT(got.size(), capture.size() + 2000);
  got = got.substr(got.find("\r\n") + 2);
  got.resize(got.rfind("\r\n") + 2);
  EXPECT_NE((capture + capture).find(got), std::string::npos);
}

TEST(SimPty, StartFailsCleanlyOnAMissingReplayFile) {
  SimOptions o;
  o.replayFile = "/nonexistent/capture.log";
  SimulatedReceiver sim(o);
  EXPECT_EQ(sim.Start(), "");
  EXPECT_NE(sim.Error().find("replay"), std::string::npos);
}

TEST(Gpssim, PrintsThePortFirstMakesTheLinkAndStopsOnSignal) {
  const std::string link = testing::TempDir() + "/gpssim-link";
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    execl(GPSSIM_PATH, "gpssim", "--personality", "ublox", "--rate", "19200", "--hz", "5", "--ubx-rates", "1,1,1,5", "--link", link.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string first;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') first += c;
  close(out[0]);
  ASSERT_EQ(first.rfind("/dev/pts/", 0), 0u) << first;
  EXPECT_EQ(std::filesystem::read_symlink(link).string(), first);
  {
    HostPort host(link, 19200);
    host.ReadFor(200ms);
    host.Send("$PQXC,201*05\r\n");  // unknown to it: the banner comes again
    const std::string got = host.ReadUntil(3s, [](const std::string& s) { return s.find("ROM CORE") != std::string::npos; });
    EXPECT_NE(got.find("u-blox"), std::string::npos);
    EXPECT_NE(got.find("ANTARIS"), std::string::npos);
  }
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(Gpssim, AReplayedReceiverAnswersNoQuery) {
  const std::string log = std::string(ORLIMO_TESTDATA_DIR) + "/receiver-logs/neo-m8n.log";
  if (!std::filesystem::exists(log)) GTEST_SKIP() << "no captures at " << log;
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    execl(GPSSIM_PATH, "gpssim", "--replay", log.c_str(), "--rate", "115200", "--replay-speed", "16",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string port;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') port += c;
  close(out[0]);
  {
    HostPort host(port, 115200);
    ASSERT_TRUE(host.ok()) << port;
    host.ReadUntil(10s, [](const std::string& s) { return !ValidLines(s).empty(); });
    host.Send("$PQXC,201*05\r\n");  // the firmware query
    host.Clear();
    const std::string got = host.ReadUntil(10s, [](const std::string& s) { return ValidLines(s).size() >= 40; });
    EXPECT_GE(ValidLines(got).size(), 40u);
    EXPECT_EQ(got.find("$PQXR"), std::string::npos);
  }
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(Gpssim, HelpNamesEveryOptionAndBadOptionsFail) {
  FILE* p = popen(GPSSIM_PATH " --help", "r");
  ASSERT_NE(p, nullptr);
  std::string help;
  char buf[256];
  while (fgets(buf, sizeof buf, p)) help += buf;
  EXPECT_EQ(pclose(p), 0);
  for (const char* opt : {"--personality", "sirf-binary", "ublox", "silent", "noisy", "--rate", "--hz", "--link",
                          "--ttff-hot", "--ttff-cold", "--tmc", "--replay", "--ubx-rates", "--replay-speed"})
    EXPECT_NE(help.find(opt), std::string::npos) << opt;
  for (const char* bad : {" --rate 1234", " --hz 3", " --personality garmin", " --frobnicate", " --ubx-rates 1,256",
                          " --ubx-rates", " --replay-speed 2", " --replay /nonexistent/capture.log",
                          " --replay " ORLIMO_SOURCE_DIR "/README.md", " --replay x.log --replay-speed 17"})
    EXPECT_NE(std::system((std::string(GPSSIM_PATH) + bad + " >/dev/null 2>&1").c_str()), 0) << bad;
}

}  // namespace
}  // namespace orlimo
