// Clash-checked booking saves from one and from four processes on one database file, and
// the change fingerprint of a large group (50 resources, 61 days, 20 bookings a day).
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "AppInfo.h"
#include "ClsBooking.h"
#include "ClsDAO.h"
#include "SharedObjects.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kSavesPerProcess = 500;

QString freshDb(QTemporaryDir& dir) {
    plat::SetAppPathForTest(dir.path());
    const QString path = dir.path() + "/Rostima.mdb";
    ClsDAO::CreateDatabase(path);
    return path;
}

// Saves kSavesPerProcess bookings on 10 resources, every third one over an earlier one;
// returns how many were stored.
int saveMany(const QString& path, int seed) {
    ClsDAO& dao = SharedObjects::DAO();
    dao.DbOpen(path);
    int stored = 0;
    for (int i = 0; i < kSavesPerProcess; ++i) {
        ClsBooking b;
        b.setResourceId(i % 10);
        b.setBookingDate(46000 + seed);
        const int slot = (i / 10) * 20 - (i % 3 == 0 ? 10 : 0);
        b.setBookingStart(static_cast<int16_t>(slot));
        b.setBookingEnd(static_cast<int16_t>(slot + 20));
        b.setTaskId(1);
        if (b.Save()) ++stored;
    }
    dao.DbClose();
    return stored;
}

void BM_SavesOneProcess(benchmark::State& state) {
    int stored = 0, tried = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString path = freshDb(dir);
        state.ResumeTiming();
        stored += saveMany(path, 0);
        tried += kSavesPerProcess;
    }
    state.counters["saves/s"] = benchmark::Counter(tried, benchmark::Counter::kIsRate);
    state.counters["refused"] = tried - stored;
}

void BM_SavesFourProcesses(benchmark::State& state) {
    int stored = 0, tried = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString path = freshDb(dir);
        state.ResumeTiming();
        pid_t pids[4];
        for (int p = 0; p < 4; ++p) {
            pids[p] = fork();
            if (pids[p] == 0) {
                saveMany(path, 0);
                _exit(0);
            }
        }
        for (pid_t pid : pids) waitpid(pid, nullptr, 0);
        state.PauseTiming();
        ClsDAO check;
        check.DbOpen(path);
        stored += static_cast<int>(
            check.SqlQuery("select count(*) from tblBookings")->Field(0).toLong());
        check.DbClose();
        tried += 4 * kSavesPerProcess;
        state.ResumeTiming();
    }
    state.counters["saves/s"] = benchmark::Counter(tried, benchmark::Counter::kIsRate);
    state.counters["refused"] = tried - stored;
}

void BM_BookingCheckLargeGroup(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = freshDb(dir);
    ClsDAO& dao = SharedObjects::DAO();
    dao.DbOpen(path);
    QStringList batch;
    for (int r = 1; r <= 50; ++r)
        batch << QString("insert into tblResources (GroupId, ResourceName) values (1, 'R%1')").arg(r);
    dao.SqlActions(batch);
    batch.clear();
    for (int r = 1; r <= 50; ++r)
        for (int d = 0; d < 61; ++d)
            for (int k = 0; k < 20; ++k)
                batch << QString("insert into tblBookings (TaskId, BookingDate, BookingStart, "
                                 "BookingEnd, CustomerId, ResourceId, RepeatId) values "
                                 "(1, %1, %2, %3, 0, %4, 0)")
                             .arg(46000 + d).arg(k * 30).arg(k * 30 + 25).arg(r);
    dao.SqlActions(batch);
    ClsBooking b;
    for (auto _ : state) benchmark::DoNotOptimize(b.BookingCheck(46000, 46060, 1));
    dao.DbClose();
}

}  // namespace

BENCHMARK(BM_SavesOneProcess)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SavesFourProcesses)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_BookingCheckLargeGroup)->Unit(benchmark::kMillisecond);
