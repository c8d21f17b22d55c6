// DlgMain: the group list, the chart's rows and bars, and the legend.
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTime>
#include <charconv>
#include <optional>

#include "CalendarState.h"
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

// What a load read, before anything of it is shown.
struct DlgMain::ChartRows {
    struct Resource {
        QString name;
        int32_t id = 0;
        std::unique_ptr<ClsRecordset> bookings;
    };
    std::vector<Resource> resources;
    std::optional<ClsGroup> group;                   // read only for another group
    std::optional<std::vector<LegendEntry>> legend;  // likewise
};

DlgMain::ChartView DlgMain::currentView() const {
    return {forms().GetComboData(*CbGroup), CalendarState::CalDate(),
            static_cast<int>(ini().GetNumber("Config", "TimeType", 0))};
}

bool DlgMain::ShowGroups(int32_t groupId) {
    // A list that cannot be read keeps the groups and the chart it shows.
    if (!forms().FillCombo(*CbGroup, "select GroupName, GroupId from tblGroups order by GroupName",
                           true, false)) {
        m_deferredReload = true;
        ModMain::NotRead();
        return false;
    }
    if (CbGroup->count() == 0) {
        // No group left: nothing of the last one may stay on show.
        clearChart();
        return true;
    }
    forms().SetComboData(*CbGroup, groupId);  // its click loads the group
    return true;
}

void DlgMain::clearChart() {
    Sched->clear();
    Sched->setTitle("");
    showLegend({});
    clearPanels();  // they told of a bar of the chart gone
    LastBookingCheck = 0;
    m_shownGroup = 0;
}

void DlgMain::CbGroup_Click() {
    // The group this click was made for: the list may show another one by the time a load
    // that runs now has ended.
    const int32_t id = forms().GetComboData(*CbGroup);
    if (id < 0) {
        // Nothing selected (the list cleared before a group is chosen again): no group to
        // load, and none to start with next time.
        ini().WriteValue("Group", "CbGroup", -1);
        return;
    }
    ChartView view = currentView();
    view.group = id;
    loadChart({.view = view, .newGroup = true});
}

bool DlgMain::ShowResources(int32_t resourceId) {
    return loadChart({.view = currentView(), .resourceId = resourceId});
}

bool DlgMain::loadChart(const ChartRequest& request) {
    const ChartView& view = request.view;
    // The list shows the group on the chart until the one chosen is read.
    if (request.newGroup && m_shownGroup != 0) forms().ShowComboData(*CbGroup, m_shownGroup);
    ChartRows rows;
    const Loaded read = readChart(view, request.newGroup, rows);
    if (read.Failed()) {
        // Everything stays as it was; the next tick reads again what is shown. A group or
        // a date the user chose instead is not shown: that is what the user hears of.
        log("Error in DlgMain.ShowResources");
        m_deferredReload = true;
        if (request.newGroup && m_shownGroup != 0 && view.group != m_shownGroup)
            ModMain::NotRead("Unable to show the group chosen!", "changed");
        else if (request.newDate && m_shownGroup != 0 && view.first != Sched->startDate())
            ModMain::NotRead("Unable to show the date chosen!", "changed");
        else if (request.newScale)
            ModMain::NotRead("Unable to change the time scale!", "changed");
        else
            ModMain::NotRead();
        if (request.newDate && CurrentDate() == 0) {
            // No chart shown yet (a start under a held lock): the dates asked for are set
            // up, still empty, and the tick reads them.
            CalendarState::setCalDate(view.first);
            showRange(view.scale, view.first);
        }
    } else if (read == Loaded::Row) {
        if (rows.group) {
            // The group chosen: the program's current group, stored for the next start.
            SharedObjects::Group() = *rows.group;
            forms().ShowComboData(*CbGroup, view.group);
            Sched->setTitle(rows.group->GroupName());
            Sched->setDayStart(rows.group->DayStart());
            Sched->setDayEnd(rows.group->DayEnd());
            ini().WriteValue("Group", "CbGroup", view.group);
            m_shownGroup = view.group;
            clearPanels();  // they told of a bar of the chart being replaced
        }
        showChart(view, rows, request.resourceId);
        if (rows.legend) showLegend(*rows.legend);
        if (request.newScale) ini().WriteValue("Config", "TimeType", view.scale);
        if (request.newDate) {
            ini().WriteValue("Config", "LastDate", view.first);
            const QTime now = QTime::currentTime();
            Sched->scrollTo(view.first, now.hour() * 60 + now.minute());
        }
    }
    return !read.Failed();
}

Loaded DlgMain::readChart(const ChartView& view, bool newGroup, ChartRows& rows) {
    if (newGroup) {
        ClsGroup group;
        // A group deleted elsewhere is not shown: the chart stays as it is.
        if (const Loaded loaded = group.Load(view.group); loaded != Loaded::Row) return loaded;
        rows.group = group;
        rows.legend = readLegend(view.group);
        if (!rows.legend) return Loaded::NotRead;
    }
    const int32_t last = lastDay(view.scale, view.first);
    auto resources = SharedObjects::DAO().SqlQuery(
        QString("select ResourceName, ResourceId from tblResources where GroupId = %1 "
                "order by ResourceName")
            .arg(view.group));
    if (!resources) return Loaded::NotRead;
    for (; !resources->Eof(); resources->MoveNext()) {
        events().Now();
        ChartRows::Resource r;
        r.name = resources->Field(0).toString();  // a resource without a name: ""
        r.id = resources->Field(1).toInt();
        // Columns: the type's colour, the customer's name, then the fingerprint's.
        r.bookings = SharedObjects::DAO().SqlQuery(
            QString("select (select Colour from tblTasks where TaskId = tblBookings.TaskId), "
                    "(select CustomerName from tblCustomers where CustomerId = "
                    "tblBookings.CustomerId), %1 from tblBookings where ResourceId = %2 and "
                    "BookingDate >= %3 and BookingDate <= %4 order by BookingStart")
                .arg(ClsBooking::kCheckColumns)
                .arg(r.id)
                .arg(view.first)
                .arg(last));
        if (!r.bookings) return Loaded::NotRead;
        rows.resources.push_back(std::move(r));
    }
    return Loaded::Row;
}

void DlgMain::showChart(const ChartView& view, ChartRows& rows, int32_t resourceId) {
    CalendarState::setCalDate(view.first);
    showRange(view.scale, view.first);
    const bool customerText = ini().GetNumber("Options", "DispCustomer", 0) != 0;
    const bool military = ClsDate::UseMilitaryTime();
    LblUpdating->setGeometry(Sched->geometry());
    LblUpdating->show();
    LblUpdating->raise();
    Sched->clear();
    Sched->setUse12Hour(!military);
    Sched->setUse24Hour(military);
    Sched->hide();
    bool loggedGap = false;
    // The fingerprint of what is shown, taken from the rows as they are loaded: the same
    // value as BookingCheck's, without reading the bookings a second time.
    RowHash shown;
    for (ChartRows::Resource& resource : rows.resources) {
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
            Sched->setBarColor(
                row, bar,
                colour.isNull() ? kNeutralColour : static_cast<uint32_t>(colour.toLong()));
            if (customerText) Sched->setBarText(row, bar, bookings.Field(kCustomerName).toString());
        }
        resource.bookings.reset();  // the chart holds its bars now
    }
    LastBookingCheck = shown.Value();
    AutoscrollCountdown = 20;
    LblUpdating->hide();
    Sched->show();
}

std::optional<std::vector<DlgMain::LegendEntry>> DlgMain::readLegend(int32_t groupId) {
    auto tasks = SharedObjects::DAO().SqlQuery(
        QString(
            "select TaskId, TaskName, Colour from tblTasks where GroupId = %1 order by TaskName")
            .arg(groupId));
    if (!tasks) {
        log("Error in DlgMain.ShowLegends");
        return std::nullopt;
    }
    std::vector<LegendEntry> legend;
    for (; !tasks->Eof(); tasks->MoveNext()) {
        const DbValue& colour = tasks->Field("Colour");
        legend.push_back(
            {tasks->Field("TaskId").toString(), tasks->Field("TaskName").toString(),
             colour.isNull() ? kNeutralColour : static_cast<uint32_t>(colour.toLong())});
    }
    return legend;
}

bool DlgMain::ShowLegends() {
    // The legend shown stays until the types of the group could be read.
    const auto legend = readLegend(forms().GetComboData(*CbGroup));
    if (!legend) {
        m_deferredReload = true;
        ModMain::NotRead();
        return false;
    }
    showLegend(*legend);
    return true;
}

void DlgMain::showLegend(const std::vector<LegendEntry>& legend) {
    for (size_t i = 0; i < LblColor.size(); ++i) {
        LblColor[i]->setVisible(i < legend.size());
        LblLegend[i]->setVisible(i < legend.size());
    }
    for (size_t i = 0; i < legend.size(); ++i) {
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
        LblColor[i]->setProperty("Tag", legend[i].tag);
        LblLegend[i]->setProperty("Tag", legend[i].tag);
        QPalette p = LblColor[i]->palette();
        p.setColor(QPalette::Window, plat::OleToQColor(legend[i].colour));
        LblColor[i]->setPalette(p);
        LblLegend[i]->setText(legend[i].name);
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
