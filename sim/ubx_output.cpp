#include "sim/ubx_output.h"

#include <cmath>
#include <cstdint>

#include "frames/ubx_frame.h"
#include "sim/byte_writer.h"
#include "sim/gps_time.h"

namespace orlimo {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::int64_t kI4Max = 2147483647, kU2Max = 65535, kU4Max = 4294967295;
constexpr std::uint8_t kNav = 0x01;
constexpr unsigned kFix3D = 3;
constexpr unsigned kGnssIdGps = 0;
// An accuracy or DOP the receiver does not know: the largest the field holds.
constexpr double kUnknownDop = 99.99;

ByteWriter Payload(const SimSnapshot& s) {
  ByteWriter w(TByteOrder::Little);
  w.Put4(GpsTimeOf(s.utc).towMs);  // iTOW: the same in every message of the cycle
  return w;
}

std::int64_t Dop(double dop, bool fix) { return Scaled(fix ? dop : kUnknownDop, 100, 0, kU2Max); }

// Metres to millimetres for an accuracy field; unknown without a fix.
std::int64_t AccuracyMm(double metres, bool fix) { return fix ? Scaled(metres, 1000, 0, kU4Max) : kU4Max; }

}  // namespace

std::string UbxNavStatus(const SimSnapshot& s, const SimUbxRun& run) {
  // flags: gpsFixOk (bit 0) with a fix; week and time of week known (bits 2, 3) always.
  const unsigned flags = (s.fix ? 0x01 : 0x00) | 0x04 | 0x08;
  ByteWriter w = Payload(s);
  w.Put1(s.fix ? kFix3D : 0).Put1(flags).Put1(0).Put1(0);
  w.Put4(Scaled(run.timeToFirstFix, 1000, 0, kU4Max));
  w.Put4(Scaled(run.sinceStart, 1000, 0, kU4Max));
  return w.Bytes();
}

std::string UbxNavDop(const SimSnapshot& s) {
  // The scenario knows position, horizontal and vertical DOP; time DOP is taken as a
  // fraction of PDOP, and the horizontal one split evenly between north and east.
  const double tdop = 0.6 * s.pdop;
  const double gdop = std::sqrt(s.pdop * s.pdop + tdop * tdop);
  const double ndop = s.hdop / std::sqrt(2.0);
  ByteWriter w = Payload(s);
  for (double d : {gdop, s.pdop, tdop, s.vdop, s.hdop, ndop, ndop}) w.Put2(Dop(d, s.fix));
  return w.Bytes();
}

std::string UbxNavPvt(const SimSnapshot& s) {
  const long ms = std::lround(s.utc.seconds * 1000.0);  // whole milliseconds below 60 s
  const double fix = s.fix ? 1 : 0;  // the position and motion fields are zero without a fix
  const double speed = fix * s.speedKnots * kMetresPerSecondPerKnot;
  const double course = s.courseDeg * kPi / 180;
  ByteWriter w = Payload(s);
  w.Put2(s.utc.year).Put1(s.utc.month).Put1(s.utc.day).Put1(s.utc.hour).Put1(s.utc.minute).Put1(ms / 1000);
  w.Put1(0x07);                           // valid: date, time, fully resolved
  w.Put4(s.fix ? 20 : 50000);             // tAcc, ns
  w.Put4((ms % 1000) * 1000000);          // nano
  w.Put1(s.fix ? kFix3D : 0).Put1(s.fix ? 0x01 : 0x00).Put1(0);  // fixType, flags (gnssFixOK), flags2
  w.Put1(s.UsedCount());
  w.Put4(Scaled(fix * s.longitude, 1e7, -kI4Max, kI4Max)).Put4(Scaled(fix * s.latitude, 1e7, -kI4Max, kI4Max));
  w.Put4(Scaled(fix * (s.altitude + kSimGeoidSeparation), 1000, -kI4Max, kI4Max));
  w.Put4(Scaled(fix * s.altitude, 1000, -kI4Max, kI4Max));
  w.Put4(AccuracyMm(s.hdop * 2.5, s.fix)).Put4(AccuracyMm(s.vdop * 2.5, s.fix));
  w.Put4(Scaled(speed * std::cos(course), 1000, -kI4Max, kI4Max));  // velN
  w.Put4(Scaled(speed * std::sin(course), 1000, -kI4Max, kI4Max));  // velE
  w.Put4(0);                                                         // velD
  w.Put4(Scaled(speed, 1000, 0, kI4Max));                            // gSpeed
  w.Put4(Scaled(fix * s.courseDeg, 1e5, 0, kI4Max));                 // headMot
  w.Put4(AccuracyMm(0.3, s.fix));                                    // sAcc
  w.Put4(Scaled(s.fix ? 5.0 : 180.0, 1e5, 0, kI4Max));               // headAcc
  w.Put2(Dop(s.pdop, s.fix));
  w.Zeros(6);                 // flags3, reserved
  w.Put4(0).Put2(0).Put2(0);  // headVeh (not valid), magDec, magAcc
  return w.Bytes();
}

std::string UbxNavSat(const SimSnapshot& s) {
  ByteWriter w = Payload(s);
  w.Put1(1).Put1(static_cast<std::int64_t>(s.satellites.size())).Put2(0);  // version 1, numSvs
  for (const SimSatellite& sat : s.satellites) {
    const bool tracked = sat.cn0 >= 0;
    // qualityInd 4 (code locked, time synchronised) or 1 (searching); healthy;
    // a satellite in the fix also has its ephemeris as the orbit source.
    std::uint32_t flags = (tracked ? 4u : 1u) | 1u << 4;
    if (sat.used) flags |= 1u << 3 | 1u << 8 | 1u << 11;
    w.Put1(kGnssIdGps).Put1(sat.prn).Put1(tracked ? sat.cn0 : 0).Put1(sat.elevation).Put2(sat.azimuth);
    w.Put2(0).Put4(flags);  // prRes
  }
  return w.Bytes();
}

std::vector<std::string> UbxNavCycle(const SimSnapshot& s, const SimUbxRun& run) {
  return {BuildUBXFrame(kNav, 0x03, UbxNavStatus(s, run)), BuildUBXFrame(kNav, 0x04, UbxNavDop(s)),
          BuildUBXFrame(kNav, 0x07, UbxNavPvt(s)), BuildUBXFrame(kNav, 0x35, UbxNavSat(s))};
}

}  // namespace orlimo
