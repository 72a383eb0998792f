#include "measure/tangent_plane.h"

#include <cmath>
#include <numbers>

namespace orlimo {
namespace {

constexpr double kSemiMajor = 6378137.0;                // WGS-84 a, metres
constexpr double kFlattening = 1.0 / 298.257223563;     // WGS-84 f
constexpr double kE2 = kFlattening * (2.0 - kFlattening);  // first eccentricity squared
constexpr double kRadPerDeg = std::numbers::pi / 180.0;

double SinSquared(double latDeg) {
  const double s = std::sin(latDeg * kRadPerDeg);
  return s * s;
}

}  // namespace

double MeridianRadius(double latDeg) {
  const double w = 1.0 - kE2 * SinSquared(latDeg);
  return kSemiMajor * (1.0 - kE2) / (w * std::sqrt(w));
}

double PrimeVerticalRadius(double latDeg) { return kSemiMajor / std::sqrt(1.0 - kE2 * SinSquared(latDeg)); }

TPlaneOffset PlaneOffset(double refLat, double refLon, double lat, double lon) {
  const double dLon = std::remainder(lon - refLon, 360.0);  // -180 to 180: across the antimeridian too
  return {(lat - refLat) * kRadPerDeg * MeridianRadius(refLat),
          dLon * kRadPerDeg * PrimeVerticalRadius(refLat) * std::cos(refLat * kRadPerDeg)};
}

double PlaneDistance(double refLat, double refLon, double lat, double lon) {
  const TPlaneOffset o = PlaneOffset(refLat, refLon, lat, lon);
  return std::hypot(o.north, o.east);
}

}  // namespace orlimo
