#include "OleColor.h"

#include <QGuiApplication>
#include <array>

namespace plat {
namespace {

struct SystemColor {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// By system colour index: scroll bar, desktop, active and inactive caption, menu, window,
// window frame, menu text, window text, caption text, active and inactive border,
// application workspace, highlight, highlight text, button face, button shadow, grey
// text, button text, inactive caption text, button highlight, dark shadow, 3-D light,
// tool-tip text and tool-tip background.
const std::array<SystemColor, 25> kSystemColors = {{
    {QPalette::Active, QPalette::Button},
    {QPalette::Active, QPalette::Dark},
    {QPalette::Active, QPalette::Highlight},
    {QPalette::Inactive, QPalette::Mid},
    {QPalette::Active, QPalette::Window},
    {QPalette::Active, QPalette::Base},
    {QPalette::Active, QPalette::Shadow},
    {QPalette::Active, QPalette::WindowText},
    {QPalette::Active, QPalette::Text},
    {QPalette::Active, QPalette::HighlightedText},
    {QPalette::Active, QPalette::Window},
    {QPalette::Inactive, QPalette::Window},
    {QPalette::Active, QPalette::Mid},
    {QPalette::Active, QPalette::Highlight},
    {QPalette::Active, QPalette::HighlightedText},
    {QPalette::Active, QPalette::Button},
    {QPalette::Active, QPalette::Dark},
    {QPalette::Disabled, QPalette::Text},
    {QPalette::Active, QPalette::ButtonText},
    {QPalette::Inactive, QPalette::WindowText},
    {QPalette::Active, QPalette::Light},
    {QPalette::Active, QPalette::Shadow},
    {QPalette::Active, QPalette::Midlight},
    {QPalette::Active, QPalette::ToolTipText},
    {QPalette::Active, QPalette::ToolTipBase},
}};

}  // namespace

QColor OleToQColor(uint32_t ole, const QPalette& palette) {
    if ((ole >> 24) == 0x80) {
        const uint32_t index = ole & 0xFFu;
        if (index >= kSystemColors.size()) return palette.color(QPalette::Window);
        return palette.color(kSystemColors[index].group, kSystemColors[index].role);
    }
    return QColor(int(ole & 0xFFu), int((ole >> 8) & 0xFFu), int((ole >> 16) & 0xFFu));
}

QColor OleToQColor(uint32_t ole) { return OleToQColor(ole, QGuiApplication::palette()); }

uint32_t QColorToOle(const QColor& colour) {
    const QColor c = colour.toRgb();
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

}  // namespace plat
