#include "serial/stream_server.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

namespace orlimo {
namespace {

QString Peer(const QTcpSocket* client) {
  return client->peerAddress().toString() + QLatin1Char(':') + QString::number(client->peerPort());
}

}  // namespace

TStreamServer::TStreamServer(QObject* owner) : QObject(owner) {}

TStreamServer::~TStreamServer() { Stop(); }

bool TStreamServer::Start(const QString& address, quint16 port, std::string& why) {
  Stop();
  const QHostAddress where(address);
  if (where.isNull()) {
    why = std::string("\"").append(address.toStdString()).append("\" is not an IP address of this machine");
    return false;
  }
  auto* server = new QTcpServer(this);
  server->setProxy(QNetworkProxy::NoProxy);
  if (!server->listen(where, port)) {
    why = std::string("cannot listen on ")
              .append(address.toStdString())
              .append(":")
              .append(std::to_string(port))
              .append(": ")
              .append(server->errorString().toStdString());
    delete server;
    return false;
  }
  server_ = server;
  QObject::connect(server, &QTcpServer::newConnection, this, &TStreamServer::Accept);
  return true;
}

void TStreamServer::Stop() {
  for (QTcpSocket* client : clients_) {
    QObject::disconnect(client, nullptr, this, nullptr);
    client->abort();
    client->deleteLater();
  }
  clients_.clear();
  delete server_;
  server_ = nullptr;
}

quint16 TStreamServer::Port() const { return server_ != nullptr ? server_->serverPort() : 0; }

void TStreamServer::Accept() {
  while (server_ != nullptr && server_->hasPendingConnections()) {
    QTcpSocket* client = server_->nextPendingConnection();
    client->setParent(this);
    if (ClientCount() >= kMaxClients) {
      emit OnNotice(QStringLiteral("Stream server: %1 refused: %2 clients are the most it serves")
                        .arg(Peer(client))
                        .arg(kMaxClients));
      client->abort();
      client->deleteLater();
      continue;
    }
    clients_.push_back(client);
    QObject::connect(client, &QTcpSocket::readyRead, this, [client] { client->readAll(); });
    QObject::connect(client, &QTcpSocket::disconnected, this, [this, client] {
      QObject::disconnect(client, nullptr, this, nullptr);
      std::erase(clients_, client);
      client->deleteLater();
    });
  }
}

void TStreamServer::Share(const QByteArray& bytes) {
  if (bytes.isEmpty()) return;
  // A copy: Drop changes the list.
  const std::vector<QTcpSocket*> clients = clients_;
  for (QTcpSocket* client : clients) {
    if (client->bytesToWrite() + bytes.size() > kMaxUnsent) {
      Drop(client, QStringLiteral("more than 1 MB it has not taken yet"));
      continue;
    }
    client->write(bytes);
  }
}

void TStreamServer::Drop(QTcpSocket* client, const QString& why) {
  emit OnNotice(QStringLiteral("Stream server: %1 dropped: %2").arg(Peer(client), why));
  QObject::disconnect(client, nullptr, this, nullptr);
  std::erase(clients_, client);
  client->abort();
  client->deleteLater();
}

}  // namespace orlimo
