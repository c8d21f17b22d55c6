// DlgMain: dragging tasks from the legend onto the chart, the pointer over bars, the
// row double-click, the zoom bar and the day spin.
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>

#include "ApptEditorState.h"
#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "Glidex.h"
#include "Hintel.h"
#include "KeyedStatusBar.h"
#include "ModMain.h"
#include "Nudgel.h"
#include "Plexaro.h"
#include "SharedObjects.h"

namespace {
ClsIni& ini() { return SharedObjects::Ini(); }
ClsDAO& db() { return SharedObjects::DAO(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }
const char* const kNotOpened = "Unable to open the booking editor!";
}  // namespace

void DlgMain::connectInteraction() {
    connect(Sched, &plat::Plexaro::DragDrop, this, &DlgMain::Sched_DragDrop);
    connect(Sched, &plat::Plexaro::DropItem, this, &DlgMain::Sched_DropItem);
    connect(Sched, &plat::Plexaro::ListDblClick, this, &DlgMain::Sched_ListDblClick);
    connect(Sched, &plat::Plexaro::ItemMove, this, &DlgMain::Sched_ItemMove);
    connect(Sched, &plat::Plexaro::ItemLeave, this, [this] {
        ToolTips->setPopupText("");
        clearPanels();
    });
    connect(Sched, &plat::Plexaro::BarPreDrop, Sched, [this] { Sched->cancelBarDrop(); });
    connect(Sched, &plat::Plexaro::BarPreSelect, Sched, [this] { Sched->cancelBarSelect(); });
    connect(Sched, &plat::Plexaro::ScrollTrack, this, [this] { AutoscrollCountdown = 20; });
    disconnect(Scroll, &plat::Glidex::Change, this, nullptr);
    connect(Scroll, &plat::Glidex::Change, this, [this] { Scroll_Change(); });
    connect(SpinDate, &plat::Nudgel::Click, this, &DlgMain::SpinDate_Click);
    Scroll->setToolTip("Adjust Schedule Width");
    SpinDate->setToolTip("Date Forward/Back");
}

// A press on a legend swatch or caption begins dragging its task.
bool DlgMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (size_t i = 0; i < LblColor.size(); ++i) {
            if (watched == LblColor[i] || watched == LblLegend[i]) {
                LblColor_MouseDown(static_cast<int>(i));
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void DlgMain::LblColor_MouseDown(int index) {
    DraggedTaskId = LblColor[static_cast<size_t>(index)]->property("Tag").toInt();
    auto* drag = new QDrag(LblColor[static_cast<size_t>(index)]);
    auto* data = new QMimeData;
    data->setData(plat::Plexaro::kDragMimeType, QByteArray::number(DraggedTaskId));
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
}

void DlgMain::Sched_DragDrop(int x, int y) { Sched->hitTest(x, y); }

void DlgMain::Sched_DropItem(int row, int minute, int32_t day) {
    // The slot grid of the group on the chart, read afresh: the shared group record may
    // hold another group by now.
    ClsGroup group;
    const Loaded loaded = group.Load(SharedObjects::Forms().GetComboData(*CbGroup));
    if (loaded != Loaded::Row) {
        // Not read, or deleted elsewhere (the next tick shows the groups as they are).
        if (loaded.Failed())
            ModMain::NotRead(kNotOpened, "opened");
        else
            ModMain::Warning("No group selected!");
        return;
    }
    const int interval = group.Interval();
    if (interval <= 0) {
        ModMain::Warning("This group has no slot length: set one before booking in it!");
        return;
    }
    // The slot that holds the minute; a boundary belongs to the slot that starts there.
    const int offset = minute - group.DayStart();
    const int steps = offset >= 0 ? offset / interval : -((-offset + interval - 1) / interval);
    const int start = group.DayStart() + steps * interval;
    const int end = start + interval;
    const int32_t resourceId = Sched->rowData(row);
    // Bookings of that resource on the day dropped on that overlap the slot [start, end).
    auto rs = db().SqlQuery(QString("select count(*) from tblBookings where BookingDate = %1 "
                                    "and ResourceId = %2 and BookingStart < %3 and "
                                    "BookingEnd > %4")
                                .arg(day)
                                .arg(resourceId)
                                .arg(end)
                                .arg(start));
    if (!rs) {
        log("Error in DlgMain.Sched_DropItem");
        ModMain::NotRead(kNotOpened, "opened");  // the slot could not be checked
        return;
    }
    if (rs->Field(0).toLong() > 0) {
        ModMain::Warning("Requested event overlaps previously defined event!");
        return;
    }
    if (ApptEditorState::Show(group.GroupId(), static_cast<int16_t>(start), resourceId,
                              DraggedTaskId, day)) {
        ShowResources(0);
        ShowLegends();
    }
}

void DlgMain::Sched_ListDblClick(int row) {
    ClsGroup group;
    const int32_t groupId = SharedObjects::Forms().GetComboData(*CbGroup);
    // The editor would open on nothing it could read, or on a group deleted elsewhere.
    if (const Loaded loaded = group.Load(groupId); loaded != Loaded::Row) {
        if (loaded.Failed())
            ModMain::NotRead(kNotOpened, "opened");
        else
            ModMain::Warning("No group selected!");
        return;
    }
    if (ApptEditorState::Show(groupId, group.DayStart(), Sched->rowData(row), 0,
                              CalendarState::CalDate())) {
        ModMain::IntegrityCheck();
        ShowResources(0);
        ShowLegends();
    }
}

void DlgMain::Sched_ItemMove(int row, int bar) {
    ToolTips->setPopupText("");
    // One read of all the panels show, so they never mix this bar with the last one; a
    // failed read empties them. Pointing is no command of the user's: logged, never told.
    auto rs = db().SqlQuery(
        QString("select b.BookingStart, b.BookingEnd, b.Comments, t.TaskName, c.CustomerName "
                "from tblBookings b left join tblTasks t on t.TaskId = b.TaskId left join "
                "tblCustomers c on c.CustomerId = b.CustomerId where b.BookingId = %1")
            .arg(Sched->barData(row, bar)));
    if (!rs) {
        log("Error in DlgMain.Sched_ItemMove");
        clearPanels();
        return;
    }
    QString start, end, text, task, person;
    if (!rs->Eof()) {
        ClsDate& date = SharedObjects::Date();
        start = date.ShowTime(static_cast<int16_t>(rs->Field(0).toInt()), true);
        end = date.ShowTime(static_cast<int16_t>(rs->Field(1).toInt()), true);
        text = start + " to " + end;
        const QString comment = rs->Field(2).toString();
        if (!comment.trimmed().isEmpty()) text += "\r\n" + comment;
        task = rs->Field(3).toString();
        person = rs->Field(4).toString();
    }
    StatusBar1->setPanelText("Start", start);
    StatusBar1->setPanelText("End", end);
    StatusBar1->setPanelText("Task", task);
    StatusBar1->setPanelText("Person", person);
    if (!person.isEmpty()) text += "\r\n" + person;
    if (ini().GetNumber("Options", "PopupReminders", 0) != 0) ToolTips->setPopupText(text);
}

// The booking panels of the status bar: empty while no bar is pointed at.
void DlgMain::clearPanels() {
    for (const char* panel : {"Start", "End", "Task", "Person"})
        StatusBar1->setPanelText(panel, "");
}

void DlgMain::Scroll_Change() {
    Sched->setTimeZoom(Scroll->position());
    Sched->setFiveMinuteWidth(Sched->timeZoom() / 12);
    ini().WriteValue("Sched", "TimeDistance", Scroll->position());
}

void DlgMain::SpinDate_Click(int16_t direction) {
    // Two steps, each run after the other's load, go two days.
    const int32_t shown = CalendarState::CalDate();
    setCurrentDate(direction == 0 ? shown - 1 : shown + 1);
}
