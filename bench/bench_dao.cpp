// SqlQuery of 100,000 rows, every field read, against a raw step loop that builds the same
// values; DbUpdated on a large bookings table (it must not grow with the table).
#include <sqlite3.h>

#include <QTemporaryDir>

#include "AppInfo.h"
#include "BenchSupport.h"
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
        batch << QString(
                     "insert into tblBookings (TaskId, BookingDate, BookingStart, "
                     "BookingEnd, CustomerId, ResourceId, RepeatId, Ref01, Comments) "
                     "values (%1, %2, %3, %4, 0, %5, 0, 'ref', 'a comment')")
                     .arg(i % 7)
                     .arg(45000 + i % 61)
                     .arg(i % 1380)
                     .arg(i % 1380 + 30)
                     .arg(i % 50);
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

// Looks at a value as a reader of the result would.
int64_t use(const DbValue& v) { return v.isText() ? v.toString().size() : v.toLong(); }

// The plain way: step the statement and build each value as the snapshot gives it, with
// the column calls of the engine's manual (byColumn) or one call a column and plain reads
// of its value, as the snapshot does it (byValue).
int64_t rawRead(sqlite3* db, bool byValue) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, kRead, -1, &st, nullptr);
    const int columns = sqlite3_column_count(st);
    int64_t sum = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            sqlite3_value* v = byValue ? sqlite3_column_value(st, c) : nullptr;
            switch (v ? sqlite3_value_type(v) : sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER:
                    sum += use(DbValue(static_cast<int64_t>(v ? sqlite3_value_int64(v)
                                                              : sqlite3_column_int64(st, c))));
                    break;
                case SQLITE_NULL:
                    sum += use(DbValue());
                    break;
                default: {
                    const auto* text = v ? sqlite3_value_text(v) : sqlite3_column_text(st, c);
                    const int bytes = v ? sqlite3_value_bytes(v) : sqlite3_column_bytes(st, c);
                    sum +=
                        use(DbValue(QString::fromUtf8(reinterpret_cast<const char*>(text), bytes)));
                }
            }
        }
    }
    sqlite3_finalize(st);
    return sum;
}

// Ours: the snapshot, then every field of every row read.
int64_t snapshotRead(ClsDAO& dao, int& rows) {
    auto rs = dao.SqlQuery(kRead);
    rows = rs->RecordCount();
    int64_t sum = 0;
    for (; !rs->Eof(); rs->MoveNext())
        for (int c = 0; c < rs->FieldCount(); ++c) sum += use(rs->Field(c));
    return sum;
}

void BM_SqlQuery100k(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeDb(dir, 100000);
    ClsDAO dao;
    dao.DbOpen(path);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    int rows = 0;
    for (auto _ : state) {
        double plainByValue = 1e9;
        bench::compare(
            state,
            [&] { return bench::msOf([&] { benchmark::DoNotOptimize(snapshotRead(dao, rows)); }); },
            [&] {
                plainByValue =
                    std::min(plainByValue,
                             bench::msOf([&] { benchmark::DoNotOptimize(rawRead(db, true)); }));
                return bench::msOf([&] { benchmark::DoNotOptimize(rawRead(db, false)); });
            },
            4);
        state.counters["ratio_by_value"] = state.counters["ours_ms"] / plainByValue;
    }
    state.counters["rows"] = rows;
    sqlite3_close(db);
    dao.DbClose();
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

BENCHMARK(BM_SqlQuery100k)->Apply([](auto* b) { bench::spread(b); });
BENCHMARK(BM_DbUpdated)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
