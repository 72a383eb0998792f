// orlimo-console reading receivers on the network: a TCP peer, a UDP sender and a
// real gpsd, each made by the test on this machine's loopback, and the stream server.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "../child_process.h"
#include "nmea/sentence.h"
#include "sim/simulated_receiver.h"

namespace orlimo {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;

// 127.0.0.1 at `port` (0: the system picks).
sockaddr_in Loopback(int port = 0) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  return a;
}

// A TCP socket listening on 127.0.0.1 at a port the system picks.
struct Listener {
  Listener() {
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback();
    socklen_t len = sizeof a;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), len) != 0 || ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
      return;
    port = ntohs(a.sin_port);
  }
  ~Listener() { ::close(fd); }
  // The next client, or -1 after `ms` without one.
  int Accept(int ms) const {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0 ? ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC) : -1;
  }
  int fd = -1;
  int port = 0;
};

// A port of `type` that is free now: bound, read back and let go.
int FreePort(int type) {
  const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
  sockaddr_in a = Loopback();
  socklen_t len = sizeof a;
  const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&a), len) == 0 &&
                  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0;
  ::close(fd);
  return ok ? ntohs(a.sin_port) : 0;
}

int ConnectTo(int port, int receiveBuffer = 0) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (receiveBuffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  const sockaddr_in a = Loopback(port);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const std::string& bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const ssize_t n = ::send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
    if (n <= 0) return false;
    at += static_cast<std::size_t>(n);
  }
  return true;
}

std::string Sentence(const std::string& body) {
  const std::string s = "$" + body;
  return s + NMEAChecksumSuffix(s) + "\r\n";
}

// A fix of second `n`: a GGA and an RMC sentence.
std::string FixCycle(int n) {
  char time[16];
  std::snprintf(time, sizeof time, "%02d%02d%02d.00", 12, (n / 60) % 60, n % 60);
  return Sentence(std::string("GPGGA,") + time + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") +
         Sentence(std::string("GPRMC,") + time + ",A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
}

// The simulated receiver on a pty, opened at its rate as a host would.
struct PtyReceiver {
  explicit PtyReceiver(SimOptions o = Options()) : sim(o) {
    const std::string path = sim.Start();
    fd = path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (fd < 0 || ::tcgetattr(fd, &t) != 0) return;
    ::cfmakeraw(&t);
    ::cfsetspeed(&t, B9600);
    ::tcsetattr(fd, TCSANOW, &t);
  }
  ~PtyReceiver() {
    if (fd >= 0) ::close(fd);
  }
  static SimOptions Options() {
    SimOptions o;
    o.rate = 9600;
    o.ttffHot = 0.5;
    return o;
  }
  SimulatedReceiver sim;
  int fd = -1;
};

// Serves the receiver on a TCP port, one client at a time, both ways, and keeps what
// clients sent it.
class TcpBridge {
 public:
  explicit TcpBridge(int ptyFd) : pty_(ptyFd), thread_([this](std::stop_token st) { Run(st); }) {}
  int Port() const { return listener_.port; }
  std::string FromClients() {
    std::lock_guard lock(mu_);
    return fromClients_;
  }

 private:
  void Run(const std::stop_token& st) {
    while (!st.stop_requested()) {
      const int client = listener_.Accept(50);
      if (client < 0) continue;
      char buf[4096];
      while (!st.stop_requested()) {
        pollfd p[2] = {{client, POLLIN, 0}, {pty_, POLLIN, 0}};
        if (::poll(p, 2, 50) <= 0) continue;
        if (p[0].revents != 0) {
          const ssize_t n = ::read(client, buf, sizeof buf);
          if (n <= 0) break;
          {
            std::lock_guard lock(mu_);
            fromClients_.append(buf, static_cast<std::size_t>(n));
          }
          if (::write(pty_, buf, static_cast<std::size_t>(n)) != n) break;
        }
        if (p[1].revents != 0) {
          const ssize_t n = ::read(pty_, buf, sizeof buf);
          if (n > 0 && !WriteAll(client, std::string(buf, static_cast<std::size_t>(n)))) break;
        }
      }
      ::close(client);
    }
  }

  int pty_;
  Listener listener_;
  std::mutex mu_;
  std::string fromClients_;
  std::jthread thread_;
};

struct Output {
  std::vector<std::string> lines;
  int code = -1;
  int Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); }));
  }
  bool Has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
  std::string Text() const {
    std::string all;
    for (const std::string& l : lines) all.append(l).append("\n");
    return all;
  }
};

Output Finish(ChildProcess& child, std::chrono::milliseconds timeout) {
  Output r;
  r.code = child.Wait(timeout);
  for (const auto& l : child.Lines()) r.lines.push_back(l.text);
  return r;
}

std::vector<std::string> Args(const test::TempDir& dir, const std::string& port, std::vector<std::string> more) {
  std::vector<std::string> a = {ORLIMO_CONSOLE_PATH, "--port", port, "--connect", "--data-dir", dir.path};
  a.insert(a.end(), more.begin(), more.end());
  return a;
}

// The receiver's sentences, its fix and its identification arrive over TCP, and a
// cold start goes back to it unchanged.
TEST(ConsoleNet, TcpCarriesTheReceiverBothWays) {
  PtyReceiver receiver;
  ASSERT_GE(receiver.fd, 0) << receiver.sim.Error();
  TcpBridge bridge(receiver.fd);
  test::TempDir dir;
  const std::string port = "tcp://127.0.0.1:" + std::to_string(bridge.Port());
  ChildProcess child(Args(dir, port, {"--seconds", "7", "--do", "cold@5"}));
  const Output r = Finish(child, 20s);
  EXPECT_EQ(r.code, 0) << child.Errors();
  EXPECT_TRUE(r.Has("panel 1: GPS Source :" + port)) << r.Text();
  EXPECT_TRUE(r.Has("panel 2: Open (" + port + ")"));
  EXPECT_GT(r.Count("monitor: $GPGGA,"), 2);
  EXPECT_GT(r.Count("navi: lat=37.5"), 0);
  EXPECT_GT(r.Count("trace Memo4:  FWVer: ["), 0) << "not identified";
  EXPECT_NE(bridge.FromClients().find("$PSRF101,0,0,0,96000,0,0,12,4*1F\r\n"), std::string::npos);
  EXPECT_EQ(receiver.sim.Status().counters.lastRestartKind, 4);
}

// A peer that keeps closing is reconnected each time, its sentences shown again,
// and a hundred reconnects leave no descriptor behind.
TEST(ConsoleNet, LostTcpPeerIsRetriedWithoutLeaks) {
  Listener listener;
  test::TempDir dir;
  ChildProcess child(Args(dir, "tcp://127.0.0.1:" + std::to_string(listener.port), {"--retry-interval", "0.01"}));
  auto openFiles = [&] {
    const std::string fds = "/proc/" + std::to_string(child.Pid()) + "/fd";
    return std::distance(std::filesystem::directory_iterator(fds), std::filesystem::directory_iterator{});
  };
  long early = 0;
  for (int cycle = 0; cycle < 100; ++cycle) {
    const int peer = listener.Accept(5000);
    ASSERT_GE(peer, 0) << "cycle " << cycle << "\n" << child.Errors();
    if (cycle == 3) early = openFiles();
    if (cycle == 99) {
      EXPECT_EQ(openFiles(), early);
    }
    WriteAll(peer, FixCycle(cycle));
    ::close(peer);
    child.ReadFor(1ms);
  }
  // The last one stays: its sentences are shown once the supervisor's second comes.
  const int peer = listener.Accept(5000);
  ASSERT_GE(peer, 0);
  WriteAll(peer, FixCycle(100));
  EXPECT_TRUE(child.ReadUntil([&] {
    return std::any_of(child.Lines().begin(), child.Lines().end(),
                       [](const auto& l) { return l.text.starts_with("monitor: $GPGGA,120140.00"); });
  }, 5s));
  child.Signal(SIGTERM);
  const Output r = Finish(child, 10s);
  ::close(peer);
  EXPECT_EQ(r.code, 0);
  EXPECT_GT(r.Count("dialog notice: tcp://127.0.0.1:" + std::to_string(listener.port) +
                    " Connection Error ! | the other end closed the connection"), 50);
  EXPECT_EQ(r.Count("dialog error:"), 0) << r.Text();
}

TEST(ConsoleNet, UdpDatagramsShowTheReceiver) {
  const int udpPort = FreePort(SOCK_DGRAM);
  const std::string port = "udp://:" + std::to_string(udpPort);
  const sockaddr_in a = Loopback(udpPort);

  test::TempDir dir;
  ChildProcess child(Args(dir, port, {"--seconds", "4"}));
  ASSERT_TRUE(child.ReadUntil([&] { return !child.Lines().empty() && child.Lines().back().text == "panel 2: Open (" + port + ")"; }, 5s));
  const int sender = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  for (int n = 0; n < 10; ++n) {
    const std::string cycle = FixCycle(n);
    ::sendto(sender, cycle.data(), cycle.size(), 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    child.ReadFor(200ms);
  }
  ::close(sender);
  const Output r = Finish(child, 10s);
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(r.Has("panel 1: GPS Source :" + port)) << r.Text();
  EXPECT_GT(r.Count("monitor: $GPRMC,"), 3);
  EXPECT_GT(r.Count("navi: lat=48.11"), 0);
}

// gpsd reads the simulated receiver's pty; its raw sentences reach the console and
// its own JSON answers do not.
TEST(ConsoleNet, GpsdPassesTheReceiversSentences) {
  const char* gpsd = "/usr/sbin/gpsd";
  if (::access(gpsd, X_OK) != 0) GTEST_SKIP() << gpsd << " is not installed (Debian package gpsd)";
  PtyReceiver receiver;
  ASSERT_GE(receiver.fd, 0) << receiver.sim.Error();
  const std::string pty = receiver.sim.PortPath();
  ::close(receiver.fd);  // gpsd opens it itself
  receiver.fd = -1;
  const int gpsdPort = FreePort(SOCK_STREAM);
  ChildProcess daemon({gpsd, "-N", "-n", "-b", "-S", std::to_string(gpsdPort), pty});
  // gpsd is up once it takes connections.
  for (int i = 0; i < 100; ++i) {
    const int probe = ConnectTo(gpsdPort);
    if (probe >= 0) {
      ::close(probe);
      break;
    }
    std::this_thread::sleep_for(50ms);
  }
  test::TempDir dir;
  const std::string port = "gpsd://127.0.0.1:" + std::to_string(gpsdPort);
  ChildProcess child(Args(dir, port, {"--seconds", "6"}));
  const Output r = Finish(child, 20s);
  daemon.Signal(SIGTERM);
  daemon.Wait(5s);
  EXPECT_EQ(r.code, 0) << child.Errors();
  EXPECT_TRUE(r.Has("panel 2: Open (" + port + ")")) << r.Text();
  EXPECT_GT(r.Count("monitor: $GPGGA,"), 1);
  EXPECT_GT(r.Count("navi: lat=37.5"), 0);
  EXPECT_EQ(r.Count("monitor: {"), 0);
}

// Each bad source is refused with the reason, at once, and the run ends as a port
// that could not be opened.
TEST(ConsoleNet, BadSourcesSayWhy) {
  Listener notGpsd;
  std::jthread answer([&](std::stop_token st) {
    while (!st.stop_requested()) {
      const int client = notGpsd.Accept(50);
      if (client < 0) continue;
      WriteAll(client, "HTTP/1.0 400 Bad Request\r\n\r\n");
      std::this_thread::sleep_for(200ms);
      ::close(client);
    }
  });
  const std::string gpsd = "gpsd://127.0.0.1:" + std::to_string(notGpsd.port);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"tcp://127.0.0.1", "the port number is missing"},
      {"tcp://no-such-host.invalid:2947", "the host no-such-host.invalid is not known"},
      {"udp://:65536", "the port 65536 is out of range (1 to 65535)"},
      {gpsd, "this is not gpsd: it answered \"HTTP/1.0 400 Bad Request\""},
  };
  for (const auto& [source, why] : cases) {
    test::TempDir dir;
    ChildProcess child(Args(dir, source, {}));
    const Output r = Finish(child, 15s);
    EXPECT_EQ(r.code, 3) << source;
    EXPECT_TRUE(r.Has("dialog error: " + source + " Connection Error ! | " + why + " -> ok")) << r.Text();
  }
}

// Two clients of the stream server get every byte the receiver sent, in order, and
// the monitor still shows every sentence. (A client that falls behind: the server's
// own test.)
TEST(ConsoleNet, StreamServerSharesEveryByte) {
  Listener source;
  const int servePort = FreePort(SOCK_STREAM);
  test::TempDir dir;
  ChildProcess child(Args(dir, "tcp://127.0.0.1:" + std::to_string(source.port),
                          {"--serve", std::to_string(servePort), "--seconds", "5"}));
  const int peer = source.Accept(5000);
  ASSERT_GE(peer, 0);
  std::vector<int> clients;
  for (int i = 0; i < 100 && clients.size() < 2; ++i) {
    if (const int fd = ConnectTo(servePort); fd >= 0) clients.push_back(fd);
    else std::this_thread::sleep_for(20ms);
  }
  ASSERT_EQ(clients.size(), 2u);
  std::this_thread::sleep_for(200ms);  // both taken in

  // A fast receiver's pace: 20 cycles a second.
  constexpr int kCycles = 40;
  std::string sent;
  for (int n = 0; n < kCycles; ++n) {
    sent += FixCycle(n);
    ASSERT_TRUE(WriteAll(peer, FixCycle(n)));
    child.ReadFor(50ms);
  }
  const Output r = Finish(child, 15s);
  ::close(peer);
  for (int fd : clients) {
    std::string received;
    char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) received.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    EXPECT_EQ(received, sent);
  }
  EXPECT_EQ(r.code, 0) << child.Errors();
  EXPECT_EQ(r.Count("monitor: $GP"), 2 * kCycles) << r.Text();
}

}  // namespace
}  // namespace orlimo
