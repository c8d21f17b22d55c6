// DlgMain: the refresh timer, autoscroll, the chart's set-up and the schedule's position.
#include <QApplication>
#include <QDialog>
#include <QTime>

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
        // dialog and let a load finish, then unload on a later tick.
        if (m_loading || QApplication::activeModalWidget()) {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            Timer1->setInterval(100);
            Timer1->setEnabled(true);
            return;
        }
        unloadFromProgram();
        return;
    }
    // A load that is adding rows (this tick runs from its yields) finishes first.
    const bool dialogOpen = editingDialogOpen() || m_loading;
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbUpdated() || (m_deferredReload && !dialogOpen)) {
        const int32_t first = Sched->startDate(), last = Sched->endDate();
        const int32_t group = SharedObjects::Forms().GetComboData(*CbGroup);
        const int32_t check = SharedObjects::Booking().BookingCheck(first, last, group);
        const QString setup = SetupCheck(group);
        if (dao.Failing()) {
            // Not seen: the next tick looks again, and reloads once it can read.
            m_deferredReload = true;
        } else if (check != LastBookingCheck || setup != m_setupCheck || m_deferredReload) {
            if (dialogOpen) {
                m_deferredReload = true;  // reloaded once that dialog has closed
            } else {
                m_deferredReload = false;
                LastBookingCheck = check;
                if (setup != m_setupCheck) {
                    // Groups, rows or types changed: the list is filled afresh and keeps
                    // the group shown while it exists.
                    m_setupCheck = setup;
                    ShowGroups(group);
                } else {
                    CbGroup->SetListIndex(-1);
                    SharedObjects::Forms().SetComboData(*CbGroup, group);
                }
                if (ApptEditorState::Visible()) ApptEditorState::RefreshDay();
            }
        }
    } else if (ApptEditorState::Visible() && ApptEditorState::Unread() && !dao.Failing()) {
        ApptEditorState::RefreshDay();  // the editor's day could not be read before
    }
    // No jump back to the present under an open dialog: the user is working there.
    if (ini().GetNumber("Options", "Autoscroll", 0) != 0 && !dialogOpen &&
        !QApplication::activeModalWidget()) {
        --AutoscrollCountdown;
        if (AutoscrollCountdown < 1) {
            setCurrentDate(today());
            AutoscrollCountdown = 20;
        }
    }
    if (!Closing) Timer1->setEnabled(true);
}

// What the window shows besides the bookings: every group, and the resources and
// appointment types of the group shown, as one text to compare.
QString DlgMain::SetupCheck(int32_t groupId) {
    auto rs = SharedObjects::DAO().SqlQuery(
        QString("select 'G', GroupId, GroupName, DayStart, DayEnd, Interval from tblGroups "
                "union all select 'R', ResourceId, ResourceName, GroupId, 0, 0 from "
                "tblResources where GroupId = %1 "
                "union all select 'T', TaskId, TaskName, Colour, GroupId, 0 from tblTasks "
                "where GroupId = %1 order by 1, 2")
            .arg(groupId));
    if (!rs) return QString();
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
    Sched->setTimeScale(static_cast<int>(ini().GetNumber("Config", "TimeType", 0)));
    const int32_t start = Sched->startDate();
    switch (Sched->timeScale()) {
        case plat::Plexaro::Hours:
            Sched->setEndDate(start);
            Sched->setDateFormat("D, n M Y");
            break;
        case plat::Plexaro::Days:
            Sched->setEndDate(start + 32);
            Sched->setDateFormat("M Y");
            break;
        case plat::Plexaro::Weeks:
            Sched->setEndDate(start + 60);
            Sched->setDateFormat("M Y");
            break;
        default:
            break;
    }
}

int32_t DlgMain::CurrentDate() const { return CalendarState::CalDate(); }

void DlgMain::setCurrentDate(int32_t day) {
    const int32_t was = Sched->startDate();  // the dates the chart shows
    CalendarState::setCalDate(day);
    Sched->setStartDate(day);
    SetScheduleEndDate();
    // Dates that cannot be read are not shown as empty: the chart stays on its own.
    if (!ShowResources(0) && was != 0 && was != day) {
        CalendarState::setCalDate(was);
        Sched->setStartDate(was);
        SetScheduleEndDate();
        return;
    }
    ini().WriteValue("Config", "LastDate", day);
    const QTime now = QTime::currentTime();
    Sched->scrollTo(CurrentDate(), now.hour() * 60 + now.minute());
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
