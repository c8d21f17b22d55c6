// DlgAppt: a click on a slot takes its booking up, prepares a new one there, or places a
// pending move or copy; and every refill of the day keeps what is being edited.
#include <QLabel>
#include <QLineEdit>

#include "CalendarState.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgAppt.h"
#include "ModMain.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }
using Refusal = ClsBooking::Refusal;

const char* const kUnableToPlace = "Unable to move/copy appointment!";
}  // namespace

void DlgAppt::LbTimeslot_ItemClick(int row, int /*column*/) {
    // A placement being saved finishes before another slot is taken up.
    if (m_placing) return;
    if (!MovePending) {
        takeUp(row);
        return;
    }
    LbTimeSlot->setSelectedRow(row);
    m_heldSlot = -1;
    SharedObjects::Booking().InitBfr();
    placeBooking(row);
}

// A row reached by the keys is taken up as a click would, so the times and boxes shown
// are always the highlighted slot's; but while a move or copy waits, the keys only choose
// its slot, which Enter or a click then places.
void DlgAppt::LbTimeslot_RowMoved(int row) {
    if (m_placing || MovePending) return;
    takeUp(row);
}

// The booking of the slot is read before anything changes, with its type and customer
// (a copy of the type keeps its group, whose slot length is the spins' step): one that
// cannot be read whole is not taken up (nor taken for an empty slot), and what was being
// edited stays so; no save stores a type or customer that the lists could not show.
void DlgAppt::takeUp(int row) {
    const int32_t id = LbTimeSlot->rowData(row);
    ClsBooking stored;
    ClsTask type = SharedObjects::Task();
    ClsCustomer customer;
    const Loaded loaded = id != 0 ? stored.Load(id) : Loaded(Loaded::NoRow);
    const bool read = loaded == Loaded::Row ? !type.Load(stored.TaskId()).Failed() &&
                                                  !customer.Load(stored.CustomerId()).Failed()
                                            : !loaded.Failed();
    if (!read) {
        ModMain::NotRead("Unable to select the appointment!", "changed");
        selectBookingRow();
        return;
    }
    LbTimeSlot->setSelectedRow(row);
    m_heldSlot = -1;
    m_typedForGone = false;
    endEditing();  // the slot clicked is what is edited now
    if (loaded == Loaded::Row)
        showStored(stored, type, customer);
    else
        prepareNew(row);
}

void DlgAppt::showStored(const ClsBooking& stored, const ClsTask& type,
                         const ClsCustomer& customer) {
    SharedObjects::Booking() = stored;
    showTimes();
    showPicks(type, customer);
    // The booking's own references, not its customer's.
    TxtRef01->setText(stored.Ref01());
    TxtRef02->setText(stored.Ref02());
    TxtRef03->setText(stored.Ref03());
    TxtComments->setText(stored.Comments());
}

// An empty slot (or a booking gone meanwhile): a new booking there, one initial duration
// of the type now chosen long, with the workstation's default customer and type. The
// boxes keep their texts; Save supplies the rest.
void DlgAppt::prepareNew(int row) {
    ClsBooking& booking = SharedObjects::Booking();
    booking.InitBfr();
    ClsIni& ini = SharedObjects::Ini();
    const auto customerId = static_cast<int32_t>(ini.GetNumber("Options", "DefCustomer", 0));
    const auto taskId = static_cast<int32_t>(ini.GetNumber("Options", "DefTask", 0));
    booking.setCustomerId(customerId);
    booking.setTaskId(taskId);
    ClsTask& task = SharedObjects::Task();
    const int start = qBound(0, LbTimeSlot->rowText(row).toInt(), kLastMinute);
    const int length = task.InitTime() > 0 ? task.InitTime() : slotInterval();
    booking.setBookingStart(static_cast<int16_t>(start));
    booking.setBookingEnd(static_cast<int16_t>(qMin(start + length, kLastMinute)));
    showTimes();
    // The defaults are picked as the user picks: one that is gone leaves its list as it
    // is, and one that cannot be read is told by the pick, which keeps the entry shown.
    if (ClsTask read = task; taskId != 0 && read.Load(taskId) != Loaded::NoRow)
        forms().SetComboData(*CbTask, taskId);
    if (ClsCustomer read; customerId != 0 && read.Load(customerId) != Loaded::NoRow)
        forms().SetComboData(*CbCustomer, customerId);
    SetupEnabled();
}

// Start and end shown are always the shared record's, which the spins, Save and Repeat
// work from: never those of a slot taken up before the record was placed, reloaded or reset.
void DlgAppt::showTimes() {
    const ClsBooking& booking = SharedObjects::Booking();
    // A record that holds nothing (reset after a delete, a refill or a booking gone) has
    // no times to show: "00:00 am" would read as a booking at midnight.
    if (booking.BookingId() == 0 && booking.BookingEnd() <= booking.BookingStart()) {
        LblStart->clear();
        LblEnd->clear();
        return;
    }
    ClsDate& date = SharedObjects::Date();
    LblStart->setText(date.ShowTime(booking.BookingStart(), true));
    LblEnd->setText(date.ShowTime(booking.BookingEnd(), true));
}

void DlgAppt::noteEditing() {
    // Only while the day shown holds it: another day's list has nothing of it to note.
    const int row = LbTimeSlot->selectedRow();
    if (row >= 0 || m_heldSlot >= 0)
        m_editing = Editing{row >= 0 ? LbTimeSlot->rowText(row).toInt() : m_heldSlot, m_shownDay,
                            m_shownResource, SharedObjects::Booking()};
}

bool DlgAppt::editingElsewhere() const {
    return m_editing && (m_editing->day != m_shownDay || m_editing->resourceId != m_shownResource);
}

// After a refill (which highlights nothing and reads the record afresh): where the day
// and resource shown are those of the booking being edited, it is taken up again as the
// user left it, its times as spun and the stored row it was loaded from, so a save still
// finds out whether another workstation changed it meanwhile. The boxes were not touched
// by the refill. A stored booking is found by its id, a new one by its slot while that is
// free; a pending move or copy gets back the target the keys had chosen. When the booking
// is no longer on the day (or a new one's slot was taken), holdGone keeps it held without
// a highlight so that Save tries it and says why it cannot be stored; otherwise (its own
// type or customer was deleted here) it is left as the refill left it.
void DlgAppt::keepEditing(bool holdGone) {
    if (!m_editing || editingElsewhere()) return;
    const Editing& was = *m_editing;
    int row = slotRow(was.slot);
    const int32_t id = was.record.BookingId();
    if (!MovePending && LbTimeSlot->rowData(row) != id) row = bookingRow(id);
    const bool gone = row == plat::Tabrix::kNoRow;
    if (gone && (!holdGone || MovePending)) {
        endEditing();
        return;
    }
    SharedObjects::Booking() = was.record;
    LbTimeSlot->setCurrentRow(row);
    m_heldSlot = gone ? was.slot : -1;
    showTimes();
    SetupEnabled();
}

// The booking being edited was deleted elsewhere (the user has been told): nothing is
// taken up. What was typed for it stays in the boxes, for a slot the user picks, and
// Save And Exit asks for that slot rather than close without it.
void DlgAppt::forgetDeleted() {
    if (MovePending) leaveMode();
    endEditing();
    m_heldSlot = -1;
    m_typedForGone = true;
    SharedObjects::Booking().InitBfr();
    LbTimeSlot->setCurrentRow(plat::Tabrix::kNoRow);
    showTimes();
    SetupEnabled();
}

int DlgAppt::slotRow(int minute) const {
    for (int row = 0; row < LbTimeSlot->rowCount(); ++row)
        if (LbTimeSlot->rowText(row).toInt() == minute) return row;
    return plat::Tabrix::kNoRow;
}

int DlgAppt::bookingRow(int32_t bookingId) const {
    for (int row = 0; bookingId != 0 && row < LbTimeSlot->rowCount(); ++row)
        if (LbTimeSlot->rowData(row) == bookingId) return row;
    return plat::Tabrix::kNoRow;
}

void DlgAppt::placeBooking(int row) {
    m_placing = true;
    const Refusal why = place(row);
    m_placing = false;
    leaveMode();
    switch (why) {
        case Refusal::None:
            // Stored, as a save stores: the chart behind shows it at once, not only
            // once the editor closes.
            refreshMainChart();
            // What is edited now, with what the user typed still in the boxes: Save
            // stores that onto it.
            editAgain(ClsBooking(SharedObjects::Booking()));
            break;
        case Refusal::Changed:
            showAsStored(MoveSourceId);  // shown as it is stored now
            break;
        case Refusal::Deleted:
            forgetDeleted();
            refreshDay(Asker::User);
            break;
        default:
            editAgain(m_moveSource);  // edited where it stands
    }
}

// Places the booking chosen for the move or copy at the row's slot on the resource and day
// shown, shortened a slot at a time until nothing is in its way; None when it is stored,
// else why not, once told.
ClsBooking::Refusal DlgAppt::place(int row) {
    const int32_t resourceId = forms().GetComboData(*CbResource);
    if (resourceId <= 0) {
        ModMain::Warning("No resource selected!");
        return Refusal::Gone;
    }
    const Refusal why = placeOn(row, resourceId);
    if (why != Refusal::None) ModMain::NotSaved(kUnableToPlace, why);
    return why;
}

ClsBooking::Refusal DlgAppt::placeOn(int row, int32_t resourceId) {
    // Deleted or changed elsewhere since Move or Copy was pressed, or the database could
    // not be read: said as a save of it would say it. A move never undoes another
    // workstation's change, nor does a copy copy what it no longer is.
    ClsBooking now;
    const Loaded loaded = now.Load(MoveSourceId);
    if (loaded != Loaded::Row) return loaded.Failed() ? Refusal::Failed : Refusal::Deleted;
    if (!now.SameRow(m_moveSource)) return Refusal::Changed;
    // The booking as stored when Move or Copy was pressed: its type, customer and texts,
    // whatever the boxes hold meanwhile.
    ClsBooking& booking = SharedObjects::Booking();
    booking = m_moveSource;
    const int start = qBound(0, LbTimeSlot->rowText(row).toInt(), kLastMinute);
    int end = start + MoveSourceEnd - MoveSourceStart;
    // The last slot row starts at the day's end, so a booking may end one slot after it;
    // never after midnight.
    // A resource or group that cannot be read fails the placing: its day end and slot
    // length are not guessed. One deleted meanwhile leaves the group shown's slot length,
    // with no cap before midnight: the save then refuses the resource that is gone.
    int interval = slotInterval();
    ClsResource resource;
    ClsGroup group;
    const Loaded resourceRead = resource.Load(resourceId);
    const Loaded groupRead =
        resourceRead == Loaded::Row ? group.Load(resource.GroupId()) : resourceRead;
    if (groupRead.Failed()) return Refusal::Failed;
    if (groupRead == Loaded::Row) {
        interval = group.Interval() > 0 ? group.Interval() : interval;
        end = qMin(end, group.DayEnd() + interval);
    }
    end = qMin(end, kLastMinute);
    booking.setResourceId(resourceId);
    booking.setBookingDate(CalendarState::CalDate());
    booking.setBookingStart(static_cast<int16_t>(start));
    // A move never counts its own present place.
    const int32_t own = CopyRequested ? 0 : MoveSourceId;
    for (; end > start; end -= interval) {
        const std::optional<int32_t> clash =
            booking.GetBookingId(resourceId, booking.BookingDate(), static_cast<int16_t>(start),
                                 static_cast<int16_t>(end), own);
        if (!clash) return Refusal::Failed;
        if (*clash == 0) break;
    }
    // A slot that cannot take one interval is in another booking's way.
    if (end <= start) return Refusal::Clash;
    booking.setBookingEnd(static_cast<int16_t>(end));
    if (CopyRequested) {
        booking.setRepeatId(0);  // a copy is a new single booking
        booking.setBookingId(0);
    }
    // The save tests the place again in the same statement: another workstation may have
    // booked it since the loop looked, or changed the booking since Load.
    return booking.Save() != 0 ? Refusal::None : booking.LastRefusal();
}

void DlgAppt::editAgain(const ClsBooking& record) {
    m_typedForGone = false;
    SharedObjects::Booking() = record;
    m_editing = Editing{record.BookingStart(), record.BookingDate(), record.ResourceId(), record};
    LbTimeSlot->setCurrentRow(plat::Tabrix::kNoRow);
    if (!refreshDay(Asker::User)) selectBookingRow();  // the list as it was: its row, if shown
}
