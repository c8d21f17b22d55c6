#pragma once
#include <QDate>
#include <QString>
#include <cstdint>

// Day numbers (days since 1 January 1900, a Monday, which is day 0) as the chart's ruler
// shows them, with English day and month names whatever the locale.
namespace plat {

class PlexaroCalendar {
public:
    static QDate dateOf(int32_t day);
    static int32_t dayOf(const QDate& date);
    // Saturday or Sunday.
    static bool isWeekend(int32_t day);
    static bool isMonday(int32_t day) { return weekday(day) == 0; }
    // 0 = Monday .. 6 = Sunday.
    static int weekday(int32_t day);

    // The ruler's date format. Codes: D "Mon", W "Monday", n "3" (day of the month),
    // d "03", M "Mar", F "March", m "03" (month number), Y "2026", y "26"; a backslash
    // makes the next character plain; every other character stands as it is.
    static QString formatDate(int32_t day, const QString& format);

    // An hour mark of the ruler at a minute of the day: "08:00", "13:00" and "24:00" in
    // 24-hour form; "8 am", "12 pm", "1 pm" and "12 am" (midnight) in 12-hour form. Minutes
    // that are not on the hour show them: "08:30", "8:30 am".
    static QString timeLabel(int minute, bool use24Hour);
};

}  // namespace plat
