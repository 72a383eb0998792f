// The two speed dials. Geometry is in compass degrees about kDialCentre.
#include <QFont>
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

void CentredText(QPainter& p, QPointF at, const QString& text) {
  p.drawText(QRectF(at.x() - 20, at.y() - 8, 40, 16), Qt::AlignCenter, text);
}

struct DialColours {
  QColor faceInner, faceOuter, scale, label, minor, ring, ringText;
};

void DrawCompassRing(QPainter& p, const DialColours& c) {
  const QPointF centre = At(0, 0);
  // bezel, then the ring band the course pointer runs on
  QRadialGradient bezel(centre, 121);
  bezel.setColorAt(0.85, QColor(0x50, 0x58, 0x60));
  bezel.setColorAt(0.93, QColor(0xD8, 0xDC, 0xE0));
  bezel.setColorAt(1.0, QColor(0x40, 0x44, 0x48));
  p.setPen(Qt::NoPen);
  p.setBrush(bezel);
  p.drawEllipse(centre, 120, 120);
  p.setBrush(c.ring);
  p.drawEllipse(centre, 107, 107);

  for (int d = 0; d < 360; d += 10) {
    const bool major = d % 30 == 0;
    p.setPen(QPen(QColor(0xC8, 0xD0, 0xD8), major ? 2 : 1));
    p.drawLine(At(d, major ? 100 : 103), At(d, 106));
  }
  p.setFont(Bold(11));
  const char* letters[] = {"N", "E", "S", "W"};
  for (int i = 0; i < 4; ++i) {
    p.setPen(i == 0 ? QColor(0xFF, 0x60, 0x60) : c.ringText);
    CentredText(p, At(i * 90, 96), QString::fromLatin1(letters[i]));
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

  // the last step of the scale marked red
  const QRectF arcBox(centre.x() - 80, centre.y() - 80, 160, 160);
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
    p.drawLine(At(deg, major ? 68 : 74), At(deg, 80));
  }
  p.setPen(c.label);
  p.setFont(Bold(10));
  for (int i = 0; i <= kScaleSteps; ++i)
    CentredText(p, At(kScaleStart + i * step, 57), QString::number(scaleEnd * i / kScaleSteps));
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
