// Arbitrary bytes through the binary message decoders. The first byte chooses how
// the rest is read, so the fuzzer reaches the fields without forging checksums:
//   0: a UBX payload, class and ID first    1: a SiRF payload, message ID first
//   else: a byte stream, every frame found in it decoded whole.
// The seed writer beside this file turns every frame of the shared captures into
// inputs of the first two kinds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frames/frame_scan.h"
#include "frames/geodetic.h"
#include "frames/sirf_decoder.h"
#include "frames/ubx_decoder.h"
#include "frames/ubx_names.h"

namespace {

// A conversion that calls itself valid gives finite numbers in range.
void CheckGeodetic(const orlimo::TGeodetic& g) {
  if (g.Valid && (!(std::abs(g.Latitude) <= 90) || !(std::abs(g.Longitude) <= 180) || !std::isfinite(g.Height))) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orlimo;
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view rest = bytes.substr(1);
  // The decoders are large (every list holds 255 entries): one of each for the run,
  // as the program keeps them.
  static TUBXDecoder ubx;
  static TSiRFDecoder sirf;

  if (data[0] == 0 && rest.size() >= 2) {
    const auto cls = static_cast<std::uint8_t>(rest[0]);
    const auto id = static_cast<std::uint8_t>(rest[1]);
    const TUBXDecoded d = ubx.DecodePayload(cls, id, rest.substr(2));
    (void)ubx.Describe(d);
    (void)UBXMessageKey(cls, id);
    CheckGeodetic(ubx.NavSol.Geodetic);
    CheckGeodetic(ubx.NavPosECEF.Geodetic);
  } else if (data[0] == 1) {
    const TSiRFDecoded d = sirf.DecodePayload(rest);
    (void)sirf.Describe(d);
    (void)SiRFMessageKey(d.Id);
    CheckGeodetic(sirf.NavData.Geodetic);
  } else {
    for (TFoundFrame f = FindNextFrame(rest); f.Protocol != TFrameProtocol::None;
         f = FindNextFrame(rest, f.Offset + f.Frame.size())) {
      if (f.Protocol == TFrameProtocol::UBX) {
        (void)ubx.Describe(ubx.Decode(f.Frame));
      } else {
        (void)sirf.Describe(sirf.Decode(f.Frame));
      }
    }
    (void)ubx.Describe(ubx.Decode(rest));
    (void)sirf.Describe(sirf.Decode(rest));
    // The conversion on its own, from any three doubles (NaN and infinities included).
    if (rest.size() >= 3 * sizeof(double)) {
      double xyz[3];
      std::memcpy(xyz, rest.data(), sizeof xyz);
      CheckGeodetic(EcefToGeodetic(xyz[0], xyz[1], xyz[2]));
    }
  }
  return 0;
}
