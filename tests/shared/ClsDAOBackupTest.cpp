#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <functional>

#include "AppInfo.h"
#include "ClsDate.h"
#include "ClsMutex.h"
#include "ComboBox.h"
#include "DbFixture.h"
#include "DlgRestore.h"

namespace {
int32_t day(int y, int m, int d) { return SharedObjects::Date().DateToLong(QDate(y, m, d)); }

// A host that also notes whether its input was off whenever a progress panel was set.
class RecordingHost : public FakeHost {
public:
    bool inputOffWhileWorking = true;
    std::function<void()> onPanel;
    void SetPanelText(const QString& key, const QString& text) override {
        FakeHost::SetPanelText(key, text);
        if (!text.isEmpty()) inputOffWhileWorking = inputOffWhileWorking && !input;
        if (onPanel) onPanel();
    }
};
}  // namespace

// Another instance of the program, busy with a backup or restore until told to stop.
ROSTIMA_CHILD(backup_holder) {
    ClsMutex lock;
    if (!lock.GetMutex(plat::AppExeName() + "_Backup", true, 0)) return 1;
    ChildSay("held");
    ChildHear();
    return 0;
}

class BackupTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        SharedObjects::SetHost(&host);
        open();
    }

    QString backupFile(const QString& name = "20260301.txt") const {
        return ClsDAO::BackupFolder() + "/" + name;
    }

    // Two groups sharing a customer, bookings with and without one, texts with
    // apostrophes, "~" and line breaks, a booking of a series, and an empty group.
    void seed() {
        const int32_t d = day(2026, 3, 3);
        ASSERT_TRUE(dao().SqlActions({
            "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
            "('Clinic', 480, 1080, 15), ('Annex', 540, 720, 30), ('Zed', 0, 1440, 5)",
            "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
            "values (1, 'Dr O''Hara', 15, 120, 30), (1, 'Alpha', 15, 600, 15), "
            "(2, 'Desk ~2', 30, 180, 30)",
            "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
            "values (1, 'Check~up', 65280, 10, 60, 20), (2, 'Visit', -2147483643, 30, 90, 30)",
            "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
            "('Ann', 'r1', '', 'r''3'), ('Bob O''Neil', 'line' || char(10) || 'break', "
            "'a~b', '')",
            "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1), (1, 2), (2, 1)",
            "insert into tblRepeats (SerialNo) values ('0')",
            QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                    "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                    "(1, %1, 540, 600, 1, 1, 1, 'a', 'b', 'c', 'it''s' || char(13) || char(10) "
                    "|| 'fine ~ ok'), (1, %1, 600, 660, 0, 1, 0, '', '', '', ''), "
                    "(1, %2, 540, 560, 2, 2, 0, '', '', '', 'x'), "
                    "(2, %1, 600, 630, 1, 3, 0, 'Ann''s', '', '', '')")
                .arg(d)
                .arg(d + 1),
        }));
    }

    // The scheduling data by names, not ids, one sorted line a row: what a backup
    // carries. A booking without a customer shows "(none)".
    QStringList content() {
        QStringList rows;
        auto add = [&](const QString& kind, const QString& sql) {
            auto rs = dao().SqlQuery(sql);
            ASSERT_NE(rs, nullptr) << sql.toStdString();
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList fields{kind};
                for (int c = 0; c < rs->FieldCount(); ++c) fields << rs->Field(c).toString();
                rows << fields.join('|');
            }
        };
        add("G", "select GroupName, DayStart, DayEnd, Interval from tblGroups");
        add("R",
            "select g.GroupName, r.ResourceName, r.MinTime, r.MaxTime, r.InitTime from "
            "tblResources r join tblGroups g on g.GroupId = r.GroupId");
        add("T",
            "select g.GroupName, t.TaskName, t.Colour, t.MinTime, t.MaxTime, t.InitTime from "
            "tblTasks t join tblGroups g on g.GroupId = t.GroupId");
        add("C",
            "select g.GroupName, c.CustomerName, c.Ref01, c.Ref02, c.Ref03 from tblCustomers c "
            "join tblCustomerGroups l on l.CustomerId = c.CustomerId join tblGroups g on "
            "g.GroupId = l.GroupId");
        add("A",
            "select g.GroupName, r.ResourceName, t.TaskName, case when b.CustomerId = 0 then "
            "'(none)' else c.CustomerName end, b.BookingDate, b.BookingStart, b.BookingEnd, "
            "b.Ref01, b.Ref02, b.Ref03, b.Comments from tblBookings b join tblResources r on "
            "r.ResourceId = b.ResourceId join tblGroups g on g.GroupId = r.GroupId join "
            "tblTasks t on t.TaskId = b.TaskId left join tblCustomers c on c.CustomerId = "
            "b.CustomerId");
        rows.sort();
        return rows;
    }

    // Makes the restore dialog's choice as a user would: the file, bookings or not.
    void choose(const QString& name, bool withBookings) {
        DlgRestore dlg;
        const int i = dlg.CbFile->findText(name);
        ASSERT_GE(i, 0) << name.toStdString();
        dlg.CbFile->SetListIndex(i);
        dlg.Check1->setChecked(withBookings);
        dlg.BtnRestore_Click(0);
        ASSERT_EQ(DlgRestore::BackupFile(), backupFile(name));
    }

    RecordingHost host;
};

using ClsDAOBackup = BackupTest;

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
    ASSERT_TRUE(dao().Backup(backupFile()));
    const QString D = QString::number(d);
    EXPECT_EQ(QString::fromUtf8(ReadTestFile(backupFile())),
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
                  "E~G~2~R~2~T~1~C~1~A~2~K~2~Q~3\n");
    // Written complete under its own name: no work file is left beside it.
    EXPECT_EQ(QDir(ClsDAO::BackupFolder()).entryList(QDir::Files), QStringList{"20260301.txt"});
}

TEST_F(ClsDAOBackup, ThenRestoreGivesTheSameRowsAsSingleBookingsWithEveryTextAsItWas) {
    seed();
    const QStringList expected = content();
    ASSERT_TRUE(dao().Backup(backupFile()));
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('Made later')"));
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), expected);
    // The customer of two groups comes back once in each, and each booking's customer
    // is the one of its own group.
    EXPECT_EQ(scalar("select count(*) from tblCustomers"), 3);
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
    ASSERT_TRUE(dao().Backup(backupFile()));
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

TEST_F(ClsDAOBackup, WithoutAppointmentsRestoresEverythingButTheBookings) {
    seed();
    ASSERT_TRUE(dao().Backup(backupFile()));
    const QStringList expected = content().filter(QRegularExpression("^[GRTC]\\|"));
    choose("20260301.txt", false);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), expected);
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 0);
}

TEST_F(ClsDAOBackup, RestoreDropsBookingsItCannotPlaceAndKeepsThoseWithoutACustomer) {
    const QString d = QString::number(day(2026, 3, 3));
    const QStringList lines = {
        "G~Clinic~480~1080~15",
        "R~Dr A~15~120~30",
        "T~Visit~10~60~20~255",
        "C~Ann~~~",
        "X~a kind of line this program does not know~1",
        "A~Dr A~Visit~Ann~" + d + "~540~600~~~~first",
        "A~Dr A~Visit~~" + d + "~600~660~~~~no customer",
        "A~Dr A~Visit~Ann~" + d + "~570~630~~~~overlaps the first",
        "A~Dr B~Visit~Ann~" + d + "~700~730~~~~no such resource",
        "A~Dr A~Talk~Ann~" + d + "~700~730~~~~no such type",
        "A~Dr A~Visit~Zoe~" + d + "~700~730~~~~no such customer",
        "G~Annex~480~1080~15",
        "A~Dr A~Visit~Ann~" + d + "~800~830~~~~names of the group before",
    };
    WriteTestFile(backupFile(), (lines.join("\r\n") + "\r\n").toUtf8());
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    auto rs = dao().SqlQuery("select Comments, CustomerId from tblBookings order by Comments");
    ASSERT_NE(rs, nullptr);
    QStringList kept;
    for (; !rs->Eof(); rs->MoveNext())
        kept << rs->Field(0).toString() + "/" + QString::number(rs->Field(1).toLong() != 0);
    EXPECT_EQ(kept, (QStringList{"first/1", "no customer/0"}));
    EXPECT_EQ(scalar("select count(*) from tblGroups"), 2);
    EXPECT_TRUE(folder.logText().contains("ClsDAO.Restore: 5 booking(s)"));
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
        // The Annex's type and an unlinked customer; a type that is gone and one whose
        // colour is null (it does not load as a record, but is kept).
        QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                "(1, %1, 540, 600, 2, 1, 0, '', '', '', ''), "
                "(9, %1, 600, 660, 1, 1, 0, '', '', '', ''), "
                "(2, %1, 660, 720, 9, 1, 0, '', '', '', ''), "
                "(1, %1, 720, 780, 1, 1, 0, '', '', '', '')")
            .arg(d),
    }));
    ASSERT_TRUE(dao().Backup(backupFile()));
    const QString D = QString::number(d);
    EXPECT_EQ(QString::fromUtf8(ReadTestFile(backupFile())),
              "G~Annex~0~1440~5\n"
              "T~Talk~10~60~20~1\n"
              "G~Clinic~480~1080~15\n"
              "R~Desk~15~120~30\n"
              "T~Visit~10~60~20~255\n"
              "C~Ann~~~\n"
              "A~Desk~Talk~Zoe~" +
                  D +
                  "~540~600~~~~\n"
                  "K~1~0~0\n"
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
                  "E~G~2~R~1~T~2~C~1~A~4~K~4~Q~0\n");
    // The type whose colour is null is said once, and written with the default colour.
    EXPECT_EQ(folder.logText().count("ClsTask.Load: Error 94"), 1);
}

TEST_F(ClsDAOBackup, RestoreFindsNamesAsTheDatabaseComparesThemTheFirstOfANameFirst) {
    const QString d = QString::number(day(2026, 3, 3));
    const QStringList lines = {
        "G~Clinic~480~1080~15",
        "R~Alpha~15~120~30",
        "R~ALPHA~15~120~30",
        "R~\u00C4rzt~15~120~30",
        "T~Visit~10~60~20~255",
        "C~Ann~~~",
        "C~ANN~~~",
        "A~alpha~VISIT~ann~" + d + "~540~600~~~~upper and lower case",
        "A~\u00E4rzt~Visit~~" + d + "~540~600~~~~only A to Z compare without case",
        "A~\u00C4rzt~visit~~" + d + "~540~600~~~~as written",
    };
    WriteTestFile(backupFile(), (lines.join("\n") + "\n").toUtf8());
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    auto rs = dao().SqlQuery("select Comments, ResourceId, CustomerId from tblBookings");
    ASSERT_NE(rs, nullptr);
    QStringList kept;
    for (; !rs->Eof(); rs->MoveNext())
        kept << QString("%1/%2/%3")
                    .arg(rs->Field(0).toString(), rs->Field(1).toString(), rs->Field(2).toString());
    EXPECT_EQ(kept, (QStringList{"upper and lower case/1/1", "as written/3/0"}));
}

TEST_F(ClsDAOBackup, RestorePutsEveryBookingBackOnTheRecordsNamedAsWrittenCaseAndAll) {
    const int32_t d = day(2026, 3, 3);
    ASSERT_TRUE(dao().SqlActions({
        "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
        "('Office', 480, 1080, 15)",
        "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) values "
        "(1, 'Alice', 15, 120, 30), (1, 'alice', 15, 120, 30)",
        "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) values "
        "(1, 'Visit', 255, 15, 60, 15), (1, 'VISIT', 255, 15, 60, 15)",
        "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
        "('Bob', '', '', ''), ('bob', '', '', '')",
        "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1), (2, 1)",
        QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                "(1, %1, 630, 660, 1, 1, 0, '', '', '', ''), "
                "(2, %1, 540, 570, 2, 2, 0, '', '', '', ''), "
                "(2, %1, 630, 660, 2, 2, 0, '', '', '', '')")
            .arg(d),
    }));
    const QStringList before = content();
    ASSERT_TRUE(dao().Backup(backupFile()));
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), before);
    EXPECT_EQ(dao().LastRestore().LostBookings(), 0);
    EXPECT_TRUE(host.asked.isEmpty());  // the backup marks itself whole
}

struct BadFile {
    const char* what;
    std::function<QByteArray(const QByteArray& good)> make;  // from a good backup
};
void PrintTo(const BadFile& b, std::ostream* os) { *os << b.what; }

class ClsDAORestoreRefuses : public BackupTest, public ::testing::WithParamInterface<BadFile> {};

// Nothing may change: neither before the tables are emptied (a file read and checked
// first) nor after (a record refused half-way is rolled back with the rest).
TEST_P(ClsDAORestoreRefuses, AndLeavesTheDatabaseAsItWas) {
    host.answer = false;  // to whether a file that may be incomplete is to be restored
    seed();
    ASSERT_TRUE(dao().Backup(backupFile("1.txt")));
    const QByteArray good = ReadTestFile(backupFile("1.txt"));
    WriteTestFile(backupFile(), GetParam().make(good));
    if (QByteArray(GetParam().what) == "a missing file") QFile::remove(backupFile());
    choose("1.txt", true);
    const QStringList before = content();
    const int64_t customers = scalar("select count(*) from tblCustomers");
    EXPECT_FALSE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), before);
    EXPECT_EQ(scalar("select count(*) from tblCustomers"), customers);
    EXPECT_EQ(scalar("select count(*) from tblRepeats"), 1);
    const bool asks = QByteArray(GetParam().what).contains("answered No");
    EXPECT_EQ(host.asked.size(), asks ? 1 : 0);
    EXPECT_EQ(dao().LastRestore().declined, asks);
    EXPECT_TRUE(folder.logText().contains(asks ? "has no end mark" : "in ClsDAO.Restore ("));
    EXPECT_TRUE(host.input);
}

// A good backup cut at the line end after the first line of its second group, with its end
// mark or without.
QByteArray cutInSecondGroup(const QByteArray& good, bool keepEnd) {
    const qsizetype second = good.indexOf("\nG~") + 1;  // its G line, then one more line
    const QByteArray cut = good.left(good.indexOf('\n', good.indexOf('\n', second) + 1) + 1);
    return keepEnd ? cut + good.mid(good.lastIndexOf("\nE~") + 1) : cut;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ClsDAORestoreRefuses,
    ::testing::Values(
        BadFile{"a missing file", [](const QByteArray&) { return QByteArray(); }},
        BadFile{"an empty file", [](const QByteArray&) { return QByteArray(); }},
        BadFile{"a file cut off inside a line",
                [](const QByteArray& g) { return g.left(g.size() - 5); }},
        BadFile{"a file without its last line end",
                [](const QByteArray& g) { return g.left(g.size() - 1); }},
        BadFile{"a file cut at a line end whose end mark counts more lines",
                [](const QByteArray& g) { return cutInSecondGroup(g, true); }},
        BadFile{"a file cut at a line end without an end mark, answered No",
                [](const QByteArray& g) { return cutInSecondGroup(g, false); }},
        BadFile{"a letter in a number",
                [](const QByteArray& g) { return QByteArray(g).replace("~540~", "~54O~"); }},
        BadFile{"a minute value beyond 16 bits",
                [](const QByteArray& g) { return QByteArray(g).replace("~1080~", "~99999~"); }},
        BadFile{"a number with a blank",
                [](const QByteArray& g) { return QByteArray(g).replace("~1080~", "~ 1080~"); }},
        BadFile{"a line with a field too few",
                [](const QByteArray& g) { return QByteArray(g).replace("~r1~", "~"); }},
        BadFile{"a line with a field too many",
                [](const QByteArray& g) { return QByteArray(g).replace("~r1~", "~r~1~"); }},
        BadFile{"a line that only begins with a record letter",
                [](const QByteArray& g) { return "Groups of the clinic\n" + g; }},
        BadFile{"bytes that are not UTF-8",
                [](const QByteArray& g) { return QByteArray(g).replace("Ann", "\xC4nn"); }},
        BadFile{"a group the record refuses after the tables were emptied",
                [](const QByteArray& g) {
                    return QByteArray(g).replace("G~Zed~0~1440~5", "G~Zed~0~1440~0");
                }}),
    [](const ::testing::TestParamInfo<BadFile>& info) {
        QString name = QString(info.param.what).replace(QRegularExpression("[^A-Za-z0-9]"), "_");
        return name.toStdString();
    });

TEST_F(ClsDAOBackup, AQueryWithoutRecordSetFailsTheBackupAndKeepsTheFileThatWasThere) {
    seed();
    WriteTestFile(backupFile(), "the backup of last week\n");
    ASSERT_TRUE(dao().SqlAction("drop table tblTasks"));
    EXPECT_FALSE(dao().Backup(backupFile()));
    EXPECT_EQ(ReadTestFile(backupFile()), "the backup of last week\n");
    EXPECT_EQ(QDir(ClsDAO::BackupFolder()).entryList(QDir::Files), QStringList{"20260301.txt"});
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains("in ClsDAO.Backup ("));
    EXPECT_TRUE(log.contains("SqlStr = select * from tblTasks where GroupId = "));
}

TEST_F(ClsDAOBackup, ShowsProgressWithTheInputOffAndClearsItAfterwards) {
    seed();
    ASSERT_TRUE(dao().Backup(backupFile()));
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
        inner = dao().Backup(backupFile("2.txt")) || dao().Restore(backupFile());
    };
    ASSERT_TRUE(dao().Backup(backupFile()));
    EXPECT_FALSE(inner);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(QFile::exists(backupFile("2.txt")));
}

TEST_F(ClsDAOBackup, AnotherInstanceHoldingTheBackupLockMakesBackupReturnFalseUnwritten) {
    seed();
    ChildProcess peer(folder, "backup_holder");
    ASSERT_EQ(peer.readLine(), "held");
    EXPECT_FALSE(dao().Backup(backupFile()));  // after its 10 s wait
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
