#include "app/simulator_link.h"

#ifdef ORLIMO_HAVE_SIM
#include "sim/simulated_receiver.h"
#endif

namespace orlimo {

#ifdef ORLIMO_HAVE_SIM

struct TSimulatorLink::Impl {
  std::unique_ptr<SimulatedReceiver> receiver;
  QString path;
  int rate = 0;
};

TSimulatorLink::TSimulatorLink() : impl_(std::make_unique<Impl>()) {}
TSimulatorLink::~TSimulatorLink() = default;

bool TSimulatorLink::Start(const QString& personality, int rate, QString& error, double speedKnots,
                           double courseDeg) {
  const auto kind = ParseSimPersonality(personality.toStdString());
  if (!kind) {
    error = QStringLiteral("unknown receiver personality \"%1\" (sirf, sirf-binary, ublox, silent, noisy)")
                .arg(personality);
    return false;
  }
  SimOptions options;
  options.personality = *kind;
  if (rate != 0) options.rate = rate;
  options.scenario.speedKnots = speedKnots;
  options.scenario.courseDeg = courseDeg;
  auto receiver = std::make_unique<SimulatedReceiver>(options);
  const std::string path = receiver->Start();
  if (path.empty()) {
    error = QStringLiteral("simulator: %1").arg(QString::fromStdString(receiver->Error()));
    return false;
  }
  impl_->receiver = std::move(receiver);
  impl_->path = QString::fromStdString(path);
  impl_->rate = options.rate;
  return true;
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

bool TSimulatorLink::Running() const { return false; }
QString TSimulatorLink::PortPath() const { return {}; }
int TSimulatorLink::Rate() const { return 0; }

#endif

}  // namespace orlimo
