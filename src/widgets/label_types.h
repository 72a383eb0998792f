#pragma once
// Small value types shared by the label and grid widgets.
#include <Qt>

namespace orlimo {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

inline Qt::Alignment toQtHorizontal(TAlignment a)
{
    switch (a) {
    case TAlignment::taRightJustify: return Qt::AlignRight;
    case TAlignment::taCenter: return Qt::AlignHCenter;
    case TAlignment::taLeftJustify: break;
    }
    return Qt::AlignLeft;
}

}  // namespace orlimo
