#pragma once
#include <QString>
#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

// The schedule chart's data: resource rows and their time bars, nothing about pixels.
// Rows are numbered 1..N in the order added (row 0 is the ruler, never a resource) and
// bars 1..M within their row, so every number a caller keeps stays valid until clear().
// Bars are indexed by the day they start on and sorted by start minute within it, so
// painting and hit testing look only at the days they show.
namespace plat {

struct PlexaroBar {
    int32_t startDay = 0;  // day number: days since 1 January 1900
    int32_t endDay = 0;
    int startMinute = 0;  // minutes since midnight; the bar covers [start, end)
    int endMinute = 0;
    uint32_t colour = 0x00C0C0C0;  // 0x00BBGGRR
    int32_t data = 0;              // the caller's value (a booking id)
    QString key;
    QString text;
};

class PlexaroModel {
public:
    static constexpr int kNone = -1;
    // Row and bar numbers are 16-bit for the callers; beyond that adding is refused.
    static constexpr int kMaxRows = 32767;
    static constexpr int kMaxBarsPerRow = 32767;

    void clear();

    // The new row's number (1..N), or kNone when the chart is full.
    int addRow(const QString& text);
    int resourceCount() const { return int(m_rows.size()); }
    // N + 1: the ruler counts as row 0.
    int rowCount() const { return resourceCount() + 1; }
    bool isResourceRow(int row) const { return row >= 1 && row <= resourceCount(); }
    // Rows that are not resource rows read "" and 0; writing them does nothing.
    QString rowText(int row) const;
    int32_t rowData(int row) const;
    bool setRowData(int row, int32_t data);

    // The new bar's number within the row (1..M), or kNone for a row that is not a
    // resource row or is full. The values are kept as given; geometry decides what shows.
    int addBar(int row, int startMinute, int endMinute, int32_t startDay, int32_t endDay,
               const QString& key);
    int barCount(int row) const;
    int totalBars() const { return m_totalBars; }
    // nullptr when there is no such bar.
    const PlexaroBar* bar(int row, int bar) const;
    bool setBarColour(int row, int bar, uint32_t colour);
    bool setBarText(int row, int bar, const QString& text);
    bool setBarData(int row, int bar, int32_t data);

    // Calls f(barNumber, const PlexaroBar&) for every bar of the row that may reach into
    // the days firstDay..lastDay, by start day and start minute: the painting order, so
    // the last bar a point lies in is the one drawn on top.
    template <class F>
    void forEachBar(int row, int32_t firstDay, int32_t lastDay, F&& f) const;

    // Grows with every change, so a cache can tell that it is stale.
    uint64_t revision() const { return m_revision; }

private:
    struct Row {
        QString text;
        int32_t data = 0;
        std::vector<PlexaroBar> bars;                    // bar n is bars[n - 1]
        std::map<int32_t, std::vector<int>> byStartDay;  // bar numbers, by start minute
        int32_t longestSpanDays = 0;  // the most days a bar reaches past its start day
    };
    // Applies change to the bar and notes the change; false when there is no such bar.
    template <class F>
    bool changeBar(int row, int bar, F&& change);

    std::vector<Row> m_rows;
    int m_totalBars = 0;
    uint64_t m_revision = 0;
};

template <class F>
void PlexaroModel::forEachBar(int row, int32_t firstDay, int32_t lastDay, F&& f) const {
    if (!isResourceRow(row) || lastDay < firstDay) return;
    const Row& r = m_rows[size_t(row - 1)];
    const int64_t from = int64_t(firstDay) - r.longestSpanDays;
    auto it = r.byStartDay.lower_bound(int32_t(std::max<int64_t>(from, INT32_MIN)));
    for (; it != r.byStartDay.end() && it->first <= lastDay; ++it)
        for (int n : it->second) f(n, r.bars[size_t(n - 1)]);
}

}  // namespace plat
