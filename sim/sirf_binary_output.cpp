#include "sim/sirf_binary_output.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "frames/geodetic.h"
#include "frames/sirf_frame.h"
#include "sim/byte_writer.h"
#include "sim/gps_time.h"

namespace orlimo {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::int64_t kI2Max = 32767, kI4Max = 2147483647, kU2Max = 65535;
constexpr unsigned kWgs84Datum = 21;
// The navigation mode's low bits: a Kalman solution from four or more satellites.
constexpr unsigned kFourPlusSatellites = 4;

ByteWriter Payload(unsigned mid) {
  ByteWriter w(TByteOrder::Big);
  w.Put1(mid);
  return w;
}

std::vector<int> UsedPrns(const SimSnapshot& s) {
  std::vector<int> used;
  for (const SimSatellite& sat : s.satellites)
    if (sat.used) used.push_back(sat.prn);
  return used;
}

// HDOP in the fifths both navigation messages use.
std::int64_t Hdop5(const SimSnapshot& s) { return Scaled(s.hdop, 5, 0, 255); }

}  // namespace

std::string SiRFMeasuredNavigation(const SimSnapshot& s) {
  double x = 0, y = 0, z = 0;
  if (s.fix) GeodeticToEcef(s.latitude, s.longitude, s.altitude + kSimGeoidSeparation, x, y, z);
  // The ground velocity, north and east, turned into ECEF.
  const double v = s.fix ? s.speedKnots * kMetresPerSecondPerKnot : 0;
  const double c = s.courseDeg * kPi / 180, lat = s.latitude * kPi / 180, lon = s.longitude * kPi / 180;
  const double vn = v * std::cos(c), ve = v * std::sin(c);
  const double vx = -std::sin(lon) * ve - std::sin(lat) * std::cos(lon) * vn;
  const double vy = std::cos(lon) * ve - std::sin(lat) * std::sin(lon) * vn;
  const double vz = std::cos(lat) * vn;
  const SimGpsTime gps = GpsTimeOf(s.utc);
  const std::vector<int> used = UsedPrns(s);

  ByteWriter w = Payload(2);
  for (double m : {x, y, z}) w.Put4(Scaled(m, 1, -kI4Max, kI4Max));
  for (double ms : {vx, vy, vz}) w.Put2(Scaled(ms, 8, -kI2Max, kI2Max));
  w.Put1(s.fix ? kFourPlusSatellites : 0).Put1(Hdop5(s)).Put1(0);
  w.Put2(gps.week).Put4(gps.towMs / 10).Put1(static_cast<std::int64_t>(used.size()));
  for (std::size_t i = 0; i < 12; ++i) w.Put1(i < used.size() ? used[i] : 0);
  return w.Bytes();
}

std::string SiRFMeasuredTracker(const SimSnapshot& s) {
  const SimGpsTime gps = GpsTimeOf(s.utc);
  ByteWriter w = Payload(4);
  w.Put2(gps.week).Put4(gps.towMs / 10).Put1(12);
  for (std::size_t i = 0; i < 12; ++i) {
    if (i >= s.satellites.size()) {
      w.Zeros(15);
      continue;
    }
    const SimSatellite& sat = s.satellites[i];
    w.Put1(sat.prn).Put1(sat.azimuth * 2 / 3).Put1(sat.elevation * 2).Put2(sat.cn0 >= 0 ? 0xBF : 0);
    for (int k = 0; k < 10; ++k) w.Put1(std::max(sat.cn0, 0));  // one reading each 100 ms
  }
  return w.Bytes();
}

std::string SiRFThroughput(double t) {
  ByteWriter w = Payload(9);
  w.Put2(0);     // segment statistics maximum
  w.Put2(0);     // segment statistics latency
  w.Put2(0xBA);  // average tracking time
  w.Put2(static_cast<std::int64_t>(std::fmod(t, 1.0) * 1000) & 0xFFFF);  // last millisecond
  return w.Bytes();
}

std::string SiRFGeodeticNavigation(const SimSnapshot& s) {
  const SimGpsTime gps = GpsTimeOf(s.utc);
  const std::vector<int> used = UsedPrns(s);
  std::uint32_t satIds = 0;
  for (int prn : used)
    if (prn >= 1 && prn <= 32) satIds |= 1u << (prn - 1);
  const double fix = s.fix ? 1 : 0;  // the position and motion fields are zero without a fix

  ByteWriter w = Payload(41);
  w.Put2(s.fix ? 0 : 1);  // nav valid: 0 valid; bit 0, not yet overdetermined
  w.Put2(s.fix ? kFourPlusSatellites : 0);
  w.Put2(gps.week).Put4(gps.towMs);
  w.Put2(s.utc.year).Put1(s.utc.month).Put1(s.utc.day).Put1(s.utc.hour).Put1(s.utc.minute);
  w.Put2(Scaled(s.utc.seconds, 1000, 0, kU2Max));
  w.Put4(satIds);
  w.Put4(Scaled(fix * s.latitude, 1e7, -kI4Max, kI4Max)).Put4(Scaled(fix * s.longitude, 1e7, -kI4Max, kI4Max));
  w.Put4(Scaled(fix * (s.altitude + kSimGeoidSeparation), 100, -kI4Max, kI4Max));
  w.Put4(Scaled(fix * s.altitude, 100, -kI4Max, kI4Max));
  w.Put1(kWgs84Datum);
  w.Put2(Scaled(fix * s.speedKnots * kMetresPerSecondPerKnot, 100, 0, kU2Max));
  w.Put2(Scaled(fix * s.courseDeg, 100, 0, 35999));
  w.Put2(0).Put2(0).Put2(0);  // magnetic variation, climb rate, heading rate
  // Estimated errors: horizontal and vertical from the DOPs, then time and velocity.
  w.Put4(Scaled(s.hdop * 2.5, 100, 0, kI4Max)).Put4(Scaled(s.vdop * 2.5, 100, 0, kI4Max));
  w.Put4(0).Put2(s.fix ? 10 : 0);
  w.Zeros(16);              // clock bias, its error, drift, its error
  w.Put4(0).Put2(0).Put2(0);  // distance travelled, its error, heading error
  w.Put1(static_cast<std::int64_t>(used.size())).Put1(Hdop5(s)).Put1(0);
  return w.Bytes();
}

std::vector<std::string> SiRFBinaryCycle(const SimSnapshot& s, double t) {
  // Message 41 last: a cycle still starts with the bytes whose garbled forms at other
  // rates baud detection knows.
  return {BuildSiRFFrame(SiRFMeasuredNavigation(s)), BuildSiRFFrame(SiRFThroughput(t)),
          BuildSiRFFrame(SiRFMeasuredTracker(s)), BuildSiRFFrame(SiRFGeodeticNavigation(s))};
}

}  // namespace orlimo
