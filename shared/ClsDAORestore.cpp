// ClsDAO: the restore of a backup file (the format is described in ClsDAOBackup.cpp).
#include <QHash>
#include <QList>
#include <QSet>
#include <vector>

#include "BackupReader.h"
#include "BackupWork.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsDAO.h"
#include "ClsGroup.h"
#include "ClsLogging.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "DaoInternals.h"
#include "DlgRestore.h"
#include "ErrorText.h"
#include "EventYield.h"
#include "IHostWindow.h"
#include "SharedObjects.h"

namespace {

using Record = BackupReader::Record;

// Resources and appointment types share their lines' shape: a name and three durations,
// in the current group.
template <typename Member>
void fillMember(Member& member, void (Member::*setName)(const QString&), int32_t groupId,
                const Record& r) {
    member.InitBfr();
    // The group's defaults it reads are replaced by the line's durations below.
    static_cast<void>(member.setGroupId(groupId));
    (member.*setName)(r.text(2));
    BackupWork::Panel("Person", r.text(2));
    member.setMinTime(r.minutes(3));
    member.setMaxTime(r.minutes(4));
    member.setInitTime(r.minutes(5));
}

// The restored records of one group, in the order of their lines and by name. A name is
// found as written, case and all, when the group has a record of that name; only otherwise
// as the lookup by name in the database finds it (the tables hold nothing else): the first
// one of a name, case aside. So records whose names differ only in case each keep their own
// bookings. Records named alike are told apart only by their numbers.
class GroupRecords {
public:
    void clear() {
        m_byNumber.clear();
        m_exact.clear();
        m_folded.clear();
    }
    void add(const QString& name, int32_t id) {
        m_byNumber.push_back(id);
        note(m_exact, name, id);
        note(m_folded, ClsDAO::NameKey(name), id);
    }
    // The record of that number, from 1 (0: none).
    int32_t numbered(int32_t n) const { return n > 0 ? m_byNumber.value(n - 1, 0) : 0; }
    // The first record of that name (0: none); alike is set when others share the name.
    int32_t named(const QString& name, bool& alike) const {
        auto exact = m_exact.constFind(name);
        const Named found =
            exact != m_exact.cend() ? *exact : m_folded.value(ClsDAO::NameKey(name));
        alike = alike || found.count > 1;
        return found.id;
    }
    bool hasName(const QString& name) const { return m_exact.contains(name); }

private:
    struct Named {
        int32_t id = 0;  // the first of the name
        int count = 0;
    };
    static void note(QHash<QString, Named>& names, const QString& name, int32_t id) {
        Named& n = names[name];
        if (n.count++ == 0) n.id = id;
    }
    QList<int32_t> m_byNumber;
    QHash<QString, Named> m_exact, m_folded;
};

// The records of an A line's booking in its group.
struct BookingParts {
    int32_t resource = 0, task = 0, customer = 0;  // 0: not found (a customer: or none)
    bool noCustomer = false;                       // the booking has none
    bool alike = false;          // one was found by a name that others of the group share
    bool alikeResource = false;  // the resource was: a clash there may be none in the source
};

BookingParts partsOf(const Record& r, const GroupRecords& resources, const GroupRecords& tasks,
                     const GroupRecords& customers) {
    BookingParts p;
    if (r.keyed) {
        // Numbered: 0 is none of the group's, and with an empty name no customer.
        p.resource = resources.numbered(r.keys[0]);
        p.task = tasks.numbered(r.keys[1]);
        p.customer = customers.numbered(r.keys[2]);
        p.noCustomer = r.keys[2] == 0 && r.text(4).isEmpty();
        // A customer named beside 0: earlier versions numbered only the group's own
        // customers and named any other, meaning the group's customer of that name.
        if (r.keys[2] == 0 && !p.noCustomer) p.customer = customers.named(r.text(4), p.alike);
        return p;
    }
    // Named only (an older backup): where the group has others of a name the first is
    // taken, and a booking without a customer cannot be told from one of a customer that
    // has no name.
    p.resource = resources.named(r.text(2), p.alikeResource);
    p.alike = p.alikeResource;
    p.task = tasks.named(r.text(3), p.alike);
    p.noCustomer = r.text(4).isEmpty();
    if (p.noCustomer)
        p.alike = p.alike || customers.hasName(QString());
    else
        p.customer = customers.named(r.text(4), p.alike);
    return p;
}

// A booking's times as no editor makes them: an end that is not after its start, or a time
// outside the day (minutes 0 to 1440).
bool impossibleTimes(int16_t start, int16_t end) {
    constexpr int16_t kDayEnd = 1440;
    return start < 0 || end > kDayEnd || end <= start;
}

// What a record line holds, for the user.
const char* kindName(char kind) {
    switch (kind) {
        case 'G':
            return "group";
        case 'R':
            return "resource";
        case 'T':
            return "appointment type";
        case 'C':
            return "customer";
        default:
            return "booking";
    }
}

// Empties the scheduling tables and rebuilds them from the checked records. Runs inside
// the caller's transaction, which keeps every repeated statement parsed once: false
// (with f set) means it is to be rolled back. The shared records end holding the last
// record of each kind written or found.
bool replaceTables(ClsDAO& db, const std::vector<Record>& records, bool withBookings, QString& sql,
                   dao::Failure& f, ClsDAO::RestoreReport& report) {
    for (const char* table : {"tblBookings", "tblCustomerGroups", "tblCustomers", "tblGroups",
                              "tblRepeats", "tblResources", "tblTasks"}) {
        sql = QString("delete from ") + table;
        if (!db.SqlAction(sql)) {
            f = {err::DbGeneric, 4, "The database is busy or cannot be written."};
            return false;
        }
    }
    ClsGroup& group = SharedObjects::Group();
    ClsResource& resource = SharedObjects::Resource();
    ClsTask& task = SharedObjects::Task();
    ClsCustomer& customer = SharedObjects::Customer();
    ClsBooking& booking = SharedObjects::Booking();
    group.InitBfr();                           // lines before the first G line belong to group 0
    GroupRecords resources, tasks, customers;  // of the current group
    bool leftOut = false;                      // the current group is left out, with its lines
    int32_t lastResource = 0, lastTask = 0, lastCustomer = 0;
    // Customers written into a group only for its bookings: of the group only once one of
    // those bookings is restored, and not kept without one.
    QSet<int32_t> forBookings;
    auto link = [&](int32_t customerId) {
        sql = "insert into tblCustomerGroups (GroupId, CustomerId) values (?, ?)";
        return db.SqlAction(sql, {group.GroupId(), customerId});
    };
    EventYield events;

    auto notSaved = [&f](const Record& r) {
        f = {err::DbGeneric, 5,
             QString("Line %1: the %2 \"%3\" could not be saved.")
                 .arg(QString::number(r.lineNo), kindName(r.kind), r.text(2))};
        return false;
    };
    for (const Record& r : records) {
        events.Sometimes();
        if (leftOut && r.kind != 'G') {
            if (r.kind == 'A' && withBookings) ++report.inGroupLeftOut;
            continue;
        }
        switch (r.kind) {
            case 'G':
                resources.clear();
                tasks.clear();
                customers.clear();
                // A day that ends before it starts is no group's: no editor makes one.
                leftOut = r.minutes(4) < r.minutes(3);
                if (leftOut) {
                    ++report.groupsLeftOut;
                    break;
                }
                group.InitBfr();
                group.setGroupName(r.text(2));
                BackupWork::Panel("Task", r.text(2));
                group.setDayStart(r.minutes(3));
                group.setDayEnd(r.minutes(4));
                group.setInterval(r.minutes(5));
                if (r.minutes(5) <= 0) {  // the group record would refuse it without saying why
                    f = {err::InvalidCall, 5,
                         QString("Line %1: the group \"%2\" has a slot length of %3 minutes; "
                                 "a group's slots are at least 1 minute long.")
                             .arg(QString::number(r.lineNo), r.text(2),
                                  QString::number(r.minutes(5)))};
                    return false;
                }
                if (group.Save() == 0) return notSaved(r);
                break;
            case 'R':
                fillMember(resource, &ClsResource::setResourceName, group.GroupId(), r);
                if (resource.Save() == 0) return notSaved(r);
                resources.add(r.text(2), lastResource = resource.ResourceId());
                break;
            case 'T':
                fillMember(task, &ClsTask::setTaskName, group.GroupId(), r);
                task.setColour(r.number(6));
                if (task.Save() == 0) return notSaved(r);
                tasks.add(r.text(2), lastTask = task.TaskId());
                break;
            case 'C':
                customer.InitBfr();
                customer.setCustomerName(r.text(2));
                BackupWork::Panel("Person", r.text(2));
                customer.setRef01(r.text(3));
                customer.setRef02(r.text(4));
                customer.setRef03(r.text(5));
                if (customer.Save() == 0) return notSaved(r);
                customers.add(r.text(2), customer.CustomerId());
                if (r.forBookings) {
                    forBookings.insert(customer.CustomerId());
                    break;
                }
                if (!link(customer.CustomerId())) return notSaved(r);
                lastCustomer = customer.CustomerId();
                break;
            case 'A': {
                if (!withBookings) break;
                if (impossibleTimes(r.minutes(6), r.minutes(7))) {
                    ++report.badTimes;
                    break;
                }
                const BookingParts parts = partsOf(r, resources, tasks, customers);
                if (!parts.resource || !parts.task || (!parts.noCustomer && !parts.customer)) {
                    ++(!parts.resource ? report.noResource
                       : !parts.task   ? report.noType
                                       : report.noCustomer);
                    break;
                }
                lastResource = parts.resource;
                lastTask = parts.task;
                if (!parts.noCustomer) lastCustomer = parts.customer;
                booking.InitBfr();
                booking.setResourceId(parts.resource);
                booking.setTaskId(parts.task);
                booking.setCustomerId(parts.customer);
                booking.setBookingDate(r.number(5));
                BackupWork::Panel("Person", BackupWork::DayText(r.number(5)));
                booking.setBookingStart(r.minutes(6));
                booking.setBookingEnd(r.minutes(7));
                booking.setRef01(r.text(8));
                booking.setRef02(r.text(9));
                booking.setRef03(r.text(10));
                booking.setComments(r.text(11));
                if (booking.Save() != 0) {
                    if (parts.alike) ++report.alike;
                    if (forBookings.remove(parts.customer) && !link(parts.customer))
                        return notSaved(r);
                    break;
                }
                // A booking over one restored before it is refused, as any clash is;
                // any other refusal (or none found, or none read) is a failed write.
                if (booking.GetBookingId(booking.ResourceId(), booking.BookingDate(),
                                         booking.BookingStart(), booking.BookingEnd(), 0) <= 0)
                    return notSaved(r);
                ++(parts.alikeResource ? report.alikeClashes : report.clashes);
                break;
            }
            default:
                break;
        }
    }
    for (int32_t id : forBookings) {
        sql = "delete from tblCustomers where CustomerId = ?";
        if (!db.SqlAction(sql, {id})) {
            f = {err::DbGeneric, 4, "The database is busy or cannot be written."};
            return false;
        }
    }
    // The restore is whole: the shared records are left as their Load leaves them, and one
    // that cannot be read now keeps what it held (a window reads what it shows itself).
    if (lastResource) static_cast<void>(resource.Load(lastResource));
    if (lastTask) static_cast<void>(task.Load(lastTask));
    if (lastCustomer && !forBookings.contains(lastCustomer))
        static_cast<void>(customer.Load(lastCustomer));
    else if (forBookings.contains(customer.CustomerId()))
        customer.InitBfr();  // it holds none of those removed
    return true;
}

// The engine set for rebuilding the tables while a restore runs, and set back afterwards:
// a page cache large enough that changed pages stay in memory until the commit instead of
// going to the file again and again, and each statement's undo record in memory (on disk,
// every statement of the long transaction would write a file of its own). Sorts of the
// ordinary queries are quicker with the engine's own temporary files, so that stays their
// way.
class BulkSettings {
public:
    explicit BulkSettings(sqlite3* db)
        : m_db(db), m_cacheSize(read("cache_size", -2000)), m_tempStore(read("temp_store", 0)) {
        set("cache_size", -65536);  // KiB
        set("temp_store", 2);       // memory
    }
    ~BulkSettings() {
        set("temp_store", m_tempStore);
        set("cache_size", m_cacheSize);
    }
    BulkSettings(const BulkSettings&) = delete;
    BulkSettings& operator=(const BulkSettings&) = delete;

private:
    int64_t read(const char* pragma, int64_t fallback) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QByteArray("PRAGMA ") + pragma;
        int64_t value = fallback;
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            value = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        return value;
    }
    void set(const char* pragma, int64_t value) {
        dao::Failure ignored;
        const QByteArray sql = QByteArray("PRAGMA ") + pragma + " = " + QByteArray::number(value);
        dao::Exec(m_db, sql.constData(), ignored, 1);
    }
    sqlite3* m_db;
    int64_t m_cacheSize, m_tempStore;  // the program's own
};

}  // namespace

bool ClsDAO::Restore(const QString& File) {
    m_lastRestore = RestoreReport{};
    const QString busy = "Another backup or restore is running.";
    if (BackupWork::Running()) {
        m_lastRestore.refusal = busy;
        return false;
    }
    QString sql("");  // the last statement built, for the log
    dao::Failure f;
    // Why a restore is refused is said twice: in the log, with the file, and to the user.
    auto refuse = [&] {
        m_lastRestore.refusal = f.description;
        logFailure("Restore", {f.number, f.line, File + ": " + f.description}, sql);
        return false;
    };
    std::vector<Record> records;
    bool marked = false;
    if (!BackupReader::Read(File, records, marked, f)) return refuse();
    // Asked before the lock is taken, so no other restore or backup waits on the answer.
    if (!marked) {
        IHostWindow* host = SharedObjects::Host();
        if (!host || !host->Confirm("The backup file " + File +
                                    " has no mark of its end: it may be an older backup, or "
                                    "one that was cut short. Restore from a file that may be "
                                    "incomplete?")) {
            SharedObjects::Log().LogMsg("ClsDAO.Restore: " + File +
                                        " has no end mark; not restored, as the user chose");
            m_lastRestore.declined = true;
            return false;
        }
    }
    dao::Guard guard;
    if (!guard.Lock("_Backup")) {
        m_lastRestore.refusal = busy;
        return false;
    }
    BackupWork work;
    RestoreReport report;
    bool ok = false;
    {
        BulkSettings bulk(m_db);
        DbTransaction tx(*this);
        if (!tx.ok()) {
            f = {err::DbLocked, 4, "The database is busy or cannot be written."};
        } else {
            ok = replaceTables(*this, records, DlgRestore::AddAppointments(), sql, f, report);
            if (ok && !tx.Commit()) {
                f = {err::DbGeneric, 6, "The database is busy or cannot be written."};
                ok = false;
            }
        }
    }
    if (!ok) return refuse();
    m_lastRestore = report;
    auto log = [](const QString& line) { SharedObjects::Log().LogMsg("ClsDAO.Restore: " + line); };
    if (report.groupsLeftOut > 0)
        log(QString("%1 group(s) of %2 left out with their lines: a day that ends before it "
                    "starts")
                .arg(QString::number(report.groupsLeftOut), File));
    if (report.LostBookings() > 0)
        log(QString("%1 booking(s) of %2 not restored (no such resource %3, no such type %4, "
                    "no such customer %5, clashes %6, impossible times %7, group left out %8, "
                    "clashes on the first of resources named alike %9)")
                .arg(QString::number(report.LostBookings()), File,
                     QString::number(report.noResource), QString::number(report.noType),
                     QString::number(report.noCustomer), QString::number(report.clashes),
                     QString::number(report.badTimes), QString::number(report.inGroupLeftOut),
                     QString::number(report.alikeClashes)));
    if (report.alike > 0)
        log(QString("%1 booking(s) of %2 restored on the first of records named alike")
                .arg(QString::number(report.alike), File));
    return ok;
}
