#include "measure/epoch_fix.h"

#include "nmea/decoder.h"
#include "nmea/fields.h"

namespace orlimo {
namespace {

bool Earlier(const TNMEATime& a, const TNMEATime& b) {
  if (a.Hour != b.Hour) return a.Hour < b.Hour;
  if (a.Minute != b.Minute) return a.Minute < b.Minute;
  return a.Seconds < b.Seconds;
}

// An empty or garbled field leaves the record's zero, which is a value too: ask the line.
std::optional<double> NumberIn(std::string_view field) {
  double v = 0;
  return TryParseFloat(field, v) ? std::optional<double>(v) : std::nullopt;
}

}  // namespace

std::optional<TEpochFix> TEpochAssembler::Add(TSentenceType type, std::string_view line, const TqvNMEA& nmea) {
  if (type == stGSA) {
    if (nmea.GSA.FixMode >= 1 && nmea.GSA.FixMode <= 3) {
      lastFixMode_ = nmea.GSA.FixMode;
      if (epoch_.open) {
        epoch_.fixMode = nmea.GSA.FixMode;
        if (nmea.GSA.HDOP > 0) epoch_.gsaHdop = nmea.GSA.HDOP;
      }
    }
    return std::nullopt;
  }
  if (type != stGGA && type != stRMC) return std::nullopt;
  const std::string_view timeText = GetField(2, line, FieldSeparators);
  std::optional<TEpochFix> done;
  const bool repeated = type == stGGA ? epoch_.hasGGA : epoch_.hasRMC;
  // Without a time only a second sentence of the same type tells a new epoch.
  const bool sameEpoch = epoch_.open && timeText == epoch_.timeText && !(timeText.empty() && repeated);
  // Several systems' GGA of one epoch (GPGGA, GLGGA): the first speaks for it.
  if (sameEpoch && repeated) return std::nullopt;
  if (!sameEpoch) {
    done = Close();
    epoch_.open = true;
    epoch_.timeText = timeText;
  }
  if (type == stGGA) {
    AddGGA(line, nmea.GGA);
  } else {
    AddRMC(line, nmea.RMC);
  }
  return done;
}

void TEpochAssembler::AddGGA(std::string_view line, const TGGARecord& r) {
  const FieldList f(line, FieldSeparators);
  if (f.SeparatorCount() != 15) return;  // the decoder left the record empty
  epoch_.hasGGA = true;
  epoch_.quality = r.Quality;
  epoch_.gga = {r.Quality >= 1 && NumberIn(f[3]) && NumberIn(f[5]), r.Latitude, r.Longitude};
  if (TNMEATime t; ParseNMEATime(f[2], t)) epoch_.ggaTime = t;
  if (NumberIn(f[8])) epoch_.sats = r.SatsUsed;
  epoch_.ggaHdop = NumberIn(f[9]);
  epoch_.height = NumberIn(f[10]);
}

void TEpochAssembler::AddRMC(std::string_view line, const TRMCRecord& r) {
  const FieldList f(line, FieldSeparators);
  const int count = f.SeparatorCount();
  if (count < 12 || count > 14) return;  // the decoder left the record empty
  epoch_.hasRMC = true;
  epoch_.rmc = {r.Status == 'A' && NumberIn(f[4]) && NumberIn(f[6]), r.Latitude, r.Longitude};
  if (TNMEATime t; ParseNMEATime(f[2], t)) epoch_.rmcTime = t;
  if (r.Date.Month >= 1 && r.Date.Month <= 12 && r.Date.Day >= 1 && r.Date.Day <= 31) epoch_.rmcDate = r.Date;
  if (r.Mode != ' ') epoch_.rmcMode = r.Mode;
}

std::optional<TEpochFix> TEpochAssembler::Close() {
  const TEpoch e = epoch_;
  epoch_ = {};
  if (!e.open) return std::nullopt;
  TEpochFix fix;
  fix.time = e.ggaTime ? e.ggaTime : e.rmcTime;
  if (e.rmcDate && e.rmcTime) {
    lastDate_ = e.rmcDate;
    lastDateTime_ = *e.rmcTime;
  }
  if (e.rmcDate) {
    fix.date = e.rmcDate;
  } else if (lastDate_ && fix.time && !Earlier(*fix.time, lastDateTime_)) {
    fix.date = lastDate_;  // the same day still
  }
  // GGA speaks for the epoch when there is one, even against RMC.
  const TPosition& p = e.hasGGA ? e.gga : e.rmc;
  if (!p.valid) return std::nullopt;
  fix.lat = p.lat;
  fix.lon = p.lon;
  if (e.hasGGA) {
    fix.height = e.height;
    fix.quality = e.quality;
    fix.sats = e.sats;
  }
  fix.fixMode = e.fixMode != 0 ? e.fixMode : lastFixMode_;
  fix.rmcMode = e.rmcMode;
  fix.hdop = e.ggaHdop ? e.ggaHdop : e.gsaHdop;
  return fix;
}

std::optional<TEpochFix> TEpochAssembler::Flush() { return Close(); }

}  // namespace orlimo
