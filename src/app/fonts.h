// The window's three type faces, each with the metric-compatible fallback that a
// Linux desktop has: Arial / Liberation Sans, Courier New / Liberation Mono,
// Comic Sans MS / Comic Neue. Sizes are in pixels.
#pragma once

#include <QFont>
#include <QStringList>

namespace orlimo {

inline QFont MakeFont(const QStringList& families, int pixelSize, bool bold) {
  QFont f;
  f.setFamilies(families);
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  return f;
}

inline QFont ArialFont(int pixelSize, bool bold = false) {
  return MakeFont({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, pixelSize, bold);
}

inline QFont CourierFont(int pixelSize, bool bold = false) {
  QFont f = MakeFont({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")}, pixelSize, bold);
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  return f;
}

inline QFont ComicFont(int pixelSize, bool bold = false) {
  return MakeFont({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")}, pixelSize, bold);
}

}  // namespace orlimo
