// The time-to-first-fix runs dialog of the Measure menu: the kind of restart, how
// many runs, the pause after each fix and the time-out of a run; a table of the runs
// as they finish, the summary, and "Save as CSV". It stays open while the window goes
// on, and Cancel ends the runs after the current one.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace orlimo {

class TtffRuns;
struct TtffRun;

class TTtffDialog : public QDialog {
 public:
  // `saveFileName` asks where the CSV goes (empty: not saved).
  TTtffDialog(TtffRuns& runs, std::function<QString()> saveFileName, QWidget* parent);

  // What a user presses, for the window's tests.
  void StartOrCancel();
  bool SaveCsv();
  QString StatusText() const;
  QString SummaryText() const;

 private:
  void AddRun(const TtffRun& run);
  void ShowSummary();
  void Finished();

  TtffRuns& runs_;
  std::function<QString()> saveFileName_;
  QComboBox* kind_;
  QSpinBox* count_;
  QDoubleSpinBox* pause_;
  QDoubleSpinBox* timeout_;
  QPushButton* start_;
  QPushButton* save_;
  QTableWidget* table_;
  QLabel* summary_;
  QLabel* status_;
};

}  // namespace orlimo
