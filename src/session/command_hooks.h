// The receiver commands the supervisor sends while it recognises the receiver.
// They do nothing until the command set is plugged in.
#pragma once

#include <string_view>

namespace orlimo {

class CommandHooks {
 public:
  virtual ~CommandHooks() = default;
  // Asks the receiver for its firmware (and TMC module, and power mode).
  virtual void QueryReceiverVersion() {}
  // Sends the text before its annotation ("$PQXC,200,0*18 (Query ...)") with CR LF.
  virtual void SendAnnotatedCommand(std::string_view /*text*/) {}
  // A data second without a valid line while the port waits at a new receiver rate.
  virtual void RateChangeCheck() {}
};

}  // namespace orlimo
