// DlgMain: the refresh timer, autoscroll, the chart's set-up and the schedule's position.
#include <QApplication>
#include <QDialog>
#include <optional>

#include "ApptEditorState.h"
#include "CalendarState.h"
#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "FormsTimer.h"
#include "Hintel.h"
#include "ModMain.h"
#include "Plexaro.h"
#include "SharedObjects.h"

namespace {
ClsIni& ini() { return SharedObjects::Ini(); }
int32_t today() { return SharedObjects::Date().DateToLong(QDate::currentDate()); }
}  // namespace

// A dialog other than the booking editor is open: it may be editing a shared record that
// a reload would load over, and the user is busy there.
bool DlgMain::editingDialogOpen() const {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* d = qobject_cast<QDialog*>(w);
        if (d && d->isVisible() && d->isModal() && d->objectName() != "DlgAppt") return true;
    }
    return false;
}

void DlgMain::Timer1_Timer() {
    Timer1->setEnabled(false);
    if (Closing) {
        // Never release the shared objects under code that still runs: close any open
        // dialog, then unload on a later tick.
        if (QApplication::activeModalWidget()) {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            Timer1->setInterval(100);
            Timer1->setEnabled(true);
            return;
        }
        unloadFromProgram();
        return;
    }
    // Nobody asked for what the tick reads: a read that fails is told to no one and never
    // stops the tick. What is shown stays, and a later tick reads it again.
    const ModMain::Unattended quiet;
    const bool dialogOpen = editingDialogOpen();
    // A change check that could not read (another program holds the database) ends the
    // tick's reading: its reads would fail the same way, each with a log line of its own.
    // What was due (a reload, the jump) stays due for a tick that can read.
    const std::optional<bool> changed = SharedObjects::DAO().DbUpdated();
    if (changed && (*changed || (m_deferredReload && !dialogOpen))) followChanges(dialogOpen);
    // No jump back to the present under an open dialog: the user is working there. A
    // jump that could not be read is tried again on the next tick.
    if (ini().GetNumber("Options", "Autoscroll", 0) != 0 && !dialogOpen &&
        !QApplication::activeModalWidget() && --AutoscrollCountdown < 1)
        AutoscrollCountdown = changed && setCurrentDate(today()) ? 20 : 0;
    if (!Closing) Timer1->setEnabled(true);
}

void DlgMain::followChanges(bool dialogOpen) {
    const int32_t group = SharedObjects::Forms().GetComboData(*CbGroup);
    // Not seen: a later tick looks again. The second check is not tried after the first
    // failed, which would only fail again.
    const auto check =
        SharedObjects::Booking().BookingCheck(Sched->startDate(), Sched->endDate(), group);
    const auto setup = check ? SetupCheck(group) : std::nullopt;
    if (!check || !setup) {
        m_deferredReload = true;
        return;
    }
    if (*check == LastBookingCheck && *setup == m_setupCheck && !m_deferredReload) return;
    if (dialogOpen) {
        m_deferredReload = true;  // reloaded once that dialog has closed
        return;
    }
    m_deferredReload = false;
    LastBookingCheck = *check;
    if (*setup != m_setupCheck) {
        // Groups, rows or types changed: the list is filled afresh and keeps the group
        // shown while it exists.
        if (ShowGroups(group)) m_setupCheck = *setup;
    } else {
        CbGroup_Click();  // the group chosen again: its rows, bars and legend as stored now
    }
    if (ApptEditorState::Visible()) ApptEditorState::RefreshDay();
}

// What the window shows besides the bookings: every group, and the resources and
// appointment types of the group shown, as one text to compare; none when unread.
std::optional<QString> DlgMain::SetupCheck(int32_t groupId) {
    auto rs = SharedObjects::DAO().SqlQuery(
        QString("select 'G', GroupId, GroupName, DayStart, DayEnd, Interval from tblGroups "
                "union all select 'R', ResourceId, ResourceName, GroupId, 0, 0 from "
                "tblResources where GroupId = %1 "
                "union all select 'T', TaskId, TaskName, Colour, GroupId, 0 from tblTasks "
                "where GroupId = %1 order by 1, 2")
            .arg(groupId));
    if (!rs) return std::nullopt;
    QStringList fields;
    for (; !rs->Eof(); rs->MoveNext())
        for (int c = 0; c < 6; ++c) fields << rs->Field(c).toString();
    return fields.join(QChar(0x1F));  // a separator no name holds
}

void DlgMain::SetupDefaults() {
    Sched->setTimeScale(static_cast<int>(ini().GetNumber("Config", "TimeType", 0)));
    auto colour = [](const char* key, uint32_t current) {
        return static_cast<uint32_t>(ini().GetNumber("Colours", key, current));
    };
    Sched->setBackColor(colour("BackColor", Sched->backColor()));
    Sched->setTitleBackColor(colour("TitleBackColor", Sched->titleBackColor()));
    Sched->setListBackColor(colour("ListBackColor", Sched->listBackColor()));
    Sched->setWeekendColor(colour("WeekendColor", Sched->weekendColor()));
    Sched->setRulerBackColor(colour("RulerBackColor", Sched->rulerBackColor()));
    Sched->setSelectBackColor(colour("SelectBackColor", Sched->selectBackColor()));
    SetScheduleEndDate();
    if (ini().GetNumber("Options", "PopupReminders", 0) != 0) {
        ToolTips->setShowDelay(5);
        ToolTips->setPopupMargin(2);
        ToolTips->attach(Sched, "");
    }
    if (ini().GetNumber("Options", "Autoscroll", 0) != 0 && AutoscrollCountdown < 1)
        setCurrentDate(today());
}

void DlgMain::SetScheduleEndDate() {
    showRange(static_cast<int>(ini().GetNumber("Config", "TimeType", 0)), Sched->startDate());
}

int32_t DlgMain::lastDay(int scale, int32_t first) const {
    switch (scale) {
        case plat::Plexaro::Hours:
            return first;
        case plat::Plexaro::Days:
            return first + 32;
        case plat::Plexaro::Weeks:
            return first + 60;
        default:
            return Sched->endDate();  // a scale the chart does not know keeps its days
    }
}

void DlgMain::showRange(int scale, int32_t first) {
    Sched->setTimeScale(scale);
    Sched->setStartDate(first);
    Sched->setEndDate(lastDay(scale, first));
    if (scale == plat::Plexaro::Hours)
        Sched->setDateFormat("D, n M Y");
    else if (scale == plat::Plexaro::Days || scale == plat::Plexaro::Weeks)
        Sched->setDateFormat("M Y");
}

int32_t DlgMain::CurrentDate() const { return CalendarState::CalDate(); }

bool DlgMain::setCurrentDate(int32_t day) {
    ChartView view = currentView();
    view.first = day;
    // Dates that cannot be read are not shown as empty: the chart stays on its own.
    return loadChart({.view = view, .newDate = true});
}

void DlgMain::setCurrentTime(int32_t minute) {
    Sched->scrollTo(CurrentDate(), minute);
    AutoscrollCountdown = 20;
}

void DlgMain::setCurrentResource(int32_t resourceId) {
    // Every resource row, 1..N (the row count is N + 1).
    for (int row = 1; row < Sched->rowCount(); ++row) {
        if (Sched->rowData(row) == resourceId) {
            Sched->setSelectedRow(row);
            return;
        }
    }
}
