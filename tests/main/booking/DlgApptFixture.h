#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>
#include <string>

#include "../MainWindowFixture.h"
#include "ApptEditorState.h"
#include "ClsDAO.h"
#include "DlgAppt.h"
#include "DlgApptHooks.h"
#include "SharedObjects.h"
#include "Tabrix.h"

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
             "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
             "values (1, 'Anna', 15, 540, 15)",
             "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
             "values (1, 'Ben', 15, 540, 15)",
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

    int64_t scalar(const QString& sql) {
        auto rs = SharedObjects::DAO().SqlQuery(sql);
        return rs && !rs->Eof() ? rs->Field(0).toLong() : -1;
    }

    QList<int> answers;
};
