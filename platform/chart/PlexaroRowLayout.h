#pragma once
#include <algorithm>

// Row to y and back for the chart, as pure functions. y is in the chart's viewport:
// the title and the ruler stay at the top (y below `top`), the resource rows scroll
// under them. Rows are numbered 1..rowCount; 0 stands for the ruler band and -1 for
// "no row".
namespace plat {

struct PlexaroRowLayout {
    int top = 0;         // y where row 1 begins when not scrolled (below the ruler)
    int rowHeight = 20;  // pixels, at least 1
    int rowCount = 0;    // resource rows
    int scrollY = 0;     // pixels the rows are scrolled up

    int height() const { return std::max(rowHeight, 1); }
    int contentHeight() const { return rowCount * height(); }
    int rowTop(int row) const { return top + (row - 1) * height() - scrollY; }
    // 1..rowCount over a row, 0 above the rows (title and ruler), -1 below the last row.
    int rowAt(int y) const {
        if (y < top) return 0;
        const int row = (y - top + scrollY) / height() + 1;
        return row <= rowCount ? row : -1;
    }
    // The rows that reach into viewport heights [top, viewHeight): first > last when none.
    int firstVisibleRow() const { return std::max(1, scrollY / height() + 1); }
    int lastVisibleRow(int viewHeight) const {
        if (viewHeight <= top) return 0;
        return std::min(rowCount, (viewHeight - top - 1 + scrollY) / height() + 1);
    }
};

}  // namespace plat
