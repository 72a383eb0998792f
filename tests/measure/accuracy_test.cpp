#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>

#include "capture_fixes.h"
#include "measure/accuracy.h"
#include "measure/epoch_fix.h"
#include "measure/fix_quality.h"
#include "measure/tangent_plane.h"
#include "nmea/decoder.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

// The textbook definitions again, written apart from the code under test.
double Rank(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const double h = (static_cast<double>(v.size()) - 1) * p / 100;
  const std::size_t low = static_cast<std::size_t>(h);
  const double next = low + 1 < v.size() ? v[low + 1] : v[low];
  return v[low] + (h - static_cast<double>(low)) * (next - v[low]);
}

double Horizontal(double lat0, double lon0, double lat, double lon) {
  const double a = 6378137.0, f = 1 / 298.257223563, e2 = f * (2 - f);
  const double rad = std::numbers::pi / 180, s = std::sin(lat0 * rad);
  const double m = a * (1 - e2) / std::pow(1 - e2 * s * s, 1.5);
  const double n = a / std::sqrt(1 - e2 * s * s);
  return std::hypot((lat - lat0) * rad * m, (lon - lon0) * rad * n * std::cos(lat0 * rad));
}

// What the capture's GGA lines say, against `ref` or else their mean.
TAccuracyFigures Expected(const std::vector<test::CaptureFix>& fixes, std::optional<TGeoPoint> ref) {
  TAccuracyFigures e;
  e.fixes = static_cast<std::int64_t>(fixes.size());
  double lat = 0, lon = 0, height = 0;
  int heights = 0;
  for (const auto& f : fixes) {
    lat += f.lat;
    lon += f.lon;
    if (f.height) height += *f.height, ++heights;
  }
  e.meanLat = lat / static_cast<double>(fixes.size());
  e.meanLon = lon / static_cast<double>(fixes.size());
  if (heights) e.meanHeight = height / heights;
  if (!ref) ref = TGeoPoint{*e.meanLat, *e.meanLon, e.meanHeight};
  const double refHeight = ref->height ? *ref->height : *e.meanHeight;
  std::vector<double> d, v;
  double squares = 0;
  for (const auto& f : fixes) {
    d.push_back(Horizontal(ref->lat, ref->lon, f.lat, f.lon));
    squares += d.back() * d.back();
    if (f.height) v.push_back(std::abs(*f.height - refHeight));
  }
  e.lastError = d.back();
  e.cep50 = Rank(d, 50);
  e.cep95 = Rank(d, 95);
  e.drms2 = 2 * std::sqrt(squares / static_cast<double>(d.size()));
  if (!v.empty()) e.vertical95 = Rank(v, 95);
  return e;
}

void ExpectFigures(const TAccuracyFigures& got, const TAccuracyFigures& want) {
  EXPECT_EQ(got.fixes, want.fixes);
  for (auto member : {&TAccuracyFigures::lastError, &TAccuracyFigures::cep50, &TAccuracyFigures::cep95,
                      &TAccuracyFigures::drms2, &TAccuracyFigures::meanHeight, &TAccuracyFigures::vertical95}) {
    ASSERT_EQ((got.*member).has_value(), (want.*member).has_value());
    if (want.*member) {
      EXPECT_NEAR(*(got.*member), *(want.*member), 0.01);
    }
  }
  EXPECT_NEAR(*got.meanLat, *want.meanLat, 1e-8);
  EXPECT_NEAR(*got.meanLon, *want.meanLon, 1e-8);
}

// Every capture with fixes, fed through the decoder and the epoch assembler as the
// console feeds them, measured against the mean and against a point given.
TEST(Accuracy, FiguresOfTheCapturesMatchAComputationFromTheirOwnLines) {
  if (!std::filesystem::exists(test::CaptureDir())) GTEST_SKIP() << "no captures at " << test::CaptureDir();
  int measured = 0;
  for (const auto& log : test::Captures()) {
    SCOPED_TRACE(log.filename().string());
    const std::vector<test::CaptureFix> fixes = test::CaptureFixes(log);
    TqvNMEA nmea;
    TEpochAssembler epochs;
    TAccuracy byMean, byPoint;
    const TGeoPoint point = fixes.empty() ? TGeoPoint{} : TGeoPoint{fixes[0].lat + 1e-4, fixes[0].lon - 1e-4, 100.0};
    byPoint.SetReference(point);
    auto take = [&](const std::optional<TEpochFix>& fix) {
      if (!fix) return;
      byMean.AddFix(fix->Point());
      byPoint.AddFix(fix->Point());
    };
    for (const std::string& s : test::CaptureSentences(log)) {
      TSentenceType type;
      if (nmea.DecodeSentence(s, type)) take(epochs.Add(type, s, nmea));
    }
    take(epochs.Flush());
    if (fixes.empty()) {
      EXPECT_EQ(byMean.Fixes(), 0);
      continue;
    }
    ++measured;
    ExpectFigures(byMean.Figures(), Expected(fixes, std::nullopt));
    ExpectFigures(byPoint.Figures(), Expected(fixes, point));
  }
  EXPECT_GE(measured, 15);
}

// GeodSolve -i: the geodesic between two points (azimuths, then the distance in metres).
std::optional<double> GeodesicDistance(double lat1, double lon1, double lat2, double lon2) {
  char command[160];
  std::snprintf(command, sizeof command, "echo '%.9f %.9f %.9f %.9f' | GeodSolve -i -p 6", lat1, lon1, lat2, lon2);
  FILE* p = popen(command, "r");
  double azi1 = 0, azi2 = 0, s12 = 0;
  const bool read = p && std::fscanf(p, "%lf %lf %lf", &azi1, &azi2, &s12) == 3;
  if (p) pclose(p);
  return read ? std::optional<double>(s12) : std::nullopt;
}

// Along a meridian the rule measures M, along a parallel N·cos φ: a sphere or the
// wrong radius is off by a thousandth or more.
TEST(Accuracy, TangentPlaneDistancesMatchTheGeodesicOfAFewKilometres) {
  if (std::system("command -v GeodSolve >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "GeodSolve (Debian package geographiclib-tools) is not installed";
  struct Pair { double lat1, lon1, lat2, lon2; bool north; };
  for (const Pair& p : {Pair{52.1, 5.2, 52.14, 5.2, true}, Pair{52.1, 5.2, 52.1, 5.27, false},
                        Pair{-33.9, 151.2, -33.94, 151.2, true}, Pair{-33.9, 179.98, -33.9, -179.97, false}}) {
    SCOPED_TRACE(testing::Message() << p.lat1 << "," << p.lon1 << " to " << p.lat2 << "," << p.lon2);
    const std::optional<double> s12 = GeodesicDistance(p.lat1, p.lon1, p.lat2, p.lon2);
    ASSERT_TRUE(s12);
    EXPECT_GT(*s12, 3000);
    EXPECT_NEAR(PlaneDistance(p.lat1, p.lon1, p.lat2, p.lon2), *s12, *s12 * 1e-4);
    const TPlaneOffset o = PlaneOffset(p.lat1, p.lon1, p.lat2, p.lon2);
    EXPECT_NEAR(p.north ? o.north : o.east, p.north ? (p.lat2 - p.lat1 > 0 ? 1 : -1) * *s12 : *s12, *s12 * 1e-4);
  }
}

// Four million fixes: the first million at the reference, the rest 10 m north. A
// uniform sample holds a quarter of the first, so 2DRMS = 2·sqrt(0.75·100 m²).
TEST(Accuracy, BeyondAMillionFixesAUniformSampleStaysAndTheMeanCoversAll) {
  TAccuracy a;
  const double north = 10 / MeridianRadius(40) * 180 / std::numbers::pi;
  a.SetReference({40, 10, std::nullopt});
  for (int i = 0; i < 4'000'000; ++i) a.AddFix({i < 1'000'000 ? 40 : 40 + north, 10, 50.0});
  EXPECT_EQ(a.Fixes(), 4'000'000);
  EXPECT_EQ(a.Stored(), TAccuracy::kMaxStored);
  const TAccuracyFigures f = a.Figures();
  EXPECT_NEAR(*f.drms2, 2 * std::sqrt(75.0), 0.05);
  EXPECT_NEAR(*f.cep50, 10, 1e-6);
  EXPECT_NEAR(*f.meanLat, 40 + 0.75 * north, 1e-10);
  EXPECT_NEAR(*f.lastError, 10, 1e-6);
}

TEST(Accuracy, WhatCannotBeKnownIsNullAndResetForgets) {
  TAccuracy a;
  TAccuracyFigures f = a.Figures();
  EXPECT_EQ(f.fixes, 0);
  EXPECT_FALSE(f.cep50 || f.cep95 || f.drms2 || f.lastError || f.meanLat || f.meanLon || f.meanHeight || f.vertical95);

  // No heights, even against a reference with one; fixes either side of 180°.
  a.SetReference({0, 180, 10.0});
  a.AddFix({0, 179.9999, std::nullopt});
  a.AddFix({0, -179.9999, std::nullopt});
  f = a.Figures();
  EXPECT_NEAR(*f.cep50, 11.13, 0.01) << "the short way round";
  EXPECT_NEAR(std::abs(*f.meanLon), 180, 1e-9);
  EXPECT_FALSE(f.meanHeight || f.vertical95);

  a.Reset();
  EXPECT_EQ(a.Figures().fixes, 0);
  EXPECT_FALSE(a.Figures().cep50);
  ASSERT_TRUE(a.Reference()) << "the reference stays";
}

// The receiver's own word on its fix, as the console's navi line carries it: what it
// never sent is "-", never a zero.
TEST(FixQuality, KeysFromGGAGSAAndGSTWithUnknownsAsDashes) {
  TqvNMEA nmea;
  TSentenceType type;
  const std::string gga = "$GNGGA,123519.00,4807.038,N,01131.000,E,4,12,0.9,545.4,M,46.9,M,1.0,0000";
  ASSERT_TRUE(nmea.DecodeSentence(gga + NMEAChecksumSuffix(gga), type));
  EXPECT_EQ(FixQualityKeys(FixQualityOf(nmea)),
            "quality=4 hdop=0.90 vdop=- pdop=- gst_lat_m=- gst_lon_m=- gst_alt_m=-");
  const std::string gst = "$GNGST,123519.00,0.5,0.03,0.02,45.0,0.021,0.018,0.049";
  ASSERT_TRUE(nmea.DecodeSentence(gst + NMEAChecksumSuffix(gst), type));
  EXPECT_EQ(FixQualityKeys(FixQualityOf(nmea)),
            "quality=4 hdop=0.90 vdop=- pdop=- gst_lat_m=0.021 gst_lon_m=0.018 gst_alt_m=0.049");
  EXPECT_EQ(QualityName(4), "RTK fixed");
}

}  // namespace
}  // namespace orlimo
