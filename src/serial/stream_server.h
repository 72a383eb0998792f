// Shares the receiver's bytes with other programs: every byte received is sent, in
// order, to each TCP client connected to the server. Clients only listen: what they
// send is thrown away. Writing never waits: a client that falls more than
// kMaxUnsent bytes behind is dropped, so no client slows the receiver's reading.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstddef>
#include <string>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace orlimo {

class TStreamServer : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxClients = 16;
  static constexpr qint64 kMaxUnsent = 1 << 20;

  explicit TStreamServer(QObject* owner = nullptr);
  ~TStreamServer() override;

  // Listens on `address` (an IP address) and `port`; false with `why` set when it
  // cannot. A server already listening is stopped first.
  bool Start(const QString& address, quint16 port, std::string& why);
  void Stop();
  bool Listening() const { return server_ != nullptr; }
  quint16 Port() const;
  int ClientCount() const { return static_cast<int>(clients_.size()); }

  // Sends `bytes` to every client.
  void Share(const QByteArray& bytes);

 signals:
  // Something the user should know: a client dropped or refused.
  void OnNotice(const QString& text);

 private:
  void Accept();
  void Drop(QTcpSocket* client, const QString& why);

  QTcpServer* server_ = nullptr;  // a child, as are the clients
  std::vector<QTcpSocket*> clients_;
};

}  // namespace orlimo
