#include <gtest/gtest.h>

#include <QApplication>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <functional>
#include <optional>

#include "ApptEditorState.h"
#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "DlgRestore.h"
#include "FormsTimer.h"
#include "Glidex.h"
#include "Hintel.h"
#include "KeyedStatusBar.h"
#include "KeyedToolbar.h"
#include "MainWindowFixture.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "MsgBox.h"
#include "Plexaro.h"
#include "SharedObjects.h"
#include "TestSupport.h"

namespace {

constexpr int32_t kDay = 46000;

// The main window on a group "Clinic" (8:00 to 18:00, 30-minute slots) with the resource
// "Anna" and the appointment type "Visit"; message boxes and the booking editor answered.
class DlgMainCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        answer = plat::vbYes;
        sql(
            {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values ('Clinic', 480, "
             "1080, 30)",
             "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
             "values (1, 'Anna', 30, 600, 30)",
             "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
             "values (1, 'Visit', 255, 30, 600, 30)",
             "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values ('Smith', '', "
             "'', '')"});
        ini.WriteValue("Group", "CbGroup", 1);
        ini.WriteValue("Config", "LastDate", kDay);
        ApptEditorState::RegisterShow(
            [this](int32_t g, int16_t s, int32_t r, int32_t t, int32_t d) {
                editor << QString("%1 %2 %3 %4 %5").arg(g).arg(s).arg(r).arg(t).arg(d);
            });
        ASSERT_TRUE(start());
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        ApptEditorState::RegisterShow(nullptr);
    }
    void booking(int32_t day, int start, int end, const QString& comment = "", int customer = 0) {
        sql({QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                     "CustomerId, ResourceId, RepeatId, Comments) values (1, %1, %2, %3, %4, 1, "
                     "0, '%5')")
                 .arg(day)
                 .arg(start)
                 .arg(end)
                 .arg(customer)
                 .arg(comment)});
    }
    int64_t count(const QString& from) {
        auto rs = SharedObjects::DAO().SqlQuery("select count(*) from " + from);
        return rs ? rs->Field(0).toLong() : -1;
    }

    QStringList editor;
};

}  // namespace

TEST_F(DlgMainCommandsTest, ADropSnapsToTheSlotAndOpensTheEditorOnTheDayDroppedOn) {
    dlg->DraggedTaskId = 1;
    struct Case {
        int minute;
        int slot;
    } cases[] = {
        {600, 600}, {605, 600}, {629, 600}, {630, 630}, {470, 450}, {1100, 1080},
    };
    for (const auto& c : cases) {
        editor.clear();
        dlg->Sched_DropItem(1, c.minute, kDay + 3);
        EXPECT_EQ(editor, QStringList{QString("1 %1 1 1 %2").arg(c.slot).arg(kDay + 3)})
            << c.minute;
    }
}

TEST_F(DlgMainCommandsTest, TheOverlapTestIsHalfOpenOnTheDropDay) {
    struct Case {
        const char* what;
        int b, e;
        bool blocks;
    } cases[] = {
        {"ends where the slot starts", 570, 600, false},
        {"starts where the slot ends", 630, 660, false},
        {"wholly inside the slot", 610, 620, true},
        {"over the slot's start", 590, 610, true},
        {"over the slot's end", 620, 640, true},
    };
    for (const auto& c : cases) {
        sql({"delete from tblBookings"});
        booking(kDay + 1, c.b, c.e);
        messages.clear();
        editor.clear();
        dlg->Sched_DropItem(1, 605, kDay + 1);
        EXPECT_EQ(!messages.isEmpty(), c.blocks) << c.what;
        EXPECT_EQ(editor.isEmpty(), c.blocks) << c.what;
        if (c.blocks) {
            EXPECT_EQ(messages.value(0),
                      "Warning!: Requested event overlaps previously defined event!");
        }
        // The same booking on another day never blocks.
        editor.clear();
        dlg->Sched_DropItem(1, 605, kDay + 2);
        EXPECT_FALSE(editor.isEmpty()) << c.what;
    }
}

TEST_F(DlgMainCommandsTest, TheSlotGridIsTheChartsGroupNotTheSharedRecord) {
    SharedObjects::Group().setDayStart(0);
    SharedObjects::Group().setInterval(7);
    dlg->Sched_DropItem(1, 605, kDay);
    EXPECT_EQ(editor, QStringList{QString("1 600 1 0 %1").arg(kDay)});
    // A row double-click opens the editor at the day start of the chart's group.
    editor.clear();
    dlg->Sched_ListDblClick(1);
    EXPECT_EQ(editor, QStringList{QString("1 480 1 0 %1").arg(kDay)});
    // A stored slot length of 0 is read as the default, so a drop can never loop.
    sql({"update tblGroups set Interval = 0"});
    editor.clear();
    dlg->Sched_DropItem(1, 603, kDay);
    EXPECT_EQ(editor, QStringList{QString("1 600 1 0 %1").arg(kDay)});
}

// Another workstation deleted the group the chart still shows: a drop or a row's
// double-click says so and opens no editor on a group that is gone.
TEST_F(DlgMainCommandsTest, ADropOrADoubleClickOnAGroupDeletedElsewhereIsRefusedWithAWord) {
    sql({"delete from tblGroups"});
    dlg->Sched_DropItem(1, 605, kDay);
    dlg->Sched_ListDblClick(1);
    EXPECT_TRUE(editor.isEmpty());
    EXPECT_EQ(messages, QStringList({"Warning!: No group selected!", "Warning!: No group selected!"}));
}

// The group is read but its bookings are not: the slot cannot be checked, so no editor
// opens, and the user hears what was not done.
TEST_F(DlgMainCommandsTest, ADropWhoseSlotCannotBeCheckedOpensNoEditorAndSaysSo) {
    ClsDAO& dao = SharedObjects::DAO();
    ASSERT_TRUE(dao.SqlAction("alter table tblBookings rename to tblAway"));
    dlg->Sched_DropItem(1, 605, kDay);
    ASSERT_TRUE(dao.SqlAction("alter table tblAway rename to tblBookings"));
    EXPECT_TRUE(editor.isEmpty());
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to open the booking editor!\r\n\r\nThe "
                                    "database is busy or cannot be read; nothing was opened."});
}

TEST_F(DlgMainCommandsTest, PointingAtABarFillsThePanelsAndThePopUpIn12And24HourForm) {
    booking(kDay, 540, 780, "  Bring notes  ", 1);
    ini.WriteValue("Options", "PopupReminders", 1);
    QApplication::processEvents();  // the window's first activation starts the tick
    dlg->ShowResources(0);
    dlg->Sched_ItemMove(1, 1);
    EXPECT_EQ(dlg->StatusBar1->panelText("Start"), "09:00 am");
    EXPECT_EQ(dlg->StatusBar1->panelText("End"), "01:00 pm");
    EXPECT_EQ(dlg->StatusBar1->panelText("Task"), "Visit");
    EXPECT_EQ(dlg->StatusBar1->panelText("Person"), "Smith");
    EXPECT_EQ(dlg->ToolTips->popupText(), "09:00 am to 01:00 pm\r\n  Bring notes  \r\nSmith");
    ini.WriteValue("Options", "UseMilitaryTime", 1);
    ini.WriteValue("Options", "PopupReminders", 0);
    dlg->Sched_ItemMove(1, 1);
    EXPECT_EQ(dlg->StatusBar1->panelText("End"), "13:00");
    EXPECT_EQ(dlg->ToolTips->popupText(), "");
    // Another bar whose details cannot be read shows none of them (never its times beside
    // the last bar's type and customer), tells nobody, logs one line and stops no tick.
    booking(kDay, 900, 960, "", 0);
    dlg->ShowResources(0);
    dlg->Sched_ItemMove(1, 1);
    const qsizetype logged = folder.logText().count("Error in DlgMain.Sched_ItemMove");
    {
        const HeldByAnother held(folder);
        dlg->Sched_ItemMove(1, 2);
    }
    for (const char* panel : {"Start", "End", "Task", "Person"})
        EXPECT_EQ(dlg->StatusBar1->panelText(panel), "") << panel;
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(folder.logText().count("Error in DlgMain.Sched_ItemMove"), logged + 1);
    EXPECT_TRUE(dlg->TimerEnabled());
}

TEST_F(DlgMainCommandsTest, DeletingAGroupAsksAndThenTakesEverythingWithIt) {
    booking(kDay, 540, 600);
    answer = plat::vbNo;
    dlg->Toolbar1_ButtonMenuClick("DeleteGroup");
    EXPECT_EQ(messages, QStringList{"Confirm: Confirm delete selected group?"});
    EXPECT_EQ(count("tblGroups"), 1);
    EXPECT_TRUE(dlg->Toolbar1->isButtonEnabled("Print"));
    answer = plat::vbYes;
    dlg->Toolbar1_ButtonMenuClick("DeleteGroup");
    EXPECT_EQ(count("tblGroups"), 0);
    EXPECT_EQ(count("tblBookings"), 0);
    EXPECT_EQ(dlg->CbGroup->count(), 0);
    EXPECT_EQ(dlg->Sched->rowCount(), 1);
    messages.clear();
    dlg->Toolbar1_ButtonMenuClick("DeleteGroup");
    EXPECT_EQ(messages, QStringList{"Warning!: No group selected!"});
}

TEST_F(DlgMainCommandsTest, DeletingAResourceNeedsASelectedRow) {
    booking(kDay, 540, 600);
    dlg->Toolbar1_ButtonMenuClick("DeleteRes");
    EXPECT_EQ(messages, QStringList{"Warning!: No resource selected!"});
    dlg->Sched->setSelectedRow(1);
    dlg->Toolbar1_ButtonMenuClick("DeleteRes");
    EXPECT_EQ(count("tblResources"), 0);
    EXPECT_EQ(count("tblBookings"), 0);
}

TEST_F(DlgMainCommandsTest, ViewCommandsStoreTheTimeTypeAndReloadTheChart) {
    dlg->Toolbar1_ButtonMenuClick("Weeks");
    EXPECT_EQ(ini.GetValue("Config", "TimeType", ""), "2");
    EXPECT_EQ(dlg->Sched->timeScale(), plat::Plexaro::Weeks);
    EXPECT_EQ(dlg->Sched->endDate(), kDay + 60);
    dlg->Toolbar1_ButtonClick("Screen");  // the button runs its first entry, Hours
    EXPECT_EQ(ini.GetValue("Config", "TimeType", ""), "0");
}

// The export of the group's bookings appears whole or not at all: a write that fails
// (here the file size limit, as a full disk would) leaves no file cut short behind a word
// that it was exported.
TEST_F(DlgMainCommandsTest, AnExportIsWrittenWholeOrToldAndLeavesNoFile) {
    for (int i = 0; i < 40; ++i) booking(kDay + i, 540, 600, QString("visit %1").arg(i));
    const QDir exports(folder.file("Export"));
    auto files = [&] { return QDir(exports).entryList({"*.csv*"}, QDir::Files); };
    messages.clear();
    dlg->mnuTransferExport_Click();
    ASSERT_EQ(files().size(), 1);
    QFile whole(exports.filePath(files().first()));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(whole.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 41);
    const QString last = R"("Anna",2026-01-19,09:00,10:00,"Visit","","","","","visit 39")";
    EXPECT_EQ(lines.value(40), last);
    EXPECT_EQ(messages, QStringList{"Export: Bookings exported to " + whole.fileName()});
    QFile::remove(whole.fileName());
    messages.clear();
    {
        const FileSizeLimit limit(1024);
        dlg->mnuTransferExport_Click();
    }
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Warning!: Unable to export the bookings!\r\n\r\n" +
                                       exports.path() + "/"));
    EXPECT_TRUE(
        messages[0].endsWith(".csv cannot be written: the disk is full; nothing was "
                             "exported."));
    EXPECT_TRUE(files().isEmpty());
}

// A file a command writes, on a disk too full for it (a file-size limit; the pieces are
// small, as Qt's own writer once took for written): the user is told which file and why,
// never "Group saved!", "Database backed up" or a settings file emptied without a word;
// an old file keeps every byte, and no new one is left.
TEST_F(DlgMainCommandsTest, AFileACommandWritesIsWrittenWholeOrToldWithTheFileAndWhy) {
    booking(kDay, 540, 600);
    sql(
        {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values ('Annex', 480, "
         "1080, 30)"});
    dlg->ShowGroups(1);
    WriteTestFile(ClsGroup::TemplateFile(), "[Ward]\n" + QByteArray(100, ';') + "\n");
    const QString settings = folder.file(folder.exeName() + ".ini");
    struct Case {
        const char* name;
        QString file;  // the file written over, or the folder a new one goes to
        std::function<void()> command;
        QString told;  // "%1": the file
    };
    const Case cases[] = {
        {"save group template", ClsGroup::TemplateFile(),
         [&] { dlg->mnuResourceSaveTemplate_Click(); },
         "Warning!: Unable to save the group template!\r\n\r\n%1 cannot be written: the disk "
         "is full; nothing was saved."},
        {"backup", ClsDAO::BackupFolder(), [&] { dlg->mnuTransferBackup_Click(); },
         "Warning!: Unable to back up the database!\r\n\r\n%1 cannot be written: the disk is "
         "full; nothing was backed up."},
        {"change of group", settings, [&] { dlg->CbGroup->SetListIndex(0); },
         "Warning!: The settings cannot be stored: %1 cannot be written: the disk is full."
         "\r\n\r\nThe program goes on without storing them."},
    };
    QDir().mkpath(ClsDAO::BackupFolder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool isNew = QFileInfo(c.file).isDir();
        const QByteArray before = isNew ? QByteArray() : ReadTestFile(c.file);
        const QDir around(isNew ? c.file : QFileInfo(c.file).absolutePath());
        const QStringList entries = around.entryList(QDir::Files | QDir::Hidden);
        messages.clear();
        {
            const FileSizeLimit limit(64);
            c.command();
        }
        // A new file is named by the time it was made, in its folder.
        const QStringList told = c.told.split("%1");
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(told[0] + c.file + (isNew ? "/" : " ")))
            << qPrintable(messages[0]);
        EXPECT_TRUE(messages[0].endsWith(told[1])) << qPrintable(messages[0]);
        if (!isNew) {
            EXPECT_EQ(ReadTestFile(c.file), before);
        }
        EXPECT_EQ(around.entryList(QDir::Files | QDir::Hidden), entries);
    }
    EXPECT_EQ(dlg->CbGroup->currentText(), "Annex");  // the program goes on
}

TEST_F(DlgMainCommandsTest, ButtonCommandsReArmTheTimerWithTheUpdateCheckPeriod) {
    dlg->Timer1->setInterval(5000);
    dlg->Toolbar1_ButtonClick("Screen");
    EXPECT_EQ(dlg->Timer1->interval(), 5000);
    EXPECT_TRUE(dlg->Timer1->enabled());
    ini.WriteValue("Config", "UpdateCheck", 10);
    dlg->Toolbar1_ButtonClick("Screen");
    EXPECT_EQ(dlg->Timer1->interval(), 10000);
    ini.WriteValue("Config", "UpdateCheck", 100);  // above what a timer takes
    dlg->Toolbar1_ButtonClick("Screen");
    EXPECT_EQ(dlg->Timer1->interval(), 10000);
    ini.WriteValue("Config", "UpdateCheck", 0);
    dlg->Toolbar1_ButtonClick("Screen");
    EXPECT_EQ(dlg->Timer1->interval(), 0);
}

TEST_F(DlgMainCommandsTest, PrintingPutsTheDateInTheTitle) {
    EXPECT_EQ(DlgMain::PrintTitle(0), "Rostima - Monday 1 January 1900");
    const QString pdf = folder.file("chart.pdf");
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        static_cast<QPrintDialog&>(d).printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    });
    dlg->Toolbar1_ButtonClick("Print");
    EXPECT_EQ(dlg->Sched->printTitle(), DlgMain::PrintTitle(kDay));
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DlgMainCommandsTest, BackupThenRestoreThroughTheMenus) {
    booking(kDay, 540, 600);  // its references are null: still backed up
    dlg->mnuTransferBackup_Click();
    const QStringList files = QDir(ClsDAO::BackupFolder()).entryList({"*.txt"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_GT(DlgRestore::LeadingNumber(files[0]), 20000000);
    sql({"delete from tblBookings", "delete from tblGroups"});
    plat::ModalHook::SetAnswererForTest([](QDialog& d) {
        static_cast<DlgRestore&>(d).BtnRestore_Click(0);
        return int(QDialog::Accepted);
    });
    dlg->mnuTransferRestore_Click();
    EXPECT_EQ(count("tblGroups"), 1);
    EXPECT_EQ(count("tblBookings"), 1);
    EXPECT_EQ(dlg->CbGroup->currentText(), "Clinic");
}

// Another program holds the database: a backup and a restore each say why, once.
TEST_F(DlgMainCommandsTest, BackupAndRestoreOfALockedDatabaseSayWhyOnce) {
    dlg->mnuTransferBackup_Click();  // one to restore
    plat::ModalHook::SetAnswererForTest([](QDialog& d) {
        static_cast<DlgRestore&>(d).BtnRestore_Click(0);
        return int(QDialog::Accepted);
    });
    SharedObjects::DAO().setBusyWaitMs(300);
    messages.clear();
    HeldDatabase held(folder, folder.file("Rostima.mdb"));
    SharedObjects::DAO().WaitAgain();
    dlg->mnuTransferBackup_Click();
    SharedObjects::DAO().WaitAgain();
    dlg->mnuTransferRestore_Click();
    EXPECT_EQ(messages.join("|"),
              "Warning!: Unable to back up the database!\r\n\r\nThe database "
              "is busy or cannot be read; nothing was backed up.|Warning!: Unable "
              "to restore the database: it is unchanged.\nThe database is "
              "busy or cannot be written.");
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

// A restore says what it left out and why, and what it could not tell apart; a file
// without its end mark is restored only when the user says so, and No changes nothing and
// says nothing more; a refused file is named with the reason.
TEST_F(DlgMainCommandsTest, RestoreSaysWhatItLeftOutAsksAboutAFileWithoutItsEndAndWhyItRefuses) {
    const QString file = ClsDAO::BackupFolder() + "/1.txt";
    const QString lines =
        "G~Clinic~480~1080~30\nR~Anna~30~600~30\nT~Visit~30~600~30~255\nC~Smith~~~\n"
        "C~Smith~~~\nA~Anna~Visit~~46000~540~600~~~~\nA~Anna~Visit~~46000~570~630~~~~\n"
        "A~Anna~Talk~~46000~700~730~~~~\nA~Anna~Visit~Smith~46000~800~830~~~~\n"
        "A~Anna~Visit~~46000~900~840~~~~\nG~Annex~480~1080~30\nR~Bo~30~600~30\n"
        "R~Bo~30~600~30\nT~Visit~30~600~30~255\nA~Bo~Visit~~46000~540~600~~~~\n"
        "A~Bo~Visit~~46000~570~630~~~~\nG~Night~1320~360~30\n"
        "A~Anna~Visit~~46000~540~600~~~~\n";
    const struct {
        const char* end;
        QString said;
        int64_t bookings;
    } cases[] = {
        {"E~G~3~R~3~T~2~C~2~A~8\n",
         "Restore: Database restored from " + file +
             "\n\n1 group(s) left out with their resources, types, customers and bookings: a "
             "day that ends before it starts.\n\n5 booking(s) could not be restored:\n1: no "
             "such appointment type in the group\n1: a clash with another booking\n1: a clash "
             "on the first of several resources of one name: this older backup does not tell "
             "them apart\n1: an end not after its start, or a time outside the day\n1: their "
             "group was left out\n\n2 booking(s) restored on the first of several resources, types or customers of one "
             "name (with no customer named, on none): this older backup does not tell them "
             "apart.",
         3},
        {"",
         "Confirm: The backup file " + file +
             " has no mark of its end: it may be an older backup, or one that was cut short. "
             "Restore from a file that may be incomplete?",
         0},
        {"E~G~3~R~3~T~2~C~2~A~9\n",
         "Warning!: Unable to restore the database: it is unchanged.\nThe file is incomplete "
         "or was added to: its end mark counts 9 A line(s), the file holds 8.",
         0},
    };
    QDir().mkpath(ClsDAO::BackupFolder());
    plat::ModalHook::SetAnswererForTest([](QDialog& d) {
        static_cast<DlgRestore&>(d).BtnRestore_Click(0);
        return int(QDialog::Accepted);
    });
    answer = plat::vbNo;
    for (const auto& c : cases) {
        sql({"delete from tblBookings"});
        messages.clear();
        WriteTestFile(file, (lines + c.end).toUtf8());
        dlg->mnuTransferRestore_Click();
        EXPECT_EQ(messages, QStringList{c.said});
        EXPECT_EQ(count("tblBookings"), c.bookings);
    }
}

TEST_F(DlgMainCommandsTest, WriteOpensTheEditorOnTheSelectedResourceOrWarnsWithoutOne) {
    dlg->Toolbar1->addButton("Write", "Write", "Make Appointment");
    dlg->Toolbar1_ButtonClick("Write");  // nothing selected: the first resource
    EXPECT_EQ(editor, QStringList{QString("1 480 1 0 %1").arg(kDay)});
    sql({"delete from tblResources"});
    dlg->ShowResources(0);
    editor.clear();
    dlg->Toolbar1_ButtonClick("Write");
    EXPECT_EQ(messages, QStringList{"Warning!: No resources configured!"});
    EXPECT_TRUE(editor.isEmpty());
}

TEST_F(DlgMainCommandsTest, SavingATemplateNeedsAGroup) {
    dlg->mnuResourceSaveTemplate_Click();
    EXPECT_EQ(messages, QStringList{"Saved!: Group saved!"});
    sql({"delete from tblGroups"});
    dlg->ShowGroups(0);
    messages.clear();
    dlg->mnuResourceSaveTemplate_Click();
    EXPECT_EQ(messages, QStringList{"Warning!: No group selected!"});
}

TEST_F(DlgMainCommandsTest, ExitStoresTheColumnWidthAndUnloads) {
    dlg->Sched->setListWidth(140);
    dlg->Toolbar1_ButtonClick("Exit");
    EXPECT_EQ(ini.GetValue("Sched", "ListWidth", ""), "140");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(folder.logText().contains("Closing down"));
    delete dlg;
    dlg = nullptr;
}

TEST_F(DlgMainCommandsTest, TheZoomBarAndTheDaySpin) {
    dlg->Scroll->setPosition(35);
    EXPECT_EQ(dlg->Sched->timeZoom(), 35);
    EXPECT_EQ(dlg->Sched->fiveMinuteWidth(), 2);
    EXPECT_EQ(ini.GetValue("Sched", "TimeDistance", ""), "35");
    dlg->SpinDate_Click(0);
    EXPECT_EQ(dlg->CurrentDate(), kDay - 1);
    dlg->SpinDate_Click(1);
    dlg->SpinDate_Click(1);
    EXPECT_EQ(dlg->CurrentDate(), kDay + 1);
}

TEST_F(DlgMainCommandsTest, TheToolbarsSetUpEntriesRefuseWithoutTheirSelection) {
    struct Case {
        const char* button;
        const char* entry;
        const char* message;
    } cases[] = {
        {"Resource", "EditRes", "Warning!: No resource selected!"},
        {"Group", "EditGroup", "Warning!: Unable to edit group!"},
        {"Resource", "AddRes", "Error!: No group selected!"},
    };
    sql({"delete from tblGroups"});
    dlg->ShowGroups(0);
    for (const Case& c : cases) {
        messages.clear();
        dlg->Toolbar1->choose(c.button, c.entry);
        EXPECT_EQ(messages, QStringList{c.message}) << c.entry;
    }
}

TEST_F(DlgMainCommandsTest, TheBookingPanelsEmptyWhenThePointerLeavesTheBarsOrTheGroupChanges) {
    booking(kDay, 540, 600, "", 1);
    sql(
        {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
         "values ('Annex', 0, 1440, 30)"});
    dlg->ShowResources(0);
    dlg->Sched->scrollTo(kDay, 480);
    auto pointAt = [this](int minute) {
        const plat::PlexaroView& v = dlg->Sched->view();
        const QPoint p(int(v.toViewportX(v.scale.xOf(kDay, minute))),
                       v.rows.rowTop(1) + v.rows.height() / 2);
        QMouseEvent e(QEvent::MouseMove, QPointF(p),
                      QPointF(dlg->Sched->viewport()->mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(dlg->Sched->viewport(), &e);
    };
    auto panels = [this] {
        QStringList texts;
        for (const char* key : {"Start", "End", "Task", "Person"})
            texts << dlg->StatusBar1->panelText(key);
        return texts.join('|');
    };
    pointAt(570);
    EXPECT_EQ(panels(), "09:00 am|10:00 am|Visit|Smith");
    pointAt(700);
    EXPECT_EQ(panels(), "|||");
    pointAt(570);
    dlg->ShowGroups(2);
    EXPECT_EQ(dlg->Sched->title(), "Annex");
    EXPECT_EQ(panels(), "|||");
    // The last group deleted elsewhere: the chart and the panels empty together.
    dlg->ShowGroups(1);
    pointAt(570);
    ASSERT_EQ(panels(), "09:00 am|10:00 am|Visit|Smith");
    sql({"delete from tblGroups"});
    dlg->ShowGroups(0);
    EXPECT_EQ(dlg->Sched->model().resourceCount(), 0);
    EXPECT_EQ(panels(), "|||");
}
