#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "BookingCommands.h"
#include "CalendarState.h"
#include "ClsForms.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgApptFixture.h"
#include "DlgApptType.h"
#include "DlgCalendar.h"
#include "DlgContact.h"
#include "DlgRepeat.h"
#include "Kalvo.h"
#include "KeyedToolbar.h"
#include "ListBox.h"

namespace {

// The booking editor of Anna on Thursday 11 December 2025 with the booking dialogs
// registered as the program registers them.
class EditorDialogs : public DlgApptTest {
protected:
    void SetUp() override {
        DlgApptTest::SetUp();
        BookingCommands::InstallEditorDialogs();
    }
    // `work` runs in the shown editor; `answer` works each dialog the editor opens.
    void run(const std::function<void(DlgAppt&)>& work,
             const std::function<void(QDialog&)>& answer) {
        plat::ModalHook::SetAnswererForTest([=](QDialog& d) {
            d.show();
            QCoreApplication::processEvents();  // the first activation
            if (auto* editor = qobject_cast<DlgAppt*>(&d))
                work(*editor);
            else
                answer(d);
            return d.result();
        });
        ApptEditorState::Show(1, 480, 1, 0, kDay);
    }
};

}  // namespace

TEST_F(EditorDialogs, TheEditorsCalendarTicksItsResourceAndMovesItToTheDayChosen) {
    booking(1, 540, 600, 1, 1, kDay + 2);
    QStringList seen;
    run(
        [&](DlgAppt& e) {
            e.Toolbar1->press("Calendar");
            EXPECT_EQ(e.LbTimeSlot->title(), "Tuesday 16 December 2025");
        },
        [&](QDialog& d) {
            auto& cal = dynamic_cast<DlgCalendar&>(d);
            for (QCheckBox* box : cal.ChkResource)
                if (box->isVisibleTo(&cal)) seen << box->text() + (box->isChecked() ? "+" : "-");
            const int marked = kDay + 2 - cal.Cal->visibleDay(1) + 1;
            EXPECT_EQ(cal.Cal->dayMark(marked), 1);
            const QPoint target = cal.Cal->cellRect(marked + 3).center();
            QTest::mouseDClick(cal.Cal, Qt::LeftButton, {}, target);
        });
    EXPECT_EQ(seen, (QStringList{"Anna+", "Ben-"}));
    EXPECT_EQ(CalendarState::CalDate(), kDay + 5);
}

TEST_F(EditorDialogs, TypesAndCustomersAddedFromTheEditorAreListedThereAndInItsGroup) {
    run(
        [&](DlgAppt& e) {
            e.Toolbar1->choose("TaskDef", "AddTask");
            EXPECT_EQ(e.CbTask->currentText(), "Audit");
            e.Toolbar1->choose("People", "AddCustomer");
            EXPECT_EQ(e.CbCustomer->currentText(), "Brown");
        },
        [&](QDialog& d) {
            if (auto* type = qobject_cast<DlgApptType*>(&d)) {
                type->TxtType->setText("Audit");
                type->BtnTask[0]->click();
            } else {
                auto& contact = dynamic_cast<DlgContact&>(d);
                EXPECT_EQ(contact.LbGroups->count(), 1);
                EXPECT_TRUE(contact.LbGroups->Selected(0));
                contact.TxtCustomer->setText("Brown");
                contact.BtnCustomer[0]->click();
            }
        });
    EXPECT_EQ(scalar("select count(*) from tblTasks where TaskName = 'Audit' and GroupId = 1"), 1);
    EXPECT_EQ(scalar("select count(*) from tblCustomerGroups where GroupId = 1 and CustomerId = "
                     "(select CustomerId from tblCustomers where CustomerName = 'Brown')"),
              1);
}

TEST_F(EditorDialogs, TheEditorsBookingIsRepeatedOnTheDatesTicked) {
    booking(1, 540, 600, 1, 1);
    run(
        [&](DlgAppt& e) {
            e.LbTimeSlot->click(rowOf(540), 1);
            e.BtnTask_Click(2);
        },
        [&](QDialog& d) {
            auto& repeat = dynamic_cast<DlgRepeat&>(d);
            EXPECT_EQ(repeat.LbTimeSlot->cellValue(0, 1), plat::Tabrix::Locked);  // itself
            repeat.LbTimeSlot->click(1, 1);
            repeat.BtnRepeat[0]->click();
        });
    EXPECT_EQ(scalar(QString("select count(*) from tblBookings where BookingDate = %1 and "
                             "ResourceId = 1 and BookingStart = 540 and BookingEnd = 600 and "
                             "CustomerId = 1 and TaskId = 1 and Ref01 = 'r1' and RepeatId > 0")
                         .arg(kDay + 7)),
              1);
    EXPECT_EQ(scalar("select count(*) from tblBookings"), 2);
}

TEST_F(EditorDialogs, AfterTheTypeEditorIsCancelledTheRecordHoldsTheTypeTheListShows) {
    run(
        [&](DlgAppt& e) {
            ClsTask& task = SharedObjects::Task();
            SharedObjects::Forms().SetComboData(*e.CbTask, 2);  // Call: 30 to 60 minutes
            for (const char* entry : {"EditTask", "AddTask"}) {
                e.Toolbar1->choose("TaskDef", entry);
                EXPECT_EQ(task.TaskId(), 2) << entry;
                EXPECT_EQ(task.MaxTime(), 60) << entry;
            }
            e.Toolbar1_ButtonMenuClick("DeleteTask");
            ASSERT_EQ(e.CbTask->count(), 2);
            EXPECT_EQ(e.CbTask->itemText(1), "Visit");
        },
        [&](QDialog& d) { dynamic_cast<DlgApptType&>(d).BtnTask[1]->click(); });
    EXPECT_EQ(scalar("select count(*) from tblTasks"), 1);
}

TEST_F(EditorDialogs, ABookingKeepsItsOwnCustomerAndReferencesThroughTheCustomerCommands) {
    sql(
        {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
         "values ('Lab', 480, 1020, 15)",
         "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
         "values ('Brown', 'B1', 'B2', 'B3')",
         "insert into tblCustomerGroups (CustomerId, GroupId) values (3, 2)"});
    struct Case {
        const char* entry;
        bool save;
    } cases[] = {{"EditCustomer", true},
                 {"EditCustomer", false},
                 {"AddCustomer", true},
                 {"AddCustomer", false},
                 {"DeleteCustomer", true}};
    for (const Case& c : cases) {
        sql({"delete from tblBookings"});
        booking(1, 540, 600, 1, 3);
        run(
            [&](DlgAppt& e) {
                e.LbTimeSlot->click(rowOf(540), 1);
                // The customer deleted is another one, which the user picked first.
                if (QString(c.entry) == "DeleteCustomer")
                    SharedObjects::Forms().SetComboData(*e.CbCustomer, 2);
                e.Toolbar1->choose("People", c.entry);
                EXPECT_EQ(e.CbCustomer->currentText(), "Brown") << c.entry << c.save;
                EXPECT_EQ(e.TxtRef01->text() + e.TxtRef02->text() + e.TxtRef03->text(), "r1r2r3")
                    << c.entry << c.save;
                e.BtnTask_Click(1);  // after a delete the day is redisplayed: no slot
            },
            [&](QDialog& d) {
                auto& contact = dynamic_cast<DlgContact&>(d);
                if (contact.TxtCustomer->text().isEmpty()) contact.TxtCustomer->setText("Green");
                contact.BtnCustomer[c.save ? 0 : 1]->click();
            });
        EXPECT_EQ(scalar("select count(*) from tblBookings where CustomerId = 3 and "
                         "Ref01 = 'r1' and Ref02 = 'r2' and Ref03 = 'r3'"),
                  1)
            << c.entry << c.save;
    }
}

TEST_F(EditorDialogs, ANewBookingsReferencesFollowItsCustomerAsTheCustomerEditorSavedIt) {
    run(
        [&](DlgAppt& e) {
            SharedObjects::Forms().SetComboData(*e.CbTask, 1);
            e.LbTimeSlot->click(rowOf(600), 1);
            SharedObjects::Forms().SetComboData(*e.CbCustomer, 1);  // Smith: S1 S2 S3
            e.Toolbar1->choose("People", "EditCustomer");
            EXPECT_EQ(e.TxtRef01->text() + e.TxtRef02->text() + e.TxtRef03->text(), "N1S2S3");
            e.BtnTask_Click(1);
        },
        [&](QDialog& d) {
            auto& contact = dynamic_cast<DlgContact&>(d);
            contact.TxtRef[0]->setText("N1");
            contact.BtnCustomer[0]->click();
        });
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(scalar("select count(*) from tblBookings where BookingStart = 600 and "
                     "CustomerId = 1 and Ref01 = 'N1' and Ref02 = 'S2'"),
              1);
}

TEST_F(EditorDialogs, TypeCommandsKeepAStoredBookingsTypeAndANewOneTakesTheTypeAdded) {
    struct Case {
        const char* what;
        int slot;           // 540: the stored Visit booking; 600: an empty slot
        int pick;           // type chosen before the command (0: as the slot left it)
        const char* entry;  // the type editor names the type it adds or edits "Surgery"
        const char* shown;  // the type box afterwards, which Save stores
    } cases[] = {
        {"stored, a type added", 540, 0, "AddTask", "Visit"},
        {"new, a type added", 600, 1, "AddTask", "Surgery"},
        {"stored, its type edited", 540, 0, "EditTask", "Surgery"},
        {"stored, another type deleted", 540, 2, "DeleteTask", "Visit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sql({"delete from tblBookings", "delete from tblTasks where TaskId > 2",
             "update tblTasks set TaskName = 'Visit' where TaskId = 1"});
        booking(1, 540, 600, 1, 1);
        messages.clear();
        run(
            [&](DlgAppt& e) {
                e.LbTimeSlot->click(rowOf(c.slot), 1);
                if (c.pick != 0) SharedObjects::Forms().SetComboData(*e.CbTask, c.pick);
                e.TxtComments->setText("typed");
                e.Toolbar1->choose("TaskDef", c.entry);
                EXPECT_EQ(e.CbTask->currentText(), c.shown);
                e.BtnTask_Click(1);
            },
            [&](QDialog& d) {
                auto& type = dynamic_cast<DlgApptType&>(d);
                type.TxtType->setText("Surgery");
                type.BtnTask[0]->click();
            });
        EXPECT_EQ(messages.filter("Warning").join(""), "");
        EXPECT_EQ(scalar(QString("select count(*) from tblBookings join tblTasks using "
                                 "(TaskId) where BookingStart = %1 and TaskName = '%2' and "
                                 "Comments = 'typed'")
                             .arg(c.slot)
                             .arg(c.shown)),
                  1);
    }
}
