#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <optional>

#include "CalendarState.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsForms.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgApptFixture.h"
#include "DlgMain.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "Nudgel.h"
#include "Plexaro.h"
#include "ReadAgain.h"
#include "TestSupport.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }
// What a command that could not read what it works on tells.
QString notChanged(const QString& heading) {
    return "Warning!: " + heading +
           "\r\n\r\nThe database is busy or cannot be read; nothing was changed.";
}
// Runs the editor's list reads that are due, as their own timers do; how many were due.
int readListsAgain(DlgAppt& e) {
    int due = 0;
    for (const char* name : {"ResourcesRead", "TasksRead", "CustomersRead"}) {
        if (auto* list = e.findChild<ReadAgain*>(name); list->Due()) {
            list->RunDue();
            ++due;
        }
    }
    return due;
}
}  // namespace

// Another workstation: books Anna's 09:00 to 10:00 on the test day when told.
ROSTIMA_CHILD(appt_peer) {
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    ChildSay("open");
    ChildHear();
    ClsBooking b;
    b.setResourceId(1);
    b.setBookingDate(kDay);
    b.setBookingStart(540);
    b.setBookingEnd(600);
    b.setTaskId(2);
    ChildSay(b.Save() != 0 ? "booked" : "failed");
    ChildHear();  // until the parent lets go
    dao.DbClose();
    return 0;
}

// Another workstation: runs each statement it is told, until told nothing.
ROSTIMA_CHILD(appt_writer) {
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    ChildSay("open");
    for (QString statement = ChildHear(); !statement.isEmpty(); statement = ChildHear())
        ChildSay(dao.SqlAction(statement) ? "done" : "failed");
    dao.DbClose();
    return 0;
}

TEST_F(DlgApptTest, TheDayShowsOneRowPerSlotWithEachBookingOnceAndItsRunMarked) {
    booking(1, 540, 600, 1, 1);
    booking(1, 600, 630, 2, 0);                              // meets the first, no customer
    booking(1, 660, 690, 99, 1, kDay, 0, "null, 'b', 'c'");  // its type is gone
    booking(2, 480, 1020);                                   // Ben's
    booking(1, 480, 1020, 1, 1, kDay + 1);                   // another day
    for (const bool military : {false, true}) {
        setting("Options", "UseMilitaryTime", military ? "1" : "0");
        open([&](DlgAppt& e) {
            ASSERT_EQ(e.LbTimeSlot->rowCount(), 37);
            EXPECT_EQ(e.LbTimeSlot->title(), "Thursday 11 December 2025");
            const std::string nine = military ? "09:00 to 09:15" : "09:00 am";
            const std::string nineFifteen = military ? "09:15 to 09:30" : "09:15 am";
            const std::string ten = military ? "10:00 to 10:15" : "10:00 am";
            EXPECT_EQ(cells(e, 540), nine + "|Visit|Smith|r1|r2|r3");
            EXPECT_EQ(cells(e, 555), nineFifteen + "|~|~|||");
            EXPECT_EQ(cells(e, 600), ten + "|Call|?|r1|r2|r3");
            // A missing value shows as empty and the day goes on.
            EXPECT_EQ(QString::fromStdString(cells(e, 660)).section('|', 1, -1).toStdString(),
                      "|Smith||b|c");
            EXPECT_EQ(QString::fromStdString(cells(e, 690)).section('|', 1, -1).toStdString(),
                      "||||");
            EXPECT_EQ(e.LbTimeSlot->cellText(rowOf(720), 1),
                      military ? "12:00 to 12:15" : "12:00 pm");
            EXPECT_EQ(e.LbTimeSlot->cellText(36, 1), military ? "17:00 to 17:15" : "05:00 pm");
            for (int m : {540, 585}) {
                EXPECT_EQ(e.LbTimeSlot->rowData(rowOf(m)), 1) << m;
                EXPECT_EQ(e.LbTimeSlot->rowColor(rowOf(m)), 255u) << m;
            }
            EXPECT_EQ(e.LbTimeSlot->rowColor(rowOf(600)), 65280u);
            EXPECT_EQ(e.LbTimeSlot->rowColor(rowOf(660)), 0xFFFFFFu);
            EXPECT_EQ(e.LbTimeSlot->rowData(rowOf(630)), 0);
            EXPECT_EQ(e.LbTimeSlot->rowText(rowOf(630)), "630");
            // No resource chosen: every slot is empty.
            e.CbResource->SetListIndex(-1);
            EXPECT_EQ(e.LbTimeSlot->rowCount(), 37);
            EXPECT_EQ(e.LbTimeSlot->rowData(rowOf(540)), 0);
        });
    }
}

TEST_F(DlgApptTest, EveryTimeLabelOfTheDayFitsItsColumnWhole) {
    for (const bool military : {false, true}) {
        setting("Options", "UseMilitaryTime", military ? "1" : "0");
        open([&](DlgAppt& e) {
            const auto* view = e.LbTimeSlot->findChild<QTableView*>();
            ASSERT_NE(view, nullptr);
            for (int row = 0; row < e.LbTimeSlot->rowCount(); ++row) {
                const QString label = e.LbTimeSlot->cellText(row, 1);
                // The cell keeps a few pixels either side of its text.
                EXPECT_LE(view->fontMetrics().horizontalAdvance(label) + 8, view->columnWidth(0))
                    << label.toStdString();
            }
        });
    }
}

TEST_F(DlgApptTest, ADropOpensTheDroppedSlotWithItsTaskAndSaveAndExitBooksIt) {
    dlg->DraggedTaskId = 2;  // Call
    bool shown = false;
    answerModal([&](DlgAppt& e) {
        shown = true;
        EXPECT_EQ(forms().GetComboData(*e.CbResource), 2);
        EXPECT_EQ(e.LbTimeSlot->selectedRow(), rowOf(600));
        EXPECT_EQ(forms().GetComboData(*e.CbTask), 2);
        // Prepared while the type list still held "< No Booking >": one slot long.
        EXPECT_EQ(e.LblStart->text(), "10:00 am");
        EXPECT_EQ(e.LblEnd->text(), "10:15 am");
        forms().SetComboData(*e.CbCustomer, 1);
        EXPECT_EQ(e.TxtRef01->text(), "S1");
        e.TxtComments->setText("  bring notes ");
        e.BtnTask[0]->click();
        EXPECT_FALSE(e.isVisible());
    });
    dlg->Sched_DropItem(2, 605, kDay);
    ASSERT_TRUE(shown);
    EXPECT_EQ(stored(), QStringList{"2 46000 600-615"});
    ClsBooking b;
    ASSERT_EQ(b.Load(1), Loaded::Row);
    EXPECT_EQ(b.TaskId(), 2);
    EXPECT_EQ(b.CustomerId(), 1);
    EXPECT_EQ(b.Ref03(), "S3");
    EXPECT_EQ(b.Comments(), "bring notes");
    EXPECT_EQ(dlg->Sched->model().barCount(2), 1);  // the chart reloaded after it closed
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DlgApptTest, ARowDoubleClickOrWriteOpensAtTheDayStartWithoutATaskAndRepairsAfter) {
    for (const bool write : {false, true}) {
        booking(77, 540, 600);  // its resource is gone: the repair pass takes it
        bool shown = false;
        answerModal([&](DlgAppt& e) {
            shown = true;
            EXPECT_EQ(forms().GetComboData(*e.CbResource), 2);
            EXPECT_EQ(e.LbTimeSlot->selectedRow(), 0);
            EXPECT_EQ(forms().GetComboData(*e.CbTask), 0);
            EXPECT_FALSE(e.BtnTask[1]->isEnabled());
            EXPECT_FALSE(e.SpinEnd->isEnabled());
        });
        if (write) {
            dlg->Sched->setSelectedRow(2);
            dlg->Toolbar1_ButtonClick("Write");
        } else {
            dlg->Sched_ListDblClick(2);
        }
        EXPECT_TRUE(shown) << write;
        EXPECT_TRUE(stored().isEmpty()) << write;
    }
}

TEST_F(DlgApptTest, TheOpenEditorFollowsAnotherProgramsBookingOnTheNextTick) {
    ChildProcess peer(folder, "appt_peer", {folder.file("Rostima.mdb")});
    ASSERT_EQ(peer.readLine(), "open");
    open([&](DlgAppt& e) {
        EXPECT_EQ(e.LbTimeSlot->rowData(rowOf(540)), 0);
        peer.say("go");
        ASSERT_EQ(peer.readLine(), "booked");
        dlg->Timer1_Timer();
        EXPECT_EQ(cells(e, 555), "09:15 am|~|~|||");
        EXPECT_EQ(e.LbTimeSlot->rowColor(rowOf(540)), 65280u);
        EXPECT_EQ(dlg->Sched->model().barCount(1), 1);
    });
    EXPECT_EQ(peer.finish(), 0);
}

// A day that could not be read (another program held the database) is read again shortly
// by the editor itself, quietly, though nothing changed that a tick would see: the
// editor's own program wrote the booking (the print preview moves the day so).
TEST_F(DlgApptTest, AnEditorDayThatCouldNotBeReadIsReadAgainShortlyThoughNothingChanged) {
    SharedObjects::DAO().setBusyWaitMs(300);
    open([&](DlgAppt& e) {
        std::optional<HeldDatabase> held;
        held.emplace(folder, folder.file("Rostima.mdb"));
        SharedObjects::DAO().WaitAgain();
        EXPECT_FALSE(e.ShowBookings());
        EXPECT_EQ(messages, QStringList{QString("Warning!: ") + ModMain::kNotRead});
        held.reset();
        ASSERT_TRUE(SharedObjects::DAO().SqlAction(
            "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, CustomerId, "
            "ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values (1, 46000, 540, 570, "
            "1, 1, 0, '', '', '', '')"));
        dlg->Timer1_Timer();  // sees nothing changed by others
        EXPECT_EQ(e.LbTimeSlot->rowData(rowOf(540)), 0);
        EXPECT_TRUE(e.Unread());
        messages.clear();
        e.findChild<ReadAgain*>()->RunDue();  // as the editor's own timer runs it
        EXPECT_NE(e.LbTimeSlot->rowData(rowOf(540)), 0);
        EXPECT_FALSE(e.Unread());
        EXPECT_TRUE(messages.isEmpty());
    });
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

// Under another program's lock, an empty slot clicked while the workstation's default
// type and customer cannot be read, or a type or customer editor cancelled, keeps the type
// and customer shown, in the lists and the records: the defaults are not taken for deleted
// and their pick is told once; the cancelled editor's record is not read again.
TEST_F(DlgApptTest, UnderALockTheTypeAndCustomerShownStayForThePicksThatCannotBeRead) {
    setting("Options", "DefTask", "2");
    setting("Options", "DefCustomer", "2");
    DlgApptHooks::Get().showApptType = [] { SharedObjects::Task().InitBfr(); };
    DlgApptHooks::Get().showContact = [](auto) { SharedObjects::Customer().InitBfr(); };
    const std::pair<std::function<void(DlgAppt&)>, QStringList> cases[] = {
        {[](DlgAppt& e) { e.LbTimeSlot->click(rowOf(600), 1); },
         {notChanged("Unable to choose the appointment type!")}},
        {[](DlgAppt& e) { e.Toolbar1_ButtonMenuClick("AddTask"); }, {}},
        {[](DlgAppt& e) { e.Toolbar1_ButtonMenuClick("AddCustomer"); }, {}},
    };
    for (const auto& [command, told] : cases) {
        open([&](DlgAppt& e) {
            forms().SetComboData(*e.CbTask, 1);
            forms().SetComboData(*e.CbCustomer, 1);
            const HeldByAnother held(folder);
            command(e);
            EXPECT_EQ(messages, told);
            EXPECT_EQ(
                QString("%1 %2 %3 %4 %5")
                    .arg(e.CbTask->currentText(), e.CbCustomer->currentText(), e.TxtRef01->text())
                    .arg(SharedObjects::Task().TaskId())
                    .arg(SharedObjects::Customer().CustomerId()),
                "Visit Smith S1 1 1");
        });
        messages.clear();
    }
}

// A booking keeps its own customer, though not linked to the group, when another program
// takes the database as the customer list is filled again after another customer's delete:
// the list shows it, and a save once the database is free stores it, never "no customer".
TEST_F(DlgApptTest, ABookingsOwnCustomerStaysForTheSaveWhenTheDatabaseIsTakenMeanwhile) {
    sql(
        {"insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
         "values ('Brown', 'B1', 'B2', 'B3')"});
    booking(1, 540, 600, 1, 3);  // Brown's
    open([&](DlgAppt& e) {
        e.LbTimeSlot->click(rowOf(540), 1);
        forms().SetComboData(*e.CbCustomer, 2);  // Jones, to delete
        std::optional<HeldByAnother> held;
        const QMetaObject::Connection listed =
            QObject::connect(e.CbCustomer->model(), &QAbstractItemModel::rowsInserted, [&] {
                if (!held) held.emplace(folder);
            });
        e.Toolbar1_ButtonMenuClick("DeleteCustomer");
        QObject::disconnect(listed);
        ASSERT_TRUE(held.has_value());
        held.reset();
        EXPECT_EQ(e.CbCustomer->currentText(), "Brown");
        e.BtnTask_Click(1);
    });
    EXPECT_EQ(scalar("select CustomerId from tblBookings"), 3);
}

// A booking whose customer cannot be read is not taken up: the day and the boxes keep the
// new booking being edited, the user is told that nothing changed, and a save stores that.
TEST_F(DlgApptTest, ABookingWhoseCustomerCannotBeReadIsNotTakenUp) {
    booking(1, 540, 600, 1, 2);  // Jones's
    open([&](DlgAppt& e) {
        forms().SetComboData(*e.CbTask, 2);
        e.LbTimeSlot->click(rowOf(660), 1);  // a new Call
        forms().SetComboData(*e.CbCustomer, 1);
        messages.clear();
        sql({"alter table tblCustomers rename to tblAway"});
        e.LbTimeSlot->click(rowOf(540), 1);
        sql({"alter table tblAway rename to tblCustomers"});
        EXPECT_EQ(messages, QStringList{notChanged("Unable to select the appointment!")});
        EXPECT_EQ(e.LbTimeSlot->selectedRow(), rowOf(660));
        e.BtnTask_Click(1);
    });
    EXPECT_EQ(scalar("select CustomerId from tblBookings where BookingStart = 540"), 2);
    EXPECT_EQ(scalar("select CustomerId from tblBookings where BookingStart = 660"), 1);
}

// Every refill of the day (the tick after another workstation's change, a date or a
// resource shown and left again, a move or copy placed) takes the booking being edited
// up again where the day holds it, with the boxes as typed and the times as spun, so
// that Save stores what was typed; or Save says why it cannot.
TEST_F(DlgApptTest, EveryRefillKeepsTheBookingBeingEditedAsTypedAndSaveSaysWhyItCannotStoreIt) {
    const QString changed = "Warning!: Unable to save appointment!\r\n\r\nAnother workstation "
                            "has changed this appointment since it was opened. It is shown as "
                            "it is stored now.";
    const QString askedForSlot = "Information: Please select the timeslot!";
    const char* anotherBooking =
        "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, CustomerId, "
        "ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) "
        "values (1, 46000, 480, 510, 0, 2, 0, '', '', '', '')";
    // Away and back: Save And Exit meanwhile asks for the slot and closes nothing.
    auto awayAndBack = [&](std::function<void(DlgAppt&)> away,
                           std::function<void(DlgAppt&)> back) {
        return [this, away, back, askedForSlot](DlgAppt& e) {
            away(e);
            e.BtnTask_Click(0);
            EXPECT_EQ(messages, QStringList{askedForSlot});
            EXPECT_TRUE(e.isVisible());
            messages.clear();
            back(e);
        };
    };
    auto placeAt = [](int button) {
        return [button](DlgAppt& e) {
            e.BtnTask_Click(button);
            e.LbTimeSlot->click(rowOf(720), 1);
        };
    };
    struct Case {
        const char* what;
        int slot;               // 660: Anna's stored booking to 11:30; 600: an empty slot
        const char* elsewhere;  // another workstation's change, which the tick shows
        std::function<void(DlgAppt&)> refill;  // none: the tick
        int button;     // 0 Save And Exit, 1 Save Appointment
        int at;         // the slot highlighted afterwards; -1 none
        const char* end;  // shown afterwards; "" as spun
        QStringList messages, stored;
    } cases[] = {
        {"tick: another booking added, stored one saved and closed", 660, anotherBooking,
         nullptr, 0, 660, "", {}, {"1 46000 660-705 typed", "2 46000 480-510 "}},
        {"tick: another booking added, new one saved", 600, anotherBooking, nullptr, 1, 600, "",
         {}, {"1 46000 660-690 ", "2 46000 480-510 ", "1 46000 600-660 typed"}},
        {"tick: the booking itself changed", 660, "update tblBookings set BookingEnd = 720",
         nullptr, 0, 660, "", {changed}, {"1 46000 660-720 "}},
        {"tick: the booking itself deleted", 660, "delete from tblBookings", nullptr, 0, -1, "",
         {"Warning!: Unable to save appointment!\r\n\r\nAnother workstation has deleted "
          "this appointment since it was opened."},
         {}},
        {"tick: the new one's slot booked", 600, "update tblBookings set BookingStart = 600",
         nullptr, 0, -1, "",
         {"Warning!: Unable to save appointment!\r\n\r\nConflict with another appointment!"},
         {"1 46000 600-690 "}},
        {"date spun away and back", 660, "",
         awayAndBack([](DlgAppt& e) { e.SpinDate_Click(1); },
                     [](DlgAppt& e) { e.SpinDate_Click(0); }),
         0, 660, "", {}, {"1 46000 660-705 typed"}},
        {"a new one's date spun away and back", 600, "",
         awayAndBack([](DlgAppt& e) { e.SpinDate_Click(1); },
                     [](DlgAppt& e) { e.SpinDate_Click(0); }),
         0, 600, "", {}, {"1 46000 660-690 ", "1 46000 600-660 typed"}},
        {"another resource and back", 660, "",
         awayAndBack([](DlgAppt& e) { forms().SetComboData(*e.CbResource, 2); },
                     [](DlgAppt& e) { forms().SetComboData(*e.CbResource, 1); }),
         0, 660, "", {}, {"1 46000 660-705 typed"}},
        // Placed as stored (its 30 minutes), then saved with what was typed.
        {"moved", 660, "", placeAt(4), 0, 720, "12:30 pm", {}, {"1 46000 720-750 typed"}},
        {"copied", 660, "", placeAt(5), 0, 720, "12:30 pm", {},
         {"1 46000 660-690 ", "1 46000 720-750 typed"}},
    };
    ChildProcess writer(folder, "appt_writer", {folder.file("Rostima.mdb")});
    ASSERT_EQ(writer.readLine(), "open");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sql({"delete from tblBookings"});
        booking(1, 660, 690, 1, 1);
        messages.clear();
        open([&](DlgAppt& e) {
            forms().SetComboData(*e.CbTask, 1);  // a new booking: 45 minutes of Visit
            e.LbTimeSlot->click(rowOf(c.slot), 1);
            forms().SetComboData(*e.CbCustomer, 2);
            e.TxtRef01->setText("mine");
            e.TxtComments->setText("typed");
            e.SpinEnd_Click(0);
            const QString end = *c.end ? QString(c.end) : e.LblEnd->text();
            if (c.refill) {
                c.refill(e);
            } else {
                writer.say(c.elsewhere);
                ASSERT_EQ(writer.readLine(), "done");
                dlg->Timer1_Timer();
            }
            EXPECT_EQ(e.LbTimeSlot->selectedRow(), c.at < 0 ? -1 : rowOf(c.at));
            EXPECT_EQ(e.LblEnd->text(), end);
            EXPECT_EQ(e.CbCustomer->currentText(), "Jones");
            EXPECT_EQ(e.TxtRef01->text() + e.TxtComments->text(), "minetyped");
            e.BtnTask_Click(c.button);
            EXPECT_EQ(e.isVisible(), c.button == 1 || !c.messages.isEmpty());
        });
        EXPECT_EQ(messages, c.messages);
        QStringList rows;
        auto rs = SharedObjects::DAO().SqlQuery(
            "select ResourceId, BookingDate, BookingStart, BookingEnd, Comments, CustomerId, "
            "Ref01 from tblBookings order by BookingId");
        for (; rs && !rs->Eof(); rs->MoveNext()) {
            const bool typed = rs->Field(4).toString() == "typed";
            // What was typed is stored whole or not at all.
            EXPECT_EQ(typed, rs->Field(5).toInt() == 2 && rs->Field(6).toString() == "mine");
            rows << QString("%1 %2 %3-%4 %5")
                        .arg(rs->Field(0).toInt())
                        .arg(rs->Field(1).toInt())
                        .arg(rs->Field(2).toInt())
                        .arg(rs->Field(3).toInt())
                        .arg(rs->Field(4).toString());
        }
        EXPECT_EQ(rows, c.stored);
    }
    writer.say("");
    EXPECT_EQ(writer.finish(), 0);
}

TEST_F(DlgApptTest, TheDateMovesTheMainWindowOnlyWhileTheEditorIsShown) {
    DlgAppt::Instance().setApptDate(kDay + 5);
    EXPECT_EQ(dlg->Sched->startDate(), kDay);
    EXPECT_EQ(CalendarState::CalDate(), kDay + 5);
    open([&](DlgAppt& e) {
        e.SpinDate->press(plat::Nudgel::Arrow::Forward);
        EXPECT_EQ(e.CurrentDate(), kDay + 1);
        EXPECT_EQ(e.LbTimeSlot->title(), "Friday 12 December 2025");
        EXPECT_EQ(dlg->Sched->startDate(), kDay + 1);
        e.SpinDate_Click(0);
        e.SpinDate_Click(0);
        EXPECT_EQ(dlg->Sched->startDate(), kDay - 1);
        EXPECT_EQ(setting("Config", "LastDate"), QString::number(kDay - 1));
        // A chart that cannot follow keeps its day, but the date is the editor's: a booking
        // saved there is of the day the editor shows, and the chart comes after it.
        sql({"alter table tblResources rename to tblAway"});
        e.SpinDate->press(plat::Nudgel::Arrow::Forward);
        EXPECT_EQ(e.LbTimeSlot->title(), "Thursday 11 December 2025");
        EXPECT_EQ(dlg->Sched->startDate(), kDay - 1);
        EXPECT_EQ(CalendarState::CalDate(), kDay);
        sql({"alter table tblAway rename to tblResources"});
        e.LbTimeSlot->click(rowOf(600), 1);
        forms().SetComboData(*e.CbTask, 1);
        e.BtnTask_Click(1);
        EXPECT_EQ(stored(), QStringList{"1 46000 600-615"});
        dlg->Timer1_Timer();
        EXPECT_EQ(dlg->Sched->startDate(), kDay);
    });
}

TEST_F(DlgApptTest, ThePickListsFillFromTheGroupOrAreReadAgainForItAndACustomerGivesItsReferences) {
    sql(
        {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
         "values ('Bare', 0, 60, 30)",
         "insert into tblResources (GroupId, ResourceName) values (2, 'Solo')"});
    open([&](DlgAppt& e) {
        EXPECT_EQ(e.CbResource->count(), 2);
        EXPECT_EQ(e.CbTask->itemText(0), "< No Booking >");
        EXPECT_EQ(e.CbTask->itemText(1), "Call");
        EXPECT_EQ(e.CbCustomer->itemText(2), "Smith");
        e.TxtRef01->setText("typed");
        forms().SetComboData(*e.CbCustomer, 1);
        EXPECT_EQ(e.TxtRef01->text(), "S1");
        e.ShowTasks(42);  // no longer listed
        EXPECT_EQ(e.CbTask->currentIndex(), 0);
    });
    // A group without customers: only "< No Customer >", and empty references.
    answerModal([&](DlgAppt& e) {
        EXPECT_EQ(e.CbCustomer->count(), 1);
        EXPECT_EQ(e.CbCustomer->currentText(), "< No Customer >");
        EXPECT_EQ(e.TxtRef01->text(), "");
        EXPECT_EQ(e.LbTimeSlot->rowCount(), 3);
    });
    ApptEditorState::Show(2, 0, 3, 0, kDay);
    // Reopened for the first group while another program holds the
    // database: the lists keep the last group's entries and the user is told once; they are
    // read again shortly for this group, quietly, with the resource handed over and its
    // day, and the type and customer held shown without their Click (which would put the
    // customer's references over those typed).
    booking(2, 540, 600, 2, 2);                                 // Ben's Call with Jones
    ASSERT_EQ(SharedObjects::Task().Load(2), Loaded::Row);      // Call
    ASSERT_EQ(SharedObjects::Customer().Load(2), Loaded::Row);  // Jones
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        auto& e = static_cast<DlgAppt&>(d);
        HeldByAnother held(folder);
        showAndActivate(e);
        EXPECT_EQ(e.CbResource->currentText(), "Solo");
        e.TxtRef01->setText("typed");
        held.release();
        EXPECT_EQ(readListsAgain(e), 3);
        EXPECT_EQ(QStringList({e.CbResource->currentText(), e.LbTimeSlot->cellText(rowOf(540), 2),
                               e.CbTask->currentText(), e.CbCustomer->currentText(),
                               e.TxtRef01->text()}),
                  QStringList({"Ben", "Call", "Call", "Jones", "typed"}));
        EXPECT_EQ(messages, QStringList{QString("Warning!: ") + ModMain::kNotRead});
        return 0;
    });
    ApptEditorState::Show(1, 480, 2, 0, kDay);
}

TEST_F(DlgApptTest, TheCommandsWaitForATypeAndWhereRequiredACustomer) {
    struct Case {
        bool required, slot;
        int task, customer;
        bool enabled;
    } cases[] = {
        {false, true, 1, 0, true},  {true, true, 1, 0, false},  {true, true, 1, 2, true},
        {false, false, 1, 2, true}, {true, false, 1, 2, true},  {false, false, 1, 0, false},
        {false, true, 0, 2, false}, {true, false, 0, 2, false},
    };
    open([&](DlgAppt& e) {
        for (const Case& c : cases) {
            setting("Options", "CustomerRequired", c.required ? "1" : "0");
            e.LbTimeSlot->setSelectedRow(c.slot ? 3 : -1);
            forms().SetComboData(*e.CbCustomer, c.customer);
            forms().SetComboData(*e.CbTask, c.task);
            const bool all = std::all_of(e.BtnTask.begin(), e.BtnTask.end(), [&](QPushButton* b) {
                return b->isEnabled() == c.enabled;
            });
            EXPECT_TRUE(all && e.SpinStart->isEnabled() == c.enabled)
                << c.required << c.slot << c.task << c.customer;
        }
    });
}

TEST_F(DlgApptTest, AReadOnlyWorkstationSeesNoEditingCommandsAndNeverSaves) {
    bool typeEditor = false;
    DlgApptHooks::Get().showApptType = [&] { typeEditor = true; };
    for (const char* value : {"1", "2", "0"}) {
        setting("Options", "IsReadOnly", value);
        const bool readOnly = QString(value) == "1";
        typeEditor = false;
        open(
            [&](DlgAppt& e) {
                EXPECT_EQ(e.ReadOnlyMode, readOnly) << value;
                EXPECT_EQ(e.mnuAppt->menuAction()->isVisible(), !readOnly) << value;
                EXPECT_EQ(e.mnuCustomer->menuAction()->isVisible(), !readOnly) << value;
                EXPECT_EQ(e.BtnTask[3]->isVisible(), !readOnly) << value;
                EXPECT_EQ(e.SpinEnd->isVisible(), !readOnly) << value;
                EXPECT_TRUE(e.SpinDate->isVisible());
                EXPECT_EQ(e.Toolbar1->isButtonVisible("People"), !readOnly) << value;
                e.Toolbar1_ButtonMenuClick("AddTask");
                forms().SetComboData(*e.CbTask, 1);
                e.LbTimeslot_ItemClick(rowOf(600), 1);
                e.BtnTask_Click(0);  // closes; saves only where editing is allowed
            },
            480, 1, 0);
        EXPECT_EQ(typeEditor, QString(value) == "0") << value;
        EXPECT_EQ(stored().size(), QString(value) == "1" ? 0 : 1) << value;
        sql({"delete from tblBookings"});
    }
}

TEST_F(DlgApptTest, TheFramesFollowTheWindowsSizeWhichClosingStores) {
    const DlgAppt::Geometry g = DlgAppt::Layout(12000, 8000, false);
    EXPECT_EQ(std::vector<int>({g.frame0Width, g.frame0Height, g.listWidth, g.listHeight,
                                g.frame1Left, DlgAppt::Layout(12000, 8000, true).listHeight}),
              std::vector<int>({7695, 6725, 7455, 6005, 7920, 5645}));
    booking(1, 540, 600);
    setting("DlgAppt", "WindowState", "1");  // a modal window never opens out of sight
    open([&](DlgAppt& e) {
        EXPECT_FALSE(e.isMinimized());
        e.resize(100, 100);
        EXPECT_EQ(e.size(), QSize(640, 430));  // 9600 x 6450 twips
        e.resize(800, 540);
        const int height = e.LbTimeSlot->height();
        EXPECT_EQ(e.Frame1[1]->x(), 800 - 272);
        e.LbTimeslot_ItemClick(rowOf(540), 1);
        e.BtnTask_Click(4);  // a pending move: the list makes room for the label
        EXPECT_EQ(e.LbTimeSlot->height(), height - 24);
        EXPECT_TRUE(e.LblMove->isVisible());
        e.BtnTask_Click(4);
        EXPECT_EQ(e.LbTimeSlot->height(), height);
    });
    EXPECT_EQ(setting("DlgAppt", "Width"), QString::number(800 * 15));
    EXPECT_EQ(setting("DlgAppt", "WindowState"), "0");
    setting("DlgAppt", "WindowState", "2");
    open([&](DlgAppt& e) { EXPECT_TRUE(e.isMaximized()); });
}
