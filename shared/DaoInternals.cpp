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
    m_lockName = plat::AppExeName() + suffix;
    return m_lock.GetMutex(m_lockName, true, kLockWaitMs);
}

dao::Failure Guard::LockTimeout(int line) const {
    return {err::DbLocked, line,
            QString("The lock %1 was not had within %2 ms")
                .arg(m_lockName, QString::number(kLockWaitMs))};
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

bool Bind(sqlite3* db, sqlite3_stmt* st, const SqlValues& values, dao::Failure& f, int line) {
    const int wanted = sqlite3_bind_parameter_count(st);
    if (wanted != static_cast<int>(values.size())) {
        sqlite3_finalize(st);
        f = {err::DbSyntax, line,
             QString("The statement has %1 placeholder(s) but %2 value(s) were given")
                 .arg(wanted)
                 .arg(values.size())};
        return false;
    }
    for (int i = 1; i <= wanted; ++i) {
        const SqlValue& v = values[static_cast<size_t>(i - 1)];
        int rc;
        if (const int64_t* n = v.integer()) {
            rc = sqlite3_bind_int64(st, i, *n);
        } else if (const double* d = v.real()) {
            rc = sqlite3_bind_double(st, i, *d);
        } else if (const QString* t = v.text()) {
            // A text is never Null: an empty one binds a zero-length text.
            const QByteArray utf8 = t->toUtf8();
            rc = sqlite3_bind_text64(st, i, utf8.isNull() ? "" : utf8.constData(),
                                     static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
        } else {
            rc = sqlite3_bind_null(st, i);
        }
        if (rc != SQLITE_OK) {
            f = EngineFailure(db, rc, line);
            sqlite3_finalize(st);
            return false;
        }
    }
    return true;
}

sqlite3_stmt* PrepareBound(sqlite3* db, const QString& sql, const SqlValues& values, Kind kind,
                           dao::Failure& f, int line) {
    sqlite3_stmt* st = Prepare(db, sql, kind, f, line);
    return st && Bind(db, st, values, f, line) ? st : nullptr;
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
    for (int c = 0; c < columns; ++c) names << QString::fromUtf8(sqlite3_column_name(st, c));
    std::vector<std::vector<DbValue>> rows;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::vector<DbValue> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER:
                    row.emplace_back(static_cast<int64_t>(sqlite3_column_int64(st, c)));
                    break;
                case SQLITE_FLOAT:
                    row.emplace_back(sqlite3_column_double(st, c));
                    break;
                case SQLITE_NULL:
                    row.emplace_back();
                    break;
                default:
                    row.emplace_back(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                        sqlite3_column_bytes(st, c)));
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        f = EngineFailure(db, rc, line);
        return nullptr;
    }
    return std::make_unique<ClsRecordset>(names, std::move(rows));
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
