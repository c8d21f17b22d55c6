#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "CalendarState.h"
#include "ClsBooking.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgApptFixture.h"
#include "DlgMain.h"
#include "KeyedToolbar.h"
#include "Plexaro.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }
ClsBooking& record() { return SharedObjects::Booking(); }
using DlgApptCommands = DlgApptTest;
const QString kMoveConflict =
    "Warning!: Unable to move/copy appointment!\r\n\r\nConflict with another appointment!";
// The bars of the main window's chart row, as stored() gives the bookings: "resource day
// start-end" in booking id order.
QStringList chartBars(const DlgMain& w, int row) {
    const plat::PlexaroModel& chart = w.Sched->model();
    std::vector<const plat::PlexaroBar*> bars;
    for (int n = 1; n <= chart.barCount(row); ++n) bars.push_back(chart.bar(row, n));
    std::sort(bars.begin(), bars.end(), [](auto* a, auto* b) { return a->data < b->data; });
    QStringList out;
    for (const plat::PlexaroBar* b : bars)
        out << QString("%1 %2 %3-%4")
                   .arg(w.Sched->rowData(row))
                   .arg(b->startDay)
                   .arg(b->startMinute)
                   .arg(b->endMinute);
    return out;
}
}  // namespace

TEST_F(DlgApptCommands, SaveStoresTheSlotOrSaysWhatIsMissing) {
    open([&](DlgAppt& e) {
        e.LbTimeSlot->setSelectedRow(-1);
        e.BtnTask_Click(1);  // no slot
        EXPECT_EQ(messages, QStringList{"Information: Please select the timeslot!"});
        messages.clear();
        e.LbTimeSlot->click(rowOf(600), 1);
        e.BtnTask_Click(1);  // "< No Booking >"
        EXPECT_EQ(messages, QStringList{"Error!: No task selected!"});
        EXPECT_EQ(e.LbTimeSlot->selectedRow(), rowOf(600));  // kept for another try
        messages.clear();
        forms().SetComboData(*e.CbTask, 1);
        e.TxtRef02->setText(" x ");
        e.mnuApptSubmit->trigger();
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_EQ(cells(e, 600), "10:00 am|Visit|?||x|");
        EXPECT_EQ(e.LbTimeSlot->selectedRow(), -1);
        EXPECT_EQ(dlg->Sched->model().barCount(1), 1);  // the chart behind follows at once
        // Taking it up again and saving changes the same row.
        e.LbTimeSlot->click(rowOf(600), 1);
        e.SpinEnd_Click(0);
        e.BtnTask_Click(1);
    });
    EXPECT_EQ(stored(), QStringList{"1 46000 600-630"});
}

TEST_F(DlgApptCommands, ARefusedSaveWarnsWhyAndKeepsTheEditorOpenWithTheInput) {
    struct Case {
        const char* what;
        const char* meanwhile;  // what another workstation does after the slot is taken up
        const char* reason;
        QStringList stored;
    } cases[] = {
        {"a booking in the way",
         "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, CustomerId, "
         "ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) "
         "values (2, 46000, 615, 630, 0, 1, 0, '', '', '', '')",
         "Conflict with another appointment!",
         {"1 46000 615-630"}},
        {"the customer deleted",
         "delete from tblCustomers where CustomerId = 2",
         "The resource, appointment type or customer no longer exists.",
         {}},
        {"a write the database refuses",  // last: the trigger stays
         "create trigger refuse before insert on tblBookings "
         "begin select raise(abort, 'refused'); end",
         "The database is busy or cannot be written; nothing was saved.",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        sql({"delete from tblBookings"});
        open([&](DlgAppt& e) {
            forms().SetComboData(*e.CbTask, 1);
            e.LbTimeSlot->click(rowOf(600), 1);
            forms().SetComboData(*e.CbCustomer, 2);
            e.SpinEnd_Click(0);
            e.TxtComments->setText("mine");
            sql({c.meanwhile});
            e.BtnTask_Click(0);
            EXPECT_EQ(
                messages,
                QStringList{QString("Warning!: Unable to save appointment!\r\n\r\n") + c.reason});
            EXPECT_TRUE(e.isVisible());
            EXPECT_EQ(e.LbTimeSlot->selectedRow(), rowOf(600));
            EXPECT_EQ(e.TxtComments->text(), "mine");
            EXPECT_EQ(record().BookingEnd(), 660);
        });
        EXPECT_EQ(stored(), c.stored);
    }
}

TEST_F(DlgApptCommands, ASaveOverAnotherWorkstationsChangeIsRefusedAndShowsTheBookingAsStored) {
    struct Case {
        const char* what;
        const char* meanwhile;  // what another workstation does to the booking taken up
        const char* reason;
        int32_t day;
        int resource, row;
        const char* end;
        const char* comments;  // shown after the refusal
        QStringList stored;    // after saving again
    } cases[] = {
        // Moved to Ben on the next day, 10:00 to 11:00, with a note: shown as stored now.
        {"changed",
         "update tblBookings set ResourceId = 2, BookingDate = 46001, BookingStart = 600, "
         "BookingEnd = 660, Comments = 'theirs'",
         "Another workstation has changed this appointment since it was opened. It is shown "
         "as it is stored now.",
         kDay + 1,
         2,
         rowOf(600),
         "11:00 am",
         "theirs",
         {"2 46001 600-660"}},
        // Deleted: its day with nothing taken up and the typed text kept, which a click on
        // the empty slot and a save store as a new booking.
        {"deleted",
         "delete from tblBookings",
         "Another workstation has deleted this appointment since it was opened.",
         kDay,
         1,
         -1,
         "",
         "mine",
         {"1 46000 540-585"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        sql({"delete from tblBookings"});
        booking(1, 540, 570);
        open([&](DlgAppt& e) {
            e.LbTimeSlot->click(rowOf(540), 1);
            e.TxtComments->setText("mine");
            sql({c.meanwhile});
            e.BtnTask_Click(1);
            EXPECT_EQ(
                messages,
                QStringList{QString("Warning!: Unable to save appointment!\r\n\r\n") + c.reason});
            EXPECT_EQ(e.CurrentDate(), c.day);
            EXPECT_EQ(forms().GetComboData(*e.CbResource), c.resource);
            EXPECT_EQ(e.LbTimeSlot->selectedRow(), c.row);
            EXPECT_EQ(e.LblEnd->text(), c.end);
            EXPECT_EQ(e.TxtComments->text(), c.comments);
            if (c.row < 0) e.LbTimeSlot->click(rowOf(540), 1);
            e.TxtComments->setText("mine");  // saved again: over what is stored, or anew
            e.BtnTask_Click(1);
        });
        EXPECT_EQ(stored(), c.stored);
        EXPECT_EQ(scalar("select count(*) from tblBookings where Comments = 'mine'"), 1);
    }
}

TEST_F(DlgApptCommands, NoSaveWritesABookingWithoutItsResourceOrRequiredCustomerOrTimes) {
    struct Case {
        const char* what;
        std::function<void(DlgAppt&)> arrange;
        const char* message;
    } cases[] = {
        {"no resource chosen",
         [](DlgAppt& e) {
             e.CbResource->SetListIndex(-1);
             e.LbTimeSlot->click(rowOf(600), 1);
         },
         "Warning!: No resource selected!"},
        {"a customer required, through the menu",
         [this](DlgAppt& e) {
             setting("Options", "CustomerRequired", "1");
             e.LbTimeSlot->click(rowOf(600), 1);
         },
         "Warning!: No customer selected!"},
        {"the end not after the start",
         [](DlgAppt& e) {
             e.LbTimeSlot->click(rowOf(600), 1);
             record().setBookingEnd(600);
         },
         "Warning!: Invalid appointment times!"},
        {"the end after midnight",
         [](DlgAppt& e) {
             e.LbTimeSlot->click(rowOf(600), 1);
             record().setBookingEnd(1450);
         },
         "Warning!: Invalid appointment times!"},
    };
    for (const Case& c : cases) {
        messages.clear();
        setting("Options", "CustomerRequired", "0");
        open([&](DlgAppt& e) {
            forms().SetComboData(*e.CbTask, 1);
            c.arrange(e);
            e.mnuApptSubmit->trigger();
        });
        EXPECT_EQ(messages, QStringList{c.message}) << c.what;
        EXPECT_TRUE(stored().isEmpty()) << c.what;
    }
}

TEST_F(DlgApptCommands, MoveAndCopyAreShortenedBeforeTheNextBookingAndEndTheMode) {
    struct Case {
        const char* what;
        int index, target;  // button, slot clicked
        QStringList after;
        bool warned;
        const char* shown;  // start and end shown afterwards
    } cases[] = {
        {"move one slot later over its own place",
         4,
         555,
         {"1 46000 555-615", "1 46000 660-690"},
         false,
         "09:15 am-10:15 am"},
        {"move up to the next booking",
         4,
         630,
         {"1 46000 630-660", "1 46000 660-690"},
         false,
         "10:30 am-11:00 am"},
        {"move into the next booking",
         4,
         660,
         {"1 46000 540-600", "1 46000 660-690"},
         true,
         "09:00 am-10:00 am"},
        {"move capped at the day's end",
         4,
         990,
         {"1 46000 990-1035", "1 46000 660-690"},
         false,
         "04:30 pm-05:15 pm"},
        {"copy inside itself",
         5,
         555,
         {"1 46000 540-600", "1 46000 660-690"},
         true,
         "09:00 am-10:00 am"},
        {"copy reaching into itself",
         5,
         510,
         {"1 46000 540-600", "1 46000 660-690", "1 46000 510-540"},
         false,
         "08:30 am-09:00 am"},
    };
    for (const Case& c : cases) {
        sql({"delete from tblBookings"});
        booking(1, 540, 600, 1, 1, kDay, 9);
        booking(1, 660, 690);
        dlg->ShowResources(0);
        messages.clear();
        open([&](DlgAppt& e) {
            e.LbTimeSlot->click(rowOf(570), 1);
            e.BtnTask_Click(c.index);
            EXPECT_EQ(e.LblMove->text(), c.index == 4 ? "Move Appointment" : "Copy Appointment");
            EXPECT_EQ(e.BtnTask[c.index]->text(), "Cancel");
            e.LbTimeSlot->click(rowOf(c.target), 1);
            EXPECT_FALSE(e.MovePending) << c.what;
            EXPECT_FALSE(e.LblMove->isVisible());
            EXPECT_EQ(e.BtnTask[c.index]->text(), c.index == 4 ? "Move" : "Copy");
            // The times shown are the record's, which the spins and Submit work from.
            EXPECT_EQ(e.LblStart->text() + "-" + e.LblEnd->text(), c.shown) << c.what;
            ClsDate& date = SharedObjects::Date();
            EXPECT_EQ(date.ShowTime(record().BookingStart(), true) + "-" +
                          date.ShowTime(record().BookingEnd(), true),
                      c.shown)
                << c.what;
            // The chart behind follows at once, as after a save.
            EXPECT_EQ(chartBars(*dlg, 1), c.after) << c.what;
        });
        EXPECT_EQ(stored(), c.after) << c.what;
        EXPECT_EQ(messages.contains(kMoveConflict), c.warned) << c.what;
    }
    // The copy is a single booking; the moved one stays in its series.
    EXPECT_EQ(scalar("select RepeatId from tblBookings where BookingStart = 510"), 0);
    EXPECT_EQ(scalar("select RepeatId from tblBookings where BookingStart = 540"), 9);
}

TEST_F(DlgApptCommands, AMoveOrCopyTheDatabaseRefusesIsReportedAndLeavesTheMode) {
    booking(1, 540, 600);
    sql(
        {"create trigger refuse before update on tblBookings when new.BookingStart = 630 "
         "begin select raise(abort, 'refused'); end"});
    open([&](DlgAppt& e) {
        e.LbTimeSlot->click(rowOf(540), 1);
        e.BtnTask_Click(4);
        e.LbTimeSlot->click(rowOf(630), 1);
        EXPECT_FALSE(e.MovePending);
        EXPECT_EQ(cells(e, 540).substr(0, 14), "09:00 am|Visit");
    });
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to move/copy appointment!\r\n\r\n"
                                    "The database is busy or cannot be written; nothing was "
                                    "saved."});
    EXPECT_EQ(stored(), QStringList{"1 46000 540-600"});
    // A copy onto a resource another workstation deleted says so.
    messages.clear();
    open([&](DlgAppt& e) {
        e.LbTimeSlot->click(rowOf(540), 1);
        e.BtnTask_Click(5);
        forms().SetComboData(*e.CbResource, 2);
        sql({"delete from tblResources where ResourceId = 2"});
        e.LbTimeSlot->click(rowOf(540), 1);
    });
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to move/copy appointment!\r\n\r\n"
                                    "The resource, appointment type or customer no longer "
                                    "exists."});
    EXPECT_EQ(stored(), QStringList{"1 46000 540-600"});
}

// Another workstation deletes or changes the booking while its move or copy waits: the
// next click says so (a tick before it says nothing: nobody asked it); nothing is placed,
// a change is never undone and the booking is shown as stored now. What was typed for a
// deleted one stays, and Save And Exit asks for its slot instead of closing without it.
TEST_F(DlgApptCommands, AMoveOrCopyOfABookingDeletedOrChangedElsewhereSaysSoAndPlacesNothing) {
    const QString unable = "Warning!: Unable to move/copy appointment!\r\n\r\n";
    struct Case {
        const char* what;
        const char* meanwhile;
        bool tick;              // the tick comes, before the click on a slot
        int row;                // highlighted afterwards; -1 none
        const char* times;      // shown afterwards
        const char* reason;
        QStringList stored;
        bool beforePress = false;  // another workstation deletes it before Move or Copy
    } cases[] = {
        {"deleted", "delete from tblBookings", false, -1, "", "Another workstation has deleted "
         "this appointment since it was opened.", {}},
        {"deleted, then the tick", "delete from tblBookings", true, -1, "",
         "Another workstation has deleted this appointment since it was opened.", {}},
        {"deleted before the press", "delete from tblBookings", false, -1, "",
         "Another workstation has deleted this appointment since it was opened.", {}, true},
        {"changed", "update tblBookings set BookingEnd = 660, Comments = 'theirs'", false,
         rowOf(540), "09:00 am11:00 am",
         "Another workstation has changed this appointment since it was opened. It is shown "
         "as it is stored now.",
         {"1 46000 540-660"}},
    };
    for (const Case& c : cases) {
        for (int index : {4, 5}) {
            SCOPED_TRACE(std::string(c.what) + (index == 4 ? " (move)" : " (copy)"));
            sql({"delete from tblBookings"});
            booking(1, 540, 600);
            dlg->Timer1_Timer();  // the chart shows it too
            messages.clear();
            open([&](DlgAppt& e) {
                e.LbTimeSlot->click(rowOf(540), 1);
                e.TxtComments->setText("typed");
                if (c.beforePress) sql({c.meanwhile});  // another workstation
                e.BtnTask_Click(index);
                if (!c.beforePress) {
                    sql({c.meanwhile});
                    if (c.tick) {
                        dlg->Timer1_Timer();
                        EXPECT_TRUE(messages.isEmpty());
                        EXPECT_TRUE(e.MovePending);
                    }
                    e.LbTimeSlot->click(rowOf(630), 1);
                }
                EXPECT_FALSE(e.MovePending);
                EXPECT_EQ(e.LbTimeSlot->selectedRow(), c.row);
                EXPECT_EQ(e.LblStart->text() + e.LblEnd->text(), c.times);
                EXPECT_EQ(messages, QStringList{unable + c.reason});
                if (c.row >= 0) {
                    EXPECT_EQ(e.TxtComments->text(), "theirs");
                    return;
                }
                e.BtnTask_Click(0);
                EXPECT_TRUE(e.isVisible());
                EXPECT_EQ(e.TxtComments->text(), "typed");
                EXPECT_EQ(messages.last(), "Information: Please select the timeslot!");
                messages.removeLast();
            });
            EXPECT_EQ(messages, QStringList{unable + c.reason});
            EXPECT_EQ(stored(), c.stored);
        }
    }
}

TEST_F(DlgApptCommands, AMoveTheLockedDatabaseCannotTakeSaysSoAfterOneBusyWait) {
    booking(1, 540, 600);
    open([&](DlgAppt& e) {
        e.LbTimeSlot->click(rowOf(540), 1);
        e.BtnTask_Click(4);
        HeldDatabase locker(folder, folder.file("Rostima.mdb"));
        ASSERT_TRUE(locker.held());
        QElapsedTimer clock;
        clock.start();
        qint64 waited = -1;
        // The other program lets go while the user reads the message.
        plat::SetMsgBoxHook([&](const QString& text, int, const QString& title) {
            messages << title + ": " + text;
            if (waited < 0) locker.release();
            waited = clock.elapsed();
            return int(plat::vbOK);
        });
        e.LbTimeSlot->click(rowOf(630), 1);
        EXPECT_EQ(messages, QStringList{"Warning!: Unable to move/copy appointment!\r\n\r\n"
                                        "The database is busy or cannot be written; nothing "
                                        "was saved."});
        EXPECT_GE(waited, 9000);
        EXPECT_LT(waited, 18000);
        EXPECT_FALSE(e.MovePending);
    });
    EXPECT_EQ(stored(), QStringList{"1 46000 540-600"});
}

TEST_F(DlgApptCommands, MoveAndCopyNeedABookedSlotAndEachCancelsTheOther) {
    booking(1, 540, 600);
    open([&](DlgAppt& e) {
        e.LbTimeSlot->setSelectedRow(-1);
        e.BtnTask_Click(4);
        EXPECT_EQ(messages, QStringList{"Information: Please select the timeslot!"});
        e.LbTimeSlot->click(rowOf(630), 1);
        e.BtnTask_Click(5);  // an empty slot: nothing, and no copy left waiting
        EXPECT_FALSE(e.MovePending);
        e.LbTimeSlot->click(rowOf(540), 1);
        e.mnuApptMove->trigger();
        EXPECT_TRUE(e.MovePending);
        EXPECT_FALSE(e.CopyRequested);
        e.mnuApptCopy->trigger();  // cancels the move
        EXPECT_FALSE(e.MovePending);
        EXPECT_EQ(e.BtnTask[4]->text(), "Move");
    });
}

TEST_F(DlgApptCommands, DeleteAsksOnceForASingleBookingAndTwiceForASeries) {
    struct Case {
        int repeat;
        QList<int> answers;
        int questions, left;
    } cases[] = {
        {0, {plat::vbNo}, 1, 3},
        {0, {plat::vbYes}, 1, 2},
        {5, {plat::vbYes, plat::vbNo}, 2, 2},
        {5, {plat::vbYes, plat::vbYes}, 2, 1},
    };
    for (const Case& c : cases) {
        sql({"delete from tblBookings"});
        booking(1, 540, 600, 1, 1, kDay, c.repeat);
        booking(1, 540, 600, 1, 1, kDay + 7, c.repeat);
        booking(1, 660, 690);
        messages.clear();
        answers = c.answers;
        open([&](DlgAppt& e) {
            e.LbTimeSlot->click(rowOf(555), 1);
            e.mnuApptDelete->trigger();
        });
        EXPECT_EQ(messages.size(), c.questions) << c.repeat;
        EXPECT_EQ(messages.value(0), "Confirm: Do you wish to delete this appointment?");
        EXPECT_EQ(stored().size(), c.left) << c.repeat << c.answers.size();
    }
}

TEST_F(DlgApptCommands, DeletingABookingGoneMeanwhileTakesNoSeriesWithIt) {
    booking(1, 540, 600, 1, 1, kDay, 5);
    booking(1, 540, 600, 1, 1, kDay + 7, 5);
    open([&](DlgAppt& e) {
        e.LbTimeSlot->click(rowOf(540), 1);
        sql({"delete from tblBookings where BookingId = 1"});  // another workstation
        e.BtnTask_Click(3);
        EXPECT_EQ(e.LbTimeSlot->rowData(rowOf(540)), 0);  // shown as it now is
    });
    EXPECT_EQ(messages, QStringList{"Confirm: Do you wish to delete this appointment?"});
    EXPECT_EQ(stored(), QStringList{"1 46007 540-600"});
}

TEST_F(DlgApptCommands, AfterTheListIsRefilledNoEarlierSelectionSavesOrMovesABooking) {
    booking(1, 540, 600);
    bool repeated = false;
    DlgApptHooks::Get().showRepeat = [&](const DlgApptHooks::Repeat&) { repeated = true; };
    open([&](DlgAppt& e) {
        e.LbTimeSlot->click(rowOf(540), 1);
        e.SpinDate_Click(1);  // the next day
        e.BtnTask_Click(1);
        e.BtnTask_Click(4);
        EXPECT_FALSE(e.MovePending);
        // A new booking prepared for Anna is not handed on once Ben's day is shown.
        e.SpinDate_Click(0);
        e.LbTimeSlot->click(rowOf(630), 1);
        forms().SetComboData(*e.CbResource, 2);
        EXPECT_EQ(record().BookingEnd(), 0);
        e.BtnTask_Click(2);
    });
    EXPECT_FALSE(repeated);
    EXPECT_EQ(messages.count("Information: Please select the timeslot!"), 3);
    EXPECT_EQ(stored(), QStringList{"1 46000 540-600"});
}

TEST_F(DlgApptCommands, TheSpinsKeepTheTypesLengthsAndStopAtTheNeighbours) {
    struct Case {
        const char* what;
        int task, start, end;  // the booking being edited
        QList<std::pair<int, int>> others;
        bool startSpin;
        int16_t direction;
        int expectStart, expectEnd;
    } cases[] = {
        {"raised end stops at the next start", 1, 540, 600, {{610, 700}}, false, 0, 540, 610},
        {"raised end meets it already", 1, 540, 600, {{600, 700}}, false, 0, 540, 600},
        {"lowered end needs more than a slot", 1, 540, 555, {}, false, 1, 540, 555},
        {"raised start needs more than a slot", 1, 540, 555, {}, true, 0, 540, 555},
        {"lowered end back up to the shortest", 2, 540, 570, {}, false, 1, 540, 570},
        {"raised end held to the longest", 2, 540, 630, {}, false, 0, 540, 600},
        {"lowered start held to the longest", 2, 540, 630, {}, true, 1, 570, 630},
        {"lowered start stops at the previous end", 1, 540, 600, {{400, 530}}, true, 1, 530, 600},
        // Shorter than its type allows (stored so by another route): the shortest length
        // pushes the other way, and the neighbour still stops it.
        {"shortest length pushing the end stops at the next",
         2,
         540,
         565,
         {{568, 600}},
         false,
         1,
         540,
         568},
        {"shortest length pushing the start stops at the previous",
         2,
         550,
         570,
         {{480, 545}},
         true,
         0,
         545,
         570},
        {"never after midnight", 1, 1380, 1440, {}, false, 0, 1380, 1440},
        {"never before midnight", 1, 0, 60, {}, true, 1, 0, 60},
    };
    for (const Case& c : cases) {
        sql({"delete from tblBookings"});
        booking(1, c.start, c.end, c.task);
        for (auto [s, e] : c.others) booking(1, s, e);
        open([&](DlgAppt& e) {
            ASSERT_EQ(Loaded::Row, record().Load(static_cast<int32_t>(
                scalar(QString("select BookingId from tblBookings where BookingStart = %1")
                           .arg(c.start)))));
            forms().SetComboData(*e.CbTask, c.task);
            if (c.startSpin)
                e.SpinStart_Click(c.direction);
            else
                e.SpinEnd_Click(c.direction);
            EXPECT_EQ(record().BookingStart(), c.expectStart) << c.what;
            EXPECT_EQ(record().BookingEnd(), c.expectEnd) << c.what;
        });
    }
}

TEST_F(DlgApptCommands, ASlotLengthOfNothingOrADayBeyondMidnightNeverLoops) {
    open([&](DlgAppt& e) {
        // As another program may have written it: the day is read afresh with each refill.
        sql({"update tblGroups set Interval = 0, DayStart = -60, DayEnd = 1500"});
        e.ShowBookings();
        EXPECT_EQ(e.LbTimeSlot->rowCount(), 1440 / ClsGroup::kDefaultInterval + 1);
        EXPECT_EQ(e.LbTimeSlot->rowText(0), "0");
    });
}

TEST_F(DlgApptCommands, DeletingATypeOrCustomerClearsItsBookingsFromTheDayAndTheChart) {
    for (const char* command : {"DeleteTask", "DeleteCustomer"}) {
        sql({"delete from tblBookings"});
        booking(1, 540, 600, 2, 2);
        dlg->ShowResources(0);
        open([&](DlgAppt& e) {
            forms().SetComboData(*e.CbTask, 2);
            forms().SetComboData(*e.CbCustomer, 2);
            EXPECT_EQ(dlg->Sched->model().barCount(1), 1);
            e.Toolbar1_ButtonMenuClick(command);
            EXPECT_EQ(e.LbTimeSlot->rowData(rowOf(540)), 0) << command;
            EXPECT_EQ(dlg->Sched->model().barCount(1), 0) << command;
            EXPECT_TRUE(e.Toolbar1->isButtonEnabled("Exit"));
        });
    }
    EXPECT_EQ(messages, (QStringList{"Confirm: Confirm delete selected task?",
                                     "Confirm: Confirm selected customer?"}));
}

TEST_F(DlgApptCommands, TheDialogsItOpensGetTheirHandOverOnceRegistered) {
    booking(1, 540, 600, 1, 1);
    QStringList seen;
    open([&](DlgAppt& e) {
        // None registered yet: the commands show nothing and change nothing.
        for (const char* key : {"Calendar", "Print", "TaskDef", "People"})
            e.Toolbar1_ButtonClick(key);
        e.LbTimeSlot->click(rowOf(540), 1);
        e.BtnTask_Click(2);
        EXPECT_EQ(CalendarState::CalDate(), kDay);

        DlgApptHooks& hooks = DlgApptHooks::Get();
        hooks.showCalendar = [&] {
            seen << QString("calendar %1").arg(CalendarState::ResourceId());
            CalendarState::setCalDate(kDay + 2);
        };
        hooks.showRepeat = [&](const DlgApptHooks::Repeat& r) {
            seen << QString("repeat %1 %2-%3 g%4 r%5 c%6 t%7 %8")
                        .arg(r.apptDate)
                        .arg(r.startTime)
                        .arg(r.endTime)
                        .arg(r.groupId)
                        .arg(r.resourceId)
                        .arg(r.customerId)
                        .arg(r.taskId)
                        .arg(r.ref01);
        };
        hooks.showApptType = [&] {
            seen << QString("type g%1").arg(SharedObjects::Task().GroupId());
            SharedObjects::Task().setTaskName("Audit");
            SharedObjects::Task().Save();
        };
        hooks.showContact = [&](std::optional<int32_t> group) {
            seen << QString("contact %1").arg(group ? *group : -1);
        };
        hooks.showPreview = [&] { seen << "preview"; };
        e.BtnTask_Click(2);
        e.Toolbar1_ButtonClick("TaskDef");  // listed; the booking taken up keeps its type
        EXPECT_EQ(e.CbTask->currentText(), "Visit");
        EXPECT_GT(e.CbTask->findText("Audit"), 0);
        e.Toolbar1_ButtonMenuClick("EditCustomer");
        e.Toolbar1_ButtonClick("Print");
        e.mnuApptChangeDate->trigger();
        EXPECT_EQ(e.LbTimeSlot->title(), "Saturday 13 December 2025");
        EXPECT_TRUE(e.Toolbar1->isButtonEnabled("Help"));
    });
    EXPECT_EQ(seen, (QStringList{"repeat 46000 540-600 g1 r1 c1 t1 r1", "type g1", "contact -1",
                                 "preview", "calendar 1"}));
}

TEST_F(DlgApptCommands, ABookingKeepsItsOwnCustomerThoughNotLinkedToTheGroup) {
    sql(
        {"insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
         "values ('Brown', '', '', '')"});
    booking(1, 540, 600, 1, 3);
    open([&](DlgAppt& e) {
        e.LbTimeSlot->click(rowOf(540), 1);
        EXPECT_EQ(e.CbCustomer->currentText(), "Brown");
        e.TxtComments->setText("changed");
        e.BtnTask_Click(1);
    });
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(scalar("select CustomerId from tblBookings where Comments = 'changed'"), 3);
}

TEST_F(DlgApptCommands, StartAndEndShownAreTheRecordsAfterEveryRefillOfTheDay) {
    booking(1, 540, 600);
    struct Case {
        const char* what;
        std::function<void(DlgAppt&)> refill;
        const char* shown;  // "-": the record holds nothing, and no time is shown
    } cases[] = {
        {"date spin", [](DlgAppt& e) { e.SpinDate_Click(1); }, "-"},
        {"resource chosen again", [](DlgAppt& e) { forms().SetComboData(*e.CbResource, 1); },
         "10:00 am-10:45 am"},
        {"refresh tick", [](DlgAppt& e) { e.RefreshDay(); }, "10:00 am-10:45 am"},
        {"delete",
         [](DlgAppt& e) {
             e.LbTimeSlot->click(rowOf(540), 1);
             e.BtnTask_Click(3);
         },
         "-"},
    };
    for (const Case& c : cases) {
        open([&](DlgAppt& e) {
            forms().SetComboData(*e.CbTask, 1);
            e.LbTimeSlot->click(rowOf(600), 1);  // a new booking, 10:00 am to 10:45 am
            c.refill(e);
            ClsDate& date = SharedObjects::Date();
            const QString held = date.ShowTime(record().BookingStart(), true) + "-" +
                                 date.ShowTime(record().BookingEnd(), true);
            EXPECT_EQ(e.LblStart->text() + "-" + e.LblEnd->text(), c.shown) << c.what;
            if (QString(c.shown) != "-") {
                EXPECT_EQ(held, c.shown) << c.what;
            }
        });
    }
}
