// What a simulated receiver is: its personality, line settings and scenario.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlimo {

enum class SimPersonality {
  SiRF,        // NMEA with the maker's proprietary replies and $PSRF commands
  SiRFBinary,  // the same receiver, started in SiRF binary mode
  UBlox,       // an ANTARIS receiver: text banner, UBX frames
  UBlox8,      // a u-blox M8 receiver, protocol 18: banner, MON-VER, CFG-PRT rate changes
  Ubx,         // the same receiver set to UBX output only: NAV-STATUS, -DOP, -PVT, -SAT
  MediaTek,    // a MediaTek MT3339: $PMTK commands and $PMTK001 acknowledgements
  Silent,      // opens, sends nothing
  Noisy,       // SiRF on a bad line: checksum errors, cut lines, stray binary bytes
               // (the last: lists of the personalities count up to it)
};

std::optional<SimPersonality> ParseSimPersonality(std::string_view name);
std::string_view SimPersonalityName(SimPersonality p);

// The rates a receiver's rate-change commands may name: 4800, 9600, ... 115200.
bool IsStandardSimRate(long bps);
// The rates above those that a u-blox M8's UART also takes: 230400, 460800, 921600.
// The simulated receiver runs at any of the nine.
bool IsHighSimRate(long bps);
inline bool IsSimLineRate(long bps) { return IsStandardSimRate(bps) || IsHighSimRate(bps); }

// Where the receiver is and what it sees. Angles in degrees, speed in knots.
struct SimScenario {
  double latitude = 37.50415;   // north positive
  double longitude = 127.04777; // east positive
  double altitude = 78.3;       // metres above mean sea level
  double speedKnots = 0.0;      // 0: standing
  double courseDeg = 0.0;
  int satellites = 11;          // in view, 0..12
  bool noFix = false;           // the receiver never gets a fix
};

// A u-blox receiver's output rate per NMEA message ID (0 GGA, 1 GLL, 2 GSA, 3 GSV,
// 4 RMC, 5 VTG, 6 GRS, 7 GST, 8 ZDA, 9 GBS, 10 DTM): the message goes out every N-th
// navigation solution, never when N is 0. CFG-MSG polls report these.
using SimUbxRates = std::array<std::uint8_t, 11>;
inline constexpr SimUbxRates kDefaultUbxRates = {1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};

// "1,1,1,5": a comma-separated list of up to 11 rates 0..255 that replace the first
// entries of `rates`; the rest keep their values. False, and `rates` untouched, when
// the list is empty, too long or holds anything but such numbers.
bool ParseUbxRates(std::string_view list, SimUbxRates& rates);

// How much faster than captured a replay may play.
inline constexpr int kMaxReplaySpeed = 16;

// "4": a whole number from 1 to kMaxReplaySpeed. False, and `speed` untouched, otherwise.
bool ParseReplaySpeed(std::string_view text, int& speed);

struct SimOptions {
  SimPersonality personality = SimPersonality::SiRF;
  int rate = 9600;              // bit/s the receiver sends and listens at
  int hz = 1;                   // output cycles a second: 1, 5 or 10
  double ttffStart = 3.0;       // seconds from power-on to the first fix
  double ttffHot = 3.0;         // after a hot start
  double ttffCold = 30.0;       // after a cold start or factory default
  double restartSilence = 0.5;  // the receiver says nothing this long after a restart
  int factoryRate = 4800;       // where a factory default leaves it
  bool tmc = false;             // a TMC module answers $PQYCM,V
  bool zda = false;             // send ZDA in each cycle (u-blox: ubxRates decides)
  SimUbxRates ubxRates = kDefaultUbxRates;  // u-blox output rates, also after CFG-CFG
  std::string replayFile;       // play this capture instead of the scenario
  int replaySpeed = 1;          // ... this many times faster, 1 to kMaxReplaySpeed
  double replayInterval = 0;    // seconds between its cycles; 0: as captured
  bool replayOnly = false;      // the captured receiver: it answers and obeys no command
  bool ignoresRateChange = false;  // u-blox 8, MediaTek: acks a rate change, keeps its rate
  SimScenario scenario;
  std::uint32_t seed = 1;       // for the line noise and the byte gaps
};

}  // namespace orlimo
