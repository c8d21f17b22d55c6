#include "DlgGroup.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ClsDAO.h"
#include "ClsDate.h"
#include "ContextIDs.h"
#include "DialogParts.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "Nudgel.h"
#include "SharedObjects.h"

namespace {
ClsGroup& shared() { return SharedObjects::Group(); }
int16_t clamp(int value, int low, int high) {
    return static_cast<int16_t>(std::clamp(value, low, high));
}
}  // namespace

DlgGroup::DlgGroup(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgGroup");
    setWindowTitle("Group Definition");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DialogParts::TextFrame(this, "Description", "TxtGroupName", TxtGroupName));
    auto* times = new QGridLayout;
    times->addWidget(DialogParts::SpinFrame(this, "Start", "Start", SpinStart, LblStart), 0, 0);
    times->addWidget(DialogParts::SpinFrame(this, "End", "End", SpinEnd, LblEnd), 0, 1);
    times->addWidget(
        DialogParts::SpinFrame(this, "Interval", "Interval", SpinInterval, LblInterval), 0, 2);
    layout->addLayout(times);
    layout->addLayout(
        DialogParts::ButtonRow(this, "BtnGroup", BtnGroup, [this](int i) { BtnGroup_Click(i); }));
    connect(SpinStart, &plat::Nudgel::Click, this, &DlgGroup::SpinStart_Click);
    connect(SpinEnd, &plat::Nudgel::Click, this, &DlgGroup::SpinEnd_Click);
    connect(SpinInterval, &plat::Nudgel::Click, this, &DlgGroup::SpinInterval_Click);
}

void DlgGroup::ShowModal(QWidget* owner) {
    DlgGroup dialog(owner);
    dialog.Form_Load();
    plat::ModalHook::Exec(dialog);
}

void DlgGroup::Form_Load() {
    adjustSize();
    DialogParts::CentreOverMain(*this);
    m_edit = shared();
    TxtGroupName->setText(m_edit.GroupName());
    showTimes();
}

void DlgGroup::showTimes() {
    ClsDate& date = SharedObjects::Date();
    LblStart->setText(date.ShowTime(m_edit.DayStart(), true));
    LblEnd->setText(date.ShowTime(m_edit.DayEnd(), true));
    LblInterval->setText(date.MilitaryTime(m_edit.Interval()));
}

// The shared record holds what the opener prepared and this dialog changed, and nothing
// else, whatever loaded a group into it meanwhile.
void DlgGroup::publish() { shared() = m_edit; }

void DlgGroup::SpinStart_Click(int16_t d) {
    int start = m_edit.DayStart();
    if (d == 0) {
        if (start < m_edit.DayEnd() - kMinDay) start += kStep;
        start = std::min(start, 1440);
    } else {
        start = std::max(start - kStep, 0);
    }
    m_edit.setDayStart(static_cast<int16_t>(start));
    publish();
    LblStart->setText(SharedObjects::Date().ShowTime(m_edit.DayStart(), true));
}

void DlgGroup::SpinEnd_Click(int16_t d) {
    int end = m_edit.DayEnd();
    if (d == 0) {
        end = std::min(end + kStep, 1440);
    } else {
        if (end > m_edit.DayStart() + kMinDay) end -= kStep;
        end = std::max(end, 0);
    }
    m_edit.setDayEnd(static_cast<int16_t>(end));
    publish();
    LblEnd->setText(SharedObjects::Date().ShowTime(m_edit.DayEnd(), true));
}

void DlgGroup::SpinInterval_Click(int16_t d) {
    m_edit.setInterval(clamp(m_edit.Interval() + (d == 0 ? kStep : -kStep), kStep, 1440));
    publish();
    LblInterval->setText(SharedObjects::Date().MilitaryTime(m_edit.Interval()));
}

void DlgGroup::BtnGroup_Click(int index) {
    switch (index) {
        case 0:
            m_edit.setGroupName(TxtGroupName->text().trimmed());
            publish();
            if (!dayKeepsBookings()) return;  // as it was: the dialog stays open
            // A group that could not be written is said so; the dialog stays open with
            // the user's values.
            if (shared().Save() == 0) {
                ModMain::NotWritten("Unable to save the group!", "saved");
                return;
            }
            accept();
            break;
        case 1:
            shared().InitBfr();
            QDialog::reject();
            break;
        case 2:
            ContextIDs::ShowHelp(ContextIDs::IDH_GROUP);
            break;
        default:
            break;
    }
}

// A narrower day hides the bookings it leaves outside: they are no longer shown, opened or
// moved on the chart. They are counted and the user decides; the bookings stay as they are.
bool DlgGroup::dayKeepsBookings() {
    const std::optional<int32_t> outside = m_edit.BookingsLeftOutside();
    if (!outside) {
        // Not counted: saving without the question could hide bookings without a word.
        ModMain::NotRead("Unable to save the group!", "saved");
        return false;
    }
    return *outside == 0 ||
           ModMain::Confirm(QString("%1 booking(s) of this group would lie outside the new "
                                    "working day and no longer show on the chart. The "
                                    "bookings themselves are not changed. Save the group?")
                                .arg(*outside));
}

void DlgGroup::reject() { BtnGroup_Click(1); }
