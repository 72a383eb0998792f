// The NMEA 4.10 / 4.11 sentence forms: RMC's navigational status, GSA's system ID,
// GSV's signal ID; the older forms decode as they always did.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "nmea/decoder.h"
#include "nmea/satellite_system.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

std::string Sentence(const std::string& body) {
  const std::string s = "$" + body;
  return s + NMEAChecksumSuffix(s);
}

class NewerForms : public ::testing::Test {
 protected:
  void Decode(const std::string& line) {
    TSentenceType type = stNIL;
    ASSERT_TRUE(nmea.DecodeSentence(line, type)) << line;
  }
  TqvNMEA nmea;
};

TEST_F(NewerForms, RMCNavigationalStatus) {
  Decode("$GNRMC,003956.00,A,4552.65403,S,17030.00668,E,0.025,,120419,,,A,V*07");
  EXPECT_EQ(nmea.RMC.Date, (TNMEADate{19, 4, 12}));
  EXPECT_LT(nmea.RMC.Latitude, 0);
  EXPECT_EQ(nmea.RMC.Mode, 'A');
  EXPECT_EQ(nmea.RMC.NavStatus, 'V');
  EXPECT_TRUE(nmea.FixValid);
  Decode("$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B");
  EXPECT_EQ(nmea.RMC.NavStatus, 0) << "the older form has none";
  // One field more than the newer form is still refused.
  Decode(Sentence("GNRMC,003956.00,A,4552.65403,S,17030.00668,E,0.025,,120419,,,A,V,X"));
  EXPECT_EQ(nmea.RMC.Date.Day, 0);
  EXPECT_EQ(nmea.RMC.Status, 0);
}

TEST_F(NewerForms, GSASystemId) {
  Decode("$GNGSA,A,3,13,12,22,19,08,21,,,,,,,1.05,0.64,0.83,4*0B");
  EXPECT_EQ(nmea.GSA.FixMode, 3);
  EXPECT_EQ(nmea.GSA.UsedCount, 6);
  EXPECT_EQ(nmea.GSA.UsedPRN[0], 13);
  EXPECT_DOUBLE_EQ(nmea.GSA.VDOP, 0.83);
  EXPECT_EQ(nmea.GSA.SystemId, 4);
  EXPECT_EQ(nmea.GSA.System, TSatSystem::BeiDou);
  // The older form: the system from the talker, or under GN from the numbers.
  Decode("$GPGSA,A,3,04,02,17,10,24,23,13,,,,,,2.2,1.2,1.9*3D");
  EXPECT_EQ(nmea.GSA.SystemId, 0);
  EXPECT_EQ(nmea.GSA.System, TSatSystem::GPS);
  Decode("$GNGSA,A,3,67,83,76,82,68,,,,,,,,1.56,0.91,1.27*1D");
  EXPECT_EQ(nmea.GSA.System, TSatSystem::GLONASS);
  Decode(Sentence("GNGSA,A,3,301,,,,,,,,,,,,1.5,0.9,1.2"));
  EXPECT_EQ(nmea.GSA.System, TSatSystem::Galileo) << "read whole, not as the byte UsedPRN keeps";
  Decode("$GNGSA,A,1,,,,,,,,,,,,,,,*00");
  EXPECT_EQ(nmea.GSA.System, TSatSystem::Combined);
  // SBAS satellites are reported with GPS's: they do not name the system.
  Decode(Sentence("GNGSA,A,3,46,,71,,,,,,,,,,1.5,0.9,1.2"));
  EXPECT_EQ(nmea.GSA.System, TSatSystem::GLONASS);
  Decode(Sentence("GNGSA,A,3,46,,,,,,,,,,,,1.5,0.9,1.2"));
  EXPECT_EQ(nmea.GSA.System, TSatSystem::GPS);
  Decode(Sentence("GNGSA,A,3,13,,,,,,,,,,,,1.05,0.64,0.83,4,9"));
  EXPECT_EQ(nmea.GSA.FixMode, 0) << "two fields past the older form are refused";
}

TEST_F(NewerForms, GSVSignalIdIsNoSatellite) {
  Decode("$GAGSV,3,1,09,02,00,179,,04,09,322,,07,11,134,11,11,09,227,,7*74");
  EXPECT_TRUE(nmea.GSV.HasSignalId);
  EXPECT_EQ(nmea.GSV.SignalId, 7);
  EXPECT_EQ(nmea.GSV.System, TSatSystem::Galileo);
  EXPECT_EQ(nmea.GSV.Sats[3].PRN, 11);
  EXPECT_EQ(nmea.GSV.Sats[3].SNR, 0);
  // A last message announcing more satellites than it lists: the signal ID is not
  // read as a fourth one.
  Decode(Sentence("GAGSV,3,3,12,33,62,034,08,7"));
  EXPECT_EQ(nmea.GSV.Sats[8].PRN, 33);
  EXPECT_EQ(nmea.GSV.Sats[8].SNR, 8);
  EXPECT_EQ(nmea.GSV.Sats[9].PRN, 0);
  Decode("$GPGSV,3,3,12,26,65,188,41,27,39,287,40,29,15,092,31,31,01,199,39,0*6D");
  EXPECT_EQ(nmea.GSV.SignalId, 0);
  EXPECT_TRUE(nmea.GSV.HasSignalId);
  EXPECT_EQ(nmea.GSV.Sats[11].SNR, 39);
  Decode(Sentence("GPGSV,1,1,00,1"));
  EXPECT_EQ(nmea.GSV.SignalId, 1);
  EXPECT_EQ(nmea.GSV.Sats[0].PRN, 0);
  EXPECT_EQ(nmea.GSV.System, TSatSystem::GPS);
  // The older form: no signal ID, the system from the talker or the numbers.
  Decode("$GPGSV,3,3,10,30,09,305,16,27,02,115,*71");
  EXPECT_FALSE(nmea.GSV.HasSignalId);
  EXPECT_EQ(nmea.GSV.Sats[9].PRN, 27);
  Decode("$GBGSV,2,1,05,201,00,000,44,202,14,089,35,204,00,000,42,205,27,091,*66");
  EXPECT_EQ(nmea.GSV.System, TSatSystem::BeiDou);
  Decode(Sentence("GNGSV,1,1,01,71,10,020,30"));
  EXPECT_EQ(nmea.GSV.System, TSatSystem::GLONASS);
  Decode(Sentence("GPGSV,3,3,10,46,09,305,16,27,02,115,"));
  EXPECT_EQ(nmea.GSV.System, TSatSystem::GPS) << "an SBAS satellite first";
  Decode(Sentence("GNGSV,1,1,02,120,10,020,30,67,10,020,30,1"));
  EXPECT_EQ(nmea.GSV.System, TSatSystem::GLONASS);
  // An empty signal ID field is no satellite either.
  Decode("$GBGSV,3,3,10,21,41,301,,22,82,135,,*4F");
  EXPECT_FALSE(nmea.GSV.HasSignalId);
  EXPECT_EQ(nmea.GSV.Sats[9].PRN, 22);
  Decode(Sentence("GBGSV,3,3,11,21,41,301,,22,82,135,,"));
  EXPECT_EQ(nmea.GSV.Sats[10].PRN, 0);
  // A cut-short group whose last field is two characters stays a satellite.
  Decode(Sentence("GPGSV,1,1,02,07,10,020,30,08"));
  EXPECT_FALSE(nmea.GSV.HasSignalId);
  EXPECT_EQ(nmea.GSV.Sats[1].PRN, 8);
}

TEST_F(NewerForms, HostileNewerFormsStayInBounds) {
  // Signal IDs that are no hex digit, system IDs out of range, a signal field after
  // far more groups than the table holds, and numbers beyond every range.
  for (const std::string& body : std::vector<std::string>{
           "GPGSV,3,1,10,01,02,03,04,Z", "GPGSV,3,1,10,01,02,03,04,f", "GPGSV,3,1,10,01,02,03,04,10",
        std::string("GPGSV,1,1,99,") + std::string(200, ',') + "1", "GPGSV,3,3,10,1,1",
        "GNGSV,1,1,04,99999999999,1,1,1,-40000,1,1,1,$7FFFFFFF,1,1,1,0,1,1,1,F",
        "GNGSA,A,3,99999,,,,,,,,,,,,1,1,1,99999", "GNGSA,A,3" + std::string(16, ',') + "-1",
        "GNRMC,1,A,1,N,1,E,1,1,010101,1,E,A,VV"}) {
    TSentenceType type;
    EXPECT_TRUE(nmea.DecodeSentence(Sentence(body), type)) << body;
  }
  EXPECT_EQ(nmea.RMC.NavStatus, 0) << "a status of two characters is none";
  EXPECT_EQ(nmea.GSA.System, TSatSystem::Combined);
}

// Captures of receivers that speak the newer forms, decoded line by line: every RMC
// keeps its date, every GSA its fix mode and a system, and each complete GSV cycle
// holds exactly the satellites it announced (up to 12), all of a known system.
struct Capture {
  const char* file;
  bool signalIds;  // GSV of the newer form
  std::map<std::string, TSatSystem> gsvSystems;  // talker -> system
};

// Names the capture in test listings, which would otherwise dump the struct's bytes.
void PrintTo(const Capture& c, std::ostream* os) { *os << c.file; }

class CaptureReplay : public ::testing::TestWithParam<Capture> {};

TEST_P(CaptureReplay, NewerFormsDecodeWhole) {
  const Capture& c = GetParam();
  const std::filesystem::path path =
      std::filesystem::path(ORLIMO_TESTDATA_DIR) / "receiver-logs" / c.file;
  std::ifstream in(path, std::ios::binary);
  if (!in) GTEST_SKIP() << "capture not found: " << path;
  TqvNMEA nmea;
  std::map<TSentenceType, int> counts;
  int withSignal = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    TSentenceType type;
    if (!nmea.DecodeSentence(line, type)) continue;
    ++counts[type];
    if (type == stRMC) {
      EXPECT_NE(nmea.RMC.Date.Day, 0) << line;
    } else if (type == stGSA) {
      EXPECT_NE(nmea.GSA.FixMode, 0) << line;
      EXPECT_NE(nmea.GSA.System, TSatSystem::Unknown) << line;
      if (nmea.GSA.SystemId != 0) {
        EXPECT_EQ(nmea.GSA.System, SystemFromId(nmea.GSA.SystemId)) << line;
      }
    } else if (type == stGSV) {
      const TGSVRecord& v = nmea.GSV;
      if (!c.signalIds) {
        EXPECT_FALSE(v.HasSignalId) << line;
      }
      withSignal += v.HasSignalId;
      EXPECT_EQ(v.System, c.gsvSystems.at(line.substr(1, 2))) << line;
      if (v.MsgNum != v.TotalMsgs) continue;
      int listed = 0;
      for (const TSatInView& s : v.Sats) {
        if (s.PRN == 0) continue;
        ++listed;
        EXPECT_NE(SentenceSystem(line, 0, s.PRN), TSatSystem::Unknown) << line;
      }
      EXPECT_EQ(listed, std::min<int>(v.SatsInView, 12)) << line;
    }
  }
  EXPECT_GT(counts[stRMC], 0);
  EXPECT_GT(counts[stGSA], 0);
  EXPECT_GT(counts[stGSV], 0);
  EXPECT_EQ(withSignal > 0, c.signalIds);
}

INSTANTIATE_TEST_SUITE_P(
    Receivers, CaptureReplay,
    ::testing::Values(
        Capture{"ublox-zed-f9p-nmea.log", true,
                {{"GP", TSatSystem::GPS}, {"GL", TSatSystem::GLONASS},
                 {"GA", TSatSystem::Galileo}, {"GB", TSatSystem::BeiDou}}},
        Capture{"nl2008u.log", true, {{"GP", TSatSystem::GPS}, {"GL", TSatSystem::GLONASS}}},
        Capture{"beidou-gb.log", false, {{"GP", TSatSystem::GPS}, {"GB", TSatSystem::BeiDou}}}),
    [](const auto& info) {
      std::string name = info.param.file;
      name = name.substr(0, name.find('.'));
      for (char& ch : name) if (ch == '-') ch = '_';
      return name;
    });

}  // namespace
}  // namespace orlimo
