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
#include "ModMain.h"
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
    // A list that cannot be read keeps the groups and the chart it shows.
    if (!forms().FillCombo(*CbGroup, "select GroupName, GroupId from tblGroups order by GroupName",
                           true, false)) {
        m_deferredReload = true;
        ModMain::NotRead();
        return;
    }
    Sched->setTitle("");
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
    m_shownGroup = 0;
}

void DlgMain::CbGroup_Click() {
    if (m_loading) {  // the load in progress runs this once more when it ends
        m_pendingGroupClick = true;
        return;
    }
    const int32_t id = forms().GetComboData(*CbGroup);
    ClsGroup& group = SharedObjects::Group();
    const ClsGroup shown = group;
    // A group that cannot be read is not shown: the list goes back to the group the chart
    // shows, which stays as it is.
    auto keepShown = [&] {
        group = shown;
        forms().ShowComboData(*CbGroup, m_shownGroup);
        Sched->setTitle(group.GroupName());
        Sched->setDayStart(group.DayStart());
        Sched->setDayEnd(group.DayEnd());
        m_deferredReload = true;
        ModMain::NotRead();
    };
    if (!group.Load(id)) {
        if (SharedObjects::DAO().Failing()) keepShown();
        return;
    }
    Sched->setTitle(group.GroupName());
    Sched->setDayStart(group.DayStart());
    Sched->setDayEnd(group.DayEnd());
    if (!ShowResources(0) && id != m_shownGroup && m_shownGroup != 0) {
        keepShown();
        return;
    }
    ini().WriteValue("Group", "CbGroup", id);
    m_shownGroup = id;
    clearPanels();  // they told of a bar of the chart being replaced
    ShowLegends();
}

bool DlgMain::ShowResources(int32_t resourceId) {
    // Rows and bars go in one pass: a request that arrives while the events of this load
    // run waits for its end and is then carried out once.
    if (m_loading) {
        m_pendingResources = true;
        m_pendingResourceId = resourceId;
        return true;
    }
    m_loading = true;
    SetScheduleEndDate();
    const bool customerText = ini().GetNumber("Options", "DispCustomer", 0) != 0;
    const bool military = ClsDate::UseMilitaryTime();
    const int32_t group = forms().GetComboData(*CbGroup);
    LblUpdating->setGeometry(Sched->geometry());
    LblUpdating->show();
    LblUpdating->raise();
    // Everything is read before the chart is touched: a read that fails leaves the chart
    // as it was, which the next tick reads again.
    struct Resource {
        QString name;
        int32_t id = 0;
        std::unique_ptr<ClsRecordset> bookings;
    };
    std::vector<Resource> read;
    const int32_t first = Sched->startDate(), last = Sched->endDate();
    auto resources = SharedObjects::DAO().SqlQuery(
        QString("select ResourceName, ResourceId from tblResources where GroupId = %1 "
                "order by ResourceName").arg(group));
    bool complete = resources != nullptr;
    for (; complete && !resources->Eof(); resources->MoveNext()) {
        events().Now();
        Resource r;
        r.name = resources->Field(0).toString();  // a resource without a name: ""
        r.id = resources->Field(1).toInt();
        // Columns: the type's colour, the customer's name, then the fingerprint's.
        r.bookings = SharedObjects::DAO().SqlQuery(
            QString("select (select Colour from tblTasks where TaskId = tblBookings.TaskId), "
                    "(select CustomerName from tblCustomers where CustomerId = "
                    "tblBookings.CustomerId), %1 from tblBookings where ResourceId = %2 and "
                    "BookingDate >= %3 and BookingDate <= %4 order by BookingStart")
                .arg(ClsBooking::kCheckColumns)
                .arg(r.id).arg(first).arg(last));
        complete = r.bookings != nullptr;
        read.push_back(std::move(r));
    }
    if (!complete) {
        log("Error in DlgMain.ShowResources");
        LblUpdating->hide();
        m_loading = false;
        m_deferredReload = true;
        ModMain::NotRead();
        finishLoad();
        return false;
    }
    Sched->clear();
    Sched->setUse12Hour(!military);
    Sched->setUse24Hour(military);
    Sched->hide();
    bool loggedGap = false;
    // The fingerprint of what is shown, taken from the rows as they are loaded: the same
    // value as BookingCheck's, without reading the bookings a second time.
    RowHash shown;
    for (Resource& resource : read) {
        const int row = Sched->addRow(resource.name);
        Sched->setRowData(row, resource.id);
        if (resource.id == resourceId) Sched->setSelectedRow(row);
        enum { kColour, kCustomerName, kChecked };  // kChecked: kCheckColumns from here
        enum { kBookingId, kResourceId, kDate, kStart, kEnd, kCheckCount = 7 };
        ClsRecordset& bookings = *resource.bookings;
        for (; !bookings.Eof(); bookings.MoveNext()) {
            events().Sometimes();
            int64_t checked[kCheckCount];
            for (int c = 0; c < kCheckCount; ++c)
                checked[c] = bookings.Field(kChecked + c).toLong();
            shown.Add(checked, kCheckCount);
            const auto id = static_cast<int32_t>(checked[kBookingId]);
            const auto day = static_cast<int32_t>(checked[kDate]);
            const int bar = Sched->addBar(row, static_cast<int>(checked[kStart]),
                                          static_cast<int>(checked[kEnd]), day, day, barKey(id));
            Sched->setBarData(row, bar, id);
            const DbValue& colour = bookings.Field(kColour);
            if (colour.isNull() && !loggedGap) {
                // One line per load: the repair pass removes such bookings.
                log(QString("DlgMain.ShowResources: booking %1 has no appointment type").arg(id));
                loggedGap = true;
            }
            Sched->setBarColor(row, bar, colour.isNull() ? kNeutralColour
                                                          : static_cast<uint32_t>(colour.toLong()));
            if (customerText)
                Sched->setBarText(row, bar, bookings.Field(kCustomerName).toString());
        }
        resource.bookings.reset();  // the chart holds its bars now
    }
    LastBookingCheck = shown.Value();
    AutoscrollCountdown = 20;
    LblUpdating->hide();
    Sched->show();
    m_loading = false;
    finishLoad();
    return true;
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
    auto tasks = SharedObjects::DAO().SqlQuery(
        QString("select TaskId, TaskName, Colour from tblTasks where GroupId = %1 order by TaskName")
            .arg(forms().GetComboData(*CbGroup)));
    if (!tasks) {
        // The legend shown stays: the types of the group the chart shows.
        log("Error in DlgMain.ShowLegends");
        m_deferredReload = true;
        ModMain::NotRead();
        return;
    }
    for (size_t i = 0; i < LblColor.size(); ++i) {
        LblColor[i]->hide();
        LblLegend[i]->hide();
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
