// TInfoUSB: the small stay-on-top window that lists plug notices. The newest line
// is yellow with a blue picture, older ones grey; OK empties the list and closes.
#pragma once

#include <QDialog>
#include <QStyledItemDelegate>

#include <string>

class QListWidget;
class QPushButton;

namespace orlimo {

// The picture of a notice line: grey for older lines, the plug-in picture unless
// the text says "Remove".
int NoticeImageIndex(const QString& text, bool lastLine);

class TNoticeDelegate : public QStyledItemDelegate {
 public:
  static constexpr int kItemHeight = 32;
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class TInfoUSB : public QDialog {
 public:
  explicit TInfoUSB(QWidget* parent = nullptr);

  // The latest notice; becomes the first line when the window opens on an empty list.
  void SetLastUSBNotice(const QString& notice) { lastUSBNotice_ = notice; }
  QString LastUSBNotice() const { return lastUSBNotice_; }
  // Appends a line and selects it.
  void AddNotice(const QString& notice);
  // Shows the window centred on the main window (not modal).
  void ShowNotice(QWidget* over);

  QListWidget* ListBox1() const { return listBox1_; }
  QPushButton* OKButton() const { return okButton_; }
  QStringList Lines() const;

  void FormActivate();
  void OKButtonClick();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  QListWidget* listBox1_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QString lastUSBNotice_;
};

}  // namespace orlimo
