// Small distances between two positions on the WGS-84 ellipsoid, in the plane that
// touches it at a reference point. Over the few kilometres a receiver's scatter spans
// this is within a few parts per million of the geodesic, and it is cheap enough to
// run over a million fixes each second.
#pragma once

namespace orlimo {

struct TPlaneOffset {
  double north = 0;  // metres
  double east = 0;   // metres
};

// The radii of curvature at latitude `latDeg`: along the meridian (M) and across it,
// in the prime vertical (N).
double MeridianRadius(double latDeg);
double PrimeVerticalRadius(double latDeg);

// Where (lat, lon) lies seen from (refLat, refLon), degrees in:
//   north = Δφ·M(φ0), east = Δλ·N(φ0)·cos φ0
// with φ0 the reference latitude and Δλ taken the short way round the globe.
TPlaneOffset PlaneOffset(double refLat, double refLon, double lat, double lon);

// The horizontal distance of that offset, metres.
double PlaneDistance(double refLat, double refLon, double lat, double lon);

}  // namespace orlimo
