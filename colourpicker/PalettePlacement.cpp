#include "PalettePlacement.h"

#include "PaletteGeometry.h"
#include "TintoraIds.h"

QPoint PalettePlacement::Compute(const Input& in) {
    const int w = PaletteGeometry::kWidth;
    const int h = PaletteGeometry::kHeight;
    // Right and bottom are exclusive, as the window rectangle is measured.
    const int left = in.under.x();
    const int top = in.under.y();
    const int right = left + in.under.width();
    const int bottom = top + in.under.height();
    const int midX = (right - left) / 2 + left;
    const int midY = (bottom - top) / 2 + top;
    const int cx = in.screen.width();
    const int cy = in.screen.height();

    // Computed in full integers: 16-bit sums of a far position and an offset would wrap
    // to the other side of the screen.
    int x = 0;
    int y = 0;
    // clang-format off
    switch (in.position) {
        case PosnCBottom: x = in.cursor.x() - 55; y = in.cursor.y() + 10; break;
        case PosnCTop: x = in.cursor.x() - 55; y = in.cursor.y() - 169; break;
        case PosnCRight: x = in.cursor.x() + 10; y = in.cursor.y() - 79; break;
        case PosnCLeft: x = in.cursor.x() - 120; y = in.cursor.y() - 79; break;
        case PosnBottom: x = midX - 55; y = bottom + 10; break;
        case PosnTop: x = midX - 55; y = top - 169; break;
        case PosnRight: x = right + 10; y = midY - 79; break;
        case PosnLeft: x = left - 120; y = midY - 79; break;
        case PosnCalc: x = in.windowX; y = in.windowY; break;
        case PosnCenter: x = cx / 2 - 55; y = cy / 2 - 79; break;
        default: break;
    }
    // clang-format on
    x += in.offsetX;
    y += in.offsetY;

    if (x + w > cx) x = cx - w;
    if (x < 0) x = 0;
    // Past the bottom the palette flips up by 149 pixels, above a cursor near the bottom;
    // a place still below the screen after that (a stored position or a large offset) is
    // pulled up to the bottom edge, so the palette can always be reached.
    if (y + h > cy) y -= 149;
    if (y + h > cy) y = cy - h;
    if (y < 0) y = 0;
    return QPoint(x, y);
}
