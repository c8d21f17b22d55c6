#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <optional>

#include "BookingCommands.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ComboBox.h"
#include "DlgGroup.h"
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
}  // namespace

// Another program holds the database ("sqlite3", then "BEGIN EXCLUSIVE") while the user
// gives each command. The command says why after one wait, not one per statement; the
// editor's day and the chart keep what they showed; nothing is stored or deleted; and
// once the lock is gone the next tick shows what another workstation changed meanwhile.
TEST_F(LockedDatabase, EachCommandIsToldAfterOneWaitKeepsWhatIsShownAndComesBackAfterIt) {
    constexpr int kWait = 1000;  // the busy wait, shortened for the table
    const QString notRead = QString("Warning!: ") + ModMain::kNotRead;
    const QString notPlaced = notWritten("Unable to move/copy appointment!", "saved");
    std::unique_ptr<DlgGroup> groupEditor;
    auto takeUp = [](DlgAppt* e) { e->LbTimeSlot->click(rowOf(540), 1); };
    auto narrowerDay = [&](DlgAppt*) {
        SharedObjects::Group().Load(1);
        SharedObjects::Group().setDayStart(540);
        groupEditor = std::make_unique<DlgGroup>(dlg);
        groupEditor->Form_Load();
    };
    struct Case {
        const char* command;
        bool inEditor;
        std::function<void(DlgAppt*)> before, locked;
        QString told;              // "" = nothing
        bool writersOnly = false;  // the other program writes: reads go on
    };
    const Case cases[] = {
        {"editor: delete", true, takeUp, [](DlgAppt* e) { e->BtnTask_Click(3); },
         "Confirm: Do you wish to delete this appointment?|" +
             notWritten("Unable to delete appointment!", "deleted")},
        {"editor: delete while another program writes", true, takeUp,
         [](DlgAppt* e) { e->BtnTask_Click(3); },
         "Confirm: Do you wish to delete this appointment?|" +
             notWritten("Unable to delete appointment!", "deleted"),
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
        {"editor: copy pressed", true, takeUp, [](DlgAppt* e) { e->BtnTask_Click(5); },
         notPlaced},
        {"editor: date spin", true, takeUp, [](DlgAppt* e) { e->SpinDate_Click(1); }, notRead},
        {"editor: another resource", true, takeUp,
         [](DlgAppt* e) { forms().SetComboData(*e->CbResource, 2); }, notRead},
        {"editor: delete type", true,
         [](DlgAppt* e) { forms().SetComboData(*e->CbTask, 2); },
         [](DlgAppt* e) { e->Toolbar1_ButtonMenuClick("DeleteTask"); },
         "Confirm: Confirm delete selected task?|" +
             notWritten("Unable to delete the appointment type!", "deleted"),
         true},
        {"editor: delete customer", true,
         [](DlgAppt* e) { forms().SetComboData(*e->CbCustomer, 2); },
         [](DlgAppt* e) { e->Toolbar1_ButtonMenuClick("DeleteCustomer"); },
         "Confirm: Confirm selected customer?|" +
             notWritten("Unable to delete the customer!", "deleted"),
         true},
        {"editor: exit, then the repair pass and the chart", true, nullptr,
         [](DlgAppt* e) { e->Toolbar1_ButtonClick("Exit"); }, notRead},
        {"chart: date spin", false, nullptr, [&](DlgAppt*) { dlg->SpinDate_Click(1); }, notRead},
        {"chart: a day chosen in the calendar", false, nullptr,
         [&](DlgAppt*) {
             plat::ModalHook::SetAnswererForTest([](QDialog&) {
                 CalendarState::setCalDate(kDay + 7);
                 return int(QDialog::Accepted);
             });
             BookingCommands::Calendar(*dlg);
         },
         notRead},
        {"chart: days", false, nullptr,
         [&](DlgAppt*) { dlg->Toolbar1_ButtonMenuClick("Days"); }, notRead},
        {"chart: a type dropped", false, nullptr,
         [&](DlgAppt*) { dlg->Sched_DropItem(2, 600, kDay); }, notRead},
        {"chart: refresh tick", false, nullptr, [&](DlgAppt*) { dlg->Timer1_Timer(); }, ""},
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
        {"group editor: a narrower day", false,
         narrowerDay,
         [&](DlgAppt*) { groupEditor->BtnGroup_Click(0); },
         "Warning!: Unable to save the group!\r\n\r\nThe database is busy or cannot be read; "
         "nothing was saved."},
        {"group editor: saved while another program writes", false,
         narrowerDay,
         [&](DlgAppt*) { groupEditor->BtnGroup_Click(0); },
         notWritten("Unable to save the group!", "saved"), true},
    };
    ClsDAO& dao = SharedObjects::DAO();
    dao.setBusyWaitMs(kWait);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        sql({"delete from tblBookings"});
        booking(1, 540, 600);
        dlg->Timer1_Timer();
        std::optional<HeldDatabase> held;
        QElapsedTimer clock;
        qint64 waited = -1;
        // Under the lock: told once, after one wait; the chart and the day as they were.
        auto checkHeld = [&](DlgAppt* e) {
            waited = clock.elapsed();
            EXPECT_EQ(messages.join("|"), c.told);
            EXPECT_GE(waited, kWait * 9 / 10);
            EXPECT_LT(waited, kWait * 2);
            EXPECT_EQ(CalendarState::CalDate(), kDay);
            EXPECT_EQ(dlg->Sched->startDate(), kDay);
            EXPECT_EQ(dlg->Sched->rowCount(), 3);
            EXPECT_EQ(dlg->Sched->model().barCount(1), 1);
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
            dlg->Timer1_Timer();
            EXPECT_EQ(dlg->Sched->model().barCount(1), 2);
            if (e && e->isVisible()) {
                EXPECT_EQ(e->LbTimeSlot->cellText(rowOf(660), 2), "Visit");
            }
        };
        auto run = [&](DlgAppt* e) {
            if (c.before) c.before(e);
            booking(1, 660, 690);  // another workstation, not yet shown
            messages.clear();
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
        groupEditor.reset();
    }
    dao.setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
