// views_snapshot [folder]: renders the three views with the sample report and
// a speed of 100 knots to PNG files (default folder /tmp).
#include <QApplication>
#include <QImage>

#include "app/views/satellite_view.h"
#include "app/views/sky_view.h"
#include "app/views/speed_view.h"
#include "views_test_support.h"

namespace {

QImage Render(QWidget& w) {
  QImage img(w.size(), QImage::Format_RGB32);
  img.fill(Qt::black);
  w.render(&img);
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp");
  using namespace orlimo;
  TqvNMEA nmea = test::SampleReport();
  test::Feed(nmea, "$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B");

  TSatelliteView sats;
  sats.ShowSatelliteTable(nmea);
  TSkyView sky;
  sky.DrawSkyView(nmea);
  TSpeedView speed;
  speed.ShowSpeedAndCourse(nmea);
  bool ok = Render(sats).save(dir + "/views_satellites.png");
  ok = Render(sky).save(dir + "/views_sky.png") && ok;
  ok = Render(speed).save(dir + "/views_speed_km.png") && ok;
  nmea.RMC.SpeedKnots = 100;
  nmea.RMC.Course = 90;
  speed.rgUNITClick(1);
  speed.ShowSpeedAndCourse(nmea);
  ok = Render(speed).save(dir + "/views_speed_mile.png") && ok;
  nmea.RMC.SpeedKnots = 400;
  speed.rgUNITClick(0);
  speed.ShowSpeedAndCourse(nmea);
  ok = Render(speed).save(dir + "/views_speed_over.png") && ok;
  return ok ? 0 : 1;
}
