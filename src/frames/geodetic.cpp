#include "frames/geodetic.h"

#include <cmath>
#include <numbers>

namespace orlimo {
namespace {

// WGS-84 defining constants.
constexpr double kA = 6378137.0;
constexpr double kF = 1 / 298.257223563;
constexpr double kB = kA * (1 - kF);
constexpr double kE2 = kF * (2 - kF);                  // first eccentricity squared
constexpr double kEp2 = (kA * kA - kB * kB) / (kB * kB);  // second eccentricity squared
constexpr double kDeg = 180 / std::numbers::pi;

// Below this distance from the centre the closed form's cube root leaves the reals;
// no receiver is there, and an all-zero "no fix" position is.
constexpr double kMinRadius = 100e3;

}  // namespace

// Heikkinen, M. (1982): "Geschlossene Formeln zur Berechnung räumlicher geodätischer
// Koordinaten aus rechtwinkligen Koordinaten", Zeitschrift für Vermessungswesen 107,
// as set out by Zhu, J. (1994): "Conversion of Earth-centered Earth-fixed coordinates
// to geodetic coordinates", IEEE Trans. Aerospace and Electronic Systems 30(3).
TGeodetic EcefToGeodetic(double x, double y, double z) {
  TGeodetic g;
  const double p2 = x * x + y * y;
  const double p = std::sqrt(p2);
  if (!std::isfinite(p) || !std::isfinite(z) || std::hypot(p, z) < kMinRadius) return g;
  const double z2 = z * z;
  const double F = 54 * kB * kB * z2;
  const double G = p2 + (1 - kE2) * z2 - kE2 * (kA * kA - kB * kB);
  const double c = kE2 * kE2 * F * p2 / (G * G * G);
  const double s = std::cbrt(1 + c + std::sqrt(c * c + 2 * c));
  const double k = s + 1 + 1 / s;
  const double P = F / (3 * k * k * G * G);
  const double Q = std::sqrt(1 + 2 * kE2 * kE2 * P);
  const double r0 = -(P * kE2 * p) / (1 + Q) +
                    std::sqrt(kA * kA / 2 * (1 + 1 / Q) - P * (1 - kE2) * z2 / (Q * (1 + Q)) - P * p2 / 2);
  const double t = p - kE2 * r0;
  const double U = std::sqrt(t * t + z2);
  const double V = std::sqrt(t * t + (1 - kE2) * z2);
  const double z0 = kB * kB * z / (kA * V);
  g.Height = U * (1 - kB * kB / (kA * V));
  g.Latitude = std::atan2(z + kEp2 * z0, p) * kDeg;
  g.Longitude = std::atan2(y, x) * kDeg;
  g.Valid = std::isfinite(g.Latitude) && std::isfinite(g.Longitude) && std::isfinite(g.Height);
  if (!g.Valid) g = {};
  return g;
}

void GeodeticToEcef(double latitude, double longitude, double height, double& x, double& y, double& z) {
  const double lat = latitude / kDeg;
  const double lon = longitude / kDeg;
  const double n = kA / std::sqrt(1 - kE2 * std::sin(lat) * std::sin(lat));  // prime vertical radius
  x = (n + height) * std::cos(lat) * std::cos(lon);
  y = (n + height) * std::cos(lat) * std::sin(lon);
  z = (n * (1 - kE2) + height) * std::sin(lat);
}

}  // namespace orlimo
