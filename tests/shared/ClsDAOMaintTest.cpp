#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <thread>

#include "DbFixture.h"
#include "UserSlots.h"

// A second program that opens the database, reports, and waits to be told or killed.
ROSTIMA_CHILD(dao_holder) {
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    ChildSay("open " + dao.PropertyGet("Owner", "nobody"));
    for (QString cmd = ChildHear(); !cmd.isEmpty() && cmd != "quit"; cmd = ChildHear()) {
        if (cmd == "count") ChildSay(QString::number(dao.GetUserCount()));
        if (cmd == "rows")
            ChildSay(QString::number(dao.SqlQuery("select * from tblGroups")->RecordCount()));
    }
    dao.DbClose();
    return 0;
}

using ClsDAOProperties = DbFixture;

TEST_F(ClsDAOProperties, SetGetAndDeleteByNameWithoutCaseAndSeenByASecondProgram) {
    open();
    EXPECT_EQ(dao().PropertyGet("Owner", "nobody"), "nobody");
    dao().PropertySet("Owner", "O'Neill");
    dao().PropertySet("OWNER", "Head office");
    EXPECT_EQ(dao().PropertyGet("owner", "nobody"), "Head office");
    ChildProcess other(folder, "dao_holder", {dbPath()});
    EXPECT_EQ(other.readLine(), "open Head office");
    dao().PropertyDelete("Owner");
    dao().PropertyDelete("Never there");
    EXPECT_EQ(dao().PropertyGet("Owner", "gone"), "gone");
    EXPECT_FALSE(folder.logText().contains("ClsDAO.Property"));
}

using ClsDAOUsers = DbFixture;

TEST_F(ClsDAOUsers, CountsEveryProgramThatHasTheDatabaseOpenAndForgetsAKilledOne) {
    open();
    EXPECT_EQ(dao().GetUserCount(), 1);
    ChildProcess a(folder, "dao_holder", {dbPath()});
    ChildProcess b(folder, "dao_holder", {dbPath()});
    ASSERT_TRUE(a.readLine().startsWith("open"));
    ASSERT_TRUE(b.readLine().startsWith("open"));
    EXPECT_EQ(dao().GetUserCount(), 3);
    a.say("count");
    EXPECT_EQ(a.readLine(), "3");
    b.kill();
    EXPECT_EQ(dao().GetUserCount(), 2);
    a.say("quit");
    ASSERT_EQ(a.finish(), 0);
    EXPECT_EQ(dao().GetUserCount(), 1);
    dao().DbClose();
    EXPECT_EQ(dao().GetUserCount(), 0);
}

TEST_F(ClsDAOUsers, ASlotFileThatCannotBeMadeIsLoggedAndCountsZero) {
    ClsDAO d;
    EXPECT_EQ(d.DbOpen(folder.file("no/such/folder/x.mdb")), 2);
    EXPECT_EQ(d.GetUserCount(), 0);
    EXPECT_TRUE(folder.logText().contains("ClsDAO.GetUserCount: Error "));
}

using ClsDAOCompact = DbFixture;

TEST_F(ClsDAOCompact, CompactsKeepsTheOldFileAndOpensTheDatabaseAgain) {
    open();
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('G')"));
    ASSERT_TRUE(dao().SqlAction("delete from tblGroups where GroupId > 1"));
    dao().CompactDb();
    EXPECT_EQ(dao().OpenCount(), 1);
    EXPECT_TRUE(QFile::exists(folder.file("OldDb.mdb")));
    EXPECT_FALSE(QFile::exists(folder.file("TempDb.mdb")));
    EXPECT_EQ(scalar("select count(*) from tblGroups"), 1);
    // Counters keep counting after a compaction: ids are never reused.
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('H')"));
    EXPECT_EQ(dao().LastInsertId(), 51);
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains("Compacting database"));
    EXPECT_EQ(log.count("Open database [1]   " + dbPath()), 2);
    EXPECT_FALSE(log.contains("ClsDAO.CompactDb"));
}

TEST_F(ClsDAOCompact, IsRefusedWhileAnotherProgramHasTheDatabaseOpen) {
    open();
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('G')"));
    ChildProcess other(folder, "dao_holder", {dbPath()});
    ASSERT_TRUE(other.readLine().startsWith("open"));
    dao().CompactDb();
    EXPECT_EQ(dao().OpenCount(), 1);
    EXPECT_FALSE(QFile::exists(folder.file("OldDb.mdb")));
    EXPECT_TRUE(folder.logText().contains("in ClsDAO.CompactDb ("));
    // Both programs still work on the one file.
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('H')"));
    other.say("rows");
    EXPECT_EQ(other.readLine(), "2");
}

TEST_F(ClsDAOCompact, AFailedCompactionLeavesTheOriginalOpen) {
    open();
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('G')"));
    ASSERT_TRUE(QDir().mkdir(folder.file("TempDb.mdb")));  // the work file cannot be made
    dao().CompactDb();
    EXPECT_EQ(dao().OpenCount(), 1);
    EXPECT_EQ(scalar("select count(*) from tblGroups"), 1);
    EXPECT_TRUE(folder.logText().contains("in ClsDAO.CompactDb ("));
}

TEST_F(ClsDAOCompact, WhileHeldTwiceByThisProgramItLeavesTheCountAsItWas) {
    open();
    open();
    dao().CompactDb();
    EXPECT_EQ(dao().OpenCount(), 2);
    EXPECT_FALSE(QFile::exists(folder.file("OldDb.mdb")));
}

// Another program that opens the database the moment a compaction has begun, saves a
// row and closes again, once a round.
ROSTIMA_CHILD(compaction_peer) {
    ClsDAO& dao = SharedObjects::DAO();
    for (int round = 0;; ++round) {
        ChildSay("ready");
        if (ChildHear() != "go") return 0;
        QElapsedTimer waited;
        waited.start();
        while (!plat::UserSlots::GateClosed(args[0]) && waited.elapsed() < 5000)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const int status = dao.DbOpen(args[0]);
        const bool saved = dao.SqlAction("insert into tblGroups (GroupName) values (?)",
                                         {"peer " + QString::number(round)});
        dao.DbClose();
        ChildSay(QString("%1 %2").arg(status).arg(saved));
    }
}

// Rows enough that a compaction takes a moment.
void fillBookings(ClsDAO& dao) {
    ASSERT_TRUE(dao.SqlAction(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
        "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, CustomerId, "
        "ResourceId, Comments) select 1, 46000 + i, 540, 600, 0, 1, printf('%.200c', 'x') "
        "from n"));
}

TEST_F(ClsDAOCompact, AProgramOpeningWhileItRunsWaitsForItAndThenWorksOnTheNewFile) {
    open();
    fillBookings(dao());
    ChildProcess peer(folder, "compaction_peer", {dbPath()});
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        QFile::remove(folder.file("OldDb.mdb"));
        ASSERT_EQ(peer.readLine(), "ready");
        peer.say("go");
        dao().CompactDb();
        EXPECT_EQ(peer.readLine(), "0 1");                     // opened and saved
        EXPECT_TRUE(QFile::exists(folder.file("OldDb.mdb")));  // the compaction ran
        EXPECT_EQ(
            scalar(
                QString("select count(*) from tblGroups where GroupName = 'peer %1'").arg(round)),
            1);
    }
    EXPECT_FALSE(folder.logText().contains("in ClsDAO.CompactDb ("));
}

TEST_F(ClsDAOCompact, NeverTakesTheDatabaseFromItsPathEvenForAMoment) {
    open();
    fillBookings(dao());
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(folder.path()).constData(),
                                IN_MOVED_FROM | IN_DELETE),
              0);
    dao().CompactDb();
    // Every name that left the folder, by rename or removal.
    QStringList gone;
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            if (e->len) gone << QString::fromUtf8(e->name);
            p += sizeof(inotify_event) + e->len;
        }
    }
    close(watch);
    EXPECT_TRUE(gone.contains("TempDb.mdb"));
    EXPECT_FALSE(gone.contains("Rostima.mdb")) << gone.join(", ").toStdString();
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 20000);
    ClsDAO old;  // the file before the compaction is kept whole
    ASSERT_EQ(old.DbOpen(folder.file("OldDb.mdb")), 0);
    auto rs = old.SqlQuery("select count(*) from tblBookings");
    ASSERT_NE(rs, nullptr);
    EXPECT_EQ(rs->Field(0).toLong(), 20000);
    EXPECT_FALSE(folder.logText().contains("in ClsDAO.CompactDb ("));
}
