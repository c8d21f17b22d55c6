#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <optional>

#include "BookingCommands.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgGroup.h"
#include "FormsTimer.h"
#include "KeyedToolbar.h"
#include "Plexaro.h"
#include "booking/DlgApptFixture.h"

namespace {
using LockedDatabase = DlgApptTest;
ClsForms& forms() { return SharedObjects::Forms(); }
QString notWritten(const QString& heading, const QString& what) {
    return "Warning!: " + heading +
           "\r\n\r\nThe database is busy or cannot be written; nothing was " + what + ".";
}
// A command that could not read what it works on says what it did not do.
QString notDone(const QString& heading, const QString& what = "changed") {
    return notWritten(heading, what).replace("be written", "be read");
}

// What the main window shows: the chart's title, hours, days, scale and rows with the
// bars of the first, the legend and the group chosen.
QString chartShown(const DlgMain& w) {
    const plat::Plexaro& chart = *w.Sched;
    QStringList legend;
    for (const QLabel* label : w.LblLegend)
        if (label->isVisibleTo(&w)) legend << label->text();
    return QString("%1 %2-%3 %4..%5 %6 %7 rows %8 bars %9 [%10] %11%12")
        .arg(chart.title())
        .arg(chart.dayStart())
        .arg(chart.dayEnd())
        .arg(chart.startDate())
        .arg(chart.endDate())
        .arg(chart.timeScale())
        .arg(chart.dateFormat())
        .arg(chart.rowCount())
        .arg(chart.model().barCount(1))
        .arg(legend.join(","))
        .arg(w.CbGroup->currentText())
        .arg(chart.isVisibleTo(&w) && !w.LblUpdating->isVisibleTo(&w) ? "" : " hidden");
}

// What the booking editor shows: its day, its resource, the times taken up, and the type's
// longest time, the type and the customer picked.
QString editorShown(const DlgAppt& e) {
    return QString("%1 rows %2 [%3|%4] %5 %6-%7 %8 %9 %10")
        .arg(e.LbTimeSlot->title())
        .arg(e.LbTimeSlot->rowCount())
        .arg(e.LbTimeSlot->cellText((540 - 480) / 15, 2))
        .arg(e.LbTimeSlot->cellText((660 - 480) / 15, 2))
        .arg(e.CbResource->currentText())
        .arg(e.LblStart->text())
        .arg(e.LblEnd->text())
        .arg(SharedObjects::Task().MaxTime())
        .arg(e.CbTask->currentText(), e.CbCustomer->currentText());
}
}  // namespace

// Another program holds the database ("sqlite3", then "BEGIN EXCLUSIVE") while the user
// gives each command, or while nobody is at the screen. A command says why after one wait,
// not one per statement; what the tick does is told to nobody and never stops it; the
// editor's day and the chart keep what they showed, also while the user is told; nothing
// is stored or deleted; and once the lock is gone the next tick shows what another
// workstation changed meanwhile.
TEST_F(LockedDatabase, EachCommandIsToldAfterOneWaitKeepsWhatIsShownAndComesBackAfterIt) {
    constexpr int kWait = 1000;  // the busy wait, shortened for the table
    const QString notRead = QString("Warning!: ") + ModMain::kNotRead;
    auto opened = [](const char* heading) { return notDone(heading, "opened"); };
    const QString notOpened = opened("Unable to open the booking editor!");
    const QString notScaled = notDone("Unable to change the time scale!");
    const QString notDate = notDone("Unable to show the date chosen!");
    const QString notPlaced = notWritten("Unable to move/copy appointment!", "saved");
    const QString notDeleted = notWritten("Unable to delete appointment!", "deleted");
    const int32_t today = SharedObjects::Date().DateToLong(QDate::currentDate());
    std::unique_ptr<DlgGroup> groupEditor;
    auto takeUp = [](DlgAppt* e) { e->LbTimeSlot->click(rowOf(540), 1); };
    auto narrowerDay = [&](DlgAppt*) {
        EXPECT_EQ(SharedObjects::Group().Load(1), Loaded::Row);
        SharedObjects::Group().setDayStart(540);
        groupEditor = std::make_unique<DlgGroup>(dlg);
        groupEditor->Form_Load();
    };
    auto menu = [&](const char* entry) {
        return [this, entry](DlgAppt*) { dlg->Toolbar1_ButtonMenuClick(entry); };
    };
    // Another group, the first of the list; the chart shows the Clinic.
    sql(
        {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values ('Annex', 0, "
         "1440, 60)",
         "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
         "values (2, 'Cot', 60, 600, 60)"});
    dlg->ShowGroups(1);
    struct Case {
        const char* command;
        bool inEditor;
        std::function<void(DlgAppt*)> before, locked;
        QString told;              // "" = nothing
        bool writersOnly = false;  // the other program writes: reads go on
        // Once the lock is gone, in place of the next tick's following the other's booking.
        std::function<void()> after = nullptr;
    };
    const Case cases[] = {
        {"editor: delete", true, takeUp, [](DlgAppt* e) { e->BtnTask_Click(3); },
         "Confirm: Do you wish to delete this appointment?|" + notDeleted},
        {"editor: delete while another program writes", true, takeUp,
         [](DlgAppt* e) { e->BtnTask_Click(3); },
         "Confirm: Do you wish to delete this appointment?|" + notDeleted, true},
        {"editor: delete a series while another program writes", true,
         [&](DlgAppt* e) {
             sql({"update tblBookings set RepeatId = 7"});
             takeUp(e);
         },
         [](DlgAppt* e) { e->BtnTask_Click(3); },
         "Confirm: Do you wish to delete this appointment?|Confirm: This appointment is part "
         "of a repeated sequence.\r\nDo you wish to delete all repeated appointments?|" +
             notDeleted,
         true},
        {"editor: save", true,
         [&](DlgAppt* e) {
             takeUp(e);
             e->TxtComments->setText("typed");
         },
         [](DlgAppt* e) { e->BtnTask_Click(0); },
         notWritten("Unable to save appointment!", "saved")},
        {"editor: move placed", true,
         [&](DlgAppt* e) {
             takeUp(e);
             e->BtnTask_Click(4);
         },
         [](DlgAppt* e) { e->LbTimeSlot->click(rowOf(900), 1); }, notPlaced},
        {"editor: copy pressed", true, takeUp, [](DlgAppt* e) { e->BtnTask_Click(5); }, notPlaced},
        {"editor: date spin", true, takeUp, [](DlgAppt* e) { e->SpinDate_Click(1); }, notDate},
        {"editor: another resource", true, takeUp,
         [](DlgAppt* e) { e->CbResource->SetListIndex(1); },
         notDone("Unable to show the resource chosen!")},
        {"editor: end spin", true, takeUp, [](DlgAppt* e) { e->SpinEnd_Click(0); },
         notDone("Unable to change the end time!")},
        {"editor: start spin", true, takeUp, [](DlgAppt* e) { e->SpinStart_Click(1); },
         notDone("Unable to change the start time!")},
        {"editor: another customer picked", true, takeUp,
         [](DlgAppt* e) { forms().SetComboData(*e->CbCustomer, 2); },
         notDone("Unable to choose the customer!")},
        {"editor: another type picked", true, takeUp,
         [](DlgAppt* e) { forms().SetComboData(*e->CbTask, 2); },
         notDone("Unable to choose the appointment type!")},
        {"editor: a booked slot clicked", true, nullptr,
         [](DlgAppt* e) { e->LbTimeSlot->click(rowOf(540), 1); },
         notDone("Unable to select the appointment!")},
        {"editor: delete type", true, [](DlgAppt* e) { forms().SetComboData(*e->CbTask, 2); },
         [](DlgAppt* e) { e->Toolbar1_ButtonMenuClick("DeleteTask"); },
         "Confirm: Confirm delete selected task?|" +
             notWritten("Unable to delete the appointment type!", "deleted"),
         true},
        {"editor: edit type", true,
         [](DlgAppt* e) {
             DlgApptHooks::Get().showApptType = [] { ADD_FAILURE() << "opened on nothing"; };
             forms().SetComboData(*e->CbTask, 2);
         },
         [](DlgAppt* e) { e->Toolbar1_ButtonMenuClick("EditTask"); },
         opened("Unable to edit the appointment type!")},
        {"editor: edit customer", true,
         [](DlgAppt* e) {
             DlgApptHooks::Get().showContact = [](auto) { ADD_FAILURE() << "opened on nothing"; };
             forms().SetComboData(*e->CbCustomer, 2);
         },
         [](DlgAppt* e) { e->Toolbar1_ButtonMenuClick("EditCustomer"); },
         opened("Unable to edit the customer!")},
        {"editor: delete customer", true,
         [](DlgAppt* e) { forms().SetComboData(*e->CbCustomer, 2); },
         [](DlgAppt* e) { e->Toolbar1_ButtonMenuClick("DeleteCustomer"); },
         "Confirm: Confirm selected customer?|" +
             notWritten("Unable to delete the customer!", "deleted"),
         true},
        {"editor: exit, then the repair pass and the chart", true, nullptr,
         [](DlgAppt* e) { e->Toolbar1_ButtonClick("Exit"); }, notRead},
        {"chart: date spin", false, nullptr, [&](DlgAppt*) { dlg->SpinDate_Click(1); }, notDate},
        {"chart: a day chosen in the calendar", false, nullptr,
         [&](DlgAppt*) {
             plat::ModalHook::SetAnswererForTest([](QDialog&) {
                 CalendarState::setCalDate(kDay + 7);
                 return int(QDialog::Accepted);
             });
             BookingCommands::Calendar(*dlg);
         },
         notRead},
        {"chart: another group", false, nullptr,
         [&](DlgAppt*) { dlg->CbGroup->SetListIndex(0); },
         notDone("Unable to show the group chosen!")},
        {"chart: days", false, nullptr, menu("Days"), notScaled},
        {"chart: weeks", false, nullptr, menu("Weeks"), notScaled},
        {"chart: a new group cancelled, then another group", false, nullptr,
         [&](DlgAppt*) {
             plat::ModalHook::SetAnswererForTest([](QDialog& d) {
                 static_cast<DlgGroup&>(d).BtnGroup_Click(1);
                 return int(QDialog::Rejected);
             });
             dlg->Toolbar1_ButtonMenuClick("AddGroup");
             plat::ModalHook::SetAnswererForTest(nullptr);
             dlg->CbGroup->SetListIndex(0);
         },
         notRead},
        {"chart: a type dropped", false, nullptr,
         [&](DlgAppt*) { dlg->Sched_DropItem(2, 600, kDay); }, notOpened},
        {"chart: a row double-clicked", false, nullptr,
         [&](DlgAppt*) { dlg->Sched_ListDblClick(1); }, notOpened},
        {"chart: write", false, nullptr, [&](DlgAppt*) { dlg->Toolbar1_ButtonClick("Write"); },
         notOpened},
        {"chart: edit group", false, nullptr, menu("EditGroup"), opened("Unable to edit group!")},
        {"chart: new resource", false, nullptr, menu("AddRes"),
         opened("Unable to add a resource!")},
        {"chart: edit resource", false, [&](DlgAppt*) { dlg->Sched->setSelectedRow(2); },
         menu("EditRes"), opened("Unable to edit the resource!")},
        {"chart: refresh tick", false, nullptr, [&](DlgAppt*) { dlg->Timer1_Timer(); }, ""},
        {"chart: date spin, then the tick that reads again", false, nullptr,
         [&](DlgAppt*) {
             dlg->SpinDate_Click(1);
             dlg->Timer1_Timer();
         },
         notDate},
        {"chart: autoscroll, nobody at the screen", false,
         [&](DlgAppt*) {
             setting("Options", "Autoscroll", "1");
             dlg->AutoscrollCountdown = 1;
         },
         [&](DlgAppt*) { dlg->Timer1_Timer(); }, "", false,
         [&] {
             // The tick never stopped, and the jump it could not make is due again; the
             // tick follows the other's change, which starts the countdown again, and the
             // jump comes when that runs out.
             EXPECT_TRUE(dlg->Timer1->enabled());
             EXPECT_EQ(dlg->AutoscrollCountdown, 0);
             dlg->Timer1_Timer();
             EXPECT_EQ(dlg->Sched->model().barCount(1), 2);
             dlg->AutoscrollCountdown = 1;
             dlg->Timer1_Timer();
             EXPECT_EQ(dlg->Sched->startDate(), today);
             setting("Options", "Autoscroll", "0");
             dlg->setCurrentDate(kDay);
         }},
        {"chart: save group template", false, nullptr,
         [&](DlgAppt*) { dlg->mnuResourceSaveTemplate_Click(); },
         "Warning!: Unable to save the group template!\r\n\r\nThe database is busy or cannot "
         "be read; nothing was saved."},
        {"chart: export", false, nullptr, [&](DlgAppt*) { dlg->mnuTransferExport_Click(); },
         "Warning!: Unable to export the bookings!\r\n\r\nThe database is busy or cannot be "
         "read; nothing was exported."},
        {"chart: delete resource", false, [&](DlgAppt*) { dlg->Sched->setSelectedRow(2); },
         [&](DlgAppt*) { dlg->Toolbar1_ButtonMenuClick("DeleteRes"); },
         "Confirm: Confirm delete selected resource?|" +
             notWritten("Unable to delete the resource!", "deleted"),
         true},
        {"chart: delete group", false, nullptr,
         [&](DlgAppt*) { dlg->Toolbar1_ButtonMenuClick("DeleteGroup"); },
         "Confirm: Confirm delete selected group?|" +
             notWritten("Unable to delete the group!", "deleted"),
         true},
        {"group editor: a narrower day", false, narrowerDay,
         [&](DlgAppt*) { groupEditor->BtnGroup_Click(0); },
         "Warning!: Unable to save the group!\r\n\r\nThe database is busy or cannot be read; "
         "nothing was saved."},
        {"group editor: saved while another program writes", false, narrowerDay,
         [&](DlgAppt*) { groupEditor->BtnGroup_Click(0); },
         notWritten("Unable to save the group!", "saved"), true},
    };
    ClsDAO& dao = SharedObjects::DAO();
    dao.setBusyWaitMs(kWait);
    DlgAppt* editor = nullptr;
    // What the windows show, each time the user is told.
    QStringList shownWhileTold;
    auto shown = [&] {
        const bool editing = editor && editor->isVisible();
        return chartShown(*dlg) + (editing ? " / " + editorShown(*editor) : QString());
    };
    plat::SetMsgBoxHook([&](const QString& text, int, const QString& title) {
        messages << title + ": " + text;
        shownWhileTold << shown();
        return answers.isEmpty() ? int(plat::vbYes) : answers.takeFirst();
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        sql({"delete from tblBookings"});
        booking(1, 540, 600);
        dlg->Timer1_Timer();
        std::optional<HeldDatabase> held;
        QElapsedTimer clock;
        qint64 waited = -1;
        QString before;  // what the windows showed when the command was given
        const int32_t fingerprint = dlg->LastBookingCheck;
        // Under the lock: told once, after one wait; the chart and the day as they were,
        // then and while the user was told.
        auto checkHeld = [&](DlgAppt* e) {
            waited = clock.elapsed();
            EXPECT_EQ(messages.join("|"), c.told);
            EXPECT_GE(waited, kWait * 9 / 10);
            EXPECT_LT(waited, kWait * 2);
            for (const QString& then : std::as_const(shownWhileTold)) {
                // The editor may have closed before the user was told.
                EXPECT_EQ(then, then.contains(" / ") ? before : before.section(" / ", 0, 0));
            }
            EXPECT_EQ(shown(), e && e->isVisible() ? before : before.section(" / ", 0, 0));
            EXPECT_EQ(CalendarState::CalDate(), kDay);
            EXPECT_EQ(dlg->Sched->startDate(), kDay);
            EXPECT_EQ(dlg->Sched->rowCount(), 3);
            EXPECT_EQ(dlg->Sched->model().barCount(1), 1);
            EXPECT_EQ(dlg->LastBookingCheck, fingerprint);  // the fingerprint of what is shown
            EXPECT_EQ(setting("Group", "CbGroup"), "1");
            if (e && e->isVisible()) {
                EXPECT_EQ(e->LbTimeSlot->rowCount(), 37);
                EXPECT_EQ(e->LbTimeSlot->cellText(rowOf(540), 2), "Visit");
            }
        };
        // Once it is gone: the next tick shows what another workstation did meanwhile.
        auto checkAfter = [&](DlgAppt* e) {
            held.reset();
            // The user's next key is another command: it may wait for the database again.
            QTest::keyClick(e && e->isVisible() ? static_cast<QWidget*>(e) : dlg, Qt::Key_Shift);
            EXPECT_FALSE(dao.Failing());
            EXPECT_EQ(stored(), (QStringList{"1 46000 540-600", "1 46000 660-690"}));
            if (c.after) {
                c.after();
                return;
            }
            dlg->Timer1_Timer();
            EXPECT_EQ(dlg->Sched->model().barCount(1), 2);
            if (e && e->isVisible()) {
                EXPECT_EQ(e->LbTimeSlot->cellText(rowOf(660), 2), "Visit");
            }
        };
        auto run = [&](DlgAppt* e) {
            editor = e;
            if (c.before) c.before(e);
            booking(1, 660, 690);  // another workstation, not yet shown
            messages.clear();
            shownWhileTold.clear();
            before = shown();
            held.emplace(folder, folder.file("Rostima.mdb"),
                         c.writersOnly ? HeldDatabase::Writing : HeldDatabase::Exclusive);
            ASSERT_TRUE(held->held());
            dao.WaitAgain();  // a command of its own
            clock.start();
            c.locked(e);
            if (e && e->isVisible()) {
                checkHeld(e);
                checkAfter(e);
            }
        };
        if (c.inEditor) {
            answerModal([&](DlgAppt& e) { run(&e); });
            dlg->Sched_ListDblClick(1);
        } else {
            run(nullptr);
        }
        if (held) {
            checkHeld(nullptr);
            checkAfter(nullptr);
        }
        editor = nullptr;
        groupEditor.reset();
    }
    dao.setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
