// lbxNMEA: the monitor list of accepted sentences, newest at the bottom, each line
// in the colour of its sentence type on black (syntax colouring), with a pop-up
// menu (Clear, Copy to Clipboard) and the inspection box that a click fills. A binary
// frame is one line of text in its protocol's colour; its inspection shows its bytes.
#pragma once

#include <QAbstractScrollArea>
#include <QCache>
#include <QImage>
#include <QRawFont>
#include <QStyledItemDelegate>

#include "widgets/glyph_cells.h"

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QMenu;

namespace orlimo {

class TSteadyScrollBar;

// The colour of a line by the first sentence tag found anywhere in it.
QColor MonitorColor(std::string_view line);
// The colour of a binary frame's line: one for UBX, one for SiRF.
QColor MonitorFrameColor(std::string_view frame);
// A frame's bytes as the inspection box shows them: two hex digits each, spaced.
std::string FrameHex(std::string_view frame);

// Draws the line's text in its type colour at the row's top-left corner; only the
// text's own extent gets the row's background (selection or list colour).
class TMonitorDelegate : public QStyledItemDelegate {
 public:
  static constexpr int kItemHeight = 14;
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // What paint() draws for a line of Latin-1 text in the row `row`, in `colour` on
  // `background`; returns the text's box, the part of the row with the background.
  QRect PaintLine(QPainter* p, const QRect& row, const QFont& font, std::string_view text, const QColor& colour,
                  const QColor& background) const;
  // The text's box as PaintLine leaves it in a row `height` tall of a `format` image,
  // composed from kept glyph pictures; null where it cannot be, and PaintLine must draw.
  QImage ComposeLine(const QFont& font, std::string_view text, const QColor& colour, const QColor& background,
                     int height, QImage::Format format) const;

 private:
  AsciiFont& Ascii(const QFont& font) const;
  // Whether `text` in a row `rowHeight` tall is drawn as a run of glyphs, without layout.
  bool AsRun(const QFont& font, std::string_view text, int rowHeight) const;
  // What QFontMetrics(font).horizontalAdvance(text) gives.
  int TextWidth(const QFont& font, const QString& text) const;

  mutable TAsciiFonts fonts_;
  mutable std::optional<QFont> cellsFont_;  // the font the glyph cells were made for
  mutable TGlyphCells cells_;
};

// The lines in rows of one height under each other, scrolled by whole rows with the
// first row shown at the top, as a list view scrolling per item shows them; extended
// selection by mouse and keys. It keeps a few thousand lines and takes new ones every
// second: a new line costs no layout, and rows already drawn are moved with the
// viewport instead of being painted again, so a pass paints only the rows it changed.
// A coloured row drawn lately is kept as a picture, and a line repeated word for word
// is copied from it; the scroll bar is painted again only when its slider moves.
class TMonitorList : public QAbstractScrollArea {
 public:
  explicit TMonitorList(QWidget* parent = nullptr);

  void AppendLine(std::string_view line);
  // A binary frame: `text` is its line, `frame` its bytes.
  void AppendFrame(std::string_view text, std::string_view frame);
  // The last line alone selected and current, the list scrolled to the bottom.
  void SelectLastLine();
  void DeleteFirstLines(int count);
  void Clear();
  int Count() const { return static_cast<int>(lines_.size()); }
  std::string Line(int index) const;
  // What the inspection box shows of a line: the line, or a frame's bytes in hex.
  std::string InspectText(int index) const;

  // The current line when it is selected, else -1.
  int SelectedIndex() const;
  int CurrentRow() const { return current_; }
  bool IsSelected(int row) const;
  // `row` alone selected and current, as a click leaves it.
  void SelectRow(int row);
  void ClearSelection();
  // The first row shown.
  int TopRow() const;
  // Every row's height, by the name an item view gives it.
  int sizeHintForRow(int row) const;

  // SynColorClick: owner-drawn on black when on, a plain list on silver when off.
  void SetSyntaxColor(bool on);
  bool SyntaxColor() const { return syntaxColor_; }

  // The hidden one-line box a click or an Up/Down key fills with the selected line.
  void SetInspectionBox(QLineEdit* edit) { edit1_ = edit; }

  // Pop-up menu commands.
  void popClearClick() { Clear(); }
  void CopytoClipboard1Click();
  QMenu* PopupMenu() const { return popup_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  struct Row {
    std::string text;
    std::string frame;  // a binary frame's bytes; empty for a sentence
    bool selected = false;
  };

  void lbxNMEAClick();

  // Takes the lines appended since the last call into the scroll range and repaints
  // those of them in view. Deferred to once a batch: a range change is a layout.
  void TakeAppended();
  void UpdateScrollRange();
  void UpdateRows(int first, int last);
  int RowAt(const QPoint& pos) const;
  // Whole rows the viewport shows.
  int PageRows() const;
  void EnsureVisible(int row);
  void SetSelected(int row, bool on);
  // Only rows first..last (either order) selected; -1 selects none.
  void SelectOnly(int first, int last);
  void SetCurrent(int row);
  // The plain list's rows as a list view with the standard delegate draws them.
  QStyleOptionViewItem PlainOption() const;
  void PaintPlainRow(QPainter& p, QStyleOptionViewItem option, int row, const QRect& rect) const;
  int PlainRowHeight() const;
  // A coloured row as painting it over the viewport's ground would leave it; null when
  // its glyphs reach out of the text's box, where only painting it shows what they cover.
  const QImage* RowPicture(const std::string& text, const QColor& colour, const QColor& background,
                           const QColor& ground, QImage::Format format);
  // The picture RowPicture keeps; null when it cannot stand for painting the row.
  QImage MakeRowPicture(const std::string& text, const QColor& colour, const QColor& background,
                        const QColor& ground, QImage::Format format) const;

  std::deque<Row> lines_;
  int taken_ = 0;  // lines already in the scroll range
  bool takePosted_ = false;
  int selectedCount_ = 0;
  int current_ = -1;
  int anchor_ = -1;  // where a Shift-click or Shift-arrow range starts
  int lastSelected_ = -1;  // the one selected row, found without a search, when only one is
  int pressed_ = -1;
  bool pressedSelected_ = false;
  bool keepPixels_ = false;  // a scroll that shows the same lines as before
  int rowHeight_ = TMonitorDelegate::kItemHeight;

  TSteadyScrollBar* bar_ = nullptr;  // the vertical bar
  bool syntaxColor_ = false;
  TMonitorDelegate colourDelegate_;
  QLineEdit* edit1_ = nullptr;
  QMenu* popup_ = nullptr;
  // The coloured rows drawn lately, by line, colours and format; cost in bytes. A
  // receiver repeats many lines word for word (satellites, DOP, a steady course).
  QCache<QByteArray, QImage> rowPictures_;
};

}  // namespace orlimo
