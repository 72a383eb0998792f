// Receivers on the network, named like a port:
//   tcp://HOST:PORT               a raw byte stream both ways (ser2net, a bridge)
//   udp://[ADDR]:PORT             datagrams received on ADDR (default all), read only
//   gpsd://HOST[:PORT][/DEVICE]   gpsd's raw NMEA of DEVICE (or every device), read only
// Resolution and connect run in the event loop; a failure or loss is reported by
// signal, with ErrorText saying why. With a retry interval a TCP or gpsd source
// reconnects on its own (OnLinkDown, then OnLinkUp) until closed; without one it
// raises OnRequestHangup.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <optional>
#include <string>
#include <string_view>

#include "serial/transport.h"

class QAbstractSocket;
class QTcpSocket;
class QUdpSocket;

namespace orlimo {

enum class NetKind { Tcp, Udp, Gpsd };

struct NetAddress {
  NetKind kind = NetKind::Tcp;
  QString host;    // empty for a UDP source listening on every address
  quint16 port = 0;
  QString device;  // gpsd only; empty: every device gpsd has
};

inline constexpr quint16 kGpsdDefaultPort = 2947;

// True when `name` names a network source rather than a device.
bool IsNetworkSource(std::string_view name);
// The parts of a network source, or nothing with `why` set.
std::optional<NetAddress> ParseNetAddress(std::string_view name, std::string& why);

class TNetSource : public ITransport {
  Q_OBJECT

 public:
  explicit TNetSource(QObject* owner = nullptr);
  ~TNetSource() override;

  void SetSource(const QString& name) { name_ = name; }
  QString Source() const { return name_; }
  // Milliseconds between reconnects after a refusal or a loss; 0 for none.
  void SetRetryInterval(int ms) { retryMs_ = ms; }
  // How long a connect may take before it counts as failed.
  void SetConnectTimeout(int ms) { connectTimeoutMs_ = ms; }

  void Open() override;
  void Close() noexcept override;
  bool IsOpen() const override { return open_; }
  bool HungUp() const override { return open_ && ended_; }
  bool Write(const char* data, std::size_t length) override;
  bool ReadOnly() const override { return address_.kind != NetKind::Tcp; }
  std::string ErrorText() const override { return error_; }
  // The peer is connected (a UDP source: listening).
  bool Connected() const { return connected_; }

 private:
  void Connect();
  void OnConnected();
  void OnSocketError();
  void OnTcpReadyRead();
  void OnUdpReadyRead();
  void Fail(std::string why);
  void Deliver(const char* data, qsizetype length);
  void FilterGpsd(const QByteArray& bytes);
  void DropSocket();

  QString name_;
  NetAddress address_;
  int retryMs_ = 0;
  int connectTimeoutMs_ = 10'000;
  bool open_ = false;
  bool connected_ = false;
  bool ended_ = false;
  std::string error_;
  // Children of this object: one that is dropped goes by deleteLater, and any still
  // pending go with the source.
  QTcpSocket* tcp_ = nullptr;
  QUdpSocket* udp_ = nullptr;
  QTimer connectTimer_;
  QTimer retryTimer_;
  // gpsd: the line being gathered, and whether its greeting has come.
  QByteArray gpsdLine_;
  bool gpsdGreeted_ = false;
};

}  // namespace orlimo
