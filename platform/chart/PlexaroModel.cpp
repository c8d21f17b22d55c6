#include "PlexaroModel.h"

#include <algorithm>
#include <utility>

namespace plat {

void PlexaroModel::clear() {
    m_rows.clear();
    m_totalBars = 0;
    ++m_revision;
}

int PlexaroModel::addRow(const QString& text) {
    if (resourceCount() >= kMaxRows) return kNone;
    m_rows.push_back(Row{text, 0, {}, {}, 0});
    ++m_revision;
    return resourceCount();
}

QString PlexaroModel::rowText(int row) const {
    return isResourceRow(row) ? m_rows[size_t(row - 1)].text : QString();
}

int32_t PlexaroModel::rowData(int row) const {
    return isResourceRow(row) ? m_rows[size_t(row - 1)].data : 0;
}

bool PlexaroModel::setRowData(int row, int32_t data) {
    if (!isResourceRow(row)) return false;
    m_rows[size_t(row - 1)].data = data;
    ++m_revision;
    return true;
}

int PlexaroModel::addBar(int row, int startMinute, int endMinute, int32_t startDay, int32_t endDay,
                         const QString& key) {
    if (!isResourceRow(row)) return kNone;
    Row& r = m_rows[size_t(row - 1)];
    if (int(r.bars.size()) >= kMaxBarsPerRow) return kNone;
    PlexaroBar b;
    b.startDay = startDay;
    b.endDay = endDay;
    b.startMinute = startMinute;
    b.endMinute = endMinute;
    b.key = key;
    r.bars.push_back(std::move(b));
    const int number = int(r.bars.size());

    // Callers add in start order, so this is nearly always an append.
    std::vector<int>& day = r.byStartDay[startDay];
    auto later = std::upper_bound(day.begin(), day.end(), startMinute, [&](int m, int n) {
        return m < r.bars[size_t(n - 1)].startMinute;
    });
    day.insert(later, number);
    const int64_t span = int64_t(endDay) - startDay;
    if (span > r.longestSpanDays) r.longestSpanDays = int32_t(std::min<int64_t>(span, INT32_MAX));

    ++m_totalBars;
    ++m_revision;
    return number;
}

int PlexaroModel::barCount(int row) const {
    return isResourceRow(row) ? int(m_rows[size_t(row - 1)].bars.size()) : 0;
}

const PlexaroBar* PlexaroModel::bar(int row, int bar) const {
    if (!isResourceRow(row)) return nullptr;
    const Row& r = m_rows[size_t(row - 1)];
    if (bar < 1 || bar > int(r.bars.size())) return nullptr;
    return &r.bars[size_t(bar - 1)];
}

template <class F>
bool PlexaroModel::changeBar(int row, int bar, F&& change) {
    auto* b = const_cast<PlexaroBar*>(std::as_const(*this).bar(row, bar));
    if (!b) return false;
    change(*b);
    ++m_revision;
    return true;
}

bool PlexaroModel::setBarColour(int row, int bar, uint32_t colour) {
    return changeBar(row, bar, [&](PlexaroBar& b) { b.colour = colour; });
}

bool PlexaroModel::setBarText(int row, int bar, const QString& text) {
    return changeBar(row, bar, [&](PlexaroBar& b) { b.text = text; });
}

bool PlexaroModel::setBarData(int row, int bar, int32_t data) {
    return changeBar(row, bar, [&](PlexaroBar& b) { b.data = data; });
}

}  // namespace plat
