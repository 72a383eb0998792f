#include "serial/comm.h"

#include <QFile>
#include <QPointer>

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
  if (!stop || !queue->Valid() || !WatchReports()) throw fail(kMsgNoEvent);

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

void TComm::DiscardReceived() {
  if (!IsOpen()) return;
  (void)::tcflush(fd_, TCIFLUSH);
  // After the flush: a chunk the reader tags with the new generation holds only bytes
  // that came after it; everything older is dropped on arrival.
  discardBefore_ = readTimeouts_.lineGeneration.fetch_add(1, std::memory_order_acq_rel) + 1;
}

// The workers' reports go to the owning thread through the locked queue, and the
// wake-up through an eventfd: a worker never calls into Qt, whose own locks
// ThreadSanitizer cannot see. The destructor joins the workers before the queue and
// the eventfd go.
bool TComm::WatchReports() {
  if (reportsNotifier_) return true;
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake) return false;
  reportsNotifier_ = std::make_unique<QSocketNotifier>(wake.get(), QSocketNotifier::Read);
  QObject::connect(reportsNotifier_.get(), &QSocketNotifier::activated, this, [this] { DeliverReports(); });
  reportsWake_ = std::move(wake);
  return true;
}

void TComm::Report(CommReport report) {
  if (reports_.Push(std::move(report))) Wake();  // else the owner has yet to take the ones before
}

void TComm::Wake() {
  const std::uint64_t one = 1;
  (void)::write(reportsWake_.get(), &one, sizeof one);
}

void TComm::PostReceived(QByteArray chunk, std::uint32_t lineGeneration) {
  Report({CommReport::Kind::Received, std::move(chunk), lineGeneration});
}

void TComm::PostReceiveError(std::uint32_t errorWord) { Report({CommReport::Kind::ReceiveError, {}, errorWord}); }

void TComm::PostModemStateChange(std::uint32_t modemBits) {
  Report({CommReport::Kind::ModemStateChange, {}, modemBits});
}

void TComm::PostHangup() { Report({CommReport::Kind::Hangup, {}, 0}); }

void TComm::PostSendDataEmpty() { Report({CommReport::Kind::SendDataEmpty, {}, 0}); }

void TComm::DeliverReports() {
  std::uint64_t wakes = 0;
  (void)::read(reportsWake_.get(), &wakes, sizeof wakes);
  // A receiver of a signal may close the port or delete the component.
  const QPointer<TComm> alive(this);
  while (!alive.isNull()) {
    bool more = false;
    const std::optional<CommReport> report = reports_.Pop(more);
    if (!report) return;
    // A receiver that runs an event loop of its own (a message box) gets the rest
    // from there: the wake-up stands while reports wait.
    if (more) Wake();
    const CommReport& r = *report;
    switch (r.kind) {
      case CommReport::Kind::Received:
        // Generations wrap: older means behind by less than half the range.
        if (static_cast<std::int32_t>(r.word - discardBefore_) >= 0) emit OnReceiveData(r.chunk);
        break;
      case CommReport::Kind::ReceiveError: emit OnReceiveError(r.word); break;
      case CommReport::Kind::ModemStateChange: emit OnModemStateChange(r.word); break;
      case CommReport::Kind::Hangup: emit OnRequestHangup(); break;
      case CommReport::Kind::SendDataEmpty: emit OnSendDataEmpty(); break;
    }
  }
}

}  // namespace orlimo
