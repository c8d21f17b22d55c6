#include "DaoInternals.h"

#include <QRegularExpression>
#include <vector>

#include "AppInfo.h"
#include "ErrorText.h"
#include "IHostWindow.h"
#include "SharedObjects.h"

namespace dao {

Guard::Guard() {
    if (IHostWindow* host = SharedObjects::Host()) {
        m_timerWas = host->TimerEnabled();
        host->SetTimerEnabled(false);
    }
}

Guard::~Guard() {
    m_lock.DeleteMutex();
    if (IHostWindow* host = SharedObjects::Host()) host->SetTimerEnabled(m_timerWas);
}

bool Guard::Lock(const QString& suffix) {
    return m_lock.GetMutex(plat::AppExeName() + suffix, true, kLockWaitMs);
}

QString Translate(const QString& sql) {
    // Jet accepts "delete * from"; SQLite wants "delete from".
    static const QRegularExpression deleteStar("^(\\s*delete)\\s+\\*\\s+(from\\b)",
                                               QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    out.replace(deleteStar, "\\1 \\2");
    return out;
}

dao::Failure EngineFailure(sqlite3* db, int rc, int line) {
    dao::Failure f;
    f.number = err::DbGeneric + (rc & 0xff);
    f.line = line;
    f.description = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString(sqlite3_errstr(rc));
    return f;
}

namespace {
// True when only blanks, semicolons and comments are left.
bool onlyTrailing(const char* tail) {
    for (const char* p = tail; p && *p;) {
        if (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == ';') {
            ++p;
        } else if (p[0] == '-' && p[1] == '-') {
            while (*p && *p != '\n') ++p;
        } else if (p[0] == '/' && p[1] == '*') {
            const char* end = strstr(p + 2, "*/");
            if (!end) return true;
            p = end + 2;
        } else {
            return false;
        }
    }
    return true;
}
}  // namespace

sqlite3_stmt* Prepare(sqlite3* db, const QString& sql, Kind kind, dao::Failure& f, int line) {
    if (!db) {
        f = {err::DbNotOpen, line, "The database is not open"};
        return nullptr;
    }
    const QByteArray text = Translate(sql).toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()) + 1,
                                      &st, &tail);
    if (rc != SQLITE_OK) {
        f = EngineFailure(db, rc, line);
        return nullptr;
    }
    QString refusal;
    if (!st) {
        refusal = "The statement is empty";
    } else if (!onlyTrailing(tail)) {
        refusal = "Only one statement may be run at a time";
    } else if (kind == Kind::Read &&
               (!sqlite3_stmt_readonly(st) || sqlite3_column_count(st) == 0)) {
        refusal = "A query must only read";
    } else if (kind == Kind::Write && sqlite3_stmt_readonly(st)) {
        refusal = "An action statement must write";
    }
    if (!refusal.isEmpty()) {
        sqlite3_finalize(st);
        f = {err::DbSyntax, line, refusal};
        return nullptr;
    }
    return st;
}

bool Run(sqlite3* db, sqlite3_stmt* st, dao::Failure& f, int line) {
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        f = EngineFailure(db, rc, line);
        return false;
    }
    return true;
}

std::unique_ptr<ClsRecordset> Snapshot(sqlite3* db, sqlite3_stmt* st, dao::Failure& f,
                                       int line) {
    const int columns = sqlite3_column_count(st);
    QStringList names;
    names.reserve(columns);
    for (int c = 0; c < columns; ++c) names << QString::fromUtf8(sqlite3_column_name(st, c));
    auto rs = std::make_unique<ClsRecordset>(std::move(names));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        rs->AddRow();
        for (int c = 0; c < columns; ++c) {
            // One call for the column, then plain reads of its value: the connection is
            // used by this thread only.
            sqlite3_value* v = sqlite3_column_value(st, c);
            switch (sqlite3_value_type(v)) {
                case SQLITE_INTEGER:
                    rs->AddInteger(sqlite3_value_int64(v));
                    break;
                case SQLITE_FLOAT:
                    rs->AddDouble(sqlite3_value_double(v));
                    break;
                case SQLITE_NULL:
                    rs->AddNull();
                    break;
                default: {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
                    rs->AddText(text, sqlite3_value_bytes(v));
                }
            }
        }
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        f = EngineFailure(db, rc, line);
        return nullptr;
    }
    return rs;
}

bool Exec(sqlite3* db, const char* sql, dao::Failure& f, int line) {
    if (!db) {
        f = {err::DbNotOpen, line, "The database is not open"};
        return false;
    }
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        f = EngineFailure(db, rc, line);
        return false;
    }
    return true;
}

}  // namespace dao
