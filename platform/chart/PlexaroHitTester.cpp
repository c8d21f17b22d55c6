#include "PlexaroHitTester.h"

namespace plat {

PlexaroHit PlexaroHitTester::at(const QPoint& p) const {
    PlexaroHit hit;
    const PlexaroView& v = m_view;
    if (p.x() < 0 || p.y() < 0 || p.x() >= v.size.width() || p.y() >= v.size.height()) return hit;
    if (p.y() < v.titleHeight) {
        hit.area = PlexaroHit::Area::Title;
        return hit;
    }
    const bool inList = p.x() < v.timeLeft();
    if (p.y() < v.rows.top) {
        hit.area = inList ? PlexaroHit::Area::None : PlexaroHit::Area::Ruler;
    } else {
        hit.area = inList ? PlexaroHit::Area::List : PlexaroHit::Area::Time;
        const int row = v.rows.rowAt(p.y());
        hit.row = row >= 1 ? row : -1;
    }
    if (inList) return hit;

    if (const auto moment = v.scale.at(v.toTimeX(p.x()))) {
        hit.onTime = true;
        hit.day = moment->day;
        hit.minute = moment->minute;
    }
    if (hit.row >= 1 && hit.onTime) hit.bar = barAt(hit.row, p, hit.day);
    return hit;
}

int PlexaroHitTester::barAt(int row, const QPoint& p, int32_t day) const {
    const int top = m_view.rows.rowTop(row) + m_view.barInset();
    const int bottom = m_view.rows.rowTop(row) + m_view.rows.height() - m_view.barInset();
    if (p.y() < top || p.y() >= bottom) return -1;
    const int64_t x = m_view.toTimeX(p.x());
    int found = -1;
    // Later bars are drawn over earlier ones: the last match is the one seen.
    // A bar ending just before the day can reach into its first pixel (bars are at least
    // one pixel wide), so the day before is looked at too.
    m_model.forEachBar(row, day - 1, day, [&](int n, const PlexaroBar& b) {
        const auto span = m_view.scale.span(b.startDay, b.startMinute, b.endDay, b.endMinute);
        if (x >= span.first && x < span.second) found = n;
    });
    return found;
}

}  // namespace plat
