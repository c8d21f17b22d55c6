#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>

#include "Kalvo.h"
#include "PlexaroCalendar.h"

using plat::Kalvo;

namespace {

int32_t dayOf(int y, int m, int d) { return plat::PlexaroCalendar::dayOf(QDate(y, m, d)); }

// A shown calendar that records its events in order: "page", "date", "dbl <n>".
class KalvoTest : public ::testing::Test {
protected:
    void SetUp() override {
        cal.resize(280, 240);
        cal.show();
        QObject::connect(&cal, &Kalvo::PageChange, [this] { events << "page"; });
        QObject::connect(&cal, &Kalvo::DateChange, [this] { events << "date"; });
        QObject::connect(&cal, &Kalvo::DateDblClick,
                         [this](int16_t n) { events << QString("dbl %1").arg(n); });
    }
    QPoint centre(int position) const { return cal.cellRect(position).center(); }

    Kalvo cal;
    QStringList events;
};

}  // namespace

TEST_F(KalvoTest, APageIsSixWeeksFromTheMondayOnOrBeforeTheFirstOfTheMonth) {
    struct Case {
        const char* name;
        int32_t value;
        int32_t first;
        int16_t day;
    } cases[] = {
        {"March 2026 begins on a Sunday", dayOf(2026, 3, 17), dayOf(2026, 2, 23), 17},
        {"June 2026 begins on a Monday", dayOf(2026, 6, 30), dayOf(2026, 6, 1), 30},
        {"leap day 2028", dayOf(2028, 2, 29), dayOf(2028, 1, 31), 29},
        {"the first day numbered", 0, 0, 1},
    };
    for (const Case& c : cases) {
        cal.setValue(c.value);
        EXPECT_EQ(cal.visibleDay(1), c.first) << c.name;
        EXPECT_EQ(cal.visibleDay(2), c.first + 41) << c.name;
        EXPECT_EQ(cal.day(), c.day) << c.name;
        const int position = c.value - c.first + 1;
        EXPECT_EQ(cal.positionAt(centre(position)), position) << c.name;
    }
    EXPECT_EQ(cal.visibleDay(0), 0);
    EXPECT_EQ(cal.visibleDay(3), 0);
}

TEST_F(KalvoTest, ADateOffThePageTurnsItFirstAndTheSameDateRaisesNothing) {
    cal.setValue(dayOf(2026, 3, 17));
    events.clear();
    cal.setValue(dayOf(2026, 3, 18));
    cal.setValue(dayOf(2026, 3, 18));
    cal.setValue(dayOf(2026, 4, 2));  // shown on the March page
    EXPECT_EQ(events, (QStringList{"date", "date"}));
    EXPECT_EQ(cal.pageMonth(), dayOf(2026, 3, 1));
    events.clear();
    cal.setValue(dayOf(2026, 4, 20));
    EXPECT_EQ(events, (QStringList{"page", "date"}));
    EXPECT_EQ(cal.pageMonth(), dayOf(2026, 4, 1));
}

TEST_F(KalvoTest, MarksBelongToTheirPageAndPositionsOffThePageAreIgnored) {
    cal.setValue(dayOf(2026, 3, 17));
    cal.setDayMark(1, 1);
    cal.setDayMark(42, 1);
    cal.setDayMark(0, 1);
    cal.setDayMark(43, 1);
    EXPECT_EQ(cal.dayMark(1), 1);
    EXPECT_EQ(cal.dayMark(42), 1);
    EXPECT_EQ(cal.dayMark(2), 0);
    EXPECT_EQ(cal.dayMark(0), 0);
    EXPECT_EQ(cal.dayMark(43), 0);
    cal.setValue(dayOf(2026, 3, 1));  // same page: marks stay
    EXPECT_EQ(cal.dayMark(1), 1);
    cal.turnPage(1);
    for (int p = 1; p <= Kalvo::kDaysShown; ++p) EXPECT_EQ(cal.dayMark(p), 0) << p;
}

TEST_F(KalvoTest, TheArrowsTurnThePageAndLeaveTheSelectedDate) {
    cal.setValue(dayOf(2026, 1, 31));
    events.clear();
    cal.findChild<QToolButton*>("forward")->click();
    EXPECT_EQ(cal.pageMonth(), dayOf(2026, 2, 1));
    cal.findChild<QToolButton*>("back")->click();
    cal.findChild<QToolButton*>("back")->click();
    EXPECT_EQ(cal.pageMonth(), dayOf(2025, 12, 1));
    EXPECT_EQ(events, (QStringList{"page", "page", "page"}));
    EXPECT_EQ(cal.value(), dayOf(2026, 1, 31));
}

TEST_F(KalvoTest, AClickSelectsTheDayUnderThePointerAndADoubleClickNamesIt) {
    cal.setValue(dayOf(2026, 3, 17));  // the page begins Monday 23 February
    events.clear();
    QTest::mouseClick(&cal, Qt::LeftButton, {}, centre(1));
    EXPECT_EQ(cal.value(), dayOf(2026, 2, 23));
    EXPECT_EQ(cal.pageMonth(), dayOf(2026, 3, 1));  // a shown day never turns the page
    QTest::mouseDClick(&cal, Qt::LeftButton, {}, centre(12));
    EXPECT_EQ(cal.value(), dayOf(2026, 3, 6));
    QTest::mouseDClick(&cal, Qt::LeftButton, {}, QPoint(cal.width() / 2, 2));  // the title
    EXPECT_EQ(events, (QStringList{"date", "date", "dbl 6", "dbl 0"}));
}

TEST_F(KalvoTest, ArrowKeysMoveTheSelectionAndTurnThePageWhenItLeaves) {
    cal.setValue(dayOf(2026, 3, 31));
    events.clear();
    QTest::keyClick(&cal, Qt::Key_Right);
    QTest::keyClick(&cal, Qt::Key_Down);
    QTest::keyClick(&cal, Qt::Key_Down);
    EXPECT_EQ(cal.value(), dayOf(2026, 4, 15));
    EXPECT_EQ(events, (QStringList{"date", "page", "date", "date"}));
    QTest::keyClick(&cal, Qt::Key_PageUp);
    EXPECT_EQ(cal.value(), dayOf(2026, 3, 15));
    EXPECT_EQ(cal.pageMonth(), dayOf(2026, 3, 1));
}

TEST_F(KalvoTest, AnOwnerAskedForAnotherPageKeepsThePageAndTheDateWhenItRefuses) {
    cal.setValue(dayOf(2026, 3, 10));
    QStringList asked;
    bool take = false;
    cal.setPageAsk([&](int32_t page, int32_t value) {
        asked << plat::PlexaroCalendar::formatDate(page, "F Y") + " " +
                     QString::number(plat::PlexaroCalendar::dateOf(value).day());
        return take;
    });
    events.clear();
    cal.findChild<QToolButton*>("forward")->click();
    cal.setValue(dayOf(2026, 5, 20));
    cal.setValue(dayOf(2026, 3, 31));  // on the page shown: nobody is asked
    EXPECT_EQ(asked, (QStringList{"April 2026 10", "May 2026 20"}));
    EXPECT_EQ(cal.pageMonth(), dayOf(2026, 3, 1));
    EXPECT_EQ(events, QStringList{"date"});
    take = true;
    cal.setValue(dayOf(2026, 5, 20));
    EXPECT_EQ(cal.pageMonth(), dayOf(2026, 5, 1));
    EXPECT_EQ(cal.value(), dayOf(2026, 5, 20));
    EXPECT_EQ(events, (QStringList{"date", "page", "date"}));
}
