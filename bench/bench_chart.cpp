#include <benchmark/benchmark.h>


#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <vector>

#include "Plexaro.h"
#include "PlexaroCalendar.h"

// A large group: 300 resources over the 61 days of the week view, 20 bookings a day each,
// loaded as the main window loads them (bar, data, colour) and drawn one frame at a time.
// The load and the changed frame also carry the plain way of doing the same work and the
// ratio to it; the unchanged frame is a time of its own.
namespace {

constexpr int kResources = 300;
constexpr int kDays = 61;
constexpr int kBarsPerDay = 20;
constexpr int kDayStart = 480;
constexpr int kSlot = 27;  // minutes a booking: 20 of them fill 08:00..17:00
const int32_t kFirstDay = plat::PlexaroCalendar::dayOf(QDate(2026, 3, 2));
const uint32_t kColours[] = {0x000000FF, 0x0000C000, 0x00FF8000, 0x0000A0FF, 0x00808080};

struct PlainBooking {
    int row, startMinute, endMinute;
    int32_t day, data;
    uint32_t colour;
    QString key;
};

void load(plat::Plexaro& chart) {
    chart.clear();
    int id = 1;
    for (int r = 0; r < kResources; ++r) {
        const int row = chart.addRow(QString("Resource %1").arg(r + 1));
        chart.setRowData(row, r + 1);
        for (int d = 0; d < kDays; ++d) {
            for (int b = 0; b < kBarsPerDay; ++b, ++id) {
                const int start = kDayStart + b * kSlot;
                const int bar = chart.addBar(row, start, start + kSlot, kFirstDay + d,
                                             kFirstDay + d, QStringLiteral("B%1").arg(id));
                chart.setBarData(row, bar, id);
                chart.setBarColor(row, bar, kColours[id % 5]);
            }
        }
    }
}

std::vector<PlainBooking> loadPlain() {
    std::vector<PlainBooking> all;
    int id = 1;
    for (int r = 0; r < kResources; ++r)
        for (int d = 0; d < kDays; ++d)
            for (int b = 0; b < kBarsPerDay; ++b, ++id) {
                const int start = kDayStart + b * kSlot;
                all.push_back({r + 1, start, start + kSlot, kFirstDay + d, id, kColours[id % 5],
                               QStringLiteral("B%1").arg(id)});
            }
    return all;
}

void setUpWeeks(plat::Plexaro& chart) {
    chart.resize(1280, 800);
    chart.setListWidth(110);
    chart.setDayStart(kDayStart);
    chart.setDayEnd(kDayStart + kBarsPerDay * kSlot);
    chart.setTimeScale(plat::Plexaro::Weeks);
    chart.setTimeZoom(130);  // 61 days in about 1130 pixels
    chart.setStartDate(kFirstDay);
    chart.setEndDate(kFirstDay + kDays - 1);
    chart.show();
}

double millisecondsOf(const std::function<void()>& work, int runs) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < runs; ++i) work();
    return double(t.nsecsElapsed()) / 1e6 / runs;
}

void BM_Add366000Bars(benchmark::State& state) {
    plat::Plexaro chart;
    setUpWeeks(chart);
    for (auto _ : state) {
        load(chart);
        benchmark::DoNotOptimize(chart.rowCount());
    }
    const double ours = millisecondsOf([&] { load(chart); }, 3);
    const double plain = millisecondsOf([] { benchmark::DoNotOptimize(loadPlain()); }, 3);
    state.counters["bars"] = chart.model().totalBars();
    state.counters["plain_vector_ms"] = plain;
    state.counters["ratio_to_plain"] = ours / plain;
}
BENCHMARK(BM_Add366000Bars)->Unit(benchmark::kMillisecond);

// The bookings a frame shows: those of the rows in view whose place reaches into the time
// area, as the chart picks its bars.
std::vector<PlainBooking> shownIn(const plat::PlexaroView& v,
                                  const std::vector<PlainBooking>& all) {
    const int first = v.rows.firstVisibleRow(), last = v.rows.lastVisibleRow(v.size.height());
    const int64_t left = v.scrollX, right = v.scrollX + v.timeAreaWidth();
    std::vector<PlainBooking> shown;
    for (const PlainBooking& b : all) {
        if (b.row < first || b.row > last) continue;
        const auto span = v.scale.span(b.day, b.startMinute, b.day, b.endMinute);
        if (span.first != span.second && span.second > left && span.first < right)
            shown.push_back(b);
    }
    return shown;
}

// A frame after a change: the rows moved one pixel, so every shown bar's place is worked
// out afresh (the cache cannot help). The plain loop draws the same bars, the ones shown,
// picked out beforehand: the ratio is the chart's frame against bare rectangles.
void BM_PaintWeeksFrame(benchmark::State& state) {
    plat::Plexaro chart;
    setUpWeeks(chart);
    load(chart);
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    QScrollBar* rows = chart.verticalScrollBar();
    int shift = 0;
    for (auto _ : state) {
        rows->setValue(shift ^= 1);
        chart.render(&image);
    }
    // Each of the two scroll positions with the bars it shows.
    struct Frame {
        plat::PlexaroView view;
        std::vector<PlainBooking> bars;
    };
    std::vector<Frame> frames;
    const std::vector<PlainBooking> all = loadPlain();
    for (int position : {0, 1}) {
        rows->setValue(position);
        chart.render(&image);
        frames.push_back({chart.view(), shownIn(chart.view(), all)});
        if (int(frames.back().bars.size()) != chart.lastPaintBarCount())
            state.SkipWithError("the plain loop would draw other bars than the chart");
    }
    const double plain = millisecondsOf(
        [&] {
            const Frame& f = frames[size_t(shift ^= 1)];
            QPainter p(&image);
            for (const PlainBooking& b : f.bars) {
                const auto span = f.view.scale.span(b.day, b.startMinute, b.day, b.endMinute);
                p.fillRect(f.view.barRect(b.row, span), QColor::fromRgb(b.colour));
            }
        },
        5);
    rows->setValue(shift);  // each frame below then moves the rows
    chart.render(&image);
    const double ours = millisecondsOf(
        [&] {
            rows->setValue(shift ^= 1);
            chart.render(&image);
        },
        5);
    state.counters["bars_drawn"] = chart.lastPaintBarCount();
    state.counters["plain_bars"] = double(frames[size_t(shift)].bars.size());
    state.counters["paint_ms"] = double(chart.lastPaintNanoseconds()) / 1e6;
    state.counters["plain_loop_ms"] = plain;
    state.counters["ratio_to_plain"] = ours / plain;
}
BENCHMARK(BM_PaintWeeksFrame)->Unit(benchmark::kMillisecond);

// The same frame again with nothing changed: the bars' places come from the cache.
void BM_RepaintWeeksFrame(benchmark::State& state) {
    plat::Plexaro chart;
    setUpWeeks(chart);
    load(chart);
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) chart.render(&image);
    state.counters["paint_ms"] = double(chart.lastPaintNanoseconds()) / 1e6;
}
BENCHMARK(BM_RepaintWeeksFrame)->Unit(benchmark::kMillisecond);

}  // namespace
