// DlgAppt: the resource, type and customer lists, and when the booking commands may be
// used.
#include <QLineEdit>
#include <QPushButton>

#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgAppt.h"
#include "ModMain.h"
#include "Nudgel.h"
#include "ReadAgain.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }

// The record of the entry picked, read before anything changes: false, with the list back
// on the entry of the record held (heldId) and the user told, when it cannot be read, so
// that no save stores the pick without its times or references. An entry without a row
// ("< No Booking >", "< No Customer >", none) resets the record, unread; a copy keeps a
// type's group, whose slot length is the spins' step.
template <typename Record>
bool readPick(plat::ComboBox& box, Record& held, int32_t heldId) {
    const int32_t id = forms().GetComboData(box);
    Record read = held;
    if (id <= 0) {
        read.InitBfr();
    } else if (read.Load(id).Failed()) {
        forms().ShowComboData(box, heldId);
        ModMain::NotRead();
        return false;
    }
    held = read;
    return true;
}

// Shows the entry of the id without its Click; one not listed shows the first entry (the
// list's "none"), as a fill that picks it would.
void showHeld(plat::ComboBox& box, int32_t id) {
    forms().ShowComboData(box, id);
    if (forms().GetComboData(box) != id) forms().ShowComboData(box, box.ItemData(0));
}

void choose(plat::ComboBox& box, int32_t id, DlgAppt::Pick pick) {
    if (pick == DlgAppt::Pick::Click)
        forms().SetComboData(box, id);
    else
        showHeld(box, id);
}
}  // namespace

void DlgAppt::ShowResources(Pick pick) {
    const bool read = forms()
                          .FillCombo(*CbResource,
                                     "select ResourceName, ResourceId from " +
                                         QString("tblResources where GroupId = %1").arg(m_groupId) +
                                         " order by ResourceName",
                                     true, false)
                          .has_value();
    if (read) choose(*CbResource, m_resourceId, pick);
    noteList(kResources, read);
}

void DlgAppt::ShowTasks(int32_t taskId, Pick pick) {
    const bool read =
        forms()
            .FillCombo(*CbTask,
                       "select TaskName, TaskId from tblTasks where " +
                           QString("GroupId = %1").arg(SharedObjects::Task().GroupId()) +
                           " order by TaskName",
                       "< No Booking >")
            .has_value();
    if (read) choose(*CbTask, taskId, pick);
    noteList(kTasks, read);
}

void DlgAppt::ShowCustomers(int32_t customerId, Pick pick) {
    const bool read = forms()
                          .FillCombo(*CbCustomer,
                                     "select CustomerName, CustomerId from " +
                                         QString("tblCustomers where CustomerId in (select "
                                                 "CustomerId from tblCustomerGroups  where "
                                                 "GroupId = %1)")
                                             .arg(m_groupId) +
                                         " order by CustomerName",
                                     "< No Customer >")
                          .has_value();
    if (read) {
        // The booking taken up keeps its own customer, and the customer to choose is
        // offered, though either may be linked to the group no longer (or never was).
        listCustomer(ownCustomer());
        listCustomer(customerId);
        choose(*CbCustomer, customerId, pick);
    }
    noteList(kCustomers, read);
}

// A failed fill is told once (the user's command; never the timer's read) and the list
// is read again shortly with any other that failed.
void DlgAppt::noteList(uint8_t list, bool read) {
    m_unreadLists = static_cast<uint8_t>(read ? m_unreadLists & ~list : m_unreadLists | list);
    if (!read)
        static_cast<void>(m_lists->Note(false));  // told, and due again shortly
    else if (m_unreadLists == 0)
        static_cast<void>(m_lists->Note(true));  // nothing left to read again
}

// The lists that failed, with the entries the editor holds shown (the resource handed
// over, the type and customer records): their Click would read the records again, or
// put the customer's references over those typed. The day follows the resource shown;
// until its day is read, the list stays unread and shows the resource whose day it shows.
bool DlgAppt::readLists() {
    if (!m_loaded) {
        m_unreadLists = 0;  // the next opening's first activation fills them all
        return true;
    }
    if (m_unreadLists & kResources) {
        ShowResources(Pick::Show);
        const int32_t chosen = forms().GetComboData(*CbResource);
        if (!(m_unreadLists & kResources) && chosen != m_shownResource) {
            if (refreshDay(Asker::Unattended, Keep::Held, CurrentDate(), chosen)) {
                m_resourceId = chosen;
            } else {
                forms().ShowComboData(*CbResource, m_shownResource);
                m_unreadLists |= kResources;
            }
        }
    }
    if (m_unreadLists & kTasks) ShowTasks(SharedObjects::Task().TaskId(), Pick::Show);
    if (m_unreadLists & kCustomers)
        ShowCustomers(SharedObjects::Customer().CustomerId(), Pick::Show);
    SetupEnabled();
    return m_unreadLists == 0;
}

// After a customer was added, edited or deleted. Choosing an entry puts that customer's
// references in the boxes; but a stored booking's are its own, and change only with the
// customer chosen: when it stays they stay, and when its own comes back so do its own.
void DlgAppt::refillCustomers(int32_t customerId) {
    const int32_t before = forms().GetComboData(*CbCustomer);
    const QString refs[] = {TxtRef01->text(), TxtRef02->text(), TxtRef03->text()};
    const int32_t own = ownCustomer();
    ShowCustomers(customerId);
    const int32_t now = forms().GetComboData(*CbCustomer);
    // A new booking's references follow its customer as stored now (choosing it again
    // put them there), also after that customer was edited.
    if (now == before && bookingTakenUp()) {
        TxtRef01->setText(refs[0]);
        TxtRef02->setText(refs[1]);
        TxtRef03->setText(refs[2]);
    } else if (own != 0 && now == own) {
        const ClsBooking& booking = SharedObjects::Booking();
        TxtRef01->setText(booking.Ref01());
        TxtRef02->setText(booking.Ref02());
        TxtRef03->setText(booking.Ref03());
    }
}

// A stored booking is taken up: the highlighted row holds the booking in the shared
// record (not an empty slot, a new booking, or no row highlighted), or the record holds
// it while a move or copy waits (the highlight marks only the target) or while a refill
// of its day no longer shows it.
bool DlgAppt::bookingTakenUp() const {
    const int32_t id = SharedObjects::Booking().BookingId();
    const int row = LbTimeSlot->selectedRow();
    if (id != 0 && (MovePending || m_heldSlot >= 0)) return true;
    return id != 0 && row >= 0 && LbTimeSlot->rowData(row) == id;
}

int32_t DlgAppt::ownCustomer() const {
    return bookingTakenUp() ? SharedObjects::Booking().CustomerId() : 0;
}

int32_t DlgAppt::ownTask() const {
    return bookingTakenUp() ? SharedObjects::Booking().TaskId() : 0;
}

void DlgAppt::CbResource_Click() {
    const int32_t chosen = forms().GetComboData(*CbResource);
    // The list shows the resource whose day it shows until the chosen one's is read: a
    // day that cannot be read is not shown.
    if (m_shownResource > 0) forms().ShowComboData(*CbResource, m_shownResource);
    if (!refreshDay(Asker::User, Keep::Held, CurrentDate(), chosen) && m_shownResource > 0) return;
    forms().ShowComboData(*CbResource, chosen);
    m_resourceId = chosen;
}

void DlgAppt::CbTask_Click() {
    if (readPick(*CbTask, SharedObjects::Task(), SharedObjects::Task().TaskId())) SetupEnabled();
}

void DlgAppt::CbCustomer_Click() {
    ClsCustomer& customer = SharedObjects::Customer();
    if (!readPick(*CbCustomer, customer, customer.CustomerId())) return;
    TxtRef01->setText(customer.Ref01());
    TxtRef02->setText(customer.Ref02());
    TxtRef03->setText(customer.Ref03());
    SetupEnabled();
}

void DlgAppt::SetupEnabled() {
    const bool required = SharedObjects::Ini().GetNumber("Options", "CustomerRequired", 0) != 0;
    const bool task = forms().GetComboData(*CbTask) != 0;
    const bool customer = forms().GetComboData(*CbCustomer) != 0;
    // With a slot selected only the type is needed, unless a customer is required; with
    // none, the commands wait for both (Save then asks for the slot).
    if (LbTimeSlot->selectedRow() >= 0 && !required)
        EnableMe(task);
    else
        EnableMe(task && customer);
}

void DlgAppt::EnableMe(bool on) {
    SpinStart->setEnabled(on);
    SpinEnd->setEnabled(on);
    for (QPushButton* button : BtnTask) button->setEnabled(on);
}
