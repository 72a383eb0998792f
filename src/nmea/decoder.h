// The decoder object: turns valid sentences into records and keeps the latest
// record of each type, with the fix indicator and the types seen since the last
// view refresh. The program creates one and keeps it for the whole run.
#pragma once

#include <array>
#include <string_view>

#include "nmea/records.h"
#include "nmea/sentence.h"
#include "nmea/sky_picture.h"

namespace orlimo {

class TqvNMEA {
 public:
  TGGARecord GGA;
  TGLLRecord GLL;
  TGSARecord GSA;
  TGSVRecord GSV;
  TRMCRecord RMC;
  TVTGRecord VTG;
  TMSSRecord MSS;
  TZDARecord ZDA;
  TGSTRecord GST;
  TGBSRecord GBS;
  // Every system's satellites, fed by the receive pipeline (DecodeSentence leaves it).
  TSkyPicture Sky;

  bool FixValid = false;  // the last writer among RMC, GGA, GSA and GLL wins
  std::array<bool, kSentenceTypeCount> SentenceSeen{};

  // Validates and classifies the line, then decodes it into its record. False when
  // the line is not a valid sentence; true for any valid one, decoded or not.
  bool DecodeSentence(std::string_view line, TSentenceType& type);

  // Zeroes RMC, GGA, GLL, GSA, GSV, VTG, ZDA, GST and GBS and empties the sky (MSS is
  // kept).
  void ClearRecords();

  void DecodeRMC(std::string_view s, TRMCRecord& r);
  void DecodeGGA(std::string_view s, TGGARecord& r);
  void DecodeGLL(std::string_view s, TGLLRecord& r);
  void DecodeGSA(std::string_view s, TGSARecord& r);
  void DecodeGSV(std::string_view s, TGSVRecord& r);
  void DecodeVTG(std::string_view s, TVTGRecord& r);
  void DecodeMSS(std::string_view s, TMSSRecord& r);
  void DecodeZDA(std::string_view s, TZDARecord& r);
  void DecodeGST(std::string_view s, TGSTRecord& r);
  void DecodeGBS(std::string_view s, TGBSRecord& r);
};

}  // namespace orlimo
