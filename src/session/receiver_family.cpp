#include "session/receiver_family.h"

#include "frames/ubx_frame.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

std::string WithChecksum(std::string text) {
  text += NMEAChecksumSuffix(text);
  return text;
}

// "$PSRF100,1,rate,8,1,0": NMEA protocol, 8 data bits, 1 stop bit, no parity.
std::string SiRFRateCommand(int rate) { return WithChecksum("$PSRF100,1," + std::to_string(rate) + ",8,1,0"); }

// CFG-CFG clearing every configuration section and loading the defaults, saving none.
constexpr std::string_view kUBXFactoryConfig{
    "\xB5\x62\x06\x09\x0C\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x13\x5B", 20};
// The ANTARIS restarts as that receiver was always sent them: the cold start keeps
// the data of the 0xF800 bits.
constexpr std::string_view kANTARISColdStart{"\xB5\x62\x06\x04\x04\x00\xFF\x07\x02\x00\x16\x79", 12};

// The UBX restarts: hot and warm the same for every u-blox; `cold` is the family's
// cold reset; a factory default clears and reloads the configuration, before the
// reset (`configFirst`) or after it.
std::vector<std::string> UBXRestartMessages(TRestartKind kind, std::string cold, bool configFirst) {
  switch (kind) {
    case kHotStart: return {UBXResetFrame(0x0000)};
    case kWarmStart: return {UBXResetFrame(0x0001)};
    case kColdStart: return {cold};
    case kFactoryDefault:
      if (configFirst) return {std::string(kUBXFactoryConfig), cold};
      return {cold, std::string(kUBXFactoryConfig)};
  }
  return {};
}

class UnknownFamily final : public ReceiverFamily {
 public:
  TReceiverKind Kind() const override { return kUnknownReceiver; }
  std::string_view Name() const override { return "unknown"; }
  std::vector<std::string> RestartMessages(TRestartKind) const override { return {}; }
  std::string RateCommand(int rate) const override { return SiRFRateCommand(rate); }
};

class SiRFFamily final : public ReceiverFamily {
 public:
  TReceiverKind Kind() const override { return kSiRFReceiver; }
  std::string_view Name() const override { return "SiRF"; }
  // Position, clock drift 96000, time and week 0, 12 channels, the reset configuration.
  std::vector<std::string> RestartMessages(TRestartKind kind) const override {
    return {WithChecksum("$PSRF101,0,0,0,96000,0,0,12," + std::to_string(kind))};
  }
  std::string RateCommand(int rate) const override { return SiRFRateCommand(rate); }
};

class ANTARISFamily final : public ReceiverFamily {
 public:
  TReceiverKind Kind() const override { return kANTARISReceiver; }
  std::string_view Name() const override { return "u-blox ANTARIS"; }
  bool SpeaksUBX() const override { return true; }
  bool SendsText() const override { return false; }
  bool LogsRestarts() const override { return false; }
  std::vector<std::string> RestartMessages(TRestartKind kind) const override {
    return UBXRestartMessages(kind, std::string(kANTARISColdStart), false);
  }
  std::string RateCommand(int) const override { return {}; }
  int HighestRate() const override { return 921600; }
};

class UBloxFamily final : public ReceiverFamily {
 public:
  TReceiverKind Kind() const override { return kUBloxReceiver; }
  std::string_view Name() const override { return "u-blox"; }
  bool SpeaksUBX() const override { return true; }
  bool SendsText() const override { return false; }
  // A cold start clears every battery-backed section: the 0xF800 bits the ANTARIS
  // frame keeps hold the autonomous assistance data of u-blox 6 and later, with
  // which a "cold" start comes out far too fast. The factory default loads the
  // defaults first and then resets, so that the receiver starts with them.
  std::vector<std::string> RestartMessages(TRestartKind kind) const override {
    return UBXRestartMessages(kind, UBXResetFrame(0xFFFF), true);
  }
  std::string RateCommand(int) const override { return {}; }
  int HighestRate() const override { return 921600; }
};

class MediaTekFamily final : public ReceiverFamily {
 public:
  TReceiverKind Kind() const override { return kMediaTekReceiver; }
  std::string_view Name() const override { return "MediaTek"; }
  // Hot, warm, cold, and the full cold start that also clears the configuration.
  std::vector<std::string> RestartMessages(TRestartKind kind) const override {
    switch (kind) {
      case kHotStart: return {WithChecksum("$PMTK101")};
      case kWarmStart: return {WithChecksum("$PMTK102")};
      case kColdStart: return {WithChecksum("$PMTK103")};
      case kFactoryDefault: return {WithChecksum("$PMTK104")};
    }
    return {};
  }
  std::string RateCommand(int rate) const override { return WithChecksum("$PMTK251," + std::to_string(rate)); }
};

}  // namespace

std::string UBXResetFrame(std::uint16_t navBbrMask) {
  const std::string payload{static_cast<char>(navBbrMask & 0xFF), static_cast<char>(navBbrMask >> 8), '\x02',
                            '\x00'};
  return BuildUBXFrame(0x06, 0x04, payload);
}

const ReceiverFamily& FamilyOf(int kind) {
  static const UnknownFamily unknown;
  static const SiRFFamily sirf;
  static const ANTARISFamily antaris;
  static const UBloxFamily ublox;
  static const MediaTekFamily mediatek;
  switch (kind) {
    case kSiRFReceiver: return sirf;
    case kANTARISReceiver: return antaris;
    case kUBloxReceiver: return ublox;
    case kMediaTekReceiver: return mediatek;
    default: return unknown;
  }
}

}  // namespace orlimo
