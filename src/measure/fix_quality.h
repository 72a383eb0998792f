// How good the receiver says its fix is: GGA's quality, the dilutions of precision
// and, from a receiver that sends GST, its own error estimates. Read from the
// decoder's records as they stand; a value the receiver never sent is absent.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orlimo {

class TqvNMEA;

struct TFixQuality {
  std::optional<int> quality;  // GGA: 0 none, 1 GPS, 2 DGPS, 3 PPS, 4 RTK fixed, 5 RTK float, 6 dead reckoning
  std::optional<double> hdop, vdop, pdop;
  std::optional<double> gstLat, gstLon, gstAlt;  // metres, one sigma
};

TFixQuality FixQualityOf(const TqvNMEA& nmea);

// "none", "GPS", "DGPS", "PPS", "RTK fixed", "RTK float", "dead reckoning"; "?" otherwise.
std::string_view QualityName(int quality);

// "quality=4 hdop=0.9 vdop=1.4 pdop=1.7 gst_lat_m=0.02 gst_lon_m=0.02 gst_alt_m=0.05",
// "-" for what is not known.
std::string FixQualityKeys(const TFixQuality& q);

}  // namespace orlimo
