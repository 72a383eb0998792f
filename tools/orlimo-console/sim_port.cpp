#include "sim_port.h"

#include "sim/simulated_receiver.h"

namespace orlimo {
namespace {

class InProcessReceiver : public SimulatedPort {
 public:
  explicit InProcessReceiver(const SimOptions& o) : receiver_(o) {}
  std::string Start() { return receiver_.Start(); }
  std::string Error() const { return receiver_.Error(); }
  std::string Path() const override { return receiver_.PortPath(); }

 private:
  SimulatedReceiver receiver_;
};

}  // namespace

std::unique_ptr<SimulatedPort> StartSimulatedPort(const std::string& personality, int rate,
                                                  std::string& error) {
  const auto kind = ParseSimPersonality(personality);
  if (!kind) {
    error = "unknown receiver personality \"" + personality +
            "\" (sirf, sirf-binary, ublox, silent, noisy)";
    return nullptr;
  }
  SimOptions options;
  options.personality = *kind;
  options.rate = rate;
  auto receiver = std::make_unique<InProcessReceiver>(options);
  if (receiver->Start().empty()) {
    error = "simulator: " + receiver->Error();
    return nullptr;
  }
  return receiver;
}

}  // namespace orlimo
