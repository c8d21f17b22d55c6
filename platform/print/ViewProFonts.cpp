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

QString ViewProFonts::Fitted(const ViewProFont& font, const QString& text, int32_t width) {
    QString line = text;
    // Laying out a very long text only to cut it is slow: its head alone is cut when the
    // head is already too wide.
    constexpr qsizetype kHead = 1000;
    bool tooWide = false;
    if (line.size() > kHead) {
        const qsizetype cut = line.at(kHead - 1).isHighSurrogate() ? kHead - 1 : kHead;
        const QString head = line.left(cut);
        tooWide = TextWidth(font, head) > width;
        if (tooWide) line = head;
    }
    if (!tooWide && TextWidth(font, line) <= width) return line;
    // Measured back as drawn: the shortened text must not round past the width.
    const QFontMetricsF& m = Metrics(font);
    for (int step = 0; step < 8 && width - step > 0; ++step) {
        const QString shortened = m.elidedText(line, Qt::ElideRight, qreal(width - step));
        if (TextWidth(font, shortened) <= width) return shortened;
    }
    return QString();
}

}  // namespace plat
