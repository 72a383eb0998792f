// Finding the receiver's rate: the port listens at 19200 and 115200 bit/s in turn,
// two data seconds each, twice, and the signature test recognises from the garbled
// bytes which of the six rates up to 115200 the receiver really sends at. Then it
// listens two data seconds at 921600, which tells 230400, 460800 and 921600 apart the
// same way. The buffer it searches holds only bytes read at the trial rate: what was
// read before a switch is dropped.
#pragma once

namespace orlimo {

struct SessionContext;
class ConnectionControl;

class BaudDetection {
 public:
  // Data seconds at 19200 and 115200, then at the rate the three high ones are told from.
  static constexpr int kClassicSteps = 8;
  static constexpr int kHighListenRate = 921600;
  static constexpr int kMaxSteps = kClassicSteps + 2;

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
