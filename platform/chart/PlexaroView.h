#pragma once
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QSize>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <utility>

#include "PlexaroRowLayout.h"
#include "PlexaroTimeScale.h"

// Everything the chart's painter and hit tester need besides the data: the geometry of
// the title, ruler, resource column and time area, the scroll position and the look.
// The widget keeps one and hands it out; printing makes its own.
namespace plat {

// 0x00BBGGRR; 0x80 in the high byte names a system colour.
struct PlexaroColours {
    uint32_t back = 0x00FFFFFF;       // time area
    uint32_t titleBack = 0x8000000F;  // button face
    uint32_t rulerBack = 0x8000000F;
    uint32_t listBack = 0x80000005;    // window background
    uint32_t selectBack = 0x8000000D;  // highlight
    uint32_t weekend = 0x00E6E6E6;
};

struct PlexaroView {
    PlexaroTimeScale scale;
    PlexaroRowLayout rows;  // rows.top == titleHeight + rulerHeight
    int titleHeight = 0;
    int rulerHeight = 0;
    int listWidth = 100;   // pixels of the resource column, left of the time area
    int64_t scrollX = 0;   // pixels the time area is scrolled to the left
    QSize size;            // of the painted area
    int selectedRow = -1;  // -1 = none
    QString title;
    QString dateFormat = QStringLiteral("D, n M Y");
    bool use24Hour = false;
    // Width of five minutes in pixels as the caller sees it; the hour ruler shows the
    // finest of 5, 15 or 30 minute ticks that lies at least 4 pixels apart; 0 = none.
    int fiveMinuteWidth = 0;
    PlexaroColours colours;
    bool greyBars = false;         // print bars in grey
    bool greyBackgrounds = false;  // print the backgrounds in grey
    QPalette palette;
    QFont font;

    int timeLeft() const { return std::clamp(listWidth, 0, std::max(size.width(), 0)); }
    int timeAreaWidth() const { return std::max(0, size.width() - timeLeft()); }
    int64_t toViewportX(int64_t timeX) const { return timeLeft() + timeX - scrollX; }
    int64_t toTimeX(int viewportX) const { return int64_t(viewportX) - timeLeft() + scrollX; }
    // The part of a row a bar fills: a few pixels are left free above and below.
    int barInset() const { return rows.height() >= 8 ? 3 : 0; }
    // Viewport rectangle of a bar spanning time pixels [span.first, span.second).
    QRect barRect(int row, std::pair<int64_t, int64_t> span) const {
        const int y = rows.rowTop(row) + barInset();
        const int64_t x1 = toViewportX(span.first);
        const int64_t x2 = toViewportX(span.second);
        // Keep far-off bars inside int range; they are clipped anyway.
        const int64_t lo = -1, hi = int64_t(size.width()) + 1;
        const int left = int(std::clamp(x1, lo, hi));
        const int right = int(std::clamp(x2, lo, hi));
        return QRect(left, y, std::max(0, right - left), rows.height() - 2 * barInset());
    }
};

}  // namespace plat
