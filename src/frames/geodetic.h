// Earth-centred, earth-fixed (ECEF) coordinates and WGS-84 latitude, longitude and
// height above the ellipsoid. Receivers that report ECEF only (SiRF message 2,
// UBX NAV-SOL and NAV-POSECEF) are shown in degrees like every other fix.
#pragma once

namespace orlimo {

struct TGeodetic {
  double Latitude = 0;   // degrees, north positive
  double Longitude = 0;  // degrees, east positive
  double Height = 0;     // metres above the WGS-84 ellipsoid
  bool Valid = false;    // false near the earth's centre, where no latitude is defined
};

// Closed form, no iteration; exact to well under a millimetre anywhere above the
// earth's deep interior (a zero "no fix" position included: it comes out invalid).
TGeodetic EcefToGeodetic(double x, double y, double z);

// The direct formula; the simulator builds ECEF reports from its scenario with it.
void GeodeticToEcef(double latitude, double longitude, double height, double& x, double& y, double& z);

}  // namespace orlimo
