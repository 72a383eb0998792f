#pragma once
// Role colours of the desktop theme as the widgets use them. They come from the
// widget's palette, so a test or an owner can pin them by setting a palette. And
// whether a fill colour hides what lies behind it.
#include <QColor>
#include <QPalette>

namespace orlimo::syscolor {

inline QColor buttonShadow(const QPalette& p) { return p.color(QPalette::Active, QPalette::Dark); }
inline QColor buttonHighlight(const QPalette& p) { return p.color(QPalette::Active, QPalette::Light); }
inline QColor buttonFace(const QPalette& p) { return p.color(QPalette::Active, QPalette::Button); }
inline QColor grayText(const QPalette& p) { return p.color(QPalette::Disabled, QPalette::WindowText); }

inline bool opaque(const QColor& c) { return c.isValid() && c.alpha() == 255; }

}  // namespace orlimo::syscolor
