// DlgAppt: the program-wide instance, the hand-over, loading, first activation,
// unloading and the slot list.
#include "DlgAppt.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

#include "ApptEditorState.h"
#include "CalendarState.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "Nudgel.h"
#include "ReadAgain.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {
ClsIni& ini() { return SharedObjects::Ini(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }
constexpr int kTw = DlgAppt::kTwipsPerPixel;

QPointer<DlgAppt>& instance() {
    static QPointer<DlgAppt> editor;
    return editor;
}

// The booking of a slot row, as the day's query returned it.
struct DayBooking {
    int32_t id = 0;
    int start = 0, end = 0;  // minutes, end exclusive
    QStringList cells;       // type, customer, Ref01, Ref02, Ref03
    uint32_t colour = 0;
};
}  // namespace

DlgAppt::DlgAppt(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgAppt");
    setWindowTitle("Appointments");
    setModal(true);
    buildControls();
    buildMenus();
    // The main window's tick is off while the editor runs as a toolbar command: the day
    // it could not read is read again by the editor itself, while it is open. (The refresh
    // notes its outcome itself; noting it again changes nothing.)
    m_day = new ReadAgain(this, [this] { return !m_loaded || refreshDay(Asker::Unattended); });
    // A list is read again with the entry the editor holds shown, without its Click (which
    // would read the record again, or put the customer's references over those typed); the
    // day follows the resource shown. An unloaded editor's next activation fills them all.
    m_resourcesRead = new ReadAgain(this, [this] {
        return !m_loaded || (ShowResources(Pick::Show) && showResourceDay(Asker::Unattended));
    });
    m_tasksRead = new ReadAgain(this, [this] {
        return !m_loaded || ShowTasks(SharedObjects::Task().TaskId(), Pick::Show);
    });
    m_customersRead = new ReadAgain(this, [this] {
        return !m_loaded || ShowCustomers(SharedObjects::Customer().CustomerId(), Pick::Show);
    });
    m_resourcesRead->setObjectName("ResourcesRead");
    m_tasksRead->setObjectName("TasksRead");
    m_customersRead->setObjectName("CustomersRead");
}

DlgAppt::~DlgAppt() = default;

DlgAppt& DlgAppt::Instance() {
    if (!instance()) instance() = new DlgAppt(dynamic_cast<QWidget*>(SharedObjects::Host()));
    return *instance();
}

bool DlgAppt::Exists() { return !instance().isNull(); }

void DlgAppt::Install() {
    ApptEditorState::RegisterShow(
        [](int32_t groupId, int16_t start, int32_t resourceId, int32_t taskId, int32_t day) {
            DlgAppt& editor = Instance();
            editor.setGroupId(groupId);
            editor.setStartTime(start);
            editor.setResourceId(resourceId);
            editor.setTaskId(taskId);
            editor.setApptDate(day);
            editor.ShowModal();
        });
    ApptEditorState::Register([] { return Exists() && Instance().isVisible(); },
                              [] {
                                  if (Exists()) Instance().RefreshDay();
                              });
}

void DlgAppt::Uninstall() {
    ApptEditorState::RegisterShow(nullptr);
    ApptEditorState::Register(nullptr, nullptr);
}

void DlgAppt::setGroupId(int32_t id) {
    m_groupId = id;
    // Only the type record's group and the defaults a new type takes: the day's read reads
    // the group again and tells, or keeps quietly, what it could not read.
    static_cast<void>(SharedObjects::Task().setGroupId(id));
}

int32_t DlgAppt::CurrentDate() const { return CalendarState::CalDate(); }

void DlgAppt::setApptDate(int32_t day) {
    if (!m_loaded) Form_Load();
    // A day that cannot be read is not shown: the list keeps the day it shows, under its
    // own title, so that no booking of one day is taken for another's; and the date is
    // the day shown again, whoever moved it (the calendar does).
    if (!refreshDay(Asker::User, Keep::Held, day,
                    SharedObjects::Forms().GetComboData(*CbResource))) {
        if (m_shownDay != 0) {
            CalendarState::setCalDate(m_shownDay);
            return;
        }
        CalendarState::setCalDate(day);  // nothing shown yet: the day is read shortly
    }
    const QDate date = SharedObjects::Date().LongToDate(day);
    LbTimeSlot->setTitle(QLocale(QLocale::English).toString(date, "dddd d MMMM yyyy"));
    auto* main = dynamic_cast<DlgMain*>(SharedObjects::Host());
    if (main && isVisible()) main->setCurrentDate(day);
}

void DlgAppt::ShowModal() {
    if (!m_loaded) Form_Load();
    // A modal window that opened minimized would block the program out of sight.
    setWindowState(m_windowState == 2 ? Qt::WindowMaximized : Qt::WindowNoState);
    plat::ModalHook::Exec(*this);
    if (m_loaded) done(QDialog::Rejected);
}

void DlgAppt::Form_Load() {
    m_loaded = true;
    Activated = MovePending = CopyRequested = false;
    m_placing = false;
    m_heldSlot = -1;
    m_typedForGone = false;
    m_editing.reset();
    m_shownDay = m_shownResource = 0;
    ClsForms& forms = SharedObjects::Forms();
    MilitaryMode = ini().GetNumber("Options", "UseMilitaryTime", 0) != 0;
    m_windowState = static_cast<int>(ini().GetNumber("DlgAppt", "WindowState", 0));
    ClsGroup& group = SharedObjects::Group();
    ClsDate& date = SharedObjects::Date();
    LblStart->setText(date.ShowTime(group.DayStart(), true));
    LblEnd->setText(date.ShowTime(group.DayEnd(), true));
    forms.CentreForm(*this, parentWidget());
    LbTimeSlot->setFont(font());
    TxtComments->clear();
    LbTimeSlot->clearRows();
    LbTimeSlot->clearColumns();
    // The slot labels ("17:00 to 17:15") are wider in our font than the designed 90 pixels:
    // the time column takes what they need, so no label is cut short.
    const int timeWidth = std::max(
        90, LbTimeSlot->fontMetrics().horizontalAdvance(QStringLiteral("00:00 to 00:00")) + 12);
    const std::pair<const char*, int> columns[] = {{"Time", timeWidth}, {"Booking", 120},
                                                   {"Customer", 120},   {"Ref 01", 60},
                                                   {"Ref 02", 60},      {"Ref 03", 60}};
    for (const auto& [heading, width] : columns) LbTimeSlot->addColumn(heading, width);
    LbTimeSlot->setFullRowSelect(true);
    LbTimeSlot->setGridLines(true);
    ReadOnlyMode = ini().GetNumber("Options", "IsReadOnly", 0) == 1;
    // The one instance lives on between openings: show again what a read-only load hid,
    // and switch the toolbar on again after the Exit command switched it off.
    for (QMenu* menu : {mnuAppt, mnuType, mnuCustomer})
        menu->menuAction()->setVisible(!ReadOnlyMode);
    for (QPushButton* button : BtnTask) button->setVisible(!ReadOnlyMode);
    Toolbar1->setButtonVisible("TaskDef", !ReadOnlyMode);
    Toolbar1->setButtonVisible("People", !ReadOnlyMode);
    SpinStart->setVisible(!ReadOnlyMode);
    SpinEnd->setVisible(!ReadOnlyMode);
    forms.EnableButtons(*Toolbar1, true);
    leaveMode();
}

void DlgAppt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!Activated) ModMain::ActivateLater(*this, [this] { Form_Activate(); });
}

void DlgAppt::Form_Activate() {
    if (Activated || !m_loaded) return;
    Activated = true;
    ShowResources();
    ShowTasks(0);
    ShowCustomers(0);
    SetupEnabled();
    // The handed slot, found by its start minute; a drop also preselects its task.
    if (const int row = slotRow(m_startTime); row != plat::Tabrix::kNoRow) {
        LbTimeSlot->setCurrentRow(row);
        LbTimeslot_ItemClick(row, 1);
        if (m_taskId != 0) SharedObjects::Forms().SetComboData(*CbTask, m_taskId);
    }
}

void DlgAppt::done(int result) {
    if (m_loaded) Form_Unload();
    QDialog::done(result);
}

void DlgAppt::Form_Unload() {
    m_loaded = false;
    const QRect g = geometry();
    ini().WriteValue("DlgAppt", "Height", g.height() * kTw);
    ini().WriteValue("DlgAppt", "Width", g.width() * kTw);
    ini().WriteValue("DlgAppt", "Left", g.x() * kTw);
    ini().WriteValue("DlgAppt", "Top", g.y() * kTw);
    ini().WriteValue("DlgAppt", "WindowState", isMinimized() ? 1 : isMaximized() ? 2 : 0);
}

int DlgAppt::slotInterval() const {
    const int interval = SharedObjects::Group().Interval();
    return interval > 0 ? interval : ClsGroup::kDefaultInterval;
}

QString DlgAppt::slotLabel(int minute, int interval) const {
    ClsDate& date = SharedObjects::Date();
    const auto m = static_cast<int16_t>(minute);
    if (!MilitaryMode) return date.ShowTime(m, true);
    return date.MilitaryTime(m) + " to " +
           date.MilitaryTime(static_cast<int16_t>(minute + interval));
}

// The day's slot grid, the bookings of the resource that its slots show (oldest first;
// a type or customer that is gone, or a Null text, shows as empty) and the booking taken
// up as stored now.
struct DlgAppt::Day {
    ClsGroup group;
    int32_t day = 0, resourceId = 0;
    std::vector<DayBooking> bookings;
    ClsBooking taken;
    Loaded takenRead = Loaded::NoRow;  // NotRead: the record taken up stays as it is
};

std::optional<DlgAppt::Day> DlgAppt::readDay(int32_t day, int32_t resourceId) const {
    // The slot grid is the group's as stored now (or as last read, when it is gone).
    Day read{SharedObjects::Group(), day, resourceId, {}, {}, Loaded::NoRow};
    if (read.group.Load(m_groupId).Failed()) return std::nullopt;
    if (const int32_t id = SharedObjects::Booking().BookingId(); id != 0)
        read.takenRead = read.taken.Load(id);
    if (resourceId <= 0) return read;
    const int first = qBound(0, static_cast<int>(read.group.DayStart()), kLastMinute);
    const int last = qBound(first, static_cast<int>(read.group.DayEnd()), kLastMinute);
    auto rs = SharedObjects::DAO().SqlQuery(
        "select BookingId, BookingStart, BookingEnd, "
        "(select TaskName from tblTasks where TaskId = tblBookings.TaskId), "
        "(select CustomerName from tblCustomers where CustomerId = tblBookings.CustomerId), "
        "Ref01, Ref02, Ref03, (select Colour from tblTasks where TaskId = tblBookings.TaskId) "
        "from tblBookings where ResourceId = ? and BookingDate = ? and BookingStart <= ? and "
        "BookingEnd > ? order by BookingId",
        {resourceId, day, last, first});
    if (!rs) {
        log("Error in DlgBook.ShowBookings");
        return std::nullopt;
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        DayBooking b{rs->Field(0).toInt(), rs->Field(1).toInt(), rs->Field(2).toInt(), {}, 0};
        for (int column = 3; column <= 7; ++column) b.cells << rs->Field(column).toString();
        if (rs->Field(4).isNull()) b.cells[1] = "?";
        const DbValue& colour = rs->Field(8);
        b.colour = colour.isNull() ? plat::Tabrix::kWhite : static_cast<uint32_t>(colour.toLong());
        read.bookings.push_back(std::move(b));
    }
    return read;
}

bool DlgAppt::refreshDay(Asker asker, Keep keep) {
    return refreshDay(asker, keep, CurrentDate(), SharedObjects::Forms().GetComboData(*CbResource));
}

bool DlgAppt::refreshDay(Asker asker, Keep keep, int32_t day, int32_t resourceId) {
    // What nobody at the screen asked for is told to nobody. (Lists a busy database left
    // unread are read again by their own timer.)
    std::optional<ModMain::Unattended> quiet;
    if (asker == Asker::Unattended) quiet.emplace();
    const std::optional<Day> read = readDay(day, resourceId);
    if (read) showDay(*read, keep, asker);
    // Another day or resource the user asked for is not shown, and not read again: that is
    // what the user hears of. What is shown is read again shortly either way.
    if (read || m_shownDay == 0 || (day == m_shownDay && resourceId == m_shownResource))
        return m_day->Note(read.has_value());
    const char* what = day != m_shownDay ? "date" : "resource";
    return m_day->Note(false, QString("Unable to show the %1 chosen!").arg(what), "changed");
}

void DlgAppt::showDay(const Day& read, Keep keep, Asker asker) {
    keep == Keep::None ? endEditing() : noteEditing();
    SharedObjects::Group() = read.group;
    const int interval = slotInterval();
    const int first = qBound(0, static_cast<int>(read.group.DayStart()), kLastMinute);
    const int last = qBound(first, static_cast<int>(read.group.DayEnd()), kLastMinute);
    CalendarState::setCalDate(read.day);
    LbTimeSlot->clearRows();
    m_heldSlot = -1;
    m_shownDay = read.day;
    m_shownResource = read.resourceId;
    int32_t previous = 0;
    uint32_t colour = plat::Tabrix::kWhite;
    for (int t = first; t <= last; t += interval) {
        const QString label = slotLabel(t, interval);
        const auto covers = [t](const DayBooking& b) { return b.start <= t && b.end > t; };
        const auto it = std::find_if(read.bookings.begin(), read.bookings.end(), covers);
        const DayBooking* covering = it != read.bookings.end() ? &*it : nullptr;
        // A booking's first slot shows it, the slots it goes on through "~".
        QStringList cells{label};
        if (!covering) {
            cells << QStringList(5, QString());
            colour = plat::Tabrix::kWhite;
        } else if (covering->id != previous) {
            cells << covering->cells;
            colour = covering->colour;
        } else {
            cells << QStringList{"~", "~", "", "", ""};
        }
        previous = covering ? covering->id : 0;
        const int row = LbTimeSlot->addRow(cells);
        LbTimeSlot->setRowText(row, QString::number(t));
        LbTimeSlot->setRowData(row, covering ? covering->id : 0);
        LbTimeSlot->setRowColor(row, colour);
    }

    // Nothing stays selected, so the booking taken up before cannot be saved or moved by
    // a later command as if it were this day's: the shared record is as stored now (or
    // reset when its booking is gone) until the next slot click. A record that could not
    // be read stays as it is.
    ClsBooking& booking = SharedObjects::Booking();
    if (read.takenRead == Loaded::Row)
        booking = read.taken;
    else if (read.takenRead == Loaded::NoRow)
        booking.InitBfr();
    showTimes();
    SetupEnabled();
    // The booking chosen for a move or copy was deleted elsewhere: nothing is left to
    // place. A refill the user asked for says so; an unattended one leaves it to the
    // user's next command, which finds it gone too.
    if (MovePending && m_moveSource.BookingId() != 0 && booking.BookingId() == 0 &&
        asker == Asker::User) {
        forgetDeleted();
        ModMain::NotSaved("Unable to move/copy appointment!", ClsBooking::Refusal::Deleted);
        return;
    }
    if (keep != Keep::None) keepEditing(keep == Keep::Held);
}

bool DlgAppt::Unread() const { return m_day->Unread(); }
