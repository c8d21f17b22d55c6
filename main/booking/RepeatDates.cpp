#include "RepeatDates.h"

#include <algorithm>
#include <chrono>

namespace chr = std::chrono;

namespace {
constexpr chr::sys_days kDayZero = chr::sys_days{chr::year{1900} / chr::January / 1};
constexpr chr::sys_days kFirst = chr::sys_days{chr::year{100} / chr::January / 1};
constexpr chr::sys_days kLast = chr::sys_days{chr::year{9999} / chr::December / 31};

chr::sys_days toDays(int32_t day) { return kDayZero + chr::days{day}; }
int32_t toNumber(chr::sys_days d) { return static_cast<int32_t>((d - kDayZero).count()); }

chr::sys_days sameDayNextMonth(chr::sys_days d) {
    const chr::year_month_day ymd{d};
    const chr::year_month next = ymd.year() / ymd.month() + chr::months{1};
    const chr::day last = chr::year_month_day_last{next / chr::last}.day();
    return chr::sys_days{next / std::min(ymd.day(), last)};
}

// The same occurrence of the weekday in the next month (the 2nd Tuesday gives the 2nd
// Tuesday); a fifth one that the next month lacks gives its last such weekday.
chr::sys_days sameWeekdayNextMonth(chr::sys_days d) {
    const chr::year_month_day ymd{d};
    const chr::weekday w{d};
    const unsigned n = (static_cast<unsigned>(ymd.day()) - 1) / 7 + 1;
    const chr::year_month next = ymd.year() / ymd.month() + chr::months{1};
    const chr::year_month_weekday nth{next / w[n]};
    if (nth.ok()) return chr::sys_days{nth};
    return chr::sys_days{chr::year_month_weekday_last{next / w[chr::last]}};
}

chr::sys_days nextWorkingDay(chr::sys_days d) {
    do {
        d += chr::days{1};
    } while (chr::weekday{d} == chr::Saturday || chr::weekday{d} == chr::Sunday);
    return d;
}
}  // namespace

int32_t RepeatDates::Next(int16_t pattern, int32_t day) {
    const chr::sys_days d = toDays(day);
    // A month ahead is the furthest any pattern steps.
    if (d < kFirst || d + chr::days{31} > kLast) return day;
    switch (pattern) {
        case Weekly:
        case EveryTwoWeeks:
        case EveryThreeWeeks:
        case EveryFourWeeks:
            return day + 7 * (pattern + 1);
        case SameDayOfMonth:
            return toNumber(sameDayNextMonth(d));
        case SameWeekdayOfMonth:
            return toNumber(sameWeekdayNextMonth(d));
        case WorkingDays:
            return toNumber(nextWorkingDay(d));
        case EveryDay:
            return day + 1;
        default:
            return day;
    }
}

std::vector<int32_t> RepeatDates::Series(int16_t pattern, int32_t first, int count) {
    std::vector<int32_t> dates;
    dates.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int32_t d = first; static_cast<int>(dates.size()) < count; d = Next(pattern, d))
        dates.push_back(d);
    return dates;
}
