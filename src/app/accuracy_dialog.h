// The Accuracy dialog of the Measure menu: the reference point (typed in, or the mean
// of the fixes), the figures of the fixes so far around it, and their scatter with
// the CEP50 and CEP95 circles. It reads the session's recorder once a second while
// shown, and only when a fix came since.
#pragma once

#include "app/bench_dialog.h"

#include <optional>

class QLabel;
class QLineEdit;

namespace orlimo {

class TAccuracy;
class TBenchRecorder;
class TScatterPlot;
struct TGeoPoint;

class TAccuracyDialog : public TBenchDialog {
 public:
  TAccuracyDialog(TBenchRecorder& bench, QWidget* parent);

  // What a user presses, for the window's tests. ApplyReference is false (and the
  // status line says why) when the typed point is not a position.
  bool ApplyReference();
  void UseMean();
  void Reset();
  void Refresh() override;
  QString FiguresText() const;
  QString StatusText() const;

 private:
  std::optional<TGeoPoint> TypedReference(QString& why) const;

  TBenchRecorder& bench_;
  QLineEdit* lat_;
  QLineEdit* lon_;
  QLineEdit* height_;
  QLabel* figures_;
  QLabel* status_;
  TScatterPlot* plot_;
};

}  // namespace orlimo
