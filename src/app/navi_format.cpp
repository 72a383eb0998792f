#include "app/navi_format.h"

#include <QDateTime>

#include <cmath>
#include <cstdio>

#include "app/views/readings.h"
#include "nmea/decoder.h"

namespace orlimo {
namespace {

constexpr double kFeetPerMetre = 3.28084;
constexpr const char* kFixModeText[] = {" ", "not Fix", "2D", "3D"};

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buf[128];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

std::string Hemisphere(char letter) { return std::string(1, letter != 0 ? letter : ' '); }

// Latitudes up to 90 degrees, longitudes up to 180; beyond that no value.
std::string Coordinate(char letter, double degrees, double limit) {
  if (!InRange(degrees, -limit, limit)) return "";
  return Format("%s %10.6f\xB0", Hemisphere(letter).c_str(), std::fabs(degrees));
}

std::string CourseText(double degrees) {
  return CourseReading(degrees) ? Format("%.1f\xB0", degrees) : "";
}

// A time of day as shown: hours to 23, minutes to 59, seconds to 60 (a leap
// second), the fraction in whole milliseconds. Nothing for a time that no
// receiver sends.
struct TTimeOfDay {
  int hour, minute, second, ms;
};
std::optional<TTimeOfDay> TimeOfDay(const TNMEATime& t) {
  const std::optional<int> second = CheckedInt(t.Seconds, 0, 60);
  if (t.Hour > 23 || t.Minute > 59 || !second) return std::nullopt;
  // A negative fraction ("-0.5") is no time either.
  const std::optional<int> ms = CheckedInt((t.Seconds - *second) * 1000, 0, 999);
  if (!ms) return std::nullopt;
  return TTimeOfDay{t.Hour, t.Minute, *second, *ms};
}

struct TSource {
  const TNMEATime* time;
  double lat;
  char ns;
  double lon;
  char ew;
};

}  // namespace

std::string AltitudeText(double metres, const TUnitSelection& unit) {
  if (!AltitudeReading(metres)) return "";
  return unit.ItemIndex == 0 ? Format("%.1f m ", metres) : Format("%.1f ft ", metres * kFeetPerMetre);
}

std::string SpeedText(double knots, const TUnitSelection& unit) {
  if (!SpeedReading(knots)) return "";
  return Format("%.1f %s ", knots * unit.SpeedFactor, unit.SpeedCaption.c_str());
}

int CurrentUtcOffsetSeconds() { return QDateTime::currentDateTime().offsetFromUtc(); }

TNaviTexts ComputeNaviTexts(const TqvNMEA& nmea, const TUnitSelection& unit, int utcOffsetSeconds) {
  TNaviTexts out;
  if (!nmea.FixValid) {
    out.Clear = true;
    return out;
  }
  const auto& seen = nmea.SentenceSeen;
  TSource src{};
  if (seen[stRMC]) {
    src = {&nmea.RMC.UTCTime, nmea.RMC.Latitude, nmea.RMC.NS, nmea.RMC.Longitude, nmea.RMC.EW};
  } else if (seen[stGLL]) {
    src = {&nmea.GLL.UTCTime, nmea.GLL.Latitude, nmea.GLL.NS, nmea.GLL.Longitude, nmea.GLL.EW};
  } else if (seen[stGGA]) {
    src = {&nmea.GGA.UTCTime, nmea.GGA.Latitude, nmea.GGA.NS, nmea.GGA.Longitude, nmea.GGA.EW};
  } else {
    return out;  // nothing new to show
  }

  out.Text[nlLat] = Coordinate(src.ns, src.lat, 90);
  out.Text[nlLon] = Coordinate(src.ew, src.lon, 180);

  if (seen[stGGA]) {
    out.AltitudeMetres = nmea.GGA.Altitude;
    out.Text[nlAlt] = AltitudeText(nmea.GGA.Altitude, unit);
  }

  const int fixMode = nmea.GSA.FixMode;
  const std::string fixText = fixMode >= 0 && fixMode <= 3 ? kFixModeText[fixMode] : "";
  out.Text[nlFix] = fixText + " ";

  if (seen[stRMC]) {
    out.SpeedKnots = nmea.RMC.SpeedKnots;
    out.Text[nlCOG] = CourseText(nmea.RMC.Course);
  } else if (seen[stVTG]) {
    out.SpeedKnots = nmea.VTG.SpeedKnots;
    out.Text[nlCOG] = CourseText(nmea.VTG.CourseTrue);
  }
  if (out.SpeedKnots) out.Text[nlSOG] = SpeedText(*out.SpeedKnots, unit);

  // Every system's GSA counts when the receiver reports several.
  const int used = nmea.Sky.SeveralCycles() ? nmea.Sky.UsedCount() : nmea.GSA.UsedCount;
  out.Text[nlSVCNT] = Format("%d ", used);

  // GPS date and time. Without an RMC there is no date: the time of day only.
  const std::optional<TTimeOfDay> tod = TimeOfDay(*src.time);
  if (!tod) {
    out.Text[nlGPSTime] = "";
    out.Text[nlLocalTime] = "";
    return out;
  }
  const auto [hour, minute, wholeSeconds, ms] = *tod;
  QDate date(2006, 1, 1);
  if (seen[stRMC]) {
    const int year = (nmea.RMC.Date.Year > 50 ? 1900 : 2000) + nmea.RMC.Date.Year;
    out.Text[nlGPSTime] = Format("%.2d/%.2d/%.2d %.2d:%.2d:%.2d ", year, nmea.RMC.Date.Month,
                                 nmea.RMC.Date.Day, hour, minute, wholeSeconds);
    date = QDate(year, nmea.RMC.Date.Month, nmea.RMC.Date.Day);
  } else {
    out.Text[nlGPSTime] = Format("           %.2d:%.2d:%.2d ", hour, minute, wholeSeconds);
  }

  // Local time: the same instant in the system's zone. A date or time that does not
  // exist (no date field, a leap second) has no local counterpart: shown empty.
  const QTime time(hour, minute, wholeSeconds, ms);
  if (!date.isValid() || !time.isValid()) {
    out.Text[nlLocalTime] = "";
    return out;
  }
  const QDateTime local = QDateTime(date, time, Qt::UTC).addSecs(utcOffsetSeconds);
  const QDate d = local.date();
  const QTime t = local.time();
  out.Text[nlLocalTime] =
      seen[stRMC] ? Format("%.4d/%.2d/%.2d %.2d:%.2d:%.2d ", d.year(), d.month(), d.day(), t.hour(),
                           t.minute(), t.second())
                  : Format("           %.2d:%.2d:%.2d ", t.hour(), t.minute(), t.second());
  return out;
}

}  // namespace orlimo
