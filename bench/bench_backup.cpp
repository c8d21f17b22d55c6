// The backup and the restore of 100,000 bookings (10 groups of 30 resources, 8 appointment
// types and 200 or 2,000 customers each), run as the main window runs them, against the
// engine's own text dump of the same file (sqlite3 .dump) and the reading of that dump into
// a new file. Also: while a restore runs, another workstation keeps saving bookings; none
// of its saves may fail. Every restore is checked against the rows it was made from: one
// that gives back other rows fails its benchmark and the program, instead of being fast.
#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <utility>
#include <vector>

#include "AppInfo.h"
#include "BenchSupport.h"
#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "DlgRestore.h"
#include "MsgBox.h"
#include "RawEngine.h"
#include "SharedObjects.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kGroups = 10, kResources = 30, kTasks = 8, kBookings = 100000;
constexpr int kDay = 46000;

// Runs each statement with the values bound in order (ints and texts).
class Inserter {
public:
    Inserter(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_st, nullptr); }
    ~Inserter() { sqlite3_finalize(m_st); }
    void run(std::initializer_list<QVariant> values) {
        int i = 1;
        for (const QVariant& v : values) {
            if (v.typeId() == QMetaType::QString) {
                const QByteArray t = v.toString().toUtf8();
                sqlite3_bind_text(m_st, i++, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(m_st, i++, v.toLongLong());
            }
        }
        sqlite3_step(m_st);
        sqlite3_reset(m_st);
    }

private:
    sqlite3_stmt* m_st = nullptr;
};

// The program folder with its database of 100,000 bookings, `customers` customers a group.
struct World {
    QTemporaryDir dir;
    QString db, dump, backupName = "1.txt";
    explicit World(int customers) {
        plat::SetAppPathForTest(dir.path());
        QDir().mkpath(ClsDAO::BackupFolder());
        db = dir.path() + "/Rostima.mdb";
        dump = dir.path() + "/dump.sql";
        ClsDAO::CreateDatabase(db);
        sqlite3* raw = bench::openRaw(db);
        sqlite3_exec(raw, "begin", nullptr, nullptr, nullptr);
        Inserter group(raw,
                       "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
                       "values (?, 480, 1080, 15)");
        Inserter resource(raw,
                          "insert into tblResources (GroupId, ResourceName, MinTime, "
                          "MaxTime, InitTime) values (?, ?, 15, 600, 30)");
        Inserter task(raw,
                      "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, "
                      "InitTime) values (?, ?, ?, 15, 120, 30)");
        Inserter customer(raw,
                          "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
                          "values (?, ?, '', ?)");
        Inserter link(raw, "insert into tblCustomerGroups (CustomerId, GroupId) values (?, ?)");
        Inserter booking(raw,
                         "insert into tblBookings (TaskId, BookingDate, BookingStart, "
                         "BookingEnd, CustomerId, ResourceId, RepeatId, Ref01, Ref02, "
                         "Ref03, Comments) values (?, ?, ?, ?, ?, ?, 0, ?, '', '', ?)");
        const int perGroup = kBookings / kGroups;
        for (int g = 1; g <= kGroups; ++g) {
            group.run({QString("Group %1").arg(g, 2, 10, QChar('0'))});
            for (int r = 1; r <= kResources; ++r)
                resource.run({g, QString("Dr O'Resource %1").arg(r)});
            for (int t = 1; t <= kTasks; ++t)
                task.run({g, QString("Task %1").arg(t), t * 0x203040});
            for (int c = 1; c <= customers; ++c) {
                customer.run({QString("Customer %1-%2").arg(g).arg(c), QString("ref %1").arg(c),
                              "call first"});
                link.run({(g - 1) * customers + c, g});
            }
            // 18 half-hour slots a day from 08:00, one resource after the other.
            for (int n = 0; n < perGroup; ++n) {
                const int r = n % kResources, slot = (n / kResources) % 18;
                const int day = kDay + n / (kResources * 18);
                const int c = n % 10 == 0 ? 0 : (g - 1) * customers + n % customers + 1;
                booking.run({(g - 1) * kTasks + n % kTasks + 1, day, 480 + slot * 30,
                             510 + slot * 30, c, (g - 1) * kResources + r + 1,
                             QString("R%1").arg(n), QString("booking %1, it's fine").arg(n)});
            }
        }
        sqlite3_exec(raw, "commit", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
    }
};

// The engine's own program, given a database and its input and output files.
bool sqliteShell(const QStringList& args, const QString& in, const QString& out) {
    QProcess p;
    if (!in.isEmpty()) p.setStandardInputFile(in);
    if (!out.isEmpty()) p.setStandardOutputFile(out);
    p.start("sqlite3", args);
    return p.waitForFinished(600000) && p.exitCode() == 0;
}

// The main window as the backup's and restore's host: its status bar shows the progress.
struct Host {
    DlgMain window;
    Host(const QString& db) {
        SharedObjects::SetHost(&window);
        window.FirstActivated = true;  // shown for its status bar, not started
        window.show();
        SharedObjects::DAO().DbOpen(db);
    }
    ~Host() {
        SharedObjects::DAO().DbClose();
        SharedObjects::SetHost(nullptr);
    }
};

int64_t count(const QString& table) {
    auto rs = SharedObjects::DAO().SqlQuery("select count(*) from " + table);
    return rs ? rs->Field(0).toLong() : -1;
}

// Each table's rows by their names rather than their numbers (a restore numbers them
// afresh), as the backup holds them, sorted. Bookings of a resource not in the tables
// (the other workstation's) are left out.
using Contents = std::vector<std::pair<QString, QStringList>>;

Contents contentsOf(const QString& db) {
    static const char* const kTables[][2] = {
        {"groups", "select GroupName, DayStart, DayEnd, Interval from tblGroups"},
        {"resources",
         "select g.GroupName, r.ResourceName, r.MinTime, r.MaxTime, r.InitTime from "
         "tblResources r join tblGroups g on g.GroupId = r.GroupId"},
        {"appointment types",
         "select g.GroupName, t.TaskName, t.Colour, t.MinTime, t.MaxTime, t.InitTime from "
         "tblTasks t join tblGroups g on g.GroupId = t.GroupId"},
        {"customers",
         "select g.GroupName, c.CustomerName, c.Ref01, c.Ref02, c.Ref03 from tblCustomers c "
         "join tblCustomerGroups cg on cg.CustomerId = c.CustomerId join tblGroups g on "
         "g.GroupId = cg.GroupId"},
        {"bookings",
         "select g.GroupName, r.ResourceName, t.TaskName, c.CustomerName, b.BookingDate, "
         "b.BookingStart, b.BookingEnd, b.Ref01, b.Ref02, b.Ref03, b.Comments from "
         "tblBookings b join tblResources r on r.ResourceId = b.ResourceId join tblGroups g "
         "on g.GroupId = r.GroupId left join tblTasks t on t.TaskId = b.TaskId left join "
         "tblCustomers c on c.CustomerId = b.CustomerId"}};
    Contents contents;
    sqlite3* raw = bench::openRaw(db);
    for (const auto& table : kTables) {
        QStringList rows;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, table[1], -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList values;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* text = sqlite3_column_text(st, c);
                values << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text))
                                : QStringLiteral("<null>"));
            }
            rows << values.join(QChar('~'));
        }
        sqlite3_finalize(st);
        rows.sort();
        contents.emplace_back(table[0], rows);
    }
    sqlite3_close(raw);
    return contents;
}

bool failed = false;  // a restore gave back other rows: the program ends with 1

// Fails the benchmark when `restored` does not hold the source's rows; names the first
// table that differs.
void check(benchmark::State& state, const Contents& source, const Contents& restored,
           const QString& who) {
    for (size_t i = 0; i < source.size() && !state.error_occurred(); ++i) {
        const QStringList& want = source[i].second;
        const QStringList& got = restored[i].second;
        if (want == got) continue;
        failed = true;
        const QString why = QString("%1 gave back other %2: %3 rows, the source has %4")
                                .arg(who, source[i].first)
                                .arg(got.size())
                                .arg(want.size());
        state.SkipWithError(why.toUtf8().constData());
    }
}

void BM_Backup(benchmark::State& state) {
    World w(static_cast<int>(state.range(0)));
    Host host(w.db);
    const QString file = ClsDAO::BackupFolder() + "/" + w.backupName;
    bool ok = true;
    for (auto _ : state)
        bench::compare(
            state,
            [&] {
                return bench::msOf(
                    [&] { ok = SharedObjects::DAO().Backup(file) == Saved::Done && ok; });
            },
            [&] { return bench::msOf([&] {
                      sqliteShell({w.db, ".dump"}, "", w.dump);
                  }); });
    state.counters["written"] = ok;
    state.counters["lines"] = QString::fromUtf8([&] {
                                  QFile f(file);
                                  f.open(QIODevice::ReadOnly);
                                  return f.readAll();
                              }())
                                  .count('\n');
}

void chooseWithBookings(const QString& name) {
    DlgRestore dlg;
    dlg.CbFile->SetListIndex(dlg.CbFile->findText(name));
    dlg.Check1->setChecked(true);
    dlg.BtnRestore_Click(0);
}

void BM_Restore(benchmark::State& state) {
    World w(static_cast<int>(state.range(0)));
    Host host(w.db);
    const QString file = ClsDAO::BackupFolder() + "/" + w.backupName;
    static_cast<void>(SharedObjects::DAO().Backup(file));
    sqliteShell({w.db, ".dump"}, "", w.dump);
    chooseWithBookings(w.backupName);
    const QString fresh = w.dir.path() + "/fresh.mdb";
    const Contents source = contentsOf(w.db);
    bool ok = true, plainOk = true;
    for (auto _ : state) {
        bench::compare(
            state,
            [&] { return bench::msOf([&] { ok = SharedObjects::DAO().Restore(file) && ok; }); },
            [&] {
                QFile::remove(fresh);
                return bench::msOf(
                    [&] { plainOk = sqliteShell({fresh}, w.dump, "") && plainOk; });
            });
        if (!ok || !plainOk) {
            failed = true;
            state.SkipWithError(ok ? "the sqlite3 shell failed" : "the restore said it failed");
        }
        check(state, source, contentsOf(w.db), "the restore");
        check(state, source, contentsOf(fresh), "the sqlite3 shell");
    }
    const int64_t bookings = count("tblBookings");
    state.counters["bookings"] = double(bookings);
    state.counters["us_per_booking"] =
        bookings > 0 ? state.counters["ours_ms"] * 1000 / double(bookings) : 0;
}

// Another workstation: saves a booking of its own after the other, none over another,
// until the file `stop` appears; then says how many failed and the longest one took.
int peer(const QString& db, const QString& stop) {
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(db) != 0) return 1;
    QTextStream out(stdout);
    out << "ready" << Qt::endl;
    int failed = 0, saves = 0;
    double longest = 0;
    for (int i = 0; !QFile::exists(stop); ++i) {
        ClsBooking b;
        b.setResourceId(1000000);  // a resource of nobody's: never a clash
        b.setBookingDate(kDay + 1000 + i / 48);
        b.setBookingStart(static_cast<int16_t>(i % 48 * 30));
        b.setBookingEnd(static_cast<int16_t>(i % 48 * 30 + 30));
        b.setTaskId(1);
        int32_t id = 0;
        longest = std::max(longest, bench::msOf([&] { id = b.Save(); }));
        failed += id == 0;
        ++saves;
        usleep(20000);
    }
    out << saves << " " << failed << " " << longest << Qt::endl;
    dao.DbClose();
    return 0;
}

void BM_RestoreWhileAnotherSaves(benchmark::State& state) {
    World w(200);
    Host host(w.db);
    const QString file = ClsDAO::BackupFolder() + "/" + w.backupName;
    static_cast<void>(SharedObjects::DAO().Backup(file));
    chooseWithBookings(w.backupName);
    const QString stop = w.dir.path() + "/stop";
    const Contents source = contentsOf(w.db);
    for (auto _ : state) {
        QFile::remove(stop);
        QProcess other;
        other.start(QCoreApplication::applicationFilePath(), {"--peer", w.db, stop});
        other.waitForReadyRead(30000);
        other.readLine();
        usleep(200000);
        bool ok = false;
        const double ms = bench::msOf([&] { ok = SharedObjects::DAO().Restore(file); });
        usleep(200000);
        QFile(stop).open(QIODevice::WriteOnly);
        other.waitForFinished(30000);
        const QStringList figures = QString(other.readAll()).split(' ');
        state.SetIterationTime(ms / 1000);
        state.counters["restore_ms"] = ms;
        state.counters["other_saves"] = figures.value(0).toDouble();
        state.counters["other_failed"] = figures.value(1).toDouble();
        state.counters["other_longest_ms"] = figures.value(2).toDouble();
        if (!ok) {
            failed = true;
            state.SkipWithError("the restore said it failed");
        }
        check(state, source, contentsOf(w.db), "the restore");
    }
}

}  // namespace

BENCHMARK(BM_Backup)->Arg(200)->Apply([](auto* b) { bench::spread(b); });
BENCHMARK(BM_Restore)->Arg(200)->Arg(2000)->Apply([](auto* b) { bench::spread(b); });
BENCHMARK(BM_RestoreWhileAnotherSaves)->Apply([](auto* b) { bench::spread(b, 3); });

// As the other benchmarks' main(), and, given "--peer <database> <stop file>", the other
// workstation of BM_RestoreWhileAnotherSaves.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && QByteArray(argv[1]) == "--peer") {
        QCoreApplication app(argc, argv);
        plat::SetAppExeNameForTest(plat::AppExeName() + "_peer");  // locks of its own
        const int rc = peer(argv[2], argv[3]);
        SharedObjects::Release();
        return rc;
    }
    QApplication app(argc, argv);
    plat::SetMsgBoxHook([](const QString&, int, const QString&) { return plat::vbOK; });
    if (QStandardPaths::findExecutable("sqlite3").isEmpty()) {
        fprintf(stderr, "bench_backup needs the sqlite3 shell for its plain figures\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SharedObjects::Release();
    return failed ? 1 : 0;
}
