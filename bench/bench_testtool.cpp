// The test utility's random schedule generator run by 1 to 8 processes at once on one
// database, each process a workstation of its own (only the database engine's locking
// between them), without the pauses. Reported: bookings per second, and the same figure
// for the plain way (the same attempts as clash-checked inserts straight through SQLite,
// the members read once), with the ratio of the two.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <random>
#include <vector>

#include "AppInfo.h"
#include "ClsDAO.h"
#include "DlgMain.h"
#include "Kalvo.h"
#include "ListBox.h"
#include "ModRosTest.h"
#include "MsgBox.h"
#include "SharedObjects.h"

int32_t GetSerNo(const QString& drive) { return ModRosTest::GetSerNo(drive); }

namespace {
constexpr int32_t kFirst = 46027, kLast = kFirst + 3;  // four days
constexpr int kResources = 20, kDayStart = 480, kDayEnd = 1080, kInterval = 5;

// A database with one group of 20 resources, 3 appointment types and 5 customers.
QString freshDb(const QTemporaryDir& dir) {
    const QString path = dir.path() + "/Rostima.mdb";
    ClsDAO::CreateDatabase(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    QString sql = QString("insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
                          "('Bench', %1, %2, %3);").arg(kDayStart).arg(kDayEnd).arg(kInterval);
    for (int r = 0; r < kResources; ++r)
        sql += QString("insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, "
                       "InitTime) values (1, 'R%1', 5, 65, 5);").arg(r);
    for (int t = 0; t < 3; ++t)
        sql += QString("insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, "
                       "InitTime) values (1, 'T%1', 255, 5, 60, 5);").arg(t);
    for (int c = 1; c <= 5; ++c)
        sql += QString("insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
                       "('C%1', '', '', ''); insert into tblCustomerGroups values (%1, 1);").arg(c);
    sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QFile ini(dir.path() + "/Rostima.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write(("[Config]\nDbName=" + path + "\n").toUtf8());
    return path;
}

int64_t countBookings(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from tblBookings", -1, &st, nullptr);
    const int64_t n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

// One process: the utility's window over the whole range, every group ticked.
void rosTestProcess(const QString& folder) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "bench_testtool";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    plat::SetAppPathForTest(folder);
    plat::SetAppExeNameForTest(QString("RosTest%1").arg(getpid()));
    plat::SetMsgBoxHook([](const QString&, int, const QString&) { return int(plat::vbYes); });
    DlgMain::SetPauseForTest([](int) {});
    {
        DlgMain window;
        window.Form_Load();
        for (int i = 0; i < window.LbGroups->count(); ++i) window.LbGroups->SetSelected(i, true);
        window.Kalvo1[1]->setValue(kLast);
        window.Kalvo1[0]->setValue(kFirst);
        window.BtnTest[0]->click();
    }
    SharedObjects::Release();
}

// The plain way: the same attempts (50 to 149 a day step, up to 10 tries, a day of the
// range, a start on the grid, whole slots) as one clash-checked insert each.
void rawProcess(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 10000);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(
        db,
        "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, CustomerId, "
        "RepeatId, ResourceId, Ref01, Ref02, Ref03, Comments) select ?1, ?2, ?3, ?4, ?5, 0, ?6, "
        "'', '', '', 'T' where not exists (select 1 from tblBookings where ResourceId = ?6 and "
        "BookingDate = ?2 and ((BookingStart >= ?3 and BookingStart < ?4) or (BookingEnd > ?3 "
        "and BookingEnd <= ?4) or (BookingStart < ?3 and BookingEnd > ?4)))",
        -1, &ins, nullptr);
    std::mt19937 rnd(static_cast<unsigned>(getpid()));
    auto below = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    const int slotCount = (kDayEnd - kDayStart) / kInterval, lengths = (65 - 5) / kInterval;
    for (int step = 0; step <= kLast - kFirst; ++step) {
        for (int left = below(100) + 50; left > 0; --left) {
            const int day = kFirst + below(kLast - kFirst + 1), resource = 1 + below(kResources);
            for (int tries = 10; tries > 0; --tries) {
                const int start = kDayStart + below(slotCount) * kInterval;
                const int end = std::min(start + (below(lengths) + 1) * kInterval,
                                         kDayEnd + kInterval);
                sqlite3_bind_int(ins, 1, 1 + below(3));
                sqlite3_bind_int(ins, 2, day);
                sqlite3_bind_int(ins, 3, start);
                sqlite3_bind_int(ins, 4, end);
                sqlite3_bind_int(ins, 5, 1 + below(5));
                sqlite3_bind_int(ins, 6, resource);
                const bool ok = sqlite3_step(ins) == SQLITE_DONE && sqlite3_changes(db) > 0;
                sqlite3_reset(ins);
                if (ok) break;
            }
        }
    }
    sqlite3_finalize(ins);
    sqlite3_close(db);
}

// Seconds for `processes` copies of `work` to finish on one database.
template <typename Work>
double runProcesses(int processes, Work work) {
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<pid_t> pids;
    for (int p = 0; p < processes; ++p) {
        const pid_t pid = fork();
        if (pid == 0) {
            work();
            _exit(0);
        }
        pids.push_back(pid);
    }
    for (pid_t pid : pids) waitpid(pid, nullptr, 0);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_RandomScheduleProcesses(benchmark::State& state) {
    const int processes = static_cast<int>(state.range(0));
    double rosSeconds = 0, rawSeconds = 0;
    int64_t rosBooked = 0, rawBooked = 0;
    for (auto _ : state) {
        QTemporaryDir rosDir, rawDir;
        const QString rosPath = freshDb(rosDir), rawPath = freshDb(rawDir);
        const QString folder = rosDir.path();
        const double s = runProcesses(processes, [&] { rosTestProcess(folder); });
        state.SetIterationTime(s);
        rosSeconds += s;
        rosBooked += countBookings(rosPath);
        rawSeconds += runProcesses(processes, [&] { rawProcess(rawPath); });
        rawBooked += countBookings(rawPath);
    }
    const double ros = rosBooked / rosSeconds, raw = rawBooked / rawSeconds;
    state.counters["bookings/s"] = ros;
    state.counters["raw bookings/s"] = raw;
    state.counters["ratio"] = ros / raw;
    state.counters["booked"] = static_cast<double>(rosBooked) / state.iterations();
}

}  // namespace

BENCHMARK(BM_RandomScheduleProcesses)
    ->Arg(1)->Arg(2)->Arg(4)->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

BENCHMARK_MAIN();
