// One full refresh of the satellite, sky and speed views with twelve
// satellites, and with forty of four systems, each view painted offscreen as the
// window would show it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "app/views/satellite_view.h"
#include "app/views/sky_view.h"
#include "app/views/speed_view.h"
#include "nmea/decoder.h"
#include "nmea/sentence.h"

#include <string>
#include <vector>

namespace {
using namespace orlimo;

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_views";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

TqvNMEA TwelveSatellites() {
  TqvNMEA nmea;
  nmea.GSV.TotalMsgs = nmea.GSV.MsgNum = 3;
  nmea.GSV.SatsInView = 12;
  for (int i = 0; i < 12; ++i)
    nmea.GSV.Sats[size_t(i)] = {std::int16_t(i * 2 + 1), std::int8_t(5 + i * 7), std::int16_t(i * 29),
                                std::int8_t(15 + i * 3)};
  nmea.GSA.UsedCount = 6;
  nmea.GSA.UsedPRN = {1, 3, 5, 7, 9, 11};
  nmea.RMC.SpeedKnots = 22.12;
  nmea.RMC.Course = 251.43;
  return nmea;
}

// The three views and the pictures they are painted into, as the window shows them.
struct Views {
  TSatelliteView sats;
  TSkyView sky;
  TSpeedView speed;
  QImage satsImg{sats.size(), QImage::Format_ARGB32_Premultiplied};
  QImage skyImg{sky.size(), QImage::Format_ARGB32_Premultiplied};
  QImage speedImg{speed.size(), QImage::Format_ARGB32_Premultiplied};

  void Refresh(const TqvNMEA& nmea) {
    sats.ShowSatelliteTable(nmea);
    sky.DrawSkyView(nmea);
    speed.ShowSpeedAndCourse(nmea);
  }
  void Paint() {
    sats.render(&satsImg);
    sky.render(&skyImg);
    speed.render(&speedImg);
    benchmark::DoNotOptimize(satsImg.constBits());
  }
};

void BM_RefreshAndPaintViews(benchmark::State& state) {
  App();
  Views views;
  TqvNMEA nmea = TwelveSatellites();
  int tick = 0;
  for (auto _ : state) {
    // the speed moves a little every second, as it would on the road
    nmea.RMC.SpeedKnots = 20 + (tick++ % 50) * 0.37;
    views.Refresh(nmea);
    views.Paint();
  }
}
BENCHMARK(BM_RefreshAndPaintViews)->Unit(benchmark::kMillisecond);

// A second of a four-system receiver: ten satellites per system in three GSV
// messages each, one GSA per system with six used, then the RMC.
std::vector<std::string> FortySatelliteEpoch(int second) {
  std::vector<std::string> lines;
  const auto add = [&](std::string body) { lines.push_back(body + NMEAChecksumSuffix(body)); };
  const char* talkers[] = {"GP", "GL", "GA", "GB"};
  for (int t = 0; t < 4; ++t) {
    const int base = t == 1 ? 64 : 0;
    for (int m = 1; m <= 3; ++m) {
      std::string body = std::string("$") + talkers[t] + "GSV,3," + std::to_string(m) + ",10";
      for (int i = 4 * (m - 1) + 1; i <= std::min(10, 4 * m); ++i) {
        const int snr = 15 + (i * 7 + t * 5 + second) % 35;
        for (int field : {base + i, 5 + i * 8, (i * 36 + t * 9) % 360, snr}) {
          body += ',';
          body += std::to_string(field);
        }
      }
      add(body + ",1");
    }
  }
  for (int t = 0; t < 4; ++t) {
    const int base = t == 1 ? 64 : 0;
    std::string body = "$GNGSA,A,3";
    for (int i = 1; i <= 12; ++i) {
      body += ',';
      if (i <= 6) body += std::to_string(base + i);
    }
    add(body + ",1.0,0.6,0.8," + std::to_string(t + 1));
  }
  add("$GNRMC,120000.00,A,4807.038,N,01131.000,E,22.1,251.4,010120,,,A,V");
  return lines;
}

void BM_RefreshAndPaintFortySatellites(benchmark::State& state) {
  App();
  Views views;
  TqvNMEA nmea;
  std::vector<std::vector<std::string>> epochs;
  for (int s = 0; s < 10; ++s) epochs.push_back(FortySatelliteEpoch(s));
  std::size_t tick = 0;
  for (auto _ : state) {
    // A new second's sentences change every signal, so every view redraws.
    for (const std::string& line : epochs[tick++ % epochs.size()]) {
      TSentenceType type{};
      nmea.DecodeSentence(line, type);
      nmea.Sky.AddSentence(type, line);
    }
    views.Refresh(nmea);
    nmea.Sky.EndRefresh();
    views.Paint();
  }
  state.counters["in_view"] = static_cast<double>(nmea.Sky.Satellites().size());
}
BENCHMARK(BM_RefreshAndPaintFortySatellites)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
