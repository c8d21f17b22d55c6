#pragma once
#include <QDate>

#include "../MainWindowFixture.h"
#include "ClsDate.h"
#include "SharedObjects.h"

// The main window on the group "Clinic" (8:00 to 18:00, 30-minute slots) with the
// resources "Anna" (1) and "Ben" (2), the types "Visit" (1) and "X-ray" (2) and the
// customers "Smith" (1) and "Jones" (2) of that group; message boxes answered Yes.
class BookingWindowFixture : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        answer = plat::vbYes;
        sql(
            {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
             "values ('Clinic', 480, 1080, 30)",
             "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
             "values ('Lab', 420, 960, 15)",
             "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
             "values (1, 'Anna', 30, 600, 30)",
             "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
             "values (1, 'Ben', 30, 600, 30)",
             "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
             "values (2, 'Carl', 15, 600, 15)",
             "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
             "values (1, 'Visit', 255, 30, 600, 30)",
             "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
             "values (1, 'X-ray', 65280, 30, 600, 30)",
             "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
             "values ('Smith', '', '', '')",
             "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
             "values ('Jones', '', '', '')",
             "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1)",
             "insert into tblCustomerGroups (CustomerId, GroupId) values (2, 1)"});
        ini.WriteValue("Group", "CbGroup", 1);
        ini.WriteValue("Config", "LastDate", day(2026, 3, 10));
        ASSERT_TRUE(start());
    }
    static int32_t day(int y, int m, int d) { return ClsDate().DateToLong(QDate(y, m, d)); }
    // A booking written by another workstation; customer 0 = none.
    void booking(int32_t resource, int32_t date, int start, int end, int task = 1,
                 int customer = 1, int repeat = 0) {
        sql({QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                     "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) "
                     "values (%1, %2, %3, %4, %5, %6, %7, '', '', '', '')")
                 .arg(task)
                 .arg(date)
                 .arg(start)
                 .arg(end)
                 .arg(customer)
                 .arg(resource)
                 .arg(repeat)});
    }
    int64_t scalar(const QString& sql) {
        auto rs = SharedObjects::DAO().SqlQuery(sql);
        return rs && !rs->Eof() ? rs->Field(0).toLong() : -1;
    }
};
