// The flags and counters the parts of a receiver session share. One instance lives
// in the session object; the parts hold a reference to it.
#pragma once

#include <cstdint>

#include "session/link_state.h"
#include "session/receiver_clues.h"

namespace orlimo {

struct SessionState {
  // Connection.
  TLinkState LinkState = TLinkState::Unknow;
  bool PortOpen = false;
  bool Paused = false;
  // A network source: the peer has been reached since the connect, and is not
  // reached now (connecting, or lost and retrying). The silence watch waits then.
  bool SourceConnected = false;
  bool LinkDown = false;
  // Milliseconds between reconnects of a network source; 0: a failure ends the
  // connection. Lives for the whole run.
  int RetryIntervalMs = 0;

  // Receiver identity: ReceiverKind is a TReceiverKind (0 none yet, 1 SiRF, 2 u-blox
  // ANTARIS, 3 u-blox 5 to 10, 4 MediaTek); the clues gathered before it is named.
  int ReceiverKind = 0;
  ReceiverClues Clues;
  bool VersionKnown = false;
  bool VersionQueryPending = false;
  bool TMCPresent = false;
  int VersionQueryCount = 0;
  int VersionWaitLimit = 3;  // data seconds the receiver has to identify itself

  bool LogActive = false;

  // A SiRF receiver in binary mode: the switch to NMEA was offered (once a
  // connection), and declined, so its binary data is shown as it comes.
  bool SiRFQuestionAsked = false;
  bool SiRFBinaryKept = false;

  // After a rate change: the rate the receiver was at, and the data seconds the port
  // has waited at the new rate for a valid line; 0 when no change is being checked.
  int RateCheckOldRate = 0;
  int RateCheckSeconds = 0;

  // Per-second counters of the supervisor.
  int SessionSeconds = 0;
  int gCntRxIn1s = 0;               // receive events this second
  std::int64_t RxBytesInSecond = 0;  // bytes this second
  int SilentSeconds = 0;
  // Data seconds in a row that brought bytes but no valid sentence or frame, the
  // accepted count at the last tick, and whether this stretch was acted on already.
  int GarbageSeconds = 0;
  std::uint64_t AcceptedAtTick = 0;
  bool GarbageHandled = false;

  // First-fix measurement: after a restart, wait for the old fix to go, then count.
  bool FirstFixTiming = false;
  int FirstFixSeconds = 0;
  bool AwaitFixLoss = false;
  int FirstFixGrace = 0;
  int RestartMarkIndex = 0;  // factory-default watch at 4800: last selected list index
  int RestartMarkSeconds = 0;
  int RestartMarkLineSeconds = 0;  // watch seconds in a row that brought new lines

  // Baud-rate detection.
  int TrialBaudRate = 0;
  int DetectedBaudRate = 0;
  int AutoSyncStep = 0;
  int AutoSyncSeconds = 0;
  bool DiscardRxOnce = false;

  // Power-mode reply watch and the u-blox silence limit.
  bool PowerReplyWatch = false;
  int PowerReplyCount = 0;
  int UBXSilenceLimit = 10;  // lives for the whole run: never reset
};

}  // namespace orlimo
