// The position, velocity and time messages of the NAV class.
#include "frames/ubx_decode.h"

#include "frames/byte_reader.h"

namespace orlimo {
namespace {

TByteReader Reader(std::string_view payload) { return {payload, TByteOrder::Little}; }

// gpsFix / fixType: 0-5 as TFrameFix lists them; anything newer is no fix.
TFrameFix Fix(std::uint8_t n) { return n <= 5 ? static_cast<TFrameFix>(n) : TFrameFix::None; }

}  // namespace

bool DecodeUBXNavPosECEF(std::string_view payload, TUBXNavPosECEF& r) {
  if (payload.size() < 20) return false;
  const TByteReader b = Reader(payload);
  r.TimeOfWeek = b.U4(0);
  r.X = b.I4(4) * 1e-2;
  r.Y = b.I4(8) * 1e-2;
  r.Z = b.I4(12) * 1e-2;
  r.PositionAccuracy = b.U4(16) * 1e-2;
  r.Geodetic = EcefToGeodetic(r.X, r.Y, r.Z);
  return true;
}

bool DecodeUBXNavPosLLH(std::string_view payload, TUBXNavPosLLH& r) {
  if (payload.size() < 28) return false;
  const TByteReader b = Reader(payload);
  r.TimeOfWeek = b.U4(0);
  r.Longitude = b.I4(4) * 1e-7;
  r.Latitude = b.I4(8) * 1e-7;
  r.Height = b.I4(12) * 1e-3;
  r.HeightMSL = b.I4(16) * 1e-3;
  r.HorizontalAccuracy = b.U4(20) * 1e-3;
  r.VerticalAccuracy = b.U4(24) * 1e-3;
  return true;
}

bool DecodeUBXNavStatus(std::string_view payload, TUBXNavStatus& r) {
  if (payload.size() < 16) return false;
  const TByteReader b = Reader(payload);
  r.TimeOfWeek = b.U4(0);
  r.Fix = Fix(b.U1(4));
  r.Flags = b.U1(5);
  r.FixStatus = b.U1(6);
  r.Flags2 = b.U1(7);
  r.TimeToFirstFix = b.U4(8);
  r.SinceStartup = b.U4(12);
  return true;
}

bool DecodeUBXNavDOP(std::string_view payload, TUBXNavDOP& r) {
  if (payload.size() < 18) return false;
  const TByteReader b = Reader(payload);
  r.TimeOfWeek = b.U4(0);
  r.GDOP = b.U2(4) * 0.01;
  r.PDOP = b.U2(6) * 0.01;
  r.TDOP = b.U2(8) * 0.01;
  r.VDOP = b.U2(10) * 0.01;
  r.HDOP = b.U2(12) * 0.01;
  r.NDOP = b.U2(14) * 0.01;
  r.EDOP = b.U2(16) * 0.01;
  return true;
}

bool DecodeUBXNavSol(std::string_view payload, TUBXNavSol& r) {
  if (payload.size() < 52) return false;
  const TByteReader b = Reader(payload);
  r.TimeOfWeek = b.U4(0);
  r.FractionalTOW = b.I4(4);
  r.Week = b.I2(8);
  r.Fix = Fix(b.U1(10));
  r.Flags = b.U1(11);
  r.X = b.I4(12) * 1e-2;
  r.Y = b.I4(16) * 1e-2;
  r.Z = b.I4(20) * 1e-2;
  r.PositionAccuracy = b.U4(24) * 1e-2;
  r.VX = b.I4(28) * 1e-2;
  r.VY = b.I4(32) * 1e-2;
  r.VZ = b.I4(36) * 1e-2;
  r.SpeedAccuracy = b.U4(40) * 1e-2;
  r.PDOP = b.U2(44) * 0.01;
  r.SatsUsed = b.U1(47);
  r.Geodetic = EcefToGeodetic(r.X, r.Y, r.Z);
  return true;
}

bool DecodeUBXNavPVT(std::string_view payload, TUBXNavPVT& r) {
  if (payload.size() < 84) return false;
  const TByteReader b = Reader(payload);
  r.TimeOfWeek = b.U4(0);
  r.Year = b.U2(4);
  r.Month = b.U1(6);
  r.Day = b.U1(7);
  r.Hour = b.U1(8);
  r.Minute = b.U1(9);
  r.Second = b.U1(10);
  r.Valid = b.U1(11);
  r.TimeAccuracy = b.U4(12);
  r.Nanoseconds = b.I4(16);
  r.Fix = Fix(b.U1(20));
  r.Flags = b.U1(21);
  r.SatsUsed = b.U1(23);
  r.Longitude = b.I4(24) * 1e-7;
  r.Latitude = b.I4(28) * 1e-7;
  r.Height = b.I4(32) * 1e-3;
  r.HeightMSL = b.I4(36) * 1e-3;
  r.HorizontalAccuracy = b.U4(40) * 1e-3;
  r.VerticalAccuracy = b.U4(44) * 1e-3;
  r.VelN = b.I4(48) * 1e-3;
  r.VelE = b.I4(52) * 1e-3;
  r.VelD = b.I4(56) * 1e-3;
  r.GroundSpeed = b.I4(60) * 1e-3;
  r.Heading = b.I4(64) * 1e-5;
  r.SpeedAccuracy = b.U4(68) * 1e-3;
  r.PDOP = b.U2(76) * 0.01;
  return true;
}

bool DecodeUBXNavVelNED(std::string_view payload, TUBXNavVelNED& r) {
  if (payload.size() < 36) return false;
  const TByteReader b = Reader(payload);
  r.TimeOfWeek = b.U4(0);
  r.VelN = b.I4(4) * 1e-2;
  r.VelE = b.I4(8) * 1e-2;
  r.VelD = b.I4(12) * 1e-2;
  r.Speed = b.U4(16) * 1e-2;
  r.GroundSpeed = b.U4(20) * 1e-2;
  r.Heading = b.I4(24) * 1e-5;
  r.SpeedAccuracy = b.U4(28) * 1e-2;
  r.HeadingAccuracy = b.U4(32) * 1e-5;
  return true;
}

bool DecodeUBXNavTimeUTC(std::string_view payload, TUBXNavTimeUTC& r) {
  if (payload.size() < 20) return false;
  const TByteReader b = Reader(payload);
  r.TimeOfWeek = b.U4(0);
  r.TimeAccuracy = b.U4(4);
  r.Nanoseconds = b.I4(8);
  r.Year = b.U2(12);
  r.Month = b.U1(14);
  r.Day = b.U1(15);
  r.Hour = b.U1(16);
  r.Minute = b.U1(17);
  r.Second = b.U1(18);
  r.Valid = b.U1(19);
  return true;
}

}  // namespace orlimo
