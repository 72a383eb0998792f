// What the session reads the receiver through: a serial port (TComm) or a network
// source (TNetSource). The session and its views see only this, so they do not know
// which one they read.
#pragma once

#include <QByteArray>
#include <QObject>

#include <cstddef>
#include <string>

namespace orlimo {

class ITransport : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Opens (a network source: starts connecting). Raises ECommsError when it cannot.
  virtual void Open() = 0;
  virtual void Close() noexcept = 0;
  virtual bool IsOpen() const = 0;
  // The link has ended for good (device gone, peer closed and no retry).
  virtual bool HungUp() const = 0;
  // Queues bytes for the receiver; false when they cannot go out.
  virtual bool Write(const char* data, std::size_t length) = 0;
  // Bytes cannot reach the receiver at all (a listener, or a daemon that owns it).
  virtual bool ReadOnly() const { return false; }
  // Why the link failed or ended, in a user's words; empty when nothing went wrong.
  virtual std::string ErrorText() const { return {}; }

 signals:
  // A chunk of received bytes (1..2048 of them).
  void OnReceiveData(const QByteArray& Buffer);
  // The link ended on its own; the owner closes it.
  void OnRequestHangup();
  // A network source's link came up, and went down while it retries (ErrorText says
  // why). A serial port raises neither.
  void OnLinkUp();
  void OnLinkDown();
};

}  // namespace orlimo
