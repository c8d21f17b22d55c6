#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "DbFixture.h"
#include "MsgBox.h"

namespace {
constexpr auto Made = ClsGroup::TemplateLoad::Made;

class ClsGroupTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
        plat::SetMsgBoxHook([this](const QString& text, int, const QString& title) {
            messages << title + ": " + text;
            return plat::vbOK;
        });
    }
    void TearDown() override {
        plat::SetMsgBoxHook(nullptr);
        DbFixture::TearDown();
    }
    int32_t group(const QString& name, int16_t start = 480, int16_t end = 1080,
                  int16_t interval = 15) {
        ClsGroup g;
        g.setGroupName(name);
        g.setDayStart(start);
        g.setDayEnd(end);
        g.setInterval(interval);
        return g.Save();
    }
    int32_t resource(int32_t groupId, const QString& name) {
        ClsResource r;
        EXPECT_EQ(r.setGroupId(groupId), Loaded::Row);
        r.setResourceName(name);
        return r.Save();
    }
    int32_t task(int32_t groupId, const QString& name) {
        ClsTask t;
        EXPECT_EQ(t.setGroupId(groupId), Loaded::Row);
        t.setTaskName(name);
        return t.Save();
    }
    int32_t customer(const QString& name, std::initializer_list<int32_t> groups) {
        ClsCustomer c;
        c.setCustomerName(name);
        const int32_t id = c.Save();
        for (int32_t g : groups)
            dao().SqlAction(QString("insert into tblCustomerGroups (CustomerId, GroupId) "
                                    "values (%1, %2)")
                                .arg(id)
                                .arg(g));
        return id;
    }
    int32_t book(int32_t res, int32_t task, int32_t cust, int16_t start) {
        ClsBooking b;
        b.setResourceId(res);
        b.setTaskId(task);
        b.setCustomerId(cust);
        b.setBookingDate(46000);
        b.setBookingStart(start);
        b.setBookingEnd(static_cast<int16_t>(start + 30));
        return b.Save();
    }
    int64_t count(const QString& where) { return scalar("select count(*) from " + where); }
    QStringList column(const QString& sql) {
        QStringList values;
        for (auto rs = dao().SqlQuery(sql); rs && !rs->Eof(); rs->MoveNext())
            values << rs->Field(0).toString();
        return values;
    }
    QStringList messages;
};
}  // namespace

TEST_F(ClsGroupTest, DefaultsAndALoadThatFindsNothingKeepsTheBuffer) {
    ClsGroup g;
    EXPECT_EQ(g.DayStart(), 0);
    EXPECT_EQ(g.DayEnd(), 1440);
    EXPECT_EQ(g.Interval(), 5);
    const int32_t id = group("Clinic O'Hara");
    ASSERT_EQ(g.Load(id), Loaded::Row);
    EXPECT_EQ(g.GroupName(), "Clinic O'Hara");
    EXPECT_EQ(g.Load(id + 50), Loaded::NoRow);
    EXPECT_EQ(g.GroupId(), id);
    EXPECT_GT(group("Clinic O'Hara"), id);  // names may repeat; the new row's id comes back
}

TEST_F(ClsGroupTest, ASlotLengthOfZeroOrLessIsNeverStoredNorRead) {
    EXPECT_EQ(group("Zero", 480, 1080, 0), 0);
    EXPECT_EQ(group("Negative", 480, 1080, -5), 0);
    EXPECT_EQ(count("tblGroups"), 0);
    ASSERT_TRUE(
        dao().SqlAction("insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
                        "values ('Old', 0, 1440, 0)"));
    ClsGroup g;
    ASSERT_EQ(g.Load(static_cast<int32_t>(dao().LastInsertId())), Loaded::Row);
    EXPECT_EQ(g.Interval(), 5);
}

TEST_F(ClsGroupTest, DeleteRemovesTheGroupWithEverythingThatHangsOnIt) {
    const int32_t g1 = group("One"), g2 = group("Two");
    const int32_t r1 = resource(g1, "R1"), r2 = resource(g2, "R2");
    const int32_t t1 = task(g1, "T1"), t2 = task(g2, "T2");
    const int32_t both = customer("Both", {g1, g2});
    const int32_t only = customer("Only", {g1});
    customer("None", {});  // in no group: swept too
    book(r1, t1, both, 540);
    book(r1, t2, 0, 600);     // this group's resource, the other group's type
    book(r2, t1, 0, 540);     // the other group's resource, this group's type
    book(r2, t2, only, 600);  // the only-customer's booking elsewhere goes with it
    const int32_t keep = book(r2, t2, both, 700);
    ClsGroup g;
    ASSERT_EQ(g.Load(g1), Loaded::Row);
    g.Delete(g1);
    EXPECT_EQ(g.GroupId(), 0);
    EXPECT_EQ(count("tblGroups"), 1);
    EXPECT_EQ(count("tblResources where GroupId = " + QString::number(g1)), 0);
    EXPECT_EQ(count("tblTasks where GroupId = " + QString::number(g1)), 0);
    EXPECT_EQ(count("tblBookings"), 1);
    EXPECT_EQ(scalar("select BookingId from tblBookings"), keep);
    EXPECT_EQ(count("tblCustomers"), 1);
    EXPECT_EQ(scalar("select CustomerId from tblCustomers"), both);
    EXPECT_EQ(count("tblCustomerGroups"), 1);
    EXPECT_EQ(count("tblBookings where ResourceId not in (select ResourceId from tblResources)"),
              0);
}

TEST_F(ClsGroupTest, ResourcesTakeTheirDurationsFromTheGroupWrittenLast) {
    const int32_t g = group("Day", 480, 1080, 15);
    ClsResource r;
    EXPECT_EQ(r.MinTime(), 5);
    EXPECT_EQ(r.MaxTime(), 1440);
    r.setMinTime(99);
    ASSERT_EQ(r.setGroupId(g), Loaded::Row);
    EXPECT_EQ(r.MinTime(), 15);
    EXPECT_EQ(r.MaxTime(), 600);
    EXPECT_EQ(r.InitTime(), 15);
    ASSERT_EQ(r.setGroupId(g + 100), Loaded::NoRow);  // no such group: the old durations stay
    EXPECT_EQ(r.GroupId(), g + 100);
    EXPECT_EQ(r.MaxTime(), 600);
    r.InitBfr();
    EXPECT_EQ(r.GroupId(), 0);
    EXPECT_EQ(r.Interval(), 15);
}

TEST_F(ClsGroupTest, AppointmentTypesKeepTheirDurationsWhenTheGroupIsWritten) {
    const int32_t g = group("Day", 480, 1080, 15);
    ClsTask t;
    EXPECT_EQ(t.Colour(), 255);
    t.setMinTime(40);
    ASSERT_EQ(t.setGroupId(g), Loaded::Row);
    EXPECT_EQ(t.MinTime(), 40);
    EXPECT_EQ(t.Interval(), 15);
    t.InitBfr();
    EXPECT_EQ(t.MinTime(), 15);
    EXPECT_EQ(t.MaxTime(), 600);
    EXPECT_EQ(t.GroupId(), 0);
    EXPECT_EQ(t.Load(12345), Loaded::NoRow);
    EXPECT_EQ(t.Colour(), 255);
}

TEST_F(ClsGroupTest, LoadByNameLooksOnlyWithinTheGroup) {
    const int32_t g1 = group("One"), g2 = group("Two");
    const int32_t r = resource(g1, "Room O'Neil");
    const int32_t t = task(g2, "Check-up");
    const int32_t c = customer("Smith", {g2});
    ClsResource res;
    EXPECT_EQ(res.LoadByName("room o'neil", g1), Loaded::Row);
    EXPECT_EQ(res.ResourceId(), r);
    EXPECT_EQ(res.LoadByName("Room O'Neil", g2), Loaded::NoRow);
    EXPECT_EQ(res.ResourceId(), r);  // kept
    ClsTask task;
    EXPECT_EQ(task.LoadByName("Check-up", g2), Loaded::Row);
    EXPECT_EQ(task.TaskId(), t);
    EXPECT_EQ(task.LoadByName("Check-up", g1), Loaded::NoRow);
    ClsCustomer cust;
    EXPECT_EQ(cust.LoadByName("Smith", g2), Loaded::Row);
    EXPECT_EQ(cust.CustomerId(), c);
    EXPECT_EQ(cust.LoadByName("Smith", g1), Loaded::NoRow);
    EXPECT_EQ(cust.CustomerId(), 0);
}

TEST_F(ClsGroupTest, DeletingAResourceTypeOrCustomerTakesItsBookings) {
    const int32_t g = group("G");
    const int32_t r1 = resource(g, "A"), r2 = resource(g, "B");
    const int32_t t1 = task(g, "X"), t2 = task(g, "Y");
    const int32_t c = customer("C", {g});
    book(r1, t1, 0, 100);
    book(r2, t2, c, 200);
    book(r2, t2, 0, 300);
    ClsResource().Delete(r1);
    EXPECT_EQ(count("tblBookings"), 2);
    ClsCustomer().Delete(c);
    EXPECT_EQ(count("tblBookings"), 1);
    EXPECT_EQ(count("tblCustomerGroups"), 0);
    ClsTask().Delete(t2);
    EXPECT_EQ(count("tblBookings"), 0);
}

TEST_F(ClsGroupTest, UpdatesOfRowsDeletedElsewhereReturnZero) {
    const int32_t g = group("G");
    ClsResource r;
    ASSERT_EQ(r.Load(resource(g, "A")), Loaded::Row);
    ClsResource().Delete(r.ResourceId());
    EXPECT_EQ(r.Save(), 0);
    ClsCustomer c;
    c.setCustomerName("A");
    c.Save();
    ClsCustomer().Delete(c.CustomerId());
    EXPECT_EQ(c.Save(), 0);
    ClsGroup grp;
    ASSERT_EQ(grp.Load(g), Loaded::Row);
    ClsGroup().Delete(g);
    EXPECT_EQ(grp.Save(), 0);
}

TEST_F(ClsGroupTest, TemplatesAreWrittenAndLoadedBackAsNewGroups) {
    const int32_t g = group("Clinic", 480, 1080, 15);
    for (int i = 1; i <= 12; ++i) resource(g, QString("Room %1").arg(i));
    ClsGroup grp;
    EXPECT_EQ(grp.SaveTemplate(g), Saved::Done);
    EXPECT_EQ(messages, QStringList{"Saved!: Group saved!"});
    ClsIni ini;
    ini.setIniFile(ClsGroup::TemplateFile());
    EXPECT_EQ(ini.GetValue("Clinic", "Resources", 0), "12");
    EXPECT_EQ(ini.GetValue("Clinic", "ResMax012", 0), "600");
    EXPECT_EQ(grp.LoadTemplate("Clinic").outcome, Made);
    const int32_t first = grp.GroupId();
    EXPECT_EQ(grp.GroupName(), QString("Clinic [%1]").arg(first));
    EXPECT_EQ(grp.LoadTemplate("Clinic").outcome, Made);
    EXPECT_NE(grp.GroupId(), first);
    EXPECT_EQ(count("tblResources where GroupId = " + QString::number(first)), 12);
    ClsGroup loaded;
    ASSERT_EQ(loaded.Load(first), Loaded::Row);
    EXPECT_EQ(loaded.DayStart(), 480);
    EXPECT_EQ(loaded.Interval(), 15);
    EXPECT_EQ(grp.LoadTemplate("No such template").outcome, Made);
    EXPECT_EQ(grp.DayEnd(), 1440);
    EXPECT_EQ(count("tblResources where GroupId = " + QString::number(grp.GroupId())), 0);
}

TEST_F(ClsGroupTest, ResourceNamesInQuotesComeBackFromATemplateAsTheyWere) {
    const int32_t g = group("Quotes");
    resource(g, "\"Quoted\"");
    resource(g, "'single'");
    ClsGroup grp;
    ASSERT_EQ(grp.SaveTemplate(g), Saved::Done);
    EXPECT_EQ(grp.LoadTemplate("Quotes").outcome, Made);
    EXPECT_EQ(count(QString("tblResources where GroupId = %1 and ResourceName in "
                            "('\"Quoted\"', '''single''')")
                        .arg(grp.GroupId())),
              2);
}

TEST_F(ClsGroupTest, ATemplateEntryWithoutItsKeysTakesTheDefaults) {
    ClsIni ini;
    ini.setIniFile(ClsGroup::TemplateFile());
    ini.WriteValue("Sparse", "Resources", 1);
    ClsGroup grp;
    EXPECT_EQ(grp.LoadTemplate("Sparse").outcome, Made);
    ClsResource r;
    ASSERT_EQ(r.LoadByName("???", grp.GroupId()), Loaded::Row);
    EXPECT_EQ(r.MinTime(), 5);
    EXPECT_EQ(r.MaxTime(), 60);
}

// A template that cannot be read whole, or that holds a value the group and resource
// editors do not allow, makes nothing; the record stays as it was, and why names the key.
TEST_F(ClsGroupTest, ATemplateWithAValueNoEditorAllowsMakesNothingAndNamesTheValue) {
    const struct {
        const char* section;
        const char* why;
        const char* logged;
    } cases[] = {
        {"Resources=99999",
         "Resources=99999: the number of resources is a whole number from 0 to 32767.",
         "Error 6 on line 7 (Overflow: "},
        {"Resources=three",
         "Resources=three: the number of resources is a whole number from 0 to 32767.",
         "Error 13 on line 7 (Type mismatch: "},
        {"Resources=5\nResMin003=x",
         "ResMin003=x: a duration is a whole number of minutes from 5 to 1440.",
         "Error 13 on line 8 (Type mismatch: "},
        {"Resources=1\nResMax001=70000",
         "ResMax001=70000: a duration is a whole number of minutes from 5 to 1440.",
         "Error 6 on line 8 (Overflow: "},
        {"Resources=1\nResMin001=-10\nResMax001=-20\nResInit001=-30",
         "ResMin001=-10: a duration is a whole number of minutes from 5 to 1440.",
         "Error 5 on line 8 ("},
        {"DayStart=-100\nDayEnd=-50",
         "DayStart=-100: a time of day is a whole number of minutes from 0 to 1440.",
         "Error 5 on line 4 ("},
        {"DayEnd=evening",
         "DayEnd=evening: a time of day is a whole number of minutes from 0 to 1440.",
         "Error 13 on line 5 (Type mismatch: "},
        {"DayEnd=30000", "DayEnd=30000: a time of day is a whole number of minutes from 0 to 1440.",
         "Error 5 on line 5 ("},
        {"DayStart=1000\nDayEnd=500",
         "DayEnd=500: the day must end after it starts (DayStart=1000).", "Error 5 on line 5 ("},
        {"DayStart=600\nDayEnd=600", "DayEnd=600: the day must end after it starts (DayStart=600).",
         "Error 5 on line 5 ("},
        {"Interval=0", "Interval=0: a slot length is a whole number of minutes from 5 to 1440.",
         "Error 5 on line 6 ("},
        {"Resources=1\nResMin001=60\nResMax001=30",
         "ResMax001=30: the longest duration must not be below the shortest (ResMin001=60).",
         "Error 5 on line 8 ("},
        {"Resources=1\nResMin001=90",
         "ResMax001 (not in the file, so 60): the longest duration must not be below the "
         "shortest (ResMin001=90).",
         "Error 5 on line 8 ("},
        {"Resources=2\nResInit002=90",
         "ResInit002=90: the initial duration must lie from the shortest to the longest "
         "(ResMin002 (not in the file, so 5), ResMax002 (not in the file, so 60)).",
         "Error 5 on line 8 ("},
    };
    ClsGroup grp;
    grp.setGroupName("As it was");
    for (const auto& c : cases) {
        WriteTestFile(ClsGroup::TemplateFile(), QByteArray("[T]\n") + c.section + "\n");
        const ClsGroup::TemplateLoad load = grp.LoadTemplate("T");
        EXPECT_EQ(load.outcome, ClsGroup::TemplateLoad::Refused) << c.section;
        EXPECT_EQ(load.why, QString(c.why));
        const QString log = folder.logText();
        EXPECT_TRUE(log.contains(QString("ClsGroup.LoadTemplate: ") + c.logged)) << c.section;
        EXPECT_TRUE(log.contains(QString(c.why) + ")\n")) << c.section;
        EXPECT_EQ(count("tblGroups"), 0) << c.section;
        EXPECT_EQ(count("tblResources"), 0) << c.section;
        EXPECT_EQ(grp.GroupName(), "As it was");
    }
    ASSERT_TRUE(QFile::remove(ClsGroup::TemplateFile()));
    ASSERT_TRUE(QDir().mkdir(ClsGroup::TemplateFile()));  // there, but no file to read
    const ClsGroup::TemplateLoad load = grp.LoadTemplate("T");
    EXPECT_EQ(load.outcome, ClsGroup::TemplateLoad::Refused);
    EXPECT_EQ(load.why, "The template file " + ClsGroup::TemplateFile() + " cannot be read.");
    EXPECT_EQ(count("tblGroups"), 0);
}

// The editors' limits themselves are allowed; keys are found without regard to case, the
// first of a key written twice.
TEST_F(ClsGroupTest, ATemplateAtTheEditorsLimitsLoadsAsWritten) {
    const struct {
        const char* section;
        const char* made;  // "start-end interval", then "name min max init" per resource
    } cases[] = {
        {"DayStart=0\nDayEnd=1440\nInterval=1440\nResources=1\nResMin001=5\nResMax001=1440\n"
         "ResInit001=1440",
         "0-1440 1440|??? 5 1440 1440"},
        {"DayStart=1439\nDayEnd=1440\nInterval=5\nResources=2\nResName002=B\nResMin002=1440\n"
         "ResMax002=1440\nResInit002=1440",
         "1439-1440 5|??? 5 60 5|B 1440 1440 1440"},
        {"dayend=600\nINTERVAL=10\nInterval=20\nresources=1\nresname001=Desk\nRESMAX001=\"90\"",
         "0-600 10|Desk 5 90 5"},
    };
    for (const auto& c : cases) {
        WriteTestFile(ClsGroup::TemplateFile(), QByteArray("[T]\n") + c.section + "\n");
        ClsGroup grp;
        ASSERT_EQ(grp.LoadTemplate("T").outcome, Made) << c.section;
        QStringList made{
            QString("%1-%2 %3").arg(grp.DayStart()).arg(grp.DayEnd()).arg(grp.Interval())};
        made += column(QString("select ResourceName || ' ' || MinTime || ' ' || MaxTime || ' ' "
                               "|| InitTime from tblResources where GroupId = %1 order by "
                               "ResourceId")
                           .arg(grp.GroupId()));
        EXPECT_EQ(made.join('|'), c.made);
    }
}

// The section is read once, not once a value: thousands of resources load in moments.
TEST_F(ClsGroupTest, ATemplateOfThousandsOfResourcesLoadsInMoments) {
    QByteArray text = "[Big]\nDayStart=480\nDayEnd=1080\nInterval=15\n";
    for (int i = 1; i <= 3000; ++i) {
        const QByteArray n = QString("%1").arg(i, 3, 10, QChar('0')).toUtf8();
        text += "ResName" + n + "=Room " + n + "\nResMin" + n + "=15\nResMax" + n +
                "=120\nResInit" + n + "=30\n";
    }
    WriteTestFile(ClsGroup::TemplateFile(), text + "Resources=3000\n");
    QElapsedTimer t;
    t.start();
    ClsGroup grp;
    ASSERT_EQ(grp.LoadTemplate("Big").outcome, Made);
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_EQ(count("tblResources where MaxTime = 120"), 3000);
    EXPECT_EQ(SharedObjects::Resource().ResourceName(), "Room 3000");
}

// The database refuses the second resource: the group and its first resource go with it,
// and both records are as they were.
TEST_F(ClsGroupTest, ATemplateTheDatabaseRefusesInPartStoresNothing) {
    ClsIni ini;
    ini.setIniFile(ClsGroup::TemplateFile());
    ini.WriteValue("Refused", "Resources", 2);
    ini.WriteValue("Refused", "ResName001", "Bed 1");
    ini.WriteValue("Refused", "ResName002", "Bed 2");
    ASSERT_TRUE(
        dao().SqlAction("create trigger no2 before insert on tblResources when "
                        "new.ResourceName = 'Bed 2' begin select raise(abort, ''); end"));
    ClsGroup grp;
    grp.setGroupName("As it was");
    SharedObjects::Resource().setResourceName("Kept");
    EXPECT_EQ(grp.LoadTemplate("Refused").outcome, ClsGroup::TemplateLoad::NotWritten);
    EXPECT_EQ(count("tblGroups"), 0);
    EXPECT_EQ(count("tblResources"), 0);
    EXPECT_EQ(grp.GroupName(), "As it was");
    EXPECT_EQ(SharedObjects::Resource().ResourceName(), "Kept");
}

TEST_F(ClsGroupTest, ATemplateThatCannotBeWrittenIsReportedNotSaved) {
    const int32_t g = group("Clinic");
    ASSERT_TRUE(QDir().mkdir(folder.file("Groups.ini")));  // a folder where the file goes
    ClsGroup grp;
    EXPECT_EQ(grp.SaveTemplate(g), Saved::NotWritten);  // the caller says why
    EXPECT_EQ(grp.SaveTemplate(g + 99), Saved::Done);   // no such group: nothing to say
    EXPECT_TRUE(messages.isEmpty());
}

// Saved over an older copy with more resources: while a resource cannot be read (another
// program locks the database) the save fails and leaves the file byte for byte as it was,
// never the new day beside the old resources; saved again, it keeps none of them past the
// new count, and the other templates keep every byte.
TEST_F(ClsGroupTest, ATemplateIsSavedWholeOverTheOldOneOrNotAtAll) {
    const QByteArray before =
        "[Ward]\r\nResources=0\r\n[Clinic]\r\nDayStart=480\r\n"
        "ResName001=Bed 1\r\nResName002=Bed 2\r\nResources=2\r\n\r\n[Zoo]\r\n";
    WriteTestFile(ClsGroup::TemplateFile(), before);
    const int32_t g = group("Clinic", 540, 1020, 10);
    resource(g, "Room 1");
    dao().setBusyWaitMs(200);
    std::optional<HeldDatabase> held;
    // The save lets events run before each resource: the lock comes with the first.
    QTimer::singleShot(0, [&] { held.emplace(folder, dbPath()); });
    EXPECT_EQ(ClsGroup().SaveTemplate(g), Saved::NotRead);
    held.reset();
    EXPECT_EQ(ReadTestFile(ClsGroup::TemplateFile()), before);
    EXPECT_EQ(ClsGroup().SaveTemplate(g), Saved::Done);
    EXPECT_EQ(ReadTestFile(ClsGroup::TemplateFile()),
              "[Ward]\r\nResources=0\r\n[Clinic]\r\nDayStart=540\r\nDayEnd=1020\r\nInterval=10\r\n"
              "ResName001=Room 1\r\nResMin001=10\r\nResMax001=480\r\nResInit001=10\r\n"
              "Resources=1\r\n\r\n[Zoo]\r\n");
    EXPECT_EQ(messages, QStringList{"Saved!: Group saved!"});  // for the written one only
}

TEST_F(ClsGroupTest, ANarrowerDayCountsTheBookingsTheChartWouldNoLongerShow) {
    struct Case {
        int16_t oldStart, oldEnd, newStart, newEnd;
        const char* counted;  // the starts of the bookings counted
    } cases[] = {
        {480, 1020, 540, 960, "450 1005 480 960"},  // 08:00-17:00 to 09:00-16:00
        {480, 1020, 480, 1020, ""},                 // the same day hides nothing
        {480, 1020, 420, 1080, ""},                 // a wider day neither
        {540, 960, 480, 1020, ""},                  // the already hidden are not counted again
        {480, 1020, 0, 0, ""},                      // a whole day shows everything
    };
    // Each in a group of its own, whose count says whether it is counted. Inside both;
    // straddling the old start; straddling the old end and ending past it; straddling the new
    // start (still shown); straddling the new end (still shown); before the new start; after
    // the new end; outside both (already hidden).
    const std::pair<int16_t, int16_t> spans[] = {{600, 660},  {450, 510}, {1005, 1035},
                                                 {510, 570},  {945, 990}, {480, 540},
                                                 {960, 1020}, {400, 460}, {1030, 1100}};
    QList<int32_t> groups;
    for (const auto& [start, end] : spans) {
        const int32_t g = groups.emplace_back(group(QString::number(start)));
        ClsBooking b;
        b.setResourceId(resource(g, "R"));
        b.setTaskId(task(g, "X"));
        b.setBookingDate(46000);
        b.setBookingStart(start);
        b.setBookingEnd(end);
        ASSERT_NE(b.Save(), 0) << start;
    }
    for (const Case& c : cases) {
        QStringList counted;
        for (int32_t g : groups) {
            ClsGroup stored;
            ASSERT_EQ(stored.Load(g), Loaded::Row);
            stored.setDayStart(c.oldStart);
            stored.setDayEnd(c.oldEnd);
            ASSERT_NE(stored.Save(), 0);
            ClsGroup edited;
            ASSERT_EQ(edited.Load(g), Loaded::Row);
            edited.setDayStart(c.newStart);
            edited.setDayEnd(c.newEnd);
            if (edited.BookingsLeftOutside() == 1) counted << stored.GroupName();
        }
        EXPECT_EQ(counted.join(' '), c.counted) << c.newStart << "-" << c.newEnd;
    }
    // Bookings that cannot be counted are not "none": the editor then saves nothing.
    ClsGroup edited;
    ASSERT_EQ(edited.Load(groups[0]), Loaded::Row);
    edited.setDayStart(900);
    dao().setBusyWaitMs(200);
    HeldDatabase held(folder, dbPath());
    EXPECT_EQ(edited.BookingsLeftOutside(), std::nullopt);
    held.release();
    dao().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
