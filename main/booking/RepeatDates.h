#pragma once
#include <cstdint>
#include <vector>

// The dates of a repeated booking: each pattern gives the date after a day number (days
// since 1 January 1900, a Monday). Pure functions: no database, no settings, no events.
class RepeatDates {
public:
    enum Pattern : int16_t {
        Weekly = 0,
        EveryTwoWeeks = 1,
        EveryThreeWeeks = 2,
        EveryFourWeeks = 3,
        SameDayOfMonth = 4,      // clipped to the month's last day; a clipped day stays
        SameWeekdayOfMonth = 5,  // the n-th weekday, or the last one when there is no n-th
        WorkingDays = 6,         // Monday to Friday
        EveryDay = 7,
    };
    static constexpr int kPatterns = 8;

    // The date after day in the pattern. An unknown pattern, or a day whose next date
    // would fall outside the years 100..9999, gives day itself.
    static int32_t Next(int16_t pattern, int32_t day);
    // count dates: first, then each one from the one before it.
    static std::vector<int32_t> Series(int16_t pattern, int32_t first, int count);
};
