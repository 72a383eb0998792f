#include "sim_port.h"

namespace orlimo {

std::unique_ptr<SimulatedPort> StartSimulatedPort(const std::string&, int, std::string& error) {
  error = "the simulated receiver is not available in this build";
  return nullptr;
}

}  // namespace orlimo
