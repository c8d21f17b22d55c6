#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <set>
#include <tuple>
#include <vector>

#include "PlexaroFixture.h"

using plat::Plexaro;

namespace {

struct Drop {
    int row;
    int minute;
    int32_t day;
    bool operator==(const Drop& o) const {
        return std::tie(row, minute, day) == std::tie(o.row, o.minute, o.day);
    }
};

}  // namespace

class PlexaroTest : public PlexaroFixture {
protected:
    void SetUp() override {
        PlexaroFixture::SetUp();
        QObject::connect(&chart, &Plexaro::DropItem, [this](int row, int minute, int32_t day) {
            drops.push_back({row, minute, day});
        });
        QObject::connect(&chart, &Plexaro::ItemMove,
                         [this](int row, int bar) { moves.emplace_back(row, bar); });
        for (const char* name : {"Ann", "Bob", "Cy"}) chart.addRow(name);
    }
    std::vector<Drop> drops;
    std::vector<std::pair<int, int>> moves;
};

TEST_F(PlexaroTest, RowsAreOneToNAfterTheRulerAndMinusOneMeansNone) {
    EXPECT_EQ(chart.rowCount(), 4);
    EXPECT_EQ(chart.selectedRow(), Plexaro::kNoRow);
    for (int row = 1; row < chart.rowCount(); ++row) chart.setRowData(row, 100 + row);
    EXPECT_EQ(chart.rowData(3), 103);
    EXPECT_EQ(chart.rowData(0), 0);  // the ruler carries nothing
    chart.setSelectedRow(2);
    EXPECT_EQ(chart.selectedRow(), 2);
    for (int notARow : {0, 4, -5}) {
        chart.setSelectedRow(notARow);
        EXPECT_EQ(chart.selectedRow(), Plexaro::kNoRow) << notARow;
    }
    // A click on a row's name selects it; a double-click asks for its editor.
    std::vector<int> doubleClicked;
    QObject::connect(&chart, &Plexaro::ListDblClick,
                     [&](int row) { doubleClicked.push_back(row); });
    const QPoint onCy(20, chart.view().rows.rowTop(3) + 5);
    mouse(QEvent::MouseButtonPress, onCy, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, onCy, Qt::LeftButton);
    EXPECT_EQ(chart.selectedRow(), 3);
    mouse(QEvent::MouseButtonDblClick, onCy, Qt::LeftButton);
    EXPECT_EQ(doubleClicked, std::vector<int>{3});
}

TEST_F(PlexaroTest, AHitTestRaisesDropItemWithRowMinuteAndDayInEachView) {
    // Hand-worked in the hour view: 60 px an hour from 08:00, right of 100 px of names.
    EXPECT_TRUE(chart.hitTest(100 + 150, pointOf(2, kMonday, 0).y()));
    EXPECT_EQ(drops.back(), (Drop{2, 630, kMonday}));
    struct Case {
        int kind;
        int dayOffset;
        int minute;
    } cases[] = {
        {Plexaro::Hours, 0, 485},  {Plexaro::Hours, 0, 1019}, {Plexaro::Days, 0, 480},
        {Plexaro::Days, 17, 750},  {Plexaro::Days, 32, 700},  {Plexaro::Weeks, 5, 480},
        {Plexaro::Weeks, 60, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        showView(c.kind, kMonday);
        drops.clear();
        const int32_t day = kMonday + c.dayOffset;
        const QPoint p = pointOf(3, day, c.minute);
        ASSERT_TRUE(chart.hitTest(p.x(), p.y()));
        ASSERT_EQ(drops.size(), 1u);
        EXPECT_EQ(drops[0].row, 3);
        EXPECT_EQ(drops[0].day, day);
        // In the day and week views a pixel holds several minutes; the point found is the
        // first pixel of the minute, whose own first minute may come a little later.
        const auto& s = chart.view().scale;
        const int perPixel = int((s.unitMinutes() + s.pixelZoom() - 1) / s.pixelZoom());
        EXPECT_GE(drops[0].minute, c.minute);
        EXPECT_LT(drops[0].minute, c.minute + perPixel);
    }
}

TEST_F(PlexaroTest, AHitTestOffTheRowsTimeRaisesNothing) {
    showView(Plexaro::Days, kMonday);
    const plat::PlexaroView& v = chart.view();
    const int inRow = pointOf(1, kMonday, 600).y();
    const int x = pointOf(1, kMonday + 3, 600).x();
    const QPoint points[] = {
        {x, v.titleHeight / 2},                            // title
        {x, v.titleHeight + 2},                            // ruler
        {50, inRow},                                       // resource column
        {x, v.rows.rowTop(4) + 2},                         // below the last row
        {int(v.toViewportX(v.scale.width())) + 5, inRow},  // right of the last day
        {-3, inRow},
    };
    for (const QPoint& p : points)
        EXPECT_FALSE(chart.hitTest(p.x(), p.y())) << p.x() << "," << p.y();
    EXPECT_TRUE(drops.empty());
}

TEST_F(PlexaroTest, ItemMoveIsRaisedOnceForEachBarEntered) {
    const int a = chart.addBar(1, 540, 600, kMonday, kMonday, "B1");
    const int b = chart.addBar(1, 660, 720, kMonday, kMonday, "B2");
    chart.addBar(2, 540, 600, kMonday, kMonday, "B3");
    const int minutes[] = {550, 570, 590, 630, 670, 700, 560, 630};
    for (int m : minutes) mouse(QEvent::MouseMove, pointOf(1, kMonday, m));
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{1, a}, {1, b}, {1, a}}));
    // Straight down onto the bar of the next row at the same minute: a new bar.
    mouse(QEvent::MouseMove, pointOf(2, kMonday, 570));
    // Out of the chart and back onto that bar: entered again.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(chart.viewport(), &leave);
    mouse(QEvent::MouseMove, pointOf(2, kMonday, 580));
    EXPECT_EQ(moves.size(), 5u);
    EXPECT_EQ(moves.back(), std::make_pair(2, 1));
}

TEST_F(PlexaroTest, BarsOnTheFirstAndLastDayShowAndBarsOutsideDoNot) {
    showView(Plexaro::Days, kMonday);
    chart.addBar(1, kDayStart, kDayStart + 60, kMonday - 1, kMonday - 1, "before");
    const int first = chart.addBar(1, kDayStart, kDayEnd, kMonday, kMonday, "first");
    const int last = chart.addBar(1, kDayStart, kDayEnd, kMonday + 32, kMonday + 32, "last");
    chart.addBar(1, kDayStart, kDayEnd, kMonday + 33, kMonday + 33, "after");
    // Sweep the whole row and note every bar the pointer meets.
    std::set<int> met;
    const plat::PlexaroView& v = chart.view();
    const int y = pointOf(1, kMonday, 0).y();
    for (int x = v.timeLeft(); x < v.size.width(); ++x) {
        mouse(QEvent::MouseMove, QPoint(x, y));
        if (!moves.empty()) met.insert(moves.back().second);
    }
    EXPECT_EQ(met, (std::set<int>{first, last}));
    EXPECT_TRUE(chart.hasHintAt(pointOf(1, kMonday, kDayStart)));
    EXPECT_TRUE(chart.hasHintAt(pointOf(1, kMonday + 32, kDayEnd - 60)));
}

TEST_F(PlexaroTest, ClearingRemovesRowsBarsAndTheSelection) {
    chart.addBar(1, 540, 600, kMonday, kMonday, "B1");
    chart.setBarData(1, 1, 41);
    chart.setSelectedRow(1);
    mouse(QEvent::MouseMove, pointOf(1, kMonday, 570));
    ASSERT_EQ(moves.size(), 1u);

    chart.clear();
    EXPECT_EQ(chart.rowCount(), 1);
    EXPECT_EQ(chart.selectedRow(), Plexaro::kNoRow);
    EXPECT_EQ(chart.barData(1, 1), 0);
    EXPECT_EQ(chart.rowText(1), "");
    EXPECT_FALSE(chart.hasHintAt(pointOf(1, kMonday, 570)));
    // The same place after a reload is a new bar for the pointer resting on it.
    EXPECT_EQ(chart.addRow("Ann"), 1);
    EXPECT_EQ(chart.addBar(1, 540, 600, kMonday, kMonday, "B1"), 1);
    mouse(QEvent::MouseMove, pointOf(1, kMonday, 575));
    EXPECT_EQ(moves.size(), 2u);
}

TEST_F(PlexaroTest, ScrollingToAMinuteKeepsItAtTheLeftWhenZooming) {
    chart.setTimeZoom(200);  // 1800 px for the day: wider than the time area
    chart.scrollTo(kMonday, 600);
    const int y = pointOf(1, kMonday, 0).y();
    ASSERT_TRUE(chart.hitTest(chart.listWidth(), y));
    EXPECT_EQ(drops.back().minute, 600);
    chart.setTimeZoom(150);
    ASSERT_TRUE(chart.hitTest(chart.listWidth(), y));
    EXPECT_EQ(drops.back().minute, 600);
    // Past the end: as far as the range goes, the last minute at the right edge.
    chart.scrollTo(kMonday + 3, 0);
    EXPECT_EQ(chart.horizontalScrollBar()->value(), chart.horizontalScrollBar()->maximum());
    EXPECT_EQ(chart.timeZoom(), 150);
    chart.setTimeZoom(0);
    EXPECT_EQ(chart.timeZoom(), plat::PlexaroTimeScale::kMinZoom);
}

TEST_F(PlexaroTest, OnlyTheProgramsOwnDragIsTakenAndReportedWhereItFell) {
    std::vector<QPoint> dropped;
    QObject::connect(&chart, &Plexaro::DragDrop, [&](int x, int y) { dropped.emplace_back(x, y); });
    const QPoint at = pointOf(2, kMonday, 600);
    for (const bool ours : {false, true}) {
        QMimeData data;
        if (ours)
            data.setData(Plexaro::kDragMimeType, "7");
        else
            data.setText("7");
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(chart.viewport(), &enter);
        EXPECT_EQ(enter.isAccepted(), ours);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(chart.viewport(), &drop);
    }
    EXPECT_EQ(dropped, std::vector<QPoint>{at});
}

TEST_F(PlexaroTest, OnlyTheUsersScrollingRaisesScrollTrack) {
    chart.setTimeZoom(200);  // wider than the time area
    std::vector<std::tuple<int32_t, int, int>> tracks;
    QObject::connect(&chart, &Plexaro::ScrollTrack, [&](int32_t day, int minute, int row) {
        tracks.emplace_back(day, minute, row);
    });
    chart.scrollTo(kMonday, 600);
    EXPECT_TRUE(tracks.empty());
    chart.horizontalScrollBar()->setValue(0);
    chart.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ASSERT_EQ(tracks.size(), 1u);
    // A page on from 08:00 is the width of the time area at 200 px an hour.
    const int page = chart.view().timeAreaWidth();
    EXPECT_EQ(tracks[0], std::make_tuple(kMonday, kDayStart + page * 60 / 200, 1));
}

TEST_F(PlexaroTest, BarsAreNeitherMovedNorSelectedByThePointer) {
    const int bar = chart.addBar(1, 540, 600, kMonday, kMonday, "B1");
    std::vector<std::pair<int, int>> preSelect;
    std::vector<int> preDropTargets;
    QObject::connect(&chart, &Plexaro::BarPreSelect,
                     [&](int row, int b) { preSelect.emplace_back(row, b); });
    QObject::connect(&chart, &Plexaro::BarPreDrop, [&](int, int, int targetRow, int32_t, int) {
        preDropTargets.push_back(targetRow);
    });
    mouse(QEvent::MouseButtonPress, pointOf(1, kMonday, 570), Qt::LeftButton);
    mouse(QEvent::MouseMove, pointOf(2, kMonday, 800));
    mouse(QEvent::MouseButtonRelease, pointOf(2, kMonday, 800), Qt::LeftButton);
    EXPECT_EQ(preSelect, (std::vector<std::pair<int, int>>{{1, bar}}));
    EXPECT_EQ(preDropTargets, std::vector<int>{2});
    const plat::PlexaroBar* b = chart.model().bar(1, bar);
    EXPECT_EQ(std::make_tuple(b->startMinute, b->endMinute, b->startDay),
              std::make_tuple(540, 600, kMonday));
    EXPECT_EQ(chart.model().barCount(2), 0);
    // A press without a pull is no drop.
    mouse(QEvent::MouseButtonPress, pointOf(1, kMonday, 570), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, pointOf(1, kMonday, 571), Qt::LeftButton);
    EXPECT_EQ(preDropTargets.size(), 1u);
}

TEST_F(PlexaroTest, KeysMoveTheSelectionAndEnterOpensTheRow) {
    std::vector<int> opened;
    QObject::connect(&chart, &Plexaro::ListDblClick, [&](int row) { opened.push_back(row); });
    auto key = [&](int k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(&chart, &e);
    };
    key(Qt::Key_Return);  // nothing selected: nothing to open
    key(Qt::Key_Down);
    EXPECT_EQ(chart.selectedRow(), 1);
    key(Qt::Key_Up);
    EXPECT_EQ(chart.selectedRow(), 1);  // stays on the first row
    key(Qt::Key_End);
    key(Qt::Key_Down);
    EXPECT_EQ(chart.selectedRow(), 3);
    key(Qt::Key_Enter);
    EXPECT_EQ(opened, std::vector<int>{3});
}

TEST_F(PlexaroTest, TheNameColumnIsWidenedByPullingItsEdge) {
    const int y = pointOf(1, kMonday, 0).y();
    mouse(QEvent::MouseButtonPress, QPoint(101, y), Qt::LeftButton);
    mouse(QEvent::MouseMove, QPoint(160, y));
    mouse(QEvent::MouseButtonRelease, QPoint(160, y), Qt::LeftButton);
    EXPECT_EQ(chart.listWidth(), 160);
    EXPECT_EQ(chart.selectedRow(), Plexaro::kNoRow);  // pulling the edge selects nothing
    // The time follows the column: 08:00 now begins at its new edge.
    ASSERT_TRUE(chart.hitTest(160, y));
    EXPECT_EQ(drops.back().minute, kDayStart);
}
