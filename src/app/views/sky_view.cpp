#include "app/views/sky_view.h"

#include <QFile>
#include <QPainter>

#include <cmath>
#include <numbers>

#include "app/views/artwork/view_art.h"
#include "app/views/jpeg_decode.h"
#include "app/views/satellite_state.h"
#include "widgets/pz_label.h"

namespace orlimo {

namespace {

constexpr QColor kPanelColor{0x00, 0x2E, 0x5B};
constexpr int kPlotDiameter = 180;
constexpr int kLabelRise = 5;  // the PRN's top edge above the dot centre

}  // namespace

QPoint PolarToPoint(int angle, int radius, int width, int height) {
  const double a = angle * std::numbers::pi / 180.0;
  const double x = std::trunc(radius * std::sin(a) + width / 2.0);
  const double y = width - std::trunc(radius * std::cos(a) + height / 2.0);
  return {static_cast<int>(x), static_cast<int>(y)};
}

int SkyRadius(int elevation) {
  // In whole numbers: (90 - el) / 90 * D / 2 is exact for every elevation,
  // where floating point would put some dots a pixel off.
  return (90 - elevation) * kPlotDiameter / 180;
}

QImage LoadSkyBackground(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  return DecodeJpeg(reinterpret_cast<const unsigned char*>(data.constData()),
                    static_cast<std::size_t>(data.size()));
}

TSkyView::TSkyView(QWidget* parent) : QWidget(parent) {
  setFixedSize(kSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetBackgroundPicture(LoadSkyBackground());
}

void TSkyView::SetBackgroundPicture(const QImage& picture) {
  m_background = QImage(viewart::kSkySize, viewart::kSkySize, QImage::Format_RGB32);
  m_background.fill(viewart::kSkyNavy);
  m_hasPicture = !picture.isNull();
  if (m_hasPicture) {
    QPainter p(&m_background);
    p.drawImage(0, 0, picture);
  }
  update();
}

void TSkyView::DrawSkyView(const TqvNMEA& nmea) {
  const TSkyPicture& sky = nmea.Sky;
  if (sky.SeveralCycles()) {
    if (m_showsSky && sky.Revision() == m_skyRevision) return;
    m_showsSky = true;
    m_skyRevision = sky.Revision();
    QPainter p;
    BeginLayer(p);
    for (const TSkySat& sat : sky.Satellites()) {
      if (!sat.HasPosition) continue;
      DrawDot(p, sat.Elevation, sat.Azimuth, GetSatelliteState(sat).color,
              QString::fromLatin1(TSatName(sat.System, sat.Number).View()));
    }
    p.end();
    update();
    return;
  }
  const TGSVRecord& gsv = nmea.GSV;
  if (!IsCompleteReport(gsv)) return;
  m_showsSky = false;
  QPainter p;
  BeginLayer(p);
  const int n = ShownSlotCount(gsv);
  for (int i = 1; i <= n; ++i) {
    const TSatInView& sat = gsv.Sats[static_cast<std::size_t>(i - 1)];
    if (!HasSkyPosition(sat)) continue;
    DrawDot(p, sat.Elevation, sat.Azimuth, GetSatelliteState(gsv, nmea.GSA, i).color, QString::number(sat.PRN));
  }
  p.end();
  update();
}

QPainter& TSkyView::BeginLayer(QPainter& p) {
  if (m_layer.isNull()) m_layer = QImage(viewart::kSkySize, viewart::kSkySize, QImage::Format_ARGB32_Premultiplied);
  m_layer.fill(Qt::transparent);
  p.begin(&m_layer);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(9);  // 7 points on a 96 dpi screen
  font.setBold(true);
  p.setFont(font);
  return p;
}

void TSkyView::DrawDot(QPainter& p, int elevation, int azimuth, const QColor& colour, const QString& label) {
  const QPoint c = PolarToPoint(azimuth, SkyRadius(elevation), m_layer.width(), m_layer.height());
  p.setPen(colour);
  p.setBrush(colour);
  // corners (x - 7, y - 7) and (x + 7, y + 7), the far edge exclusive
  p.drawEllipse(QRect(c.x() - kDotRadius, c.y() - kDotRadius, 2 * kDotRadius - 1, 2 * kDotRadius - 1));
  p.setPen(Qt::black);
  p.drawText(QRect(c.x() - 20, c.y() - kLabelRise, 40, 20), Qt::AlignHCenter | Qt::AlignTop, label);
}

QImage TSkyView::ComposedSky() const {
  QImage sky = m_background;
  if (!m_layer.isNull()) {
    QPainter p(&sky);
    p.drawImage(0, 0, m_layer);
  }
  return sky;
}

void TSkyView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kPanelColor);
  QRect r = rect();
  // sunken single border, then the lowered inner bevel
  frame3D(p, r, palette().color(QPalette::Dark), palette().color(QPalette::Light), 1);
  frame3D(p, r, palette().color(QPalette::Shadow), palette().color(QPalette::Midlight), 1);
  frame3D(p, r, palette().color(QPalette::Dark), palette().color(QPalette::Light), 1);
  p.drawImage(kSkyOrigin, m_background);
  if (!m_layer.isNull()) p.drawImage(kSkyOrigin, m_layer);
}

}  // namespace orlimo
