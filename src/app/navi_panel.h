// Panel10: the nine navigation read-outs with their captions, lower right of the
// window. It shows what ComputeNaviTexts decides; it keeps no state of its own.
#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/navi_format.h"

namespace orlimo {

class TpzLabel;
class TqvNMEA;

// lblNaviInfo: the captions, one per line with an empty line between them. Each
// caption is drawn level with the read-out of its row.
class TNaviCaptions : public QWidget {
 public:
  explicit TNaviCaptions(QWidget* parent);
  QString text() const;

 protected:
  void paintEvent(QPaintEvent*) override;
};

class TNaviPanel : public QWidget {
 public:
  static constexpr int kWidth = 248;
  static constexpr int kHeight = 284;

  explicit TNaviPanel(QWidget* parent = nullptr);

  void UpdateNaviPanel(const TqvNMEA& nmea, const TUnitSelection& unit);
  void ClearNaviPanel();
  // Writes the altitude and speed already shown again in `unit`. A view refresh
  // only rewrites what arrived since the last one, so after a change of unit this
  // keeps the read-outs from showing the old unit beside an instrument in the new.
  void ShowInUnit(const TUnitSelection& unit);

  // The zone offset used for local time; the system's by default.
  void SetUtcOffsetSource(std::function<int()> source) { utcOffset_ = std::move(source); }

  TpzLabel* Label(TNaviLabel which) const { return labels_[which]; }
  // A read-out's text as 8-bit bytes.
  std::string Text(TNaviLabel which) const;
  const TNaviCaptions* Captions() const { return captions_; }

 private:
  std::array<TpzLabel*, kNaviLabelCount> labels_{};
  TNaviCaptions* captions_ = nullptr;
  // The values behind lbAlt and lbSOG while they show text.
  std::optional<double> altitudeMetres_;
  std::optional<double> speedKnots_;
  std::function<int()> utcOffset_ = CurrentUtcOffsetSeconds;
};

}  // namespace orlimo
