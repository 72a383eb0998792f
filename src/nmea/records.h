// The records the decoder keeps: the latest sentence of each standard type.
// All zero (the raw text empty) when created; every record ends with the raw text it
// came from.
// A value read from an empty or unreadable field stays 0; the record's `Has` says which
// values were read, so a real zero can be told from a missing field.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "nmea/satellite_system.h"

namespace orlimo {

struct TNMEATime {
  std::uint8_t Hour = 0;
  std::uint8_t Minute = 0;
  double Seconds = 0;  // with the fraction as received

  bool operator==(const TNMEATime&) const = default;
};

struct TNMEADate {
  std::int16_t Year = 0;  // the two digits as received, no century
  std::uint8_t Month = 0;
  std::uint8_t Day = 0;

  bool operator==(const TNMEADate&) const = default;
};

// The first 100 characters of a sentence, in a fixed buffer: decoding never allocates.
// Nothing reads the buffer past the text, so it is never cleared: clearing a record,
// once per sentence, clears only the size. Its bytes are unsigned char, which may be
// copied before they were written.
class TRawText {
 public:
  static constexpr std::size_t kCapacity = 100;

  TRawText() {}  // leaves the buffer as it is
  void Assign(std::string_view s) {
    size_ = static_cast<std::uint8_t>(std::min(s.size(), kCapacity));
    if (size_ != 0) std::memcpy(text_.data(), s.data(), size_);  // an empty view's data may be null
  }
  std::string_view View() const { return {reinterpret_cast<const char*>(text_.data()), size_}; }
  bool operator==(std::string_view s) const { return View() == s; }
  bool operator==(const TRawText& o) const { return View() == o.View(); }

 private:
  std::array<unsigned char, kCapacity> text_;
  std::uint8_t size_ = 0;
};

//  $GPGGA,hhmmss.ss,llll.ll,a,yyyyy.yy,a,q,nn,h.h,a.a,M,g.g,M,t.t,ssss*hh
//  1      2         3       4 5        6 7 8  9   10  11 12 13 14  15   16
struct TGGARecord {
  TNMEATime UTCTime;
  double Latitude = 0;
  char NS = 0;
  double Longitude = 0;
  char EW = 0;
  std::int8_t Quality = 0;
  std::uint8_t SatsUsed = 0;
  double HDOP = 0;
  double Altitude = 0;
  double GeoidSep = 0;
  double DGPSAge = 0;
  std::uint16_t DGPSStation = 0;
  struct Present {
    bool UTCTime = false, Latitude = false, Longitude = false, Quality = false, SatsUsed = false;
    bool HDOP = false, Altitude = false, GeoidSep = false, DGPSAge = false, DGPSStation = false;
    bool operator==(const Present&) const = default;
  } Has;
  TRawText RawText;

  bool operator==(const TGGARecord&) const = default;
};

//  $GPGLL,llll.ll,a,yyyyy.yy,a,hhmmss.ss,A[,m]*hh
//  1      2       3 4        5 6         7  8
struct TGLLRecord {
  double Latitude = 0;
  char NS = 0;
  double Longitude = 0;
  char EW = 0;
  TNMEATime UTCTime;
  char Status = 0;
  struct Present {
    bool Latitude = false, Longitude = false, UTCTime = false;
    bool operator==(const Present&) const = default;
  } Has;
  TRawText RawText;

  bool operator==(const TGLLRecord&) const = default;
};

//  $GPGSA,a,m,p1,...,p12,pdop,hdop,vdop[,s]*hh
//  1      2 3 4..15      16   17   18    19
// The newer form adds the system ID (s). System: from it, the talker or the first
// used number (which UsedPRN, a byte, may not hold whole).
struct TGSARecord {
  char SelMode = 0;
  std::int8_t FixMode = 0;
  std::uint8_t UsedCount = 0;
  std::array<std::uint8_t, 12> UsedPRN{};
  double PDOP = 0;
  double HDOP = 0;
  double VDOP = 0;
  std::int8_t SystemId = 0;  // 0 when not sent
  TSatSystem System = TSatSystem::Unknown;
  struct Present {
    bool FixMode = false, PDOP = false, HDOP = false, VDOP = false;
    bool operator==(const Present&) const = default;
  } Has;
  TRawText RawText;

  bool operator==(const TGSARecord&) const = default;
};

struct TSatInView {
  std::int16_t PRN = 0;
  std::int8_t Elevation = 0;  // degrees
  std::int16_t Azimuth = 0;   // degrees
  std::int8_t SNR = 0;        // dB-Hz, 0 when not tracked

  bool operator==(const TSatInView&) const = default;
};

//  $GPGSV,t,m,n,{prn,el,az,snr}x(0..4)[,g]*hh
//  1      2 3 4 5..
// Slot 4*(m-1)+i holds the i-th satellite of message m; Sats[0] is slot 1.
// The newer form ends with the signal ID (g, one hex digit, or empty) after the
// satellites.
// System: the talker's, or the range of the message's first satellite number.
struct TGSVRecord {
  std::int8_t TotalMsgs = 0;
  std::int8_t MsgNum = 0;
  std::int8_t SatsInView = 0;
  std::array<TSatInView, 12> Sats{};
  bool HasSignalId = false;  // the last message ended with a signal ID
  std::uint8_t SignalId = 0;  // its signal ID (0 is one of them: all signals)
  TSatSystem System = TSatSystem::Unknown;
  TRawText RawText;  // the last GSV sentence

  bool operator==(const TGSVRecord&) const = default;
};

//  $GPRMC,hhmmss.ss,A,llll.ll,a,yyyyy.yy,a,x.x,x.x,ddmmyy,x.x,a[,m[,v]]*hh
//  1      2         3 4       5 6        7 8   9   10     11  12  13 14
// The newer form adds the navigational status (v: S safe, C caution, U unsafe,
// V not valid).
struct TRMCRecord {
  TNMEATime UTCTime;
  char Status = 0;
  double Latitude = 0;
  char NS = 0;
  double Longitude = 0;
  char EW = 0;
  double SpeedKnots = 0;
  double Course = 0;
  TNMEADate Date;
  double MagVar = 0;
  char MagVarEW = 0;
  char Mode = 0;
  char NavStatus = 0;  // 0 when not sent
  struct Present {
    bool UTCTime = false, Latitude = false, Longitude = false, SpeedKnots = false;
    bool Course = false, Date = false, MagVar = false;
    bool operator==(const Present&) const = default;
  } Has;
  TRawText RawText;

  bool operator==(const TRMCRecord&) const = default;
};

//  $GPVTG,t,T,m,M,n,N,k,K[,m]*hh
//  1      2 3 4 5 6 7 8 9  10
struct TVTGRecord {
  double CourseTrue = 0;
  double CourseMag = 0;
  double SpeedKnots = 0;
  double SpeedKmh = 0;
  char Mode = 0;
  struct Present {
    bool CourseTrue = false, CourseMag = false, SpeedKnots = false, SpeedKmh = false;
    bool operator==(const Present&) const = default;
  } Has;
  TRawText RawText;

  bool operator==(const TVTGRecord&) const = default;
};

struct TMSSRecord {
  TRawText RawText;

  bool operator==(const TMSSRecord&) const = default;
};

//  $GPZDA,hhmmss.ss,dd,mm,yyyy,zh,zm*hh
//  1      2         3  4  5    6  7
// The local zone is the offset from UTC (zh may carry a sign).
struct TZDARecord {
  TNMEATime UTCTime;
  std::uint8_t Day = 0;
  std::uint8_t Month = 0;
  std::int16_t Year = 0;  // four digits
  std::int8_t ZoneHours = 0;
  std::int8_t ZoneMinutes = 0;
  struct Present {
    bool UTCTime = false, Day = false, Month = false, Year = false;
    bool ZoneHours = false, ZoneMinutes = false;
    bool operator==(const Present&) const = default;
  } Has;
  TRawText RawText;

  bool operator==(const TZDARecord&) const = default;
};

//  $GPGST,hhmmss.ss,r.r,a.a,b.b,o.o,y.y,x.x,h.h*hh
//  1      2         3   4   5   6   7   8   9
// Pseudorange error statistics, in metres: the RMS of the range residuals, the error
// ellipse (orientation in degrees from true north) and the latitude, longitude and
// height errors (standard deviations).
struct TGSTRecord {
  TNMEATime UTCTime;
  double RangeRMS = 0;
  double SemiMajor = 0;
  double SemiMinor = 0;
  double Orientation = 0;
  double LatError = 0;
  double LonError = 0;
  double AltError = 0;
  struct Present {
    bool UTCTime = false, RangeRMS = false, SemiMajor = false, SemiMinor = false;
    bool Orientation = false, LatError = false, LonError = false, AltError = false;
    bool operator==(const Present&) const = default;
  } Has;
  TRawText RawText;

  bool operator==(const TGSTRecord&) const = default;
};

//  $GPGBS,hhmmss.ss,y.y,x.x,h.h,ss,p.p,b.b,s.s[,i,g]*hh
//  1      2         3   4   5   6  7   8   9    10 11
// Fault detection: the expected errors in latitude, longitude and altitude (metres),
// the most likely failed satellite, the probability that it failed, the estimate of
// its bias and that estimate's standard deviation (metres). The newer form adds the
// system and signal IDs, which are not kept.
struct TGBSRecord {
  TNMEATime UTCTime;
  double LatError = 0;
  double LonError = 0;
  double AltError = 0;
  std::int16_t FailedPRN = 0;
  double FailedProbability = 0;
  double Bias = 0;
  double BiasStdDev = 0;
  struct Present {
    bool UTCTime = false, LatError = false, LonError = false, AltError = false;
    bool FailedPRN = false, FailedProbability = false, Bias = false, BiasStdDev = false;
    bool operator==(const Present&) const = default;
  } Has;
  TRawText RawText;

  bool operator==(const TGBSRecord&) const = default;
};

}  // namespace orlimo
