// One full refresh of the satellite, sky and speed views with twelve
// satellites, each view painted offscreen as the window would show it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "app/views/satellite_view.h"
#include "app/views/sky_view.h"
#include "app/views/speed_view.h"
#include "nmea/decoder.h"

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

void BM_RefreshAndPaintViews(benchmark::State& state) {
  App();
  TSatelliteView sats;
  TSkyView sky;
  TSpeedView speed;
  TqvNMEA nmea = TwelveSatellites();
  QImage satsImg(sats.size(), QImage::Format_ARGB32_Premultiplied);
  QImage skyImg(sky.size(), QImage::Format_ARGB32_Premultiplied);
  QImage speedImg(speed.size(), QImage::Format_ARGB32_Premultiplied);
  int tick = 0;
  for (auto _ : state) {
    // the speed moves a little every second, as it would on the road
    nmea.RMC.SpeedKnots = 20 + (tick++ % 50) * 0.37;
    sats.ShowSatelliteTable(nmea);
    sky.DrawSkyView(nmea);
    speed.ShowSpeedAndCourse(nmea);
    sats.render(&satsImg);
    sky.render(&skyImg);
    speed.render(&speedImg);
    benchmark::DoNotOptimize(satsImg.constBits());
  }
}
BENCHMARK(BM_RefreshAndPaintViews)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
