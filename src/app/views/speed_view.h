// The round instrument: speed needle over a 270-degree dial, a four-wheel
// counter showing the speed in tenths of the unit (last wheel red), and a
// small arrow head on the compass ring pointing at the course. The unit (km/h
// or mile/h) switches the dial picture, the unit caption and SpeedFactor.
//
// Placement: the main window puts the view (Panel3, 246 x 247, #004080, a
// sunken 2-pixel border) at (1, 1) of the right-hand column Panel12, above the
// navigation panel. The unit selector rgUNIT belongs to the window's tool strip.
//
// Use:
//  - call rgUNITClick from the selector's click handler, and give
//    SetOnRefreshViews the window's full view refresh, which rgUNITClick runs
//    after a switch so every speed shown is redrawn in the new unit;
//  - ShowSpeedAndCourse on every view refresh, after the sky view;
//  - SpeedFactor and SpeedCaption for the navigation panel's speed text;
//  - ScrollBarMeterChange from the test slider (0..360) of the wide layout.
// The view starts in km/h with SpeedFactor 1.852.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <functional>

#include "app/views/speed_math.h"
#include "nmea/decoder.h"
#include "widgets/meter_x.h"
#include "widgets/odometer.h"
#include "widgets/pz_label.h"

namespace orlimo {

inline constexpr QColor kHubColor{0x80, 0x80, 0x80};
inline constexpr QColor kOverRangeHubColor{0xFF, 0x00, 0x80};

class TSpeedView : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kSize{246, 247};
  static constexpr QPoint kClientOrigin{2, 2};  // child positions below are relative to it

  explicit TSpeedView(QWidget* parent = nullptr);

  // Unit switch: 0 km/h, 1 mile/h, then the full view refresh; other indices do nothing.
  void rgUNITClick(int itemIndex);
  void SelectKmUnit();
  void SelectMileUnit();
  int UnitIndex() const { return m_unitIndex; }
  double SpeedFactor() const { return m_speedFactor; }
  QString SpeedCaption() const { return lbSPEED->text(); }
  void SetOnRefreshViews(std::function<void()> refresh) { m_refreshViews = std::move(refresh); }
  // An edition may show another maker caption on the dial.
  void SetMakerCaption(const QString& caption) { lbQUORVEX->setText(caption); }

  // Counter, course pointer and needle from the RMC record; a speed or course
  // that no receiver sends shows as the instrument at rest.
  void ShowSpeedAndCourse(const TqvNMEA& nmea);
  // Test slider: counter at `position` whole units with a random tenths digit,
  // pointer at `position` degrees, needle 1.5 degrees per step. Ignores the unit.
  void ScrollBarMeterChange(int position);
  // Where the slider's tenths digit comes from (0..9); random unless replaced.
  void SetTenthsSource(std::function<int()> source) { m_tenths = std::move(source); }

  // The parts, for the owner's settings and for tests.
  TqvMeterX* SpeedNeedleMeter() const { return qvMeterX3; }
  TqvMeterX* CoursePointer() const { return qvMeterX2; }
  TdkOdometer* Counter() const { return dkOdometer1; }
  const QImage& DialImage() const { return m_dial; }

  QSize sizeHint() const override { return kSize; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void ApplyUnit(const QImage& dial, const QColor& speedColor, const QColor& makerColor,
                 const QString& caption, double factor);
  void ApplyNeedle(TNeedlePosition needle);

  QWidget* m_client;
  QLabel* ImgMeter;
  TpzLabel* pzLabel2;
  TdkOdometer* dkOdometer1;
  QLabel* lbQUORVEX;
  QLabel* lbSPEED;
  TqvMeterX* qvMeterX2;
  TqvMeterX* qvMeterX3;

  const QImage m_kmDial, m_mileDial;  // ImageKM, ImageMile
  QImage m_dial;
  int m_unitIndex = 0;
  double m_speedFactor = kKmSpeedFactor;
  std::function<void()> m_refreshViews;
  std::function<int()> m_tenths;
};

}  // namespace orlimo
