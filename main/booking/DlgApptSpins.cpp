// DlgAppt: the date spin, and the start and end spins that move one edge of the booking
// being edited by one slot, within its type's shortest and longest length and never past
// a neighbouring booking of the resource.
#include <QLabel>
#include <optional>

#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsLogging.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgAppt.h"
#include "ModMain.h"
#include "SharedObjects.h"

namespace {

// The single value of an aggregate over the resource's bookings of the day: the start of
// the next one or the end of the previous one, `none` when there is none. Unread, told and
// logged as the spin `proc`'s, when the query could not run: the edge stays where it was.
std::optional<int> neighbour(const char* aggregate, const char* edge, int minute, int none,
                             int32_t day, int32_t resourceId, const char* proc) {
    auto rs = SharedObjects::DAO().SqlQuery(
        QString("select coalesce(%1, ?) from tblBookings where %2 ? and BookingDate = ? and "
                "ResourceId = ?")
            .arg(aggregate, edge),
        {none, minute, day, resourceId});
    if (!rs) {
        SharedObjects::Log().LogMsg(QString("Error in DlgBook.") + proc);
        ModMain::NotRead();
        return std::nullopt;
    }
    return rs->Eof() ? none : rs->Field(0).toInt();
}
}  // namespace

void DlgAppt::SpinDate_Click(int16_t direction) {
    setApptDate(direction == 0 ? CurrentDate() - 1 : CurrentDate() + 1);
}

void DlgAppt::SpinEnd_Click(int16_t direction) {
    ClsBooking& booking = SharedObjects::Booking();
    ClsTask& task = SharedObjects::Task();
    const int s = booking.BookingStart();
    const int e0 = booking.BookingEnd();
    const int step = task.Interval() > 0 ? task.Interval() : ClsGroup::kDefaultInterval;
    int e = e0;
    // Lowering needs more than one slot between start and end, so the end stays after it.
    if (direction == 0 || e > s + step) {
        e = direction == 0 ? e + step : e - step;
        if (e - s > task.MaxTime()) e = s + task.MaxTime();
        if (e - s < task.MinTime()) e = s + task.MinTime();
        if (e <= s) e = e0;  // a type whose lengths allow nothing leaves the end alone
        e = qMin(e, kLastMinute);
    }
    // Whatever made the end later (the step or the type's shortest length), the next
    // booking of the resource stops it.
    if (e > e0) {
        const std::optional<int> next =
            neighbour("min(BookingStart)", "BookingStart >=", e0, kLastMinute, CurrentDate(),
                      SharedObjects::Forms().GetComboData(*CbResource), "SpinEnd_Click");
        if (!next) return;
        e = qMin(e, *next);
    }
    booking.setBookingEnd(static_cast<int16_t>(e));
    LblEnd->setText(SharedObjects::Date().ShowTime(booking.BookingEnd(), true));
}

void DlgAppt::SpinStart_Click(int16_t direction) {
    ClsBooking& booking = SharedObjects::Booking();
    ClsTask& task = SharedObjects::Task();
    const int s0 = booking.BookingStart();
    const int e = booking.BookingEnd();
    const int step = task.Interval() > 0 ? task.Interval() : ClsGroup::kDefaultInterval;
    int s = s0;
    // Raising needs more than one slot between start and end, so the start stays before.
    if (direction != 0 || s + step < e) {
        s = direction == 0 ? s + step : s - step;
        if (e - s > task.MaxTime()) s = e - task.MaxTime();
        if (e - s < task.MinTime()) s = e - task.MinTime();
        if (s >= e) s = s0;
        s = qMax(s, 0);
    }
    // Whatever made the start earlier, the previous booking of the resource stops it.
    if (s < s0) {
        const std::optional<int> previous =
            neighbour("max(BookingEnd)", "BookingEnd <=", s0, 0, CurrentDate(),
                      SharedObjects::Forms().GetComboData(*CbResource), "SpinStart_Click");
        if (!previous) return;
        s = qMax(s, *previous);
    }
    booking.setBookingStart(static_cast<int16_t>(s));
    LblStart->setText(SharedObjects::Date().ShowTime(booking.BookingStart(), true));
}
