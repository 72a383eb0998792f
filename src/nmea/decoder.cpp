#include "nmea/decoder.h"

#include <algorithm>
#include <array>

#include "nmea/fields.h"
#include "nmea/satellite_system.h"
#include "nmea/text.h"

namespace orlimo {
namespace {

// Picks the satellite number that tells a GSA's or GSV's system: the first one not
// of SBAS, whose satellites are reported with GPS's.
class SystemNumber {
 public:
  void Add(std::int32_t n) {
    if (n == 0 || chosen_ != 0) return;
    if (SystemFromNumber(n) == TSatSystem::SBAS) {
      sbasSeen_ = true;
    } else {
      chosen_ = n;
    }
  }
  TSatSystem System(std::string_view s, int systemId) const {
    const TSatSystem system = SentenceSystem(s, systemId, chosen_);
    // Only SBAS satellites under GN or GP: GPS's report.
    return sbasSeen_ && chosen_ == 0 && system == TSatSystem::Combined ? TSatSystem::GPS
                                                                         : system;
  }

 private:
  std::int32_t chosen_ = 0;
  bool sbasSeen_ = false;
};

// A character field counts only when it is exactly one character long.
char CharField(std::string_view f) { return f.size() == 1 ? f[0] : 0; }

// True when the field held a number (then stored, truncated to the field's width).
template <typename T>
bool IntField(std::string_view f, T& out) {
  std::int32_t v = 0;
  if (!TryParseInt(f, v)) return false;
  out = static_cast<T>(v);
  return true;
}

// The hemisphere letter is read first; only `positive` ('N' or 'E') keeps the sign.
// True when the value field held a number.
bool Coordinate(std::string_view value, std::string_view hemisphere, char positive,
                double& degrees, char& letter) {
  letter = CharField(hemisphere);
  double v = 0;
  if (!TryParseFloat(value, v)) return false;
  const double d = NMEAToDegrees(v);
  degrees = letter == positive ? d : -d;
  return true;
}

}  // namespace

bool TqvNMEA::DecodeSentence(std::string_view line, TSentenceType& type) {
  type = stNIL;
  if (!IsValidSentence(line)) return false;
  type = GetSentenceType(line);
  switch (type) {
    case stNIL:  // no tag found: maybe a type named only by its address field
      type = AddressedType(line);
      if (type == stZDA) DecodeZDA(line, ZDA);
      if (type == stGST) DecodeGST(line, GST);
      if (type == stGBS) DecodeGBS(line, GBS);
      break;
    case stRMC: DecodeRMC(line, RMC); break;
    case stGGA: DecodeGGA(line, GGA); break;
    case stGLL: DecodeGLL(line, GLL); break;
    case stGSA: DecodeGSA(line, GSA); break;
    case stGSV: DecodeGSV(line, GSV); break;
    case stVTG: DecodeVTG(line, VTG); break;
    case stMSS: DecodeMSS(line, MSS); break;
    default: break;  // the proprietary replies are read elsewhere
  }
  return true;
}

void TqvNMEA::ClearRecords() {
  RMC = {};
  GGA = {};
  GLL = {};
  GSA = {};
  GSV = {};
  VTG = {};
  ZDA = {};
  GST = {};
  GBS = {};
  Sky.Clear();
}

void TqvNMEA::DecodeRMC(std::string_view s, TRMCRecord& r) {
  r = {};
  r.RawText.Assign(s);
  const FieldList f(s, FieldSeparators);
  const int count = f.SeparatorCount();
  if (count < 12 || count > 14) return;
  r.Has.UTCTime = ParseNMEATime(f.At(2), r.UTCTime);
  r.Status = CharField(f.At(3));
  FixValid = r.Status == 'A';
  r.Has.Latitude = Coordinate(f.At(4), f.At(5), 'N', r.Latitude, r.NS);
  r.Has.Longitude = Coordinate(f.At(6), f.At(7), 'E', r.Longitude, r.EW);
  r.Has.SpeedKnots = TryParseFloat(f.At(8), r.SpeedKnots);
  r.Has.Course = TryParseFloat(f.At(9), r.Course);
  r.Has.Date = ParseNMEADate(f.At(10), r.Date);
  r.Has.MagVar = TryParseFloat(f.At(11), r.MagVar);
  r.MagVarEW = CharField(f.At(12));
  r.Mode = (count >= 13 && f.At(13).size() == 1) ? f.At(13)[0] : ' ';
  if (count == 14) r.NavStatus = CharField(f.At(14));
}

void TqvNMEA::DecodeGGA(std::string_view s, TGGARecord& r) {
  r = {};
  r.RawText.Assign(s);
  const FieldList f(s, FieldSeparators);
  if (f.SeparatorCount() != 15) return;
  r.Has.UTCTime = ParseNMEATime(f.At(2), r.UTCTime);
  r.Has.Latitude = Coordinate(f.At(3), f.At(4), 'N', r.Latitude, r.NS);
  r.Has.Longitude = Coordinate(f.At(5), f.At(6), 'E', r.Longitude, r.EW);
  std::int32_t quality = 0;
  if (f.At(7).size() == 1 && TryParseInt(f.At(7), quality)) {
    r.Quality = static_cast<std::int8_t>(quality);
    r.Has.Quality = true;
    FixValid = r.Quality > 0;
  }
  r.Has.SatsUsed = IntField(f.At(8), r.SatsUsed);
  r.Has.HDOP = TryParseFloat(f.At(9), r.HDOP);
  r.Has.Altitude = TryParseFloat(f.At(10), r.Altitude);
  r.Has.GeoidSep = TryParseFloat(f.At(12), r.GeoidSep);
  r.Has.DGPSAge = TryParseFloat(f.At(14), r.DGPSAge);
  r.Has.DGPSStation = IntField(f.At(15), r.DGPSStation);
}

void TqvNMEA::DecodeGLL(std::string_view s, TGLLRecord& r) {
  r = {};
  r.RawText.Assign(s);
  const FieldList f(s, FieldSeparators);
  const int count = f.SeparatorCount();
  if (count != 7 && count != 8) return;
  r.Has.Latitude = Coordinate(f.At(2), f.At(3), 'N', r.Latitude, r.NS);
  r.Has.Longitude = Coordinate(f.At(4), f.At(5), 'E', r.Longitude, r.EW);
  r.Has.UTCTime = ParseNMEATime(f.At(6), r.UTCTime);
  r.Status = ' ';
  if (count == 8 && f.At(7).size() == 1) {
    r.Status = f.At(7)[0];
    FixValid = r.Status == 'A';
  }
}

void TqvNMEA::DecodeGSA(std::string_view s, TGSARecord& r) {
  r = {};
  r.RawText.Assign(s);
  const FieldList f(s, FieldSeparators);
  const int count = f.SeparatorCount();
  if (count != 18 && count != 19) return;
  r.SelMode = CharField(f.At(2));
  std::int32_t mode = 0;
  if (f.At(3).size() == 1 && TryParseInt(f.At(3), mode)) {
    r.FixMode = static_cast<std::int8_t>(mode);
    r.Has.FixMode = true;
    FixValid = r.FixMode > 1;
  }
  SystemNumber numbers;  // whole, before the byte of UsedPRN cuts them
  for (int i = 1; i <= 12; ++i) {
    std::int32_t prn = 0;
    if (TryParseInt(f.At(i + 3), prn)) {
      r.UsedPRN[i - 1] = static_cast<std::uint8_t>(prn);
      ++r.UsedCount;
      numbers.Add(prn);
    }
  }
  r.Has.PDOP = TryParseFloat(f.At(16), r.PDOP);
  r.Has.HDOP = TryParseFloat(f.At(17), r.HDOP);
  r.Has.VDOP = TryParseFloat(f.At(18), r.VDOP);
  if (count == 19) IntField(f.At(19), r.SystemId);
  r.System = numbers.System(s, r.SystemId);
}

void TqvNMEA::DecodeGSV(std::string_view s, TGSVRecord& r) {
  // Commas alone: the last field keeps "*hh", and its number is read up to the '*'.
  const FieldList f(s, CommaSeparator);
  const int commas = f.SeparatorCount();
  if (commas < 4 && commas + std::count(s.begin(), s.end(), '*') < 4) return;
  // Fields up to `known` exist and are read without operator[]'s tests.
  const int known = std::min(commas, FieldList::kMaxFields);
  const auto field = [&f, known](int n) { return n <= known ? f.At(n) : f[n]; };
  // The newer form: one field after whole groups of four, a single hex digit or
  // empty (some receivers leave it so for a system they report on one signal).
  // The last field is looked at only when the count allows the newer form.
  const bool groupsAndOne = commas >= 4 && (commas - 3) % 4 == 1;
  const std::string_view lastField = groupsAndOne ? f[commas + 1] : std::string_view{};
  const std::string_view tail = lastField.substr(0, lastField.find('*'));
  const bool newerForm =
      groupsAndOne && (tail.empty() || (tail.size() == 1 && HexDigitValue(tail[0]) >= 0));
  const bool hasSignal = newerForm && !tail.empty();
  std::int32_t msg = 0;
  if (TryParseInt(field(3), msg)) {
    if (msg == 1) r = {};
    r.MsgNum = static_cast<std::int8_t>(msg);
  }
  r.RawText.Assign(s);
  IntField(field(2), r.TotalMsgs);
  IntField(field(4), r.SatsInView);
  r.HasSignalId = hasSignal;
  r.SignalId = hasSignal ? static_cast<std::uint8_t>(HexDigitValue(tail[0])) : 0;
  SystemNumber numbers;
  const int groups = (commas - 3 - (newerForm ? 1 : 0) + 3) / 4;  // a cut-short one counts
  // Read once here, used again for the slots below.
  std::array<std::int32_t, 4> prns{};
  const int read = std::min(groups, 4);
  for (int g = 0; g < read; ++g) {
    TryParseInt(field(5 + 4 * g), prns[g]);
    numbers.Add(prns[g]);
  }
  r.System = numbers.System(s, 0);

  // A message numbered 0 or less has no slots; a fourth message or an announcement
  // beyond 12 satellites would run past the table: those satellites are dropped.
  if (r.MsgNum < 1) return;
  const int first = 4 * (r.MsgNum - 1);  // slots before this message's first
  const int n = r.MsgNum == r.TotalMsgs ? r.SatsInView - first : 4;
  int last = std::min(n, static_cast<int>(r.Sats.size()) - first);
  if (newerForm) last = std::min(last, (commas - 4) / 4);  // the signal ID is no satellite
  // Success is not checked: an empty field stores 0, "40*78" stores 40.
  const auto number = [&field](int n) {
    std::int32_t v = 0;
    TryParseInt(field(n), v);
    return v;
  };
  for (int i = 1; i <= last; ++i) {
    const int b = 4 * (i - 1) + 4;
    TSatInView& sat = r.Sats[first + i - 1];
    sat.PRN = static_cast<std::int16_t>(i <= read ? prns[i - 1] : number(b + 1));
    sat.Elevation = static_cast<std::int8_t>(number(b + 2));
    sat.Azimuth = static_cast<std::int16_t>(number(b + 3));
    sat.SNR = static_cast<std::int8_t>(number(b + 4));
  }
}

void TqvNMEA::DecodeVTG(std::string_view s, TVTGRecord& r) {
  r = {};
  r.RawText.Assign(s);
  const FieldList f(s, FieldSeparators);
  const int count = f.SeparatorCount();
  if (count != 9 && count != 10) return;
  r.Has.CourseTrue = TryParseFloat(f.At(2), r.CourseTrue);
  r.Has.CourseMag = TryParseFloat(f.At(4), r.CourseMag);
  r.Has.SpeedKnots = TryParseFloat(f.At(6), r.SpeedKnots);
  r.Has.SpeedKmh = TryParseFloat(f.At(8), r.SpeedKmh);
  r.Mode = (count == 10 && f.At(10).size() == 1) ? f.At(10)[0] : ' ';
}

void TqvNMEA::DecodeMSS(std::string_view s, TMSSRecord& r) {
  r = {};
  r.RawText.Assign(s);
}

void TqvNMEA::DecodeZDA(std::string_view s, TZDARecord& r) {
  r = {};
  r.RawText.Assign(s);
  const FieldList f(s, FieldSeparators);
  if (f.SeparatorCount() != 7) return;
  r.Has.UTCTime = ParseNMEATime(f.At(2), r.UTCTime);
  r.Has.Day = IntField(f.At(3), r.Day);
  r.Has.Month = IntField(f.At(4), r.Month);
  r.Has.Year = IntField(f.At(5), r.Year);
  r.Has.ZoneHours = IntField(f.At(6), r.ZoneHours);
  r.Has.ZoneMinutes = IntField(f.At(7), r.ZoneMinutes);
}

void TqvNMEA::DecodeGST(std::string_view s, TGSTRecord& r) {
  r = {};
  r.RawText.Assign(s);
  const FieldList f(s, FieldSeparators);
  if (f.SeparatorCount() != 9) return;
  r.Has.UTCTime = ParseNMEATime(f.At(2), r.UTCTime);
  r.Has.RangeRMS = TryParseFloat(f.At(3), r.RangeRMS);
  r.Has.SemiMajor = TryParseFloat(f.At(4), r.SemiMajor);
  r.Has.SemiMinor = TryParseFloat(f.At(5), r.SemiMinor);
  r.Has.Orientation = TryParseFloat(f.At(6), r.Orientation);
  r.Has.LatError = TryParseFloat(f.At(7), r.LatError);
  r.Has.LonError = TryParseFloat(f.At(8), r.LonError);
  r.Has.AltError = TryParseFloat(f.At(9), r.AltError);
}

void TqvNMEA::DecodeGBS(std::string_view s, TGBSRecord& r) {
  r = {};
  r.RawText.Assign(s);
  const FieldList f(s, FieldSeparators);
  const int count = f.SeparatorCount();
  if (count != 9 && count != 11) return;
  r.Has.UTCTime = ParseNMEATime(f.At(2), r.UTCTime);
  r.Has.LatError = TryParseFloat(f.At(3), r.LatError);
  r.Has.LonError = TryParseFloat(f.At(4), r.LonError);
  r.Has.AltError = TryParseFloat(f.At(5), r.AltError);
  r.Has.FailedPRN = IntField(f.At(6), r.FailedPRN);
  r.Has.FailedProbability = TryParseFloat(f.At(7), r.FailedProbability);
  r.Has.Bias = TryParseFloat(f.At(8), r.Bias);
  r.Has.BiasStdDev = TryParseFloat(f.At(9), r.BiasStdDev);
}

}  // namespace orlimo
