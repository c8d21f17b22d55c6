#include <gtest/gtest.h>

#include <vector>

#include "PlexaroCalendar.h"
#include "PlexaroModel.h"
#include "PlexaroRowLayout.h"
#include "PlexaroTimeScale.h"

using plat::PlexaroCalendar;
using plat::PlexaroModel;
using plat::PlexaroRowLayout;
using plat::PlexaroTimeScale;

namespace {

// Monday 2 March 2026.
const int32_t kMonday = PlexaroCalendar::dayOf(QDate(2026, 3, 2));

PlexaroTimeScale scaleOf(int kind, int zoom, int dayStart, int dayEnd, int days) {
    PlexaroTimeScale s;
    s.kind = kind;
    s.zoom = zoom;
    s.dayStart = dayStart;
    s.dayEnd = dayEnd;
    s.firstDay = kMonday;
    s.lastDay = kMonday + days - 1;
    return s;
}

}  // namespace

TEST(PlexaroTimeScale, AMinuteOfADayMapsToXAndBackInEachView) {
    struct Case {
        const char* name;
        PlexaroTimeScale scale;
        int dayOffset;
        int minute;
        int64_t x;
        int64_t width;
    } cases[] = {
        // 60 px an hour over 08:00..17:00: 10:00 is two hours in.
        {"hours", scaleOf(PlexaroTimeScale::Hours, 60, 480, 1020, 1), 0, 600, 120, 540},
        // 54 px a day of 540 minutes, 33 days: 12:30 on the third day.
        {"days", scaleOf(PlexaroTimeScale::Days, 54, 480, 1020, 33), 2, 750, 135, 33 * 54},
        // 70 px a week, 61 days: the start of the eleventh day is 10 px a day in.
        {"weeks", scaleOf(PlexaroTimeScale::Weeks, 70, 480, 1020, 61), 10, 480, 100, 610},
        // A whole day when the working day is empty.
        {"empty day", scaleOf(PlexaroTimeScale::Hours, 60, 600, 600, 1), 0, 90, 90, 1440},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.scale.width(), c.width);
        EXPECT_EQ(c.scale.xOf(kMonday + c.dayOffset, c.minute), c.x);
        const auto back = c.scale.at(c.x);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->day, kMonday + c.dayOffset);
        EXPECT_EQ(back->minute, c.minute);
    }
}

TEST(PlexaroTimeScale, APixelLiesInASpanExactlyWhenItsMinuteDoes) {
    // Ratios that do not divide evenly are where rounding goes wrong.
    for (const PlexaroTimeScale& s : {scaleOf(PlexaroTimeScale::Hours, 37, 450, 1000, 2),
                                      scaleOf(PlexaroTimeScale::Days, 41, 0, 1440, 33),
                                      scaleOf(PlexaroTimeScale::Weeks, 53, 420, 1080, 61)}) {
        SCOPED_TRACE(s.kind);
        const int64_t total = s.totalMinutes();
        for (const auto& [a, b] : std::vector<std::pair<int64_t, int64_t>>{
                 {0, 1}, {17, 95}, {total / 3, total / 3 + 200}, {total - 7, total}}) {
            const int64_t x1 = s.xOfOffset(a);
            const int64_t x2 = s.xOfOffset(b);
            for (int64_t x = std::max<int64_t>(0, x1 - 3); x < std::min(s.width(), x2 + 3); ++x) {
                const auto m = s.at(x);
                ASSERT_TRUE(m.has_value());
                const int64_t offset =
                    int64_t(m->day - s.firstDay) * s.minutesPerDay() + m->minute - s.firstMinute();
                EXPECT_EQ(x >= x1 && x < x2, offset >= a && offset < b) << x;
            }
        }
    }
}

TEST(PlexaroTimeScale, EdgesClampAndPointsOutsideFindNothing) {
    const PlexaroTimeScale s = scaleOf(PlexaroTimeScale::Days, 54, 480, 1020, 33);
    EXPECT_FALSE(s.at(-1).has_value());
    EXPECT_FALSE(s.at(s.width()).has_value());
    EXPECT_EQ(s.at(s.width() - 1)->day, kMonday + 32);
    EXPECT_EQ(s.xOf(kMonday - 5, 600), 0);                       // before the range
    EXPECT_EQ(s.xOf(kMonday + 40, 600), s.width());              // after it
    EXPECT_EQ(s.xOf(kMonday + 1, 0), s.xOfDay(kMonday + 1));     // before the working day
    EXPECT_EQ(s.xOf(kMonday + 1, 1440), s.xOfDay(kMonday + 2));  // after it

    PlexaroTimeScale reversed = s;
    reversed.lastDay = s.firstDay - 10;
    EXPECT_EQ(reversed.dayCount(), 1);
    PlexaroTimeScale huge = s;
    huge.lastDay = s.firstDay + 5000000;
    EXPECT_EQ(huge.dayCount(), PlexaroTimeScale::kMaxDays);
    PlexaroTimeScale zero = s;
    zero.zoom = 0;  // must not divide by zero
    EXPECT_GT(zero.width(), 0);
    EXPECT_TRUE(zero.at(0).has_value());
}

TEST(PlexaroTimeScale, BarSpansTileAndThinBarsStillShow) {
    const PlexaroTimeScale s = scaleOf(PlexaroTimeScale::Weeks, 70, 480, 1020, 61);
    const auto first = s.span(kMonday + 3, 600, kMonday + 3, 630);
    const auto next = s.span(kMonday + 3, 630, kMonday + 3, 700);
    EXPECT_EQ(first.second - first.first, 1);  // 30 minutes are a sliver of a pixel here
    EXPECT_LE(first.first, next.first);
    // Nothing shows for bars outside the range or the working day, or turned round.
    EXPECT_EQ(s.span(kMonday - 1, 600, kMonday - 1, 700).second, 0);
    EXPECT_EQ(s.span(kMonday + 61, 600, kMonday + 61, 700).second, 0);
    EXPECT_EQ(s.span(kMonday + 2, 300, kMonday + 2, 400).second, 0);
    EXPECT_EQ(s.span(kMonday + 2, 700, kMonday + 2, 600).second, 0);
    // A bar over several days reaches from its start to its end.
    const PlexaroTimeScale d = scaleOf(PlexaroTimeScale::Days, 54, 480, 1020, 33);
    EXPECT_EQ(d.span(kMonday + 1, 480, kMonday + 3, 1020),
              std::make_pair(d.xOfDay(kMonday + 1), d.xOfDay(kMonday + 4)));
}

TEST(PlexaroRowLayout, YFindsRulerRowsAndNothingBelowAlsoWhenScrolled) {
    PlexaroRowLayout rows{60, 20, 5, 0};
    struct Case {
        int scrollY;
        int y;
        int row;
    } cases[] = {
        {0, 0, 0},   {0, 59, 0},   {0, 60, 1},  {0, 79, 1},   {0, 80, 2},
        {0, 159, 5}, {0, 160, -1}, {30, 60, 2}, {30, 129, 5}, {30, 130, -1},
    };
    for (const Case& c : cases) {
        rows.scrollY = c.scrollY;
        EXPECT_EQ(rows.rowAt(c.y), c.row) << c.scrollY << "/" << c.y;
    }
    rows.scrollY = 30;
    EXPECT_EQ(rows.rowTop(2), 50);  // partly under the ruler
    EXPECT_EQ(rows.firstVisibleRow(), 2);
    EXPECT_EQ(rows.lastVisibleRow(100), 4);  // content y 30..69 reaches row 4
    EXPECT_EQ(rows.lastVisibleRow(1000), 5);
}

TEST(PlexaroModel, RowsCountFromOneAfterTheRulerAndOthersReadNeutral) {
    PlexaroModel m;
    EXPECT_EQ(m.rowCount(), 1);
    EXPECT_EQ(m.addRow("Ann"), 1);
    EXPECT_EQ(m.addRow("Bob"), 2);
    EXPECT_EQ(m.rowCount(), 3);
    EXPECT_TRUE(m.setRowData(2, 77));
    EXPECT_EQ(m.rowData(2), 77);
    for (int row : {0, -1, 3}) {
        EXPECT_FALSE(m.setRowData(row, 5));
        EXPECT_EQ(m.rowData(row), 0);
        EXPECT_EQ(m.rowText(row), "");
        EXPECT_EQ(m.addBar(row, 600, 660, kMonday, kMonday, "B1"), PlexaroModel::kNone);
    }
    EXPECT_EQ(m.addBar(1, 600, 660, kMonday, kMonday, "B1"), 1);
    EXPECT_EQ(m.addBar(2, 600, 660, kMonday, kMonday, "B2"), 1);  // numbered per row
    EXPECT_FALSE(m.setBarColour(1, 2, 255));
    m.clear();
    EXPECT_EQ(m.rowCount(), 1);
    EXPECT_EQ(m.bar(1, 1), nullptr);
    EXPECT_EQ(m.addRow("Cy"), 1);
}

TEST(PlexaroModel, NumbersBeyondSixteenBitsAreRefused) {
    PlexaroModel m;
    for (int i = 1; i <= PlexaroModel::kMaxRows; ++i) ASSERT_EQ(m.addRow(""), i);
    EXPECT_EQ(m.addRow("one too many"), PlexaroModel::kNone);
    for (int i = 1; i <= PlexaroModel::kMaxBarsPerRow; ++i)
        ASSERT_EQ(m.addBar(7, 600, 610, kMonday, kMonday, ""), i);
    EXPECT_EQ(m.addBar(7, 600, 610, kMonday, kMonday, ""), PlexaroModel::kNone);
    EXPECT_EQ(m.barCount(7), PlexaroModel::kMaxBarsPerRow);
}

TEST(PlexaroModel, BarsOfADayComeInStartOrderWithLongBarsFromEarlierDays) {
    PlexaroModel m;
    m.addRow("Ann");
    m.addBar(1, 700, 760, kMonday + 1, kMonday + 1, "late");
    m.addBar(1, 540, 600, kMonday + 1, kMonday + 1, "early");
    m.addBar(1, 480, 500, kMonday - 1, kMonday + 2, "long");  // reaches across three days
    m.addBar(1, 600, 620, kMonday + 5, kMonday + 5, "other day");
    m.addBar(1, 540, 560, kMonday + 1, kMonday + 1, "early too");  // equal start: after
    std::vector<QString> seen;
    m.forEachBar(1, kMonday + 1, kMonday + 1,
                 [&](int, const plat::PlexaroBar& b) { seen.push_back(b.key); });
    EXPECT_EQ(seen, (std::vector<QString>{"long", "early", "early too", "late"}));
    EXPECT_EQ(m.totalBars(), 5);
}

TEST(PlexaroCalendar, RulerDatesAndHoursInEnglishWhateverTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German));
    struct Case {
        QDate date;
        const char* format;
        const char* text;
    } dates[] = {
        {QDate(2026, 3, 2), "D, n M Y", "Mon, 2 Mar 2026"},
        {QDate(2026, 3, 2), "M Y", "Mar 2026"},
        {QDate(1900, 1, 1), "W d F y", "Monday 01 January 00"},
        {QDate(2024, 12, 29), "D \\D m", "Sun D 12"},
    };
    for (const auto& c : dates)
        EXPECT_EQ(PlexaroCalendar::formatDate(PlexaroCalendar::dayOf(c.date), c.format), c.text);
    QLocale::setDefault(saved);
    EXPECT_TRUE(PlexaroCalendar::isWeekend(kMonday - 1));
    EXPECT_TRUE(PlexaroCalendar::isWeekend(-2));  // 30 December 1899, a Saturday
    EXPECT_FALSE(PlexaroCalendar::isWeekend(kMonday + 4));

    struct Hour {
        int minute;
        const char* h24;
        const char* h12;
    } hours[] = {
        {0, "00:00", "12 am"},  {480, "08:00", "8 am"},   {720, "12:00", "12 pm"},
        {780, "13:00", "1 pm"}, {1440, "24:00", "12 am"}, {510, "08:30", "8:30 am"},
    };
    for (const auto& h : hours) {
        EXPECT_EQ(PlexaroCalendar::timeLabel(h.minute, true), h.h24);
        EXPECT_EQ(PlexaroCalendar::timeLabel(h.minute, false), h.h12);
    }
}
