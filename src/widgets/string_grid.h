#pragma once
// A self-drawn grid of text cells with fixed rows and columns, per-column
// appearance (TXStringColumnItem, always one per column) and a per-cell hook
// that may recolour or re-text any cell just before it is drawn.
//
// Cells are drawn fixed corner, fixed rows, fixed columns, then normal
// cells, each block row by row. Every cell paints its own frame ring(s)
// just outside its rectangle, so a later cell's frame covers the shared line.
//
// A changed cell repaints only itself and its frame, where the cells around it are
// drawn again in the same order for the lines they share; a text set as it already
// is repaints nothing. What the per-cell hook decides is its owner's to repaint.
//
// Callbacks run synchronously during painting or mouse handling.
#include <QColor>
#include <QFont>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "widgets/ascii_line.h"
#include "widgets/string_column_item.h"

class QPainter;

namespace orlimo {

enum GridDrawState : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
enum GridOption : unsigned {
    goFixedVertLine = 1,
    goFixedHorzLine = 2,
    goVertLine = 4,
    goHorzLine = 8,
};

// What the per-cell hook may change: the cell's brush, font and font colour.
struct TCellCanvas {
    QColor brushColor;
    QFont font;
    QColor fontColor;
};

class TXStringGrid : public QWidget {
    Q_OBJECT

public:
    using CellPropsHandler = std::function<void(TXStringGrid& sender, TCellCanvas& canvas,
                                                TAlignment& alignment, QString& cellText,
                                                unsigned state, int row, int col)>;
    using SelectCellHandler = std::function<void(TXStringGrid& sender, int col, int row, bool& canSelect)>;
    using DrawCellHandler = std::function<void(TXStringGrid& sender, QPainter& p, int col, int row,
                                               const QRect& rect, unsigned state)>;

    explicit TXStringGrid(QWidget* parent = nullptr);
    ~TXStringGrid() override;

    int colCount() const { return int(m_colWidths.size()); }
    void setColCount(int n);  // 1..10000
    int rowCount() const { return int(m_rowHeights.size()); }
    void setRowCount(int n);  // 1..100000
    int fixedCols() const { return m_fixedCols; }
    void setFixedCols(int n);  // 0..ColCount-1
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int n);  // 0..RowCount-1
    void setDefaultColWidth(int px);   // applies to every column
    void setDefaultRowHeight(int px);  // applies to every row
    int colWidth(int col) const;
    void setColWidth(int col, int px);
    int rowHeight(int row) const;
    int gridLineWidth() const { return m_lineWidth; }
    void setGridLineWidth(int px);  // 0..16
    unsigned options() const { return m_options; }
    void setOptions(unsigned options);

    QColor color() const { return m_color; }
    void setColor(const QColor& c);
    QColor fixedColor() const { return m_fixedColor; }
    void setFixedColor(const QColor& c);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& c);
    QColor fixedLineColor() const { return m_fixedLineColor; }
    void setFixedLineColor(const QColor& c);
    QColor gridLineColor() const { return m_gridLineColor; }
    void setGridLineColor(const QColor& c);
    QColor selectedColor() const { return m_selectedColor; }
    void setSelectedColor(const QColor& c);
    QColor selectedTextColor() const { return m_selectedTextColor; }
    void setSelectedTextColor(const QColor& c);
    bool multiLine() const { return m_multiLine; }
    void setMultiLine(bool on);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);  // out-of-range cells are ignored
    // A column's cells as lines (CR LF or LF separated); extra lines are dropped.
    QString columnText(int col) const;
    void setColumnText(int col, const QString& text);
    void moveColumn(int from, int to);

    TXStringColumnItem* column(int col) const;
    int columnCount() const { return int(m_items.size()); }

    int currentCol() const { return m_col; }
    int currentRow() const { return m_row; }
    void setCurrentCell(int col, int row);  // asks OnSelectCell

    void setOnCellProps(CellPropsHandler h) { m_onCellProps = std::move(h); }
    void setOnSelectCell(SelectCellHandler h) { m_onSelectCell = std::move(h); }
    void setOnDrawCell(DrawCellHandler h) { m_onDrawCell = std::move(h); }

    QRect cellRect(int col, int row) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    friend class TXStringColumnItem;
    int vLine(int col) const;
    int hLine(int row) const;
    // Draws what of the cell falls in `region`.
    void drawCell(QPainter& p, int col, int row, const QRegion& region);
    // Repaints the cell and its frame.
    void updateCell(int col, int row);
    QRect framed(const QRect& r) const;  // with the grid lines around it
    void updateOpaque();
    void syncItems();

    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    std::vector<std::vector<QString>> m_cells;  // [col][row]
    std::vector<std::unique_ptr<TXStringColumnItem>> m_items;
    int m_fixedCols = 1, m_fixedRows = 1;
    int m_lineWidth = 1;
    unsigned m_options = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine;
    QColor m_color{Qt::white};
    QColor m_fixedColor;
    QColor m_fontColor{Qt::black};
    QColor m_fixedLineColor{Qt::black};
    QColor m_gridLineColor{0xC0, 0xC0, 0xC0};
    QColor m_selectedColor;
    QColor m_selectedTextColor;
    bool m_multiLine = false;
    int m_col = 1, m_row = 1;
    CellPropsHandler m_onCellProps;
    SelectCellHandler m_onSelectCell;
    DrawCellHandler m_onDrawCell;
    TAsciiFonts m_asciiFonts;  // cells of ASCII are drawn without layout
};

}  // namespace orlimo
