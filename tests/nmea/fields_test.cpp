#include "nmea/fields.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>
#include <utility>

#include "nmea/records.h"

namespace orlimo {
namespace {

constexpr std::string_view kGLL = "$GPGLL,3730.2492,N,12702.8663,E,023441.000,A,A*5E";
constexpr std::string_view kGGA =
    "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";

TEST(Fields, NumberingAndSeparatorSets) {
  EXPECT_EQ(GetField(1, kGLL, FieldSeparators), "$GPGLL");
  EXPECT_EQ(GetField(7, kGLL, FieldSeparators), "A");
  EXPECT_EQ(GetField(9, kGLL, FieldSeparators), "5E");
  EXPECT_EQ(GetField(8, kGLL, CommaSeparator), "A*5E");
  EXPECT_EQ(CountSeparators(kGLL, FieldSeparators), 8);
  EXPECT_EQ(GetField(14, kGGA, FieldSeparators), "");
  EXPECT_EQ(GetField(15, kGGA, FieldSeparators), "0000");
  EXPECT_EQ(GetField(16, kGGA, FieldSeparators), "6D");
  EXPECT_EQ(GetField(17, kGGA, FieldSeparators), "");
  EXPECT_EQ(GetField(0, kGGA, FieldSeparators), "");
  EXPECT_EQ(CountSeparators("", FieldSeparators), 0);
}

TEST(Fields, SplitOnceGivesWhatGetFieldGives) {
  const std::string_view lines[] = {kGLL, kGGA, ",,", "", "a", "a,", ",a", "$X*", "**,,*x",
                                    "$GPGSV,3,3,10,30,09,305,16,27,02,115,*71"};
  for (const auto line : lines) {
    for (const SeparatorSet* set : {&FieldSeparators, &CommaSeparator}) {
      const FieldList list(line, *set);
      EXPECT_EQ(list.SeparatorCount(), CountSeparators(line, *set)) << line;
      for (int n = 0; n <= 20; ++n)
        EXPECT_EQ(list[n], GetField(n, line, *set)) << line << " field " << n;
    }
  }
}

TEST(Integers, SignsBasesAndPartialValues) {
  std::int32_t v = 99;
  EXPECT_TRUE(TryParseInt(" -12", v));
  EXPECT_EQ(v, -12);
  EXPECT_FALSE(TryParseInt("12.5", v));
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(TryParseInt("$1F", v));
  EXPECT_EQ(v, 31);
  EXPECT_TRUE(TryParseInt("+$ff", v));
  EXPECT_EQ(v, 255);
  EXPECT_FALSE(TryParseInt("35*7A", v));
  EXPECT_EQ(v, 35);
  EXPECT_FALSE(TryParseInt("", v));
  EXPECT_EQ(v, 0);
  EXPECT_FALSE(TryParseInt("-", v));
  EXPECT_FALSE(TryParseInt("$", v));
  EXPECT_FALSE(TryParseInt("12 ", v));
  EXPECT_TRUE(TryParseInt("2147483647", v));
  EXPECT_EQ(v, 2147483647);
  EXPECT_TRUE(TryParseInt("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_FALSE(TryParseInt("2147483648", v));
  EXPECT_FALSE(TryParseInt("99999999999999999999", v));
  EXPECT_FALSE(TryParseInt("$100000000", v));
}

TEST(Floats, AcceptedForm) {
  const struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"1.2", true, 1.2},      {" -0.5 ", true, -0.5}, {"+3", true, 3},   {".", true, 0},
      {".5", true, 0.5},       {"5.", true, 5},        {"1e3", true, 1000}, {"2.5E-1", true, 0.25},
      {"1e308", true, 1e308},  {"", false, 0},         {"-", false, 0},   {"1e", false, 0},
      {"nan", false, 0},       {"inf", false, 0},      {"1,5", false, 0}, {"1.2.3", false, 0},
      {"1e400", false, 0},     {"0x10", false, 0},     {"1 2", false, 0}, {"e5", false, 0},
  };
  for (const auto& c : cases) {
    double v = 7.0;
    EXPECT_EQ(TryParseFloat(c.text, v), c.ok) << c.text;
    EXPECT_DOUBLE_EQ(v, c.ok ? c.value : 7.0) << c.text << " (failure leaves the value)";
  }
}

TEST(Floats, CommaLocaleDoesNotChangeReading) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 missing";
  const std::locale globalBefore = std::locale::global(std::locale("de_DE.UTF-8"));
  double v = 0;
  const bool ok = TryParseFloat("1.2", v);
  const bool commaOk = TryParseFloat("1,2", v = 0);
  std::locale::global(globalBefore);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_TRUE(ok);
  EXPECT_FALSE(commaOk);
  double again = 0;
  ASSERT_TRUE(TryParseFloat("1.2", again));
  EXPECT_DOUBLE_EQ(again, 1.2);
}

TEST(Coordinates, DegreesAndMinutes) {
  EXPECT_NEAR(NMEAToDegrees(3730.2492), 37.504153333, 1e-9);
  EXPECT_NEAR(NMEAToDegrees(12702.8663), 127.047771667, 1e-9);
  EXPECT_DOUBLE_EQ(NMEAToDegrees(0), 0);
}

TEST(TimeAndDate, TimeWithAFractionOfAnyLengthOrNone) {
  TNMEATime t;
  ASSERT_TRUE(ParseNMEATime("023441.000", t));
  EXPECT_EQ(t.Hour, 2);
  EXPECT_EQ(t.Minute, 34);
  EXPECT_DOUBLE_EQ(t.Seconds, 41.0);
  ASSERT_TRUE(ParseNMEATime("235959.99", t));
  EXPECT_DOUBLE_EQ(t.Seconds, 59.99);
  const std::pair<const char*, double> more[] = {
      {"123519", 19.0}, {"123519.5", 19.5}, {"123519.2500", 19.25}, {"123519.123456", 19.123456}};
  for (const auto& [text, seconds] : more) {
    TNMEATime u;
    ASSERT_TRUE(ParseNMEATime(text, u)) << text;
    EXPECT_EQ(u.Hour, 12) << text;
    EXPECT_EQ(u.Minute, 35) << text;
    EXPECT_DOUBLE_EQ(u.Seconds, seconds) << text;
  }
  for (const char* bad : {"02344", "0234x1", "0234x1.000", "023441,5", ""}) {
    TNMEATime u;
    u.Hour = 7;
    EXPECT_FALSE(ParseNMEATime(bad, u)) << bad;
    EXPECT_EQ(u.Hour, 7) << "record untouched for " << bad;
  }
  TNMEADate d;
  ASSERT_TRUE(ParseNMEADate("200406", d));
  EXPECT_EQ(d.Day, 20);
  EXPECT_EQ(d.Month, 4);
  EXPECT_EQ(d.Year, 6);
  TNMEADate e;
  EXPECT_FALSE(ParseNMEADate("20040", e));
  EXPECT_FALSE(ParseNMEADate("2004x6", e));
  EXPECT_EQ(e.Day, 0);
}

}  // namespace
}  // namespace orlimo
