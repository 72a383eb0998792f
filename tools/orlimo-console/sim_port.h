// The simulated receiver as the console starts it: in-process, on a pty.
#pragma once

#include <memory>
#include <string>

namespace orlimo {

class SimulatedPort {
 public:
  virtual ~SimulatedPort() = default;
  virtual std::string Path() const = 0;
};

// nullptr with `error` set when the personality or rate is not known.
std::unique_ptr<SimulatedPort> StartSimulatedPort(const std::string& personality, int rate,
                                                  std::string& error);

}  // namespace orlimo
