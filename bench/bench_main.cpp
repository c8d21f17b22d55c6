// The main window's chart for a large group in the weeks view: 300 resources, 61 days, 20
// bookings per resource and day (366,000 bars). Each figure is set against the chart's
// own statements (the resources, then each resource's bookings) stepped with the raw
// engine in the same run: a load, the start of the program up to the first painted
// chart, and a refresh tick that finds another workstation's change.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QImage>
#include <QTemporaryDir>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include "AppInfo.h"
#include "BenchSupport.h"
#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "DbValue.h"
#include "DlgMain.h"
#include "HeapMeter.h"
#include "ModMain.h"
#include "Plexaro.h"
#include "RawEngine.h"
#include "SharedObjects.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kResources = 300, kDays = 61, kPerDay = 20, kTasks = 8, kCustomers = 200;

void exec(sqlite3* db, const QString& sql) {
    sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

struct World {
    QTemporaryDir dir;
    QString db;
    const int32_t firstDay = static_cast<int32_t>(QDate(1900, 1, 1).daysTo(QDate(2026, 3, 2)));
    int32_t lastDay = firstDay + kDays - 1;
    World() {
        plat::SetAppPathForTest(dir.path());
        db = dir.path() + "/Rostima.mdb";
        ClsDAO::CreateDatabase(db);
        sqlite3* raw = bench::openRaw(db);
        exec(raw, "begin");
        exec(raw,
             "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
             "values ('Big', 0, 1440, 15)");
        for (int t = 1; t <= kTasks; ++t)
            exec(raw, QString("insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, "
                              "InitTime) values (1, 'Task %1', %2, 15, 120, 45)")
                          .arg(t)
                          .arg(t * 0x102030));
        for (int r = 1; r <= kResources; ++r)
            exec(raw, QString("insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, "
                              "InitTime) values (1, 'R%1', 15, 1440, 15)")
                          .arg(r, 3, 10, QChar('0')));
        for (int c = 1; c <= kCustomers; ++c)
            exec(raw, QString("insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
                              "('Customer %1', 'ref', '', ''); insert into tblCustomerGroups "
                              "(CustomerId, GroupId) values (%1, 1)")
                          .arg(c));
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(
            raw,
            "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
            "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) "
            "values (?, ?, ?, ?, ?, ?, 0, 'ref', '', '', 'a comment')",
            -1, &st, nullptr);
        int n = 0;
        for (int r = 1; r <= kResources; ++r)
            for (int d = 0; d < kDays; ++d)
                for (int k = 0; k < kPerDay; ++k, ++n) {
                    const int values[] = {n % kTasks + 1,
                                          firstDay + d,
                                          k * 60,
                                          k * 60 + 45,
                                          n % 4 == 0 ? 0 : n % kCustomers + 1,
                                          r};
                    for (int i = 0; i < 6; ++i) sqlite3_bind_int(st, i + 1, values[i]);
                    sqlite3_step(st);
                    sqlite3_reset(st);
                }
        sqlite3_finalize(st);
        // A small group to pick on the way (see BM_TwoQuickPicksToTheLargeGroup).
        exec(raw,
             "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
             "values ('Small', 0, 1440, 15); insert into tblResources (GroupId, ResourceName, "
             "MinTime, MaxTime, InitTime) values (2, 'S1', 15, 1440, 15)");
        exec(raw, "commit");
        sqlite3_close(raw);
        ClsIni ini;
        ini.setIniFile(plat::AppExeName() + ".ini");
        ini.WriteValue("Startup", "HasAgreedTerms", 1);
        ini.WriteValue("Config", "FirstStart", 1);  // no start-up form at the first activation
        ini.WriteValue("Config", "VersionNo", ModMain::VersionNumber());
        ini.WriteValue("Config", "TimeType", 2);
        ini.WriteValue("Group", "CbGroup", 1);
        ini.WriteValue("Config", "LastDate", firstDay);
    }
};

World& world() {
    static World w;
    return w;
}

int64_t use(const DbValue& v) { return v.isText() ? v.toString().size() : v.toLong(); }

// The chart's statements stepped with the raw engine, every value built as a reader gets
// it: the resources of the group, then each resource's bookings in the range.
int64_t rawChartQueries(sqlite3* db) {
    const World& w = world();
    int64_t sum = 0;
    auto step = [&](const QString& sql, auto&& row) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
        const int columns = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(st, c)) {
                    case SQLITE_INTEGER:
                        sum += use(DbValue(static_cast<int64_t>(sqlite3_column_int64(st, c))));
                        break;
                    case SQLITE_NULL:
                        sum += use(DbValue());
                        break;
                    default:
                        sum += use(DbValue(QString::fromUtf8(
                            reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                            sqlite3_column_bytes(st, c))));
                }
            }
            row(st);
        }
        sqlite3_finalize(st);
    };
    std::vector<int64_t> resources;
    step(
        "select ResourceName, ResourceId from tblResources where GroupId = 1 order by "
        "ResourceName",
        [&](sqlite3_stmt* st) { resources.push_back(sqlite3_column_int64(st, 1)); });
    for (int64_t id : resources)
        step(QString("select (select Colour from tblTasks where TaskId = tblBookings.TaskId), "
                     "(select CustomerName from tblCustomers where CustomerId = "
                     "tblBookings.CustomerId), BookingId, ResourceId, BookingDate, BookingStart, "
                     "BookingEnd, TaskId, CustomerId from tblBookings where ResourceId = %1 and "
                     "BookingDate >= %2 and BookingDate <= %3 order by BookingStart")
                 .arg(id)
                 .arg(w.firstDay)
                 .arg(w.lastDay),
             [](sqlite3_stmt*) {});
    return sum;
}

// The fingerprint's statement stepped with the raw engine, the hash taken the plain way:
// every row's values handed to the same hash.
int32_t rawFingerprint(sqlite3* db) {
    const World& w = world();
    const QString sql = QString(
                            "select %1 from tblBookings where BookingDate >= %2 and "
                            "BookingDate <= %3 and ResourceId in (select ResourceId from "
                            "tblResources where GroupId = 1)")
                            .arg(ClsBooking::kCheckColumns)
                            .arg(w.firstDay)
                            .arg(w.lastDay);
    return bench::rawRowHash(db, sql);
}

// Another workstation lengthens a booking shown on the chart by a minute, or back.
void changeElsewhere(sqlite3* db) {
    static int flip = 0;
    exec(db, QString("update tblBookings set BookingEnd = BookingEnd %1 1 where BookingId = 1000")
                 .arg(flip++ % 2 == 0 ? "+" : "-"));
}

double plainChartMs(sqlite3* db) {
    return bench::msOf([&] { benchmark::DoNotOptimize(rawChartQueries(db)); });
}

void BM_ChartLoad(benchmark::State& state) {
    world();
    DlgMain dlg;
    dlg.Form_Load();
    sqlite3* db = bench::openRaw(world().db);
    for (auto _ : state)
        bench::compare(
            state, [&] { return bench::msOf([&] { dlg.ShowResources(0); }); },
            [&] { return plainChartMs(db); });
    state.counters["bars"] = dlg.Sched->model().totalBars();
    sqlite3_close(db);
}

// From the window's making to its chart painted, the program's objects already there.
void BM_StartToFirstPaint(benchmark::State& state) {
    world();
    sqlite3* db = bench::openRaw(world().db);
    int bars = 0;
    auto ours = [&] {
        QImage image;
        std::unique_ptr<DlgMain> dlg;
        const double ms = bench::msOf([&] {
            dlg = std::make_unique<DlgMain>();
            dlg->Form_Load();
            dlg->show();
            image = QImage(dlg->Sched->size(), QImage::Format_ARGB32_Premultiplied);
            dlg->Sched->render(&image);
        });
        bars = dlg->Sched->lastPaintBarCount() > 0 ? dlg->Sched->model().totalBars() : 0;
        return ms;
    };
    for (auto _ : state) bench::compare(state, ours, [&] { return plainChartMs(db); });
    state.counters["bars"] = bars;
    sqlite3_close(db);
}

// A tick after another workstation changed a booking on show: the change check, the
// fingerprint and the reload, against the fingerprint's and the chart's statements
// stepped raw. Also the most heap the tick held beyond what it began with, against the
// heap the loaded chart itself holds.
void BM_TickWithChange(benchmark::State& state) {
    world();
    DlgMain dlg;
    dlg.Form_Load();
    sqlite3* db = bench::openRaw(world().db);
    dlg.Sched->clear();
    int64_t chartBytes = 0;
    {
        heapmeter::Window load;
        dlg.ShowResources(0);
        chartBytes = load.growth();
    }
    int ticks = 0, reloads = 0;
    auto tick = [&] {
        changeElsewhere(db);
        const int32_t check = dlg.LastBookingCheck;
        const double ms = bench::msOf([&] { dlg.Timer1_Timer(); });
        ++ticks;
        reloads += dlg.LastBookingCheck != check;
        return ms;
    };
    // The heap is watched in a tick of its own, outside the timed ones.
    int64_t transient = 0;
    {
        heapmeter::Window watched;
        tick();
        transient = watched.most();
    }
    auto plain = [&] {
        return bench::msOf([&] { benchmark::DoNotOptimize(rawFingerprint(db)); }) +
               plainChartMs(db);
    };
    for (auto _ : state) bench::compare(state, tick, plain);
    state.counters["transient_to_chart"] = double(transient) / double(chartBytes);
    state.counters["chart_MiB"] = double(chartBytes) / (1 << 20);
    state.counters["ticks_reloaded"] = double(reloads) / ticks;
    sqlite3_close(db);
}

// Two quick turns of the wheel over the group list, as the windowing system queues them:
// to the small group, and back to the large one before the first load has ended. From
// the picks to the large group's chart on show, against the chart's statements raw.
void BM_TwoQuickPicksToTheLargeGroup(benchmark::State& state) {
    world();
    DlgMain dlg;
    dlg.Form_Load();
    dlg.show();
    QCoreApplication::processEvents();
    sqlite3* db = bench::openRaw(world().db);
    auto turn = [&](int steps) {
        const QPointF at = dlg.CbGroup->mapTo(&dlg, QPointF(dlg.CbGroup->rect().center()));
        QWindowSystemInterface::handleWheelEvent(dlg.windowHandle(), at, dlg.mapToGlobal(at),
                                                 QPoint(), QPoint(0, 120 * steps));
    };
    int shown = 0;
    auto picks = [&] {
        return bench::msOf([&] {
            turn(-1);  // Small
            turn(1);   // Big
            for (int pass = 0; pass < 1000; ++pass) {
                QCoreApplication::processEvents();
                if (QWindowSystemInterface::windowSystemEventsQueued() == 0 &&
                    dlg.Sched->title() == "Big" && pass > 0)
                    break;
            }
        });
    };
    for (auto _ : state) {
        bench::compare(state, picks, [&] { return plainChartMs(db); });
        shown += dlg.Sched->title() == "Big";
    }
    state.counters["ended_on_large"] = double(shown) / double(state.iterations());
    sqlite3_close(db);
}

}  // namespace

BENCHMARK(BM_ChartLoad)->Apply([](auto* b) { bench::spread(b); });
BENCHMARK(BM_StartToFirstPaint)->Apply([](auto* b) { bench::spread(b); });
BENCHMARK(BM_TickWithChange)->Apply([](auto* b) { bench::spread(b); });
BENCHMARK(BM_TwoQuickPicksToTheLargeGroup)->Apply([](auto* b) { bench::spread(b); });
