#include "ViewProDocument.h"

#include <algorithm>

namespace plat {

int64_t ViewProFont::key() const {
    return (int64_t(uint16_t(scale)) << 40) | (int64_t(selection) << 24) |
           (int64_t(uint16_t(size)) << 2) | (bold ? 2 : 0) | (italic ? 1 : 0);
}

QFont ViewProFont::toQFont() const {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    // Measured and drawn at the same outline size: no hinting that would make the widths
    // depend on the device.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(std::max(1, int(int64_t(size) * 20 * scale / 1000)));
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QString ViewProBand::field(int index) const {
    const qsizetype first = text.indexOf('|');
    const qsizetype second = first < 0 ? -1 : text.indexOf('|', first + 1);
    switch (index) {
        case 0:
            return first < 0 ? text : text.left(first);
        case 1:
            if (first < 0) return QString();
            return second < 0 ? text.mid(first + 1) : text.mid(first + 1, second - first - 1);
        case 2:
            return second < 0 ? QString() : text.mid(second + 1);
        default:
            return QString();
    }
}

void ViewProDocument::start() {
    m_pages.clear();
    m_header = ViewProBand();
    m_footer = ViewProBand();
    m_pages.emplace_back();
    m_state = State::Open;
}

bool ViewProDocument::newPage() {
    if (m_state != State::Open) return false;
    ViewProPage next;
    next.header = m_header;
    next.footer = m_footer;
    m_pages.push_back(std::move(next));
    return true;
}

bool ViewProDocument::end() {
    if (m_state != State::Open) return false;
    m_state = State::Ended;
    return true;
}

bool ViewProDocument::addLine(const ViewProLine& line) {
    if (m_state != State::Open) return false;
    m_pages.back().lines.push_back(line);
    return true;
}

bool ViewProDocument::addText(ViewProText text) {
    if (m_state != State::Open) return false;
    m_pages.back().texts.push_back(std::move(text));
    return true;
}

void ViewProDocument::setHeader(const ViewProBand& band) {
    m_header = band;
    if (m_state == State::Open) m_pages.back().header = band;
}

void ViewProDocument::setFooter(const ViewProBand& band) {
    m_footer = band;
    if (m_state == State::Open) m_pages.back().footer = band;
}

const ViewProPage* ViewProDocument::page(int number) const {
    if (number < 1 || number > pageCount()) return nullptr;
    return &m_pages[size_t(number - 1)];
}

}  // namespace plat
