// Clash-checked booking saves from one and from four processes on a database that already
// holds 100,000 bookings, and the change fingerprint of a large group (300 resources, 61
// days, 20 bookings a day), each against the same statements run with the raw engine.
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "AppInfo.h"
#include "BenchSupport.h"
#include "ClsBooking.h"
#include "ClsDAO.h"
#include "RawEngine.h"
#include "SharedObjects.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kSavesPerProcess = 500;
constexpr int kFirstDay = 46000;  // the saves go on days after the 100,000 bookings

// A database of `resources` resources in group 1, each with days x perDay bookings from
// kFirstDay - days on, made once and copied for every run.
QString makeTemplate(QTemporaryDir& dir, int resources, int days, int perDay) {
    plat::SetAppPathForTest(dir.path());
    const QString path = dir.path() + QString("/template-%1.mdb").arg(resources);
    ClsDAO::CreateDatabase(path);
    sqlite3* db = bench::openRaw(path);
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_exec(db,
                 "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
                 "('Big', 0, 1440, 15); insert into tblTasks (GroupId, TaskName, Colour) values "
                 "(1, 'T', 255)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "insert into tblResources (GroupId, ResourceName) values (1, ?)", -1,
                       &st, nullptr);
    for (int r = 1; r <= resources; ++r) {
        const QByteArray name = QString("R%1").arg(r).toUtf8();
        sqlite3_bind_text(st, 1, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_prepare_v2(db,
                       "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                       "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                       "(1, ?, ?, ?, 0, ?, 0, 'ref', '', '', 'a comment')",
                       -1, &st, nullptr);
    for (int r = 1; r <= resources; ++r)
        for (int d = 0; d < days; ++d)
            for (int k = 0; k < perDay; ++k) {
                const int values[] = {kFirstDay - days + d, k * 30, k * 30 + 25, r};
                for (int i = 0; i < 4; ++i) sqlite3_bind_int(st, i + 1, values[i]);
                sqlite3_step(st);
                sqlite3_reset(st);
            }
    sqlite3_finalize(st);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

const QString& templateDb() {
    static QTemporaryDir dir;
    static const QString path = makeTemplate(dir, 100, 50, 20);  // 100,000 bookings
    return path;
}

QString copyOfTemplate(QTemporaryDir& dir) {
    const QString path = dir.path() + "/Rostima.mdb";
    QFile::copy(templateDb(), path);
    return path;
}

// The i-th booking that process p saves: its own day, 10 resources, 50 slots each, none
// over another; returned in the shape ClsBooking gives it.
ClsBooking bookingOf(int p, int i) {
    ClsBooking b;
    b.setResourceId(i % 10 + 1);
    b.setBookingDate(kFirstDay + p);
    b.setBookingStart(static_cast<int16_t>((i / 10) * 20));
    b.setBookingEnd(static_cast<int16_t>((i / 10) * 20 + 20));
    b.setTaskId(1);
    return b;
}

// Ours: ClsBooking::Save on the program's own database object; the number stored.
int saveMany(const QString& path, int p) {
    ClsDAO& dao = SharedObjects::DAO();
    dao.DbOpen(path);
    int stored = 0;
    for (int i = 0; i < kSavesPerProcess; ++i) {
        ClsBooking b = bookingOf(p, i);
        if (b.Save() != 0) ++stored;
    }
    dao.DbClose();
    return stored;
}

// The plain way: the same insert with its clash test, one statement a booking, each its
// own transaction, as the engine runs it.
int saveManyRaw(const QString& path, int p) {
    sqlite3* db = bench::openRaw(path);
    int stored = 0;
    for (int i = 0; i < kSavesPerProcess; ++i) {
        const ClsBooking b = bookingOf(p, i);
        const QString clash =
            QString(
                "ResourceId = %1 and BookingDate = %2 and (((BookingStart >= %3 and "
                "BookingStart < %4) or (BookingEnd > %3 and BookingEnd <= %4)) or "
                "(BookingStart < %3 and BookingEnd > %4)) and BookingId <> 0")
                .arg(b.ResourceId())
                .arg(b.BookingDate())
                .arg(b.BookingStart())
                .arg(b.BookingEnd());
        const QString sql =
            QString(
                "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                "CustomerId, RepeatId, ResourceId, Ref01, Ref02, Ref03, Comments) select "
                "1, %1, %2, %3, 0, 0, %4, '', '', '', '' where not exists (select 1 from "
                "tblBookings where %5)")
                .arg(b.BookingDate())
                .arg(b.BookingStart())
                .arg(b.BookingEnd())
                .arg(b.ResourceId())
                .arg(clash);
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK &&
            sqlite3_changes(db) == 1)
            ++stored;
    }
    sqlite3_close(db);
    return stored;
}

int64_t bookingsIn(const QString& path) {
    sqlite3* db = bench::openRaw(path);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from tblBookings", -1, &st, nullptr);
    sqlite3_step(st);
    const int64_t n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

// Runs save(path, p) in `processes` processes at once on a fresh copy of the database;
// the milliseconds they took together, and the rows they stored in `stored`.
template <typename Save>
double savesMs(int processes, Save save, int& stored) {
    QTemporaryDir dir;
    const QString path = copyOfTemplate(dir);
    const int64_t before = bookingsIn(path);
    const double ms = bench::msOf([&] {
        if (processes == 1) {
            save(path, 0);
            return;
        }
        std::vector<pid_t> pids;
        for (int p = 0; p < processes; ++p) {
            const pid_t pid = fork();
            if (pid == 0) {
                save(path, p);
                _exit(0);
            }
            pids.push_back(pid);
        }
        for (pid_t pid : pids) waitpid(pid, nullptr, 0);
    });
    stored = static_cast<int>(bookingsIn(path) - before);
    return ms;
}

void BM_Saves(benchmark::State& state) {
    const int processes = static_cast<int>(state.range(0));
    templateDb();
    int stored = 0, storedRaw = 0;
    for (auto _ : state) {
        bench::compare(
            state, [&] { return savesMs(processes, saveMany, stored); },
            [&] { return savesMs(processes, saveManyRaw, storedRaw); });
        // Only saves that stored a row count.
        state.counters["saves_per_s"] = stored / (state.counters["ours_ms"] / 1000);
    }
    state.counters["stored"] = stored;
    state.counters["tried"] = processes * kSavesPerProcess;
    state.counters["stored_raw"] = storedRaw;
}

void BM_BookingCheckLargeGroup(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/Rostima.mdb";
    QFile::copy(makeTemplate(dir, 300, 61, 20), path);  // 366,000 bookings
    ClsDAO& dao = SharedObjects::DAO();
    dao.DbOpen(path);
    sqlite3* db = bench::openRaw(path);
    const QString plainSql = QString(
                                 "select %1 from tblBookings where BookingDate >= %2 and "
                                 "BookingDate <= %3 and ResourceId in (select ResourceId "
                                 "from tblResources where GroupId = 1)")
                                 .arg(ClsBooking::kCheckColumns)
                                 .arg(kFirstDay - 61)
                                 .arg(kFirstDay - 1);
    ClsBooking b;
    int32_t ours = 0, raw = 0;
    for (auto _ : state)
        bench::compare(
            state,
            [&] {
                return bench::msOf(
                    [&] { ours = b.BookingCheck(kFirstDay - 61, kFirstDay - 1, 1).value_or(0); });
            },
            [&] { return bench::msOf([&] { raw = bench::rawRowHash(db, plainSql); }); });
    state.counters["same_value"] = ours == raw && ours != 0;
    sqlite3_close(db);
    dao.DbClose();
}

}  // namespace

BENCHMARK(BM_Saves)->Arg(1)->Arg(4)->Apply([](auto* b) { bench::spread(b); });
BENCHMARK(BM_BookingCheckLargeGroup)->Apply([](auto* b) { bench::spread(b); });
