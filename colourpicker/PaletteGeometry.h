#pragma once
#include <QPoint>
#include <QRect>

// The fixed layout of the pop-up palette, in pixels of its client area: a caption bar
// with a close box over 8 rows of 6 colour cells, 14 x 14 each, 17 apart.
class PaletteGeometry {
public:
    static constexpr int kWidth = 110;   // 5 + 6 x 17 + 3
    static constexpr int kHeight = 159;  // 20 + 8 x 17 + 3
    static constexpr int kRows = 8;
    static constexpr int kColumns = 6;
    static constexpr int kCells = kRows * kColumns;

    enum class Part { None, CloseBox, Caption, Cell };
    struct Hit {
        Part part = Part::None;
        int cell = -1;  // 0..47 for Part::Cell, -1 otherwise
    };

    // Cell i (0..47, row-major) as left, top, width, height.
    static QRect CellRect(int cell);
    static QRect CaptionRect();
    static QRect CloseBoxRect();
    static QRect ClientRect() { return QRect(0, 0, kWidth, kHeight); }
    // What a client point lies on: the close box first, then the caption, then a cell;
    // the gaps between cells and the frame are nothing.
    static Hit HitTest(const QPoint& p);
};
