#include "session/binary_feed.h"

#include <array>
#include <cmath>
#include <numbers>

#include "frames/sat_numbering.h"
#include "nmea/decoder.h"

namespace orlimo {
namespace {

constexpr double kKnotsPerMetrePerSecond = 3600.0 / 1852.0;

bool HasPosition(TFrameFix fix) {
  return fix == TFrameFix::Fix2D || fix == TFrameFix::Fix3D || fix == TFrameFix::GNSSDeadReckoning;
}

std::int8_t FixMode(TFrameFix fix) {
  if (fix == TFrameFix::Fix3D || fix == TFrameFix::GNSSDeadReckoning) return 3;
  return fix == TFrameFix::Fix2D ? 2 : 1;
}

TNMEATime Time(int hour, int minute, double seconds) {
  TNMEATime t;
  t.Hour = static_cast<std::uint8_t>(hour);
  t.Minute = static_cast<std::uint8_t>(minute);
  t.Seconds = std::max(0.0, seconds);
  return t;
}

TNMEADate Date(int year, int month, int day) {
  TNMEADate d;
  d.Year = static_cast<std::int16_t>(year % 100);  // the records keep two digits, as sent
  d.Month = static_cast<std::uint8_t>(month);
  d.Day = static_cast<std::uint8_t>(day);
  return d;
}

void SetPosition(TqvNMEA& nmea, double lat, double lon) {
  for (auto* r : {&nmea.GGA.Latitude, &nmea.RMC.Latitude}) *r = lat;
  for (auto* r : {&nmea.GGA.Longitude, &nmea.RMC.Longitude}) *r = lon;
  nmea.GGA.NS = nmea.RMC.NS = lat >= 0 ? 'N' : 'S';
  nmea.GGA.EW = nmea.RMC.EW = lon >= 0 ? 'E' : 'W';
  nmea.GGA.Has.Latitude = nmea.GGA.Has.Longitude = true;
  nmea.RMC.Has.Latitude = nmea.RMC.Has.Longitude = true;
}

void SetGroundVelocity(TqvNMEA& nmea, double metresPerSecond, double course) {
  const double knots = metresPerSecond * kKnotsPerMetrePerSecond;
  course = std::fmod(course + 360.0, 360.0);
  nmea.RMC.SpeedKnots = nmea.VTG.SpeedKnots = knots;
  nmea.RMC.Course = nmea.VTG.CourseTrue = course;
  nmea.RMC.Has.SpeedKnots = nmea.RMC.Has.Course = true;
  nmea.SentenceSeen[stVTG] = true;
}

void SetSatellites(TqvNMEA& nmea, const TFrameSatList& list) {
  std::array<TSkySat, TSkyPicture::kMaxSats> sky{};
  std::size_t n = 0;
  for (const TFrameSat& f : list.View()) {
    if (n == sky.size() || f.Number == 0) continue;
    TSkySat& s = sky[n++];
    s.System = f.System;
    s.Number = static_cast<std::int16_t>(NMEASatNumber({f.System, f.Number}));
    s.HasPosition = f.HasPosition;
    s.Elevation = static_cast<std::int8_t>(std::lround(f.Elevation));
    s.Azimuth = static_cast<std::int16_t>(std::lround(f.Azimuth));
    s.SNR = static_cast<std::int8_t>(std::clamp(std::lround(f.Cn0), 0L, 99L));
    s.Used = f.Used;
  }
  nmea.Sky.SetSatellites({sky.data(), n});
  nmea.SentenceSeen[stGSV] = true;
}

// ECEF velocity turned into speed and course over ground at the position.
void SetVelocityFromECEF(TqvNMEA& nmea, const TGeodetic& at, double vx, double vy, double vz) {
  const double lat = at.Latitude * std::numbers::pi / 180;
  const double lon = at.Longitude * std::numbers::pi / 180;
  const double east = -std::sin(lon) * vx + std::cos(lon) * vy;
  const double north = -std::sin(lat) * std::cos(lon) * vx - std::sin(lat) * std::sin(lon) * vy + std::cos(lat) * vz;
  SetGroundVelocity(nmea, std::hypot(east, north), std::atan2(east, north) * 180 / std::numbers::pi);
}

}  // namespace

void BinaryFeed::Clear() {
  ubx_ = TUBXDecoder();
  sirf_ = TSiRFDecoder();
}

BinaryFeed::Result BinaryFeed::TakeUBX(std::string_view frame, TqvNMEA& nmea) {
  const TUBXDecoded d = ubx_.Decode(frame);
  Result r{d.Status == TFrameStatus::Decoded, ubx_.Describe(d)};
  if (!r.decoded) return r;
  switch (d.Message) {
    case TUBXMessage::NavPVT: FromNavPVT(nmea); break;
    case TUBXMessage::NavDOP: FromNavDOP(nmea); break;
    case TUBXMessage::NavSat: SetSatellites(nmea, ubx_.NavSat); break;
    case TUBXMessage::NavSVInfo: SetSatellites(nmea, ubx_.NavSVInfo); break;
    case TUBXMessage::NavPosLLH:
      SetPosition(nmea, ubx_.NavPosLLH.Latitude, ubx_.NavPosLLH.Longitude);
      nmea.GGA.Altitude = ubx_.NavPosLLH.HeightMSL;
      nmea.GGA.Has.Altitude = true;
      nmea.SentenceSeen[stGGA] = true;
      break;
    case TUBXMessage::NavSol: {
      const TUBXNavSol& s = ubx_.NavSol;
      nmea.FixValid = s.FixOK() && HasPosition(s.Fix);
      nmea.GSA.FixMode = FixMode(s.Fix);
      nmea.GSA.PDOP = s.PDOP;
      nmea.GSA.Has.FixMode = nmea.GSA.Has.PDOP = true;
      nmea.GGA.SatsUsed = s.SatsUsed;
      nmea.SentenceSeen[stGSA] = true;
      if (s.Geodetic.Valid) {
        SetPosition(nmea, s.Geodetic.Latitude, s.Geodetic.Longitude);
        SetVelocityFromECEF(nmea, s.Geodetic, s.VX, s.VY, s.VZ);
        nmea.SentenceSeen[stGGA] = true;
      }
      break;
    }
    case TUBXMessage::NavPosECEF:
      if (ubx_.NavPosECEF.Geodetic.Valid) {
        SetPosition(nmea, ubx_.NavPosECEF.Geodetic.Latitude, ubx_.NavPosECEF.Geodetic.Longitude);
        nmea.SentenceSeen[stGGA] = true;
      }
      break;
    case TUBXMessage::NavVelNED: SetGroundVelocity(nmea, ubx_.NavVelNED.GroundSpeed, ubx_.NavVelNED.Heading); break;
    case TUBXMessage::NavStatus: nmea.FixValid = ubx_.NavStatus.FixOK() && HasPosition(ubx_.NavStatus.Fix); break;
    case TUBXMessage::NavTimeUTC: {
      const TUBXNavTimeUTC& t = ubx_.NavTimeUTC;
      if (!t.UTCValid()) break;
      nmea.RMC.UTCTime = nmea.GGA.UTCTime = Time(t.Hour, t.Minute, t.Second + t.Nanoseconds * 1e-9);
      nmea.RMC.Date = Date(t.Year, t.Month, t.Day);
      nmea.RMC.Has.UTCTime = nmea.RMC.Has.Date = true;
      break;
    }
    default: break;
  }
  return r;
}

void BinaryFeed::FromNavPVT(TqvNMEA& nmea) const {
  const TUBXNavPVT& p = ubx_.NavPVT;
  const bool fix = p.FixOK() && HasPosition(p.Fix);
  nmea.FixValid = fix;
  const TNMEATime time = Time(p.Hour, p.Minute, p.Second + p.Nanoseconds * 1e-9);
  if (p.TimeValid()) {
    nmea.GGA.UTCTime = nmea.RMC.UTCTime = time;
    nmea.GGA.Has.UTCTime = nmea.RMC.Has.UTCTime = true;
  }
  if (p.DateValid()) {
    nmea.RMC.Date = Date(p.Year, p.Month, p.Day);
    nmea.RMC.Has.Date = true;
  }
  SetPosition(nmea, p.Latitude, p.Longitude);
  // GGA's quality: RTK fixed 4 and float 5 from the carrier solution, DGPS 2.
  const int carrier = (p.Flags >> 6) & 3;
  std::int8_t quality = 0;
  if (fix) quality = carrier == 2 ? 4 : carrier == 1 ? 5 : (p.Flags & 0x02) ? 2 : 1;
  else if (p.Fix == TFrameFix::DeadReckoning) quality = 6;
  nmea.GGA.Quality = quality;
  nmea.GGA.SatsUsed = p.SatsUsed;
  nmea.GGA.Altitude = p.HeightMSL;
  nmea.GGA.GeoidSep = p.Height - p.HeightMSL;
  nmea.GGA.Has.Quality = nmea.GGA.Has.SatsUsed = nmea.GGA.Has.Altitude = nmea.GGA.Has.GeoidSep = true;
  nmea.RMC.Status = fix ? 'A' : 'V';
  SetGroundVelocity(nmea, p.GroundSpeed, p.Heading);
  nmea.GSA.FixMode = FixMode(p.Fix);
  nmea.GSA.PDOP = p.PDOP;
  nmea.GSA.Has.FixMode = nmea.GSA.Has.PDOP = true;
  for (const TSentenceType t : {stGGA, stRMC, stGSA}) nmea.SentenceSeen[t] = true;
}

void BinaryFeed::FromNavDOP(TqvNMEA& nmea) const {
  const TUBXNavDOP& d = ubx_.NavDOP;
  nmea.GSA.PDOP = d.PDOP;
  nmea.GSA.HDOP = nmea.GGA.HDOP = d.HDOP;
  nmea.GSA.VDOP = d.VDOP;
  nmea.GSA.Has.PDOP = nmea.GSA.Has.HDOP = nmea.GSA.Has.VDOP = nmea.GGA.Has.HDOP = true;
  nmea.SentenceSeen[stGSA] = true;
}

BinaryFeed::Result BinaryFeed::TakeSiRF(std::string_view frame, TqvNMEA& nmea) {
  const TSiRFDecoded d = sirf_.Decode(frame);
  Result r{d.Status == TFrameStatus::Decoded, sirf_.Describe(d)};
  if (!r.decoded) return r;
  switch (d.Message) {
    case TSiRFMessage::NavData: FromSiRFNavData(nmea); break;
    case TSiRFMessage::GeodeticNav: FromSiRFGeodetic(nmea); break;
    case TSiRFMessage::TrackerData: SetSatellites(nmea, sirf_.Tracker.Sats); break;
    default: break;
  }
  return r;
}

void BinaryFeed::FromSiRFNavData(TqvNMEA& nmea) const {
  const TSiRFNavData& n = sirf_.NavData;
  nmea.FixValid = HasPosition(n.Fix) && n.Geodetic.Valid;
  nmea.GSA.FixMode = FixMode(n.Fix);
  nmea.GSA.HDOP = nmea.GGA.HDOP = n.HDOP;
  nmea.GSA.Has.FixMode = nmea.GSA.Has.HDOP = nmea.GGA.Has.HDOP = true;
  nmea.GGA.SatsUsed = n.SatsUsed;
  nmea.GGA.Quality = nmea.FixValid ? ((n.Mode1 & 0x80) ? 2 : 1) : 0;
  nmea.GGA.Has.Quality = nmea.GGA.Has.SatsUsed = true;
  nmea.SentenceSeen[stGSA] = true;
  if (!n.Geodetic.Valid) return;
  SetPosition(nmea, n.Geodetic.Latitude, n.Geodetic.Longitude);
  nmea.GGA.Altitude = n.Geodetic.Height;  // above the ellipsoid: message 2 knows no geoid
  nmea.GGA.Has.Altitude = true;
  SetVelocityFromECEF(nmea, n.Geodetic, n.VX, n.VY, n.VZ);
  nmea.SentenceSeen[stGGA] = true;
}

void BinaryFeed::FromSiRFGeodetic(TqvNMEA& nmea) const {
  const TSiRFGeodeticNav& g = sirf_.GeodeticNav;
  nmea.GGA.UTCTime = nmea.RMC.UTCTime = Time(g.Hour, g.Minute, g.Second);
  nmea.RMC.Date = Date(g.Year, g.Month, g.Day);
  nmea.GGA.Has.UTCTime = nmea.RMC.Has.UTCTime = nmea.RMC.Has.Date = true;
  nmea.SentenceSeen[stRMC] = true;
  // Some receivers send this message with no navigation type beside message 2's fix:
  // then message 2 says whether there is one, and this one only dates it.
  if (!HasPosition(g.Fix)) return;
  nmea.FixValid = true;
  SetPosition(nmea, g.Latitude, g.Longitude);
  nmea.GGA.Altitude = g.AltitudeMSL;
  nmea.GGA.GeoidSep = g.AltitudeEllipsoid - g.AltitudeMSL;
  nmea.GGA.SatsUsed = g.SatsUsed;
  nmea.GGA.HDOP = nmea.GSA.HDOP = g.HDOP;
  nmea.GGA.Quality = 1;
  nmea.GGA.Has.Altitude = nmea.GGA.Has.SatsUsed = nmea.GGA.Has.HDOP = nmea.GGA.Has.Quality = true;
  nmea.RMC.Status = 'A';
  SetGroundVelocity(nmea, g.Speed, g.Course);
  nmea.GSA.FixMode = FixMode(g.Fix);
  nmea.GSA.Has.FixMode = true;
  for (const TSentenceType t : {stGGA, stGSA}) nmea.SentenceSeen[t] = true;
}

}  // namespace orlimo
