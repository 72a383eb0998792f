// cbGPSCOM: a drop-down list that refills itself from the system's port list each
// time it drops down. Each item's text is the port's path, the value the session
// opens and the settings keep; the open list shows the port's label instead (the
// path with the device's maker, model and serial number), and the closed box gives
// the selected port's label as its tooltip.
#pragma once

#include <QComboBox>

#include <functional>

namespace orlimo {

class TPortCombo : public QComboBox {
 public:
  static constexpr int kLabelRole = Qt::UserRole + 1;

  explicit TPortCombo(QWidget* parent = nullptr);
  // cbGPSCOMDropDown: runs before the list opens.
  void SetOnDropDown(std::function<void()> handler) { onDropDown_ = std::move(handler); }
  // The label of item `index`; an empty one shows the bare path.
  void SetPortLabel(int index, const QString& label);
  QString LabelAt(int index) const;

  void showPopup() override;

 private:
  void ShowSelectedLabel();
  std::function<void()> onDropDown_;
};

}  // namespace orlimo
