// One fix per output cycle (epoch) from the stream of decoded sentences. A receiver
// reports each epoch in several sentences (GGA, RMC, GSA, ...) that share its time
// of day; the epoch is complete once a GGA or RMC of another time begins the next, or
// at Flush. A second GGA or RMC of the same time (another system's) adds nothing.
// GGA decides whether the epoch has a fix (quality 1 or more); an epoch without GGA
// goes by RMC's status "A".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "measure/accuracy.h"
#include "nmea/records.h"
#include "nmea/sentence.h"

namespace orlimo {

class TqvNMEA;

struct TEpochFix {
  std::optional<TNMEATime> time;  // UTC time of day, GGA's, else RMC's
  // The epoch's RMC date, else the last one, while the time of day has not gone back.
  std::optional<TNMEADate> date;
  double lat = 0;                 // degrees
  double lon = 0;                 // degrees
  std::optional<double> height;   // GGA's, metres above mean sea level
  std::int8_t quality = -1;       // GGA's fix quality; -1: no GGA in the epoch
  std::int8_t fixMode = 0;        // GSA's: 2 two-dimensional, 3 three-; 0 not known
  char rmcMode = 0;               // RMC's mode indicator (D differential); 0 not sent
  std::optional<int> sats;        // satellites used, GGA's
  std::optional<double> hdop;     // GGA's, else GSA's

  TGeoPoint Point() const { return {lat, lon, height}; }
};

class TEpochAssembler {
 public:
  // Every sentence the decoder accepted, right after `nmea` decoded it. Returns the
  // epoch it completed, when that one had a valid fix.
  std::optional<TEpochFix> Add(TSentenceType type, std::string_view line, const TqvNMEA& nmea);
  // The epoch under way, when it has a valid fix (the end of a log or of a run).
  std::optional<TEpochFix> Flush();
  void Reset() { *this = {}; }

 private:
  struct TPosition {
    bool valid = false;
    double lat = 0, lon = 0;
  };
  struct TEpoch {
    bool open = false;
    std::string timeText;  // the epoch's time field as sent
    bool hasGGA = false, hasRMC = false;
    TPosition gga, rmc;
    std::optional<TNMEATime> ggaTime, rmcTime;
    std::optional<TNMEADate> rmcDate;
    std::optional<double> height, ggaHdop, gsaHdop;
    std::optional<int> sats;
    std::int8_t quality = 0;
    std::int8_t fixMode = 0;
    char rmcMode = 0;
  };

  std::optional<TEpochFix> Close();
  void AddGGA(std::string_view line, const TGGARecord& r);
  void AddRMC(std::string_view line, const TRMCRecord& r);

  TEpoch epoch_;
  std::int8_t lastFixMode_ = 0;  // for an epoch whose GSA came before its GGA or RMC
  std::optional<TNMEADate> lastDate_;
  TNMEATime lastDateTime_;       // the time of day lastDate_ came with
};

}  // namespace orlimo
