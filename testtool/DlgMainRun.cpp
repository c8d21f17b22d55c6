// DlgMain: the random schedule generator and the collections of a group's members.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLocale>
#include <QPushButton>
#include <QThread>
#include <limits>

#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsLogging.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "DlgMain.h"
#include "ErrorText.h"
#include "Kalvo.h"
#include "KeyedStatusBar.h"
#include "ListBox.h"
#include "MsgBox.h"
#include "RunRandom.h"
#include "SharedObjects.h"

namespace {
constexpr int kDivisionByZero = 11;

// Where a run's error line says it stopped.
enum RunLine : int {
    kLineDaySteps = 16,
    kLineDay = 21,
    kLineSlots = 23,
    kLineStart = 26,
    kLineDuration = 27,
    kLineEnd = 28,
};

// A failure that ends the run; caught by RunTest, which logs it.
struct RunError {
    int number;
    int line;
    QString description;
};

// The times are 16-bit minutes: a result outside that range is an overflow, not a
// wrapped value that would be booked.
int16_t fit16(int32_t value, int line) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw RunError{err::Overflow, line, "Overflow"};
    return static_cast<int16_t>(value);
}

int16_t divide16(int32_t dividend, int32_t divisor, int line) {
    if (divisor == 0) throw RunError{kDivisionByZero, line, "Division by zero"};
    return fit16(dividend / divisor, line);
}

// A random whole number below a count of slots; a negative count (a day that ends before
// it starts, a maximum below the minimum, a negative interval) has no such number.
int32_t below(RunRandom& random, int32_t count, int line) {
    if (count < 0) throw RunError{err::InvalidCall, line, "Invalid procedure call or argument"};
    return random.Below(count);
}

DlgMain::Pause& pauseHook() {
    static DlgMain::Pause p;
    return p;
}
void pause(int milliseconds) {
    if (pauseHook())
        pauseHook()(milliseconds);
    else
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}
void yield() { QCoreApplication::processEvents(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }
}  // namespace

void DlgMain::SetPauseForTest(Pause p) { pauseHook() = std::move(p); }

void DlgMain::RunTest() {
    lockInputs(true);
    yield();
    m_booked = m_unbooked = 0;
    ClsDAO& dao = SharedObjects::DAO();
    // A second hold on the database for the run: the load step opened the file already.
    dao.DbOpen("Rostima.mdb");
    try {
        RunRandom random(RunRandom::ClockSeed());
        ClsGroup group;
        for (int i = 0; i < LbGroups->count(); ++i) {
            yield();
            pause(100);
            if (CancelRequested) break;
            LbGroups->SetListIndex(i);  // shows which group is being filled
            yield();
            if (!LbGroups->Selected(i)) continue;
            // A group deleted or unreadable meanwhile is not filled: the load test goes on
            // with the others, and its log has the line of the failed read.
            if (group.Load(SharedObjects::Forms().GetListData(*LbGroups)) != Loaded::Row) continue;
            if (Check1->isChecked())
                dao.SqlAction("delete from tblBookings where BookingDate >= " +
                              QString::number(Kalvo1[0]->value()) + " and BookingDate <= " +
                              QString::number(Kalvo1[1]->value()) + " and ResourceId in " +
                              "(select ResourceId from tblResources where GroupId = " +
                              QString::number(group.GroupId()) + ")");
            fillGroup(group, random);
        }
        showSummary();
    } catch (const RunError& e) {
        log(err::AtLine("DlgTestSub", e.number, e.line, e.description));
    }
    dao.DbClose();
    lockInputs(false);
}

void DlgMain::fillGroup(ClsGroup& group, RunRandom& random) {
    const int16_t lastStep = fit16(Kalvo1[1]->value() - Kalvo1[0]->value(), kLineDaySteps);
    for (int32_t step = 0; step <= lastStep; ++step) {
        yield();
        pause(100);
        if (CancelRequested) return;
        // Each attempt picks its own day of the range: the step only sets how many.
        auto remaining = static_cast<int16_t>(random.Below(100) + 50);
        while (remaining > 0 && !CancelRequested) {
            attempt(group, random, remaining);
            --remaining;
        }
    }
}

bool DlgMain::attempt(ClsGroup& group, RunRandom& random, int16_t remaining) {
    const int32_t first = Kalvo1[0]->value();
    const int32_t day = below(random, Kalvo1[1]->value() - first + 1, kLineDay) + first;
    StatusBar1->setPanelText(
        "Date",
        QLocale(QLocale::English).toString(SharedObjects::Date().LongToDate(day), "dd MMM yyyy"));
    StatusBar1->setPanelText("Appt", "Appointment #" + QString::number(remaining));
    yield();
    pause(100);
    const int16_t interval = group.Interval();
    const int16_t slotCount =
        divide16(fit16(group.DayEnd() - group.DayStart(), kLineSlots), interval, kLineSlots);
    // A group without resources, appointment types or customers gets no bookings and
    // counts nothing.
    RecordCollection<ClsResource> resources = GetGroupResources(group.GroupId());
    if (resources.Count() == 0) return false;
    ClsResource& resource = resources.Item(random.Below(resources.Count()) + 1);
    RecordCollection<ClsTask> tasks = GetGroupTasks(group.GroupId());
    if (tasks.Count() == 0) return false;
    ClsTask& task = tasks.Item(random.Below(tasks.Count()) + 1);
    RecordCollection<ClsCustomer> customers = GetGroupCustomers(group.GroupId());
    if (customers.Count() == 0) return false;
    ClsCustomer& customer = customers.Item(random.Below(customers.Count()) + 1);

    ClsBooking booking;
    booking.setBookingDate(day);
    booking.setCustomerId(customer.CustomerId());
    booking.setTaskId(task.TaskId());
    booking.setResourceId(resource.ResourceId());
    booking.setComments(task.TaskName());
    bool booked = false;
    for (int tries = 10; tries > 0 && !booked; --tries) {
        yield();
        pause(10);
        const int16_t start =
            fit16(group.DayStart() + below(random, slotCount, kLineStart) * interval, kLineStart);
        const int16_t lengths = divide16(
            fit16(resource.MaxTime() - resource.MinTime(), kLineDuration), interval, kLineDuration);
        const int16_t k = fit16(below(random, lengths, kLineDuration) + 1, kLineDuration);
        // At most one slot past the end of the group's day.
        const int16_t end = std::min(fit16(start + k * interval, kLineEnd),
                                     fit16(group.DayEnd() + interval, kLineEnd));
        booking.setBookingStart(start);
        booking.setBookingEnd(end);
        // A slot taken, or one whose clash cannot be read, is not booked: another is drawn.
        if (booking.GetBookingId(resource.ResourceId(), day, start, end, 0) != 0) continue;
        // The save tests for a clash again as it writes: another workstation may have
        // booked the slot since the look above. A save that fails wrote nothing.
        booked = booking.Save() != 0;
    }
    if (booked)
        ++m_booked;
    else
        ++m_unbooked;
    return booked;
}

void DlgMain::showSummary() {
    plat::MsgBox(
        "Booked: " + QString::number(m_booked) + "\r\nUnbooked: " + QString::number(m_unbooked),
        plat::vbOKOnly | plat::vbInformation, "Information!");
}

template <typename T>
RecordCollection<T> DlgMain::collect(const QString& sql, const char* keyLetter) {
    RecordCollection<T> members;
    auto rs = SharedObjects::DAO().SqlQuery(sql);
    if (!rs) {
        log(err::AtLine("DlgMainFunction", err::ObjectNotSet, 2, "No record set"));
        return members;
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        yield();
        const int32_t id = rs->Field(0).toInt();
        auto member = std::make_unique<T>();
        // One deleted or unreadable meanwhile is not drawn from (its Load logged why).
        if (member->Load(id) == Loaded::Row)
            members.Add(keyLetter + QString::number(id), std::move(member));
    }
    return members;
}

RecordCollection<ClsResource> DlgMain::GetGroupResources(int32_t GroupId) {
    return collect<ClsResource>(
        "select ResourceId from tblResources where GroupId = " + QString::number(GroupId), "R");
}

RecordCollection<ClsTask> DlgMain::GetGroupTasks(int32_t GroupId) {
    return collect<ClsTask>(
        "select TaskId from tblTasks where GroupId = " + QString::number(GroupId), "T");
}

RecordCollection<ClsCustomer> DlgMain::GetGroupCustomers(int32_t GroupId) {
    return collect<ClsCustomer>(
        "select CustomerId from tblCustomerGroups where GroupId = " + QString::number(GroupId),
        "C");
}

RecordCollection<ClsGroup> DlgMain::GetGroups() {
    return collect<ClsGroup>("select GroupId from tblGroups", "G");
}
