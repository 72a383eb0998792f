// lbxNMEA: the monitor list of accepted sentences, newest at the bottom, each line
// in the colour of its sentence type on black (syntax colouring), with a pop-up
// menu (Clear, Copy to Clipboard) and the inspection box that a click fills.
#pragma once

#include <QListWidget>
#include <QStyledItemDelegate>

#include <string>
#include <string_view>

class QLineEdit;
class QMenu;

namespace orlimo {

// The colour of a line by the first sentence tag found anywhere in it.
QColor MonitorColor(std::string_view line);

// Draws the line's text in its type colour at the row's top-left corner; only the
// text's own extent gets the row's background (selection or list colour).
class TMonitorDelegate : public QStyledItemDelegate {
 public:
  static constexpr int kItemHeight = 14;
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class TMonitorList : public QListWidget {
 public:
  explicit TMonitorList(QWidget* parent = nullptr);

  void AppendLine(std::string_view line);
  void SelectLastLine();
  void DeleteFirstLines(int count);
  int SelectedIndex() const;
  std::string Line(int index) const;

  // SynColorClick: owner-drawn on black when on, a plain list on silver when off.
  void SetSyntaxColor(bool on);
  bool SyntaxColor() const { return syntaxColor_; }

  // The hidden one-line box a click or an Up/Down key fills with the selected line.
  void SetInspectionBox(QLineEdit* edit) { edit1_ = edit; }

  // Pop-up menu commands.
  void popClearClick() { clear(); }
  void CopytoClipboard1Click();
  QMenu* PopupMenu() const { return popup_; }

 protected:
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  void lbxNMEAClick();

  bool syntaxColor_ = false;
  TMonitorDelegate* colourDelegate_ = nullptr;
  QAbstractItemDelegate* plainDelegate_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QMenu* popup_ = nullptr;
};

}  // namespace orlimo
