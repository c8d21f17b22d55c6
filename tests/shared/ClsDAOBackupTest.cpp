#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include "AppInfo.h"
#include "BackupFixture.h"
#include "ClsMutex.h"

// Another instance of the program, busy with a backup or restore until told to stop.
ROSTIMA_CHILD(backup_holder) {
    ClsMutex lock;
    if (!lock.GetMutex(plat::AppExeName() + "_Backup", true, 0)) return 1;
    ChildSay("held");
    ChildHear();
    return 0;
}

TEST_F(ClsDAOBackup, WritesGroupsByNameEachWithItsRecordsNumberedAndTextsWholeBesideTheirLine) {
    const int32_t d = day(2026, 3, 3);
    ASSERT_TRUE(dao().SqlActions({
        "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
        "('Zed', 0, 1440, 5), ('Clinic', 480, 1080, 15)",
        "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) values "
        "(2, 'Dr O''Hara', 15, 120, 30), (2, 'alpha', 5, 60, 5)",
        "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) values "
        "(2, 'Check~up', 65280, 10, 60, 20)",
        "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
        "('Ann', 'r1', '', 'r''3')",
        "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 2)",
        QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                "(1, %1, 600, 660, 0, 1, 0, '', '', '', ''), "
                "(1, %1, 540, 600, 1, 1, 0, 'a', 'b', 'c', "
                "'it''s' || char(13) || char(10) || 'fine ~ ok')")
            .arg(d),
    }));
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    const QString D = QString::number(d);
    EXPECT_EQ(QString::fromUtf8(ReadTestFile(backupFile())),
              "V~Rostima backup~1\n"
              "G~Clinic~480~1080~15\n"
              "R~alpha~5~60~5\n"
              "R~Dr O'Hara~15~120~30\n"
              "T~Check up~10~60~20~65280\n"
              "Q~Check%7Eup\n"
              "C~Ann~r1~~r'3\n"
              "A~Dr O'Hara~Check up~Ann~" +
                  D +
                  "~540~600~a~b~c~it's  fine   ok\n"
                  "Q~Dr O'Hara~Check%7Eup~Ann~a~b~c~it's%0D%0Afine %7E ok\n"
                  "K~2~1~1\n"
                  "A~Dr O'Hara~Check up~~" +
                  D +
                  "~600~660~~~~\n"
                  "Q~Dr O'Hara~Check%7Eup~~~~~\n"
                  "K~2~1~0\n"
                  "G~Zed~0~1440~5\n"
                  "E~G~2~R~2~T~1~C~1~A~2~K~2~Q~3~U~0\n");
    // Written complete under its own name: no work file is left beside it.
    EXPECT_EQ(QDir(ClsDAO::BackupFolder()).entryList(QDir::Files), QStringList{"20260301.txt"});
}

TEST_F(ClsDAOBackup, ThenRestoreGivesTheSameRowsAsSingleBookingsWithEveryTextAsItWas) {
    seed();
    // Bob comes back with his booking in the Annex, and so is of the Annex too.
    QStringList expected = content() << "C|Annex|Bob O'Neil|line\nbreak|a~b|";
    expected.sort();
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('Made later')"));
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), expected);
    // A customer of two groups comes back once in each, and each booking's customer
    // is the one of its own group.
    EXPECT_EQ(scalar("select count(*) from tblCustomers"), 4);
    EXPECT_EQ(scalar("select count(*) from tblBookings b where CustomerId <> 0 and not exists "
                     "(select 1 from tblCustomerGroups l join tblResources r on r.GroupId = "
                     "l.GroupId where l.CustomerId = b.CustomerId and r.ResourceId = "
                     "b.ResourceId)"),
              0);
    EXPECT_EQ(scalar("select count(*) from tblBookings where RepeatId <> 0"), 0);
    EXPECT_EQ(scalar("select count(*) from tblRepeats"), 0);
}

TEST_F(ClsDAOBackup, KeepsRowsWithNullColumnsWhichComeBackWithTheRecordsDefaults) {
    // Rows an older program or a hand edit left with Null columns still carry their
    // bookings; none of them may be lost through a backup and its restore.
    const int32_t d = day(2026, 3, 3);
    ASSERT_TRUE(dao().SqlActions({
        "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
        "('Nulls', 480, null, 15)",
        "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
        "values (1, 'Room', null, 120, 30)",
        "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
        "values (1, 'Visit', null, 15, 60, 15)",
        "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
        "('Ann', null, 'r2', '')",
        "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1)",
        QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                "(1, %1, 540, 600, 1, 1, 0, '', '', '', 'kept')")
            .arg(d),
    }));
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), QStringList({
                             "A|Nulls|Room|Visit|Ann|" + QString::number(d) + "|540|600||||kept",
                             "C|Nulls|Ann||r2|",
                             "G|Nulls|480|1440|15",
                             "R|Nulls|Room|15|120|30",
                             "T|Nulls|Visit|255|15|60|15",
                         }));
}

// Bob, written into the Annex only for his booking there, does not come back there.
TEST_F(ClsDAOBackup, WithoutAppointmentsRestoresEverythingButTheBookings) {
    seed();
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    const QStringList expected = content().filter(QRegularExpression("^[GRTC]\\|"));
    choose("20260301.txt", false);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), expected);
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 0);
    EXPECT_EQ(scalar("select count(*) from tblCustomers"), 3);
}

TEST_F(ClsDAOBackup, NamesRecordsOfOtherGroupsWithoutANumberAndLeavesGoneOrNullNamesEmpty) {
    const int32_t d = day(2026, 3, 3);
    ASSERT_TRUE(dao().SqlActions({
        "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
        "('Annex', 0, 1440, 5), ('Clinic', 480, 1080, 15)",
        "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) values "
        "(2, 'Desk', 15, 120, 30)",
        "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) values "
        "(1, 'Talk', 1, 10, 60, 20), (2, 'Visit', null, 10, 60, 20)",
        "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
        "('Ann', '', '', ''), ('Zoe', '', '', '')",
        "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 2)",
        // The Annex's type and a customer of no group (written in the group of the
        // booking); a type that is gone and one whose colour is null (it does not load as a
        // record, but is kept).
        QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                "(1, %1, 540, 600, 2, 1, 0, '', '', '', ''), "
                "(9, %1, 600, 660, 1, 1, 0, '', '', '', ''), "
                "(2, %1, 660, 720, 9, 1, 0, '', '', '', ''), "
                "(1, %1, 720, 780, 1, 1, 0, '', '', '', '')")
            .arg(d),
    }));
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    const QString D = QString::number(d);
    EXPECT_EQ(QString::fromUtf8(ReadTestFile(backupFile())),
              "V~Rostima backup~1\n"
              "G~Annex~0~1440~5\n"
              "T~Talk~10~60~20~1\n"
              "G~Clinic~480~1080~15\n"
              "R~Desk~15~120~30\n"
              "T~Visit~10~60~20~255\n"
              "C~Ann~~~\n"
              "C~Zoe~~~\n"
              "U\n"
              "A~Desk~Talk~Zoe~" +
                  D +
                  "~540~600~~~~\n"
                  "K~1~0~2\n"
                  "A~Desk~~Ann~" +
                  D +
                  "~600~660~~~~\n"
                  "K~1~0~1\n"
                  "A~Desk~Visit~~" +
                  D +
                  "~660~720~~~~\n"
                  "K~1~1~0\n"
                  "A~Desk~Talk~Ann~" +
                  D +
                  "~720~780~~~~\n"
                  "K~1~0~1\n"
                  "E~G~2~R~1~T~2~C~2~A~4~K~4~Q~0~U~1\n");
    // The type whose colour is null is said once, and written with the default colour.
    EXPECT_EQ(folder.logText().count("ClsTask.Load: Error 94"), 1);
}

TEST_F(ClsDAOBackup, AQueryWithoutRecordSetFailsTheBackupAndKeepsTheFileThatWasThere) {
    seed();
    WriteTestFile(backupFile(), "the backup of last week\n");
    ASSERT_TRUE(dao().SqlAction("drop table tblTasks"));
    EXPECT_EQ(dao().Backup(backupFile()), Saved::NotRead);
    EXPECT_EQ(ReadTestFile(backupFile()), "the backup of last week\n");
    EXPECT_EQ(QDir(ClsDAO::BackupFolder()).entryList(QDir::Files), QStringList{"20260301.txt"});
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains("in ClsDAO.Backup ("));
    EXPECT_TRUE(log.contains("SqlStr = select * from tblTasks where GroupId = "));
}

// Another program locks the database once a booking's day shows, before its names are
// read: the backup fails rather than write a name it did not read, and the old file stays.
TEST_F(ClsDAOBackup, ABookingsNameThatCannotBeReadFailsTheBackupAndKeepsTheFileThatWasThere) {
    ASSERT_TRUE(dao().SqlActions({
        "insert into tblGroups (GroupName) values ('Clinic')",
        "insert into tblResources (GroupId, ResourceName) values (1, 'Desk')",
        "insert into tblTasks (GroupId, TaskName) values (2, 'Talk')",  // read by its id
        QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                "CustomerId, ResourceId) values (1, %1, 540, 600, 0, 1)")
            .arg(day(2026, 3, 3)),
    }));
    WriteTestFile(backupFile(), "the backup of last week\n");
    dao().setBusyWaitMs(200);
    std::optional<HeldDatabase> held;
    host.onPanel = [&] {
        if (host.panels.last() == "Person=3 March 2026" && !held) held.emplace(folder, dbPath());
    };
    EXPECT_EQ(dao().Backup(backupFile()), Saved::NotRead);
    EXPECT_EQ(ReadTestFile(backupFile()), "the backup of last week\n");
}

TEST_F(ClsDAOBackup, ShowsProgressWithTheInputOffAndClearsItAfterwards) {
    seed();
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    EXPECT_TRUE(host.panels.contains("Task=Annex"));
    EXPECT_TRUE(host.panels.contains("Person=Dr O'Hara"));
    EXPECT_TRUE(host.panels.contains("Person=3 March 2026"));
    choose("20260301.txt", true);
    host.panels.clear();
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_TRUE(host.panels.contains("Task=Clinic"));
    EXPECT_TRUE(host.panels.contains("Person=4 March 2026"));
    EXPECT_TRUE(host.inputOffWhileWorking);
    EXPECT_TRUE(host.input);
    EXPECT_TRUE(host.timer);
    EXPECT_EQ(host.panels.mid(host.panels.size() - 2), (QStringList{"Task=", "Person="}));
}

TEST_F(ClsDAOBackup, ABackupAskedForWhileOneRunsIsRefusedAtOnce) {
    seed();
    QElapsedTimer clock;
    bool asked = false, inner = true;
    host.onPanel = [&] {
        if (asked) return;
        asked = true;
        clock.start();
        inner = dao().Backup(backupFile("2.txt")) == Saved::Done || dao().Restore(backupFile());
    };
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    EXPECT_FALSE(inner);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(QFile::exists(backupFile("2.txt")));
}

TEST_F(ClsDAOBackup, AnotherInstanceHoldingTheBackupLockMakesBackupReturnFalseUnwritten) {
    seed();
    ChildProcess peer(folder, "backup_holder");
    ASSERT_EQ(peer.readLine(), "held");
    EXPECT_EQ(dao().Backup(backupFile()), Saved::NotRead);  // after its 10 s wait
    EXPECT_FALSE(QFile::exists(backupFile()));
    EXPECT_TRUE(host.timer);
    EXPECT_TRUE(host.input);
    EXPECT_FALSE(folder.logText().contains("ClsDAO.Backup"));
    peer.say("quit");
    EXPECT_EQ(peer.finish(), 0);
}

struct SubStrCase {
    const char* line;
    int16_t index;
    const char* field;
};
void PrintTo(const SubStrCase& c, std::ostream* os) {
    *os << '"' << c.line << "\" field " << c.index;
}

class ClsDAOGetSubStr : public ::testing::TestWithParam<SubStrCase> {};

TEST_P(ClsDAOGetSubStr, GivesTheFieldCountingTheLetterAsOne) {
    EXPECT_EQ(ClsDAO::GetSubStr(GetParam().line, GetParam().index), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(Fields, ClsDAOGetSubStr,
                         ::testing::Values(SubStrCase{"G~Morning~480~720~15", 1, "G"},
                                           SubStrCase{"G~Morning~480~720~15", 2, "Morning"},
                                           SubStrCase{"G~Morning~480~720~15", 5, "15"},
                                           SubStrCase{"G~Morning~480~720~15", 6, ""},
                                           SubStrCase{"G~Morning~480~720~15", 0, ""},
                                           SubStrCase{"A~Desk~Visit~~45000", 4, ""},
                                           SubStrCase{"A~Desk~Visit~~45000", 5, "45000"},
                                           SubStrCase{"", 1, ""}));

TEST(ClsDAOGetSubStrNegative, IsATrappedErrorGivingTheEmptyText) {
    TempProgramFolder folder;
    EXPECT_EQ(ClsDAO::GetSubStr("G~Morning", -1), "");
    EXPECT_TRUE(folder.logText().contains("in ClsDAO.GetSubStr ("));
}
