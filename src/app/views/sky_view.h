// The sky view: a polar plot of the satellites of the last complete report,
// one dot per satellite with a place in the sky (see HasSkyPosition) at its
// azimuth and elevation in its state colour
// (see satellite_state.h), the PRN printed on the dot, or beside it or left
// out where names would overlap (see sky_labels.h). Rings, axes and labels
// come from a fixed background picture; the dots are drawn on a transparent
// layer above it.
//
// Placement: the main window puts the view (Panel6, 217 x 217, #002E5B, a
// sunken 2-pixel border and a 1-pixel lowered bevel) at (362, 3) of the top
// strip, right of the satellite view. The picture and the dot layer fill the
// 211 x 211 area inside the frame, at (3, 3).
//
// Use: DrawSkyView on every view refresh, after the satellite view. It redraws
// the layer only for a complete report and never writes the record (the
// session clears the completeness mark afterwards). A receiver of several
// systems gets every satellite of its sky instead, each labelled with its
// system's letter (G05, R07, E11), redrawn whenever that sky changes. Dots the
// same as those on show are not drawn again.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "app/views/sky_labels.h"
#include "nmea/decoder.h"

namespace orlimo {

// Point at `angle` degrees (0 up, clockwise) and `radius` pixels on a drawing
// area of width x height: x = Trunc(r sin a + W/2), y = W - Trunc(r cos a + H/2).
QPoint PolarToPoint(int angle, int radius, int width, int height);

// Distance from the centre for an elevation: 90 pixels at the horizon, 0 at
// the zenith, in whole pixels (beyond 90 for negative elevations).
int SkyRadius(int elevation);

// The background resource, decoded; a null image when it is missing or damaged.
inline constexpr char kSkyBackgroundResource[] = ":/orlimo/views/sky_background.jpg";
QImage LoadSkyBackground(const QString& path = QString::fromLatin1(kSkyBackgroundResource));

class TSkyView : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kSize{217, 217};
  static constexpr QPoint kSkyOrigin{3, 3};
  static constexpr int kDotRadius = kSkyDotRadius;

  explicit TSkyView(QWidget* parent = nullptr);

  // Redraws the dots of a complete report; an incomplete one leaves the layer as it is.
  void DrawSkyView(const TqvNMEA& nmea);

  // Replaces the background picture; a null image gives the plain navy field.
  void SetBackgroundPicture(const QImage& picture);
  bool HasBackgroundPicture() const { return m_hasPicture; }

  // The dot layer (transparent outside dots and labels; null before the first
  // drawing) and the 211 x 211 sky as shown: background with the layer on top.
  const QImage& Layer() const { return m_layer; }
  QImage ComposedSky() const;
  // Where the names of the last drawing went, on the layer; one per name shown.
  const std::vector<QRect>& LabelRects() const { return m_labelRects; }

  QSize sizeHint() const override { return kSize; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage m_background;  // ImaRadarBK
  QImage m_layer;       // Image3
  std::uint32_t m_skyRevision = 0;  // of the several-constellation sky last drawn
  bool m_showsSky = false;

  std::vector<QRect> m_labelRects;

  struct TDot {
    int elevation;
    int azimuth;
    QColor colour;
    QString label;
    bool operator==(const TDot&) const = default;
  };
  // Starts a fresh dot layer with these dots and their names.
  void DrawDots(const std::vector<TDot>& dots);
  std::vector<TDot> m_dots;  // those on the layer
  bool m_hasPicture = false;
};

}  // namespace orlimo
