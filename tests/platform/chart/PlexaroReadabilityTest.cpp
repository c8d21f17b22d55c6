#include <QImage>
#include <QRegularExpression>
#include <QScrollBar>
#include <algorithm>

#include "OleColor.h"
#include "PlexaroFixture.h"
#include "PlexaroPainter.h"
#include "TextRecorder.h"

using plat::Plexaro;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kRed = 0x000000FF;
const QString kLongName = QStringLiteral("Margaret Thompson-Whitaker");

}  // namespace

class PlexaroReadabilityTest : public PlexaroFixture {
protected:
    void SetUp() override {
        PlexaroFixture::SetUp();
        chart.setBackColor(kWhite);
        chart.setWeekendColor(kWhite);
        for (const char* name : {"Ann", "Bob"}) chart.addRow(name);
    }
    // The texts one paint of the whole chart shows.
    std::vector<PaintedText> paintTexts() {
        TextRecorder recorder(chart.view().size);
        plat::PlexaroPainter().paint(recorder, chart.model(), chart.view(),
                                     QRect(QPoint(0, 0), chart.view().size));
        return recorder.texts();
    }
    static QStringList strings(const std::vector<PaintedText>& texts) {
        QStringList out;
        for (const PaintedText& t : texts) out << t.text;
        return out;
    }
    static QString cutTexts(const std::vector<PaintedText>& texts) {
        QStringList cut;
        for (const PaintedText& t : texts)
            if (!t.whole()) cut << t.text;
        return cut.join(" | ");
    }
};

TEST_F(PlexaroReadabilityTest, NoTextIsCutInAnyViewAndLongBarTextsEndInAnEllipsis) {
    struct Case {
        const char* name;
        int kind;
        int32_t start;
        int zoom;
        int scrolledToDay;  // -1: not scrolled
        int scrolledToMinute;
        const char* lastLabel;  // the date label at the right edge, shown whole
    } cases[] = {
        {"hours", Plexaro::Hours, kMonday, 60, -1, 0, "Mon, 2 Mar 2026"},
        {"hours, scrolled into a bar", Plexaro::Hours, kMonday, 120, 0, 570, "Mon, 2 Mar 2026"},
        {"days", Plexaro::Days, kMonday, 20, -1, 0, "Apr 2026"},
        {"days, a month begins on the last day", Plexaro::Days,
         plat::PlexaroCalendar::dayOf(QDate(2026, 2, 28)), 20, -1, 0, "Apr 2026"},
        {"days, a month begins at the right edge", Plexaro::Days, kMonday, 60, 17, kDayStart,
         "Apr 2026"},
        {"weeks, a month begins on the last day", Plexaro::Weeks, kMonday, 70, -1, 0, "May 2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chart.clear();
        chart.addRow("Ann");
        showView(c.kind, c.start);
        chart.setDateFormat(c.kind == Plexaro::Hours ? "D, n M Y" : "M Y");  // as the program
        chart.setTimeZoom(c.zoom);
        if (c.scrolledToDay >= 0) chart.scrollTo(c.start + c.scrolledToDay, c.scrolledToMinute);
        // Bars of an hour, a day and a week, each with a name longer than the shortest.
        const int32_t day = c.start + (c.scrolledToDay >= 0 ? c.scrolledToDay : 0);
        for (int d = 0; d < 7; ++d) {
            const int bar = chart.addBar(1, kDayStart + 60, kDayStart + 120, day + d, day + d, "");
            chart.setBarText(1, bar, kLongName);
        }
        const auto shown = paintTexts();
        EXPECT_EQ(cutTexts(shown), "");
        EXPECT_TRUE(strings(shown).contains(c.lastLabel));
        for (const PaintedText& t : shown) {
            if (t.text.startsWith("Marg")) {
                EXPECT_TRUE(t.text == kLongName || t.text.endsWith(u'…'));
            }
        }
    }
}

TEST_F(PlexaroReadabilityTest, ABarTextIsWholeOrShortenedToItsBar) {
    // 60 px an hour: bars of 30 px to 8 hours.
    for (int minutes : {30, 90, 480}) {
        chart.clear();
        chart.addRow("Ann");
        chart.setBarText(1, chart.addBar(1, 480, 480 + minutes, kMonday, kMonday, ""), kLongName);
        const auto shown = paintTexts();
        const QStringList texts = strings(shown).filter(QRegularExpression("…$|^Marg"));
        ASSERT_EQ(texts.size(), 1) << minutes;
        if (minutes == 480) {
            EXPECT_EQ(texts[0], kLongName);
        } else {
            EXPECT_TRUE(texts[0].endsWith(u'…')) << minutes;
            EXPECT_TRUE(kLongName.startsWith(texts[0].chopped(1))) << minutes;
        }
        EXPECT_EQ(cutTexts(shown), "") << minutes;
    }
}

TEST_F(PlexaroReadabilityTest, TheDaysViewNamesTheWeekdayOfEachDay) {
    showView(Plexaro::Days, kMonday);
    chart.setTimeZoom(60);
    const QStringList texts = strings(paintTexts());
    for (const char* label : {"Mon 2", "Tue 3", "Sat 7", "Sun 8", "Mon 9"})
        EXPECT_TRUE(texts.contains(label)) << label << " in " << texts.join(',').toStdString();
}

TEST_F(PlexaroReadabilityTest, AdjacentBarsKeepAGapAndTheLastHourIsClosed) {
    chart.setBarColor(1, chart.addBar(1, 540, 600, kMonday, kMonday, "B1"), kRed);
    chart.setBarColor(1, chart.addBar(1, 600, 660, kMonday, kMonday, "B2"), kRed);
    const plat::PlexaroView& v = chart.view();
    const QImage shot = chart.grab().toImage();
    const int y = v.rows.rowTop(1) + v.rows.height() / 2;
    const int boundary = int(v.toViewportX(v.scale.xOf(kMonday, 600)));
    EXPECT_EQ(shot.pixel(boundary - 1, y), plat::OleToQColor(kWhite).rgb());
    EXPECT_NE(shot.pixel(boundary, y), plat::OleToQColor(kWhite).rgb());
    // 17:00 ends the day shown: a line there, in the rows and in the ruler.
    const int end = int(v.toViewportX(v.scale.xOf(kMonday, kDayEnd)));
    const int emptyRow = v.rows.rowTop(2) + v.rows.height() / 2;
    EXPECT_NE(shot.pixel(end, emptyRow), plat::OleToQColor(kWhite).rgb());
    EXPECT_EQ(shot.pixel(end + 1, emptyRow), plat::OleToQColor(kWhite).rgb());
    EXPECT_EQ(shot.pixel(end, v.rows.top - 3), shot.pixel(boundary, v.rows.top - 3));
}

TEST_F(PlexaroReadabilityTest, EachHourLabelStandsAtItsOwnTickOrIsLeftOut) {
    // The last label is moved left to show whole when its tick is near the right end.
    struct Case {
        int zoom;              // pixels an hour; the time area is 800 wide
        int scrolledToMinute;  // at the left edge
        bool use24Hour;
        const char* first;  // the first label from the left, and the last
        const char* last;
    } cases[] = {
        {120, 480, false, "8 am", "2 pm"},
        {120, 550, false, "10 am", "3 pm"},  // 9:10 at the left edge: no "9 am" there
        {120, 550, true, "10:00", "15:00"},
        {240, 555, false, "10 am", "12 pm"},  // 9:15: "10 am" 180 px on, not 240
        {120, 505, false, "9 am", "3 pm"},    // the tick of 3 pm 10 px from the right end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scrolledToMinute);
        chart.setUse24Hour(c.use24Hour);
        chart.setTimeZoom(c.zoom);
        chart.scrollTo(kMonday, c.scrolledToMinute);
        const plat::PlexaroView& v = chart.view();
        const int areaRight = v.timeLeft() + v.timeAreaWidth();
        std::vector<PaintedText> ruler;
        for (const PaintedText& t : paintTexts())
            if (t.extent.top() >= v.titleHeight + v.rulerHeight / 2 && t.extent.top() < v.rows.top)
                ruler.push_back(t);
        std::sort(ruler.begin(), ruler.end(),
                  [](const auto& a, const auto& b) { return a.extent.left() < b.extent.left(); });
        ASSERT_FALSE(ruler.empty());
        EXPECT_EQ(cutTexts(ruler), "");
        EXPECT_EQ(ruler.front().text, QString(c.first));
        EXPECT_EQ(ruler.back().text, QString(c.last));
        for (const PaintedText& t : ruler) {
            int minute = 0;
            while (minute < 1440 && plat::PlexaroCalendar::timeLabel(minute, c.use24Hour) != t.text)
                minute += 60;
            ASSERT_LT(minute, 1440) << t.text.toStdString();
            const int tick = int(v.toViewportX(v.scale.xOf(kMonday, minute)));
            EXPECT_GE(tick, v.timeLeft()) << t.text.toStdString();
            // Just right of its tick, or over it and ending at the right end.
            const bool atTick = t.extent.left() >= tick && t.extent.left() <= tick + 4;
            const bool endsRuler = t.extent.left() <= tick && t.extent.right() > areaRight - 2;
            EXPECT_TRUE(atTick || endsRuler)
                << t.text.toStdString() << " at " << t.extent.left() << ", its tick at " << tick;
        }
    }
}
