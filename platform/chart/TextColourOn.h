#pragma once
#include <QColor>

namespace plat {

// Black or white, whichever reads better on the background. The chart and the booking
// editor's slot list both ask here, so a booking's colour carries the same text in each.
// By grey value, which weighs green most and blue least: pure blue (grey 39) and pure
// red (87) take white; yellow and white take black.
inline QColor TextColourOn(const QColor& background) {
    return qGray(background.rgb()) >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace plat
