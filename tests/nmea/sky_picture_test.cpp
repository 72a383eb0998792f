// The sky of a several-constellation receiver: cycles of different talkers and
// signals kept apart, the epoch's GSA lists joined, and systems that stop leaving.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "nmea/sentence.h"
#include "nmea/sky_picture.h"

namespace orlimo {
namespace {

// Adds a checksum to "$...," text and feeds it.
void Feed(TSkyPicture& sky, std::string body) {
  const std::string line = body + NMEAChecksumSuffix(body);
  ASSERT_TRUE(IsValidSentence(line)) << line;
  sky.AddSentence(GetSentenceType(line), line);
}

std::set<std::string> Names(const TSkyPicture& sky, bool usedOnly = false) {
  std::set<std::string> names;
  for (const TSkySat& s : sky.Satellites()) {
    if (!usedOnly || s.Used) names.insert(std::string(TSatName(s.System, s.Number).View()));
  }
  return names;
}

TEST(SkyPicture, CyclesOfDifferentSystemsInterleavedStayApart) {
  TSkyPicture sky;
  Feed(sky, "$GPGSV,2,1,05,05,40,100,30,07,20,200,25,09,10,300,00,13,50,050,41");
  Feed(sky, "$GLGSV,2,1,05,65,30,010,33,66,30,020,34,71,60,090,35,72,05,180,");
  Feed(sky, "$GPGSV,2,2,05,30,70,270,44");
  // Only the GPS cycle is complete so far.
  EXPECT_EQ(Names(sky), (std::set<std::string>{"G05", "G07", "G09", "G13", "G30"}));
  Feed(sky, "$GLGSV,2,2,05,88,12,330,20");
  EXPECT_EQ(Names(sky).size(), 10u);
  EXPECT_EQ(sky.CycleCount(), 2);

  // A cycle cut short by a lost message keeps the last complete one on show.
  Feed(sky, "$GPGSV,2,1,05,05,40,100,30,07,20,200,25,09,10,300,00,13,50,050,41");
  Feed(sky, "$GLGSV,2,2,05,88,12,330,20");  // GLONASS message 2 without its first
  Feed(sky, "$GPGSV,3,3,05,30,70,270,44");  // a different total: not this cycle's end
  EXPECT_EQ(Names(sky).size(), 10u);
  EXPECT_TRUE(Names(sky).count("R24"));

  // Satellites without a position still count; elevation and azimuth out of range are no position.
  Feed(sky, "$GPGSV,1,1,02,05,,,30,07,95,400,25");
  for (const TSkySat& s : sky.Satellites()) {
    if (s.System == TSatSystem::GPS) {
      EXPECT_FALSE(s.HasPosition) << s.Number;
    }
  }
}

TEST(SkyPicture, UsedSetIsTheUnionOfTheEpochsGSAs) {
  TSkyPicture sky;
  Feed(sky, "$GPGSV,1,1,04,05,40,100,30,07,20,200,25,09,10,300,33,13,50,050,41");
  Feed(sky, "$GBGSV,1,1,02,13,40,100,30,23,20,200,25,1");
  // NMEA 4.11: one GSA per system, the numbers within each system, 24 used in all.
  Feed(sky, "$GNGSA,A,3,05,07,09,13,01,02,03,04,06,08,10,11,1.0,0.6,0.8,1");
  Feed(sky, "$GNGSA,A,3,65,66,67,68,69,70,71,72,,,,,1.0,0.6,0.8,2");
  Feed(sky, "$GNGSA,A,3,13,23,33,34,,,,,,,,,1.0,0.6,0.8,4");
  EXPECT_EQ(sky.UsedCount(), 0) << "the run is taken over when it ends";
  Feed(sky, "$GNRMC,120000.00,A,4807.038,N,01131.000,E,0.0,0.0,010120,,,A,V");
  EXPECT_EQ(sky.UsedCount(), 24);
  EXPECT_EQ(Names(sky, true), (std::set<std::string>{"G05", "G07", "G09", "G13", "C13", "C23"}));

  // The next epoch's run replaces the set; G13 is no longer used, and a GPS number
  // under GN without a system ID is read by its range.
  Feed(sky, "$GNGSA,A,3,05,07,09,,,,,,,,,,1.0,0.6,0.8");
  Feed(sky, "$GNGSA,A,3,223,,,,,,,,,,,,1.0,0.6,0.8");
  Feed(sky, "$GNGGA,120001.00,4807.038,N,01131.000,E,1,04,0.6,545.4,M,46.9,M,,");
  EXPECT_EQ(sky.UsedCount(), 4);
  EXPECT_EQ(Names(sky, true), (std::set<std::string>{"G05", "G07", "G09", "C23"}));
}

TEST(SkyPicture, SignalsOfOneSatelliteShowOnceAtTheirStrongest) {
  TSkyPicture sky;
  Feed(sky, "$GPGSV,1,1,02,05,40,100,30,07,20,200,,1");  // L1
  Feed(sky, "$GPGSV,1,1,02,05,40,100,38,07,20,200,22,8");  // L5
  Feed(sky, "$GAGSV,1,1,01,311,40,100,41,7");
  Feed(sky, "$GAGSV,1,1,01,11,40,100,35,1");
  ASSERT_EQ(sky.Satellites().size(), 3u);
  EXPECT_EQ(sky.Satellites()[0].SNR, 38);
  EXPECT_EQ(sky.Satellites()[1].SNR, 22);
  EXPECT_EQ(sky.Satellites()[2].SNR, 41);
  EXPECT_EQ(sky.CycleCount(), 4);
}

TEST(SkyPicture, ASystemThatStopsLeavesAfterAFewRefreshes) {
  TSkyPicture sky;
  const auto second = [&](bool withGlonass) {
    Feed(sky, "$GPGSV,1,1,01,05,40,100,30");
    if (withGlonass) Feed(sky, "$GLGSV,1,1,01,70,40,100,30");
    sky.EndRefresh();
  };
  for (int i = 0; i < 5; ++i) second(true);
  second(false);
  EXPECT_TRUE(Names(sky).count("R06")) << "not at once";
  int seconds = 1;
  while (Names(sky).count("R06") && seconds < 60) second(false), ++seconds;
  EXPECT_GE(seconds, 3);
  EXPECT_LE(seconds, 8) << "not never";
  EXPECT_EQ(Names(sky), (std::set<std::string>{"G05"}));

  // A receiver that sends its satellites every fifth second keeps them in between.
  TSkyPicture slow;
  for (int s = 0; s < 30; ++s) {
    if (s % 5 == 0) Feed(slow, "$GLGSV,1,1,01,70,40,100,30");
    slow.EndRefresh();
    if (s >= 5) {
      EXPECT_EQ(Names(slow).size(), 1u) << s;
    }
  }
}

TEST(SkyPicture, HostileMessagesChangeNothingAndNeverOverflow) {
  TSkyPicture sky;
  Feed(sky, "$GPGSV,1,1,01,05,40,100,30");
  for (const char* bad : {"$GPGSV,0,0,00", "$GPGSV,1,2,01,05,40,100,30", "$GPGSV,99,1,01,05,40,100,30",
                          "$GPGSV,x,1,01", "$GPGSV,1", "$GPGSA,A,3,01,02"}) {
    Feed(sky, bad);
  }
  EXPECT_EQ(Names(sky), (std::set<std::string>{"G05"}));
  // A cycle announcing many messages of many satellites, and many talkers and signals.
  Feed(sky, "$GPGSV,20,1,80,01,1,1,1,02,1,1,1,03,1,1,1,04,1,1,1");
  for (int m = 2; m <= 20; ++m) {
    std::string body = "$GPGSV,20," + std::to_string(m) + ",80";
    for (int i = 0; i < 4; ++i) {
      body += ',';
      body += std::to_string(4 * (m - 1) + i + 1);
      body += ",1,1,1";
    }
    Feed(sky, body);
  }
  EXPECT_EQ(sky.Satellites().size(), TSkyPicture::kMaxCycleSats);
  for (int signal = 0; signal < 16; ++signal) {
    for (const char* talker : {"GP", "GL", "GA", "GB"}) {
      Feed(sky, std::string("$") + talker + "GSV,1,1,01,05,1,1,1," + "0123456789ABCDEF"[signal]);
    }
  }
  EXPECT_LE(sky.Satellites().size(), TSkyPicture::kMaxSats);
  EXPECT_EQ(sky.CycleCount(), static_cast<int>(TSkyPicture::kMaxCycles));
}

}  // namespace
}  // namespace orlimo
