// What a receiver says of itself and how it answers commands.
#include <algorithm>

#include "frames/byte_reader.h"
#include "frames/ubx_decode.h"

namespace orlimo {

bool DecodeUBXMonVer(std::string_view payload, TUBXMonVer& r) {
  if (payload.size() < 40) return false;
  const TByteReader b(payload, TByteOrder::Little);
  r.Software.Assign(b.Text(0, 30));
  r.Hardware.Assign(b.Text(30, 10));
  r.ExtensionCount = std::min((payload.size() - 40) / 30, TUBXMonVer::kMaxExtensions);
  for (std::size_t i = 0; i < r.ExtensionCount; ++i) r.Extensions[i].Assign(b.Text(40 + 30 * i, 30));
  return true;
}

bool DecodeUBXAck(std::string_view payload, bool acknowledged, TUBXAck& r) {
  if (payload.size() < 2) return false;
  const TByteReader b(payload, TByteOrder::Little);
  r.Acknowledged = acknowledged;
  r.Class = b.U1(0);
  r.Id = b.U1(1);
  return true;
}

}  // namespace orlimo
