#include "ClsDAO.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <iterator>

#include "ClsLogging.h"
#include "DaoInternals.h"
#include "ErrorText.h"
#include "IHostWindow.h"
#include "SchemaSql.h"
#include "SharedObjects.h"

namespace {
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }

// True when the file begins as every SQLite database does; read before anything else
// touches it, so no slot file is made beside a file that is not a database.
bool looksLikeDatabase(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
}

// Whether the file holds the tables every program relies on: SQLITE_OK when it does,
// SQLITE_NOTFOUND when it does not, or the engine's code (busy, locked, damaged).
int checkSchema(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    const char* sql =
        "select count(*) from sqlite_master where type = 'table' and name in "
        "('tblBookings', 'tblChangeStamp')";
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(st);
        rc = rc == SQLITE_ROW ? (sqlite3_column_int(st, 0) == 2 ? SQLITE_OK : SQLITE_NOTFOUND)
                              : sqlite3_errcode(db);
    }
    sqlite3_finalize(st);
    return rc;
}

// The schema's change-stamp triggers ("CREATE TRIGGER IF NOT EXISTS ..."), by name.
QList<std::pair<QString, QString>> schemaTriggers() {
    static const QRegularExpression name(R"(^CREATE TRIGGER IF NOT EXISTS (\w+))");
    QList<std::pair<QString, QString>> triggers;
    QString statement;
    for (const QString& line : QString::fromUtf8(kRostimaSchemaSql).split('\n')) {
        if (statement.isEmpty() && line.trimmed().startsWith("--")) continue;
        statement += line + '\n';
        if (!sqlite3_complete(statement.toUtf8().constData())) continue;
        const auto m = name.match(statement.trimmed());
        if (m.hasMatch()) triggers.append({m.captured(1), statement.trimmed()});
        statement.clear();
    }
    return triggers;
}

// A file made before a trigger of the schema existed gets it now, so that it too tells
// other workstations about every change. Only a file that lacks one is written to; one
// that cannot take it (held busy, a table missing) still opens, and says why in the log.
void addMissingTriggers(sqlite3* db) {
    QSet<QString> present;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "select name from sqlite_master where type = 'trigger'", -1, &st,
                           nullptr) != SQLITE_OK)
        return;
    while (sqlite3_step(st) == SQLITE_ROW)
        present.insert(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))).toLower());
    sqlite3_finalize(st);
    QString missing;
    for (const auto& [trigger, sql] : schemaTriggers())
        if (!present.contains(trigger.toLower())) missing += sql + '\n';
    if (missing.isEmpty()) return;
    dao::Failure f;
    const QByteArray sql = ("BEGIN IMMEDIATE;\n" + missing + "COMMIT;").toUtf8();
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        log(err::InProc("ClsDAO.DbOpen", sqlite3_errcode(db), 5,
                        "Change triggers not added: " + QString::fromUtf8(msg ? msg : "")));
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_free(msg);
}
}  // namespace

ClsDAO::~ClsDAO() {
    while (m_openCount > 0) DbClose();
}

void ClsDAO::logFailure(const char* proc, const dao::Failure& f, const QString& sql,
                        const SqlValues& values) {
    log(err::InProc(QString("ClsDAO.") + proc, f.number, f.line, f.description));
    if (!sql.isNull()) log("SqlStr = " + sql);
    if (!values.empty()) log("SqlValues = " + Literals(values));
}

int16_t ClsDAO::DbOpen(const QString& Path) {
    dao::Guard guard;
    ++m_openCount;
    m_path = Path;
    if (m_openCount == 1) {
        const dao::Failure f = openFile(Path);
        m_openFailed = f.number != 0;
        m_openFailure = f.description;
        if (m_openFailed) {
            logFailure("DbOpen", f);
            return 2;
        }
        // Primes the kept stamp. Unread, it stays empty and the first tick reports a change,
        // which only makes the window read what it shows again.
        static_cast<void>(DbUpdated());
        log("GetUserCount() = " + QString::number(GetUserCount()));
    }
    log(QString("Open database [%1]   %2").arg(m_openCount).arg(Path));
    return 0;
}

dao::Failure ClsDAO::openFile(const QString& Path) {
    // Open only an existing file that holds our tables: never create one by accident (an
    // empty path would give a temporary database).
    if (Path.isEmpty()) return {err::FileNotFound, 4, "No database file named"};
    const QFileInfo file(Path);
    if (file.isDir()) return {err::PathFileAccess, 4, "A folder, not a database file: " + Path};
    if (!file.isFile()) return {err::FileNotFound, 4, "No database file " + Path};
    if (!looksLikeDatabase(Path)) return {err::DbCorrupt, 4, "Not a Rostima database: " + Path};
    // The user slot comes first: it waits while a compaction replaces the file, and once
    // held it keeps any compaction off, so the file opened below is the one that stays.
    QString why;
    if (!m_slots.Join(Path, &why))
        return {err::PathFileAccess, 4, "Cannot take a user slot for " + Path + ": " + why};
    dao::Failure f;
    const QByteArray path = Path.toUtf8();
    int rc = sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_handler(m_db, &ClsDAO::busyWait, this);
        setWaitLimit(m_busyWaitMs);
        rc = checkSchema(m_db);
        if (rc == SQLITE_NOTFOUND)
            f = {err::DbCorrupt, 4, "Not a Rostima database: " + Path};
        else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            f = {err::DbLocked, 4,
                 "The database is busy: another program holds it locked: " + Path};
        else if (rc != SQLITE_OK)
            f = dao::EngineFailure(m_db, rc, 4);
        else if (sqlite3_db_readonly(m_db, "main") == 1)
            f = {err::PermissionDenied, 4, "The database file is read-only: " + Path};
        else if (!dao::AddFunctions(m_db))
            f = dao::EngineFailure(m_db, sqlite3_errcode(m_db), 4);
        else
            addMissingTriggers(m_db);
    } else {
        f = dao::EngineFailure(m_db, rc, 4);
    }
    if (f.number != 0) {
        if (m_db) sqlite3_close(m_db);
        m_db = nullptr;
        m_slots.Withdraw();
    }
    return f;
}

bool ClsDAO::noteOutcome(bool ok) {
    // Inside a transaction only its commit tells whether the database takes our work.
    if (ok == !m_failing || (ok && m_inTransaction)) return ok;
    m_failing = !ok;
    if (!ok) m_told = false;
    setWaitLimit(ok ? m_busyWaitMs : 0);
    return ok;
}

void ClsDAO::WaitAgain() { noteOutcome(true); }

void ClsDAO::setBusyWaitMs(int ms) {
    m_busyWaitMs = ms;
    if (!m_failing) setWaitLimit(ms);
}

void ClsDAO::setWaitLimit(int ms) { m_waitLimitMs = ms; }

namespace {
std::function<void()>& waitStep() {
    static std::function<void()> step;
    return step;
}
}  // namespace

void ClsDAO::setWaitStepForTest(std::function<void()> step) { waitStep() = std::move(step); }

int ClsDAO::busyWait(void* self, int count) {
    auto& dao = *static_cast<ClsDAO*>(self);
    if (count == 0) dao.m_waitSince.start();
    const qint64 left = dao.m_waitLimitMs - dao.m_waitSince.elapsed();
    if (left <= 0) return 0;  // given up: the statement fails as busy
    // Shown once per operation; the operation's end (dao::Guard) ends it.
    if (count == 0) dao::ShowWait();
    if (waitStep()) waitStep()();
    // Short steps first: most locks are let go within a few milliseconds.
    static constexpr int kStepsMs[] = {1, 2, 5, 10, 15, 20, 25};
    const int step =
        kStepsMs[std::min<size_t>(static_cast<size_t>(count), std::size(kStepsMs) - 1)];
    sqlite3_sleep(static_cast<int>(std::min<qint64>(step, left)));
    return 1;
}

void ClsDAO::DbClose() {
    dao::Guard guard;
    --m_openCount;
    if (m_openCount == 0) {
        if (!m_db) {
            // Nothing to close. The close that balances a failed open writes nothing: the
            // open's line has said what went wrong.
            if (!m_openFailed)
                logFailure("DbClose", {err::DbNotOpen, 3, "The database is not open"});
            m_openFailed = false;
            return;
        }
        dropKept();
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_slots.Leave();
    }
    if (m_openCount < 0) m_openCount = 0;
    log(QString("Database close [%1]").arg(m_openCount));
}

QString ClsDAO::Quoted(const QString& Text) {
    QString t = Text;
    return "'" + t.replace("'", "''") + "'";
}

QString ClsDAO::NameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    return key;
}

QString ClsDAO::Literals(const SqlValues& Values) {
    QStringList out;
    for (const SqlValue& v : Values) {
        if (const int64_t* n = v.integer())
            out << QString::number(*n);
        else if (const double* d = v.real())
            out << QString::number(*d, 'g', 17);
        else if (const QString* t = v.text())
            out << Quoted(*t);
        else
            out << "Null";
    }
    return out.join(", ");
}

std::unique_ptr<ClsRecordset> ClsDAO::SqlQuery(const QString& Sql) { return SqlQuery(Sql, {}); }

std::unique_ptr<ClsRecordset> ClsDAO::SqlQuery(const QString& Sql, const SqlValues& Values) {
    dao::Guard guard;
    if (!guard.Lock("_SQL")) {
        noteOutcome(false);
        logFailure("SqlQuery", guard.LockTimeout(1), Sql, Values);
        return nullptr;
    }
    dao::Failure f;
    std::unique_ptr<ClsRecordset> rs;
    if (sqlite3_stmt* st = dao::PrepareBound(m_db, Sql, Values, dao::Kind::Read, f, 2))
        rs = dao::Snapshot(m_db, st, f, 2);
    if (!noteOutcome(rs != nullptr)) logFailure("SqlQuery", f, Sql, Values);
    return rs;
}

bool ClsDAO::SqlAction(const QString& Sql) { return runActions({{Sql, {}}}, "SqlAction"); }

bool ClsDAO::SqlAction(const QString& Sql, const SqlValues& Values) {
    if (m_inTransaction && !Values.empty()) return runKept(Sql, Values);
    return runActions({{Sql, Values}}, "SqlAction");
}

bool ClsDAO::SqlActions(const QStringList& statements) {
    std::vector<Statement> list;
    for (const QString& sql : statements) list.push_back({sql, {}});
    return runActions(list, "SqlActions");
}

bool ClsDAO::runActions(const std::vector<Statement>& statements, const char* proc) {
    return noteOutcome(runStatements(statements, proc));
}

bool ClsDAO::runStatements(const std::vector<Statement>& statements, const char* proc) {
    dao::Guard guard;
    QStringList texts;
    for (const Statement& s : statements) texts << s.sql;
    if (!guard.Lock("_SQL")) {
        logFailure(proc, guard.LockTimeout(1), texts.join("\n"),
                   statements.size() == 1 ? statements[0].values : SqlValues{});
        return false;
    }
    if (IHostWindow* host = SharedObjects::Host()) host->SetTimerEnabled(false);
    for (const Statement& s : statements)
        if (m_aggressiveDebug && s.sql.startsWith("delete")) log(s.sql);

    // One immediate transaction: the statements and the stamp before and after them are
    // read as one step, so our own change can be told from another program's. Inside an
    // open transaction a savepoint keeps the statements all-or-nothing instead.
    dao::Failure f;
    const char* begin = m_inTransaction ? "SAVEPOINT actions" : "BEGIN IMMEDIATE";
    const char* commit = m_inTransaction ? "RELEASE actions" : "COMMIT";
    const char* rollback = m_inTransaction ? "ROLLBACK TO actions; RELEASE actions" : "ROLLBACK";
    if (!dao::Exec(m_db, begin, f, 4)) {
        logFailure(proc, f, texts.join("\n"));
        return false;
    }
    const QString before = readStamp();
    int64_t lastId = 0;
    int rows = 0;
    for (const Statement& s : statements) {
        sqlite3_stmt* st = dao::PrepareBound(m_db, s.sql, s.values, dao::Kind::Write, f, 4);
        if (!st || !dao::Run(m_db, st, f, 4)) {
            dao::Failure ignored;
            dao::Exec(m_db, rollback, ignored, 4);
            logFailure(proc, f, s.sql, s.values);
            return false;
        }
        lastId = sqlite3_last_insert_rowid(m_db);
        rows = sqlite3_changes(m_db);
    }
    const QString after = readStamp();
    if (!dao::Exec(m_db, commit, f, 4)) {
        dao::Failure ignored;
        dao::Exec(m_db, rollback, ignored, 4);
        logFailure(proc, f, texts.join("\n"));
        return false;
    }
    m_lastInsertId = lastId;
    m_lastRowsAffected = rows;
    // Take note of our own change only when nobody else changed the bookings since the
    // last look; otherwise the next poll must still report theirs.
    if (!m_inTransaction && after != before && before == m_keptStamp) noteStamp(after);
    return true;
}

bool ClsDAO::runKept(const QString& sql, const SqlValues& values) {
    // A bulk job repeats a few statements; texts beyond these are not kept.
    constexpr qsizetype kMostKept = 32;
    dao::Guard guard;  // the host's timer only
    if (m_aggressiveDebug && sql.startsWith("delete")) log(sql);
    dao::Failure f;
    sqlite3_stmt* st = m_kept.value(sql);
    const bool wasKept = st != nullptr;
    if (!st) st = dao::Prepare(m_db, sql, dao::Kind::Write, f, 2);
    const bool ok = st && dao::BindKept(m_db, st, values, f, 3) && dao::RunKept(m_db, st, f, 3);
    if (st && !wasKept) {
        if (m_kept.size() < kMostKept)
            m_kept.insert(sql, st);
        else
            sqlite3_finalize(st);
    }
    if (!noteOutcome(ok)) {
        logFailure("SqlAction", f, sql, values);
        return false;
    }
    m_lastInsertId = sqlite3_last_insert_rowid(m_db);
    m_lastRowsAffected = sqlite3_changes(m_db);
    return true;
}

void ClsDAO::dropKept() {
    for (sqlite3_stmt* st : std::as_const(m_kept)) sqlite3_finalize(st);
    m_kept.clear();
}

bool ClsDAO::BeginTransaction() {
    dao::Guard guard;
    if (!guard.Lock("_SQL")) return false;
    dao::Failure f;
    if (m_inTransaction) {
        logFailure("BeginTransaction", {err::InvalidCall, 1, "A transaction is open already"});
        return false;
    }
    if (!dao::Exec(m_db, "BEGIN IMMEDIATE", f, 2)) {
        noteOutcome(false);  // a begin that works tells nothing yet: its commit does
        logFailure("BeginTransaction", f);
        return false;
    }
    m_inTransaction = true;
    m_stampAtBegin = readStamp();
    return true;
}

bool ClsDAO::EndTransaction(bool commit) {
    dao::Guard guard;
    if (!m_inTransaction) return false;
    guard.Lock("_SQL");  // ending never waits in vain: nobody else of ours writes meanwhile
    dao::Failure f;
    dropKept();
    const QString after = readStamp();
    bool ok = commit && dao::Exec(m_db, "COMMIT", f, 2);
    if (!ok) {
        if (commit) logFailure("EndTransaction", f);
        dao::Failure ignored;
        dao::Exec(m_db, "ROLLBACK", ignored, 3);
    }
    m_inTransaction = false;
    if (commit) noteOutcome(ok);
    if (ok && after != m_stampAtBegin && m_stampAtBegin == m_keptStamp) noteStamp(after);
    return ok;
}

QString ClsDAO::readStamp() {
    sqlite3_stmt* st = nullptr;
    const char* sql = "select Modified || ' #' || Seq from tblChangeStamp where Id = 1";
    if (!m_db || sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK) return QString();
    QString stamp;
    if (sqlite3_step(st) == SQLITE_ROW)
        stamp = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return stamp;
}

void ClsDAO::noteStamp(const QString& stamp) {
    m_keptStamp = stamp;
    log("Database update noted [" + m_keptStamp + "]");
}

std::optional<bool> ClsDAO::DbUpdated() {
    dao::Guard guard;
    if (!m_db) {
        logFailure("DbUpdated", {err::DbNotOpen, 2, "The database is not open"});
        return std::nullopt;
    }
    const QString stamp = readStamp();
    if (!noteOutcome(!stamp.isEmpty())) {
        logFailure("DbUpdated", dao::EngineFailure(m_db, sqlite3_errcode(m_db), 3));
        return std::nullopt;
    }
    if (stamp == m_keptStamp) return false;
    noteStamp(stamp);
    return true;
}

bool ClsDAO::CreateDatabase(const QString& Path, QString* why) {
    if (Path.isEmpty() || QFile::exists(Path)) {
        if (why) *why = "the file exists already";
        return false;
    }
    // Build under a work name and rename when complete, so a half-made file never
    // stands at the database's name.
    const QString work = Path + ".new";
    QFile::remove(work);
    sqlite3* db = nullptr;
    const QByteArray w = work.toUtf8();
    int rc =
        sqlite3_open_v2(w.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* msg = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, kRostimaSchemaSql, nullptr, nullptr, &msg);
    if (rc != SQLITE_OK && why) *why = msg ? QString(msg) : QString(sqlite3_errstr(rc));
    sqlite3_free(msg);
    sqlite3_close(db);
    if (rc != SQLITE_OK || !QFile::rename(work, Path)) {
        if (rc == SQLITE_OK && why) *why = "cannot rename " + work;
        QFile::remove(work);
        return false;
    }
    return true;
}
