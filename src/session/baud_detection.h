// Finding the receiver's rate: the port listens at 19200 and 115200 bit/s in turn,
// two data seconds each, and the signature test recognises from the garbled bytes
// which of the six rates the receiver really sends at. The buffer it searches holds
// only bytes read at the trial rate: what was read before a switch is dropped.
#pragma once

namespace orlimo {

struct SessionContext;
class ConnectionControl;

class BaudDetection {
 public:
  static constexpr int kMaxSteps = 8;

  BaudDetection(SessionContext& ctx, ConnectionControl& connection)
      : ctx_(ctx), connection_(connection) {}

  void StartBaudDetection();
  void NextTrialRate();
  void TBAutoSyncClick();
  // One data second in state AUTO.
  void Tick();

 private:
  void Succeeded();
  void Missed();
  // Sets the port to a trial rate and drops everything read before.
  void SwitchRate(int rate);

  SessionContext& ctx_;
  ConnectionControl& connection_;
};

}  // namespace orlimo
