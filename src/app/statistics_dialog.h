// The Sentence statistics dialog of the Measure menu: every line and frame the
// receiver sent since the connect, the ones dropped for a bad checksum, the bytes
// that were no part of anything, and each type's count and rate. Read once a second
// while shown.
#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QTableWidget;

namespace orlimo {

class StreamStatistics;

class TStatisticsDialog : public QDialog {
 public:
  TStatisticsDialog(const StreamStatistics& statistics, QWidget* parent);

  void Refresh();
  // The table's text, row by row with tabs between cells, for the window's tests.
  QString TableText() const;

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  const StreamStatistics& statistics_;
  QLabel* totals_;
  QTableWidget* table_;
  QTimer refresh_;
};

}  // namespace orlimo
