// cbGPSCOM: a drop-down list that refills itself from the system's port list each
// time it drops down.
#pragma once

#include <QAbstractItemView>
#include <QComboBox>

#include <functional>

namespace orlimo {

class TPortCombo : public QComboBox {
 public:
  using QComboBox::QComboBox;
  // cbGPSCOMDropDown: runs before the list opens.
  void SetOnDropDown(std::function<void()> handler) { onDropDown_ = std::move(handler); }

  void showPopup() override {
    if (onDropDown_) onDropDown_();
    // Device paths are longer than the box: let the list be as wide as they need.
    if (view()) view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
    QComboBox::showPopup();
  }

 private:
  std::function<void()> onDropDown_;
};

}  // namespace orlimo
