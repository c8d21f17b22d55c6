// The booking editor's day of a 24-hour group in 5-minute slots (288 rows, 100 bookings)
// and a submit with its clash test and the day redisplayed, against a database of
// 366,000 bookings; each against the plain way of doing the same with raw SQLite.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QTemporaryDir>

#include "AppInfo.h"
#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "DlgAppt.h"
#include "SharedObjects.h"
#include "Tabrix.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kResources = 300, kDays = 61, kPerDay = 20;  // the crowd: 366,000
constexpr int kDayBookings = 100;                          // on the editor's day
constexpr int32_t kFirstDay = 46000;
constexpr int32_t kDay = kFirstDay + 30;
constexpr int kFreeSlot = 1430;  // 23:50, after the day's last booking

struct World {
    QTemporaryDir dir;
    QString db;
    World() {
        plat::SetAppPathForTest(dir.path());
        db = dir.path() + "/Rostima.mdb";
        ClsDAO::CreateDatabase(db);
        ClsDAO dao;
        dao.DbOpen(db);
        QStringList batch{
            "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
            "values ('Crowd', 0, 1440, 15)",
            "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
            "values ('Desk', 0, 1435, 5)",
            "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, "
            "InitTime) values (2, 'Visit', 255, 5, 60, 5)",
            "insert into tblCustomers (CustomerName) values ('Smith')",
            "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, "
            "InitTime) values (2, 'Desk', 5, 60, 5)"};
        for (int r = 0; r < kResources; ++r)
            batch << QString(
                         "insert into tblResources (GroupId, ResourceName) values (1, "
                         "'R%1')")
                         .arg(r);
        for (int k = 0; k < kDayBookings; ++k)
            batch << QString(
                         "insert into tblBookings (TaskId, BookingDate, BookingStart, "
                         "BookingEnd, CustomerId, ResourceId, RepeatId) values "
                         "(1, %1, %2, %3, 1, 1, 0)")
                         .arg(kDay)
                         .arg(k * 14)
                         .arg(k * 14 + 10);
        dao.SqlActions(batch);
        batch.clear();
        for (int r = 2; r < kResources + 2; ++r) {
            for (int d = 0; d < kDays; ++d)
                for (int k = 0; k < kPerDay; ++k)
                    batch << QString(
                                 "insert into tblBookings (TaskId, BookingDate, BookingStart, "
                                 "BookingEnd, CustomerId, ResourceId, RepeatId) values "
                                 "(1, %1, %2, %3, 0, %4, 0)")
                                 .arg(kFirstDay + d)
                                 .arg(k * 60)
                                 .arg(k * 60 + 45)
                                 .arg(r);
            if (r % 20 == 0) {
                dao.SqlActions(batch);
                batch.clear();
            }
        }
        dao.SqlActions(batch);
        dao.DbClose();
        SharedObjects::Ini().setIniFile(plat::AppExeName() + ".ini");
        SharedObjects::DAO().DbOpen(db);
    }
};

World& world() {
    static World w;
    return w;
}

// The editor on the desk's day, as the main window opens it.
DlgAppt& editor() {
    world();
    static DlgAppt* e = [] {
        auto* d = new DlgAppt;
        d->setGroupId(2);
        d->setResourceId(1);
        d->setStartTime(0);
        d->setApptDate(kDay);
        d->ShowResources();
        d->ShowTasks(1);
        d->ShowCustomers(0);
        return d;
    }();
    return *e;
}

sqlite3* plainDb() {
    sqlite3* db = nullptr;
    sqlite3_open_v2(world().db.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 10000);
    return db;
}

void BM_EditorDay(benchmark::State& state) {
    DlgAppt& e = editor();
    for (auto _ : state) e.ShowBookings();
    state.counters["rows"] = e.LbTimeSlot->rowCount();
}

void BM_PlainDay(benchmark::State& state) {
    sqlite3* db = plainDb();
    const QByteArray sql = QString(
                               "select BookingId, BookingStart, BookingEnd, TaskId, "
                               "CustomerId from tblBookings where ResourceId = 1 and "
                               "BookingDate = %1")
                               .arg(kDay)
                               .toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        int64_t sum = 0;
        while (sqlite3_step(st) == SQLITE_ROW) sum += sqlite3_column_int64(st, 1);
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
}

// Save on a free slot, then (untimed) take the booking away again.
void BM_EditorSubmit(benchmark::State& state) {
    DlgAppt& e = editor();
    const int row = kFreeSlot / 5;
    for (auto _ : state) {
        state.PauseTiming();
        e.ShowBookings();
        e.LbTimeslot_ItemClick(row, 1);
        state.ResumeTiming();
        e.BtnTask_Click(1);
        state.PauseTiming();
        if (e.LbTimeSlot->rowData(row) == 0) state.SkipWithError("the booking was not saved");
        SharedObjects::DAO().SqlAction("delete from tblBookings where BookingStart = 1430");
        state.ResumeTiming();
    }
}

void BM_PlainSubmit(benchmark::State& state) {
    sqlite3* db = plainDb();
    const QByteArray insert =
        QString(
            "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
            "CustomerId, ResourceId, RepeatId) select 1, %1, 1430, 1435, 0, 1, 0 where not "
            "exists (select 1 from tblBookings where ResourceId = 1 and BookingDate = %1 "
            "and BookingStart < 1435 and BookingEnd > 1430)")
            .arg(kDay)
            .toUtf8();
    for (auto _ : state) {
        sqlite3_exec(db, insert.constData(), nullptr, nullptr, nullptr);
        state.PauseTiming();
        sqlite3_exec(db, "delete from tblBookings where BookingStart = 1430", nullptr, nullptr,
                     nullptr);
        state.ResumeTiming();
    }
    sqlite3_close(db);
}

}  // namespace

BENCHMARK(BM_EditorDay)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_PlainDay)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_EditorSubmit)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_PlainSubmit)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
