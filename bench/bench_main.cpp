// The main window's chart load (ShowResources) for a large group in the weeks view:
// 300 resources, 61 days, 20 bookings per resource and day (366,000 bookings), against
// the same rows read with one plain query.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDate>
#include <QTemporaryDir>

#include "AppInfo.h"
#include "ClsDAO.h"
#include "ClsIni.h"
#include "DlgMain.h"
#include "SharedObjects.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kResources = 300, kDays = 61, kPerDay = 20;

struct World {
    QTemporaryDir dir;
    QString db;
    int32_t firstDay = 0;
    World() {
        plat::SetAppPathForTest(dir.path());
        db = dir.path() + "/Rostima.mdb";
        ClsDAO::CreateDatabase(db);
        firstDay = static_cast<int32_t>(QDate(1900, 1, 1).daysTo(QDate::currentDate()));
        ClsDAO dao;
        dao.DbOpen(db);
        QStringList batch{"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
                          "values ('Big', 0, 1440, 15)",
                          "insert into tblTasks (GroupId, TaskName, Colour) values (1, 'T', 255)"};
        for (int r = 1; r <= kResources; ++r)
            batch << QString("insert into tblResources (GroupId, ResourceName) values (1, 'R%1')")
                         .arg(r, 3, 10, QChar('0'));
        dao.SqlActions(batch);
        batch.clear();
        for (int r = 1; r <= kResources; ++r) {
            for (int d = 0; d < kDays; ++d)
                for (int k = 0; k < kPerDay; ++k)
                    batch << QString("insert into tblBookings (TaskId, BookingDate, BookingStart, "
                                     "BookingEnd, CustomerId, ResourceId, RepeatId) values "
                                     "(1, %1, %2, %3, 0, %4, 0)")
                                 .arg(firstDay + d).arg(k * 60).arg(k * 60 + 45).arg(r);
            if (r % 20 == 0) {
                dao.SqlActions(batch);
                batch.clear();
            }
        }
        dao.DbClose();
        ClsIni ini;
        ini.setIniFile(plat::AppExeName() + ".ini");
        ini.WriteValue("Config", "TimeType", 2);
        ini.WriteValue("Group", "CbGroup", 1);
        ini.WriteValue("Config", "LastDate", firstDay);
    }
};

World& world() {
    static World w;
    return w;
}

void BM_ShowResources(benchmark::State& state) {
    world();
    DlgMain dlg;
    dlg.Form_Load();
    for (auto _ : state) dlg.ShowResources(0);
    state.counters["bars"] = static_cast<double>(kResources * kDays * kPerDay);
}

void BM_PlainQuery(benchmark::State& state) {
    World& w = world();
    sqlite3* db = nullptr;
    sqlite3_open_v2(w.db.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QString sql = QString("select * from tblBookings where ResourceId in (select ResourceId "
                                "from tblResources where GroupId = 1) and BookingDate >= %1 and "
                                "BookingDate <= %2").arg(w.firstDay).arg(w.firstDay + kDays - 1);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
        int64_t sum = 0;
        while (sqlite3_step(st) == SQLITE_ROW) sum += sqlite3_column_int64(st, 3);
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
}

}  // namespace

BENCHMARK(BM_ShowResources)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PlainQuery)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
