#include "PaletteGeometry.h"

QRect PaletteGeometry::CellRect(int cell) {
    const int row = cell / kColumns;
    const int column = cell % kColumns;
    return QRect(5 + 17 * column, 20 + 17 * row, 14, 14);
}

QRect PaletteGeometry::CaptionRect() { return QRect(3, 3, kWidth - 6, 14); }

QRect PaletteGeometry::CloseBoxRect() { return QRect(kWidth - 16, 4, 12, 12); }

PaletteGeometry::Hit PaletteGeometry::HitTest(const QPoint& p) {
    if (CloseBoxRect().contains(p)) return {Part::CloseBox, -1};
    if (CaptionRect().contains(p)) return {Part::Caption, -1};
    for (int cell = 0; cell < kCells; ++cell)
        if (CellRect(cell).contains(p)) return {Part::Cell, cell};
    return {};
}
