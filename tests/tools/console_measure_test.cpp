// The measurements of the command-line programs: orlimo-console's accuracy line and
// track, and nmeadump's --gpx.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "../child_process.h"
#include <string>

#include "console_accuracy.h"
#include "nmea/sentence.h"
#include "nmeadump/dump.h"

namespace orlimo {
namespace {

TEST(ConsoleAccuracy, OptionsAndTheLineScriptsParse) {
  ConsoleMeasureOptions o;
  EXPECT_EQ(ParseMeasureOption("--reference", "44.5,-121.25,1140.5", o), 2);
  EXPECT_TRUE(o.accuracy) << "a reference asks for the figures";
  EXPECT_EQ(o.reference->lat, 44.5);
  EXPECT_EQ(o.reference->lon, -121.25);
  EXPECT_EQ(o.reference->height, 1140.5);
  EXPECT_EQ(ParseMeasureOption("--reference", "44.5,-121.25", o), 2);
  EXPECT_FALSE(o.reference->height);
  for (const char* bad : {"44.5", "44.5,", "91,0", "1,2,3,4", "1;2", "a,b"})
    EXPECT_EQ(ParseMeasureOption("--reference", bad, o), 0) << bad;
  EXPECT_EQ(ParseMeasureOption("--reference", nullptr, o), 0);
  EXPECT_EQ(ParseMeasureOption("--gpx", "track.gpx", o), 2);
  EXPECT_EQ(o.gpxPath, "track.gpx");

  EXPECT_EQ(AccuracyLine({}), "accuracy: {\"fixes\":0,\"cep50_m\":null,\"cep95_m\":null,\"drms2_m\":null,"
                              "\"mean_lat\":null,\"mean_lon\":null,\"mean_height_m\":null,\"vertical95_m\":null}");
  TAccuracyFigures f;
  f.fixes = 12;
  f.cep50 = 1.23456;
  f.cep95 = 2.0;
  f.drms2 = 3.0004;
  f.meanLat = 44.069010501;
  f.meanLon = -121.314246333333;
  f.lastError = 9;
  EXPECT_EQ(AccuracyLine(f), "accuracy: {\"fixes\":12,\"cep50_m\":1.235,\"cep95_m\":2.000,\"drms2_m\":3.000,"
                             "\"mean_lat\":44.06901050,\"mean_lon\":-121.31424633,\"mean_height_m\":null,"
                             "\"vertical95_m\":null}");
}

TEST(NmeaDump, GpxPrintsATrackInsteadOfJson) {
  const std::string gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
  const std::string rmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
  std::istringstream in(gga + NMEAChecksumSuffix(gga) + "\r\n" + rmc + NMEAChecksumSuffix(rmc) + "\r\n");
  std::ostringstream out, err;
  const char* args[] = {"--gpx"};
  ASSERT_EQ(RunNmeaDump(1, args, in, out, err), 0);
  EXPECT_EQ(out.str().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\"", 0), 0u);
  EXPECT_NE(out.str().find("<trkpt lat=\"48.117300000\" lon=\"11.516666667\"><ele>545.4</ele>"
                           "<time>1994-03-23T12:35:19Z</time><sat>8</sat><hdop>0.9</hdop></trkpt>\n"
                           "    </trkseg>\n  </trk>\n</gpx>\n"),
            std::string::npos)
      << out.str();
  EXPECT_EQ(err.str(), "lines read: 2, accepted: 2, rejected: 0\n  RMC: 1\n  GGA: 1\n");
  const char* twoFiles[] = {"--gpx", "a.log", "b.log"};
  EXPECT_EQ(RunNmeaDump(3, twoFiles, in, out, err), 2);
}

TEST(NmeaDump, AnUnknownOptionIsNamed) {
  std::istringstream in;
  std::ostringstream out, err;
  const char* args[] = {"--gpx", "--bogus", "a.log"};
  EXPECT_EQ(RunNmeaDump(3, args, in, out, err), 2);
  EXPECT_EQ(err.str(), "nmeadump: unknown option --bogus (--help lists them)\n");
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A replayed capture: the figures at the end (in a comma-decimal locale: still '.'),
// and the track with a point for every fix they counted.
TEST(ConsoleAccuracy, AReplayPrintsItsFiguresAndWritesItsTrack) {
  const std::string capture = std::string(ORLIMO_TESTDATA_DIR) + "/receiver-logs/neo-m8n.log";
  if (!std::filesystem::exists(capture)) GTEST_SKIP() << "no captures at " << capture;
  const test::TempDir scratch;
  ASSERT_FALSE(scratch.path.empty());
  const std::string& dir = scratch.path;
  const std::string command = "LC_ALL=de_DE.UTF-8 " ORLIMO_CONSOLE_PATH " --replay " + capture +
                              " --replay-speed 8 --seconds 3 --reference 44.069,-121.3142,1140 --gpx " + dir +
                              "/track.gpx --data-dir " + dir;
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  char buf[512];
  while (p && std::fgets(buf, sizeof buf, p)) out += buf;
  const int status = p ? pclose(p) : -1;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;

  const std::regex line(
      "\naccuracy: \\{\"fixes\":([0-9]+),\"cep50_m\":[0-9]+\\.[0-9]{3},\"cep95_m\":[0-9]+\\.[0-9]{3},"
      "\"drms2_m\":[0-9]+\\.[0-9]{3},\"mean_lat\":44\\.[0-9]{8},\"mean_lon\":-121\\.[0-9]{8},"
      "\"mean_height_m\":11[0-9]{2}\\.[0-9]{3},\"vertical95_m\":[0-9]+\\.[0-9]{3}\\}\n");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(out, m, line)) << out;
  const int fixes = std::stoi(m[1]);
  EXPECT_GT(fixes, 3);
  const std::string track = ReadFile(dir + "/track.gpx");
  std::ptrdiff_t points = 0;
  for (std::size_t at = 0; (at = track.find("<trkpt ", at)) != std::string::npos; ++at) ++points;
  EXPECT_EQ(points, fixes);
  EXPECT_NE(track.find("<time>2015-03-18T"), std::string::npos);
}

}  // namespace
}  // namespace orlimo
