// What a receiver does about one command from the host. The personalities whose
// command handling lives beside ReceiverCore say it this way, and the core does it.
#pragma once

#include <string>

namespace orlimo {

struct SimCommandResult {
  std::string reply;    // goes on the line before the next cycle
  int restartKind = 0;  // 0: none; else 1 hot, 2 warm, 4 cold, 8 factory default
  int newRate = 0;      // 0: none; else the receiver's rate once `reply` has gone out
};

}  // namespace orlimo
