// The one-second tick of a connected session: data rate, silence watch, what the
// receiver sends (NMEA or SiRF binary), the pipeline pass, the firmware wait, the
// time to first fix, and the detection seconds.
#pragma once

#include <string_view>

namespace orlimo {

struct SessionContext;
class ConnectionControl;
class BaudDetection;

// SiRF message 128: factory default, after which the receiver talks NMEA again.
inline constexpr std::string_view kSiRFFactoryDefaultFrame{
    "\xA0\xA2\x00\x19\x80\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x77\xFA"
    "\x00\x00\x00\x00\x00\x00\x0C\x38\x02\x36\xB0\xB3",
    33};

// The hint of the restart buttons that stay off when the receiver did not identify itself.
inline constexpr std::string_view kUnidentifiedReason =
    "Not available: the receiver did not say what it is, and restarts need a known receiver family.";

// The hint of the restart buttons while a SiRF receiver is kept in binary mode.
inline constexpr std::string_view kSiRFBinaryReason =
    "Not available: the receiver sends SiRF binary and ignores text commands. Reconnect and answer Yes to "
    "switch it to NMEA.";

class Supervisor {
 public:
  static constexpr int kSilenceLimit = 10;
  // Watch seconds in a row with new lines after which a receiver is known to have
  // stayed at 4800 bit/s after its factory default: it restarts, but never goes quiet.
  static constexpr int kStayedAtRateSeconds = 3;
  // Data seconds with bytes but nothing valid after which the receiver is taken to
  // send at another rate than the port's.
  static constexpr int kGarbageLimit = 3;

  Supervisor(SessionContext& ctx, ConnectionControl& connection, BaudDetection& detection)
      : ctx_(ctx), connection_(connection), detection_(detection) {}

  void Tm1sTimer();

 private:
  void SilentSecond();
  void WhileUnknown();
  void WhileNMEA();
  void FirstFixMeasurement();
  void VersionWait();
  void FactoryDefaultWatch();
  void WhileSiRF();
  void WhileSiRFBinary();
  void GarbageWatch();
  void GoStale();

  SessionContext& ctx_;
  ConnectionControl& connection_;
  BaudDetection& detection_;
};

}  // namespace orlimo
