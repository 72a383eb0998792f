// The satellite and signal lists of the NAV class.
#include "frames/byte_reader.h"
#include "frames/sat_numbering.h"
#include "frames/ubx_decode.h"

namespace orlimo {
namespace {

TByteReader Reader(std::string_view payload) { return {payload, TByteOrder::Little}; }

// Out of range means "position not known" in both satellite messages.
void SetPosition(TFrameSat& s, int elevation, int azimuth) {
  s.HasPosition = elevation >= -90 && elevation <= 90 && azimuth >= 0 && azimuth <= 360;
  s.Elevation = s.HasPosition ? static_cast<float>(elevation) : 0.0f;
  s.Azimuth = s.HasPosition ? static_cast<float>(azimuth) : 0.0f;
}

}  // namespace

bool DecodeUBXNavSat(std::string_view payload, TFrameSatList& r) {
  const TByteReader b = Reader(payload);
  if (payload.size() < 8 || b.U1(4) != 1) return false;
  const std::size_t n = b.U1(5);
  if (payload.size() < 8 + 12 * n) return false;
  r.TimeOfWeek = b.U4(0);
  r.Count = n;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = 8 + 12 * i;
    TFrameSat& s = r.Sats[i];
    s = {};
    const TSatId id = SatFromGnssId(b.U1(at), b.U1(at + 1));
    s.System = id.System;
    s.Number = id.Number;
    s.Cn0 = s.Cn0Peak = b.U1(at + 2);
    SetPosition(s, b.I1(at + 3), b.I2(at + 4));
    s.Flags = b.U4(at + 8);
    s.Used = (s.Flags & 0x08) != 0;
  }
  return true;
}

bool DecodeUBXNavSVInfo(std::string_view payload, TFrameSatList& r) {
  const TByteReader b = Reader(payload);
  if (payload.size() < 8) return false;
  const std::size_t n = b.U1(4);
  if (payload.size() < 8 + 12 * n) return false;
  r.TimeOfWeek = b.U4(0);
  r.Count = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = 8 + 12 * i;
    const int svid = b.U1(at + 1);
    if (svid == 0) continue;
    TFrameSat& s = r.Sats[r.Count++];
    s = {};
    const TSatId id = SatFromUBXSvid(svid);
    s.System = id.System;
    s.Number = id.Number;
    s.Flags = b.U1(at + 2);
    s.Used = (s.Flags & 0x01) != 0;
    s.Cn0 = s.Cn0Peak = b.U1(at + 4);
    SetPosition(s, b.I1(at + 5), b.I2(at + 6));
  }
  return true;
}

bool DecodeUBXNavSig(std::string_view payload, TFrameSignalList& r) {
  const TByteReader b = Reader(payload);
  if (payload.size() < 8 || b.U1(4) != 0) return false;
  const std::size_t n = b.U1(5);
  if (payload.size() < 8 + 16 * n) return false;
  r.TimeOfWeek = b.U4(0);
  r.Count = n;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = 8 + 16 * i;
    TFrameSignal& s = r.Signals[i];
    const TSatId id = SatFromGnssId(b.U1(at), b.U1(at + 1));
    s.System = id.System;
    s.Number = id.Number;
    s.SignalId = b.U1(at + 2);
    s.FreqId = b.U1(at + 3);
    s.Cn0 = b.U1(at + 6);
    s.Quality = b.U1(at + 7);
    s.Flags = b.U2(at + 10);
    s.Used = (s.Flags & 0x08) != 0;
  }
  return true;
}

}  // namespace orlimo
