// The two speed dials. Geometry is in compass degrees about kDialCentre.
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

#include "app/views/artwork/view_art.h"

namespace orlimo::viewart {

namespace {

constexpr double kScaleStart = 225.0;  // compass angle of the scale's zero
constexpr double kScaleSweep = 270.0;
constexpr int kScaleSteps = 12;

QPointF At(double degrees, double radius) {
  const double a = degrees * std::numbers::pi / 180.0;
  return {kDialCentre.x() + 0.5 + radius * std::sin(a), kDialCentre.y() + 0.5 - radius * std::cos(a)};
}

QFont Bold(int pixels) {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixels);
  f.setBold(true);
  return f;
}

struct DialColours {
  QColor faceInner, faceOuter, scale, label, minor, ring, ringText;
};

// Text centred on `at` by its ink, turned `rotation` degrees clockwise.
void InkCentredText(QPainter& p, QPointF at, double rotation, const QString& text) {
  const QRectF ink = QFontMetricsF(p.font()).tightBoundingRect(text);
  p.save();
  p.translate(at);
  p.rotate(rotation);
  p.drawText(-ink.center(), text);
  p.restore();
}

void DrawCompassRing(QPainter& p, const DialColours& c) {
  const QPointF centre = At(0, 0);
  // a thin bezel, then the ring: the course pointer runs over its ticks, and the
  // letters stand beyond the pointer's reach
  QRadialGradient bezel(centre, 121);
  bezel.setColorAt(0.97, QColor(0x50, 0x58, 0x60));
  bezel.setColorAt(0.985, QColor(0xD8, 0xDC, 0xE0));
  bezel.setColorAt(1.0, QColor(0x40, 0x44, 0x48));
  p.setPen(Qt::NoPen);
  p.setBrush(bezel);
  p.drawEllipse(centre, 120, 120);
  p.setBrush(c.ring);
  p.drawEllipse(centre, 118, 118);

  for (int d = 0; d < 360; d += 10) {
    const bool major = d % 30 == 0;
    p.setPen(QPen(QColor(0xC8, 0xD0, 0xD8), major ? 2 : 1));
    p.drawLine(At(d, major ? 100 : 103), At(d, 106));
  }
  p.setFont(Bold(11));
  const char* letters[] = {"N", "E", "S", "W"};
  for (int i = 0; i < 4; ++i) {
    p.setPen(i == 0 ? QColor(0xFF, 0x60, 0x60) : c.ringText);
    InkCentredText(p, At(i * 90, kRingLetterRadius), 0, QString::fromLatin1(letters[i]));
  }
}

void DrawSpeedScale(QPainter& p, int scaleEnd, const DialColours& c) {
  const QPointF centre = At(0, 0);
  QRadialGradient face(centre, 90);
  face.setColorAt(0.0, c.faceInner);
  face.setColorAt(1.0, c.faceOuter);
  p.setPen(QPen(QColor(0x90, 0x98, 0xA0), 2));
  p.setBrush(face);
  p.drawEllipse(centre, 90, 90);

  // the last step of the scale marked red; ticks end where the needle does
  const double arc = kScaleTickRadius;
  const QRectF arcBox(centre.x() - arc, centre.y() - arc, 2 * arc, 2 * arc);
  auto qtAngle = [](double compass) { return static_cast<int>(std::lround((90.0 - compass) * 16)); };
  const double step = kScaleSweep / kScaleSteps;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c.scale, 2, Qt::SolidLine, Qt::FlatCap));
  p.drawArc(arcBox, qtAngle(kScaleStart), -static_cast<int>(kScaleSweep * 16));
  p.setPen(QPen(QColor(0xE0, 0x20, 0x20), 5, Qt::SolidLine, Qt::FlatCap));
  p.drawArc(QRectF(arcBox.adjusted(3, 3, -3, -3)), qtAngle(kScaleStart + kScaleSweep - step),
            -static_cast<int>(step * 16));

  for (int i = 0; i <= kScaleSteps * 3; ++i) {
    const double deg = kScaleStart + i * step / 3;
    const bool major = i % 3 == 0;
    p.setPen(QPen(major ? c.scale : c.minor, major ? 2 : 1));
    p.drawLine(At(deg, arc - (major ? 12 : 6)), At(deg, arc));
  }
  // The labels lie between the needle's tip and the course pointer, turned along
  // the circle so that they fit there; those on the lower half read from the inside.
  p.setPen(c.label);
  p.setFont(Bold(10));
  for (int i = 0; i <= kScaleSteps; ++i) {
    const double deg = std::fmod(kScaleStart + i * step, 360.0);
    const double rotation = deg > 90 && deg < 270 ? deg - 180 : deg;
    InkCentredText(p, At(deg, kScaleLabelRadius), rotation, QString::number(scaleEnd * i / kScaleSteps));
  }
}

}  // namespace

QImage DialPicture(int scaleEnd, bool lightFace) {
  QImage img(kDialWidth, kDialHeight, QImage::Format_RGB32);
  img.fill(QColor(0x00, 0x40, 0x80));  // the instrument panel's colour
  const DialColours dark{QColor(0x30, 0x30, 0x38), QColor(0x08, 0x08, 0x0C), QColor(Qt::white),
                         QColor(Qt::white),        QColor(0xA0, 0xA0, 0xA8), QColor(0x18, 0x20, 0x30),
                         QColor(0xE8, 0xE8, 0xE8)};
  const DialColours light{QColor(0xFF, 0xFF, 0xF8), QColor(0xC8, 0xCC, 0xC4), QColor(0x10, 0x10, 0x30),
                          QColor(0x10, 0x10, 0x30), QColor(0x50, 0x50, 0x60), QColor(0x20, 0x30, 0x50),
                          QColor(0xE8, 0xE8, 0xE8)};
  const DialColours& c = lightFace ? light : dark;
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  DrawCompassRing(p, c);
  DrawSpeedScale(p, scaleEnd, c);
  return img;
}

QImage KmDialPicture() { return DialPicture(360, false); }
QImage MileDialPicture() { return DialPicture(240, true); }

}  // namespace orlimo::viewart
