#include "app/views/speed_view.h"

#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdint>

#include "app/views/artwork/view_art.h"
#include "app/views/readings.h"

namespace orlimo {

namespace {

constexpr QColor kPanelColor{0x00, 0x40, 0x80};

QFont ArialBold(int pixels) {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixels);
  f.setBold(true);
  return f;
}

QLabel* CaptionLabel(QWidget* parent, const QString& text, const QRect& geometry, int pixels) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(geometry);
  l->setFont(ArialBold(pixels));
  l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  l->setAttribute(Qt::WA_TransparentForMouseEvents);
  return l;
}

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, colour);
  label->setPalette(pal);
}

}  // namespace

TSpeedView::TSpeedView(QWidget* parent)
    : QWidget(parent),
      m_client(new QWidget(this)),
      m_kmDial(viewart::KmDialPicture()),
      m_mileDial(viewart::MileDialPicture()),
      m_tenths([] { return static_cast<int>(QRandomGenerator::global()->bounded(10)); }) {
  setFixedSize(kSize);
  m_client->setGeometry(QRect(kClientOrigin, kSize - QSize(4, 4)));
  m_client->setAutoFillBackground(true);
  QPalette pal = m_client->palette();
  pal.setColor(QPalette::Window, kPanelColor);
  m_client->setPalette(pal);

  // back to front
  ImgMeter = new QLabel(m_client);
  ImgMeter->setGeometry(0, 0, 246, 246);
  ImgMeter->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  pzLabel2 = new TpzLabel(m_client);
  pzLabel2->setGeometry(91, 169, 67, 27);
  pzLabel2->setAutoSize(false);
  pzLabel2->setAlignment(TAlignment::taCenter);
  pzLabel2->setBevelInner(TLabelBevel::lbRaised);
  pzLabel2->setBevelOuter(TLabelBevel::lbLowered);
  pzLabel2->setColor(Qt::black);

  dkOdometer1 = new TdkOdometer(m_client);
  dkOdometer1->setDigitStrip(viewart::DigitStrip());
  dkOdometer1->setRedDigitStrip(viewart::RedDigitStrip());
  dkOdometer1->setAnimationType(TAnimationType::atAsynchronous);
  dkOdometer1->setFrameInterval(100);
  dkOdometer1->setBaseType(TBaseType::btDecimal);
  dkOdometer1->setDigitCount(4);
  dkOdometer1->setRedDigitCount(1);
  dkOdometer1->setIncTopToBottom(false);
  dkOdometer1->setValue(0);
  dkOdometer1->move(95, 174);

  // Captions centred where the designed labels sit, in boxes wide enough for
  // "Mile/H" and for an edition's own maker caption.
  lbQUORVEX = CaptionLabel(m_client, QStringLiteral("QUORVEX"), QRect(72, 87, 100, 14), 11);
  lbSPEED = CaptionLabel(m_client, QStringLiteral("Km/H"), QRect(80, 152, 90, 19), 16);
  SetTextColour(lbQUORVEX, QColor(0x80, 0x00, 0xFF));
  SetTextColour(lbSPEED, QColor(0x00, 0x80, 0x40));

  qvMeterX2 = new TqvMeterX(m_client);
  qvMeterX2->move(-4, -5);
  qvMeterX2->setMeterSize(250);
  qvMeterX2->setHeading(0);
  qvMeterX2->setNeedleLength(96);
  qvMeterX2->setNeedleLen0(94);
  qvMeterX2->setNeedleWidth(1);
  qvMeterX2->setColor(kHubColor);
  qvMeterX2->setOuterCircleWidth(1);
  qvMeterX2->setCenterCircleWidth(2);
  qvMeterX2->setCenterCircleColor(Qt::black);
  qvMeterX2->setNeedleColor(QColor(0x80, 0xBF, 0xFF));
  qvMeterX2->setArrAngle(5);
  qvMeterX2->setArrLen(8);
  qvMeterX2->setArrAngleLen(92);
  qvMeterX2->setArrFill(true);
  qvMeterX2->setArrFillColor(QColor(0x80, 0xFF, 0xFF));

  qvMeterX3 = new TqvMeterX(m_client);
  qvMeterX3->move(2, 1);
  qvMeterX3->setMeterSize(240);
  qvMeterX3->setHeading(kScaleZeroHeading);
  qvMeterX3->setNeedleLength(78);
  qvMeterX3->setNeedleLen0(0);
  qvMeterX3->setNeedleWidth(2);
  qvMeterX3->setColor(kHubColor);
  qvMeterX3->setOuterCircleWidth(2);
  qvMeterX3->setCenterCircleWidth(20);
  qvMeterX3->setCenterCircleColor(QColor(0x80, 0x00, 0x80));
  qvMeterX3->setNeedleColor(QColor(0xFF, 0x80, 0x80));
  qvMeterX3->setArrAngle(0);
  qvMeterX3->setArrLen(10);
  qvMeterX3->setArrAngleLen(90);
  qvMeterX3->setArrFill(false);
  qvMeterX3->setArrFillColor(Qt::yellow);

  for (QWidget* overlay : {static_cast<QWidget*>(qvMeterX2), static_cast<QWidget*>(qvMeterX3)})
    overlay->setAttribute(Qt::WA_TransparentForMouseEvents);

  SelectKmUnit();
}

void TSpeedView::rgUNITClick(int itemIndex) {
  if (itemIndex == 0)
    SelectKmUnit();
  else if (itemIndex == 1)
    SelectMileUnit();
  else
    return;
  if (m_refreshViews) m_refreshViews();
}

void TSpeedView::SelectKmUnit() {
  m_unitIndex = 0;
  ApplyUnit(m_kmDial, QColor(0xFF, 0xFF, 0x00), QColor(0x80, 0xFF, 0x80), QStringLiteral("Km/H"),
            kKmSpeedFactor);
}

void TSpeedView::SelectMileUnit() {
  m_unitIndex = 1;
  ApplyUnit(m_mileDial, QColor(0x00, 0x80, 0x40), QColor(0x80, 0x00, 0xFF), QStringLiteral("Mile/H"),
            kMileSpeedFactor);
}

void TSpeedView::ApplyUnit(const QImage& dial, const QColor& speedColor, const QColor& makerColor,
                           const QString& caption, double factor) {
  m_dial = dial;
  ImgMeter->setPixmap(QPixmap::fromImage(dial));
  SetTextColour(lbSPEED, speedColor);
  SetTextColour(lbQUORVEX, makerColor);
  lbSPEED->setText(caption);
  m_speedFactor = factor;
}

void TSpeedView::ShowSpeedAndCourse(const TqvNMEA& nmea) {
  // No value is shown at rest: counter 0, needle at zero, pointer north.
  const double v = SpeedReading(nmea.RMC.SpeedKnots).value_or(0);
  // A counter set where it stands would be painted again, and the dial under it; a
  // counter still rolling is set anyway, which puts its wheels in place.
  const std::uint32_t counter = SpeedCounterValue(v, m_speedFactor);
  if (counter != dkOdometer1->value() || dkOdometer1->isAnimating()) dkOdometer1->setValue(counter);
  qvMeterX2->setHeading(CourseHeading(CourseReading(nmea.RMC.Course).value_or(0)));
  const int fullScale = m_unitIndex == 1 ? kMileFullScale : kKmFullScale;
  ApplyNeedle(SpeedNeedle(v, m_speedFactor, fullScale));
}

void TSpeedView::ScrollBarMeterChange(int position) {
  const int tenths = m_tenths ? m_tenths() : 0;
  const long long value = std::clamp<long long>(tenths + 10LL * position, 0, UINT32_MAX);
  dkOdometer1->setValue(static_cast<std::uint32_t>(value));
  qvMeterX2->setHeading(position);
  ApplyNeedle(SliderNeedle(position));
}

void TSpeedView::ApplyNeedle(TNeedlePosition needle) {
  // the hub colour changes only on a transition into or out of over-range
  if (needle.overRange) {
    if (qvMeterX3->color() != kOverRangeHubColor) qvMeterX3->setColor(kOverRangeHubColor);
  } else if (qvMeterX3->color() == kOverRangeHubColor) {
    qvMeterX3->setColor(kHubColor);
  }
  qvMeterX3->setHeading(needle.heading);
}

void TSpeedView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRect r = rect();
  frame3D(p, r, palette().color(QPalette::Dark), palette().color(QPalette::Light), 1);
  frame3D(p, r, palette().color(QPalette::Shadow), palette().color(QPalette::Midlight), 1);
}

}  // namespace orlimo
