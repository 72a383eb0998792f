// What the UBX and SiRF binary decoders share: how a decode went, the fix kind,
// the satellite and signal lists, and fixed-size text. Fixed storage throughout,
// so decoding a frame never allocates.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "nmea/satellite_system.h"

namespace orlimo {

enum class TFrameStatus : std::uint8_t {
  Decoded,    // a message the decoder reads, read whole into its record
  Unknown,    // a valid frame of a message the decoder does not read
  Malformed,  // a message it reads, but too short or of another version: its record is untouched
  Invalid,    // not a whole frame with a correct checksum
};

// UBX's gpsFix / fixType numbers; SiRF's navigation modes map onto them.
enum class TFrameFix : std::uint8_t {
  None = 0,
  DeadReckoning = 1,
  Fix2D = 2,
  Fix3D = 3,
  GNSSDeadReckoning = 4,
  TimeOnly = 5,
};

// "no fix", "DR", "2D", "3D", "3D+DR", "time"; "?" for a number outside the list.
std::string_view FrameFixName(TFrameFix fix);

// Text of at most N bytes, cut when longer.
template <std::size_t N>
class TFixedText {
 public:
  static constexpr std::size_t kCapacity = N;

  void Assign(std::string_view s) {
    size_ = 0;
    Append(s);
  }
  // std::copy_n: an empty view may carry a null pointer, which memcpy must not get.
  void Append(std::string_view s) {
    const std::size_t n = std::min(s.size(), N - size_);
    std::copy_n(s.data(), n, text_.data() + size_);
    size_ += n;
  }
  std::string_view View() const { return {text_.data(), size_}; }
  bool operator==(std::string_view s) const { return View() == s; }

 private:
  std::array<char, N> text_{};
  std::size_t size_ = 0;
};

struct TFrameSat {
  TSatSystem System = TSatSystem::Unknown;
  std::uint8_t Number = 0;    // within its system (TSatName shows it; GLONASS: slot)
  float Cn0 = 0;              // dB-Hz, 0 when not tracked; SiRF: the mean of its readings
  float Cn0Peak = 0;          // SiRF: the strongest reading; UBX: the same as Cn0
  float Elevation = 0;        // degrees, valid when HasPosition
  float Azimuth = 0;          // degrees, valid when HasPosition
  bool HasPosition = false;   // elevation -90..90 and azimuth 0..360 reported
  bool Used = false;          // used in the navigation solution
  std::uint32_t Flags = 0;    // as sent: UBX NAV-SAT/NAV-SVINFO flags, SiRF channel state
};

// One message's satellites. Every count the messages carry is one byte, so the
// list always holds them all.
struct TFrameSatList {
  static constexpr std::size_t kCapacity = 255;

  std::uint32_t TimeOfWeek = 0;  // ms (SiRF: the GPS time of week in ms)
  std::size_t Count = 0;
  std::array<TFrameSat, kCapacity> Sats{};

  std::span<const TFrameSat> View() const { return {Sats.data(), Count}; }
  int UsedCount() const {
    return static_cast<int>(std::count_if(Sats.begin(), Sats.begin() + Count, [](const TFrameSat& s) { return s.Used; }));
  }
};

// One signal of one satellite (UBX NAV-SIG): a satellite tracked on L1 and L5 has two.
struct TFrameSignal {
  TSatSystem System = TSatSystem::Unknown;
  std::uint8_t Number = 0;    // within its system, as TFrameSat
  std::uint8_t SignalId = 0;  // u-blox sigId within the system (GPS 0 L1C/A, 3 L2 CL, ...)
  std::uint8_t FreqId = 0;    // GLONASS frequency slot + 7
  std::uint8_t Cn0 = 0;       // dB-Hz
  std::uint8_t Quality = 0;   // qualityInd 0-7
  bool Used = false;          // its pseudorange used in the solution
  std::uint16_t Flags = 0;    // sigFlags as sent
};

struct TFrameSignalList {
  static constexpr std::size_t kCapacity = 255;

  std::uint32_t TimeOfWeek = 0;  // ms
  std::size_t Count = 0;
  std::array<TFrameSignal, kCapacity> Signals{};

  std::span<const TFrameSignal> View() const { return {Signals.data(), Count}; }
};

// The one-line text of a frame for the monitor, and a message's statistics key.
using TFrameText = TFixedText<160>;
using TFrameKey = TFixedText<32>;

}  // namespace orlimo
