#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <unistd.h>

#include "capture_fixes.h"
#include "measure/gpx.h"
#include "measure/thinned_track.h"
#include "nmea/decoder.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

std::string WithChecksum(const std::string& body) { return body + NMEAChecksumSuffix(body); }

std::vector<TTrackPoint> TrackOf(const std::vector<std::string>& sentences) {
  TqvNMEA nmea;
  TGpxTrack track;
  for (const std::string& s : sentences) {
    TSentenceType type;
    if (nmea.DecodeSentence(s, type)) track.Add(type, s, nmea);
  }
  track.Flush();
  return track.Points();
}

// One epoch each: a differential fix just before midnight; a GGA-only one after it
// (the date unknown: no time); a GGA without a fix that RMC contradicts (no point);
// an RMC-only one with the new date. Written under a comma-decimal locale.
TEST(Gpx, TrackPointsCarryTheirEpochInSchemaOrder) {
  const std::vector<TTrackPoint> points = TrackOf({
      WithChecksum("$GPRMC,235959.50,A,4807.0380,N,01131.0000,E,0.0,0.0,010624,,,D"),
      WithChecksum("$GPGGA,235959.50,4807.0380,N,01131.0000,E,2,08,0.9,545.4,M,46.9,M,,"),
      WithChecksum("$GPGSA,A,3,04,05,09,12,,,,,,,,,2.5,1.3,2.1"),
      WithChecksum("$GPGGA,000000.00,4807.0390,N,01131.0010,E,1,05,1.5,546.0,M,46.9,M,,"),
      WithChecksum("$GPGSA,A,2,04,05,09,,,,,,,,,,2.5,1.3,2.1"),
      WithChecksum("$GPGGA,000001.00,,,,,0,00,,,M,,M,,"),
      WithChecksum("$GPRMC,000001.00,A,4807.0380,N,01131.0000,E,0.0,0.0,020624,,,A"),
      WithChecksum("$GPRMC,000002.00,A,4807.0400,S,01131.0020,W,0.0,0.0,020624,,,A"),
  });
  const char* before = std::setlocale(LC_ALL, nullptr);
  const std::string saved = before ? before : "C";
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  std::ostringstream out;
  WriteGpx(out, "bench <1> & \"2\"", points);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(out.str(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<gpx version=\"1.1\" creator=\"bench &lt;1&gt; &amp; &quot;2&quot;\" xmlns=\"http://www.topografix.com/GPX/1/1\""
            " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1"
            " http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
            "  <trk>\n"
            "    <trkseg>\n"
            "      <trkpt lat=\"48.117300000\" lon=\"11.516666667\"><ele>545.4</ele><time>2024-06-01T23:59:59.5Z</time>"
            "<fix>dgps</fix><sat>8</sat><hdop>0.9</hdop></trkpt>\n"
            "      <trkpt lat=\"48.117316667\" lon=\"11.516683333\"><ele>546</ele><fix>2d</fix><sat>5</sat>"
            "<hdop>1.5</hdop></trkpt>\n"
            "      <trkpt lat=\"-48.117333333\" lon=\"-11.516700000\"><time>2024-06-02T00:00:02Z</time><fix>2d</fix></trkpt>\n"
            "    </trkseg>\n"
            "  </trk>\n"
            "</gpx>\n");
}

std::string Output(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  char buf[512];
  while (p && std::fgets(buf, sizeof buf, p)) out += buf;
  if (p) pclose(p);
  return out;
}

std::vector<std::string> SplitCsv(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::vector<std::string> cells;
  std::stringstream in(line);
  for (std::string cell; std::getline(in, cell, ',');) {
    if (cell.size() >= 2 && cell.front() == '"') cell = cell.substr(1, cell.size() - 2);
    cells.push_back(cell);
  }
  return cells;
}

// Another program reads our tracks: every fix of every capture comes back with its
// position and, where the capture's RMC dates it, its date and time.
TEST(Gpx, TracksOfTheCapturesReadBackThroughGpsbabel) {
  if (!std::filesystem::exists(test::CaptureDir())) GTEST_SKIP() << "no captures at " << test::CaptureDir();
  if (std::system("command -v gpsbabel >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "gpsbabel (Debian package gpsbabel) is not installed";
  const std::filesystem::path file = std::filesystem::temp_directory_path() / ("orlimo-gpx-" + std::to_string(::getpid()) + ".gpx");
  int read = 0;
  for (const auto& log : test::Captures()) {
    const std::vector<test::CaptureFix> fixes = test::CaptureFixes(log);
    if (fixes.empty()) continue;
    SCOPED_TRACE(log.filename().string());
    {
      std::vector<std::string> sentences = test::CaptureSentences(log);
      std::ofstream out(file);
      WriteGpx(out, "test", TrackOf(sentences));
    }
    // unicsv writes waypoints unless -t asks for the tracks.
    std::stringstream csv(Output("gpsbabel -t -i gpx -f " + file.string() + " -o unicsv -F -"));
    std::string line;
    std::getline(csv, line);
    const std::vector<std::string> header = SplitCsv(line);
    auto column = [&](const char* name) { return std::find(header.begin(), header.end(), name) - header.begin(); };
    std::size_t row = 0;
    for (; std::getline(csv, line); ++row) {
      ASSERT_LT(row, fixes.size()) << line;
      const std::vector<std::string> cells = SplitCsv(line);
      const test::CaptureFix& want = fixes[row];
      EXPECT_NEAR(test::Num(cells.at(column("Latitude"))), want.lat, 6e-7) << line;
      EXPECT_NEAR(test::Num(cells.at(column("Longitude"))), want.lon, 6e-7) << line;
      if (want.date.size() != 6) continue;
      const int yy = std::stoi(want.date.substr(4, 2));
      EXPECT_EQ(cells.at(column("Date")), std::to_string(yy >= 80 ? 1900 + yy : 2000 + yy) + "/" +
                                              want.date.substr(2, 2) + "/" + want.date.substr(0, 2));
      EXPECT_EQ(cells.at(column("Time")).substr(0, 8),
                want.time.substr(0, 2) + ":" + want.time.substr(2, 2) + ":" + want.time.substr(4, 2));
    }
    EXPECT_EQ(row, fixes.size());
    ++read;
  }
  std::filesystem::remove(file);
  EXPECT_GE(read, 15);
}

// Past its cap a track halves itself and keeps one new point in two, then in four:
// what stays is evenly spaced from the first point on.
TEST(Gpx, AThinnedTrackStaysEvenlySpreadWithinItsCap) {
  TThinnedTrack track(4);
  for (int i = 0; i < 10; ++i) {
    TTrackPoint p;
    p.lat = i;
    track.Add(p);
  }
  std::vector<double> lats;
  for (const TTrackPoint& p : track.Points()) lats.push_back(p.lat);
  EXPECT_EQ(lats, (std::vector<double>{0, 4, 8}));
}

}  // namespace
}  // namespace orlimo
