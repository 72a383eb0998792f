// The Signal history dialog of the Measure menu: each satellite's C/N0 over the last
// ten minutes (the ones the fix uses in bold), and below it the satellites used and
// the HDOP over the same time. Read from the session's recorder once a second while
// shown; the plots paint only what changed.
#pragma once

#include "app/bench_dialog.h"

namespace orlimo {

class TBenchRecorder;
class THistoryPlot;

class TSignalHistoryDialog : public TBenchDialog {
 public:
  TSignalHistoryDialog(const TBenchRecorder& bench, QWidget* parent);

  void Refresh() override;
  // The satellites drawn, by name, for the window's tests.
  QStringList SatelliteNames() const { return names_; }

 private:
  const TBenchRecorder& bench_;
  THistoryPlot* signals_;
  THistoryPlot* solution_;
  QStringList names_;
};

}  // namespace orlimo
