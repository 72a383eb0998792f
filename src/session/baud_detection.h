// Finding the receiver's rate: the port listens at 19200 and 115200 bit/s in turn,
// two data seconds each, and the signature test recognises from the garbled bytes
// which of the six rates the receiver really sends at.
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

  SessionContext& ctx_;
  ConnectionControl& connection_;
};

}  // namespace orlimo
