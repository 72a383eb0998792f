// The Signal history dialog of the Measure menu: each satellite's C/N0 over the last
// ten minutes (the ones the fix uses in bold), and below it the satellites used and
// the HDOP over the same time. Read from the session's recorder once a second while
// shown; the plots paint only what changed.
#pragma once

#include <QDialog>
#include <QTimer>

#include <cstdint>

namespace orlimo {

class TBenchRecorder;
class THistoryPlot;

class TSignalHistoryDialog : public QDialog {
 public:
  TSignalHistoryDialog(const TBenchRecorder& bench, QWidget* parent);

  // Reads the history again now.
  void Refresh();
  // The satellites drawn, by name, for the window's tests.
  QStringList SatelliteNames() const { return names_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  const TBenchRecorder& bench_;
  QTimer refresh_;
  std::uint64_t shownRevision_ = ~std::uint64_t{0};
  THistoryPlot* signals_;
  THistoryPlot* solution_;
  QStringList names_;
};

}  // namespace orlimo
