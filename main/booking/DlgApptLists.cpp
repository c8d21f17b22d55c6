// DlgAppt: the resource, type and customer lists, and when the booking commands may be
// used.
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

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
// on the entry of the record held (heldId) and the user told that nothing changed (the
// heading), when it cannot be read, so that no save stores the pick without its times or
// references. An entry without a row ("< No Booking >", "< No Customer >", none) resets
// the record, unread; a copy keeps a type's group, whose slot length is the spins' step.
template <typename Record>
bool readPick(plat::ComboBox& box, Record& held, int32_t heldId, const char* heading) {
    const int32_t id = forms().GetComboData(box);
    Record read = held;
    if (id <= 0) {
        read.InitBfr();
    } else if (read.Load(id).Failed()) {
        forms().ShowComboData(box, heldId);
        ModMain::NotRead(heading, "changed");
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
}  // namespace

bool DlgAppt::ShowResources(Pick pick) {
    const QString sql =
        "select ResourceName, ResourceId from tblResources where GroupId = %1 "
        "order by ResourceName";
    const bool read = forms().FillCombo(*CbResource, sql.arg(m_groupId), true, false).has_value();
    return choose(*CbResource, read, m_resourceId, pick, *m_resourcesRead);
}

bool DlgAppt::ShowTasks(int32_t taskId, Pick pick) {
    const QString sql =
        "select TaskName, TaskId from tblTasks where GroupId = %1 order by TaskName";
    const int32_t group = SharedObjects::Task().GroupId();
    const bool read = forms().FillCombo(*CbTask, sql.arg(group), "< No Booking >").has_value();
    return choose(*CbTask, read, taskId, pick, *m_tasksRead);
}

bool DlgAppt::ShowCustomers(int32_t customerId, Pick pick) {
    std::optional<ClsForms::Entries> read = forms().ReadEntries(
        QString("select CustomerName, CustomerId from tblCustomers where CustomerId in (select "
                "CustomerId from tblCustomerGroups where GroupId = %1) order by CustomerName")
            .arg(m_groupId),
        customerId);
    // The booking taken up keeps its own customer, and the customer to choose is offered,
    // though either may be linked to the group no longer (or never was). Both are read
    // before the list changes: an entry missing would be saved as no customer.
    ClsCustomer own, chosen;
    auto load = [&read](ClsCustomer& c, int32_t id) {
        const auto& rows = read->rows;
        const bool listed = std::any_of(rows.begin(), rows.end(),
                                        [id](const auto& row) { return row.second == id; });
        return id <= 0 || listed || !c.Load(id).Failed();
    };
    const bool shown = read && load(own, ownCustomer()) && load(chosen, customerId);
    if (shown) {
        read->rows.insert(read->rows.begin(), {"< No Customer >", 0});
        forms().ShowEntries(*CbCustomer, *read);
        listCustomer(own);
        listCustomer(chosen);
    }
    return choose(*CbCustomer, shown, customerId, pick, *m_customersRead);
}

// A list filled chooses the entry of the id as picked; one whose fill failed keeps what
// it showed, is told once (the user's command; never the timer's read) and is read again
// shortly, quietly, with the entry the editor holds then shown.
bool DlgAppt::choose(plat::ComboBox& box, bool read, int32_t id, Pick pick, ReadAgain& again) {
    if (read && pick == Pick::Click) forms().SetComboData(box, id);
    if (read && pick == Pick::Show) {
        showHeld(box, id);
        SetupEnabled();
    }
    return again.Note(read);
}

void DlgAppt::listCustomer(const ClsCustomer& customer) {
    if (customer.CustomerId() > 0 && CbCustomer->findData(customer.CustomerId()) < 0)
        forms().AddComboItem(*CbCustomer, customer.CustomerName(), customer.CustomerId());
}

// The type and customer read for a booking taken up, shown without the lists' Click,
// which would read them again (and, failing, show others than the booking's).
void DlgAppt::showPicks(const ClsTask& type, const ClsCustomer& customer) {
    SharedObjects::Task() = type;
    SharedObjects::Customer() = customer;
    showHeld(*CbTask, type.TaskId());
    if (forms().GetComboData(*CbTask) != type.TaskId()) SharedObjects::Task().InitBfr();  // none
    listCustomer(customer);
    showHeld(*CbCustomer, customer.CustomerId());
    SetupEnabled();
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

void DlgAppt::CbResource_Click() { static_cast<void>(showResourceDay(Asker::User)); }

// The list shows the resource whose day it shows until the chosen one's is read: a day
// that cannot be read is not shown.
bool DlgAppt::showResourceDay(Asker asker) {
    const int32_t chosen = forms().GetComboData(*CbResource);
    if (m_shownResource > 0) forms().ShowComboData(*CbResource, m_shownResource);
    if (!refreshDay(asker, Keep::Held, CurrentDate(), chosen) && m_shownResource > 0) return false;
    forms().ShowComboData(*CbResource, chosen);
    m_resourceId = chosen;
    return true;
}

void DlgAppt::CbTask_Click() {
    ClsTask& task = SharedObjects::Task();
    if (readPick(*CbTask, task, task.TaskId(), "Unable to choose the appointment type!"))
        SetupEnabled();
}

void DlgAppt::CbCustomer_Click() {
    ClsCustomer& customer = SharedObjects::Customer();
    if (!readPick(*CbCustomer, customer, customer.CustomerId(), "Unable to choose the customer!"))
        return;
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
