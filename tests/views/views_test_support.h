#pragma once
// The sample report used by the view tests: a three-message GSV cycle of ten
// satellites and the GSA sentence of the same second.
#include <string_view>

#include "nmea/decoder.h"

namespace orlimo::test {

inline constexpr std::string_view kGsv1 = "$GPGSV,3,1,10,04,65,054,42,02,60,325,26,13,40,063,35,10,36,245,40*78";
inline constexpr std::string_view kGsv2 = "$GPGSV,3,2,10,24,31,087,30,17,25,155,34,05,14,276,21,23,13,039,24*79";
inline constexpr std::string_view kGsv3 = "$GPGSV,3,3,10,30,09,305,16,27,02,115,*71";
inline constexpr std::string_view kGsa = "$GPGSA,A,3,04,02,17,10,24,23,13,,,,,,2.2,1.2,1.9*3D";

inline void Feed(TqvNMEA& nmea, std::string_view line) {
  TSentenceType type{};
  nmea.DecodeSentence(line, type);
}

inline TqvNMEA SampleReport() {
  TqvNMEA nmea;
  for (std::string_view s : {kGsa, kGsv1, kGsv2, kGsv3}) Feed(nmea, s);
  return nmea;
}

}  // namespace orlimo::test
