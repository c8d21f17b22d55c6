#pragma once
#include <QColor>
#include <QPalette>
#include <cstdint>

// Colours as the system stores them: 0x00BBGGRR, red in the low byte (255 is pure red).
// A value with 0x80 in the high byte names a system colour (its low byte is the index),
// which is mapped to the palette when painted and otherwise kept unchanged.
namespace plat {

inline constexpr uint32_t kSystemColourFlag = 0x80000000u;

// The colour to paint for a stored value. Unknown system colour indexes give the
// palette's window colour, so a bad setting never paints garbage.
QColor OleToQColor(uint32_t ole, const QPalette& palette);
// Only for plain colours; system colours need a palette.
QColor OleToQColor(uint32_t ole);
// The stored form of a colour (alpha is dropped).
uint32_t QColorToOle(const QColor& colour);

}  // namespace plat
