#include "DaoInternals.h"

#include <QRegularExpression>
#include <vector>

#include "AppInfo.h"
#include "ErrorText.h"
#include "IHostWindow.h"
#include "RowHash.h"
#include "SharedObjects.h"

namespace dao {

Guard::Guard() {
    if (IHostWindow* host = SharedObjects::Host()) {
        m_timerWas = host->TimerEnabled();
        host->SetTimerEnabled(false);
    }
}

namespace {
bool waitShown = false;  // the host shows the wait now
}  // namespace

void ShowWait() {
    if (waitShown) return;
    IHostWindow* host = SharedObjects::Host();
    if (!host) return;
    waitShown = true;
    host->ShowWaiting(true);
}

void EndWait() {
    if (!waitShown) return;
    waitShown = false;
    if (IHostWindow* host = SharedObjects::Host()) host->ShowWaiting(false);
}

Guard::~Guard() {
    EndWait();
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

namespace {
// The end of the quoted part that begins at i ('text', "name" or [name]), or the text's
// end when it is not closed. Doubled quotes stand for one inside the quotes.
qsizetype quotedEnd(const QString& sql, qsizetype i) {
    const QChar close = sql[i] == '[' ? QChar(']') : sql[i];
    for (qsizetype j = i + 1; j < sql.size(); ++j) {
        if (sql[j] != close) continue;
        if (close != ']' && j + 1 < sql.size() && sql[j + 1] == close) {
            ++j;
            continue;
        }
        return j + 1;
    }
    return sql.size();
}

// Jet joins texts with "+"; SQLite adds them as numbers (a name + '' gives 0). A "+" with
// a text literal on either side is Jet's join, which "||" is in SQLite (a Null operand
// gives Null in both). Other "+" signs add numbers and stay; quoted text is never read.
QString joinTexts(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 8);
    bool afterText = false;  // the last thing outside blanks was a text literal
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == '\'' || c == '"' || c == '[') {
            const qsizetype end = quotedEnd(sql, i);
            out += QStringView(sql).mid(i, end - i);
            afterText = c == '\'';
            i = end;
        } else if (c.isSpace()) {
            out += c;
            ++i;
        } else if (c == '+') {
            qsizetype next = i + 1;
            while (next < sql.size() && sql[next].isSpace()) ++next;
            const bool beforeText = next < sql.size() && sql[next] == '\'';
            out += afterText || beforeText ? QStringLiteral("||") : QStringLiteral("+");
            afterText = false;
            ++i;
        } else {
            out += c;
            afterText = false;
            ++i;
        }
    }
    return out;
}
}  // namespace

QString Translate(const QString& sql) {
    // Jet accepts "delete * from"; SQLite wants "delete from".
    static const QRegularExpression deleteStar("^(\\s*delete)\\s+\\*\\s+(from\\b)",
                                               QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    out.replace(deleteStar, "\\1 \\2");
    if (out.contains('+')) out = joinTexts(out);
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
    const int rc =
        sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()) + 1, &st, &tail);
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
    if (BindKept(db, st, values, f, line)) return true;
    sqlite3_finalize(st);
    return false;
}

bool BindKept(sqlite3* db, sqlite3_stmt* st, const SqlValues& values, dao::Failure& f, int line) {
    const int wanted = sqlite3_bind_parameter_count(st);
    if (wanted != static_cast<int>(values.size())) {
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
    const bool ok = RunKept(db, st, f, line);
    sqlite3_finalize(st);
    return ok;
}

bool RunKept(sqlite3* db, sqlite3_stmt* st, dao::Failure& f, int line) {
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) f = EngineFailure(db, rc, line);  // before the reset clears it
    sqlite3_reset(st);
    return rc == SQLITE_DONE;
}

std::unique_ptr<ClsRecordset> Snapshot(sqlite3* db, sqlite3_stmt* st, dao::Failure& f, int line) {
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

namespace {
// A value as a number, the way a query reader's DbValue::toLong() reads it, so that the
// hash taken in the engine equals the one a reader takes over the same rows.
int64_t asNumber(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return sqlite3_value_int64(v);
        case SQLITE_FLOAT:
            return DbValue(sqlite3_value_double(v)).toLong();
        case SQLITE_NULL:
            return 0;
        default:
            return DbValue(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                             sqlite3_value_bytes(v)))
                .toLong();
    }
}

struct RowHashState {
    bool started;  // the engine hands out zeroed memory
    RowHash hash;
};

void rowHashStep(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    constexpr int kMaxValues = 32;
    if (argc > kMaxValues) {
        sqlite3_result_error(ctx, "RowHash takes at most 32 values", -1);
        return;
    }
    auto* state = static_cast<RowHashState*>(sqlite3_aggregate_context(ctx, sizeof(RowHashState)));
    if (!state) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (!state->started) {
        new (&state->hash) RowHash;
        state->started = true;
    }
    int64_t values[kMaxValues];
    for (int i = 0; i < argc; ++i) values[i] = asNumber(argv[i]);
    state->hash.Add(values, argc);
}

void rowHashFinal(sqlite3_context* ctx) {
    auto* state = static_cast<RowHashState*>(sqlite3_aggregate_context(ctx, 0));
    sqlite3_result_int(ctx, state && state->started ? state->hash.Value() : RowHash().Value());
}
}  // namespace

bool AddFunctions(sqlite3* db) {
    return sqlite3_create_function_v2(db, "RowHash", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                      nullptr, nullptr, rowHashStep, rowHashFinal,
                                      nullptr) == SQLITE_OK;
}

}  // namespace dao
