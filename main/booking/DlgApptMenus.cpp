// DlgAppt: the toolbar and the menu bar: leave, change the date on the calendar, add,
// edit and delete appointment types and customers, print the day, help.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

#include "CalendarState.h"
#include "ClsCustomer.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "DlgAppt.h"
#include "DlgApptHooks.h"
#include "DlgMain.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "SharedObjects.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }
DlgApptHooks& hooks() { return DlgApptHooks::Get(); }

// Whether the editor of a record opens: on the row read into the record held, not on one
// that is gone or could not be read (told under the heading), which leaves the record as
// it was.
template <typename Record>
bool opened(Record& held, int32_t id, const char* heading) {
    Record read = held;
    const Loaded loaded = read.Load(id);
    if (loaded.Failed()) ModMain::NotRead(heading, "opened");
    if (loaded == Loaded::Row) held = read;
    return loaded == Loaded::Row;
}

void refreshLegend() {
    if (auto* main = dynamic_cast<DlgMain*>(SharedObjects::Host())) main->ShowLegends();
}
}  // namespace

void DlgAppt::buildMenus() {
    QStyle* style = QApplication::style();
    struct Button {
        const char* key;
        const char* tip;
        QStyle::StandardPixmap picture;
    };
    const Button buttons[] = {
        {"Exit", "Exit", QStyle::SP_DialogCloseButton},
        {"Calendar", "Change Date", QStyle::SP_FileDialogDetailedView},
        {"TaskDef", "Define Appointment Type", QStyle::SP_FileDialogNewFolder},
        {"People", "Define Contact", QStyle::SP_DirHomeIcon},
        {"Print", "Print Schedule", QStyle::SP_FileIcon},
        {"Help", "Online Help", QStyle::SP_DialogHelpButton},
    };
    for (const Button& b : buttons)
        Toolbar1->addButton(b.key, b.key, b.tip, style->standardIcon(b.picture), b.key);
    const char* const entries[][3] = {
        {"TaskDef", "AddTask", "&Add Appointment Type"},
        {"TaskDef", "EditTask", "&Edit Appointment Type"},
        {"TaskDef", "DeleteTask", "&Delete Appointment Type"},
        {"People", "AddCustomer", "&Add Customer"},
        {"People", "EditCustomer", "&Edit Customer"},
        {"People", "DeleteCustomer", "&Delete Customer"},
    };
    for (const auto& e : entries) Toolbar1->addMenuEntry(e[0], e[1], e[1], e[2]);
    connect(Toolbar1, &plat::KeyedToolbar::ButtonClick, this,
            [this](const QString& key) { Toolbar1_ButtonClick(Toolbar1->tag(key)); });
    connect(Toolbar1, &plat::KeyedToolbar::ButtonMenuClick, this,
            [this](const QString& button, const QString& entry) {
                Toolbar1_ButtonMenuClick(Toolbar1->menuTag(button, entry));
            });

    // The menu entries run the toolbar's commands, read-only test included.
    auto button = [this](QMenu* menu, const char* text, const QString& key) {
        return menu->addAction(text, this, [this, key] { Toolbar1_ButtonClick(key); });
    };
    auto entry = [this](QMenu* menu, const char* text, const QString& key) {
        menu->addAction(text, this, [this, key] { Toolbar1_ButtonMenuClick(key); });
    };
    auto command = [this](QMenu* menu, const char* text, int index) {
        return menu->addAction(text, this, [this, index] { BtnTask_Click(index); });
    };
    mnuFile = MenuBar->addMenu("&File");
    button(mnuFile, "&Print", "Print");
    mnuFile->addSeparator();
    button(mnuFile, "E&xit", "Exit");
    mnuAppt = MenuBar->addMenu("&Appointment");
    mnuApptSubmit = command(mnuAppt, "&Submit", 1);
    mnuApptDelete = command(mnuAppt, "&Delete", 3);
    mnuAppt->addSeparator();
    mnuApptMove = command(mnuAppt, "&Move", 4);
    mnuApptCopy = command(mnuAppt, "&Copy", 5);
    mnuAppt->addSeparator();
    mnuApptChangeDate = button(mnuAppt, "C&hange Date", "Calendar");
    mnuType = MenuBar->addMenu("Appointment &Type");
    entry(mnuType, "&Add Appointment Type", "AddTask");
    entry(mnuType, "&Edit Appointment Type", "EditTask");
    entry(mnuType, "&Delete Appointment Type", "DeleteTask");
    mnuCustomer = MenuBar->addMenu("&Customer");
    entry(mnuCustomer, "&Add Customer", "AddCustomer");
    entry(mnuCustomer, "&Edit Customer", "EditCustomer");
    entry(mnuCustomer, "&Delete Customer", "DeleteCustomer");
    mnuHelp = MenuBar->addMenu("&Help");
    button(mnuHelp, "&Help", "Help");
}

void DlgAppt::Toolbar1_ButtonClick(const QString& key) {
    if (key == "Exit") {
        buttonsOn(false);  // off as the window goes, without saving
        done(QDialog::Rejected);
    } else if (key == "Calendar") {
        if (!hooks().showCalendar) return;
        buttonsOn(false);
        CalendarState::setResourceId(m_resourceId);
        hooks().showCalendar();
        setApptDate(CalendarState::CalDate());  // what is edited is taken up again on its day
        buttonsOn(true);
    } else if (key == "TaskDef") {
        Toolbar1_ButtonMenuClick("AddTask");
    } else if (key == "People") {
        Toolbar1_ButtonMenuClick("AddCustomer");
    } else if (key == "Print") {
        if (!hooks().showPreview) return;
        buttonsOn(false);
        hooks().showPreview();
        buttonsOn(true);
    } else if (key == "Help") {
        buttonsOn(false);
        ContextIDs::ShowHelp(ContextIDs::IDH_APPT);
        buttonsOn(true);
    }
}

void DlgAppt::Toolbar1_ButtonMenuClick(const QString& entryKey) {
    if (SharedObjects::Ini().GetNumber("Options", "IsReadOnly", 0) != 0) return;
    ClsTask& task = SharedObjects::Task();
    ClsCustomer& customer = SharedObjects::Customer();
    if (entryKey == "AddTask" || entryKey == "EditTask") {
        if (!hooks().showApptType) return;
        buttonsOn(false);
        const bool add = entryKey == "AddTask";
        const int32_t chosen = forms().GetComboData(*CbTask);
        const ClsTask shown = task;  // the type the list shows, as the editor holds it
        if (add) {
            task.InitBfr();
            // Unread, the group gives no slot length yet: the type editor reads it again
            // for its steps and does not step until it is read.
            static_cast<void>(task.setGroupId(m_groupId));
        }
        if (add || opened(task, chosen, "Unable to edit the appointment type!")) {
            hooks().showApptType();
            if (task.TaskId() != 0) {
                // A type added is chosen for a new booking; a stored booking taken up
                // keeps the type chosen for it until the user picks another.
                const bool keep = add && bookingTakenUp();
                ShowTasks(keep ? chosen : task.TaskId());
                refreshLegend();
            } else {
                // Cancelled: the editor emptied the record, which the spins, the new
                // booking's length and the type list's group are read from. Nothing was
                // stored, so it holds again what it held, without a read that could fail.
                task = shown;
            }
        }
        buttonsOn(true);
    } else if (entryKey == "DeleteTask") {
        if (CbTask->ListIndex() <= 0 || !ModMain::Confirm("Confirm delete selected task?")) return;
        buttonsOn(false);
        const int32_t own = ownTask();
        if (task.Delete(forms().GetComboData(*CbTask))) {
            // Another type's delete leaves the booking taken up with its own; the deleted
            // one is listed no more, so its delete leaves "< No Booking >".
            ShowTasks(own);
            refreshLegend();
            // Its bookings went with it: the day and the chart show that at once.
            refreshDay(Asker::User, Keep::Shown);
            refreshMainChart();
        } else {
            ModMain::NotWritten("Unable to delete the appointment type!", "deleted");
        }
        buttonsOn(true);
    } else if (entryKey == "AddCustomer" || entryKey == "EditCustomer") {
        if (!hooks().showContact) return;
        buttonsOn(false);
        const bool add = entryKey == "AddCustomer";
        const int32_t chosen = forms().GetComboData(*CbCustomer);
        const ClsCustomer shown = customer;  // the customer the list shows
        if (add) customer.InitBfr();
        if (add || opened(customer, chosen, "Unable to edit the customer!")) {
            // A customer added starts in the editor's group.
            hooks().showContact(add ? std::optional<int32_t>(m_groupId) : std::nullopt);
            if (customer.CustomerId() != 0) {
                // A customer added is chosen for a new booking; a stored booking taken up
                // keeps the customer it has until the user picks another.
                const bool pick = add && !bookingTakenUp();
                refillCustomers(pick ? customer.CustomerId() : chosen);
            } else {
                customer = shown;  // cancelled: nothing stored, nothing to read again
            }
        }
        buttonsOn(true);
    } else if (entryKey == "DeleteCustomer") {
        if (CbCustomer->ListIndex() <= 0) return;
        if (!ModMain::Confirm("Confirm selected customer?")) return;
        buttonsOn(false);
        if (customer.Delete(forms().GetComboData(*CbCustomer))) {
            // Another customer's delete leaves the booking taken up with its own; the
            // deleted one is listed no more, so its delete leaves "< No Customer >".
            refillCustomers(ownCustomer());
            refreshDay(Asker::User, Keep::Shown);
            refreshMainChart();
        } else {
            ModMain::NotWritten("Unable to delete the customer!", "deleted");
        }
        buttonsOn(true);
    }
}
