#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

// Day and minute to x and back for the chart's time area, as pure functions. x counts
// pixels from the first shown minute of the first shown day, before scrolling. Each day
// shows its minutes dayStart..dayEnd and the days follow one another without a gap.
//
// Pixels per minute are zoom / unitMinutes(), kept as a fraction so that the two ways
// agree exactly: the minute at offset m (minutes since the range's start) begins at pixel
// ceil(m * zoom / unit), and pixel x shows the minute under its left edge,
// floor(x * unit / zoom). A span [a, b) therefore covers exactly the pixels
// [xOfOffset(a), xOfOffset(b)), and a pixel lies in the span exactly when its minute does.
namespace plat {

struct PlexaroTimeScale {
    enum Kind { Hours = 0, Days = 1, Weeks = 2 };  // any other kind is laid out as Days
    static constexpr int kMaxDays = 1000;          // a longer range shows its first 1000 days
    static constexpr int kMinZoom = 1;
    static constexpr int kMaxZoom = 1000;

    int32_t firstDay = 0;  // day numbers, both shown; lastDay below firstDay shows one day
    int32_t lastDay = 0;
    int dayStart = 0;  // minutes since midnight; an empty or reversed span shows 0..1440
    int dayEnd = 1440;
    int kind = Hours;
    int zoom = 60;  // pixels per unit: an hour (Hours), a day (Days), a week (Weeks)

    bool wholeDay() const { return std::clamp(dayEnd, 0, 1440) <= std::clamp(dayStart, 0, 1440); }
    int firstMinute() const { return wholeDay() ? 0 : std::clamp(dayStart, 0, 1440); }
    int minutesPerDay() const {
        return wholeDay() ? 1440 : std::clamp(dayEnd, 0, 1440) - firstMinute();
    }
    int dayCount() const {
        return int(std::clamp<int64_t>(int64_t(lastDay) - firstDay + 1, 1, kMaxDays));
    }
    int64_t unitMinutes() const {
        if (kind == Hours) return 60;
        return kind == Weeks ? 7 * int64_t(minutesPerDay()) : minutesPerDay();
    }
    int64_t pixelZoom() const { return std::clamp(zoom, kMinZoom, kMaxZoom); }
    int64_t totalMinutes() const { return int64_t(dayCount()) * minutesPerDay(); }
    int64_t width() const { return xOfOffset(totalMinutes()); }

    int64_t xOfOffset(int64_t offset) const {
        const int64_t u = unitMinutes();
        return (offset * pixelZoom() + u - 1) / u;  // offset >= 0: this is the ceiling
    }
    // Minutes since the range's start of (day, minute), clamped into [0, totalMinutes()]:
    // days before or after the range clamp to its ends, minutes outside a day's shown
    // part to that day's edges.
    int64_t offsetOf(int32_t day, int minute) const {
        const int64_t d = int64_t(day) - firstDay;
        if (d < 0) return 0;
        if (d >= dayCount()) return totalMinutes();
        const int m = std::clamp(minute, firstMinute(), firstMinute() + minutesPerDay());
        return d * minutesPerDay() + (m - firstMinute());
    }
    int64_t xOf(int32_t day, int minute) const { return xOfOffset(offsetOf(day, minute)); }
    // Left edge of a day's column (day after the range: the right edge of the range).
    int64_t xOfDay(int32_t day) const { return xOf(day, firstMinute()); }

    struct Moment {
        int32_t day;
        int minute;  // minutes since midnight
    };
    // The day and minute under pixel x; nothing left of 0 or from width() on.
    std::optional<Moment> at(int64_t x) const {
        if (x < 0 || x >= width()) return std::nullopt;
        const int64_t offset = std::min(x * unitMinutes() / pixelZoom(), totalMinutes() - 1);
        return Moment{int32_t(firstDay + offset / minutesPerDay()),
                      int(firstMinute() + offset % minutesPerDay())};
    }

    // Pixels [first, second) of a bar from (startDay, startMinute) to (endDay, endMinute).
    // Empty (first == second) when nothing of it lies in the shown range or when its end
    // is not after its start; a bar that shows is at least one pixel wide.
    std::pair<int64_t, int64_t> span(int32_t startDay, int startMinute, int32_t endDay,
                                     int endMinute) const {
        const int64_t a = offsetOf(startDay, startMinute);
        const int64_t b = offsetOf(endDay, endMinute);
        if (b <= a) return {0, 0};
        const int64_t x1 = xOfOffset(a);
        return {x1, std::max(xOfOffset(b), x1 + 1)};
    }
    // Whether a bar from startMinute to endMinute of one day shows on a chart whose days
    // show dayStart..dayEnd: some of it lies inside. Where a day narrows, the bookings it
    // would hide are counted by this same rule.
    static bool shows(int dayStart, int dayEnd, int startMinute, int endMinute) {
        PlexaroTimeScale scale;
        scale.dayStart = dayStart;
        scale.dayEnd = dayEnd;
        const auto [first, second] = scale.span(0, startMinute, 0, endMinute);
        return second > first;
    }
};

}  // namespace plat
