// lbxNMEA: the monitor list of accepted sentences, newest at the bottom, each line
// in the colour of its sentence type on black (syntax colouring), with a pop-up
// menu (Clear, Copy to Clipboard) and the inspection box that a click fills.
#pragma once

#include <QListWidget>
#include <QRawFont>
#include <QStyledItemDelegate>

#include <array>
#include <string>
#include <string_view>
#include <vector>

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

 private:
  // A font in which every printable ASCII character has its own glyph and the same
  // advance, and no pair is kerned: a line of them is a run of glyphs one advance
  // apart, which needs no text layout to be measured or drawn.
  struct AsciiFont {
    QFont font;
    QRawFont raw;
    std::array<quint32, 95> glyphs{};
    qreal advance = 0;  // 0: the font does not qualify
    qreal ascent = 0;
    qreal lineHeight = 0;  // of a laid-out line, leading included when the font has any
  };
  const AsciiFont& Ascii(const QFont& font) const;
  // What QFontMetrics(font).horizontalAdvance(text) gives.
  int TextWidth(const QFont& font, const QString& text) const;
  // QPainter::drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text)
  // for a line of printable ASCII, box as wide as the text.
  void DrawAscii(QPainter* p, const AsciiFont& f, const QByteArray& text, const QRect& box) const;

  mutable AsciiFont ascii_;
  mutable bool asciiKnown_ = false;
  mutable std::vector<QPointF> positions_;
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
