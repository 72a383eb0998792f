#include "app/port_combo.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>

namespace orlimo {
namespace {

// Draws an item's label where the list would draw its text.
class TPortLabelDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const QString label = index.data(TPortCombo::kLabelRole).toString();
    if (!label.isEmpty()) option->text = label;
  }
};

}  // namespace

TPortCombo::TPortCombo(QWidget* parent) : QComboBox(parent) {
  setItemDelegate(new TPortLabelDelegate(this));
  connect(this, &QComboBox::currentIndexChanged, this, [this] { ShowSelectedLabel(); });
}

void TPortCombo::SetPortLabel(int index, const QString& label) {
  if (index < 0 || index >= count()) return;
  setItemData(index, label.isEmpty() ? QVariant() : QVariant(label), kLabelRole);
  setItemData(index, label.isEmpty() ? QVariant() : QVariant(label), Qt::ToolTipRole);
  if (index == currentIndex()) ShowSelectedLabel();
}

QString TPortCombo::LabelAt(int index) const {
  const QString label = itemData(index, kLabelRole).toString();
  return label.isEmpty() ? itemText(index) : label;
}

void TPortCombo::ShowSelectedLabel() { setToolTip(currentIndex() >= 0 ? LabelAt(currentIndex()) : QString()); }

void TPortCombo::showPopup() {
  if (onDropDown_) onDropDown_();
  // Labels are longer than the box: let the list be as wide as they need.
  if (view()) view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
  QComboBox::showPopup();
}

}  // namespace orlimo
