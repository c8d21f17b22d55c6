#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "../MainWindowFixture.h"
#include "ApptEditorState.h"
#include "CalendarState.h"
#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ClsGroup.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgAppt.h"
#include "DlgApptHooks.h"
#include "DlgMain.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "Plexaro.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {

constexpr int32_t kDay = 46000;  // Thursday 11 December 2025

// The main window on the group "Clinic" (08:00 to 17:00 in 15-minute slots) with the
// resources Anna (chart row 1) and Ben (row 2), the types Visit (red, 15..120, 45 first)
// and Call (green, 30..60, 30 first) and the customers Smith and Jones; the real booking
// editor behind the main window's hand-over. Message boxes are recorded and answered
// from `answers` (Yes once they run out).
class DlgApptTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        sql(
            {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
             "values ('Clinic', 480, 1020, 15)",
             "insert into tblResources (GroupId, ResourceName) values (1, 'Anna')",
             "insert into tblResources (GroupId, ResourceName) values (1, 'Ben')",
             "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
             "values (1, 'Visit', 255, 15, 120, 45)",
             "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
             "values (1, 'Call', 65280, 30, 60, 30)",
             "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
             "values ('Smith', 'S1', 'S2', 'S3')",
             "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
             "values ('Jones', '', '', '')",
             "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1)",
             "insert into tblCustomerGroups (CustomerId, GroupId) values (2, 1)"});
        setting("Group", "CbGroup", "1");
        setting("Config", "LastDate", QString::number(kDay));
        plat::SetMsgBoxHook([this](const QString& text, int, const QString& title) {
            messages << title + ": " + text;
            return answers.isEmpty() ? int(plat::vbYes) : answers.takeFirst();
        });
        ASSERT_TRUE(start());
        DlgAppt::Install();
    }
    void TearDown() override {
        DlgAppt::Uninstall();
        DlgApptHooks::Get() = DlgApptHooks();
        MainWindowFixture::TearDown();
    }
    // A booking written by another workstation.
    void booking(int resource, int start, int end, int task = 1, int customer = 1,
                 int32_t day = kDay, int repeat = 0, const QString& refs = "'r1', 'r2', 'r3'") {
        sql({QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                     "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                     "(%1, %2, %3, %4, %5, %6, %7, %8, '')")
                 .arg(task)
                 .arg(day)
                 .arg(start)
                 .arg(end)
                 .arg(customer)
                 .arg(resource)
                 .arg(repeat)
                 .arg(refs)});
    }
    // Opens the editor as the main window's row double-click does (or at a slot with a
    // task, as a drop does) and runs `work` on it while it is shown.
    void open(const std::function<void(DlgAppt&)>& work, int16_t start = 480, int resource = 1,
              int task = 0) {
        answerModal(work);
        ApptEditorState::Show(1, start, resource, task, kDay);
    }
    void answerModal(const std::function<void(DlgAppt&)>& work) {
        plat::ModalHook::SetAnswererForTest([work](QDialog& d) {
            auto& editor = static_cast<DlgAppt&>(d);
            editor.show();
            QCoreApplication::processEvents();  // the first activation
            work(editor);
            return 0;
        });
    }
    // Row of a slot minute in the group's day.
    static int rowOf(int minute) { return (minute - 480) / 15; }
    static std::string cells(DlgAppt& e, int minute) {
        QStringList out;
        for (int c = 1; c <= 6; ++c) out << e.LbTimeSlot->cellText(rowOf(minute), c);
        return out.join("|").toStdString();
    }
    // Bookings stored, as "resource day start-end" in id order.
    QStringList stored() {
        QStringList out;
        auto rs = SharedObjects::DAO().SqlQuery(
            "select ResourceId, BookingDate, BookingStart, BookingEnd from tblBookings "
            "order by BookingId");
        for (; rs && !rs->Eof(); rs->MoveNext())
            out << QString("%1 %2 %3-%4")
                       .arg(rs->Field(0).toInt())
                       .arg(rs->Field(1).toInt())
                       .arg(rs->Field(2).toInt())
                       .arg(rs->Field(3).toInt());
        return out;
    }

    QList<int> answers;
};

}  // namespace

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
