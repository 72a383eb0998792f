#include "widgets/string_grid.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "widgets/system_colors.h"

namespace orlimo {

namespace {
constexpr int kMaxCols = 10000;
constexpr int kMaxRows = 100000;
constexpr int kMaxCellSize = 100000;
constexpr int kDefaultColWidth = 64;
constexpr int kDefaultRowHeight = 24;
}  // namespace

TXStringGrid::TXStringGrid(QWidget* parent) : QWidget(parent)
{
    m_fixedColor = syscolor::buttonFace(palette());
    m_selectedColor = palette().color(QPalette::Active, QPalette::Highlight);
    m_selectedTextColor = palette().color(QPalette::Active, QPalette::HighlightedText);
    m_colWidths.assign(5, kDefaultColWidth);
    m_rowHeights.assign(5, kDefaultRowHeight);
    m_cells.assign(5, std::vector<QString>(5));
    updateOpaque();
    syncItems();
}

TXStringGrid::~TXStringGrid() = default;

void TXStringGrid::syncItems()
{
    const size_t n = m_colWidths.size();
    while (m_items.size() > n)
        m_items.pop_back();
    while (m_items.size() < n)
        m_items.push_back(std::make_unique<TXStringColumnItem>(this, int(m_items.size())));
}

void TXStringGrid::setColCount(int n)
{
    n = qBound(1, n, kMaxCols);
    m_colWidths.resize(size_t(n), kDefaultColWidth);
    m_cells.resize(size_t(n), std::vector<QString>(m_rowHeights.size()));
    m_fixedCols = std::min(m_fixedCols, n - 1);
    m_col = std::min(m_col, n - 1);
    syncItems();
    update();
}

void TXStringGrid::setRowCount(int n)
{
    n = qBound(1, n, kMaxRows);
    m_rowHeights.resize(size_t(n), kDefaultRowHeight);
    for (auto& c : m_cells)
        c.resize(size_t(n));
    m_fixedRows = std::min(m_fixedRows, n - 1);
    m_row = std::min(m_row, n - 1);
    update();
}

void TXStringGrid::setFixedCols(int n)
{
    m_fixedCols = qBound(0, n, colCount() - 1);
    m_col = std::max(m_col, m_fixedCols);
    update();
}

void TXStringGrid::setFixedRows(int n)
{
    m_fixedRows = qBound(0, n, rowCount() - 1);
    m_row = std::max(m_row, m_fixedRows);
    update();
}

void TXStringGrid::setDefaultColWidth(int px)
{
    std::fill(m_colWidths.begin(), m_colWidths.end(), qBound(0, px, kMaxCellSize));
    update();
}

void TXStringGrid::setDefaultRowHeight(int px)
{
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), qBound(0, px, kMaxCellSize));
    update();
}

int TXStringGrid::colWidth(int col) const
{
    return col >= 0 && col < colCount() ? m_colWidths[size_t(col)] : 0;
}

void TXStringGrid::setColWidth(int col, int px)
{
    if (col < 0 || col >= colCount())
        return;
    m_colWidths[size_t(col)] = qBound(0, px, kMaxCellSize);
    update();
}

int TXStringGrid::rowHeight(int row) const
{
    return row >= 0 && row < rowCount() ? m_rowHeights[size_t(row)] : 0;
}

void TXStringGrid::setGridLineWidth(int px)
{
    m_lineWidth = qBound(0, px, 16);
    update();
}

void TXStringGrid::setOptions(unsigned options)
{
    m_options = options;
    update();
}

#define ORLIMO_GRID_COLOR_SETTER(name, member) \
    void TXStringGrid::name(const QColor& c)   \
    {                                          \
        member = c;                            \
        update();                              \
    }
ORLIMO_GRID_COLOR_SETTER(setFixedColor, m_fixedColor)
ORLIMO_GRID_COLOR_SETTER(setFontColor, m_fontColor)
ORLIMO_GRID_COLOR_SETTER(setFixedLineColor, m_fixedLineColor)
ORLIMO_GRID_COLOR_SETTER(setGridLineColor, m_gridLineColor)
ORLIMO_GRID_COLOR_SETTER(setSelectedColor, m_selectedColor)
ORLIMO_GRID_COLOR_SETTER(setSelectedTextColor, m_selectedTextColor)
#undef ORLIMO_GRID_COLOR_SETTER

void TXStringGrid::setColor(const QColor& c)
{
    m_color = c;
    updateOpaque();
    update();
}

// The background fill covers the whole grid: nothing behind it is painted.
void TXStringGrid::updateOpaque()
{
    setAttribute(Qt::WA_OpaquePaintEvent, syscolor::opaque(m_color));
}

void TXStringGrid::setMultiLine(bool on)
{
    m_multiLine = on;
    update();
}

QString TXStringGrid::cell(int col, int row) const
{
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return {};
    return m_cells[size_t(col)][size_t(row)];
}

void TXStringGrid::setCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return;
    QString& cell = m_cells[size_t(col)][size_t(row)];
    if (cell == text)
        return;
    cell = text;
    updateCell(col, row);
}

void TXStringGrid::updateCell(int col, int row) { update(framed(cellRect(col, row))); }

// A cell's fill and text stay in its rectangle and its frame in the lines around it.
QRect TXStringGrid::framed(const QRect& r) const
{
    return r.adjusted(-m_lineWidth, -m_lineWidth, m_lineWidth, m_lineWidth);
}

QString TXStringGrid::columnText(int col) const
{
    if (col < 0 || col >= colCount())
        return {};
    QStringList lines;
    for (const QString& s : m_cells[size_t(col)])
        lines << s;
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void TXStringGrid::setColumnText(int col, const QString& text)
{
    if (col < 0 || col >= colCount())
        return;
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = t.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (int r = 0; r < rowCount(); ++r)
        setCell(col, r, r < lines.size() ? lines[r] : QString());
}

void TXStringGrid::moveColumn(int from, int to)
{
    if (from < 0 || from >= colCount() || to < 0 || to >= colCount() || from == to)
        return;
    auto move = [&](auto& v) {
        auto item = std::move(v[size_t(from)]);
        v.erase(v.begin() + from);
        v.insert(v.begin() + to, std::move(item));
    };
    move(m_colWidths);
    move(m_cells);
    move(m_items);
    for (size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->m_index = int(i);
    update();
}

TXStringColumnItem* TXStringGrid::column(int col) const
{
    return col >= 0 && col < columnCount() ? m_items[size_t(col)].get() : nullptr;
}

void TXStringGrid::setCurrentCell(int col, int row)
{
    if (col < m_fixedCols || col >= colCount() || row < m_fixedRows || row >= rowCount())
        return;
    bool can = true;
    if (m_onSelectCell)
        m_onSelectCell(*this, col, row, can);
    if (!can)
        return;
    m_col = col;
    m_row = row;
    update();
}

// As in the toolkit's grid, the line width belongs to a whole axis: columns are
// spaced by it when fixed or normal vertical lines are on, rows likewise.
int TXStringGrid::vLine(int) const
{
    return (m_options & (goFixedVertLine | goVertLine)) ? m_lineWidth : 0;
}

int TXStringGrid::hLine(int) const
{
    return (m_options & (goFixedHorzLine | goHorzLine)) ? m_lineWidth : 0;
}

QRect TXStringGrid::cellRect(int col, int row) const
{
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return {};
    int x = 0, y = 0;
    for (int c = 0; c < col; ++c)
        x += m_colWidths[size_t(c)] + vLine(c);
    for (int r = 0; r < row; ++r)
        y += m_rowHeights[size_t(r)] + hLine(r);
    return {x, y, m_colWidths[size_t(col)], m_rowHeights[size_t(row)]};
}

QSize TXStringGrid::sizeHint() const
{
    const QRect last = cellRect(colCount() - 1, rowCount() - 1);
    return {last.right() + 1 + vLine(colCount() - 1), last.bottom() + 1 + hLine(rowCount() - 1)};
}

void TXStringGrid::drawCell(QPainter& p, int col, int row, const QRegion& region)
{
    QRect r = cellRect(col, row);
    if (!r.intersects(framed(rect())))
        return;
    // The painter keeps to the region: a cell that draws nothing there is skipped, and
    // one that only frames it is not laid out. A cell hook may draw anywhere.
    const bool hooked = bool(m_onDrawCell);
    if (!hooked && !region.intersects(framed(r)))
        return;
    const bool inside = hooked || region.intersects(r);
    const bool fixedRow = row < m_fixedRows;
    const bool fixedCol = col < m_fixedCols;
    const TXStringColumnItem* item = column(col);

    unsigned state = 0;
    if (fixedRow || fixedCol)
        state |= gdFixed;
    else if (col == m_col && row == m_row) {
        state |= gdSelected;
        if (hasFocus())
            state |= gdFocused;
    }

    TCellCanvas canvas{m_fixedColor, font(), m_fontColor};
    if (fixedRow) {
        canvas = {item->headerColor(), item->headerFont(), item->headerFontColor()};
    } else if (!fixedCol) {
        canvas = {item->color(), item->font(), item->fontColor()};
    }
    if (state & gdSelected) {
        canvas.brushColor = m_selectedColor;
        canvas.fontColor = m_selectedTextColor;
    }
    TAlignment align = fixedRow ? item->headerAlignment() : item->alignment();
    QString text = cell(col, row);
    if (m_onCellProps)
        m_onCellProps(*this, canvas, align, text, state, row, col);

    if (inside) {
        p.fillRect(r, canvas.brushColor);
        p.setFont(canvas.font);
        p.setPen(canvas.fontColor);
        const int flags = int(toQtHorizontal(align)) | Qt::AlignTop |
                          (m_multiLine ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine));
        const QRect box = r.adjusted(2, 2, -2, -2);
        if (m_multiLine || !DrawAsciiLine(p, m_asciiFonts.For(canvas.font), box, toQtHorizontal(align), text))
            p.drawText(box, flags, text);
    }

    if (m_onDrawCell) {
        p.save();
        m_onDrawCell(*this, p, col, row, r, state);
        p.restore();
    }

    const QColor line = (state & gdFixed) ? m_fixedLineColor : m_gridLineColor;
    for (int i = 0; i < m_lineWidth; ++i) {
        r.adjust(-1, -1, 1, 1);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), line);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), line);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), line);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), line);
    }
}

void TXStringGrid::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(rect(), m_color);
    const int fc = m_fixedCols, fr = m_fixedRows, cc = colCount(), rc = rowCount();
    const QRegion& region = e->region();
    auto block = [&](int c0, int c1, int r0, int r1) {
        for (int r = r0; r < r1; ++r)
            for (int c = c0; c < c1; ++c)
                drawCell(p, c, r, region);
    };
    block(0, fc, 0, fr);
    block(fc, cc, 0, fr);
    block(0, fc, fr, rc);
    block(fc, cc, fr, rc);
}

void TXStringGrid::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    for (int c = m_fixedCols; c < colCount(); ++c)
        for (int r = m_fixedRows; r < rowCount(); ++r)
            if (cellRect(c, r).contains(pos)) {
                setCurrentCell(c, r);
                return;
            }
    QWidget::mousePressEvent(e);
}

}  // namespace orlimo
