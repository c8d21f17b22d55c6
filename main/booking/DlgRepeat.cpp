#include "DlgRepeat.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "ReadAgain.h"
#include "RepeatDates.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }
// A series that could never be a booking: the user is told why, the dialog stays open.
bool refuse(const QString& why) {
    ModMain::Warning(why);
    return false;
}
QString format(int32_t day, const char* pattern) {
    return QLocale(QLocale::English).toString(SharedObjects::Date().LongToDate(day), pattern);
}
}  // namespace

DlgRepeat::DlgRepeat(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgRepeat");
    setWindowTitle("Repeat Appointment");
    setModal(true);
    buildControls();
    DatesRead = new ReadAgain(this, [this] { return readShown(); });
}

void DlgRepeat::buildControls() {
    auto* all = new QGridLayout(this);
    auto* left = new QVBoxLayout;

    auto* resourceFrame = new QGroupBox("Resource", this);
    CbResource = new plat::ComboBox(resourceFrame);
    CbResource->setObjectName("CbResource");
    (new QVBoxLayout(resourceFrame))->addWidget(CbResource);
    left->addWidget(resourceFrame);
    connect(CbResource, &plat::ComboBox::Click, this, [this] { CbResource_Click(); });

    auto* optionFrame = new QGroupBox("Option", this);
    auto* options = new QVBoxLayout(optionFrame);
    const char* patterns[] = {"Repeat on same day each week", "Repeat every 2 weeks",
                              "Repeat every 3 weeks",         "Repeat every 4 weeks",
                              "Same day # each month",        "Same relative weekday each month",
                              "Every day - exclude weekends", "Every day - include weekends"};
    for (int i = 0; i < RepeatDates::kPatterns; ++i) {
        Option1[i] = new QRadioButton(patterns[i], optionFrame);
        Option1[i]->setObjectName(QString("Option1%1").arg(i));
        options->addWidget(Option1[i]);
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    left->addWidget(optionFrame);

    auto* values = new QGridLayout;
    const char* captions[] = {"Start Time", "End Time", "Task", "Customer"};
    QLabel** shown[] = {&LblStartTime, &LblEndTime, &LblTask, &LblCustomer};
    const char* names[] = {"LblStartTime", "LblEndTime", "LblTask", "LblCustomer"};
    for (int i = 0; i < 4; ++i) {
        Label1[i] = new QLabel(captions[i], this);
        *shown[i] = new QLabel(this);
        (*shown[i])->setObjectName(names[i]);
        (*shown[i])->setFrameShape(QFrame::StyledPanel);
        values->addWidget(Label1[i], i, 0);
        values->addWidget(*shown[i], i, 1);
    }
    left->addLayout(values);
    left->addStretch();
    all->addLayout(left, 0, 0);

    auto* daysFrame = new QGroupBox("Repeat Days", this);
    auto* days = new QVBoxLayout(daysFrame);
    LbTimeSlot = new plat::Tabrix(daysFrame);
    LbTimeSlot->setObjectName("LbTimeSlot");
    days->addWidget(LbTimeSlot);
    auto* selectRow = new QHBoxLayout;
    const char* selects[] = {"Select &All", "Clea&r All"};
    for (int i = 0; i < 2; ++i) {
        BtnSelect[i] = new QPushButton(selects[i], daysFrame);
        BtnSelect[i]->setObjectName(QString("BtnSelect%1").arg(i));
        BtnSelect[i]->setAutoDefault(false);
        selectRow->addWidget(BtnSelect[i]);
        connect(BtnSelect[i], &QPushButton::clicked, this, [this, i] { BtnSelect_Click(i); });
    }
    days->addLayout(selectRow);
    all->addWidget(daysFrame, 0, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const char* actions[] = {"&Save", "&Cancel", "&Help"};
    for (int i = 0; i < 3; ++i) {
        BtnRepeat[i] = new QPushButton(actions[i], this);
        BtnRepeat[i]->setObjectName(QString("BtnRepeat%1").arg(i));
        BtnRepeat[i]->setAutoDefault(false);
        buttons->addWidget(BtnRepeat[i]);
        connect(BtnRepeat[i], &QPushButton::clicked, this, [this, i] { BtnRepeat_Click(i); });
    }
    // Enter saves, as in the other editors.
    BtnRepeat[0]->setDefault(true);
    all->addLayout(buttons, 1, 0, 1, 2);
    resize(600, 440);
}

void DlgRepeat::ShowModal(QWidget* owner, const Appointment& appointment) {
    DlgRepeat form(owner);
    form.Appt = appointment;
    form.Form_Load();
    plat::ModalHook::Exec(form);
}

void DlgRepeat::Form_Load() {
    Loading = true;
    forms().CentreForm(*this, parentWidget());
    int64_t type = SharedObjects::Ini().GetNumber("Repeat", "Type", 0);
    if (type < 0 || type >= RepeatDates::kPatterns) type = 0;
    SharedObjects::Ini().WriteValue("Repeat", "Type", type);
    Asked = {static_cast<int16_t>(type), Appt.ResourceId};
    Option1[static_cast<size_t>(type)]->setChecked(true);
    ClsDate& date = SharedObjects::Date();
    LblStartTime->setText(date.ShowTime(Appt.StartTime, true));
    LblEndTime->setText(date.ShowTime(Appt.EndTime, true));
    m_labelsRead = false;
    m_resourcesRead = false;
    Loading = false;
    // Opened by the user's command: what cannot be read now is told once, left empty and
    // read again shortly.
    ShowDates();
}

void DlgRepeat::ShowDates() { DatesRead->Note(readShown()); }

bool DlgRepeat::readShown() {
    if (!m_labelsRead) m_labelsRead = showLabels();
    if (!m_resourcesRead) m_resourcesRead = showResources();
    // Dates are listed only for a resource the list shows.
    const bool dates = m_resourcesRead && showDates(Asked);
    return m_labelsRead && dates;
}

bool DlgRepeat::showLabels() {
    // Records of its own: the program's shared type and customer stay as they were.
    ClsTask task;
    ClsCustomer customer;
    // No such row (no customer handed, a type deleted meanwhile) shows an empty name.
    if (task.Load(Appt.TaskId).Failed() || customer.Load(Appt.CustomerId).Failed()) return false;
    LblTask->setText(task.TaskName());
    LblCustomer->setText(customer.CustomerName());
    return true;
}

// The group's resources, the one asked for chosen, else the first (-1: the group has none).
bool DlgRepeat::showResources() {
    const auto entries = forms().ReadEntries(
        QString("select ResourceName, ResourceId from tblResources where GroupId = %1 "
                "order by ResourceName")
            .arg(Appt.GroupId),
        Asked.resourceId);
    if (!entries) return false;
    forms().ShowEntries(*CbResource, *entries);
    Asked.resourceId = entries->chosen;
    return true;
}

void DlgRepeat::Option1_Click(int index) {
    if (Loading) return;
    Asked.pattern = static_cast<int16_t>(index);
    DatesRead->Note(readShown());
}

void DlgRepeat::CbResource_Click() {
    if (Loading) return;
    Asked.resourceId = forms().GetComboData(*CbResource);
    DatesRead->Note(readShown());
}

bool DlgRepeat::showDates(const Listing& listing) {
    // Which dates are taken is read first: a date whose clash cannot be read is never
    // offered as free, so then nothing is listed and the list keeps what it shows.
    const std::vector<int32_t> dates = RepeatDates::Series(listing.pattern, Appt.ApptDate, kDates);
    std::vector<bool> taken;
    ClsBooking probe;
    for (const int32_t d : dates) {
        const std::optional<int32_t> clash =
            probe.GetBookingId(listing.resourceId, d, Appt.StartTime, Appt.EndTime, 0);
        if (!clash) return false;
        taken.push_back(*clash != 0);
    }
    Listed = listing;
    SharedObjects::Ini().WriteValue("Repeat", "Type", listing.pattern);
    LbTimeSlot->clearRows();
    LbTimeSlot->clearColumns();
    // The widths are in the list's units, half as wide again as our pixels.
    LbTimeSlot->addColumn("X", 20 * 3 / 2);
    LbTimeSlot->addColumn("Day", 40 * 3 / 2);
    LbTimeSlot->addColumn("Date", 150 * 3 / 2);
    LbTimeSlot->setListMode(2);
    LbTimeSlot->setColumnKind(1, plat::Tabrix::CheckColumn);
    for (size_t i = 0; i < dates.size(); ++i) {
        const int32_t d = dates[i];
        const int r = LbTimeSlot->addRow({QString(), format(d, "ddd"), format(d, "dd MMMM yyyy")});
        // The booking being repeated, once saved, takes its own date: it stays single.
        if (!taken[i]) {
            LbTimeSlot->setRowData(r, d);
        } else {
            LbTimeSlot->setRowData(r, 0);
            LbTimeSlot->setCellValue(r, 1, plat::Tabrix::Locked);
            LbTimeSlot->setRowColor(r, kTakenColour);
        }
    }
    return true;
}

void DlgRepeat::BtnSelect_Click(int index) {
    for (int r = 0; r < LbTimeSlot->rowCount(); ++r)
        if (LbTimeSlot->rowData(r) != 0)
            LbTimeSlot->setCellValue(r, 1,
                                     index == 0 ? plat::Tabrix::Checked : plat::Tabrix::Unchecked);
}

void DlgRepeat::BtnRepeat_Click(int index) {
    switch (index) {
        case 0:
            if (SaveAppointments()) accept();
            break;
        case 1:
            reject();
            break;
        case 2:
            ContextIDs::ShowHelp(ContextIDs::IDH_REPEAT);
            break;
        default:
            break;
    }
}

bool DlgRepeat::SaveAppointments() {
    // The ticks are on the dates shown. Dates not yet read for the pattern or resource
    // chosen are read now, and the user ticks those: the ones they replace are not booked.
    if (!(Listed == Asked)) {
        if (DatesRead->Known("Unable to save the repeated appointments!", "saved"))
            ModMain::Warning(
                "The dates were listed again for the pattern and resource chosen: tick the "
                "dates to save.");
        return false;
    }
    // A series that could never be a booking is refused before anything is written.
    if (Listed.resourceId <= 0) return refuse("No resource selected!");
    if (Appt.TaskId <= 0) return refuse("No task selected!");
    if (Appt.StartTime >= Appt.EndTime) return refuse("The appointment must end after it starts!");
    // A record of its own: the editor's booking record keeps the booking it shows.
    ClsBooking booking;
    const int32_t repeatId = booking.NextRepeatId();
    if (repeatId == 0) {
        // Bookings without a series id could never be deleted as a series.
        ModMain::NotWritten("Unable to start a repeat series: no appointment was saved!", "saved");
        return false;
    }
    for (int r = 0; r < LbTimeSlot->rowCount(); ++r) {
        if (LbTimeSlot->cellValue(r, 1) != plat::Tabrix::Checked || LbTimeSlot->rowData(r) == 0)
            continue;
        booking.InitBfr();
        booking.setBookingDate(LbTimeSlot->rowData(r));
        booking.setBookingStart(Appt.StartTime);
        booking.setBookingEnd(Appt.EndTime);
        booking.setRepeatId(repeatId);
        booking.setComments(Appt.Comments);
        booking.setRef01(Appt.Ref01);
        booking.setRef02(Appt.Ref02);
        booking.setRef03(Appt.Ref03);
        booking.setCustomerId(Appt.CustomerId);
        booking.setResourceId(Listed.resourceId);
        booking.setTaskId(Appt.TaskId);
        // The insert tests for a clash itself: a date taken since the listing fails alone.
        // A clash is said as it always was; any other reason (a resource, type or customer
        // deleted meanwhile, a write the database refused) is named.
        if (booking.Save() == 0) {
            const QString text = "Unable to save appointment for " +
                                 format(booking.BookingDate(), "d MMM yyyy") + "!";
            const auto why = booking.LastRefusal();
            if (why == ClsBooking::Refusal::Failed) {
                // The database takes none now: said once, for this date and those after it.
                ModMain::NotWritten(text, "saved from this date on");
                return true;
            }
            if (why == ClsBooking::Refusal::Clash)
                ModMain::Warning(text);
            else
                ModMain::NotSaved(text, why);
        }
    }
    return true;
}
