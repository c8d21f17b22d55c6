#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <functional>

#include "ClsDAO.h"
#include "ClsForms.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "FormsTimer.h"
#include "MainWindowFixture.h"
#include "OleColor.h"
#include "Plexaro.h"
#include "SharedObjects.h"
#include "TestSupport.h"

// Another workstation on the same database: runs what the test tells it, a line each.
// Statements separated by ";" are one change; "restore" backs the database up and
// restores that backup, so every group, resource and type comes back under a new id.
ROSTIMA_CHILD(setup_peer) {
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    ChildSay("open");
    for (QString cmd = ChildHear(); !cmd.isEmpty() && cmd != "quit"; cmd = ChildHear()) {
        bool ok = false;
        if (cmd == "restore") {
            QDir().mkpath(ClsDAO::BackupFolder());
            const QString file = ClsDAO::BackupFolder() + "/1.txt";
            ok = dao.Backup(file) == Saved::Done && dao.Restore(file);
        } else {
            ok = dao.SqlActions(cmd.split(';'));
        }
        ChildSay(ok ? "done" : "failed");
    }
    dao.DbClose();
    return 0;
}

namespace {

// The main window on "Clinic" (Anna with a booking, Ben; the type "Visit") beside "Annex".
class DlgMainFollowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        sql(
            {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
             "('Clinic', 480, 1080, 15), ('Annex', 0, 1440, 30)",
             "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
             "values (1, 'Anna', 5, 60, 15), (1, 'Ben', 5, 60, 15), (2, 'Annex room', 5, 60, 15)",
             "insert into tblTasks (GroupId, TaskName, Colour) values (1, 'Visit', 255)",
             "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
             "CustomerId, ResourceId, RepeatId) values (1, 46000, 540, 600, 0, 1, 0)"});
        setting("Group", "CbGroup", "1");
        setting("Config", "LastDate", "46000");
        ASSERT_TRUE(start());
    }
    QString groups() const {
        QStringList names;
        for (int i = 0; i < dlg->CbGroup->count(); ++i) names << dlg->CbGroup->itemText(i);
        return names.join(',');
    }
    QString rows() const {
        QStringList names;
        for (int row = 1; row < dlg->Sched->rowCount(); ++row) names << dlg->Sched->rowText(row);
        return names.join(',');
    }
    int64_t idOf(const QString& sqlText) {
        auto rs = SharedObjects::DAO().SqlQuery(sqlText);
        return rs && !rs->Eof() ? rs->Field(0).toLong() : -1;
    }
    bool legendShown() const { return dlg->LblLegend[0]->isVisibleTo(dlg); }
};

}  // namespace

TEST_F(DlgMainFollowTest, AnotherWorkstationsSetUpChangesShowAfterOneTick) {
    ChildProcess peer(folder, "setup_peer", {folder.file("Rostima.mdb")});
    ASSERT_EQ(peer.readLine(), "open");
    struct Case {
        const char* what;
        const char* change;
        std::function<void()> check;
    } cases[] = {
        {"changes only a booking's comment", "update tblBookings set Comments = 'Late'",
         [this, revision = dlg->Sched->model().revision()] {
             EXPECT_EQ(dlg->Sched->model().revision(), revision);  // nothing reloaded
         }},
        {"adds a resource to the group shown",
         "insert into tblResources (GroupId, ResourceName) values (1, 'Cleo')",
         [this] { EXPECT_EQ(rows(), "Anna,Ben,Cleo"); }},
        {"renames a type and gives it another colour",
         "update tblTasks set TaskName = 'Check-up', Colour = 65280",
         [this] {
             EXPECT_EQ(dlg->LblLegend[0]->text(), "Check-up");
             EXPECT_EQ(dlg->LblColor[0]->palette().color(QPalette::Window),
                       plat::OleToQColor(65280));
             EXPECT_EQ(dlg->Sched->barColor(1, 1), 65280u);
         }},
        {"adds a group and renames the one shown",
         "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values ('Zoo', 0, 600, "
         "10); "
         "update tblGroups set GroupName = 'Surgery' where GroupId = 1",
         [this] {
             EXPECT_EQ(groups(), "Annex,Surgery,Zoo");
             EXPECT_EQ(dlg->CbGroup->currentText(), "Surgery");
             EXPECT_EQ(dlg->Sched->title(), "Surgery");
             EXPECT_EQ(rows(), "Anna,Ben,Cleo");
         }},
        {"deletes the group shown with everything in it",
         "delete from tblBookings; delete from tblTasks; delete from tblResources where "
         "GroupId = 1; delete from tblGroups where GroupId = 1",
         [this] {
             EXPECT_EQ(groups(), "Annex,Zoo");
             EXPECT_EQ(dlg->Sched->title(), "Annex");
             EXPECT_EQ(rows(), "Annex room");
             EXPECT_EQ(dlg->Sched->model().barCount(1), 0);
             EXPECT_FALSE(legendShown());
         }},
        {"restores a backup", "restore",
         [this] {
             EXPECT_EQ(groups(), "Annex,Zoo");
             EXPECT_EQ(SharedObjects::Forms().GetComboData(*dlg->CbGroup),
                       idOf("select GroupId from tblGroups where GroupName = 'Annex'"));
             ASSERT_EQ(rows(), "Annex room");
             EXPECT_EQ(dlg->Sched->rowData(1), idOf("select ResourceId from tblResources"));
         }},
        {"deletes every group", "delete from tblResources; delete from tblGroups",
         [this] {
             EXPECT_EQ(groups(), "");
             EXPECT_EQ(dlg->Sched->rowCount(), 1);
             EXPECT_EQ(dlg->Sched->title(), "");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        peer.say(c.change);
        ASSERT_EQ(peer.readLine(), "done");
        dlg->Timer1_Timer();
        c.check();
    }
    peer.say("quit");
    EXPECT_EQ(peer.finish(), 0);
}

// A tick that saw the change but could not read the chart (another program had a table
// away for a moment) keeps what it showed, tells nobody (nobody asked for it) and goes on
// ticking; the next tick reads it again, though nothing has changed since.
TEST_F(DlgMainFollowTest, AReloadThatFailedIsNotTakenAsSeenAndTheNextTickReadsAgain) {
    sql({"insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, CustomerId, "
         "ResourceId, RepeatId) values (1, 46000, 660, 690, 0, 2, 0)",
         "alter table tblCustomers rename to tblAway"});
    dlg->Timer1_Timer();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(dlg->Timer1->enabled());
    EXPECT_EQ(rows(), "Anna,Ben");
    EXPECT_EQ(dlg->Sched->model().barCount(1), 1);
    EXPECT_EQ(dlg->Sched->model().barCount(2), 0);
    sql({"alter table tblAway rename to tblCustomers"});
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->Sched->model().barCount(2), 1);
    EXPECT_TRUE(messages.isEmpty());
    // A fingerprint that cannot be read is the tick's one failure: the change noted, the
    // error and its statement are all it logs.
    sql({"delete from tblBookings", "alter table tblResources rename to tblAway"});
    const qsizetype from = folder.logText().size();
    dlg->Timer1_Timer();
    EXPECT_EQ(folder.logText().mid(from).count('\n'), 3);
    sql({"alter table tblAway rename to tblResources"});
}

// Under another program's lock a tick's change check fails: that is all it logs, and the
// reload and the jump to the present that are due wait for a tick that can read.
TEST_F(DlgMainFollowTest, ATickUnderAnotherProgramsLockWritesOneLogLineAndCatchesUpAfterIt) {
    sql({"update tblBookings set ResourceId = 2"});
    QDialog editing(dlg);  // the change is seen, and its reload waits for the dialog
    editing.open();
    dlg->Timer1_Timer();
    editing.hide();
    setting("Options", "Autoscroll", "1");
    dlg->AutoscrollCountdown = 1;
    HeldByAnother held(folder);
    const qsizetype from = folder.logText().size();
    dlg->Timer1_Timer();
    EXPECT_EQ(folder.logText().mid(from).count('\n'), 1);
    held.release();
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->Sched->model().barCount(2), 1);
}
