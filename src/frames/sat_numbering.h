// How binary messages number satellites, turned into a system and the number
// within that system (G05, R07, E11, C23, J02, S120: see TSatName, which shows them).
// GLONASS satellites are known by their orbital slot, 1-24; NMEA's 65-96 is the
// slot plus 64.
#pragma once

#include <cstdint>

#include "nmea/satellite_system.h"

namespace orlimo {

struct TSatId {
  TSatSystem System = TSatSystem::Unknown;
  std::uint8_t Number = 0;  // within the system; GLONASS 0: slot not known yet

  bool operator==(const TSatId&) const = default;
};

// UBX NAV-SAT and NAV-SIG: gnssId 0 GPS, 1 SBAS, 2 Galileo, 3 BeiDou, 5 QZSS,
// 6 GLONASS, 7 NavIC, with svId the number within the system (GLONASS 255: slot
// unknown). IMES (4) and anything else is Unknown with svId kept.
TSatId SatFromGnssId(int gnssId, int svId);

// UBX NAV-SVINFO's single numbering: 1-32 GPS, 33-64 BeiDou 6-37, 65-96 GLONASS
// slots 1-32, 120-158 SBAS, 159-163 BeiDou 1-5, 193-202 QZSS 1-10, 211-246 Galileo
// 1-36, 255 GLONASS of unknown slot. 0 (an empty channel), IMES (173-182) and
// anything else is Unknown with the number kept.
TSatId SatFromUBXSvid(int svid);

// SiRF binary SV IDs: 1-32 GPS, 120-158 SBAS; anything else Unknown.
TSatId SatFromSiRFSvid(int svid);

// The number a newer NMEA receiver gives the satellite in its own system's GSV
// (the numbering the sentence decoder keeps): GLONASS slot + 64, SBAS 120-151 as
// 33-64, every other system its number within the system.
int NMEASatNumber(TSatId sat);

}  // namespace orlimo
