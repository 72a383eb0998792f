#include "frames/sirf_decode.h"

#include <algorithm>

#include "frames/byte_reader.h"
#include "frames/sat_numbering.h"

namespace orlimo {
namespace {

TByteReader Reader(std::string_view payload) { return {payload, TByteOrder::Big}; }

bool Fits(std::string_view payload, std::uint8_t id, std::size_t size) {
  return payload.size() >= size && static_cast<std::uint8_t>(payload[0]) == id;
}

}  // namespace

TFrameFix SiRFFix(std::uint16_t mode) {
  switch (mode & 0x07) {
    case 0: return TFrameFix::None;
    case 4:
    case 6: return TFrameFix::Fix3D;
    case 7: return TFrameFix::DeadReckoning;
    default: return TFrameFix::Fix2D;
  }
}

bool DecodeSiRFNavData(std::string_view payload, TSiRFNavData& r) {
  if (!Fits(payload, 2, 41)) return false;
  const TByteReader b = Reader(payload);
  r.X = b.I4(1);
  r.Y = b.I4(5);
  r.Z = b.I4(9);
  r.VX = b.I2(13) / 8.0;
  r.VY = b.I2(15) / 8.0;
  r.VZ = b.I2(17) / 8.0;
  r.Mode1 = b.U1(19);
  r.HDOP = b.U1(20) / 5.0;
  r.Mode2 = b.U1(21);
  r.Week = b.U2(22);
  r.TimeOfWeek = b.U4(24) / 100.0;
  r.SatsUsed = b.U1(28);
  for (std::size_t i = 0; i < r.UsedPRN.size(); ++i) r.UsedPRN[i] = b.U1(29 + i);
  r.Fix = SiRFFix(r.Mode1);
  r.Geodetic = EcefToGeodetic(r.X, r.Y, r.Z);
  return true;
}

bool DecodeSiRFTrackerData(std::string_view payload, TSiRFTrackerData& r) {
  if (!Fits(payload, 4, 8)) return false;
  const TByteReader b = Reader(payload);
  const std::size_t channels = b.U1(7);
  if (payload.size() < 8 + 15 * channels) return false;
  r.Week = b.I2(1);
  r.TimeOfWeek = b.U4(3) / 100.0;
  r.Channels = static_cast<std::uint8_t>(channels);
  r.Sats.TimeOfWeek = b.U4(3) * 10;
  r.Sats.Count = 0;
  for (std::size_t i = 0; i < channels; ++i) {
    const std::size_t at = 8 + 15 * i;
    const int svid = b.U1(at);
    if (svid == 0) continue;
    TFrameSat& s = r.Sats.Sats[r.Sats.Count++];
    s = {};
    const TSatId id = SatFromSiRFSvid(svid);
    s.System = id.System;
    s.Number = id.Number;
    s.Azimuth = b.U1(at + 1) * 1.5f;
    s.Elevation = b.U1(at + 2) * 0.5f;
    s.HasPosition = b.U1(at + 1) != 0 || b.U1(at + 2) != 0;
    s.Flags = b.U2(at + 3);
    int sum = 0;
    int peak = 0;
    for (std::size_t k = 0; k < 10; ++k) {
      const int cn0 = b.U1(at + 5 + k);
      sum += cn0;
      peak = std::max(peak, cn0);
    }
    s.Cn0 = static_cast<float>(sum) / 10.0f;
    s.Cn0Peak = static_cast<float>(peak);
  }
  return true;
}

bool DecodeSiRFVersion(std::string_view payload, TSiRFVersion& r) {
  if (!Fits(payload, 6, 1)) return false;
  const TByteReader b = Reader(payload);
  // The newer form: two length bytes, then the two strings that fill the rest.
  const std::size_t softwareLength = b.U1(1);
  const std::size_t customerLength = b.U1(2);
  if (payload.size() >= 3 && softwareLength > 0 && 3 + softwareLength + customerLength == payload.size()) {
    r.Software.Assign(b.Text(3, softwareLength));
    r.Customer.Assign(b.Text(3 + softwareLength, customerLength));
  } else {
    r.Software.Assign(b.Text(1, payload.size() - 1));
    r.Customer.Assign({});
  }
  return true;
}

bool DecodeSiRFGeodeticNav(std::string_view payload, TSiRFGeodeticNav& r) {
  if (!Fits(payload, 41, 91)) return false;
  const TByteReader b = Reader(payload);
  r.NavValid = b.U2(1);
  r.NavType = b.U2(3);
  r.Week = b.U2(5);
  r.TimeOfWeek = b.U4(7) / 1000.0;
  r.Year = b.U2(11);
  r.Month = b.U1(13);
  r.Day = b.U1(14);
  r.Hour = b.U1(15);
  r.Minute = b.U1(16);
  r.Second = b.U2(17) / 1000.0;
  r.SatIdList = b.U4(19);
  r.Latitude = b.I4(23) * 1e-7;
  r.Longitude = b.I4(27) * 1e-7;
  r.AltitudeEllipsoid = b.I4(31) * 1e-2;
  r.AltitudeMSL = b.I4(35) * 1e-2;
  r.Datum = b.U1(39);
  r.Speed = b.U2(40) * 1e-2;
  r.Course = b.U2(42) * 1e-2;
  r.ClimbRate = b.I2(46) * 1e-2;
  r.HorizontalError = b.U4(50) * 1e-2;
  r.VerticalError = b.U4(54) * 1e-2;
  r.SatsUsed = b.U1(88);
  r.HDOP = b.U1(89) / 5.0;
  r.Fix = SiRFFix(r.NavType);
  return true;
}

}  // namespace orlimo
