// DlgAppt: the command buttons (save and close, save, repeat, delete, move and copy).
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "CalendarState.h"
#include "ClsBooking.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "DlgAppt.h"
#include "DlgApptHooks.h"
#include "DlgMain.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "MsgBox.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }

void askForSlot() {
    plat::MsgBox("Please select the timeslot!", plat::vbOKCancel | plat::vbInformation,
                 "Information");
}
}  // namespace

void DlgAppt::BtnTask_Click(int index) {
    // While a move or copy waits the keys move the highlight to its target slot; a save,
    // a repeat or a delete is of the booking taken up, where it stands, never of the
    // booking on that target or of it on that target's day. Where the day shown does not
    // hold it, each asks for its slot: none closes, deletes or saves without a word.
    if (MovePending && index >= 0 && index <= 3) selectBookingRow();
    // The same while another day or resource is shown than that of the booking being
    // edited: the typed boxes belong to it, and coming back to its day takes it up again;
    // and while they hold what was typed for a booking deleted elsewhere meanwhile.
    if (index >= 0 && index <= 3 && !ReadOnlyMode && LbTimeSlot->selectedRow() < 0 &&
        m_heldSlot < 0 && (MovePending || editingElsewhere() || m_typedForGone)) {
        askForSlot();
        return;
    }
    switch (index) {
        case 0:
            // A save that was refused keeps the window open with what the user entered.
            if ((LbTimeSlot->selectedRow() >= 0 || m_heldSlot >= 0) &&
                submit() == Submitted::Refused)
                return;
            buttonsOn(false);
            done(QDialog::Accepted);
            break;
        case 1:
            submit();
            break;
        case 2:
            if (!ReadOnlyMode) repeat();
            break;
        case 3:
            if (!ReadOnlyMode) deleteBooking();
            break;
        case 4:
        case 5:
            if (!ReadOnlyMode) moveOrCopy(index);
            break;
        default:
            break;
    }
}

bool DlgAppt::refuse(const QString& message) {
    ModMain::Warning(message);
    return false;
}

// What no save may write, whichever command asks: a booking without a resource, without
// the customer a workstation requires, or whose end is not after its start within the day.
bool DlgAppt::checkBeforeSave() {
    const ClsBooking& booking = SharedObjects::Booking();
    if (SharedObjects::Ini().GetNumber("Options", "CustomerRequired", 0) != 0 &&
        booking.CustomerId() <= 0)
        return refuse("No customer selected!");
    if (booking.ResourceId() <= 0) return refuse("No resource selected!");
    if (booking.BookingStart() < 0 || booking.BookingEnd() > kLastMinute ||
        booking.BookingEnd() <= booking.BookingStart())
        return refuse("Invalid appointment times!");
    return true;
}

DlgAppt::Submitted DlgAppt::submit() {
    if (ReadOnlyMode) return Submitted::Nothing;
    // A booking held through a refill of its day, though not shown there, is tried too.
    if (LbTimeSlot->selectedRow() < 0 && m_heldSlot < 0) {
        askForSlot();
        refreshDay(Asker::User);
        return Submitted::NoSlot;
    }
    ClsBooking& booking = SharedObjects::Booking();
    booking.setBookingDate(CalendarState::CalDate());
    booking.setCustomerId(forms().GetComboData(*CbCustomer));
    booking.setResourceId(forms().GetComboData(*CbResource));
    booking.setRef01(TxtRef01->text().trimmed());
    booking.setRef02(TxtRef02->text().trimmed());
    booking.setRef03(TxtRef03->text().trimmed());
    booking.setComments(TxtComments->text().trimmed());
    booking.setTaskId(forms().GetComboData(*CbTask));
    // Refusals keep the slot, the times and the texts, so the user can put it right.
    if (booking.TaskId() <= 0) {
        plat::MsgBox("No task selected!", plat::vbOKCancel | plat::vbExclamation, "Error!");
        return Submitted::Refused;
    }
    if (!checkBeforeSave()) return Submitted::Refused;
    // The save tests for a clash in the same statement that writes, for a new booking and
    // for a changed one alike.
    if (booking.Save() == 0) {
        const ClsBooking::Refusal why = booking.LastRefusal();
        ModMain::NotSaved("Unable to save appointment!", why);
        if (why == ClsBooking::Refusal::Changed || why == ClsBooking::Refusal::Deleted)
            showAsStored(booking.BookingId());
        return Submitted::Refused;
    }
    refreshMainChart();
    refreshDay(Asker::User, Keep::None);  // stored: nothing is left to keep
    return Submitted::Saved;
}

// Another workstation changed the booking since it was taken up: its day as stored now,
// with the booking taken up again as a click would, so that the next save starts from
// what is stored. A booking deleted meanwhile leaves its former day with nothing taken up.
// One that cannot be read now stays as the user left it.
void DlgAppt::showAsStored(int32_t bookingId) {
    ClsBooking stored;
    const Loaded loaded = stored.Load(bookingId);
    if (loaded.Failed()) return;
    if (loaded == Loaded::NoRow) {
        forgetDeleted();
        refreshDay(Asker::User, Keep::None);
        return;
    }
    // What was being edited is not kept: it is shown as stored.
    LbTimeSlot->setCurrentRow(plat::Tabrix::kNoRow);
    m_heldSlot = -1;
    endEditing();
    // Its resource when the editor lists it (another group's is not).
    for (int i = 0; i < CbResource->count(); ++i)
        if (CbResource->ItemData(i) == stored.ResourceId() && i != CbResource->ListIndex())
            CbResource->SetListIndex(i);
    setApptDate(stored.BookingDate());  // refills the day
    if (const int row = bookingRow(bookingId); row != plat::Tabrix::kNoRow)
        LbTimeslot_ItemClick(row, 1);
}

void DlgAppt::repeat() {
    const auto& show = DlgApptHooks::Get().showRepeat;
    if (!show) return;
    const ClsBooking& booking = SharedObjects::Booking();
    // The series takes the times of the booking taken up last: there must be one, and
    // while a move or copy waits, on the day and resource shown (it starts there).
    if (booking.BookingEnd() <= booking.BookingStart() ||
        (MovePending && LbTimeSlot->selectedRow() < 0)) {
        askForSlot();
        return;
    }
    buttonsOn(false);
    DlgApptHooks::Repeat r;
    r.apptDate = CurrentDate();
    r.startTime = booking.BookingStart();
    r.endTime = booking.BookingEnd();
    r.groupId = m_groupId;
    r.resourceId = forms().GetComboData(*CbResource);
    r.customerId = forms().GetComboData(*CbCustomer);
    r.taskId = forms().GetComboData(*CbTask);
    r.ref01 = TxtRef01->text().trimmed();
    r.ref02 = TxtRef02->text().trimmed();
    r.ref03 = TxtRef03->text().trimmed();
    r.comments = TxtComments->text().trimmed();
    show(r);
    refreshDay(Asker::User, Keep::Shown);  // the series is stored; the booking itself is not yet
    buttonsOn(true);
}

void DlgAppt::deleteBooking() {
    const int row = LbTimeSlot->selectedRow();
    if (row < 0) return;
    const int32_t id = LbTimeSlot->rowData(row);
    if (id == 0 || !ModMain::Confirm("Do you wish to delete this appointment?")) return;
    ClsBooking& booking = SharedObjects::Booking();
    const ClsBooking edited = booking;
    // Only what was loaded is deleted: a series id left from another booking never is.
    ClsBooking stored;
    if (const Loaded loaded = stored.Load(id); loaded != Loaded::Row) {
        // Unread, nothing changed: the list and what is being edited stay as they are.
        // Deleted elsewhere meanwhile, as the user wanted: the day as it is now.
        if (loaded.Failed())
            ModMain::NotWritten("Unable to delete appointment!", "deleted");
        else
            refreshDay(Asker::User);
        return;
    }
    const bool series =
        stored.RepeatId() != 0 && ModMain::Confirm(
                                      "This appointment is part of a repeated sequence.\r\n"
                                      "Do you wish to delete all repeated appointments?");
    if (!(series ? stored.DeleteRepeats(stored.RepeatId()) : stored.Delete(id))) {
        booking = edited;
        ModMain::NotWritten("Unable to delete appointment!", "deleted");
        return;
    }
    booking.InitBfr();
    if (MovePending) leaveMode();  // nothing is left to move or copy
    refreshDay(Asker::User, Keep::None);
}

void DlgAppt::moveOrCopy(int index) {
    if (MovePending) {
        leaveMode();
        selectBookingRow();
        return;
    }
    const int row = LbTimeSlot->selectedRow();
    if (row < 0) {
        askForSlot();
        return;
    }
    const int32_t id = LbTimeSlot->rowData(row);
    if (id == 0) return;
    ClsBooking& booking = SharedObjects::Booking();
    ClsBooking stored;
    if (const Loaded loaded = stored.Load(id); loaded != Loaded::Row) {
        // Deleted elsewhere meanwhile: said so, and the day shown as it is now.
        ModMain::NotSaved("Unable to move/copy appointment!", loaded.Failed()
                                                                  ? ClsBooking::Refusal::Failed
                                                                  : ClsBooking::Refusal::Deleted);
        if (!loaded.Failed()) {
            forgetDeleted();
            refreshDay(Asker::User, Keep::None);
        }
        return;
    }
    booking = stored;
    m_moveSource = stored;
    MoveSourceId = booking.BookingId();
    MoveSourceStart = booking.BookingStart();
    MoveSourceEnd = booking.BookingEnd();
    MovePending = true;
    CopyRequested = index == 5;
    LblMove->setText(CopyRequested ? "Copy Appointment" : "Move Appointment");
    LblMove->show();
    BtnTask[index]->setText(kCancelCaption);
    Form_Resize();  // the list makes room for the label
}

void DlgAppt::leaveMode() {
    MovePending = CopyRequested = false;
    LblMove->hide();
    BtnTask[4]->setText(kMoveCaption);
    BtnTask[5]->setText(kCopyCaption);
    Form_Resize();
}

// The highlight goes back to the booking taken up (it is still in the shared record), as
// the keys may have left it on a slot chosen as a move's or copy's target, or a click on a
// booking that could not be read; where the day or resource shown does not hold that
// booking, nothing stays highlighted, so that no save writes it onto a day or slot that
// was never chosen for it. A new booking being prepared is on its slot of the day shown.
void DlgAppt::selectBookingRow() {
    const ClsBooking& booking = SharedObjects::Booking();
    int row = plat::Tabrix::kNoRow;
    if (booking.BookingId() != 0 && booking.BookingDate() == CurrentDate() &&
        booking.ResourceId() == forms().GetComboData(*CbResource)) {
        row = bookingRow(booking.BookingId());
    } else if (booking.BookingId() == 0 && booking.BookingEnd() > booking.BookingStart()) {
        row = slotRow(booking.BookingStart());
        if (LbTimeSlot->rowData(row) != 0) row = plat::Tabrix::kNoRow;
    }
    LbTimeSlot->setCurrentRow(row);
    showTimes();
    SetupEnabled();
}

void DlgAppt::buttonsOn(bool on) { forms().EnableButtons(*Toolbar1, on); }

void DlgAppt::refreshMainChart() {
    if (auto* main = dynamic_cast<DlgMain*>(SharedObjects::Host())) main->ShowResources(0);
}
