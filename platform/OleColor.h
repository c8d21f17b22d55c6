#pragma once
#include <QColor>
#include <cstdint>

// Colour values as the programs store them: 0x00BBGGRR for a plain colour (red in the
// low byte); a value with 0x80 in the high byte names a system colour by the index in its
// low byte and becomes a plain colour only when painted, from the application's palette.
namespace plat {

class OleColor {
public:
    static bool IsSystemColor(uint32_t value) { return (value >> 24) == 0x80; }
    // The colour to paint. An unknown system colour index paints black.
    static QColor Translate(uint32_t value);
    // The plain value of an RGB colour.
    static uint32_t FromRgb(int red, int green, int blue);
};

}  // namespace plat
