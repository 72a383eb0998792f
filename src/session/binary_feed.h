// Binary receivers fill the records NMEA ones do. A UBX or SiRF frame decoded here
// leaves its position, fix, speed, course and satellites in the same TqvNMEA the views
// read, with SentenceSeen set as the matching sentences would set it, so every view
// shows a UBX-only or SiRF binary receiver as it shows an NMEA one.
#pragma once

#include <string_view>

#include "frames/sirf_decoder.h"
#include "frames/ubx_decoder.h"

namespace orlimo {

class TqvNMEA;

class BinaryFeed {
 public:
  struct Result {
    bool decoded = false;   // a message read into the records (else unknown or malformed)
    TFrameText text;        // the monitor's line for the frame
  };

  // One whole UBX or SiRF frame with a correct checksum.
  Result TakeUBX(std::string_view frame, TqvNMEA& nmea);
  Result TakeSiRF(std::string_view frame, TqvNMEA& nmea);

  const TUBXDecoder& UBX() const { return ubx_; }
  const TSiRFDecoder& SiRF() const { return sirf_; }
  void Clear();

 private:
  void FromNavPVT(TqvNMEA& nmea) const;
  void FromNavDOP(TqvNMEA& nmea) const;
  void FromSiRFNavData(TqvNMEA& nmea) const;
  void FromSiRFGeodetic(TqvNMEA& nmea) const;

  TUBXDecoder ubx_;
  TSiRFDecoder sirf_;
};

}  // namespace orlimo
