#include "OleColor.h"

namespace plat {
namespace {

// The forms runtime's system colour indexes that have a palette counterpart.
QColor systemColour(uint32_t index, const QPalette& p) {
    switch (index) {
        case 0x00: return p.color(QPalette::Base);             // scroll bar
        case 0x01: return p.color(QPalette::Window);           // desktop
        case 0x02: case 0x03: return p.color(QPalette::Highlight);  // caption
        case 0x04: return p.color(QPalette::Window);           // menu
        case 0x05: return p.color(QPalette::Base);             // window background
        case 0x06: return p.color(QPalette::Dark);             // window frame
        case 0x07: return p.color(QPalette::WindowText);       // menu text
        case 0x08: return p.color(QPalette::Text);             // window text
        case 0x09: return p.color(QPalette::HighlightedText);  // caption text
        case 0x0D: return p.color(QPalette::Highlight);        // highlight
        case 0x0E: return p.color(QPalette::HighlightedText);  // highlight text
        case 0x0F: return p.color(QPalette::Button);           // button face
        case 0x10: return p.color(QPalette::Dark);             // button shadow
        case 0x11: return p.color(QPalette::PlaceholderText);  // grey text
        case 0x12: return p.color(QPalette::ButtonText);       // button text
        case 0x14: return p.color(QPalette::Light);            // button highlight
        case 0x15: return p.color(QPalette::Shadow);           // 3-D dark shadow
        case 0x16: return p.color(QPalette::Midlight);         // 3-D light
        case 0x17: return p.color(QPalette::ToolTipText);      // tool tip text
        case 0x18: return p.color(QPalette::ToolTipBase);      // tool tip background
        default: return p.color(QPalette::Window);
    }
}

}  // namespace

QColor OleToQColor(uint32_t ole, const QPalette& palette) {
    if (ole & kSystemColourFlag) return systemColour(ole & 0xFFu, palette);
    return QColor(int(ole & 0xFFu), int((ole >> 8) & 0xFFu), int((ole >> 16) & 0xFFu));
}

QColor OleToQColor(uint32_t ole) { return OleToQColor(ole, QPalette()); }

uint32_t QColorToOle(const QColor& colour) {
    const QColor c = colour.toRgb();
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

}  // namespace plat
