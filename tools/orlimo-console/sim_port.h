// The simulated receiver as the console starts it: in-process, on a pty.
#pragma once

#include <memory>
#include <string>

namespace orlimo {

class SimulatedPort {
 public:
  virtual ~SimulatedPort() = default;
  virtual std::string Path() const = 0;
  virtual int Rate() const = 0;  // bit/s the receiver sends at
};

// "sirf, sirf-binary, ...": the personalities --simulate takes.
std::string SimPersonalityList();

// nullptr with `error` set when the personality or rate is not known.
std::unique_ptr<SimulatedPort> StartSimulatedPort(const std::string& personality, int rate,
                                                  std::string& error);

// The receiver of a capture (or a raw-data log), played `speed` times faster at `rate`
// bit/s (0: the lowest rate that keeps its pace). nullptr with `error` set when the
// file cannot be played; `note` says when its cycles must stretch.
std::unique_ptr<SimulatedPort> StartReplayPort(const std::string& file, int rate, int speed,
                                               std::string& error, std::string& note);

}  // namespace orlimo
