#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

// What a control asks of the screen: its size (the primary screen; other monitors are not
// considered), the mouse cursor's position, the rectangle of the window under a point,
// and the logical resolution. Tests fix the values, so placement does not depend on the
// machine that runs them.
namespace plat {

class ScreenMetrics {
public:
    struct Fixed {
        QSize screen{1024, 768};
        QPoint cursor;
        // The window under the cursor, as left, top, width and height.
        QRect windowUnderCursor;
        QSize logicalDpi{96, 96};
    };

    static QSize ScreenSize();
    static QPoint CursorPos();
    // The screen rectangle of the widget under the point (the whole screen when none is).
    static QRect WindowRectAt(const QPoint& screenPoint);
    static QSize LogicalDpi();

    // Only tests call this; nullopt returns to the real screen.
    static void SetForTest(const std::optional<Fixed>& fixed);
};

}  // namespace plat
