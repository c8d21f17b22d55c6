#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QMouseEvent>

#include "Plexaro.h"
#include "PlexaroCalendar.h"

// A shown chart 900 x 400 with a 100-pixel resource column and the working day
// 08:00..17:00, starting on Monday 2 March 2026, in one of the three views.
class PlexaroFixture : public ::testing::Test {
protected:
    static inline const int32_t kMonday = plat::PlexaroCalendar::dayOf(QDate(2026, 3, 2));
    static constexpr int kDayStart = 480;
    static constexpr int kDayEnd = 1020;

    void SetUp() override {
        chart.resize(900, 400);
        chart.setListWidth(100);
        chart.setDayStart(kDayStart);
        chart.setDayEnd(kDayEnd);
        chart.show();
        QCoreApplication::processEvents();
        showView(plat::Plexaro::Hours, kMonday);
    }

    // Zoom that fits the range into the time area: 60 px an hour, 20 px a day, 70 a week.
    void showView(int kind, int32_t start) {
        static const int endOffset[] = {0, 32, 60};
        static const int zoom[] = {60, 20, 70};
        chart.setTimeScale(kind);
        chart.setTimeZoom(zoom[kind]);
        chart.setStartDate(start);
        chart.setEndDate(start + endOffset[kind]);
    }

    // The chart pixel of a minute of a day, in the middle of a row.
    QPoint pointOf(int row, int32_t day, int minute) const {
        const plat::PlexaroView& v = chart.view();
        return QPoint(int(v.toViewportX(v.scale.xOf(day, minute))),
                      v.rows.rowTop(row) + v.rows.height() / 2);
    }

    void mouse(QEvent::Type type, const QPoint& p, Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent e(type, QPointF(p), QPointF(chart.viewport()->mapToGlobal(p)), button,
                      type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(chart.viewport(), &e);
    }

    plat::Plexaro chart;
};
