#include "OleColor.h"

namespace plat {
namespace {

// The forms runtime's system colour indexes that have a palette counterpart.
struct SystemColour {
    uint32_t index;
    QPalette::ColorRole role;
};
constexpr SystemColour kSystemColours[] = {
    {0x00, QPalette::Base},             // scroll bar
    {0x01, QPalette::Window},           // desktop
    {0x02, QPalette::Highlight},        // active caption
    {0x03, QPalette::Highlight},        // inactive caption
    {0x04, QPalette::Window},           // menu
    {0x05, QPalette::Base},             // window background
    {0x06, QPalette::Dark},             // window frame
    {0x07, QPalette::WindowText},       // menu text
    {0x08, QPalette::Text},             // window text
    {0x09, QPalette::HighlightedText},  // caption text
    {0x0D, QPalette::Highlight},        // highlight
    {0x0E, QPalette::HighlightedText},  // highlight text
    {0x0F, QPalette::Button},           // button face
    {0x10, QPalette::Dark},             // button shadow
    {0x11, QPalette::PlaceholderText},  // grey text
    {0x12, QPalette::ButtonText},       // button text
    {0x14, QPalette::Light},            // button highlight
    {0x15, QPalette::Shadow},           // 3-D dark shadow
    {0x16, QPalette::Midlight},         // 3-D light
    {0x17, QPalette::ToolTipText},      // tool tip text
    {0x18, QPalette::ToolTipBase},      // tool tip background
};

QColor systemColour(uint32_t index, const QPalette& p) {
    for (const SystemColour& s : kSystemColours)
        if (s.index == index) return p.color(s.role);
    return p.color(QPalette::Window);
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
