#include "app/simulator_link.h"

namespace orlimo {

// Built without the simulator library: --simulate reports that it is missing.
struct TSimulatorLink::Impl {};

TSimulatorLink::TSimulatorLink() = default;
TSimulatorLink::~TSimulatorLink() = default;

bool TSimulatorLink::Start(const QString&, int, QString& error) {
  error = QStringLiteral("simulator not available");
  return false;
}

bool TSimulatorLink::Running() const { return false; }
QString TSimulatorLink::PortPath() const { return {}; }
int TSimulatorLink::Rate() const { return 0; }

}  // namespace orlimo
