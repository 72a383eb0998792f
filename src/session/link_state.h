// What the program believes the receiver is sending, and the names panel 3 shows.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orlimo {

enum class TLinkState : std::uint8_t {
  Null = 0,          // detection failed, port about to close; data is ignored
  Unknow = 1,        // port just opened (or closed), stream not yet recognised
  SiRF = 2,          // SiRF binary frames recognised
  NMEA = 3,          // valid NMEA sentences recognised
  ASCII = 4,         // never set
  Binary = 5,        // never set
  Auto = 6,          // baud-rate detection running
  AutoProtocol = 7,  // never set
  UBX = 8,           // UBX frames with a correct checksum, and no NMEA
};

inline constexpr std::array<std::string_view, 9> LinkStateNames = {
    "NULL", "UNKNOW", "SiRF", "NMEA", "ASCII", "BINARY", "AUTO", "AutoProtocol", "UBX"};

constexpr std::string_view LinkStateName(TLinkState s) {
  const auto i = static_cast<std::uint8_t>(s);
  return i < LinkStateNames.size() ? LinkStateNames[i] : std::string_view("?");
}

}  // namespace orlimo
