// ClsDAO: database properties, the user count and compaction.
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "AppInfo.h"
#include "ClsDAO.h"
#include "ClsLogging.h"
#include "DaoInternals.h"
#include "ErrorText.h"
#include "IHostWindow.h"
#include "SharedObjects.h"

namespace {
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }
}  // namespace

QString ClsDAO::PropertyGet(const QString& Name, const QString& Default) {
    dao::Guard guard;
    if (!guard.Lock("_Property")) return QString();
    dao::Failure f;
    sqlite3_stmt* st = dao::PrepareBound(m_db, "select Value from tblProperties where Name = ?",
                                         {Name}, dao::Kind::Read, f, 3);
    std::unique_ptr<ClsRecordset> rs = st ? dao::Snapshot(m_db, st, f, 3) : nullptr;
    if (!rs) {
        logFailure("PropertyGet", f);
        return QString();
    }
    return rs->Eof() ? Default : rs->Field(0).toString();
}

void ClsDAO::PropertySet(const QString& Name, const QString& Value) {
    dao::Guard guard;
    if (!guard.Lock("_Property")) return;
    dao::Failure f;
    sqlite3_stmt* st = dao::PrepareBound(m_db,
                                         "insert into tblProperties (Name, Value) values (?, ?) "
                                         "on conflict (Name) do update set Value = excluded.Value",
                                         {Name, Value}, dao::Kind::Write, f, 3);
    if (!st || !dao::Run(m_db, st, f, 3)) {
        logFailure("PropertySet", f);
        log("ClsDAO.PropertySet(" + Name + ", " + Value + ")");
    }
}

void ClsDAO::PropertyDelete(const QString& Name) {
    dao::Guard guard;
    if (!guard.Lock("_Property")) return;
    dao::Failure ignored;  // a missing property is no error to anyone
    if (sqlite3_stmt* st = dao::PrepareBound(m_db, "delete from tblProperties where Name = ?",
                                             {Name}, dao::Kind::Write, ignored, 2))
        dao::Run(m_db, st, ignored, 2);
}

int32_t ClsDAO::GetUserCount() {
    dao::Guard guard;
    if (!guard.Lock("_GetUserCount")) return -1;
    QString why;
    const int count = m_path.isEmpty() ? -1 : plat::UserSlots::Count(m_path, &why);
    if (count < 0) {
        log(err::AtLine("ClsDAO.GetUserCount", err::PathFileAccess, 2,
                        why.isEmpty() ? "No database named" : why));
        return 0;
    }
    return count;
}

void ClsDAO::CompactDb() {
    dao::Guard guard;
    if (!guard.Lock("")) return;
    // Only the file this program has open is ours to replace: after a refused open the
    // file at the path was never used, and no slot file may be made beside it.
    if (!m_db) {
        logFailure("CompactDb", {err::DbNotOpen, 2, "The database is not open"});
        return;
    }
    if (IHostWindow* host = SharedObjects::Host()) host->SetTimerEnabled(false);
    log("Compacting database");
    DbClose();
    if (m_openCount != 0) {  // still held by an outer caller of this program: leave it
        DbOpen(m_path);
        return;
    }
    const QString temp = plat::AppPath() + "/TempDb.mdb";
    const QString old = plat::AppPath() + "/OldDb.mdb";
    dao::Failure f;
    plat::UserSlots gate;
    QString why;
    // Nobody may have the file open while it is replaced (their later writes would land
    // in the old file), and nobody may open it until the new one stands in its place.
    if (!gate.CloseGate(m_path, &why)) {
        f = {err::PermissionDenied, 3, why};
    } else if (const int users = plat::UserSlots::Count(m_path, &why); users != 0) {
        f = {err::PermissionDenied, 3,
             users < 0 ? why : QString("The database is open in %1 other program(s)").arg(users)};
    } else {
        QFile::remove(temp);
        sqlite3* db = nullptr;
        const QByteArray path = m_path.toUtf8();
        int rc = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_busy_timeout(db, dao::kBusyTimeoutMs);
            dao::Exec(db, ("VACUUM INTO " + Quoted(temp)).toUtf8().constData(), f, 3);
        } else {
            f = dao::EngineFailure(db, rc, 3);
        }
        sqlite3_close(db);
    }
    if (f.number == 0) {
        // The database never leaves its path: the old file is kept under its second name
        // first (a second link to it, or a copy on another file system), then the copy
        // replaces it in one rename. A program killed at any point leaves a database there.
        QFile::remove(old);
        const QByteArray from = QFile::encodeName(temp), to = QFile::encodeName(m_path);
        if (link(to.constData(), QFile::encodeName(old).constData()) != 0 &&
            !QFile::copy(m_path, old)) {
            f = {err::PathFileAccess, 4, "Cannot keep the database as " + old};
        } else if (rename(from.constData(), to.constData()) != 0) {
            f = {err::PathFileAccess, 4,
                 "Cannot move the compacted copy to " + m_path + ": " + strerror(errno)};
        }
    }
    if (f.number != 0) {
        logFailure("CompactDb", f);
        QFile::remove(temp);
    }
    gate.OpenGate();
    DbOpen(m_path);
}
