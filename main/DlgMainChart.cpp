// DlgMain: the group list, the chart's rows and bars, and the legend.
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <charconv>

#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "EventYield.h"
#include "OleColor.h"
#include "Plexaro.h"
#include "RowHash.h"
#include "SharedObjects.h"

namespace {
constexpr uint32_t kNeutralColour = 0xC0C0C0;  // light grey: a booking whose type is gone
ClsIni& ini() { return SharedObjects::Ini(); }
ClsForms& forms() { return SharedObjects::Forms(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }

// A bar's key: "B" followed by the booking id in decimal, made in one piece.
QString barKey(int32_t bookingId) {
    char text[16] = {'B'};
    const char* end = std::to_chars(text + 1, text + sizeof text, bookingId).ptr;
    return QString::fromLatin1(text, end - text);
}

// Lets pending window events run during a load: before every resource, and between its
// bookings now and then.
EventYield& events() {
    static EventYield yield;
    return yield;
}
}  // namespace

void DlgMain::ShowGroups(int32_t groupId) {
    Sched->setTitle("");
    forms().FillCombo(*CbGroup, "select GroupName, GroupId from tblGroups order by GroupName",
                      true, false);
    if (CbGroup->count() == 0) {
        // No group left: nothing of the last one may stay on show.
        clearChart();
        return;
    }
    forms().SetComboData(*CbGroup, groupId);
}

void DlgMain::clearChart() {
    Sched->clear();
    Sched->setTitle("");
    for (size_t i = 0; i < LblColor.size(); ++i) {
        LblColor[i]->hide();
        LblLegend[i]->hide();
    }
    LastBookingCheck = 0;
}

void DlgMain::CbGroup_Click() {
    if (m_loading) {  // the load in progress runs this once more when it ends
        m_pendingGroupClick = true;
        return;
    }
    const int32_t id = forms().GetComboData(*CbGroup);
    ini().WriteValue("Group", "CbGroup", id);
    ClsGroup& group = SharedObjects::Group();
    if (!group.Load(id)) return;
    clearPanels();  // they told of a bar of the chart being replaced
    Sched->setTitle(group.GroupName());
    Sched->setDayStart(group.DayStart());
    Sched->setDayEnd(group.DayEnd());
    ShowResources(0);
    ShowLegends();
}

void DlgMain::ShowResources(int32_t resourceId) {
    // Rows and bars go in one pass: a request that arrives while the events of this load
    // run waits for its end and is then carried out once.
    if (m_loading) {
        m_pendingResources = true;
        m_pendingResourceId = resourceId;
        return;
    }
    m_loading = true;
    Sched->clear();
    SetScheduleEndDate();
    const bool customerText = ini().GetNumber("Options", "DispCustomer", 0) != 0;
    const bool military = ClsDate::UseMilitaryTime();
    Sched->setUse12Hour(!military);
    Sched->setUse24Hour(military);
    const int32_t group = forms().GetComboData(*CbGroup);
    LblUpdating->setGeometry(Sched->geometry());
    LblUpdating->show();
    LblUpdating->raise();
    Sched->hide();
    bool complete = false;
    bool loggedGap = false;
    // The fingerprint of what is shown, taken from the rows as they are loaded: the same
    // value as BookingCheck's, without reading the bookings a second time.
    RowHash shown;
    auto resources = SharedObjects::DAO().SqlQuery(
        QString("select ResourceName, ResourceId from tblResources where GroupId = %1 "
                "order by ResourceName").arg(group));
    if (!resources) {
        log("Error in DlgMain.ShowResources");
    } else {
        complete = true;
        const int32_t first = Sched->startDate(), last = Sched->endDate();
        for (; !resources->Eof(); resources->MoveNext()) {
            events().Now();
            const int32_t resId = resources->Field(1).toInt();
            // A resource without a name is still shown, with an empty name.
            const int row = Sched->addRow(resources->Field(0).toString());
            Sched->setRowData(row, resId);
            if (resId == resourceId) Sched->setSelectedRow(row);
            // Columns: the type's colour, the customer's name, then the fingerprint's.
            auto bookings = SharedObjects::DAO().SqlQuery(
                QString("select (select Colour from tblTasks where TaskId = tblBookings.TaskId), "
                        "(select CustomerName from tblCustomers where CustomerId = "
                        "tblBookings.CustomerId), %1 from tblBookings where ResourceId = %2 and "
                        "BookingDate >= %3 and BookingDate <= %4 order by BookingStart")
                    .arg(ClsBooking::kCheckColumns)
                    .arg(resId).arg(first).arg(last));
            if (!bookings) {
                log("Error in DlgMain.ShowResources");
                complete = false;
                break;
            }
            enum { kColour, kCustomerName, kChecked };  // kChecked: kCheckColumns from here
            enum { kBookingId, kResourceId, kDate, kStart, kEnd, kCheckCount = 7 };
            for (; !bookings->Eof(); bookings->MoveNext()) {
                events().Sometimes();
                int64_t checked[kCheckCount];
                for (int c = 0; c < kCheckCount; ++c)
                    checked[c] = bookings->Field(kChecked + c).toLong();
                shown.Add(checked, kCheckCount);
                const auto id = static_cast<int32_t>(checked[kBookingId]);
                const auto day = static_cast<int32_t>(checked[kDate]);
                const int bar = Sched->addBar(row, static_cast<int>(checked[kStart]),
                                              static_cast<int>(checked[kEnd]), day, day,
                                              barKey(id));
                Sched->setBarData(row, bar, id);
                const DbValue& colour = bookings->Field(kColour);
                if (colour.isNull() && !loggedGap) {
                    // One line per load: the repair pass removes such bookings.
                    log(QString("DlgMain.ShowResources: booking %1 has no appointment type")
                            .arg(id));
                    loggedGap = true;
                }
                Sched->setBarColor(row, bar, colour.isNull() ? kNeutralColour
                                                              : static_cast<uint32_t>(colour.toLong()));
                if (customerText)
                    Sched->setBarText(row, bar, bookings->Field(kCustomerName).toString());
            }
        }
    }
    if (complete) {
        LastBookingCheck = shown.Value();
        AutoscrollCountdown = 20;
    }
    LblUpdating->hide();
    Sched->show();
    m_loading = false;
    finishLoad();
}

// Carries out, once, what was asked for while the load ran.
void DlgMain::finishLoad() {
    if (m_pendingGroupClick) {
        m_pendingGroupClick = m_pendingResources = false;
        CbGroup_Click();
    } else if (m_pendingResources) {
        m_pendingResources = false;
        ShowResources(m_pendingResourceId);
    }
}

void DlgMain::ShowLegends() {
    for (size_t i = 0; i < LblColor.size(); ++i) {
        LblColor[i]->hide();
        LblLegend[i]->hide();
    }
    auto tasks = SharedObjects::DAO().SqlQuery(
        QString("select TaskId, TaskName, Colour from tblTasks where GroupId = %1 order by TaskName")
            .arg(forms().GetComboData(*CbGroup)));
    if (!tasks) {
        log("Error in DlgMain.ShowLegends");
        return;
    }
    for (size_t i = 0; !tasks->Eof(); tasks->MoveNext(), ++i) {
        QCoreApplication::processEvents();
        if (i >= LblColor.size()) {
            auto* swatch = new QLabel(Frame1);
            auto* caption = new QLabel(Frame1);
            swatch->setGeometry(LblColor[i - 1]->geometry().translated(0, 240 / kTwipsPerPixel));
            caption->setGeometry(LblLegend[i - 1]->geometry().translated(0, 240 / kTwipsPerPixel));
            swatch->setAutoFillBackground(true);
            swatch->installEventFilter(this);
            caption->installEventFilter(this);
            LblColor.push_back(swatch);
            LblLegend.push_back(caption);
        }
        const QString tag = tasks->Field("TaskId").toString();
        LblColor[i]->setProperty("Tag", tag);
        LblLegend[i]->setProperty("Tag", tag);
        QPalette p = LblColor[i]->palette();
        const DbValue& colour = tasks->Field("Colour");
        p.setColor(QPalette::Window, plat::OleToQColor(
                                         colour.isNull() ? kNeutralColour
                                                         : static_cast<uint32_t>(colour.toLong())));
        LblColor[i]->setPalette(p);
        LblLegend[i]->setText(tasks->Field("TaskName").toString());
        LblColor[i]->show();
        LblLegend[i]->show();
    }
}

void DlgMain::ChkLegend_Click() {
    const int value = ChkLegend->isChecked() ? 1 : 0;
    ini().WriteValue("Config", "ChkLegend", value);
    Frame1->setVisible(value != 0);
    Form_Resize();
}
