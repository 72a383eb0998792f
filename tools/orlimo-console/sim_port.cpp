#include "sim_port.h"

#include "sim/replay.h"
#include "sim/simulated_receiver.h"

namespace orlimo {
namespace {

class InProcessReceiver : public SimulatedPort {
 public:
  explicit InProcessReceiver(const SimOptions& o) : receiver_(o), rate_(o.rate) {}
  std::string Start() { return receiver_.Start(); }
  std::string Error() const { return receiver_.Error(); }
  std::string Path() const override { return receiver_.PortPath(); }
  int Rate() const override { return rate_; }

 private:
  SimulatedReceiver receiver_;
  int rate_;
};

std::unique_ptr<SimulatedPort> Run(const SimOptions& options, std::string& error) {
  auto receiver = std::make_unique<InProcessReceiver>(options);
  if (receiver->Start().empty()) {
    error = "simulator: " + receiver->Error();
    return nullptr;
  }
  return receiver;
}

}  // namespace

std::string SimPersonalityList() {
  std::string list;
  // Noisy is the last of the personalities.
  for (int p = 0; p <= static_cast<int>(SimPersonality::Noisy); ++p)
    list.append(list.empty() ? "" : ", ").append(SimPersonalityName(static_cast<SimPersonality>(p)));
  return list;
}

std::unique_ptr<SimulatedPort> StartSimulatedPort(const std::string& personality, int rate,
                                                  std::string& error) {
  const auto kind = ParseSimPersonality(personality);
  if (!kind) {
    error = std::string("unknown receiver personality \"").append(personality).append("\" (");
    error.append(SimPersonalityList()).append(")");
    return nullptr;
  }
  SimOptions options;
  options.personality = *kind;
  options.rate = rate;
  return Run(options, error);
}

std::unique_ptr<SimulatedPort> StartReplayPort(const std::string& file, int rate, int speed,
                                               std::string& error, std::string& note) {
  SimOptions options;
  std::string why;
  if (!SetUpReplay(file, rate, speed, options, why, note)) {
    error = std::string("--replay: ").append(why);
    return nullptr;
  }
  return Run(options, error);
}

}  // namespace orlimo
