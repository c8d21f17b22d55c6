// DlgAppt: the date spin, and the start and end spins that move one edge of the booking
// being edited by one slot, within its type's shortest and longest length and never past
// a neighbouring booking of the resource.
#include <QLabel>
#include <optional>

#include "CalendarState.h"
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
constexpr int kLastMinute = 1440;  // the close of the day

// The single value of an aggregate over the resource's bookings of the day: the start of
// the next one ("min") or the end of the previous one ("max"). Empty when there is none;
// false when the query could not run.
bool neighbour(const QString& sql, std::optional<int>& value) {
    auto rs = SharedObjects::DAO().SqlQuery(sql);
    if (!rs) return false;
    value.reset();
    if (!rs->Eof() && !rs->Field(0).isNull()) value = rs->Field(0).toInt();
    return true;
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
        std::optional<int> next;
        const QString sql = QString(
                                "select min(BookingStart) from tblBookings where "
                                "BookingStart >= %1 and BookingDate = %2 and ResourceId = %3")
                                .arg(e0)
                                .arg(CurrentDate())
                                .arg(SharedObjects::Forms().GetComboData(*CbResource));
        if (!neighbour(sql, next)) {
            SharedObjects::Log().LogMsg("Error in DlgBook.SpinEnd_Click");
            ModMain::NotRead();  // the end stays where it was
            return;
        }
        if (next && e > *next) e = *next;
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
        std::optional<int> previous;
        const QString sql = QString(
                                "select max(BookingEnd) from tblBookings where BookingEnd "
                                "<= %1 and BookingDate = %2 and ResourceId = %3")
                                .arg(s0)
                                .arg(CurrentDate())
                                .arg(SharedObjects::Forms().GetComboData(*CbResource));
        if (!neighbour(sql, previous)) {
            SharedObjects::Log().LogMsg("Error in DlgBook.SpinStart_Click");
            ModMain::NotRead();  // the start stays where it was
            return;
        }
        if (previous && s < *previous) s = *previous;
    }
    booking.setBookingStart(static_cast<int16_t>(s));
    LblStart->setText(SharedObjects::Date().ShowTime(booking.BookingStart(), true));
}
