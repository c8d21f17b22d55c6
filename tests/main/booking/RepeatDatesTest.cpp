#include <gtest/gtest.h>

#include <QDate>
#include <QStringList>

#include "RepeatDates.h"

namespace {

int32_t dayOf(const QString& iso) {
    return static_cast<int32_t>(QDate(1900, 1, 1).daysTo(QDate::fromString(iso, Qt::ISODate)));
}
QString isoOf(int32_t day) { return QDate(1900, 1, 1).addDays(day).toString(Qt::ISODate); }

}  // namespace

TEST(RepeatDates, EachPatternStepsAcrossMonthEndsAndLeapYears) {
    struct Case {
        const char* name;
        int16_t pattern;
        const char* first;
        QStringList next;  // the dates that follow the first
    } cases[] = {
        {"weekly over the year end", 0, "2026-12-28", {"2027-01-04", "2027-01-11"}},
        {"fortnightly over a leap day", 1, "2028-02-20", {"2028-03-05", "2028-03-19"}},
        {"three weeks", 2, "2027-02-14", {"2027-03-07"}},
        {"four weeks", 3, "2028-02-01", {"2028-02-29", "2028-03-28"}},
        {"day of month clipped stays clipped",
         4,
         "2026-01-31",
         {"2026-02-28", "2026-03-28", "2026-04-28"}},
        {"day of month over the year end", 4, "2026-12-15", {"2027-01-15", "2027-02-15"}},
        {"day of month into a leap February", 4, "2028-01-31", {"2028-02-29", "2028-03-29"}},
        {"fifth Monday falls on the last Monday",
         5,
         "2026-03-30",
         {"2026-04-27", "2026-05-25", "2026-06-22"}},
        {"second Tuesday", 5, "2026-01-13", {"2026-02-10", "2026-03-10", "2026-04-14"}},
        {"fifth Saturday on a month that ends on a Saturday",
         5,
         "2026-01-31",
         {"2026-02-28", "2026-03-28"}},
        {"fifth Tuesday of a leap February", 5, "2028-02-29", {"2028-03-28"}},
        {"working days skip the weekend", 6, "2026-12-04", {"2026-12-07", "2026-12-08"}},
        {"a Saturday start stays first", 6, "2026-12-05", {"2026-12-07"}},
        {"working days over the year end", 6, "2027-12-31", {"2028-01-03"}},
        {"every day over a leap day", 7, "2028-02-28", {"2028-02-29", "2028-03-01"}},
        {"every day in a common year", 7, "2027-02-28", {"2027-03-01"}},
        {"an unknown pattern stays", 8, "2026-03-10", {"2026-03-10"}},
        {"a negative pattern stays", -1, "2026-03-10", {"2026-03-10"}},
    };
    for (const Case& c : cases) {
        const auto series = RepeatDates::Series(c.pattern, dayOf(c.first), c.next.size() + 1);
        QStringList got;
        for (size_t i = 1; i < series.size(); ++i) got << isoOf(series[i]);
        EXPECT_EQ(isoOf(series.front()).toStdString(), c.first) << c.name;
        EXPECT_EQ(got.join(" ").toStdString(), c.next.join(" ").toStdString()) << c.name;
    }
}

TEST(RepeatDates, DaysAtTheEdgesOfTheCalendarStayPut) {
    for (int16_t pattern = 0; pattern < RepeatDates::kPatterns; ++pattern) {
        EXPECT_EQ(RepeatDates::Next(pattern, dayOf("9999-12-20")), dayOf("9999-12-20"));
        EXPECT_EQ(RepeatDates::Next(pattern, INT32_MAX), INT32_MAX);
        EXPECT_EQ(RepeatDates::Next(pattern, INT32_MIN), INT32_MIN);
    }
    EXPECT_EQ(RepeatDates::Series(0, 0, 0).size(), 0u);
}
