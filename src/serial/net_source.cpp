#include "serial/net_source.h"

#include <QHostAddress>
#include <QMetaObject>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QUdpSocket>

#include <algorithm>
#include <charconv>

#include "serial/comm_types.h"

namespace orlimo {
namespace {

constexpr std::string_view kTcp = "tcp://";
constexpr std::string_view kUdp = "udp://";
constexpr std::string_view kGpsd = "gpsd://";

// gpsd greets every client with its version before anything else.
constexpr std::string_view kGpsdGreeting = R"({"class":"VERSION")";
// A gpsd line longer than this is not gpsd's.
constexpr qsizetype kGpsdLineMax = 4096;

std::string Quoted(const QByteArray& bytes) {
  std::string shown;
  for (char c : bytes.left(40)) {
    if (c == '\r' || c == '\n') break;
    shown += (c >= 0x20 && c < 0x7F) ? c : '.';
  }
  return "\"" + shown + "\"";
}

// "HOST:PORT", "[V6]:PORT", ":PORT" (no host), "HOST" (no port: `port` stays 0).
bool SplitHostPort(std::string_view text, std::string& host, quint16& port, bool portRequired, std::string& why) {
  std::string_view portText;
  if (text.starts_with('[')) {
    const auto close = text.find(']');
    if (close == std::string_view::npos) {
      why = "an IPv6 address lacks its closing ']'";
      return false;
    }
    host = text.substr(1, close - 1);
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(':')) {
      why = "a ':' must follow the ']' of the address";
      return false;
    }
    if (!rest.empty()) portText = rest.substr(1);
    else if (portRequired) portText = rest;
  } else {
    const auto colon = text.rfind(':');
    if (colon == std::string_view::npos) {
      host = text;
    } else {
      if (text.find(':') != colon) {
        why = "write an IPv6 address in brackets: [ADDRESS]:PORT";
        return false;
      }
      host = text.substr(0, colon);
      portText = text.substr(colon + 1);
    }
  }
  if (portText.empty() && (portRequired || text.ends_with(':'))) {
    why = "the port number is missing";
    return false;
  }
  if (!portText.empty()) {
    unsigned long value = 0;
    const auto r = std::from_chars(portText.data(), portText.data() + portText.size(), value);
    if (r.ec == std::errc::invalid_argument || r.ptr != portText.data() + portText.size()) {
      why = std::string("the port \"").append(portText).append("\" is not a number");
      return false;
    }
    if (r.ec == std::errc::result_out_of_range || value < 1 || value > 65535) {
      why = std::string("the port ").append(portText).append(" is out of range (1 to 65535)");
      return false;
    }
    port = static_cast<quint16>(value);
  }
  return true;
}

}  // namespace

bool IsNetworkSource(std::string_view name) {
  return name.starts_with(kTcp) || name.starts_with(kUdp) || name.starts_with(kGpsd);
}

std::optional<NetAddress> ParseNetAddress(std::string_view name, std::string& why) {
  NetAddress a;
  std::string_view rest;
  if (name.starts_with(kTcp)) {
    rest = name.substr(kTcp.size());
  } else if (name.starts_with(kUdp)) {
    a.kind = NetKind::Udp;
    rest = name.substr(kUdp.size());
  } else if (name.starts_with(kGpsd)) {
    a.kind = NetKind::Gpsd;
    rest = name.substr(kGpsd.size());
    const auto slash = rest.find('/');
    if (slash != std::string_view::npos) {
      a.device = QString::fromStdString(std::string(rest.substr(slash)));
      rest = rest.substr(0, slash);
      if (a.device == QLatin1String("/")) a.device.clear();
    }
  } else {
    why = "a network source begins with tcp://, udp:// or gpsd://";
    return std::nullopt;
  }
  std::string host;
  if (!SplitHostPort(rest, host, a.port, a.kind != NetKind::Gpsd, why)) return std::nullopt;
  if (a.kind == NetKind::Gpsd && a.port == 0) a.port = kGpsdDefaultPort;
  if (host.empty() && a.kind != NetKind::Udp) {
    why = "the host is missing";
    return std::nullopt;
  }
  if (a.kind == NetKind::Udp && !host.empty() && QHostAddress(QString::fromStdString(host)).isNull()) {
    why = "\"" + host + "\" is not an address of this machine to listen on";
    return std::nullopt;
  }
  if (host.find_first_of(" /\\?#@") != std::string::npos) {
    why = "\"" + host + "\" is not a host name";
    return std::nullopt;
  }
  a.host = QString::fromStdString(host);
  return a;
}

TNetSource::TNetSource(QObject* owner) : ITransport(owner) {
  connectTimer_.setSingleShot(true);
  retryTimer_.setSingleShot(true);
  QObject::connect(&connectTimer_, &QTimer::timeout, this, [this] {
    Fail(std::string("no answer within ").append(std::to_string(connectTimeoutMs_ / 1000)).append(" s"));
  });
  QObject::connect(&retryTimer_, &QTimer::timeout, this, [this] { Connect(); });
}

TNetSource::~TNetSource() { Close(); }

void TNetSource::Open() {
  if (open_) throw ECommsError(kMsgAlreadyOpen);
  std::string why;
  const auto address = ParseNetAddress(name_.toStdString(), why);
  if (!address) throw ECommsError(why);
  address_ = *address;
  error_.clear();
  ended_ = false;
  if (address_.kind == NetKind::Udp) {
    auto* udp = new QUdpSocket(this);
    udp->setProxy(QNetworkProxy::NoProxy);
    const QHostAddress where = address_.host.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(address_.host);
    if (!udp->bind(where, address_.port)) {
      const std::string reason = udp->errorString().toStdString();
      delete udp;
      throw ECommsError(reason);
    }
    udp_ = udp;
    QObject::connect(udp, &QUdpSocket::readyRead, this, &TNetSource::OnUdpReadyRead);
    open_ = true;
    connected_ = true;
    // After the caller has taken the open as done.
    QMetaObject::invokeMethod(this, [this] { if (open_) emit OnLinkUp(); }, Qt::QueuedConnection);
    return;
  }
  open_ = true;
  Connect();
}

void TNetSource::Connect() {
  DropSocket();
  auto* tcp = new QTcpSocket(this);
  // A receiver's link goes straight to its host: no desktop proxy (whose lookup also
  // runs in a thread of its own).
  tcp->setProxy(QNetworkProxy::NoProxy);
  tcp_ = tcp;
  gpsdLine_.clear();
  gpsdGreeted_ = false;
  QObject::connect(tcp, &QTcpSocket::connected, this, &TNetSource::OnConnected);
  QObject::connect(tcp, &QTcpSocket::errorOccurred, this, &TNetSource::OnSocketError);
  QObject::connect(tcp, &QTcpSocket::readyRead, this, &TNetSource::OnTcpReadyRead);
  connectTimer_.start(connectTimeoutMs_);
  tcp->connectToHost(address_.host, address_.port);
}

void TNetSource::OnConnected() {
  connectTimer_.stop();
  if (address_.kind == NetKind::Gpsd) {
    QByteArray watch = R"(?WATCH={"enable":true,"raw":1)";
    if (!address_.device.isEmpty()) {
      QByteArray device = address_.device.toUtf8();
      device.replace('\\', "\\\\").replace('"', "\\\"");
      watch.append(R"(,"device":")").append(device).append('"');
    }
    watch.append("}\n");
    tcp_->write(watch);
    return;  // up once gpsd has greeted
  }
  connected_ = true;
  emit OnLinkUp();
}

void TNetSource::OnSocketError() {
  if (tcp_ == nullptr) return;
  // What the peer sent before it closed still counts.
  if (tcp_->bytesAvailable() > 0) OnTcpReadyRead();
  if (tcp_ == nullptr) return;
  const QString host = address_.host;
  const std::string where = host.toStdString() + ":" + std::to_string(address_.port);
  switch (tcp_->error()) {
    case QAbstractSocket::HostNotFoundError: Fail(std::string("the host ").append(host.toStdString()).append(" is not known")); break;
    case QAbstractSocket::ConnectionRefusedError: Fail("nothing listens on " + where + " (connection refused)"); break;
    case QAbstractSocket::RemoteHostClosedError: Fail("the other end closed the connection"); break;
    default: Fail(tcp_->errorString().toStdString()); break;
  }
}

void TNetSource::OnTcpReadyRead() {
  if (tcp_ == nullptr) return;
  const QByteArray bytes = tcp_->readAll();
  if (address_.kind == NetKind::Gpsd) FilterGpsd(bytes);
  else Deliver(bytes.constData(), bytes.size());
}

void TNetSource::OnUdpReadyRead() {
  while (udp_ != nullptr && udp_->hasPendingDatagrams()) {
    const QNetworkDatagram datagram = udp_->receiveDatagram();
    const QByteArray bytes = datagram.data();
    Deliver(bytes.constData(), bytes.size());
  }
}

// gpsd's own answers are JSON objects, one a line; the receiver's sentences come
// raw between them. Only these go on.
void TNetSource::FilterGpsd(const QByteArray& bytes) {
  for (char c : bytes) {
    gpsdLine_.append(c);
    if (c != '\n' && gpsdLine_.size() < kGpsdLineMax) continue;
    if (!gpsdGreeted_) {
      if (!gpsdLine_.startsWith(QByteArray(kGpsdGreeting.data(), static_cast<qsizetype>(kGpsdGreeting.size())))) {
        Fail(std::string("this is not gpsd: it answered ").append(Quoted(gpsdLine_)));
        return;
      }
      gpsdGreeted_ = true;
      connected_ = true;
      emit OnLinkUp();
    } else if (!gpsdLine_.startsWith('{')) {
      Deliver(gpsdLine_.constData(), gpsdLine_.size());
    }
    gpsdLine_.clear();
    if (tcp_ == nullptr) return;  // closed by a receiver of the data
  }
}

void TNetSource::Deliver(const char* data, qsizetype length) {
  for (qsizetype at = 0; at < length; at += kReadChunkMax)
    emit OnReceiveData(QByteArray(data + at, std::min<qsizetype>(kReadChunkMax, length - at)));
}

bool TNetSource::Write(const char* data, std::size_t length) {
  if (!open_ || !connected_ || ReadOnly() || tcp_ == nullptr || data == nullptr || length == 0 ||
      length > static_cast<std::size_t>(kWriteDataMax))
    return false;
  return tcp_->write(data, static_cast<qint64>(length)) == static_cast<qint64>(length);
}

void TNetSource::Fail(std::string why) {
  error_ = std::move(why);
  connectTimer_.stop();
  DropSocket();
  connected_ = false;
  if (!open_) return;
  if (retryMs_ > 0) {
    retryTimer_.start(retryMs_);
    emit OnLinkDown();
    return;
  }
  ended_ = true;
  emit OnRequestHangup();
}

void TNetSource::DropSocket() {
  // Possibly inside one of the socket's own signals: it goes once they have returned.
  if (tcp_ != nullptr) {
    QObject::disconnect(tcp_, nullptr, this, nullptr);
    tcp_->abort();
    tcp_->deleteLater();
    tcp_ = nullptr;
  }
  if (udp_ != nullptr) {
    QObject::disconnect(udp_, nullptr, this, nullptr);
    udp_->close();
    udp_->deleteLater();
    udp_ = nullptr;
  }
}

void TNetSource::Close() noexcept {
  connectTimer_.stop();
  retryTimer_.stop();
  DropSocket();
  open_ = false;
  connected_ = false;
  ended_ = false;
}

}  // namespace orlimo
