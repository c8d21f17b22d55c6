#pragma once
#include <QColor>
#include <QPalette>
#include <cstdint>

// Colours as the system stores them: 0x00BBGGRR, red in the low byte (255 is pure red).
// A value with 0x80 in the high byte names a system colour by the index in its low byte,
// which is mapped to the palette when painted and otherwise kept unchanged.
namespace plat {

inline constexpr uint32_t kSystemColourFlag = 0x80000000u;

// The colour to paint for a stored value. Unknown system colour indexes give the
// palette's window colour, so a bad setting never paints garbage.
QColor OleToQColor(uint32_t ole, const QPalette& palette);
// With the application's palette.
QColor OleToQColor(uint32_t ole);
// The stored form of a colour (alpha is dropped).
uint32_t QColorToOle(const QColor& colour);

// The same, in the colour picker's spelling.
class OleColor {
public:
    static bool IsSystemColor(uint32_t value) { return (value >> 24) == 0x80; }
    static QColor Translate(uint32_t value) { return OleToQColor(value); }
    static uint32_t FromRgb(int red, int green, int blue) {
        return QColorToOle(QColor(red & 0xFF, green & 0xFF, blue & 0xFF));
    }
};

}  // namespace plat
