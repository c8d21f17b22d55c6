// ClsDAO: the backup file and its writing (the restore is in ClsDAORestore.cpp).
//
// A backup file is text, one record a line: a letter, then the record's fields, each
// preceded by "~"; numbers in plain decimal. Every R, T, C and A line belongs to the
// G line before it, and the names in an A line name records of that group:
//   G~GroupName~DayStart~DayEnd~Interval
//   R~ResourceName~MinTime~MaxTime~InitTime
//   T~TaskName~MinTime~MaxTime~InitTime~Colour
//   C~CustomerName~Ref01~Ref02~Ref03
//   A~ResourceName~TaskName~CustomerName~BookingDate~BookingStart~BookingEnd~Ref01~Ref02~
//     Ref03~Comments                                              (one line in the file)
// A record line carries its texts plainly: a "~" or a line break as a blank. Names alike
// cannot tell records apart, so lines of their own (which older readers skip) add:
//   K~<resource>~<type>~<customer>   after every A line: the numbers of its records among
//                                    the R, T and C lines of its group, from 1; 0: none of
//                                    them (an empty customer name then means no customer;
//                                    a customer named beside 0, as earlier versions wrote
//                                    one not of the group, is the group's of that name)
//   Q~<text>~<text>...               after a record line whose texts were written plainly:
//                                    all its texts whole, escaped (BackupFormat::Escaped)
//   U                                after a C line (and its Q line) of a customer who is
//                                    not of the group, written for its bookings there
// The first line tells a backup of this program, which always ends with its mark:
//   V~Rostima backup~1
// The last line marks the file whole: each kind with the number of its lines,
//   E~G~<groups>~R~<resources>~T~<types>~C~<customers>~A~<bookings>~K~<keys>~Q~<texts>~
//     U~<customers for bookings>                                  (one line in the file)
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <charconv>
#include <optional>

#include "AppInfo.h"
#include "BackupFormat.h"
#include "BackupWork.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsDAO.h"
#include "ClsGroup.h"
#include "ClsLogging.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "DaoInternals.h"
#include "ErrorText.h"
#include "EventYield.h"
#include "SharedObjects.h"
#include "WholeFile.h"

namespace {

// The backup's lines, gathered and handed to the file in large pieces.
class LineWriter {
public:
    explicit LineWriter(plat::WholeFile& out) : m_out(out) {}
    // A line: its letter, then each field after a "~"; then, when a text could not be
    // written as it is, the Q line that carries its texts whole.
    template <typename... Fields>
    void put(char letter, const Fields&... fields) {
        m_texts.clear();
        m_changed = false;
        line(letter, fields...);
        if (!m_changed) return;
        m_bytes += BackupFormat::kExact;
        ++m_lines[static_cast<unsigned char>(BackupFormat::kExact)];
        for (const QString& text : m_texts) {
            m_bytes += '~';
            m_bytes += BackupFormat::Escaped(text).toUtf8();
        }
        m_bytes += '\n';
    }
    // The first line, which no end mark counts: the file is a backup of this program.
    void putFirst() {
        m_bytes += BackupFormat::kFirst;
        m_bytes += '~';
        m_bytes += BackupFormat::kFirstMark;
        field(BackupFormat::kFormat);
        m_bytes += '\n';
    }
    // The last line: the number of lines of each kind written before it.
    void putEnd() {
        m_bytes += BackupFormat::kEnd;
        for (const char* kind = BackupFormat::kCounted; *kind; ++kind) {
            m_bytes += '~';
            m_bytes += *kind;
            field(m_lines[static_cast<unsigned char>(*kind)]);
        }
        m_bytes += '\n';
    }
    // A piece that is not written whole is told by the file's commit.
    void flush() {
        m_out.Append(m_bytes);
        m_bytes.clear();
    }

private:
    static constexpr qsizetype kPiece = 1 << 20;
    template <typename... Fields>
    void line(char letter, const Fields&... fields) {
        ++m_lines[static_cast<unsigned char>(letter)];
        m_bytes += letter;
        (field(fields), ...);
        m_bytes += '\n';
        if (m_bytes.size() >= kPiece) flush();
    }
    void field(const QString& text) {
        m_texts << text;
        m_changed = m_changed || BackupFormat::NeedsExact(text);
        m_bytes += '~';
        m_bytes += BackupFormat::Plain(text).toUtf8();
    }
    void field(int32_t number) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        m_bytes += '~';
        m_bytes.append(digits, end - digits);
    }
    plat::WholeFile& m_out;
    QByteArray m_bytes;
    int32_t m_lines[256] = {};  // by letter
    QStringList m_texts;        // of the line being written
    bool m_changed = false;     // one of them lost a character to be written
};

// Names of the records that bookings name, by id, as the record's Load gives them: those
// of the group's own lines are known already, any other is read once. A record that is
// gone gives an empty name; one that does not load (a null column) is loaded each time it
// is named, as before, so its log line and its name stay as its Load makes them.
template <typename Record>
class NamesById {
public:
    NamesById(ClsDAO& db, const char* table, const char* idColumn, QString (Record::*name)() const)
        : m_db(db),
          m_sql(QString("select * from %1 where %2 = ").arg(table, idColumn)),
          m_name(name) {}
    void add(int32_t id, const QString& name) { m_known.insert(id, name); }
    // None when the database could not be read: the backup stops rather than write a
    // name it did not read.
    [[nodiscard]] std::optional<QString> of(int32_t id) {
        if (auto known = m_known.constFind(id); known != m_known.cend()) return *known;
        auto rs = m_db.SqlQuery(m_sql + QString::number(id));
        if (!rs) return std::nullopt;
        if (rs->Eof()) {
            add(id, QString());
        } else if (m_scratch.LoadFrom(*rs)) {
            add(id, (m_scratch.*m_name)());
        } else {
            // Load logs what keeps the record from loading; its name is then what it had
            // copied before the null column, as the record's Load leaves it.
            if (m_scratch.Load(id).Failed()) return std::nullopt;
            return (m_scratch.*m_name)();
        }
        return m_known.value(id);
    }

private:
    ClsDAO& m_db;
    QString m_sql;
    QString (Record::*m_name)() const;
    QHash<int32_t, QString> m_known;
    Record m_scratch;
};

// Writes the backup into a work file beside File, which takes File's place only when
// every line was written: a failed backup never leaves a partial file under that name.
// Each table is read once a group; the values written are those the record classes load
// from the rows, and the shared records end holding the last record of each kind.
Saved writeBackup(ClsDAO& db, const QString& file, QString& sql, dao::Failure& f) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    plat::WholeFile out(file);
    if (const plat::WholeFile::Result opened = out.Open(); opened.Failed()) {
        f = {err::PathFileAccess, 2, opened.LogText()};
        return Saved(opened);
    }
    LineWriter lines(out);
    lines.putFirst();
    EventYield events;
    // Runs the query and hands each row to write, letting window events run now and
    // then; false when the query gave no record set or write could not read a row's names
    // (write set why).
    auto eachRow = [&](const QString& text, int step, auto write) {
        sql = text;
        auto rs = db.SqlQuery(text);
        if (!rs) {
            f = {err::ObjectNotSet, step, "The query gave no record set"};
            return false;
        }
        for (; !rs->Eof(); rs->MoveNext()) {
            events.Sometimes();
            if (!write(*rs)) return false;
        }
        return true;
    };
    ClsGroup& group = SharedObjects::Group();
    ClsResource resource;
    ClsTask task;
    ClsCustomer customer;
    ClsBooking booking;
    NamesById<ClsResource> resources(db, "tblResources", "ResourceId", &ClsResource::ResourceName);
    NamesById<ClsTask> tasks(db, "tblTasks", "TaskId", &ClsTask::TaskName);
    NamesById<ClsCustomer> customers(db, "tblCustomers", "CustomerId", &ClsCustomer::CustomerName);
    int32_t lastResource = 0, lastTask = 0, lastCustomer = 0;
    bool anyBooking = false;
    // The group's records by id: the numbers of their lines in the group, from 1, by
    // which a K line tells records named alike apart.
    QHash<int32_t, int32_t> resourceNo, taskNo, customerNo;
    auto number = [](QHash<int32_t, int32_t>& numbers, int32_t id) {
        numbers.insert(id, static_cast<int32_t>(numbers.size()) + 1);
    };

    // A row with a Null column does not load as a record (its class's Load logs why); it
    // is written from its row all the same, Null texts as empty ones and Null numbers as
    // the record's defaults, so the restore that replaces every table does not lose it.
    auto num = [](const ClsRecordset& row, const char* name, int32_t fallback) {
        const DbValue& v = row.Field(name);
        return v.isNull() ? fallback : v.toInt();
    };
    auto time = [&](const ClsRecordset& row, const char* name, int32_t fallback) {
        return static_cast<int16_t>(num(row, name, fallback));
    };
    auto fillMember = [&](ClsGroupMember& member, const ClsRecordset& row) {
        member.setMinTime(time(row, "MinTime", group.Interval()));
        member.setMaxTime(time(row, "MaxTime", group.DayEnd() - group.DayStart()));
        member.setInitTime(time(row, "InitTime", group.Interval()));
    };
    auto writeResource = [&](const ClsRecordset& row) {
        lastResource = row.Field("ResourceId").toInt();
        if (!resource.LoadFrom(row)) {
            // For its log line only: the line is written from the row's own columns.
            static_cast<void>(resource.Load(lastResource));
            resource.setResourceName(row.Field("ResourceName").toString());
            fillMember(resource, row);
        }
        resources.add(lastResource, resource.ResourceName());
        number(resourceNo, lastResource);
        BackupWork::Panel("Person", resource.ResourceName());
        lines.put('R', resource.ResourceName(), resource.MinTime(), resource.MaxTime(),
                  resource.InitTime());
        return true;
    };
    auto writeTask = [&](const ClsRecordset& row) {
        lastTask = row.Field("TaskId").toInt();
        if (!task.LoadFrom(row)) {
            // For its log line only: the line is written from the row's own columns.
            static_cast<void>(task.Load(lastTask));
            task.setTaskName(row.Field("TaskName").toString());
            task.setColour(num(row, "Colour", 255));
            fillMember(task, row);
        }
        tasks.add(lastTask, task.TaskName());
        number(taskNo, lastTask);
        BackupWork::Panel("Person", task.TaskName());
        lines.put('T', task.TaskName(), task.MinTime(), task.MaxTime(), task.InitTime(),
                  task.Colour());
        return true;
    };
    auto writeCustomer = [&](const ClsRecordset& row) {
        lastCustomer = row.Field("CustomerId").toInt();
        if (!customer.LoadFrom(row)) {
            // For its log line only: the line is written from the row's own columns.
            static_cast<void>(customer.Load(lastCustomer));
            customer.setCustomerName(row.Field("CustomerName").toString());
            customer.setRef01(row.Field("Ref01").toString());
            customer.setRef02(row.Field("Ref02").toString());
            customer.setRef03(row.Field("Ref03").toString());
        }
        customers.add(lastCustomer, customer.CustomerName());
        number(customerNo, lastCustomer);
        BackupWork::Panel("Person", customer.CustomerName());
        lines.put('C', customer.CustomerName(), customer.Ref01(), customer.Ref02(),
                  customer.Ref03());
        if (row.Field("OfGroup").toInt() == 0) lines.put(BackupFormat::kForBookings);
        return true;
    };
    auto writeBooking = [&](const ClsRecordset& row) {
        // A booking whose texts are null does not load as a record; it is written from
        // its row all the same (null texts as empty ones), never left out of the backup.
        if (!booking.LoadFrom(row)) {
            // For its log line only: the line is written from the row's own columns.
            static_cast<void>(booking.Load(row.Field("BookingId").toInt()));
            booking.InitBfr();
            booking.setResourceId(row.Field("ResourceId").toInt());
            booking.setTaskId(row.Field("TaskId").toInt());
            booking.setCustomerId(row.Field("CustomerId").toInt());
            booking.setBookingDate(row.Field("BookingDate").toInt());
            booking.setBookingStart(static_cast<int16_t>(row.Field("BookingStart").toInt()));
            booking.setBookingEnd(static_cast<int16_t>(row.Field("BookingEnd").toInt()));
            booking.setRef01(row.Field("Ref01").toString());
            booking.setRef02(row.Field("Ref02").toString());
            booking.setRef03(row.Field("Ref03").toString());
            booking.setComments(row.Field("Comments").toString());
        }
        anyBooking = true;
        BackupWork::Panel("Person", BackupWork::DayText(row.Field("BookingDate").toInt()));
        // A record that does not load gives an empty name: a booking without a customer
        // is written with an empty customer field.
        lastResource = booking.ResourceId();
        lastTask = booking.TaskId();
        lastCustomer = booking.CustomerId();
        const auto resourceName = resources.of(lastResource);
        const auto taskName = tasks.of(lastTask);
        const auto customerName = customers.of(lastCustomer);
        if (!resourceName || !taskName || !customerName) {
            f = {err::ObjectNotSet, 7, "The names of a booking could not be read"};
            return false;
        }
        lines.put('A', *resourceName, *taskName, *customerName, booking.BookingDate(),
                  booking.BookingStart(), booking.BookingEnd(), booking.Ref01(), booking.Ref02(),
                  booking.Ref03(), booking.Comments());
        lines.put(BackupFormat::kKeys, resourceNo.value(lastResource), taskNo.value(lastTask),
                  customerNo.value(lastCustomer));
        return true;
    };
    // The group's block: its G line, then its resources, types, customers and bookings.
    auto writeGroup = [&](const ClsRecordset& row) {
        const QString gid = row.Field("GroupId").toString();
        if (group.Load(row.Field("GroupId").toInt()) != Loaded::Row) {
            group.InitBfr();
            group.setGroupName(row.Field("GroupName").toString());
            group.setDayStart(time(row, "DayStart", 0));
            group.setDayEnd(time(row, "DayEnd", 1440));
            group.setInterval(time(row, "Interval", 5));
        }
        BackupWork::Panel("Task", group.GroupName());
        resourceNo.clear();
        taskNo.clear();
        customerNo.clear();
        lines.put('G', group.GroupName(), group.DayStart(), group.DayEnd(), group.Interval());
        return eachRow(
                   "select * from tblResources where GroupId = " + gid + " order by ResourceName",
                   4, writeResource) &&
               eachRow("select * from tblTasks where GroupId = " + gid + " order by TaskName", 5,
                       writeTask) &&
               // The group's customers and any other its bookings name (a customer's group
               // can be unticked while bookings there remain): numbered by the K lines, such
               // a booking comes back with its customer, who is then of the group too. A U
               // line marks such a customer, which a restore without bookings leaves out.
               eachRow(
                   "select *, CustomerId in (select CustomerId from tblCustomerGroups where "
                   "GroupId = " +
                       gid +
                       ") as OfGroup from tblCustomers where CustomerId in (select CustomerId "
                       "from tblCustomerGroups where GroupId = " +
                       gid +
                       " union select b.CustomerId from tblBookings b join "
                       "tblResources r on r.ResourceId = b.ResourceId where r.GroupId = " +
                       gid + ")",
                   6, writeCustomer) &&
               eachRow(
                   "select * from tblBookings where ResourceId in (select ResourceId from "
                   "tblResources where GroupId = " +
                       gid + ") order by BookingDate, BookingStart",
                   7, writeBooking);
    };
    if (!eachRow("select * from tblGroups order by GroupName", 3, writeGroup))
        return Saved::NotRead;
    lines.putEnd();
    lines.flush();
    if (const plat::WholeFile::Result written = out.Commit(); written.Failed()) {
        f = {err::DeviceIo, 8, written.LogText()};
        return Saved(written);
    }
    // The backup is whole: the shared records are left as their Load leaves them, and one
    // that cannot be read now keeps what it held (a window reads what it shows itself).
    if (lastResource) static_cast<void>(SharedObjects::Resource().Load(lastResource));
    if (lastTask) static_cast<void>(SharedObjects::Task().Load(lastTask));
    if (lastCustomer) static_cast<void>(SharedObjects::Customer().Load(lastCustomer));
    if (anyBooking) SharedObjects::Booking() = booking;
    return Saved::Done;
}

}  // namespace

QString ClsDAO::BackupFolder() { return plat::AppPath() + "/Backup"; }

QString ClsDAO::GetSubStr(const QString& Line, int16_t Index) {
    if (Index < 0) {
        SharedObjects::Log().LogMsg(err::InProc("ClsDAO.GetSubStr", err::InvalidCall, 1,
                                                "Invalid procedure call or argument"));
        return QString();
    }
    return Index == 0 ? QString() : Line.split(u'~').value(Index - 1);
}

Saved ClsDAO::Backup(const QString& File) {
    dao::Guard guard;
    if (BackupWork::Running() || !guard.Lock("_Backup")) return Saved::NotRead;
    BackupWork work;
    QString sql("");  // the last statement built, for the log
    dao::Failure f;
    const Saved saved = writeBackup(*this, File, sql, f);
    if (saved.Failed()) logFailure("Backup", f, sql);
    return saved;
}
