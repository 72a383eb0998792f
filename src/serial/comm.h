// TComm: one serial port with a reader and a writer thread. It knows nothing of GPS:
// it moves bytes and reports line events as Qt signals.
//
// Use from one thread (the one that owns the object, normally the GUI thread):
//
//   TComm comm;
//   comm.SetCommName("/dev/ttyUSB0");        // a name without '/' means /dev/<name>
//   QObject::connect(&comm, &TComm::OnReceiveData, ...);
//   try { comm.OpenComm(); } catch (const ECommsError& e) { ... e.what() ... }
//   comm.SetBaudRate(115200);                // takes effect at once on the open port
//   comm.WriteData(bytes);                   // queued; returns at once
//   comm.CloseComm();                        // joins both threads; never throws
//
// Signals are queued to the owning thread and arrive there in the order each worker
// raised them; each received chunk is an owned QByteArray of 1..2048 bytes. The
// workers' reports wait in a locked queue that the owning thread empties when an
// eventfd, watched by its event loop, says there is something (see comm_reports.h).
// Signals already queued when CloseComm returns are still delivered; the destructor
// discards them. The owning thread must run a Qt event loop for signals to arrive.
//
// Setters compare first: storing the value already held does nothing. While the port
// is open a change of a line setting rebuilds and applies the termios settings at
// once (this is how baud detection switches rates), a change of a timeout applies at
// once, and CommName and Parity are only stored: they take effect at the next open.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <termios.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <thread>

#include "serial/comm_reports.h"
#include "serial/comm_types.h"
#include "serial/comm_workers.h"
#include "serial/transport.h"
#include "serial/unique_fd.h"

namespace orlimo {

class TComm : public ITransport, private CommEventSink {
  Q_OBJECT

 public:
  explicit TComm(QObject* owner = nullptr);
  // Closes the port if it is still open, so no worker outlives the object.
  ~TComm() override;

  // Opens CommName exclusively (TIOCEXCL plus an flock, so neither another process
  // nor root can share it), puts it into raw mode, applies the timeouts and the line
  // settings and starts the reader and the writer. Raises ECommsError with one of
  // the kMsg* texts; a failed open releases everything it took.
  void OpenComm();
  // Stops both workers (waiting up to 10 s each before insisting), restores the
  // terminal settings found at open and closes the port. Does nothing when closed.
  void CloseComm() noexcept;
  // IsOpen, and HungUp: the open port's device is gone or its other end closed
  // (checked now, so a hangup reported for an earlier connection is not taken for
  // this one), are below with the transport interface.

  // Queues a copy of 1..65535 bytes for the writer and returns at once. False when
  // the port is closed, the writer has ended (after an error or a hangup), or the
  // length is 0 or above 65535; nothing is queued then. Buffers are written in call
  // order, each completely.
  bool WriteData(const char* Buffer, std::size_t Length);
  bool WriteData(const QByteArray& Buffer) {
    return WriteData(Buffer.constData(), static_cast<std::size_t>(Buffer.size()));
  }
  // True when the writer has nothing left to write. Informational only.
  bool OutputEmpty() const { return outputEmpty_.load(); }
  // Drops every byte received so far: what the driver holds and the chunks read but
  // not yet delivered (the receive half of a purge). Bytes that arrive from now on are
  // delivered as ever. Baud detection calls it when it switches the rate, so that it
  // never judges bytes read at the rate before. Does nothing when closed.
  void DiscardReceived();

  // The transport interface, for the session.
  void Open() override { OpenComm(); }
  void Close() noexcept override { CloseComm(); }
  bool IsOpen() const override { return fd_ >= 0; }
  bool HungUp() const override;
  bool Write(const char* data, std::size_t length) override { return WriteData(data, length); }

  // Settings; the default of each is in TCommLine / TCommTimeouts, CommName "COM2".
  QString CommName() const { return commName_; }
  void SetCommName(const QString& name) { commName_ = name; }
  TParity Parity() const { return line_.Parity; }
  void SetParity(TParity parity) { line_.Parity = parity; }

  std::uint32_t BaudRate() const { return line_.BaudRate; }
  void SetBaudRate(std::uint32_t v) { SetLine(&TCommLine::BaudRate, v); }
  bool ParityCheck() const { return line_.ParityCheck; }
  void SetParityCheck(bool v) { SetLine(&TCommLine::ParityCheck, v); }
  bool Outx_CtsFlow() const { return line_.Outx_CtsFlow; }
  void SetOutx_CtsFlow(bool v) { SetLine(&TCommLine::Outx_CtsFlow, v); }
  bool Outx_DsrFlow() const { return line_.Outx_DsrFlow; }
  void SetOutx_DsrFlow(bool v) { SetLine(&TCommLine::Outx_DsrFlow, v); }
  TDtrControl DtrControl() const { return line_.DtrControl; }
  void SetDtrControl(TDtrControl v) { SetLine(&TCommLine::DtrControl, v); }
  bool DsrSensitivity() const { return line_.DsrSensitivity; }
  void SetDsrSensitivity(bool v) { SetLine(&TCommLine::DsrSensitivity, v); }
  bool TxContinueOnXoff() const { return line_.TxContinueOnXoff; }
  void SetTxContinueOnXoff(bool v) { SetLine(&TCommLine::TxContinueOnXoff, v); }
  bool Outx_XonXoffFlow() const { return line_.Outx_XonXoffFlow; }
  void SetOutx_XonXoffFlow(bool v) { SetLine(&TCommLine::Outx_XonXoffFlow, v); }
  bool Inx_XonXoffFlow() const { return line_.Inx_XonXoffFlow; }
  void SetInx_XonXoffFlow(bool v) { SetLine(&TCommLine::Inx_XonXoffFlow, v); }
  bool ReplaceWhenParityError() const { return line_.ReplaceWhenParityError; }
  void SetReplaceWhenParityError(bool v) { SetLine(&TCommLine::ReplaceWhenParityError, v); }
  bool IgnoreNullChar() const { return line_.IgnoreNullChar; }
  void SetIgnoreNullChar(bool v) { SetLine(&TCommLine::IgnoreNullChar, v); }
  TRtsControl RtsControl() const { return line_.RtsControl; }
  void SetRtsControl(TRtsControl v) { SetLine(&TCommLine::RtsControl, v); }
  std::uint16_t XonLimit() const { return line_.XonLimit; }
  void SetXonLimit(std::uint16_t v) { SetLine(&TCommLine::XonLimit, v); }
  std::uint16_t XoffLimit() const { return line_.XoffLimit; }
  void SetXoffLimit(std::uint16_t v) { SetLine(&TCommLine::XoffLimit, v); }
  TByteSize ByteSize() const { return line_.ByteSize; }
  void SetByteSize(TByteSize v) { SetLine(&TCommLine::ByteSize, v); }
  TStopBits StopBits() const { return line_.StopBits; }
  void SetStopBits(TStopBits v) { SetLine(&TCommLine::StopBits, v); }
  char XonChar() const { return line_.XonChar; }
  void SetXonChar(char v) { SetLine(&TCommLine::XonChar, v); }
  char XoffChar() const { return line_.XoffChar; }
  void SetXoffChar(char v) { SetLine(&TCommLine::XoffChar, v); }
  char ReplacedChar() const { return line_.ReplacedChar; }
  void SetReplacedChar(char v) { SetLine(&TCommLine::ReplacedChar, v); }

  std::uint32_t ReadIntervalTimeout() const { return timeouts_.ReadIntervalTimeout; }
  void SetReadIntervalTimeout(std::uint32_t v) { SetTimeout(&TCommTimeouts::ReadIntervalTimeout, v); }
  std::uint32_t ReadTotalTimeoutMultiplier() const { return timeouts_.ReadTotalTimeoutMultiplier; }
  void SetReadTotalTimeoutMultiplier(std::uint32_t v) {
    SetTimeout(&TCommTimeouts::ReadTotalTimeoutMultiplier, v);
  }
  std::uint32_t ReadTotalTimeoutConstant() const { return timeouts_.ReadTotalTimeoutConstant; }
  void SetReadTotalTimeoutConstant(std::uint32_t v) { SetTimeout(&TCommTimeouts::ReadTotalTimeoutConstant, v); }
  std::uint32_t WriteTotalTimeoutMultiplier() const { return timeouts_.WriteTotalTimeoutMultiplier; }
  void SetWriteTotalTimeoutMultiplier(std::uint32_t v) {
    SetTimeout(&TCommTimeouts::WriteTotalTimeoutMultiplier, v);
  }
  std::uint32_t WriteTotalTimeoutConstant() const { return timeouts_.WriteTotalTimeoutConstant; }
  void SetWriteTotalTimeoutConstant(std::uint32_t v) {
    SetTimeout(&TCommTimeouts::WriteTotalTimeoutConstant, v);
  }

 signals:
  // OnReceiveData (a chunk of 1..2048 bytes) and OnRequestHangup (a worker ended
  // because the device vanished or an unexpected error occurred; the port stays
  // formally open until CloseComm) come from ITransport.
  // The driver counted line errors: bit 0x01 input overflow, 0x02 overrun,
  // 0x04 parity, 0x08 framing, 0x10 break. Only drivers that keep counters report.
  void OnReceiveError(quint32 EventMask);
  // Carrier detect changed (8) and/or ring (4); seen when bytes arrive.
  void OnModemStateChange(quint32 ModemEvent);
  // The writer found its queue empty after start or after a completed write.
  void OnSendDataEmpty();

 private:
  struct Worker {
    std::jthread thread;
    std::future<void> done;
  };

  template <typename T>
  void SetLine(T TCommLine::*field, T value) {
    if (line_.*field == value) return;
    line_.*field = value;
    if (IsOpen()) {
      ApplyLineTo(fd_);
      readTimeouts_.lineGeneration.fetch_add(1, std::memory_order_release);
    }
  }
  template <typename T>
  void SetTimeout(T TCommTimeouts::*field, T value) {
    if (timeouts_.*field == value) return;
    timeouts_.*field = value;
    if (IsOpen()) ApplyTimeoutsNow();
  }
  void ApplyLineTo(int fd) const;
  void ApplyTimeoutsNow();
  static void StopWorker(Worker& worker);
  void SignalStop();

  // The workers' side: each report joins the queue, and the first into an empty one
  // wakes the owning thread.
  void PostReceived(QByteArray chunk, std::uint32_t lineGeneration) override;
  void PostReceiveError(std::uint32_t errorWord) override;
  void PostModemStateChange(std::uint32_t modemBits) override;
  void PostHangup() override;
  void PostSendDataEmpty() override;
  // Makes the eventfd that wakes the owning thread, once; false when it cannot.
  bool WatchReports();
  void Report(CommReport report);
  void Wake();
  // The owning thread's side: empties the queue into signals, in the order reported.
  void DeliverReports();

  QString commName_ = QStringLiteral("COM2");
  TCommLine line_;
  TCommTimeouts timeouts_;

  int fd_ = -1;                 // the open port; -1 while closed
  TParity openParity_ = TParity::None;  // the parity in force on the open port
  termios savedTermios_{};      // what the port had before we opened it
  UniqueFd stopFd_;             // eventfd shared by both workers; signalled to stop them
  std::unique_ptr<WriteQueue> queue_;
  SharedReadTimeouts readTimeouts_;
  std::atomic<bool> outputEmpty_{true};
  CommReportQueue reports_;
  // Signalled by a worker whose report found the queue empty; made at the first open
  // and kept, so that reports still queued at a close are delivered.
  UniqueFd reportsWake_;
  std::unique_ptr<QSocketNotifier> reportsNotifier_;
  // Chunks read at a line generation before this one are dropped (DiscardReceived).
  std::uint32_t discardBefore_ = 0;
  Worker reader_;
  Worker writer_;
};

}  // namespace orlimo
