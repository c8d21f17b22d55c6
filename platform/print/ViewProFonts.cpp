#include "ViewProFonts.h"

#include <cmath>
#include <memory>
#include <unordered_map>

namespace plat {

const ViewProFonts::Entry& ViewProFonts::entry(const ViewProFont& font) {
    static std::unordered_map<int64_t, std::unique_ptr<Entry>> cache;
    auto& slot = cache[font.key()];
    if (!slot) {
        const QFont face = font.toQFont();
        slot = std::make_unique<Entry>(Entry{face, QFontMetricsF(face)});
    }
    return *slot;
}

const QFont& ViewProFonts::Face(const ViewProFont& font) { return entry(font).face; }

const QFontMetricsF& ViewProFonts::Metrics(const ViewProFont& font) { return entry(font).metrics; }

int32_t ViewProFonts::TextWidth(const ViewProFont& font, const QString& text) {
    return int32_t(std::lround(Metrics(font).horizontalAdvance(text)));
}

int32_t ViewProFonts::LineHeight(const ViewProFont& font) {
    return int32_t(std::lround(Metrics(font).height()));
}

}  // namespace plat
