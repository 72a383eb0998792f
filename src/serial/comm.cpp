#include "serial/comm.h"

#include <QFile>
#include <QMetaObject>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <system_error>

#include "serial/line_settings.h"

namespace orlimo {
namespace {

// A bare name ("ttyUSB0") is looked up in /dev; anything with a slash is a path.
QByteArray DevicePath(const QString& name) {
  if (name.isEmpty() || name.contains(QLatin1Char('/'))) return QFile::encodeName(name);
  return QFile::encodeName(QStringLiteral("/dev/") + name);
}

}  // namespace

TComm::TComm(QObject* owner) : ITransport(owner) {}

TComm::~TComm() { CloseComm(); }

void TComm::OpenComm() {
  if (IsOpen()) throw ECommsError(kMsgAlreadyOpen);

  const QByteArray path = DevicePath(commName_);
  UniqueFd port(path.isEmpty() ? -1 : ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!port) throw ECommsError(kMsgOpenFailed, path.isEmpty() ? ENOENT : errno == EBUSY ? ECommsError::kBusy : errno);
  // TIOCEXCL keeps other openers out but not root; the lock keeps out every
  // cooperating opener, this process included.
  if (::flock(port.get(), LOCK_EX | LOCK_NB) != 0) {
    throw ECommsError(kMsgOpenFailed, errno == EWOULDBLOCK ? ECommsError::kBusy : errno);
  }

  struct stat info {};
  termios saved{};
  if (::fstat(port.get(), &info) != 0 || !S_ISCHR(info.st_mode) || ::tcgetattr(port.get(), &saved) != 0) {
    throw ECommsError(kMsgNotCommHandle, ECommsError::kNotSerial);
  }
  (void)::ioctl(port.get(), TIOCEXCL);

  // From here on the terminal's settings are ours; put them back if the open fails.
  auto fail = [&](const char* message) {
    (void)::tcsetattr(port.get(), TCSANOW, &saved);
    (void)::ioctl(port.get(), TIOCNXCL);
    return ECommsError(message);
  };
  if (!MakeRaw(port.get())) throw fail(kMsgSetupFailed);
  (void)::tcflush(port.get(), TCIOFLUSH);

  openParity_ = line_.Parity;
  outputEmpty_.store(true);
  ApplyTimeoutsNow();
  ApplyLineTo(port.get());

  UniqueFd stop(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  auto queue = std::make_unique<WriteQueue>();
  if (!stop || !queue->Valid()) throw fail(kMsgNoEvent);

  Worker reader;
  try {
    std::promise<void> done;
    reader.done = done.get_future();
    ReaderContext ctx{port.get(), stop.get(), &readTimeouts_, this};
    reader.thread = std::jthread([ctx, done = std::move(done)](std::stop_token st) mutable {
      RunReader(st, ctx);
      done.set_value();
    });
  } catch (const std::system_error&) {
    throw fail(kMsgNoReadThread);
  }

  Worker writer;
  try {
    std::promise<void> done;
    writer.done = done.get_future();
    WriterContext ctx{port.get(), stop.get(), queue.get(), &outputEmpty_, this};
    writer.thread = std::jthread([ctx, done = std::move(done)](std::stop_token st) mutable {
      RunWriter(st, ctx);
      done.set_value();
    });
  } catch (const std::system_error&) {
    const std::uint64_t one = 1;
    (void)::write(stop.get(), &one, sizeof one);
    StopWorker(reader);
    throw fail(kMsgNoWriteThread);
  }

  savedTermios_ = saved;
  stopFd_ = std::move(stop);
  queue_ = std::move(queue);
  reader_ = std::move(reader);
  writer_ = std::move(writer);
  fd_ = port.release();
}

bool TComm::HungUp() const {
  if (!IsOpen()) return false;
  pollfd p{fd_, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

std::string OpenFailureReason(int systemError) {
  switch (systemError) {
    case 0: return {};
    case ECommsError::kBusy: return "The port is in use by another program.";
    case ECommsError::kNotSerial: return "This is not a serial port.";
    case EACCES:
    case EPERM:
      return std::string(std::strerror(systemError)) +
             ": add your user to the dialout group (then log in again), or ask your administrator.";
    default: return std::strerror(systemError);
  }
}

void TComm::CloseComm() noexcept {
  if (!IsOpen()) return;
  SignalStop();
  (void)::tcflush(fd_, TCIFLUSH);
  StopWorker(reader_);
  (void)::tcflush(fd_, TCOFLUSH);
  outputEmpty_.store(true);
  StopWorker(writer_);
  queue_.reset();
  stopFd_.reset();
  (void)::tcsetattr(fd_, TCSANOW, &savedTermios_);
  // A pty keeps its exclusive flag while the master is open; drop it so the
  // next open by an ordinary user is not refused.
  (void)::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

bool TComm::WriteData(const char* Buffer, std::size_t Length) {
  if (!IsOpen() || Buffer == nullptr || Length == 0 || Length > kWriteDataMax) return false;
  // A writer that ended on its own would never send the bytes.
  if (writer_.done.wait_for(std::chrono::seconds(0)) == std::future_status::ready) return false;
  outputEmpty_.store(false);
  return queue_->Push(QByteArray(Buffer, static_cast<qsizetype>(Length)));
}

void TComm::ApplyLineTo(int fd) const {
  TCommLine effective = line_;
  effective.Parity = openParity_;
  ApplyLine(fd, effective);
}

void TComm::ApplyTimeoutsNow() {
  readTimeouts_.interval.store(timeouts_.ReadIntervalTimeout);
  readTimeouts_.totalMultiplier.store(timeouts_.ReadTotalTimeoutMultiplier);
  readTimeouts_.totalConstant.store(timeouts_.ReadTotalTimeoutConstant);
}

void TComm::SignalStop() {
  const std::uint64_t one = 1;
  (void)::write(stopFd_.get(), &one, sizeof one);
}

void TComm::StopWorker(Worker& worker) {
  if (!worker.thread.joinable()) return;
  // The workers only ever wait in poll on the stop descriptor, so they end at once;
  // the bounded wait guards against a driver stuck in a system call.
  if (worker.done.valid() && worker.done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    worker.thread.request_stop();
  }
  worker.thread.join();
  worker = Worker{};
}

// The workers' reports, handed to the owning thread. The queued calls die with the
// object, and the destructor joins the workers first, so `this` is always valid.
void TComm::PostReceived(QByteArray chunk) {
  QMetaObject::invokeMethod(
      this, [this, chunk = std::move(chunk)] { emit OnReceiveData(chunk); }, Qt::QueuedConnection);
}

void TComm::PostReceiveError(std::uint32_t errorWord) {
  QMetaObject::invokeMethod(
      this, [this, errorWord] { emit OnReceiveError(errorWord); }, Qt::QueuedConnection);
}

void TComm::PostModemStateChange(std::uint32_t modemBits) {
  QMetaObject::invokeMethod(
      this, [this, modemBits] { emit OnModemStateChange(modemBits); }, Qt::QueuedConnection);
}

void TComm::PostHangup() {
  QMetaObject::invokeMethod(this, [this] { emit OnRequestHangup(); }, Qt::QueuedConnection);
}

void TComm::PostSendDataEmpty() {
  QMetaObject::invokeMethod(this, [this] { emit OnSendDataEmpty(); }, Qt::QueuedConnection);
}

}  // namespace orlimo
