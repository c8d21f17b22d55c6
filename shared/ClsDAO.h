#pragma once
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "ClsRecordset.h"
#include "Saved.h"
#include "SqlValue.h"
#include "UserSlots.h"

struct sqlite3;
struct sqlite3_stmt;
namespace dao {
struct Failure;
}

// The program's one database object. Every operation runs inside the same guard: the
// host window's refresh timer is switched off, the operation's named lock is held while
// the database is touched, and both are put back afterwards. Errors never leave it: they
// are logged and the neutral result is returned.
class ClsDAO {
public:
    ClsDAO() = default;
    ~ClsDAO();
    ClsDAO(const ClsDAO&) = delete;
    ClsDAO& operator=(const ClsDAO&) = delete;

    // Rewrites the open database file compactly, keeping the old one as "OldDb.mdb" in the
    // program folder. A database that is not open (never, or refused) is left untouched.
    void CompactDb();
    void DbClose();
    // 2 when this call tried to open the file and could not, else 0. The first open takes
    // a user slot before it opens the file (waiting while a compaction runs), and fails,
    // with a log line and nothing left open, for a file that is missing, not ours, held
    // locked by another program for the whole busy wait, read-only, or whose user slot
    // cannot be had.
    int16_t DbOpen(const QString& Path);
    // Why the last open that tried a file could not open it, as its log line says, for the
    // user; "" when it opened the file.
    QString OpenFailure() const { return m_openFailure; }
    void PropertyDelete(const QString& Name);
    QString PropertyGet(const QString& Name, const QString& Default);
    void PropertySet(const QString& Name, const QString& Value);
    static QString Quoted(const QString& Text);
    // Runs one statement that writes; false when it could not.
    bool SqlAction(const QString& Sql);
    // Runs one statement that reads; none when it could not.
    [[nodiscard]] std::unique_ptr<ClsRecordset> SqlQuery(const QString& Sql);

    // The same with bound values: each "?" in Sql (outside quotes) takes the next value of
    // Values, in order, and the count must match or nothing runs. Use these for every
    // user's text (names, references, comments) instead of building it into the text:
    //   dao.SqlQuery("select TaskId from tblTasks where TaskName = ? and GroupId = ?",
    //                {name, groupId});
    //   dao.SqlAction("update tblCustomers set Ref01 = ? where CustomerId = ?", {ref, id});
    // A QString is always a text ("" stays ""), a number a number, SqlValue() is Null.
    // A failure logs "SqlStr = " with the text and "SqlValues = " with the values.
    bool SqlAction(const QString& Sql, const SqlValues& Values);
    [[nodiscard]] std::unique_ptr<ClsRecordset> SqlQuery(const QString& Sql,
                                                         const SqlValues& Values);
    // Values written as SQL literals, for log lines: texts through Quoted, Null as Null.
    static QString Literals(const SqlValues& Values);
    // True when the bookings, groups, resources or appointment types changed since the
    // last look (or since this program's own last change, when nobody else changed them
    // meanwhile); none when the database could not be read (the one log line says why).
    [[nodiscard]] std::optional<bool> DbUpdated();

    // A failed operation (the database busy, locked by another program, or refusing the
    // statement) starts a spell in which the next ones fail at once instead of waiting
    // again, so that one command tells its user after one wait, not after one wait per
    // statement. An operation that succeeds ends the spell, and so does WaitAgain, which
    // the program calls where its user's command begins.
    bool Failing() const { return m_failing; }
    void WaitAgain();
    // Whether the user was told of the spell's failure already, and the note that they
    // were (or, as a command that ran inside another ends, the other's note again): the
    // user hears of one spell once.
    bool FailureTold() const { return m_told; }
    void NoteFailureTold(bool told = true) { m_told = told; }
    // How long a statement waits for another program's lock (ms). Only tests shorten it.
    static constexpr int kBusyWaitMs = 10000;
    void setBusyWaitMs(int ms);
    // Called at every step of a wait for the database (tests watch the pointer there and
    // click meanwhile); empty: none.
    static void setWaitStepForTest(std::function<void()> step);

    void setAggressiveDebug(bool on) { m_aggressiveDebug = on; }
    bool AggressiveDebug() const { return m_aggressiveDebug; }
    QString DbPath() const { return m_path; }
    int32_t GetUserCount();

    // Writes every group with its resources, appointment types, customers and bookings
    // to File as text; Done when the whole file was written. File appears only complete:
    // NotRead (the database could not be read, or another backup or restore runs) and
    // NotWritten (the file could not be written, and why) leave what was there before.
    Saved Backup(const QString& File);
    // Replaces the scheduling tables with the content of a backup file, bookings only
    // when DlgRestore::AddAppointments() is set. The whole file is read and checked
    // first and the tables are replaced in one transaction: false leaves them as they
    // were. A file of a newer format than this program's is refused, and so is one cut
    // short or added to (its end mark counts other lines, or is followed by more than empty
    // lines, or is missing after this program's first line or lines of its own); one
    // without the mark (an older backup) is restored only when the user says so through
    // the host window's Confirm. A booking goes back to the resource, type and
    // customer that its line numbers (numbers of records named otherwise than the line
    // names them are refused; a customer named beside 0 is the group's of that name); a
    // line without numbers (an older backup) names them, and goes to those of
    // its group named as written, case and all, and only without one to a name equal but
    // for case. A customer written into a group only for its bookings there comes back
    // there only with one of them. Lines no program writes are left out: a group whose day
    // ends before it starts (with its lines), a booking whose end is not after its start or
    // that lies outside the day.
    bool Restore(const QString& File);
    // What the last Restore did not do as the file says, and why it was refused.
    struct RestoreReport {
        bool declined = false;  // the user declined a file that may be incomplete
        QString refusal;        // why it was refused, to show the user ("" when it was not)
        // Bookings not restored, by reason: no such resource, type or customer in the
        // group, a clash, times no booking can have, a group left out, a clash on the first
        // of several resources that an older backup names alike (in the source it was on
        // another of them).
        int noResource = 0, noType = 0, noCustomer = 0, clashes = 0, badTimes = 0,
            inGroupLeftOut = 0, alikeClashes = 0;
        int groupsLeftOut = 0;  // a day that ends before it starts
        // Bookings restored on the first of several records of the group that an older
        // backup names alike (or on no customer, where a customer has no name).
        int alike = 0;
        int LostBookings() const {
            return noResource + noType + noCustomer + clashes + badTimes + inGroupLeftOut +
                   alikeClashes;
        }
    };
    const RestoreReport& LastRestore() const { return m_lastRestore; }
    // A name as the database compares names (COLLATE NOCASE): the letters A to Z without
    // their case, every other character as it is. Names of one key are one name to it.
    static QString NameKey(const QString& name);
    // Field Index of a backup line, counting the record letter as field 1; "" for a field
    // beyond the line and for Index 0.
    static QString GetSubStr(const QString& Line, int16_t Index);
    // The program folder's "Backup" folder, where DlgRestore looks for backup files.
    static QString BackupFolder();

    // Runs several writes as one transaction: all of them or none.
    bool SqlActions(const QStringList& statements);
    // Id of the row that this program's last successful insert made, and the number of
    // rows the last successful statement changed. Read right after SqlAction.
    int64_t LastInsertId() const { return m_lastInsertId; }
    int LastRowsAffected() const { return m_lastRowsAffected; }
    int OpenCount() const { return m_openCount; }

    // One transaction around many operations (a restore, a cascade): the statements run
    // meanwhile through SqlAction and SqlQuery become visible to others together at
    // EndTransaction(true), or not at all. Returns false when it could not begin.
    // Meanwhile a SqlAction with bound values is bulk work: its statement is parsed once
    // and kept for the next run with other values until the transaction ends, and it
    // takes no named lock of its own, since the open transaction holds every other
    // writer off already.
    bool BeginTransaction();
    bool EndTransaction(bool commit);
    bool InTransaction() const { return m_inTransaction; }

    // Makes a new, empty database at Path from the schema; refuses an existing file.
    static bool CreateDatabase(const QString& Path, QString* why = nullptr);

private:
    struct Statement {
        QString sql;
        SqlValues values;
    };
    // Takes the user slot, then opens the file; a failure leaves neither.
    dao::Failure openFile(const QString& Path);
    bool runActions(const std::vector<Statement>& statements, const char* proc);
    bool runStatements(const std::vector<Statement>& statements, const char* proc);
    // SqlAction with values inside the open transaction: a kept statement.
    bool runKept(const QString& sql, const SqlValues& values);
    QString readStamp();
    void dropKept();
    void noteStamp(const QString& stamp);
    // Starts or ends the spell of failures (see Failing) after an operation; returns ok.
    bool noteOutcome(bool ok);
    void logFailure(const char* proc, const dao::Failure& f, const QString& sql = QString(),
                    const SqlValues& values = {});

    int m_openCount = 0;  // DbOpen calls not yet balanced by DbClose
    sqlite3* m_db = nullptr;
    QString m_path;             // path of the most recent DbOpen
    QString m_keptStamp;        // change stamp as last seen
    bool m_openFailed = false;  // the open that raised the count to 1 failed
    QString m_openFailure;      // and why
    bool m_aggressiveDebug = false;
    bool m_failing = false;  // a spell of failures runs: statements do not wait
    bool m_told = false;     // the spell's failure was told to the user
    int m_busyWaitMs = kBusyWaitMs;
    // The engine's wait for a database another program holds: up to m_waitLimitMs (0 while
    // a spell of failures runs), the pointer showing it from the first step on.
    static int busyWait(void* self, int count);
    void setWaitLimit(int ms);
    int m_waitLimitMs = kBusyWaitMs;
    QElapsedTimer m_waitSince;  // since the first step of the statement's current wait
    int64_t m_lastInsertId = 0;
    int m_lastRowsAffected = 0;
    plat::UserSlots m_slots;
    bool m_inTransaction = false;
    QString m_stampAtBegin;                // change stamp when the open transaction began
    QHash<QString, sqlite3_stmt*> m_kept;  // runKept's statements, by their text
    RestoreReport m_lastRestore;
};

// Rolls the transaction back unless Commit() was called.
class DbTransaction {
public:
    explicit DbTransaction(ClsDAO& dao) : m_dao(dao), m_open(dao.BeginTransaction()) {}
    ~DbTransaction() {
        if (m_open) m_dao.EndTransaction(false);
    }
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;
    bool ok() const { return m_open; }
    bool Commit() {
        if (!m_open) return false;
        m_open = false;
        return m_dao.EndTransaction(true);
    }

private:
    ClsDAO& m_dao;
    bool m_open;
};
