#pragma once
// Appearance settings of one grid column: colours, fonts and alignment for
// its fixed (header) rows and its normal rows. Caption and Width read and
// write the grid itself (the cell in row 0 and the column width).
#include <QColor>
#include <QFont>
#include <QString>

#include "widgets/label_types.h"

namespace orlimo {

class TXStringGrid;

class TXStringColumnItem {
public:
    TXStringColumnItem(TXStringGrid* grid, int index);

    int index() const { return m_index; }

    QColor headerColor() const { return m_headerColor; }
    void setHeaderColor(const QColor& c);
    QFont headerFont() const { return m_headerFont; }
    void setHeaderFont(const QFont& f);
    QColor headerFontColor() const { return m_headerFontColor; }
    void setHeaderFontColor(const QColor& c);
    TAlignment headerAlignment() const { return m_headerAlignment; }
    void setHeaderAlignment(TAlignment a);
    QColor color() const { return m_color; }
    void setColor(const QColor& c);
    QFont font() const { return m_font; }
    void setFont(const QFont& f);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& c);
    TAlignment alignment() const { return m_alignment; }
    void setAlignment(TAlignment a);
    bool editorInheritsCellProps() const { return m_editorInheritsCellProps; }
    void setEditorInheritsCellProps(bool on) { m_editorInheritsCellProps = on; }

    QString caption() const;
    void setCaption(const QString& text);
    int width() const;
    void setWidth(int px);

private:
    friend class TXStringGrid;
    void changed();

    TXStringGrid* m_grid;
    int m_index;
    QColor m_headerColor;
    QFont m_headerFont;
    QColor m_headerFontColor;
    TAlignment m_headerAlignment = TAlignment::taLeftJustify;
    QColor m_color;
    QFont m_font;
    QColor m_fontColor;
    TAlignment m_alignment = TAlignment::taLeftJustify;
    bool m_editorInheritsCellProps = false;
};

}  // namespace orlimo
