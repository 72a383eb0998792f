// The stream server with clients on the loopback, in this process's event loop.
#include "serial/stream_server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "pty_support.h"

namespace orlimo {
namespace {

int ConnectTo(int port, int receiveBuffer = 0) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (receiveBuffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);  // completes in the background
  return fd;
}

// Whatever has come on `fd`, without waiting.
void Take(int fd, std::string& into) {
  char buf[65536];
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) into.append(buf, static_cast<std::size_t>(n));
}

class StreamServerTest : public ::testing::Test {
 protected:
  StreamServerTest() {
    test::App();
    QObject::connect(&server, &TStreamServer::OnNotice, [this](const QString& t) { notices.push_back(t.toStdString()); });
  }
  void Start() {
    std::string why;
    ASSERT_TRUE(server.Start(QStringLiteral("127.0.0.1"), 0, why)) << why;
  }
  TStreamServer server;
  std::vector<std::string> notices;
};

TEST_F(StreamServerTest, DropsOnlyAClientThatFallsBehind) {
  Start();
  const int reader = ConnectTo(server.Port());
  const int stalled = ConnectTo(server.Port(), 4096);
  ASSERT_TRUE(test::SpinUntil([&] { return server.ClientCount() == 2; }));

  // 4 MB: the stalled client's kernel buffers take a small part of it.
  std::string sent, received;
  for (int i = 0; i < 64; ++i) {
    const QByteArray piece(65536, static_cast<char>('A' + i % 26));
    sent.append(piece.constData(), static_cast<std::size_t>(piece.size()));
    server.Share(piece);
    test::SpinUntil([] { return false; }, 5);
    Take(reader, received);
  }
  EXPECT_TRUE(test::SpinUntil([&] {
    Take(reader, received);
    return received.size() >= sent.size();
  }));
  EXPECT_TRUE(received == sent) << received.size() << " of " << sent.size();
  EXPECT_EQ(server.ClientCount(), 1);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_TRUE(notices[0].find("dropped: more than 1 MB") != std::string::npos) << notices[0];
  ::close(reader);
  ::close(stalled);
}

TEST_F(StreamServerTest, RefusesAClientOverTheLimit) {
  Start();
  std::vector<int> fds;
  for (int i = 0; i <= TStreamServer::kMaxClients; ++i) fds.push_back(ConnectTo(server.Port()));
  ASSERT_TRUE(test::SpinUntil([&] { return notices.size() == 1; }));
  EXPECT_EQ(server.ClientCount(), TStreamServer::kMaxClients);
  EXPECT_TRUE(notices[0].find("refused") != std::string::npos) << notices[0];
  for (int fd : fds) ::close(fd);
}

}  // namespace
}  // namespace orlimo
