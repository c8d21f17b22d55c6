#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <functional>

#include "ClsMutex.h"
#include "DbFixture.h"
#include "UserSlots.h"

namespace {
const char* kInsertBooking =
    "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, CustomerId, "
    "ResourceId, RepeatId) values (1, 45000, 540, 600, 0, 1, 0)";
}

// A second workstation: opens the database and changes bookings when told.
ROSTIMA_CHILD(dao_peer) {
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    ChildSay("open");
    for (QString cmd = ChildHear(); !cmd.isEmpty() && cmd != "quit"; cmd = ChildHear()) {
        if (cmd == "book") ChildSay(dao.SqlAction(kInsertBooking) ? "done" : "failed");
        if (cmd == "set") {
            dao.PropertySet("Owner", "peer");
            ChildSay("done");
        }
    }
    dao.DbClose();
    return 0;
}

using ClsDAOOpen = DbFixture;

TEST_F(ClsDAOOpen, NestedOpenAndCloseOnlyCountAndLogTheirCounts) {
    open();
    ASSERT_EQ(dao().DbOpen(dbPath()), 0);
    dao().DbClose();
    EXPECT_EQ(dao().OpenCount(), 1);
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 0);  // still open
    dao().DbClose();
    dao().DbClose();
    EXPECT_EQ(dao().OpenCount(), 0);
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains("Open database [1]   " + dbPath()));
    EXPECT_TRUE(log.contains("Open database [2]   " + dbPath()));
    EXPECT_TRUE(log.contains("Database close [1]"));
    EXPECT_TRUE(log.contains("GetUserCount() = 1"));
    EXPECT_EQ(log.count("Database close [0]"), 2);
    EXPECT_FALSE(log.contains("in ClsDAO.DbClose ("));  // a close too many is no error
}

TEST_F(ClsDAOOpen, AFileThatIsMissingEmptyOrNotADatabaseGivesStatusTwoAndCreatesNothing) {
    QFile text(folder.file("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a database at all, just some words in a file\n");
    text.close();
    QFile empty(folder.file("empty.mdb"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    for (const QString& path : {folder.file("missing.mdb"), QString(), folder.file("notes.txt"),
                                folder.file("empty.mdb")}) {
        ClsDAO d;
        EXPECT_EQ(d.DbOpen(path), 2) << path.toStdString();
        EXPECT_EQ(d.OpenCount(), 1);
        EXPECT_EQ(d.SqlQuery("select 1"), nullptr);
    }
    EXPECT_FALSE(QFile::exists(folder.file("missing.mdb")));
    EXPECT_EQ(QFileInfo(folder.file("empty.mdb")).size(), 0);
    EXPECT_FALSE(folder.logText().contains("Open database ["));
    EXPECT_TRUE(folder.logText().contains("in ClsDAO.DbOpen ("));
}

namespace {
// Makes a file read-only for this process, also for root (through the immutable flag,
// where the file system has one); back to normal on destruction.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) : m_path(QFile::encodeName(path)) {
        m_done = geteuid() == 0 ? setImmutable(true) : chmod(m_path.constData(), 0444) == 0;
    }
    ~ReadOnlyFile() {
        if (geteuid() == 0)
            setImmutable(false);
        else
            chmod(m_path.constData(), 0644);
    }
    bool done() const { return m_done; }

private:
    bool setImmutable(bool on) {
        const int fd = open(m_path.constData(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        bool ok = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0) close(fd);
        return ok;
    }
    QByteArray m_path;
    bool m_done = false;
};

enum class Unusable {
    SlotFileIsAFolder,
    HeldLockedByAnother,
    ReadOnly,
    Damaged,
    Truncated,
    ForeignSchema
};
std::string unusableName(Unusable u) {
    const char* names[] = {"SlotFileIsAFolder", "HeldLockedByAnother", "ReadOnly",
                           "Damaged",           "Truncated",           "ForeignSchema"};
    return names[static_cast<int>(u)];
}
}  // namespace

// A database that can be found but not used fails the open with a line saying why, and
// leaves nothing open: no connection, no user slot, no slot file beside it. The close that
// balances it writes nothing more: neither an error line nor a "Database close" line.
class ClsDAOOpenRefuses : public DbFixture, public ::testing::WithParamInterface<Unusable> {};

TEST_P(ClsDAOOpenRefuses, WithAClearLineAndNothingLeftOpen) {
    std::unique_ptr<HeldDatabase> holder;
    std::unique_ptr<ReadOnlyFile> readOnly;
    QString why;
    switch (GetParam()) {
        case Unusable::SlotFileIsAFolder:
            ASSERT_TRUE(QDir().mkdir(dbPath() + ".users"));
            why = "Error 75 at line 4 in ClsDAO.DbOpen (Cannot take a user slot for " + dbPath();
            break;
        case Unusable::HeldLockedByAnother:
            holder = std::make_unique<HeldDatabase>(folder, dbPath());
            ASSERT_TRUE(holder->held());
            why = "Error 3260 at line 4 in ClsDAO.DbOpen (The database is busy";
            break;
        case Unusable::ReadOnly:
            readOnly = std::make_unique<ReadOnlyFile>(dbPath());
            if (!readOnly->done()) GTEST_SKIP() << "this file system cannot make it read-only";
            why =
                "Error 70 at line 4 in ClsDAO.DbOpen (The database file is read-only: " + dbPath();
            break;
        case Unusable::Damaged: {
            QFile f(dbPath());
            ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(100));
            f.write(QByteArray(200, '\xff'));  // the first page's table of contents
            why = "Error 3011 at line 4 in ClsDAO.DbOpen (database disk image is malformed)";
            break;
        }
        case Unusable::Truncated:
            ASSERT_TRUE(QFile::resize(dbPath(), 8192));
            why = "Error 3011 at line 4 in ClsDAO.DbOpen (database disk image is malformed)";
            break;
        case Unusable::ForeignSchema: {
            ASSERT_TRUE(QFile::remove(dbPath()));
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(QFile::encodeName(dbPath()).constData(), &db), SQLITE_OK);
            sqlite3_exec(db, "create table Invoices (Id integer)", nullptr, nullptr, nullptr);
            sqlite3_close(db);
            why = "Error 3049 at line 4 in ClsDAO.DbOpen (Not a Rostima database: " + dbPath();
            break;
        }
    }
    EXPECT_EQ(dao().DbOpen(dbPath()), 2);  // a locked file after the 10 s busy wait
    EXPECT_EQ(dao().OpenCount(), 1);
    EXPECT_EQ(dao().SqlQuery("select 1"), nullptr);
    EXPECT_EQ(plat::UserSlots::Count(dbPath()), GetParam() == Unusable::SlotFileIsAFolder ? -1 : 0);
    EXPECT_EQ(QFileInfo::exists(dbPath() + ".users"), GetParam() == Unusable::SlotFileIsAFolder);
    dao().CompactDb();  // neither compacts the file nor makes a slot file beside it
    EXPECT_EQ(QFileInfo::exists(dbPath() + ".users"), GetParam() == Unusable::SlotFileIsAFolder);
    EXPECT_FALSE(QFile::exists(folder.file("OldDb.mdb")));
    dao().DbClose();
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains(why)) << log.toStdString();
    EXPECT_FALSE(log.contains("in ClsDAO.DbClose ("));
    EXPECT_FALSE(log.contains("Database close ["));
    EXPECT_FALSE(log.contains("Open database ["));
}

INSTANTIATE_TEST_SUITE_P(Files, ClsDAOOpenRefuses,
                         ::testing::Values(Unusable::SlotFileIsAFolder,
                                           Unusable::HeldLockedByAnother, Unusable::ReadOnly,
                                           Unusable::Damaged, Unusable::Truncated,
                                           Unusable::ForeignSchema),
                         [](const auto& info) { return unusableName(info.param); });

using ClsDAOStatements = DbFixture;

TEST_F(ClsDAOStatements, QueryIsASnapshotKeepingNullApartAndFieldsByNameWithoutCase) {
    open();
    ASSERT_TRUE(dao().SqlAction(
        "insert into tblCustomers (CustomerName, Ref01, Ref02) values ('O''Brien', '', '0')"));
    auto rs = dao().SqlQuery("select * from tblCustomers");
    ASSERT_NE(rs, nullptr);
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Field("customername").toString(), "O'Brien");
    EXPECT_EQ(rs->Field(1).toString(), "O'Brien");
    EXPECT_FALSE(rs->Field("Ref01").isNull());
    EXPECT_EQ(rs->Field("Ref01").toString(), "");
    EXPECT_EQ(rs->Field("Ref02").toLong(), 0);
    EXPECT_TRUE(rs->Field("Ref03").isNull());
    EXPECT_EQ(dao().LastInsertId(), rs->Field("CustomerId").toLong());
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
}

TEST_F(ClsDAOStatements, AStatementOfTheWrongKindOrASecondStatementIsRefusedUnrun) {
    open();
    EXPECT_EQ(dao().SqlQuery(kInsertBooking), nullptr);
    EXPECT_FALSE(dao().SqlAction("select * from tblBookings"));
    EXPECT_FALSE(dao().SqlAction(QString(kInsertBooking) + "; delete from tblGroups"));
    EXPECT_EQ(dao().SqlQuery("select 1; select 2"), nullptr);
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 0);
    EXPECT_TRUE(dao().SqlAction(QString(kInsertBooking) + ";  -- trailing comment"));
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains("in ClsDAO.SqlQuery ("));
    EXPECT_TRUE(log.contains("in ClsDAO.SqlAction ("));
    EXPECT_TRUE(log.contains("SqlStr = select * from tblBookings"));
}

TEST_F(ClsDAOStatements, JetDeleteStarIsReadAsAPlainDelete) {
    open();
    ASSERT_TRUE(dao().SqlAction(kInsertBooking));
    EXPECT_TRUE(dao().SqlAction("Delete * From tblBookings where BookingId > 0"));
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 0);
}

TEST_F(ClsDAOStatements, JetTextPlusJoinsTextsWhileNumbersStillAdd) {
    open();
    ASSERT_TRUE(dao().SqlAction("insert into tblCustomers (CustomerName) values ('Ann+Bo')"));
    struct Case {
        const char* sql;
        const char* expected;  // "<null>" for a Null
    };
    const Case cases[] = {
        {"select (select CustomerName from tblCustomers) + ''", "Ann+Bo"},
        {"select 'x' +(select CustomerName from tblCustomers)", "xAnn+Bo"},
        {"select 'it''s' + 'a+b'", "it'sa+b"},
        {"select (select CustomerName from tblCustomers where CustomerId = 0) + ''", "<null>"},
        {"select 1 + 2", "3"},
        {"select \"CustomerName\" + 1 from tblCustomers", "1"},
    };
    for (const Case& c : cases) {
        auto rs = dao().SqlQuery(c.sql);
        ASSERT_NE(rs, nullptr) << c.sql;
        const DbValue& v = rs->Field(0);
        EXPECT_EQ(v.isNull() ? QString("<null>") : v.toString(), c.expected) << c.sql;
    }
}

TEST_F(ClsDAOStatements, SeveralWritesAreAllOrNothing) {
    open();
    EXPECT_FALSE(dao().SqlActions({kInsertBooking, "insert into tblNowhere values (1)"}));
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 0);
    EXPECT_TRUE(dao().SqlActions({kInsertBooking, kInsertBooking}));
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 2);
}

// Another program holds the database: the first statement of a command waits for it and
// fails; the next ones fail at once, until one succeeds or the user starts another command.
TEST_F(ClsDAOStatements, AfterOneFailedWaitTheNextStatementsFailAtOnceUntilOneSucceeds) {
    open();
    const struct {
        HeldDatabase::Kind hold;
        std::function<bool()> statement;
    } cases[] = {
        {HeldDatabase::Exclusive,
         [&] { return dao().SqlQuery("select count(*) from tblBookings") != nullptr; }},
        {HeldDatabase::Writing, [&] { return dao().SqlAction(kInsertBooking); }},
        {HeldDatabase::Reading,  // a transaction's commit waits for the reader
         [&] {
             DbTransaction t(dao());
             return dao().SqlAction(kInsertBooking, {}) && t.Commit();
         }},
    };
    dao().setBusyWaitMs(500);
    FakeHost host;  // the pointer shows a wait once, and only a wait
    SharedObjects::SetHost(&host);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hold);
        HeldDatabase held(folder, dbPath(), c.hold);
        ASSERT_TRUE(held.held());
        dao().WaitAgain();
        host.waits = 0;
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(c.statement());
        EXPECT_GE(clock.elapsed(), 450);
        EXPECT_TRUE(dao().Failing());
        EXPECT_FALSE(dao().FailureTold());  // a new spell, untold
        dao().NoteFailureTold();
        clock.restart();
        EXPECT_FALSE(c.statement());
        EXPECT_LT(clock.elapsed(), 200);
        held.release();
        EXPECT_TRUE(c.statement());
        EXPECT_FALSE(dao().Failing());
        EXPECT_EQ(host.waits, 1);  // neither the spell's nor a free statement waited
    }
    dao().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

TEST_F(ClsDAOStatements, AggressiveDebugLogsOnlyStatementsThatBeginWithLowerCaseDelete) {
    open();
    dao().setAggressiveDebug(true);
    for (const char* sql :
         {"delete from tblMenu where MenuId = 1",
          "update tblMenu set MenuType = 2 where MenuId = 3",
          "Delete from tblMenu where MenuId = 4", " delete from tblMenu where MenuId = 5"})
        EXPECT_TRUE(dao().SqlAction(sql));
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains(" delete from tblMenu where MenuId = 1\n"));
    EXPECT_FALSE(log.contains("MenuId = 3"));
    EXPECT_FALSE(log.contains("MenuId = 4"));
    EXPECT_FALSE(log.contains("MenuId = 5"));
}

TEST_F(ClsDAOStatements, BoundValuesArriveAsGivenWithNullApartFromZeroAndEmpty) {
    open();
    const QString awkward = "it's 100%1 -- ?; '' %9\n\u00e9\u4e2d";
    const struct {
        const char* what;
        SqlValue value;
        bool null;
        QString text;
    } cases[] = {
        {"awkward text", awkward, false, awkward},
        {"empty text", QString(""), false, ""},
        {"null QString", QString(), false, ""},
        {"zero", 0, false, "0"},
        {"Null", SqlValue(), true, ""},
        {"64-bit", int64_t{1} << 40, false, "1099511627776"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(dao().SqlAction("delete from tblMenu"));
        ASSERT_TRUE(
            dao().SqlAction("insert into tblMenu (MenuId, MenuDesc, MenuType) "
                            "values (?, ?, '?')",
                            {7, c.value}))
            << c.what;
        auto rs = dao().SqlQuery("select MenuDesc, MenuType from tblMenu where MenuId = ?", {7});
        ASSERT_NE(rs, nullptr) << c.what;
        ASSERT_FALSE(rs->Eof()) << c.what;
        EXPECT_EQ(rs->Field(0).isNull(), c.null) << c.what;
        EXPECT_EQ(rs->Field(0).toString(), c.text) << c.what;
        EXPECT_EQ(rs->Field(1).toString(), "?") << c.what;  // a quoted "?" is no placeholder
    }
    // A count that does not match runs nothing and says why.
    EXPECT_FALSE(dao().SqlAction("delete from tblMenu where MenuId = ?", {}));
    EXPECT_FALSE(dao().SqlAction("delete from tblMenu where MenuId = ?", {7, 8}));
    EXPECT_EQ(dao().SqlQuery("select * from tblMenu where MenuId = ?", {}), nullptr);
    EXPECT_EQ(scalar("select count(*) from tblMenu"), 1);
    EXPECT_TRUE(folder.logText().contains("has 1 placeholder(s) but 2 value(s) were given"));
    EXPECT_TRUE(folder.logText().contains("SqlValues = 7, 8"));
}

TEST(ClsDAOQuoted, DoublesApostrophesAndWrapsTheText) {
    EXPECT_EQ(ClsDAO::Quoted("O'Brien"), "'O''Brien'");
    EXPECT_EQ(ClsDAO::Quoted(""), "''");
    EXPECT_EQ(ClsDAO::Quoted("''"), "''''''");
    EXPECT_EQ(ClsDAO::Quoted("a\"b"), "'a\"b'");
}

using ClsDAOGuard = DbFixture;

TEST_F(ClsDAOGuard, PutsTheTimerBackAsItWasAfterSuccessAndAfterAnError) {
    FakeHost host;
    SharedObjects::SetHost(&host);
    open();
    host.switchedOff = 0;
    ASSERT_NE(dao().SqlQuery("select * from tblGroups"), nullptr);
    EXPECT_TRUE(host.timer);
    EXPECT_GT(host.switchedOff, 0);
    EXPECT_EQ(dao().SqlQuery("select * from tblNowhere"), nullptr);
    EXPECT_TRUE(host.timer);
    host.timer = false;
    EXPECT_TRUE(dao().SqlAction(kInsertBooking));
    EXPECT_FALSE(host.timer);
}

// A statement whose lock another instance holds for the whole wait runs nothing, says so
// in the log and leaves the timer as it was. Each kind waits its 10 s in its own test.
class ClsDAOLockTimeout : public DbFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ClsDAOLockTimeout, MakesTheStatementDoNothingLogItAndRestoreTheTimer) {
    const bool action = GetParam();
    FakeHost host;
    SharedObjects::SetHost(&host);
    open();
    ClsMutex other;  // another instance of this program, busy with the database
    ASSERT_TRUE(other.GetMutex(folder.exeName() + "_SQL", true, 0));
    if (action)
        EXPECT_FALSE(dao().SqlAction(kInsertBooking));
    else
        EXPECT_EQ(dao().SqlQuery("select * from tblGroups"), nullptr);
    EXPECT_TRUE(host.timer);
    other.DeleteMutex();
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 0);
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains(QString("Error 3260 at line 1 in ClsDAO.%1 (The lock %2_SQL was not "
                                     "had within 10000 ms)")
                                 .arg(action ? "SqlAction" : "SqlQuery", folder.exeName())));
    EXPECT_TRUE(log.contains(action ? QString("SqlStr = ") + kInsertBooking
                                    : "SqlStr = select * from tblGroups"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ClsDAOLockTimeout, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Action" : "Query"; });

using ClsDAOChanges = DbFixture;

TEST_F(ClsDAOChanges, AnotherProgramsChangeIsReportedOnceAndOurOwnNever) {
    open();
    EXPECT_EQ(dao().DbUpdated(), false);  // the open took note already
    ChildProcess peer(folder, "dao_peer", {dbPath()});
    ASSERT_EQ(peer.readLine(), "open");
    peer.say("book");
    ASSERT_EQ(peer.readLine(), "done");
    EXPECT_EQ(dao().DbUpdated(), true);
    EXPECT_EQ(dao().DbUpdated(), false);
    ASSERT_TRUE(dao().SqlAction(kInsertBooking));
    EXPECT_EQ(dao().DbUpdated(), false);
    // Two changes within one second are still two changes.
    peer.say("book");
    ASSERT_EQ(peer.readLine(), "done");
    EXPECT_EQ(dao().DbUpdated(), true);
    peer.say("quit");
    EXPECT_EQ(peer.finish(), 0);
}

TEST_F(ClsDAOChanges, OurOwnChangeDoesNotSwallowAnotherProgramsUnseenChange) {
    open();
    ChildProcess peer(folder, "dao_peer", {dbPath()});
    ASSERT_EQ(peer.readLine(), "open");
    peer.say("book");
    ASSERT_EQ(peer.readLine(), "done");
    ASSERT_TRUE(dao().SqlAction(kInsertBooking));  // before our next poll
    EXPECT_EQ(dao().DbUpdated(), true);
    EXPECT_EQ(dao().DbUpdated(), false);
}

TEST_F(ClsDAOChanges, ChangesToOtherTablesAreNotBookingChanges) {
    open();
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('A')"));
    EXPECT_EQ(dao().DbUpdated(), false);
}
