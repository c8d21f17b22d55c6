#pragma once
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <functional>

#include "ClsDAO.h"
#include "DbFixture.h"
#include "DlgMain.h"
#include "Kalvo.h"
#include "ListBox.h"
#include "MsgBox.h"

// A group to make: its day, its members and their durations (minutes).
struct NewGroup {
    const char* name;
    int dayStart, dayEnd, interval;
    int resources = 2, minTime = 15, maxTime = 90;
    int tasks = 2, customers = 2;
};

// The checks every generated booking passes, each a query that counts the bookings that
// break it (made after id `after`).
struct BookingRule {
    const char* rule;
    const char* violations;  // "%1": the highest booking id before the run
};
inline const BookingRule kBookingRules[] = {
    {"starts on its group's grid within the day",
     "select count(*) from tblBookings b join tblResources r on r.ResourceId = b.ResourceId "
     "join tblGroups g on g.GroupId = r.GroupId where b.BookingId > %1 and (b.BookingStart < "
     "g.DayStart or b.BookingStart >= g.DayEnd or (b.BookingStart - g.DayStart) % g.Interval <> "
     "0)"},
    {"lasts whole slots up to the resource's span, ending at most a slot after the day",
     "select count(*) from tblBookings b join tblResources r on r.ResourceId = b.ResourceId "
     "join tblGroups g on g.GroupId = r.GroupId where b.BookingId > %1 and ((b.BookingEnd - "
     "b.BookingStart) % g.Interval <> 0 or b.BookingEnd <= b.BookingStart or b.BookingEnd > "
     "g.DayEnd + g.Interval or b.BookingEnd - b.BookingStart > max(g.Interval, (r.MaxTime - "
     "r.MinTime) / g.Interval * g.Interval))"},
    {"has a type and a customer of its resource's group and the type's name as comment",
     "select count(*) from tblBookings b join tblResources r on r.ResourceId = b.ResourceId "
     "left join tblTasks t on t.TaskId = b.TaskId where b.BookingId > %1 and (t.GroupId is "
     "null or t.GroupId <> r.GroupId or b.Comments <> t.TaskName or b.RepeatId <> 0 or not "
     "exists (select 1 from tblCustomerGroups c where c.CustomerId = b.CustomerId and "
     "c.GroupId = r.GroupId))"},
    {"overlaps no other booking of its resource and day",
     "select count(*) from tblBookings x join tblBookings y on x.ResourceId = y.ResourceId and "
     "x.BookingDate = y.BookingDate and x.BookingId < y.BookingId and x.BookingStart < "
     "y.BookingEnd and y.BookingStart < x.BookingEnd where y.BookingId > %1"},
};

// A database with the test utility's settings file beside it; message boxes and pauses
// answered by the test.
class RosTestFixture : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        WriteTestFile(folder.file("Rostima.ini"), ("[Config]\nDbName=" + dbPath() + "\n").toUtf8());
        plat::SetMsgBoxHook([this](const QString& prompt, int style, const QString& title) {
            boxes << title + ": " + prompt;
            styles << style;
            return title == "Confirm" ? answer : int(plat::vbOK);
        });
        DlgMain::SetPauseForTest([this](int ms) {
            pauses << ms;
            if (onPause) onPause(ms);
        });
        open();
    }
    void TearDown() override {
        plat::SetMsgBoxHook(nullptr);
        DlgMain::SetPauseForTest(nullptr);
        DbFixture::TearDown();
    }

    void exec(const QString& sql) { ASSERT_TRUE(dao().SqlAction(sql)) << sql.toStdString(); }
    int32_t addGroup(const NewGroup& g) {
        exec(QString("insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
                     "('%1', %2, %3, %4)")
                 .arg(g.name)
                 .arg(g.dayStart)
                 .arg(g.dayEnd)
                 .arg(g.interval));
        const auto id = static_cast<int32_t>(dao().LastInsertId());
        for (int i = 0; i < g.resources; ++i)
            exec(QString("insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, "
                         "InitTime) values (%1, 'R%2', %3, %4, %3)")
                     .arg(id)
                     .arg(i)
                     .arg(g.minTime)
                     .arg(g.maxTime));
        for (int i = 0; i < g.tasks; ++i)
            exec(QString("insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, "
                         "InitTime) values (%1, '%2 task %3', 255, 15, 60, 15)")
                     .arg(id)
                     .arg(g.name)
                     .arg(i));
        for (int i = 0; i < g.customers; ++i) {
            exec(QString("insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
                         "('%1 customer %2', '', '', '')")
                     .arg(g.name)
                     .arg(i));
            exec(QString("insert into tblCustomerGroups (CustomerId, GroupId) values (%1, %2)")
                     .arg(dao().LastInsertId())
                     .arg(id));
        }
        return id;
    }
    QString text(const QString& sql) {
        auto rs = dao().SqlQuery(sql);
        return rs && !rs->Eof() ? rs->Field(0).toString() : QString();
    }
    int64_t bookings() { return scalar("select count(*) from tblBookings"); }
    int64_t lastBookingId() {
        return scalar("select coalesce(max(BookingId), 0) from tblBookings");
    }

    // Ticks the named groups, sets the range and runs, answering the question Yes.
    void run(DlgMain& window, const QStringList& ticked, int32_t first, int32_t last) {
        for (int i = 0; i < window.LbGroups->count(); ++i)
            window.LbGroups->SetSelected(i, ticked.contains(window.LbGroups->item(i)->text()));
        window.Kalvo1[0]->setValue(first);
        window.Kalvo1[1]->setValue(last);
        pauses.clear();
        window.BtnTest[0]->click();
    }
    // The summary's counts, {-1, -1} when no summary was shown.
    std::pair<int, int> summary() const {
        for (const QString& box : boxes) {
            static const QRegularExpression re(
                "^Information!: Booked: (\\d+)\r\nUnbooked: (\\d+)$");
            const auto m = re.match(box);
            if (m.hasMatch()) return {m.captured(1).toInt(), m.captured(2).toInt()};
        }
        return {-1, -1};
    }
    // Attempts of a run: its 100 ms pauses less one per list entry and per day step.
    int attempts(int entries, int daySteps) const {
        return static_cast<int>(pauses.count(100)) - entries - daySteps;
    }

    static constexpr int32_t kDay = 46027;  // Wednesday 7 January 2026
    int answer = plat::vbYes;
    QStringList boxes;
    QList<int> styles;
    QList<int> pauses;
    std::function<void(int)> onPause;
};
