#include "app/simulator_link.h"

#include <QFile>

#ifdef ORLIMO_HAVE_SIM
#include "sim/replay.h"
#include "sim/simulated_receiver.h"
#endif

namespace orlimo {

#ifdef ORLIMO_HAVE_SIM

struct TSimulatorLink::Impl {
  std::unique_ptr<SimulatedReceiver> receiver;
  QString path;
  int rate = 0;

  bool Run(const SimOptions& options, QString& error) {
    auto r = std::make_unique<SimulatedReceiver>(options);
    const std::string pty = r->Start();
    if (pty.empty()) {
      error = QStringLiteral("simulator: %1").arg(QString::fromStdString(r->Error()));
      return false;
    }
    receiver = std::move(r);
    path = QString::fromStdString(pty);
    rate = options.rate;
    return true;
  }
};

TSimulatorLink::TSimulatorLink() : impl_(std::make_unique<Impl>()) {}
TSimulatorLink::~TSimulatorLink() = default;

bool TSimulatorLink::Start(const QString& personality, int rate, QString& error, double speedKnots,
                           double courseDeg) {
  const auto kind = ParseSimPersonality(personality.toStdString());
  if (!kind) {
    error = QStringLiteral("unknown receiver personality \"%1\" (sirf, sirf-binary, ublox, ublox8, ubx, mtk, silent, noisy)")
                .arg(personality);
    return false;
  }
  SimOptions options;
  options.personality = *kind;
  if (rate != 0) options.rate = rate;
  options.scenario.speedKnots = speedKnots;
  options.scenario.courseDeg = courseDeg;
  return impl_->Run(options, error);
}

bool TSimulatorLink::StartReplay(const QString& file, int rate, int speed, QString& error, QString& note) {
  SimOptions options;
  std::string why, pace;
  if (!SetUpReplay(QFile::encodeName(file).toStdString(), rate, speed, options, why, pace)) {
    error = QStringLiteral("cannot replay: %1").arg(QString::fromLocal8Bit(why));
    return false;
  }
  note = QString::fromStdString(pace);
  return impl_->Run(options, error);
}

bool TSimulatorLink::Running() const { return impl_->receiver != nullptr; }
QString TSimulatorLink::PortPath() const { return impl_->path; }
int TSimulatorLink::Rate() const { return impl_->rate; }

#else

// Built without the simulator library: --simulate reports that it is missing.
struct TSimulatorLink::Impl {};

TSimulatorLink::TSimulatorLink() = default;
TSimulatorLink::~TSimulatorLink() = default;

bool TSimulatorLink::Start(const QString&, int, QString& error, double, double) {
  error = QStringLiteral("simulator not available");
  return false;
}

bool TSimulatorLink::StartReplay(const QString&, int, int, QString& error, QString&) {
  error = QStringLiteral("simulator not available");
  return false;
}

bool TSimulatorLink::Running() const { return false; }
QString TSimulatorLink::PortPath() const { return {}; }
int TSimulatorLink::Rate() const { return 0; }

#endif

}  // namespace orlimo
