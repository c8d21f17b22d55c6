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

// What stops an edge moved from `minute`: the end stops at the start of the resource's
// next booking of the day (none: the close of the day), the start at the end of its
// previous one (none: 0). Unread, logged and told as the spin's failure when the query
// could not run: the edge stays where it was.
[[nodiscard]] std::optional<int> neighbour(DlgAppt::Edge edge, int minute, int32_t day,
                                           int32_t resourceId) {
    const bool end = edge == DlgAppt::Edge::End;
    const int none = end ? DlgAppt::kLastMinute : 0;
    auto rs = SharedObjects::DAO().SqlQuery(
        QString("select coalesce(%1, ?) from tblBookings where %2 ? and BookingDate = ? and "
                "ResourceId = ?")
            .arg(end ? "min(BookingStart)" : "max(BookingEnd)",
                 end ? "BookingStart >=" : "BookingEnd <="),
        {none, minute, day, resourceId});
    if (!rs) {
        SharedObjects::Log().LogMsg(end ? "Error in DlgBook.SpinEnd_Click"
                                        : "Error in DlgBook.SpinStart_Click");
        ModMain::NotRead(
            end ? "Unable to change the end time!" : "Unable to change the start time!", "changed");
        return std::nullopt;
    }
    return rs->Eof() ? none : rs->Field(0).toInt();
}
}  // namespace

void DlgAppt::SpinDate_Click(int16_t direction) {
    setApptDate(direction == 0 ? CurrentDate() - 1 : CurrentDate() + 1);
}

// The booking's length (minutes) changes by one slot at the edge, the other edge staying.
void DlgAppt::spin(Edge edge, int16_t direction) {
    ClsBooking& booking = SharedObjects::Booking();
    ClsTask& task = SharedObjects::Task();
    const bool end = edge == Edge::End;
    const int fixed = end ? booking.BookingStart() : booking.BookingEnd();
    const int was = booking.BookingEnd() - booking.BookingStart();
    const int step = task.Interval() > 0 ? task.Interval() : ClsGroup::kDefaultInterval;
    const bool longer = (direction == 0) == end;  // a later end or an earlier start
    int length = was;
    // Shorter needs more than one slot, so that the edges stay apart.
    if (longer || was > step) {
        length = qMax(task.MinTime(), qMin(longer ? was + step : was - step, task.MaxTime()));
        if (length <= 0) length = was;  // a type whose lengths allow nothing leaves it alone
        length = qMin(length, end ? kLastMinute - fixed : fixed);  // within the day
    }
    // Whatever made it longer (the step or the type's shortest length), the neighbouring
    // booking of the resource stops it.
    if (length > was) {
        const std::optional<int> near =
            neighbour(edge, end ? booking.BookingEnd() : booking.BookingStart(), CurrentDate(),
                      SharedObjects::Forms().GetComboData(*CbResource));
        if (!near) return;
        length = qMin(length, end ? *near - fixed : fixed - *near);
    }
    const auto moved = static_cast<int16_t>(end ? fixed + length : fixed - length);
    if (end)
        booking.setBookingEnd(moved);
    else
        booking.setBookingStart(moved);
    (end ? LblEnd : LblStart)->setText(SharedObjects::Date().ShowTime(moved, true));
}
