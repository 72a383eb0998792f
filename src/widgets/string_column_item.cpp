#include "widgets/string_column_item.h"

#include "widgets/string_grid.h"

namespace orlimo {

TXStringColumnItem::TXStringColumnItem(TXStringGrid* grid, int index)
    : m_grid(grid),
      m_index(index),
      m_headerColor(grid->fixedColor()),
      m_headerFont(grid->font()),
      m_headerFontColor(grid->fontColor()),
      m_color(grid->color()),
      m_font(grid->font()),
      m_fontColor(grid->fontColor())
{
}

void TXStringColumnItem::changed() { m_grid->update(); }

void TXStringColumnItem::setHeaderColor(const QColor& c) { m_headerColor = c; changed(); }
void TXStringColumnItem::setHeaderFont(const QFont& f) { m_headerFont = f; changed(); }
void TXStringColumnItem::setHeaderFontColor(const QColor& c) { m_headerFontColor = c; changed(); }
void TXStringColumnItem::setHeaderAlignment(TAlignment a) { m_headerAlignment = a; changed(); }
void TXStringColumnItem::setColor(const QColor& c) { m_color = c; changed(); }
void TXStringColumnItem::setFont(const QFont& f) { m_font = f; changed(); }
void TXStringColumnItem::setFontColor(const QColor& c) { m_fontColor = c; changed(); }
void TXStringColumnItem::setAlignment(TAlignment a) { m_alignment = a; changed(); }

QString TXStringColumnItem::caption() const { return m_grid->cell(m_index, 0); }
void TXStringColumnItem::setCaption(const QString& text) { m_grid->setCell(m_index, 0, text); }
int TXStringColumnItem::width() const { return m_grid->colWidth(m_index); }
void TXStringColumnItem::setWidth(int px) { m_grid->setColWidth(m_index, px); }

}  // namespace orlimo
