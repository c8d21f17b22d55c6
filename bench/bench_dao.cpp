// SqlQuery against the same read done with the raw engine API, and DbUpdated on a large
// bookings table (it must not grow with the table).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QTemporaryDir>

#include "AppInfo.h"
#include "ClsDAO.h"
#include "SharedObjects.h"

namespace {

QString makeDb(QTemporaryDir& dir, int bookings) {
    plat::SetAppPathForTest(dir.path());
    const QString path = dir.path() + "/Rostima.mdb";
    ClsDAO::CreateDatabase(path);
    ClsDAO dao;
    dao.DbOpen(path);
    QStringList batch;
    for (int i = 0; i < bookings; ++i) {
        batch << QString("insert into tblBookings (TaskId, BookingDate, BookingStart, "
                         "BookingEnd, CustomerId, ResourceId, RepeatId, Ref01, Comments) "
                         "values (%1, %2, %3, %4, 0, %5, 0, 'ref', 'a comment')")
                     .arg(i % 7).arg(45000 + i % 61).arg(i % 1380).arg(i % 1380 + 30).arg(i % 50);
        if (batch.size() == 5000) {
            dao.SqlActions(batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty()) dao.SqlActions(batch);
    dao.DbClose();
    return path;
}

const char* kRead = "select * from tblBookings";

void BM_SqlQuery10k(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeDb(dir, 10000);
    ClsDAO dao;
    dao.DbOpen(path);
    for (auto _ : state) {
        auto rs = dao.SqlQuery(kRead);
        benchmark::DoNotOptimize(rs->RecordCount());
    }
    dao.DbClose();
}

void BM_RawRead10k(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeDb(dir, 10000);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, kRead, -1, &st, nullptr);
        int64_t sum = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_TEXT)
                    sum += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)))
                               .size();
                else
                    sum += sqlite3_column_int64(st, c);
            }
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
}

void BM_DbUpdated(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeDb(dir, static_cast<int>(state.range(0)));
    ClsDAO dao;
    dao.DbOpen(path);
    for (auto _ : state) benchmark::DoNotOptimize(dao.DbUpdated());
    dao.DbClose();
}

}  // namespace

BENCHMARK(BM_SqlQuery10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawRead10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DbUpdated)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
