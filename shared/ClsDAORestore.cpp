// ClsDAO: the restore of a backup file (the format is described in ClsDAOBackup.cpp).
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <cstring>
#include <vector>

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

// The numbers the runtime gives these file faults.
constexpr int kInputPastEnd = 62;
constexpr int kBadFileFormat = 321;

// What each record kind holds after its letter: t = text, s = 16-bit number,
// l = 32-bit number.
struct Layout {
    char kind;
    const char* fields;
};
constexpr Layout kLayouts[] = {
    {'G', "tsss"}, {'R', "tsss"}, {'T', "tsssl"}, {'C', "tttt"}, {'A', "tttlsstttt"}};

const Layout* layoutOf(QChar kind) {
    for (const Layout& l : kLayouts)
        if (kind == QLatin1Char(l.kind)) return &l;
    return nullptr;
}

// A field written as plain decimal (an optional minus, digits only) that fits the width.
bool isPlainNumber(const QString& text, char width) {
    const qsizetype digits = text.size() - (text.startsWith(u'-') ? 1 : 0);
    if (digits < 1 || digits > 10) return false;
    for (qsizetype i = text.size() - digits; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9') return false;
    const qlonglong v = text.toLongLong();
    return width == 's' ? v >= INT16_MIN && v <= INT16_MAX : v >= INT32_MIN && v <= INT32_MAX;
}

// One checked line of a backup file. Fields count from 1, the letter being field 1.
struct Record {
    char kind;
    QStringList fields;
    int lineNo;
    QString text(int field) const { return fields.value(field - 1); }
    int32_t number(int field) const { return fields.value(field - 1).toInt(); }
    int16_t minutes(int field) const { return static_cast<int16_t>(number(field)); }
};

// Checks the end mark (the file's last line) against the lines of each kind the file holds
// before it; false (with f set) for a mark that is not as the writer makes it, or whose
// counts differ: lines were lost or added after the backup was written.
bool checkEnd(const QString& mark, int lineNo, const QHash<QChar, int>& held, const QString& file,
              dao::Failure& f) {
    const QStringList fields = mark.split(u'~');
    QHash<QChar, int> counted;
    bool wellFormed = fields.size() % 2 == 1;
    for (qsizetype k = 1; wellFormed && k + 1 < fields.size(); k += 2) {
        wellFormed = fields[k].size() == 1 && !counted.contains(fields[k][0]) &&
                     isPlainNumber(fields[k + 1], 'l');
        if (wellFormed) counted.insert(fields[k][0], fields[k + 1].toInt());
    }
    for (const char* kind = dao::kBackupKinds; wellFormed && *kind; ++kind)
        wellFormed = counted.contains(QLatin1Char(*kind));
    if (!wellFormed) {
        f = {kBadFileFormat, 3,
             QString("Line %1 of %2 is not an end mark").arg(QString::number(lineNo), file)};
        return false;
    }
    for (auto c = counted.cbegin(); c != counted.cend(); ++c) {
        if (held.value(c.key()) == c.value()) continue;
        f = {kInputPastEnd, 3,
             QString("%1 is incomplete: its end mark counts %2 %3 line(s), the file holds %4")
                 .arg(file, QString::number(c.value()), QString(c.key()),
                      QString::number(held.value(c.key())))};
        return false;
    }
    return true;
}

// Reads the whole file and checks every line against its layout; false (with f set) for a
// file that cannot be read, is not UTF-8, ends inside a line, holds no record, has a line
// of a known kind that is not as the writer makes it, or has an end mark whose counts
// differ. Lines of another kind are skipped, as they always were. marked tells whether the
// file ends with its mark: one without it (an older backup) may have lost lines at its end.
bool readBackup(const QString& file, std::vector<Record>& records, bool& marked, dao::Failure& f) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        f = {in.exists() ? err::PathFileAccess : err::FileNotFound, 2,
             "Cannot open " + file + ": " + in.errorString()};
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        f = {err::DeviceIo, 2, "Cannot read " + file + ": " + in.errorString()};
        return false;
    }
    in.close();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString content = utf8(bytes);  // a leading BOM is skipped
    if (utf8.hasError()) {
        f = {kBadFileFormat, 3, file + " is not UTF-8 text"};
        return false;
    }
    QStringList lines = content.split(u'\n');
    // The writer ends every line, so text after the last line end means a cut-off file.
    if (!lines.takeLast().isEmpty()) {
        f = {kInputPastEnd, 3,
             QString("%1 ends inside line %2: the file is incomplete")
                 .arg(file, QString::number(lines.size() + 1))};
        return false;
    }
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    qsizetype last = lines.size() - 1;  // the last line that holds anything
    while (last >= 0 && lines[last].isEmpty()) --last;
    QHash<QChar, int> held;  // lines of each kind, by their letter
    marked = false;
    for (int i = 0; i <= last; ++i) {
        const QString& line = lines[i];
        if (line.isEmpty()) continue;
        if (i == last && line.startsWith(QString(dao::kBackupEnd) + '~')) {
            if (!checkEnd(line, i + 1, held, file, f)) return false;
            marked = true;
            break;
        }
        ++held[line[0]];
        const Layout* layout = layoutOf(line[0]);
        if (!layout) continue;
        Record r{layout->kind, line.split(u'~'), i + 1};
        const auto expected = static_cast<qsizetype>(strlen(layout->fields)) + 1;
        if (r.fields.size() != expected || r.fields[0].size() != 1) {
            f = {kBadFileFormat, 3,
                 QString("Line %1 of %2 is not a %3 line of %4 fields")
                     .arg(QString::number(r.lineNo), file, QString(QLatin1Char(layout->kind)),
                          QString::number(expected))};
            return false;
        }
        for (int k = 2; k <= expected; ++k) {
            const char width = layout->fields[k - 2];
            if (width != 't' && !isPlainNumber(r.text(k), width)) {
                f = {err::TypeMismatch, 3,
                     QString("Line %1 of %2, field %3: \"%4\" is not a %5-bit number")
                         .arg(QString::number(r.lineNo), file, QString::number(k), r.text(k),
                              width == 's' ? "16" : "32")};
                return false;
            }
        }
        records.push_back(std::move(r));
    }
    if (records.empty()) {
        f = {kBadFileFormat, 3, file + " holds no records"};
        return false;
    }
    return true;
}

// Resources and appointment types share their lines' shape: a name and three durations,
// in the current group.
template <typename Member>
void fillMember(Member& member, void (Member::*setName)(const QString&), int32_t groupId,
                const Record& r) {
    member.InitBfr();
    member.setGroupId(groupId);
    (member.*setName)(r.text(2));
    BackupWork::Panel("Person", r.text(2));
    member.setMinTime(r.minutes(3));
    member.setMaxTime(r.minutes(4));
    member.setInitTime(r.minutes(5));
}

// A name as the database compares names (COLLATE NOCASE): letters A to Z without case,
// every other character as it is.
QString nameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    return key;
}

// The restored records of one group by name. A name is found as written, case and all,
// when the group has a record of that name; only otherwise as the lookup by name in the
// database finds it (the tables hold nothing else): the first one of a name, case aside.
// So records whose names differ only in case each keep their own bookings.
class NameIndex {
public:
    void clear() {
        m_exact.clear();
        m_folded.clear();
    }
    void add(const QString& name, int32_t id) {
        if (!m_exact.contains(name)) m_exact.insert(name, id);
        const QString key = nameKey(name);
        if (!m_folded.contains(key)) m_folded.insert(key, id);
    }
    int32_t find(const QString& name) const {
        if (auto exact = m_exact.constFind(name); exact != m_exact.cend()) return *exact;
        return m_folded.value(nameKey(name), 0);
    }

private:
    QHash<QString, int32_t> m_exact, m_folded;
};

// Empties the scheduling tables and rebuilds them from the checked records. Runs inside
// the caller's transaction, which keeps every repeated statement parsed once: false
// (with f set) means it is to be rolled back. The shared records end holding the last
// record of each kind written or found.
bool replaceTables(ClsDAO& db, const std::vector<Record>& records, bool withBookings, QString& sql,
                   dao::Failure& f, ClsDAO::RestoreReport& lost) {
    for (const char* table : {"tblBookings", "tblCustomerGroups", "tblCustomers", "tblGroups",
                              "tblRepeats", "tblResources", "tblTasks"}) {
        sql = QString("delete from ") + table;
        if (!db.SqlAction(sql)) {
            f = {err::DbGeneric, 4, QString("Cannot empty ") + table};
            return false;
        }
    }
    ClsGroup& group = SharedObjects::Group();
    ClsResource& resource = SharedObjects::Resource();
    ClsTask& task = SharedObjects::Task();
    ClsCustomer& customer = SharedObjects::Customer();
    ClsBooking& booking = SharedObjects::Booking();
    group.InitBfr();                        // lines before the first G line belong to group 0
    NameIndex resources, tasks, customers;  // of the current group
    int32_t lastResource = 0, lastTask = 0, lastCustomer = 0;
    EventYield events;

    auto notSaved = [&f](const Record& r) {
        f = {err::DbGeneric, 5,
             QString("Line %1: the %2 \"%3\" could not be saved")
                 .arg(QString::number(r.lineNo), QString(QLatin1Char{r.kind}), r.text(2))};
        return false;
    };
    for (const Record& r : records) {
        events.Sometimes();
        switch (r.kind) {
            case 'G':
                group.InitBfr();
                group.setGroupName(r.text(2));
                BackupWork::Panel("Task", r.text(2));
                group.setDayStart(r.minutes(3));
                group.setDayEnd(r.minutes(4));
                group.setInterval(r.minutes(5));
                if (group.Save() == 0) return notSaved(r);
                resources.clear();
                tasks.clear();
                customers.clear();
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
                sql = "insert into tblCustomerGroups (GroupId, CustomerId) values (?, ?)";
                if (!db.SqlAction(sql, {group.GroupId(), customer.CustomerId()}))
                    return notSaved(r);
                customers.add(r.text(2), lastCustomer = customer.CustomerId());
                break;
            case 'A': {
                if (!withBookings) break;
                booking.InitBfr();
                // An empty customer field is a booking without a customer.
                const bool noCustomer = r.text(4).isEmpty();
                const int32_t resourceId = resources.find(r.text(2));
                const int32_t taskId = resourceId ? tasks.find(r.text(3)) : 0;
                const int32_t customerId = noCustomer || !taskId ? 0 : customers.find(r.text(4));
                if (!resourceId || !taskId || (!noCustomer && !customerId)) {
                    ++(!resourceId ? lost.noResource : !taskId ? lost.noType : lost.noCustomer);
                    break;
                }
                lastResource = resourceId;
                lastTask = taskId;
                if (!noCustomer) lastCustomer = customerId;
                booking.setResourceId(resourceId);
                booking.setTaskId(taskId);
                booking.setCustomerId(customerId);
                booking.setBookingDate(r.number(5));
                BackupWork::Panel("Person", BackupWork::DayText(r.number(5)));
                booking.setBookingStart(r.minutes(6));
                booking.setBookingEnd(r.minutes(7));
                booking.setRef01(r.text(8));
                booking.setRef02(r.text(9));
                booking.setRef03(r.text(10));
                booking.setComments(r.text(11));
                if (booking.Save() != 0) break;
                // A booking over one restored before it is refused, as any clash is;
                // any other refusal is a failed write.
                if (booking.GetBookingId(booking.ResourceId(), booking.BookingDate(),
                                         booking.BookingStart(), booking.BookingEnd(), 0) == 0)
                    return notSaved(r);
                ++lost.clashes;
                break;
            }
            default:
                break;
        }
    }
    if (lastResource) resource.Load(lastResource);
    if (lastTask) task.Load(lastTask);
    if (lastCustomer) customer.Load(lastCustomer);
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
    if (BackupWork::Running()) return false;
    QString sql("");  // the last statement built, for the log
    dao::Failure f;
    std::vector<Record> records;
    bool marked = false;
    if (!readBackup(File, records, marked, f)) {
        logFailure("Restore", f, sql);
        return false;
    }
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
    if (!guard.Lock("_Backup")) return false;
    BackupWork work;
    RestoreReport report;
    bool ok = false;
    {
        BulkSettings bulk(m_db);
        DbTransaction tx(*this);
        if (!tx.ok()) {
            f = {err::DbLocked, 4, "Cannot begin the transaction"};
        } else {
            ok = replaceTables(*this, records, DlgRestore::AddAppointments(), sql, f, report);
            if (ok && !tx.Commit()) {
                f = {err::DbGeneric, 6, "Cannot commit the restored tables"};
                ok = false;
            }
        }
    }
    if (!ok) {
        logFailure("Restore", f, sql);
    } else if (report.LostBookings() > 0) {
        m_lastRestore = report;
        SharedObjects::Log().LogMsg(
            QString("ClsDAO.Restore: %1 booking(s) of %2 not restored (no such resource %3, "
                    "no such type %4, no such customer %5, clashes %6)")
                .arg(QString::number(report.LostBookings()), File,
                     QString::number(report.noResource), QString::number(report.noType),
                     QString::number(report.noCustomer), QString::number(report.clashes)));
    }
    return ok;
}
