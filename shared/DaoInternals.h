#pragma once
// Private to the ClsDAO implementation files: the guard every operation shares and the
// engine calls. No other code includes this header.
#include <sqlite3.h>

#include <QString>
#include <QStringList>
#include <memory>

#include "ClsDAO.h"
#include "ClsMutex.h"

namespace dao {

struct Failure {
    int number = 0;
    int line = 0;
    QString description;
};

constexpr int32_t kLockWaitMs = 10000;
constexpr int kBusyTimeoutMs = ClsDAO::kBusyWaitMs;

// The pointer shows the program waiting for the database, once until EndWait; the end of
// the operation (Guard) ends it.
void ShowWait();
void EndWait();

// Host timer off for the operation's length (put back as it was, so only the outermost
// operation switches it on again), plus the operation's named lock when it has one.
class Guard {
public:
    Guard();
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    // Takes "<executable name><suffix>"; false when it could not be had in time.
    bool Lock(const QString& suffix);
    // The failure to log when Lock gave false: which lock, how long it was waited for.
    dao::Failure LockTimeout(int line) const;

private:
    bool m_timerWas = false;
    QString m_lockName;  // the lock last asked for
    ClsMutex m_lock;
};

// What a statement is allowed to be.
enum class Kind { Read, Write };

// Jet spellings that SQLite reads otherwise, rewritten the same way everywhere.
QString Translate(const QString& sql);

// Prepares exactly one statement of the given kind; anything after it is refused.
sqlite3_stmt* Prepare(sqlite3* db, const QString& sql, Kind kind, dao::Failure& f, int line);

// Binds Values to the statement's placeholders in order; false (statement finalised) when
// their count differs from the statement's or the engine refuses one.
bool Bind(sqlite3* db, sqlite3_stmt* st, const SqlValues& values, dao::Failure& f, int line);
// The same for a statement that is kept: it stays prepared whatever happens.
bool BindKept(sqlite3* db, sqlite3_stmt* st, const SqlValues& values, dao::Failure& f, int line);

// Prepare and Bind in one step; the statement or none.
sqlite3_stmt* PrepareBound(sqlite3* db, const QString& sql, const SqlValues& values, Kind kind,
                           dao::Failure& f, int line);

// Runs a prepared statement to its end and finalises it.
bool Run(sqlite3* db, sqlite3_stmt* st, dao::Failure& f, int line);
// Runs a kept statement to its end and resets it for its next run.
bool RunKept(sqlite3* db, sqlite3_stmt* st, dao::Failure& f, int line);

// Reads every row of a prepared read statement into a snapshot and finalises it.
std::unique_ptr<ClsRecordset> Snapshot(sqlite3* db, sqlite3_stmt* st, dao::Failure& f, int line);

// Runs plain text (transaction control, pragmas) that needs no classification.
bool Exec(sqlite3* db, const char* sql, dao::Failure& f, int line);

dao::Failure EngineFailure(sqlite3* db, int rc, int line);

// Offers our own SQL functions on the connection: the aggregate RowHash(value, ...).
bool AddFunctions(sqlite3* db);

}  // namespace dao
