// The booking dialogs on a database of 100,000 bookings (50 resources of one group, 200
// days, 10 bookings a day each, over 5 appointment types and 100 customers): the search
// listing its results, the repeat dialog listing 50 dates with their clash marks, and the
// calendar marking a month. Each against the same rows read with plain queries.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCheckBox>
#include <QDate>
#include <QRadioButton>
#include <QTemporaryDir>

#include "AppInfo.h"
#include "ClsDAO.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "DlgCalendar.h"
#include "DlgMain.h"
#include "DlgRepeat.h"
#include "DlgSearch.h"
#include "SharedObjects.h"
#include "Tabrix.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kResources = 50, kDays = 200, kPerDay = 10, kTypes = 5, kCustomers = 100;

struct World {
    QTemporaryDir dir;
    QString db;
    int32_t firstDay = static_cast<int32_t>(QDate(1900, 1, 1).daysTo(QDate(2026, 1, 5)));
    World() {
        plat::SetAppPathForTest(dir.path());
        db = dir.path() + "/Rostima.mdb";
        ClsDAO::CreateDatabase(db);
        ClsDAO dao;
        dao.DbOpen(db);
        QStringList batch{
            "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
            "values ('Big', 0, 1440, 15)"};
        for (int t = 1; t <= kTypes; ++t)
            batch << QString(
                         "insert into tblTasks (GroupId, TaskName, Colour) values (1, 'T%1', "
                         "255)")
                         .arg(t);
        for (int c = 1; c <= kCustomers; ++c)
            batch << QString(
                         "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
                         "values ('C%1', '', '', '')")
                         .arg(c, 3, 10, QChar('0'))
                  << QString("insert into tblCustomerGroups (CustomerId, GroupId) values (%1, 1)")
                         .arg(c);
        for (int r = 1; r <= kResources; ++r)
            batch << QString("insert into tblResources (GroupId, ResourceName) values (1, 'R%1')")
                         .arg(r, 2, 10, QChar('0'));
        dao.SqlActions(batch);
        batch.clear();
        int n = 0;
        for (int r = 1; r <= kResources; ++r) {
            for (int d = 0; d < kDays; ++d, ++n)
                for (int k = 0; k < kPerDay; ++k)
                    batch << QString(
                                 "insert into tblBookings (TaskId, BookingDate, BookingStart, "
                                 "BookingEnd, CustomerId, ResourceId, RepeatId, Ref01, Ref02, "
                                 "Ref03, Comments) values (%1, %2, %3, %4, %5, %6, 0, '', '', "
                                 "'', '')")
                                 .arg(1 + (n + k) % kTypes)
                                 .arg(firstDay + d)
                                 .arg(480 + k * 60)
                                 .arg(480 + k * 60 + 45)
                                 .arg(1 + (n * 7 + k) % kCustomers)
                                 .arg(r);
            dao.SqlActions(batch);
            batch.clear();
        }
        dao.DbClose();
        ClsIni ini;
        ini.setIniFile(plat::AppExeName() + ".ini");
        ini.WriteValue("Group", "CbGroup", 1);
        ini.WriteValue("Config", "LastDate", firstDay);
    }
};

World& world() {
    static World w;
    return w;
}

DlgMain& mainWindow() {
    world();
    static DlgMain* dlg = [] {
        auto* d = new DlgMain;
        d->Form_Load();
        return d;
    }();
    return *dlg;
}

// Rows of a statement read with the plain C API, as many as the dialog lists.
int64_t plainRows(const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(world().db.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    int64_t rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            benchmark::DoNotOptimize(sqlite3_column_text(st, c));
        ++rows;
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

// The search by a resource (2,000 results) or by an appointment type (20,000 results).
void BM_SearchLists(benchmark::State& state) {
    mainWindow();
    DlgSearch form;
    form.Form_Load();
    const int kind = static_cast<int>(state.range(0));
    form.BtnSearchBy[static_cast<size_t>(kind)]->click();
    for (auto _ : state) form.DoSearch();
    state.counters["rows"] = form.LbResults->rowCount();
}

void BM_SearchPlainQuery(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const QString sql = DlgSearch::SearchStatement(kind, 1, false, QDateTime());
    int64_t rows = 0;
    for (auto _ : state) rows = plainRows(sql);
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_RepeatDates(benchmark::State& state) {
    mainWindow();
    DlgRepeat form;
    form.Appt = {world().firstDay, 1, 1, 500, 560, 1, 1, "", "", "", ""};
    form.Form_Load();
    form.Option1[6]->click();  // working days: most dates clash
    for (auto _ : state) form.ShowDates();
}

void BM_RepeatPlainQueries(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(world().db.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "select BookingId from tblBookings where ResourceId = 1 and "
                       "BookingDate = ?1 and ((BookingStart >= 500 and BookingStart < 560) or "
                       "(BookingEnd > 500 and BookingEnd <= 560) or (BookingStart < 500 and "
                       "BookingEnd > 560))",
                       -1, &st, nullptr);
    for (auto _ : state) {
        for (int i = 0; i < DlgRepeat::kDates; ++i) {
            sqlite3_bind_int(st, 1, world().firstDay + i);
            benchmark::DoNotOptimize(sqlite3_step(st));
            sqlite3_reset(st);
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
}

void BM_CalendarMarks(benchmark::State& state) {
    mainWindow();
    DlgCalendar::setCalDate(world().firstDay + 40);
    DlgCalendar form;
    form.Form_Load();
    for (QCheckBox* box : form.ChkResource) box->setChecked(true);  // every resource
    for (auto _ : state) form.ShowAppointments();
}

void BM_CalendarPlainQuery(benchmark::State& state) {
    // The Monday on or before the first of the month the calendar shows.
    const QDate shown = QDate(1900, 1, 1).addDays(world().firstDay + 40);
    const QDate month(shown.year(), shown.month(), 1);
    const auto first =
        static_cast<int32_t>(QDate(1900, 1, 1).daysTo(month.addDays(1 - month.dayOfWeek())));
    const QString sql = QString(
                            "select distinct BookingDate from tblBookings where "
                            "BookingDate >= %1 and BookingDate <= %2 and ResourceId in "
                            "(select ResourceId from tblResources where GroupId = 1)")
                            .arg(first)
                            .arg(first + 41);
    for (auto _ : state) benchmark::DoNotOptimize(plainRows(sql));
}

}  // namespace

BENCHMARK(BM_SearchLists)
    ->Arg(DlgSearch::ByResource)
    ->Arg(DlgSearch::ByType)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SearchPlainQuery)
    ->Arg(DlgSearch::ByResource)
    ->Arg(DlgSearch::ByType)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_RepeatDates)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RepeatPlainQueries)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CalendarMarks)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CalendarPlainQuery)->Unit(benchmark::kMillisecond)->UseRealTime();
