#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <functional>

#include "CalendarState.h"
#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "DlgMain.h"
#include "DlgSplash.h"
#include "FormsTimer.h"
#include "Hintel.h"
#include "KeyedToolbar.h"
#include "MainWindowFixture.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "MsgBox.h"
#include "Nudgel.h"
#include "Plexaro.h"
#include "QueuedInput.h"
#include "SharedObjects.h"
#include "TestSupport.h"

namespace {

class DlgMainTest : public MainWindowFixture {
protected:
    // A group "Clinic" (8:00 to 18:00) with resources Anna and Ben, two types and a booking
    // of Anna today.
    void clinic(int32_t day) {
        sql(
            {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values ('Clinic', 480, "
             "1080, 15)",
             "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values ('Annex', 0, "
             "1440, 30)",
             "insert into tblResources (GroupId, ResourceName) values (1, 'Ben')",
             "insert into tblResources (GroupId, ResourceName) values (1, 'Anna')",
             "insert into tblTasks (GroupId, TaskName, Colour) values (1, 'Visit', 255)",
             "insert into tblTasks (GroupId, TaskName, Colour) values (1, 'Call', 65280)",
             "insert into tblCustomers (CustomerName) values ('Smith')",
             QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                     "CustomerId, ResourceId, RepeatId) values (1, %1, 540, 600, 1, 2, 0)")
                 .arg(day)});
        setting("Group", "CbGroup", "1");
    }
    int32_t today() { return QDate(1900, 1, 1).daysTo(QDate::currentDate()); }
};

}  // namespace

TEST_F(DlgMainTest, AFreshDatabaseComesUpEmptyAndUsable) {
    ASSERT_TRUE(start());
    EXPECT_EQ(dlg->CbGroup->count(), 0);
    EXPECT_EQ(dlg->Sched->rowCount(), 1);
    EXPECT_EQ(dlg->Sched->title(), "");
    EXPECT_EQ(dlg->CurrentDate(), today());
    EXPECT_EQ(setting("Config", "DbName"), folder.file("Rostima.mdb"));
    EXPECT_TRUE(dlg->windowTitle().startsWith("Rostima! (1.05.00)"));
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains(folder.exeName() + " starting (Version: 1.05.00)"));
    EXPECT_TRUE(log.contains("Open database [1]   " + folder.file("Rostima.mdb")));
}

TEST_F(DlgMainTest, AStoredPathThatIsGoneFallsBackToTheProgramFolderSayingSoAndKeepsIt) {
    const QString gone = folder.file("share/Rostima.mdb");
    setting("Config", "DbName", gone);
    ASSERT_TRUE(start());
    EXPECT_EQ(SharedObjects::DAO().DbPath(), folder.file("Rostima.mdb"));
    EXPECT_EQ(messages, QStringList{"Warning!: The database " + gone +
                                    " was not found. This "
                                    "session uses " +
                                    folder.file("Rostima.mdb") +
                                    " instead; the setting is kept, so the next start tries " +
                                    gone + " again."});
    EXPECT_EQ(setting("Config", "DbName"), gone);
}

// A settings file that takes no write (here the disk is too full for it) fails every write
// of the run, those of the start among them: the user hears of it once, with the file and
// why, and the program goes on; the log has one line for them all, and the file keeps
// every byte.
TEST_F(DlgMainTest, SettingsThatCannotBeStoredAreToldOnceAtTheStartAndLoggedOnce) {
    clinic(today());
    const QString file = folder.file(folder.exeName() + ".ini");
    setting("Notes", "Padding", QString(5000, '-'));
    const QByteArray before = ReadTestFile(file);
    {
        const FileSizeLimit limit(before.size() - 100);
        ASSERT_TRUE(start());
        QCoreApplication::processEvents();  // the first activation
        dlg->Timer1_Timer();
        dlg->Toolbar1_ButtonMenuClick("Days");  // a command of the user's that stores a setting
    }
    EXPECT_EQ(dlg->Sched->timeScale(), plat::Plexaro::Days);
    EXPECT_EQ(messages, QStringList{"Warning!: The settings cannot be stored: " + file +
                                    " cannot be written: the disk is full.\r\n\r\nThe program "
                                    "goes on without storing them."});
    EXPECT_EQ(folder.logText().count("ERROR: ClsIni."), 1);
    EXPECT_EQ(ReadTestFile(file), before);
}

// The warning says why, as the log does.
TEST_F(DlgMainTest, ADatabaseThatCannotBeOpenedWarnsWhyAndEndsKeepingTheStoredState) {
    const QString db = folder.file("Rostima.mdb");
    const struct {
        const char* name;
        std::function<void()> make;
        QString why;
    } cases[] = {
        {"missing", [] {}, "No database file " + db},
        {"a folder", [&] { QDir().mkdir(db); }, "A folder, not a database file: " + db},
        {"not a database", [&] { WriteTestFile(db, "just some words\n"); },
         "Not a Rostima database: " + db},
    };
    setting("Config", "LastDate", "45000");
    setting("DlgMain", "Left", "1500");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(db);
        QDir(db).removeRecursively();
        c.make();
        messages.clear();
        EXPECT_FALSE(start());
        EXPECT_EQ(messages,
                  QStringList{"Warning!: Unable to open database!\n" + db + "\n\n" + c.why});
        EXPECT_TRUE(folder.logText().contains("Closing down"));
        EXPECT_FALSE(folder.logText().contains("ClsDAO.DbClose"));  // the open's line says it
        EXPECT_EQ(setting("Config", "LastDate"), "45000");
        EXPECT_EQ(setting("DlgMain", "Left"), "1500");
        EXPECT_EQ(setting("DlgMain", "Width"), "<none>");
        delete dlg;
        dlg = nullptr;
    }
}

// Read as defaults, it would open the program folder's database without this workstation's
// options: the start ends instead, saying which file and why, and writes nothing.
TEST_F(DlgMainTest, ASettingsFileThatCannotBeReadIsToldAndTheStartEndsWithoutADatabase) {
    const QString settings = folder.file(folder.exeName() + ".ini");
    ASSERT_TRUE(QFile::remove(settings));
    ASSERT_TRUE(QDir().mkdir(settings));
    EXPECT_FALSE(start());
    EXPECT_EQ(messages, QStringList{"Warning!: The settings file " + settings +
                                    " cannot be read: it is a folder, not a file.\nThe "
                                    "program ends without opening a database."});
    EXPECT_FALSE(folder.logText().contains("ClsDAO.DbOpen"));
    EXPECT_FALSE(folder.logText().contains("Open database ["));
    EXPECT_FALSE(QFile::exists(folder.file("Rostima.mdb.users")));  // no open was tried
    EXPECT_TRUE(QDir(settings).isEmpty());
    EXPECT_FALSE(folder.logText().contains("ERROR: ClsIni.WriteValue"));
    delete dlg;
    dlg = nullptr;
}

TEST_F(DlgMainTest, TheLastGroupIsShownWithItsRowsBarsAndLegend) {
    clinic(today());
    setting("Options", "DispCustomer", "1");
    ASSERT_TRUE(start());
    EXPECT_EQ(dlg->CbGroup->currentText(), "Clinic");
    EXPECT_EQ(dlg->Sched->title(), "Clinic");
    EXPECT_EQ(dlg->Sched->dayStart(), 480);
    ASSERT_EQ(dlg->Sched->rowCount(), 3);
    EXPECT_EQ(dlg->Sched->rowText(1), "Anna");  // by name
    EXPECT_EQ(dlg->Sched->rowData(1), 2);
    EXPECT_EQ(dlg->Sched->barData(1, 1), 1);
    EXPECT_EQ(dlg->Sched->barKey(1, 1), "B1");
    EXPECT_EQ(dlg->Sched->barColor(1, 1), 255u);
    EXPECT_EQ(dlg->Sched->barText(1, 1), "Smith");
    EXPECT_NE(dlg->LastBookingCheck, 0);
    EXPECT_EQ(dlg->LblLegend[0]->text(), "Call");
    EXPECT_EQ(dlg->LblLegend[1]->text(), "Visit");
    EXPECT_TRUE(dlg->LblLegend[1]->isVisibleTo(dlg));
    EXPECT_EQ(dlg->LblColor[1]->property("Tag").toString(), "1");
    EXPECT_TRUE(dlg->Sched->isVisible());
    EXPECT_FALSE(dlg->LblUpdating->isVisible());
}

// The group stored for the next start: the one whose chart was read; none (-1) after a
// click with no group chosen; and the one shown still, when the chosen one cannot be read.
TEST_F(DlgMainTest, TheGroupStoredIsTheOneShownOrNoneWhenNoneIsChosen) {
    clinic(today());
    ASSERT_TRUE(start());
    dlg->CbGroup->SetListIndex(0);  // Annex
    EXPECT_EQ(setting("Group", "CbGroup"), "2");
    dlg->CbGroup->SetListIndex(-1);
    EXPECT_EQ(setting("Group", "CbGroup"), "-1");
    EXPECT_EQ(dlg->Sched->title(), "Annex");  // nothing loaded
    dlg->CbGroup->SetListIndex(0);
    SharedObjects::DAO().setBusyWaitMs(200);
    HeldDatabase held(folder, folder.file("Rostima.mdb"));
    SharedObjects::DAO().WaitAgain();
    dlg->CbGroup->SetListIndex(1);  // Clinic, which cannot be read now
    EXPECT_EQ(setting("Group", "CbGroup"), "2");
    EXPECT_EQ(dlg->CbGroup->currentText(), "Annex");
    held.release();
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

TEST_F(DlgMainTest, AMissingTypeOrNameDoesNotCutTheChartShort) {
    clinic(today());
    sql({"update tblResources set ResourceName = null where ResourceId = 1",
         "delete from tblTasks where TaskId = 1",
         QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                 "CustomerId, ResourceId, RepeatId) values (2, %1, 700, 760, 0, 2, 0)")
             .arg(today())});
    ASSERT_TRUE(start());
    ASSERT_EQ(dlg->Sched->rowCount(), 3);
    EXPECT_EQ(dlg->Sched->rowText(1), "");          // the nameless one sorts first
    EXPECT_EQ(dlg->Sched->model().barCount(2), 2);  // both of Anna's bookings
    EXPECT_EQ(dlg->Sched->barColor(2, 1), 0xC0C0C0u);
    EXPECT_EQ(folder.logText().count("has no appointment type"), 1);
    EXPECT_NE(dlg->LastBookingCheck, 0);
}

TEST_F(DlgMainTest, ReadOnlyWorkstationsDoNotSeeTheSetUpCommands) {
    setting("Options", "IsReadOnly", "1");
    ASSERT_TRUE(start());
    for (const char* key : {"Config", "Group", "Resource"})
        EXPECT_FALSE(dlg->Toolbar1->isButtonVisible(key)) << key;
    EXPECT_TRUE(dlg->Toolbar1->isButtonVisible("Screen"));
    EXPECT_FALSE(dlg->mnuResource->menuAction()->isVisible());
    EXPECT_FALSE(dlg->mnuTransfer->menuAction()->isVisible());
    if (dlg->mnuFileConfiguration) {
        EXPECT_FALSE(dlg->mnuFileConfiguration->isVisible());
    }
    // Moved left, and still whole on the window.
    EXPECT_EQ(dlg->CbGroup->x(), 0);
    EXPECT_TRUE(dlg->centralWidget()->rect().contains(dlg->CbGroup->geometry()));
}

TEST_F(DlgMainTest, AnotherWorkstationsChangeReloadsTheChartOnTheNextTick) {
    clinic(today());
    ASSERT_TRUE(start());
    const int32_t before = dlg->LastBookingCheck;
    sql({QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                 "CustomerId, ResourceId, RepeatId) values (2, %1, 600, 660, 0, 1, 0)")
             .arg(today())});
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->Sched->model().barCount(2), 1);
    EXPECT_NE(dlg->LastBookingCheck, before);
    // The load took the fingerprint from the bars it read: the tick's own value.
    EXPECT_EQ(dlg->LastBookingCheck, SharedObjects::Booking().BookingCheck(
                                         dlg->Sched->startDate(), dlg->Sched->endDate(), 1));
    EXPECT_TRUE(dlg->Timer1->enabled());
    // A change of another group does not reload.
    sql({"insert into tblResources (GroupId, ResourceName) values (2, 'Far')",
         QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                 "CustomerId, ResourceId, RepeatId) values (2, %1, 600, 660, 0, 3, 0)")
             .arg(today())});
    const int32_t kept = dlg->LastBookingCheck;
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->LastBookingCheck, kept);
}

TEST_F(DlgMainTest, AChangeMadeWhileTheChartLoadsIsShownByTheNextTick) {
    clinic(today());
    ASSERT_TRUE(start());
    // Another workstation adds a booking of Anna (row 1) while the load lets events run
    // before Ben's row: after Anna's bookings were read.
    int events = 0;
    std::function<void()> elsewhere = [&] {
        if (++events == 1) {
            QMetaObject::invokeMethod(qApp, elsewhere, Qt::QueuedConnection);
            return;
        }
        sql({QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                     "CustomerId, ResourceId, RepeatId) values (1, %1, 700, 760, 0, 2, 0)")
                 .arg(today())});
    };
    QMetaObject::invokeMethod(qApp, elsewhere, Qt::QueuedConnection);
    dlg->ShowResources(0);
    ASSERT_EQ(events, 2);
    EXPECT_EQ(dlg->Sched->model().barCount(1), 1);
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->Sched->model().barCount(1), 2);
}

TEST_F(DlgMainTest, ATickWaitsWithItsReloadUntilAnOpenDialogHasClosed) {
    clinic(today());
    ASSERT_TRUE(start());
    sql({QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                 "CustomerId, ResourceId, RepeatId) values (2, %1, 600, 660, 0, 1, 0)")
             .arg(today())});
    QDialog editor(dlg);
    editor.setObjectName("DlgGroup");
    editor.setModal(true);
    editor.show();
    SharedObjects::Group().setGroupName("Being edited");
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->Sched->model().barCount(2), 0);
    EXPECT_EQ(SharedObjects::Group().GroupName(), "Being edited");
    editor.close();
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->Sched->model().barCount(2), 1);
}

// The Exit button or the close box pressed during a load ends the program after it, never
// under it: the load shows its rows, then the program closes down once.
TEST_F(DlgMainTest, AnUnloadAskedForDuringALoadWaitsForTheLoadToEnd) {
    clinic(today());
    struct Case {
        const char* what;
        std::function<void()> ask;
    } cases[] = {
        {"the Exit button", [this] { QueuedInput::Click(toolButton("Exit")); }},
        {"the close box", [this] { QueuedInput::CloseBox(*dlg); }},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(start()) << c.what;
        QueuedInput::RunAll();  // the first activation
        const qsizetype endsBefore = folder.logText().count("Closing down");
        c.ask();
        dlg->ShowResources(0);  // it lets the window repaint before every row
        EXPECT_EQ(folder.logText().count("Closing down"), endsBefore) << c.what;
        EXPECT_EQ(dlg->Sched->rowCount(), 3) << c.what;
        EXPECT_FALSE(dlg->Closing) << c.what;
        QueuedInput::RunAll();
        if (dlg->Closing) dlg->Timer1_Timer();  // the close box's, 100 ms later
        EXPECT_EQ(folder.logText().count("Closing down"), endsBefore + 1) << c.what;
        delete dlg;
        dlg = nullptr;
    }
}

TEST_F(DlgMainTest, TheOptionsTheFirstStartSwitchesOnApplyAtOnce) {
    clinic(today());
    setting("Config", "FirstStart", "0");
    setting("Config", "LastDate", QString::number(today() - 3));
    plat::ModalHook::SetAnswererForTest([](QDialog& d) {
        static_cast<DlgSplash&>(d).BtnSplash_Click(0);  // the terms were agreed before
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(start());
    EXPECT_EQ(dlg->CurrentDate(), today() - 3);
    QApplication::processEvents();  // the first activation shows the start-up form
    EXPECT_EQ(setting("Options", "Autoscroll"), "1");
    EXPECT_EQ(dlg->CurrentDate(), today());              // autoscroll starts on today
    EXPECT_TRUE(dlg->ToolTips->isAttached(dlg->Sched));  // pop-up reminders
    EXPECT_EQ(dlg->Sched->barText(1, 1), "Smith");       // customers on the bars
    EXPECT_TRUE(dlg->Timer1->enabled());
}

TEST_F(DlgMainTest, AutoscrollReturnsToTodayButNotUnderAnOpenDialog) {
    setting("Options", "Autoscroll", "1");
    ASSERT_TRUE(start());
    dlg->setCurrentDate(today() - 10);
    dlg->AutoscrollCountdown = 1;
    QDialog modal(dlg);
    modal.setModal(true);
    modal.show();
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->CurrentDate(), today() - 10);
    modal.close();
    dlg->Timer1_Timer();
    EXPECT_EQ(dlg->CurrentDate(), today());
    EXPECT_EQ(dlg->AutoscrollCountdown, 20);
}

// Groups picked and days stepped while a load works are carried out after it, one after
// the other: the last group picked ends on screen and in the settings, and each day step
// counts from the one before it.
TEST_F(DlgMainTest, TheGroupAndTheDaysAskedForDuringALoadAreLoadedAfterItAndTheLastWins) {
    clinic(today());
    sql({"insert into tblResources (GroupId, ResourceName) values (2, 'Annex room')"});
    ASSERT_TRUE(start());
    QueuedInput::RunAll();  // the first activation
    const int32_t day = dlg->CurrentDate();
    auto* forward = dlg->SpinDate->findChild<QWidget*>("forward");
    QueuedInput::Wheel(*dlg->CbGroup, 1);   // Clinic to Annex
    QueuedInput::Wheel(*dlg->CbGroup, -1);  // and back
    QueuedInput::Wheel(*dlg->CbGroup, 1);   // Annex again, the last
    QueuedInput::Click(*forward);
    QueuedInput::Click(*forward);
    dlg->ShowResources(0);
    EXPECT_EQ(dlg->Sched->title(), "Clinic");  // nothing ran inside the load
    QueuedInput::RunAll();
    EXPECT_EQ(dlg->CbGroup->currentText() + " " + dlg->Sched->title(), "Annex Annex");
    ASSERT_EQ(dlg->Sched->rowCount(), 2);
    EXPECT_EQ(dlg->Sched->rowText(1), "Annex room");
    EXPECT_EQ(setting("Group", "CbGroup"), "2");
    EXPECT_EQ(dlg->Sched->startDate(), day + 2);
    EXPECT_EQ(setting("Config", "LastDate"), QString::number(day + 2));
}

TEST_F(DlgMainTest, WhenTheLastGroupGoesTheChartTitleAndLegendAreCleared) {
    clinic(today());
    ASSERT_TRUE(start());
    sql({"delete from tblGroups"});
    dlg->ShowGroups(1);
    EXPECT_EQ(dlg->Sched->rowCount(), 1);
    EXPECT_EQ(dlg->Sched->title(), "");
    EXPECT_FALSE(dlg->LblLegend[0]->isVisibleTo(dlg));
}

TEST_F(DlgMainTest, TheCloseBoxIsDeferredToTheNextTickWhichUnloads) {
    ASSERT_TRUE(start());
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->Closing);
    EXPECT_EQ(dlg->Timer1->interval(), 100);
    dlg->Timer1_Timer();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(setting("DlgMain", "WindowState"), "0");
    EXPECT_EQ(setting("Config", "LastDate"), QString::number(today()));
    // The start and the end of the run, in their order.
    const QString log = folder.logText();
    qsizetype at = 0;
    for (const QString& line :
         {folder.exeName() + " starting (Version: 1.05.00)", QString("Windows version "),
          QString("MemPhyTot="), QString("GetUserCount() = 1"), QString("Open database [1]   "),
          QString(" DlgMain\n"), QString("Database close [0]"), QString("Closing down\n")}) {
        const qsizetype next = log.indexOf(line, at);
        EXPECT_GE(next, at) << line.toStdString();
        at = std::max(at, next);
    }
    EXPECT_TRUE(log.endsWith("Closing down\n"));
    delete dlg;
    dlg = nullptr;
}

TEST_F(DlgMainTest, AnUnloadWaitsForAnOpenDialogToClose) {
    ASSERT_TRUE(start());
    dlg->Closing = true;
    {
        QTimer::singleShot(0, dlg, [this] { dlg->Timer1_Timer(); });
        QDialog modal(dlg);
        modal.exec();  // the tick runs in here and closes it instead of unloading
    }
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(folder.logText().contains("Closing down"));
    dlg->Timer1_Timer();
    EXPECT_TRUE(folder.logText().contains("Closing down"));
    delete dlg;
    dlg = nullptr;
}

TEST_F(DlgMainTest, TheLegendSwitchWidensTheChartAndIsRemembered) {
    ASSERT_TRUE(start());
    dlg->resize(900, 600);
    const int withLegend = dlg->Sched->width();
    dlg->ChkLegend->click();
    EXPECT_EQ(dlg->Sched->width() - withLegend, (2625 - 345) / 15);
    EXPECT_FALSE(dlg->Frame1->isVisibleTo(dlg));
    EXPECT_EQ(setting("Config", "ChkLegend"), "0");
}

TEST_F(DlgMainTest, CurrentResourceSelectsItsRowAndLeavesAnUnknownOneAlone) {
    clinic(today());
    ASSERT_TRUE(start());
    dlg->setCurrentResource(1);  // Ben, the second row by name
    EXPECT_EQ(dlg->Sched->selectedRow(), 2);
    dlg->setCurrentResource(99);
    EXPECT_EQ(dlg->Sched->selectedRow(), 2);
}

TEST_F(DlgMainTest, TheTimeTypeDecidesTheEndDateAndRulerFormat) {
    setting("Config", "TimeType", "2");
    ASSERT_TRUE(start());
    EXPECT_EQ(dlg->Sched->endDate(), dlg->Sched->startDate() + 60);
    EXPECT_EQ(dlg->Sched->dateFormat(), "M Y");
    setting("Config", "TimeType", "0");
    dlg->SetScheduleEndDate();
    EXPECT_EQ(dlg->Sched->endDate(), dlg->Sched->startDate());
    EXPECT_EQ(dlg->Sched->dateFormat(), "D, n M Y");
}

TEST_F(DlgMainTest, RefusingTheTermsOnTheFirstStartEndsTheProgram) {
    setting("Startup", "HasAgreedTerms", "0");
    int shown = 0;
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        ++shown;
        EXPECT_EQ(d.objectName(), "DlgSplash");
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(start());
    QApplication::processEvents();  // the first activation
    plat::ModalHook::SetAnswererForTest(nullptr);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(folder.logText().contains("Closing down"));
    EXPECT_FALSE(dlg->Timer1->enabled());
    delete dlg;
    dlg = nullptr;
}

TEST_F(DlgMainTest, TheChartShowsTimesInTheFormTheSettingsChoose) {
    setting("Options", "UseMilitaryTime", "1");
    ASSERT_TRUE(start());
    EXPECT_TRUE(dlg->Sched->use24Hour());
    setting("Options", "UseMilitaryTime", "0");
    dlg->ShowResources(0);
    EXPECT_TRUE(dlg->Sched->use12Hour());
}

TEST_F(DlgMainTest, HelpOpensTheTopicOfItsContextAndClosesWithTheWindow) {
    QFile help(folder.file("Rostima.HLP"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("# 50: The schedule\nRows and bars.\n\n# 10: About\nVersion.\n");
    help.close();
    ASSERT_TRUE(start());
    EXPECT_EQ(ContextIDs::HelpFile(), folder.file("Rostima.HLP"));
    ContextIDs::ShowHelp(ContextIDs::IDH_MAIN);
    EXPECT_EQ(ContextIDs::ShownContext(), 50);
    ContextIDs::CloseHelp();
    EXPECT_EQ(ContextIDs::ShownContext(), -1);
}

TEST_F(DlgMainTest, TheViewMenuChecksTheTimeScaleShownHoweverItWasChosen) {
    setting("Config", "TimeType", "2");
    ASSERT_TRUE(start());
    QMenu* view = nullptr;
    for (QAction* a : dlg->menuBar()->actions())
        if (a->text() == "&View") view = a->menu();
    ASSERT_NE(view, nullptr);
    const auto checked = [&] {
        QStringList names;
        for (QAction* a : view->actions())
            if (a->isChecked()) names << a->text();
        return names.join(',');
    };
    EXPECT_EQ(checked(), "&Weeks");         // from the settings at start
    dlg->Toolbar1_ButtonMenuClick("Days");  // the toolbar button's menu
    EXPECT_EQ(checked(), "&Days");
    view->actions().first()->trigger();  // the menu's own entry
    EXPECT_EQ(dlg->Sched->timeScale(), plat::Plexaro::Hours);
    EXPECT_EQ(checked(), "&Hours");
    view->actions().first()->trigger();  // choosing the checked one keeps it checked
    EXPECT_EQ(checked(), "&Hours");
}
