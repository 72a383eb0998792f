// The flags and counters the parts of a receiver session share. One instance lives
// in the session object; the parts hold a reference to it.
#pragma once

#include <cstdint>

#include "session/link_state.h"

namespace orlimo {

struct SessionState {
  TLinkState LinkState = TLinkState::Unknow;
  bool PortOpen = false;
  bool Paused = false;

  // Which receiver family answered: 0 none yet, 2 a u-blox receiver.
  int ReceiverKind = 0;
  bool LogActive = false;

  // Received events and bytes in the current second; the supervisor reads and resets them.
  int gCntRxIn1s = 0;
  std::int64_t RxBytesInSecond = 0;

  // First-fix measurement: after a restart, wait for the old fix to go, then count.
  bool AwaitFixLoss = false;
  int FirstFixSeconds = 0;
  int AutoSyncSeconds = 0;

  // Baud-rate detection.
  int DetectedBaudRate = 0;
};

}  // namespace orlimo
