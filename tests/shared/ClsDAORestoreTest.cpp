#include <gtest/gtest.h>

#include <QFile>

#include "BackupFixture.h"

using ClsDAORestore = BackupTest;

TEST_F(ClsDAORestore, DropsBookingsItCannotPlaceAndKeepsThoseWithoutACustomer) {
    const QString d = QString::number(day(2026, 3, 3));
    const QStringList lines = {
        "G~Clinic~480~1080~15",
        "R~Dr A~15~120~30",
        "R~Smith~15~120~30",
        "R~Smith~15~120~30",
        "T~Visit~10~60~20~255",
        "C~Ann~~~",
        "X~a kind of line this program does not know~1",
        "A~Smith~Visit~Ann~" + d + "~540~600~~~~on the first Smith",
        "A~Smith~Visit~Ann~" + d + "~570~630~~~~on the other Smith in the source",
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
    EXPECT_EQ(kept, (QStringList{"first/1", "no customer/0", "on the first Smith/1"}));
    EXPECT_EQ(scalar("select count(*) from tblGroups"), 2);
    EXPECT_EQ(dao().LastRestore().clashes, 1);
    EXPECT_EQ(dao().LastRestore().alikeClashes, 1);
    EXPECT_TRUE(folder.logText().contains("ClsDAO.Restore: 6 booking(s)"));
}

TEST_F(ClsDAORestore, FindsNamesAsTheDatabaseComparesThemTheFirstOfANameFirst) {
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

TEST_F(ClsDAORestore, PutsEveryBookingBackOnTheRecordsNamedAsWrittenCaseAndAll) {
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
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), before);
    EXPECT_EQ(dao().LastRestore().LostBookings(), 0);
    EXPECT_TRUE(host.asked.isEmpty());  // the backup marks itself whole
}

// Records that only more than their names tell apart: alike, blank, with the field mark or
// a line break, with the escape's own mark. Each booking must come back on its own records,
// known by a value of their own (a resource by its shortest time, a type by its colour, a
// customer by its first reference).
TEST_F(ClsDAORestore, PutsEveryBookingBackOnItsOwnRecordsWhateverTheirNames) {
    const QStringList names = {"Smith", "Smith", "", "Lab~X", "Lab X", "Lab%7EX", "two\nlines"};
    const qsizetype n = names.size();
    const int32_t d = day(2026, 3, 3);
    ASSERT_TRUE(
        dao().SqlActions({"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
                          "values ('Day~Care', 480, 1080, 15), ('Day Care', 0, 1440, 5)"}));
    for (qsizetype i = 0; i < n; ++i) {
        const int32_t k = static_cast<int32_t>(i) + 1;
        ASSERT_TRUE(
            dao().SqlAction("insert into tblResources (GroupId, ResourceName, MinTime, "
                            "MaxTime, InitTime) values (1, ?, ?, 600, 15)",
                            {names[i], k}));
        ASSERT_TRUE(
            dao().SqlAction("insert into tblTasks (GroupId, TaskName, Colour, MinTime, "
                            "MaxTime, InitTime) values (1, ?, ?, 15, 600, 15)",
                            {names[i], k}));
        ASSERT_TRUE(
            dao().SqlAction("insert into tblCustomers (CustomerName, Ref01, Ref02, "
                            "Ref03) values (?, ?, '', '')",
                            {names[i], QString::number(k)}));
        ASSERT_TRUE(dao().SqlAction(
            "insert into tblCustomerGroups (CustomerId, GroupId) values (?, 1)", {k}));
    }
    // Booking i: resource i, type i + 1 and customer i + 2, each in turn; and one without
    // a customer.
    for (qsizetype i = 0; i <= n; ++i) {
        const auto k = static_cast<int32_t>(i % n);
        const int32_t customer = i == n ? 0 : (k + 2) % n + 1;
        ASSERT_TRUE(dao().SqlAction(
            "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
            "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
            "(?, ?, ?, ?, ?, ?, 0, '', '', '', '')",
            {(k + 1) % n + 1, d, 480 + 60 * i, 510 + 60 * i, customer, k + 1}));
    }
    auto bookings = [this] {
        QStringList rows;
        auto rs = dao().SqlQuery(
            "select r.ResourceName, r.MinTime, t.TaskName, t.Colour, c.CustomerName, c.Ref01, "
            "b.BookingStart, g.GroupName from tblBookings b join tblResources r on "
            "r.ResourceId = b.ResourceId join tblTasks t on t.TaskId = b.TaskId join tblGroups "
            "g on g.GroupId = r.GroupId left join tblCustomers c on c.CustomerId = "
            "b.CustomerId order by b.BookingStart");
        for (; rs && !rs->Eof(); rs->MoveNext()) {
            QStringList fields;
            for (int c = 0; c < rs->FieldCount(); ++c) fields << rs->Field(c).toString();
            rows << fields.join('|');
        }
        return rows;
    };
    const QStringList before = bookings();
    ASSERT_EQ(before.size(), n + 1);
    const QStringList all = content();
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(bookings(), before);
    EXPECT_EQ(content(), all);
    EXPECT_EQ(dao().LastRestore().LostBookings(), 0);
    EXPECT_EQ(dao().LastRestore().alike, 0);
}

// A backup without the numbers of a booking's records (an older one) names them only:
// where its group has others of the name, the booking goes to the first, and is counted.
TEST_F(ClsDAORestore, CountsBookingsOfAnOlderBackupWhoseRecordsAreNamedAlike) {
    const QString d = QString::number(day(2026, 3, 3));
    const struct {
        const char* what;
        QStringList records;   // of the group "Clinic", after its type "Visit"
        QStringList bookings;  // resource~type~customer of each, on the day one after another
        int alike;
        const char* placed;  // ResourceId/CustomerId of each booking
    } cases[] = {
        {"two customers of one name",
         {"R~Desk~15~120~30", "C~Smith~~~", "C~Smith~~~"},
         {"Desk~Visit~Smith", "Desk~Visit~Smith"},
         2,
         "1/1 1/1"},
        {"two resources written alike",
         {"R~Lab X~15~120~30", "R~Lab X~15~120~30"},
         {"Lab X~Visit~"},
         1,
         "1/0"},
        {"a customer without a name", {"R~Desk~15~120~30", "C~~~~"}, {"Desk~Visit~"}, 1, "1/0"},
        {"two resources of one name but for case, named in a third case",
         {"R~Alice~15~120~30", "R~alice~15~120~30"},
         {"ALICE~Visit~", "alice~Visit~"},
         1,
         "1/0 2/0"},
        {"names of their own", {"R~Desk~15~120~30", "C~Smith~~~"}, {"Desk~Visit~Smith"}, 0, "1/1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList lines{"G~Clinic~480~1080~15", "T~Visit~10~60~20~255"};
        lines += c.records;
        for (int i = 0; i < c.bookings.size(); ++i)
            lines << "A~" + c.bookings[i] + "~" + d + "~" + QString::number(540 + 60 * i) + "~" +
                         QString::number(570 + 60 * i) + "~~~~";
        WriteTestFile(backupFile(), (lines.join("\n") + "\n").toUtf8());
        choose("20260301.txt", true);
        const qsizetype logFrom = folder.logText().size();
        ASSERT_TRUE(dao().Restore(backupFile()));
        EXPECT_EQ(dao().LastRestore().alike, c.alike);
        EXPECT_EQ(dao().LastRestore().LostBookings(), 0);
        // Each booking's records by their places among the records of their kind.
        QStringList placed;
        const int64_t firstResource = scalar("select min(ResourceId) from tblResources");
        const int64_t firstCustomer = scalar("select min(CustomerId) from tblCustomers");
        auto ids =
            dao().SqlQuery("select ResourceId, CustomerId from tblBookings order by BookingStart");
        for (; ids && !ids->Eof(); ids->MoveNext()) {
            const int64_t customer = ids->Field(1).toLong();
            placed << QString("%1/%2")
                          .arg(ids->Field(0).toLong() - firstResource + 1)
                          .arg(customer ? customer - firstCustomer + 1 : 0);
        }
        EXPECT_EQ(placed.join(' '), c.placed);
        EXPECT_EQ(folder.logText().mid(logFrom).contains("on the first of records named alike"),
                  c.alike > 0);
    }
}

// Empty lines after the end mark (LF or CR LF, as an editor or a copy adds them) carry
// nothing: the backup restores without a question.
TEST_F(ClsDAORestore, RestoresAWholeBackupFollowedByEmptyLinesWithoutAsking) {
    seed();
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    const QByteArray good = ReadTestFile(backupFile());
    choose("20260301.txt", true);
    for (const QByteArray& file :
         {good + "\n\r\n", QByteArray(good).replace("\n", "\r\n") + "\r\n"}) {
        WriteTestFile(backupFile(), file);
        EXPECT_TRUE(dao().Restore(backupFile())) << dao().LastRestore().refusal.toStdString();
    }
    EXPECT_TRUE(host.asked.isEmpty());
}

TEST_F(ClsDAORestore, ABackupOfAnEmptyDatabaseLeavesTheDatabaseEmpty) {
    ASSERT_EQ(dao().Backup(backupFile()), Saved::Done);
    seed();
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    EXPECT_EQ(content(), QStringList());
}

// Lines no editor writes: a group whose day ends before it starts (left out with its
// lines), and bookings that end before or as they start or lie outside the day.
TEST_F(ClsDAORestore, LeavesOutLinesNoEditorWritesAndCountsThemByReason) {
    const QString d = QString::number(day(2026, 3, 3));
    const QString e = QString::number(day(2026, 3, 4));
    const QStringList lines = {
        "G~Clinic~480~1080~15",
        "R~Desk~15~120~30",
        "T~Visit~10~60~20~255",
        "A~Desk~Visit~~" + d + "~540~600~~~~kept",
        "A~Desk~Visit~~" + e + "~0~1440~~~~the whole day",
        "A~Desk~Visit~~" + d + "~660~630~~~~ends before it starts",
        "A~Desk~Visit~~" + d + "~660~660~~~~ends as it starts",
        "A~Desk~Visit~~" + d + "~-15~30~~~~starts before the day",
        "A~Desk~Visit~~" + d + "~1430~1445~~~~ends after the day",
        "G~Night~1320~360~30",
        "R~Bed~30~120~30",
        "T~Sleep~30~120~30~255",
        "C~Nora~~~",
        "A~Bed~Sleep~Nora~" + d + "~1320~1380~~~~of the night",
        "G~Annex~480~1080~15",
        "E~G~3~R~2~T~2~C~1~A~7",
    };
    WriteTestFile(backupFile(), (lines.join("\n") + "\n").toUtf8());
    choose("20260301.txt", true);
    ASSERT_TRUE(dao().Restore(backupFile()));
    auto column = [this](const QString& sql) {
        QStringList values;
        for (auto rs = dao().SqlQuery(sql); rs && !rs->Eof(); rs->MoveNext())
            values << rs->Field(0).toString();
        return values;
    };
    EXPECT_EQ(column("select Comments from tblBookings order by Comments"),
              (QStringList{"kept", "the whole day"}));
    EXPECT_EQ(column("select GroupName from tblGroups order by GroupName"),
              (QStringList{"Annex", "Clinic"}));
    EXPECT_EQ(column("select ResourceName from tblResources"), QStringList{"Desk"});
    EXPECT_EQ(scalar("select count(*) from tblCustomers"), 0);
    const ClsDAO::RestoreReport& report = dao().LastRestore();
    EXPECT_EQ(report.badTimes, 4);
    EXPECT_EQ(report.groupsLeftOut, 1);
    EXPECT_EQ(report.inGroupLeftOut, 1);
    EXPECT_EQ(report.LostBookings(), 5);
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains("1 group(s) of " + backupFile() + " left out"));
    EXPECT_TRUE(log.contains("impossible times 4, group left out 1"));
}

struct BadFile {
    const char* what;
    std::function<QByteArray(const QByteArray& good)> make;  // from a good backup
    const char* says = "";                                   // in the reason given
};
void PrintTo(const BadFile& b, std::ostream* os) { *os << b.what; }

class ClsDAORestoreRefuses : public BackupTest, public ::testing::WithParamInterface<BadFile> {};

// Nothing may change: neither before the tables are emptied (a file read and checked
// first) nor after (a record refused half-way is rolled back with the rest).
TEST_P(ClsDAORestoreRefuses, AndLeavesTheDatabaseAsItWas) {
    host.answer = false;  // to whether a file that may be incomplete is to be restored
    seed();
    ASSERT_EQ(dao().Backup(backupFile("1.txt")), Saved::Done);
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
    EXPECT_EQ(dao().LastRestore().refusal.isEmpty(), asks);  // the reason, for the user
    EXPECT_TRUE(dao().LastRestore().refusal.contains(GetParam().says))
        << dao().LastRestore().refusal.toStdString();
    EXPECT_TRUE(folder.logText().contains(asks ? "has no end mark" : "in ClsDAO.Restore ("));
    EXPECT_TRUE(host.input);
}

// A good backup cut at the line end after the first line of its second group, with its end
// mark or without.
QByteArray cutInSecondGroup(const QByteArray& good, bool keepEnd) {
    const qsizetype second = good.indexOf("\nG~", good.indexOf("\nG~") + 1) + 1;
    const QByteArray cut = good.left(good.indexOf('\n', good.indexOf('\n', second) + 1) + 1);
    return keepEnd ? cut + good.mid(good.lastIndexOf("\nE~") + 1) : cut;
}

// A good backup whose first line names the format by this field.
QByteArray withFormat(const QByteArray& good, const QByteArray& field) {
    return "V~Rostima backup~" + field + good.mid(good.indexOf('\n'));
}

// A good backup with lines of one kind added before the first line that begins with
// before, its end mark counting them.
QByteArray withLines(const QByteArray& good, const QByteArray& before, const QByteArray& added) {
    const qsizetype mark = good.lastIndexOf("\nE~") + 1;
    QList<QByteArray> counts = good.mid(mark).trimmed().split('~');
    const qsizetype n = counts.indexOf(added.left(1)) + 1;
    counts[n] = QByteArray::number(counts[n].toInt() + added.count('\n'));
    QByteArray lines = good.left(mark);
    return lines.insert(lines.indexOf("\n" + before) + 1, added) + counts.join('~') + "\n";
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
        BadFile{"a file with K lines cut at a line end without its end mark",
                [](const QByteArray& g) { return cutInSecondGroup(g, false); }, "cut short"},
        BadFile{
            "a file cut after its first Q line, before any K line",
            [](const QByteArray& g) { return g.left(g.indexOf('\n', g.indexOf("\nQ~") + 1) + 1); },
            "cut short"},
        BadFile{"an older file without K or Q lines or an end mark, answered No",
                [](const QByteArray& g) {
                    return g.left(g.indexOf("\nR~") + 1).mid(g.indexOf('\n') + 1);
                }},
        BadFile{"lines added after its end mark",
                [](const QByteArray& g) { return g + "G~Later~0~1440~5\n"; }},
        BadFile{"a file of this program cut before its first K, Q or U line",
                [](const QByteArray& g) { return g.left(g.indexOf("\nR~") + 1); },
                "it begins as a backup of this program"},
        BadFile{"an older file with Q and U lines cut at a line end",
                [](const QByteArray& g) {
                    return g.left(g.indexOf("\nU\n") + 3).mid(g.indexOf('\n') + 1);
                },
                "it has Q and U lines, and lacks the end mark"},
        BadFile{"a whole backup followed by a carriage return alone",
                [](const QByteArray& g) { return g + "\r"; },
                "goes on after its end mark on line 34 with a carriage return alone"},
        BadFile{"a whole backup followed by a NUL byte",
                [](const QByteArray& g) { return g + QByteArray(1, '\0'); },
                "goes on after its end mark on line 34 with a NUL byte"},
        BadFile{"characters without a line end after empty lines after its end mark",
                [](const QByteArray& g) { return g + "\n\r\nx"; },
                "goes on after its end mark on line 34 with 1 character(s) without a line end"},
        BadFile{"a line of a blank after empty lines after its end mark",
                [](const QByteArray& g) { return g + "\n\r\n \n"; },
                "goes on after its end mark on line 34: lines were added"},
        BadFile{"the first line of a backup after the first line",
                [](const QByteArray& g) { return "V~Rostima backup~1\n" + g; },
                "Line 2 begins a backup but is not the file's first line"},
        BadFile{"a first line whose format is not a number",
                [](const QByteArray& g) { return withFormat(g, "one"); },
                "Line 1 names the format \"one\", which is no format of a backup"},
        BadFile{"a first line of format 0", [](const QByteArray& g) { return withFormat(g, "0"); },
                "Line 1 names the format \"0\", which is no format of a backup"},
        BadFile{"a first line of format -1",
                [](const QByteArray& g) { return withFormat(g, "-1"); }, "names the format \"-1\""},
        BadFile{"a first line of format 1x",
                [](const QByteArray& g) { return withFormat(g, "1x"); }, "names the format \"1x\""},
        BadFile{"a first line with an empty format",
                [](const QByteArray& g) { return withFormat(g, ""); }, "names the format \"\","},
        BadFile{"a first line of a format beyond 32 bits",
                [](const QByteArray& g) { return withFormat(g, "99999999999"); },
                "The file is a backup of format 99999999999; this program reads format 1 and "
                "older."},
        BadFile{"a first line of format 1 with a field more",
                [](const QByteArray& g) { return withFormat(g, "1~x"); },
                "Line 1 is not a V line as a backup writes it."},
        BadFile{"a newer format with more fields and lines this format does not have",
                [](const QByteArray&) { return QByteArray("V~Rostima backup~10~x\r\nZ\r\xC4\n"); },
                "The file is a backup of format 10; this program reads format 1 and older."},
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
                [](const QByteArray& g) { return QByteArray(g).replace("\nG~", "\nGroups\nG~"); },
                "Line 2 is not a G line"},
        BadFile{"bytes that are not UTF-8",
                [](const QByteArray& g) { return QByteArray(g).replace("Ann", "\xC4nn"); }},
        BadFile{"lines ended by a carriage return alone",
                [](const QByteArray& g) { return QByteArray(g).replace('\n', '\r'); },
                "end in a carriage return alone"},
        BadFile{"an empty database's backup ended by a carriage return alone",
                [](const QByteArray&) { return QByteArray("E~G~0~R~0~T~0~C~0~A~0~K~0~Q~0\r"); },
                "end in a carriage return alone"},
        BadFile{
            "a K line numbering a resource beyond its group",
            [](const QByteArray& g) { return QByteArray(g).replace("\nK~1~1~1\n", "\nK~2~1~1\n"); },
            "is not a K line"},
        BadFile{"a negative K line number",
                [](const QByteArray& g) {
                    return QByteArray(g).replace("\nK~1~1~1\n", "\nK~1~1~-1\n");
                },
                "is not a K line"},
        BadFile{
            "a K line numbering a resource of another name than its line's",
            [](const QByteArray& g) { return QByteArray(g).replace("\nK~2~1~1\n", "\nK~1~1~1\n"); },
            "is not a K line"},
        BadFile{
            "a K line numbering a customer where its line names none",
            [](const QByteArray& g) { return QByteArray(g).replace("\nK~2~1~0\n", "\nK~2~1~1\n"); },
            "is not a K line"},
        BadFile{"a K line twice",
                [](const QByteArray& g) { return withLines(g, "K~1~1~1\n", "K~1~1~1\n"); },
                "is not a K line"},
        BadFile{"a Q line with a field too few",
                [](const QByteArray& g) {
                    return QByteArray(g).replace("~Ann~Ann's~~~\n", "~Ann~Ann's~~\n");
                },
                "is not a Q line"},
        BadFile{"a Q line that disagrees with its line",
                [](const QByteArray& g) {
                    return QByteArray(g).replace("Q~Check%7Eup\n", "Q~Check%7Eout\n");
                },
                "is not a Q line"},
        BadFile{"a Q line twice",  // the second would put a "~" in a text written plainly
                [](const QByteArray& g) {
                    return withLines(g, "T~Check up", "Q~Dr O'Hara\nQ~Dr%7EO'Hara\n");
                },
                "is not a Q line"},
        BadFile{"a U line after a booking's",
                [](const QByteArray& g) { return withLines(g, "G~Clinic", "U\n"); },
                "is not a U line"},
        BadFile{"a group the record refuses after the tables were emptied",
                [](const QByteArray& g) {
                    return QByteArray(g).replace("G~Zed~0~1440~5", "G~Zed~0~1440~0");
                },
                "has a slot length of 0 minutes"}),
    [](const ::testing::TestParamInfo<BadFile>& info) {
        QString name = QString(info.param.what).replace(QRegularExpression("[^A-Za-z0-9]"), "_");
        return name.toStdString();
    });

// Earlier versions numbered only a group's own customers, naming any other beside the
// number 0: such a booking goes to the group's first customer of that name, who is then of
// the group, as the booking is.
TEST_F(ClsDAORestore, PutsABookingWhoseKLineNumbersNoCustomerOnTheGroupsCustomerItNames) {
    const struct {
        QByteArray customers;  // the C and U lines of the group
        int placed;            // the booking's customer among the C lines, from 1
        int alike;
    } cases[] = {{"C~Ann~~~\nC~Zoe~~~\nU\n", 2, 0}, {"C~Zoe~~~\nC~Zoe~~~\n", 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.customers.toStdString());
        WriteTestFile(backupFile(),
                      "G~Clinic~480~1080~15\nR~Desk~15~120~30\nT~Visit~10~60~20~255\n" +
                          c.customers + "A~Desk~Visit~Zoe~" + QByteArray::number(day(2026, 3, 3)) +
                          "~540~600~~~~\nK~1~1~0\nE~G~1~R~1~T~1~C~2~A~1~K~1~Q~0~U~" +
                          QByteArray::number(c.customers.count("U")) + "\n");
        choose("20260301.txt", true);
        ASSERT_TRUE(dao().Restore(backupFile())) << dao().LastRestore().refusal.toStdString();
        EXPECT_EQ(dao().LastRestore().alike, c.alike);
        EXPECT_EQ(scalar("select b.CustomerId - (select min(CustomerId) from tblCustomers) + 1 "
                         "from tblBookings b join tblCustomerGroups l using (CustomerId)"),
                  c.placed);
    }
}
