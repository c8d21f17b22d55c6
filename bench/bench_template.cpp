// Loading a group template of 10,000 resources (ClsGroup::LoadTemplate: the section read
// once and checked, then the group and its resources written in one transaction) against
// the same rows inserted with the raw engine in one transaction.
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include "AppInfo.h"
#include "BenchSupport.h"
#include "ClsDAO.h"
#include "ClsGroup.h"
#include "RawEngine.h"
#include "SharedObjects.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kResources = 10000;

QString resourceName(int i) { return QString("Room %1").arg(i); }

// The template file, about 600 KB, as SaveTemplate writes one.
void writeTemplate(const QString& path) {
    QByteArray text = "[Big]\nDayStart=480\nDayEnd=1080\nInterval=15\n";
    for (int i = 1; i <= kResources; ++i) {
        const QByteArray n = QString("%1").arg(i, 3, 10, QChar('0')).toUtf8();
        text += "ResName" + n + "=" + resourceName(i).toUtf8() + "\nResMin" + n + "=15\nResMax" +
                n + "=120\nResInit" + n + "=30\n";
    }
    text += "Resources=" + QByteArray::number(kResources) + "\n";
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text);
}

int64_t resourcesIn(const QString& path) {
    sqlite3* db = bench::openRaw(path);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from tblResources", -1, &st, nullptr);
    sqlite3_step(st);
    const int64_t n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

// A fresh copy of the empty database for each run, so that every load starts alike.
QString freshDatabase(const QTemporaryDir& dir, const QString& empty) {
    const QString path = dir.path() + "/Rostima.mdb";
    QFile::remove(path);
    QFile::copy(empty, path);
    return path;
}

// Ours: the program's load on its own database object. The rows stored in `stored`.
double loadMs(const QTemporaryDir& dir, const QString& empty, int64_t& stored) {
    const QString path = freshDatabase(dir, empty);
    ClsDAO& dao = SharedObjects::DAO();
    dao.DbOpen(path);
    ClsGroup group;
    bool made = false;
    const double ms = bench::msOf(
        [&] { made = group.LoadTemplate("Big").outcome == ClsGroup::TemplateLoad::Made; });
    dao.DbClose();
    stored = made ? resourcesIn(path) : 0;
    return ms;
}

// The plain way: the group and the same resources inserted in one transaction, each
// statement prepared once.
double rawMs(const QTemporaryDir& dir, const QString& empty, int64_t& stored) {
    const QString path = freshDatabase(dir, empty);
    sqlite3* db = bench::openRaw(path);
    const double ms = bench::msOf([&] {
        sqlite3_exec(db,
                     "begin immediate; insert into tblGroups (GroupName, DayStart, DayEnd, "
                     "Interval) values ('Big', 480, 1080, 15); update tblGroups set GroupName "
                     "= 'Big [' || GroupId || ']' where GroupId = last_insert_rowid()",
                     nullptr, nullptr, nullptr);
        const sqlite3_int64 group = sqlite3_last_insert_rowid(db);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
                           "insert into tblResources (GroupId, MinTime, MaxTime, InitTime, "
                           "ResourceName) values (?, 15, 120, 30, ?)",
                           -1, &st, nullptr);
        for (int i = 1; i <= kResources; ++i) {
            const QByteArray name = resourceName(i).toUtf8();
            sqlite3_bind_int64(st, 1, group);
            sqlite3_bind_text(st, 2, name.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    });
    sqlite3_close(db);
    stored = resourcesIn(path);
    return ms;
}

void BM_LoadTemplate(benchmark::State& state) {
    QTemporaryDir dir;
    plat::SetAppPathForTest(dir.path());
    const QString empty = dir.path() + "/empty.mdb";
    ClsDAO::CreateDatabase(empty);
    writeTemplate(ClsGroup::TemplateFile());
    int64_t stored = 0, storedRaw = 0;
    for (auto _ : state)
        bench::compare(
            state, [&] { return loadMs(dir, empty, stored); },
            [&] { return rawMs(dir, empty, storedRaw); });
    state.counters["resources"] = static_cast<double>(stored);
    state.counters["resources_raw"] = static_cast<double>(storedRaw);
}

}  // namespace

BENCHMARK(BM_LoadTemplate)->Apply([](auto* b) { bench::spread(b); });
