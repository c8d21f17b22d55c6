#include "OleColor.h"

#include <QGuiApplication>
#include <QPalette>
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

QColor OleColor::Translate(uint32_t value) {
    if (!IsSystemColor(value))
        return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    const uint32_t index = value & 0xFF;
    if (index >= kSystemColors.size()) return QColor(Qt::black);
    const SystemColor& c = kSystemColors[index];
    return QGuiApplication::palette().color(c.group, c.role);
}

uint32_t OleColor::FromRgb(int red, int green, int blue) {
    return static_cast<uint32_t>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

}  // namespace plat
