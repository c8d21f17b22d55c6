#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

// Where the pop-up palette goes for each Position, given the cursor, the window under the
// cursor and the screen, and how it is kept on the screen.
class PalettePlacement {
public:
    struct Input {
        int position = 0;  // the control's Position; unknown values place at 0, 0
        QPoint cursor;     // the mouse cursor, screen pixels
        QRect under;       // the window under the cursor: left, top, width, height
        QSize screen;      // the primary screen
        int windowX = 0;   // WindowXPosn, WindowYPosn: the place of mode 8
        int windowY = 0;
        int offsetX = 0;  // WinXOffset, WinYOffset: added in every mode
        int offsetY = 0;
    };

    // The top-left corner of the palette on the screen.
    static QPoint Compute(const Input& in);
};
