// A dialog of the test bench that shows what the session's recorder holds: it reads
// it again once a second while shown, and only when something came since.
#pragma once

#include <QDialog>
#include <QTimer>

#include <cstdint>

namespace orlimo {

class TBenchRecorder;

class TBenchDialog : public QDialog {
 public:
  // Reads the recorder again now.
  virtual void Refresh() = 0;

 protected:
  TBenchDialog(const TBenchRecorder& bench, QWidget* parent);
  // At the start of each Refresh: what it is about to show.
  void TakeRevision();
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  const TBenchRecorder& bench_;
  QTimer refresh_;
  std::uint64_t shownRevision_ = ~std::uint64_t{0};
};

}  // namespace orlimo
