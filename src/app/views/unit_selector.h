// rgUNIT: the two-way unit selector " Unit " with the items "Km" and "Mile",
// 57 x 50, placed by the main window in its tool strip at (653, 21). Emits
// itemIndexChanged when the user (or setItemIndex) changes the selection.
#pragma once

#include <QGroupBox>

class QRadioButton;

namespace orlimo {

class TUnitSelector : public QGroupBox {
  Q_OBJECT

 public:
  static constexpr QSize kSize{57, 50};

  explicit TUnitSelector(QWidget* parent = nullptr);

  int itemIndex() const;
  void setItemIndex(int index);  // 0 Km, 1 Mile; other values are ignored

 signals:
  void itemIndexChanged(int index);

 private:
  QRadioButton* m_km;
  QRadioButton* m_mile;
};

}  // namespace orlimo
