#include "app/views/sky_view.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/views/artwork/view_art.h"
#include "app/views/jpeg_decode.h"
#include "app/views/satellite_state.h"
#include "app/views/sky_labels.h"
#include "widgets/pz_label.h"

namespace orlimo {

namespace {

constexpr QColor kPanelColor{0x00, 0x2E, 0x5B};
constexpr int kPlotDiameter = 180;

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
  std::vector<TDot> dots;
  if (sky.SeveralCycles()) {
    if (m_showsSky && sky.Revision() == m_skyRevision) return;
    m_showsSky = true;
    m_skyRevision = sky.Revision();
    for (const TSkySat& sat : sky.Satellites()) {
      if (!sat.HasPosition) continue;
      dots.push_back({sat.Elevation, sat.Azimuth, GetSatelliteState(sat).color,
                      QString::fromLatin1(TSatName(sat.System, sat.Number).View())});
    }
  } else {
    const TGSVRecord& gsv = nmea.GSV;
    if (!IsCompleteReport(gsv)) return;
    m_showsSky = false;
    const int n = ShownSlotCount(gsv);
    for (int i = 1; i <= n; ++i) {
      const TSatInView& sat = gsv.Sats[static_cast<std::size_t>(i - 1)];
      if (!HasSkyPosition(sat)) continue;
      dots.push_back(
          {sat.Elevation, sat.Azimuth, GetSatelliteState(gsv, nmea.GSA, i).color, QString::number(sat.PRN)});
    }
  }
  // The same dots again would leave the layer, and the screen, as they are.
  if (!m_layer.isNull() && dots == m_dots) return;
  DrawDots(dots);
  m_dots = std::move(dots);
  update();
}

void TSkyView::DrawDots(const std::vector<TDot>& dots) {
  if (m_layer.isNull()) m_layer = QImage(viewart::kSkySize, viewart::kSkySize, QImage::Format_ARGB32_Premultiplied);
  m_layer.fill(Qt::transparent);
  m_labelRects.clear();
  QPainter p(&m_layer);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(9);  // 7 points on a 96 dpi screen
  font.setBold(true);
  p.setFont(font);
  const QFontMetrics metrics(font);

  std::vector<QPoint> centres;
  std::vector<QSize> sizes;
  centres.reserve(dots.size());
  sizes.reserve(dots.size());
  for (const TDot& dot : dots) {
    const QPoint c = PolarToPoint(dot.azimuth, SkyRadius(dot.elevation), m_layer.width(), m_layer.height());
    centres.push_back(c);
    sizes.emplace_back(std::max(metrics.horizontalAdvance(dot.label), metrics.boundingRect(dot.label).width()),
                       metrics.height());
    p.setPen(dot.colour);
    p.setBrush(dot.colour);
    // corners (x - 7, y - 7) and (x + 7, y + 7), the far edge exclusive
    p.drawEllipse(QRect(c.x() - kDotRadius, c.y() - kDotRadius, 2 * kDotRadius - 1, 2 * kDotRadius - 1));
  }
  // Names after every dot, so no later dot hides one. A name moved off its dot
  // takes the dot's colour: black would vanish on the navy field.
  const auto labels = PlaceSkyLabels(centres, sizes, m_layer.size());
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (!labels[i]) continue;
    p.setPen(labels[i]->onDot ? QColor(Qt::black) : dots[i].colour);
    p.drawText(labels[i]->rect, Qt::AlignHCenter | Qt::AlignTop, dots[i].label);
    m_labelRects.push_back(labels[i]->rect);
  }
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
