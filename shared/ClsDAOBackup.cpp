// ClsDAO: the backup file and its restore.
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
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>
#include <cstring>
#include <vector>

#include "AppInfo.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsGroup.h"
#include "ClsLogging.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "DaoInternals.h"
#include "DlgRestore.h"
#include "ErrorText.h"
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

// A text as the format can carry it: a "~" would end the field and a line break the
// line, so both become blanks.
QString fieldText(const QString& text) {
    QString t = text;
    for (QChar& c : t)
        if (c == u'~' || c == u'\r' || c == u'\n') c = u' ';
    return t;
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

// Reads the whole file and checks every line against its layout; false (with f set) for a
// file that cannot be read, is not UTF-8, ends inside a line, holds no record, or has a
// line of a known kind that is not as the writer makes it. Lines of another kind are
// skipped, as they always were.
bool readBackup(const QString& file, std::vector<Record>& records, dao::Failure& f) {
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
    for (int i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        const Layout* layout = line.isEmpty() ? nullptr : layoutOf(line[0]);
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

void setPanel(const char* key, const QString& text) {
    if (IHostWindow* host = SharedObjects::Host()) host->SetPanelText(key, text);
}

QString dayText(int32_t day) {
    return QLocale::c().toString(SharedObjects::Date().LongToDate(day), "d MMMM yyyy");
}

// Writes the backup into a work file beside File, which takes File's place only when
// every line was written: a failed backup never leaves a partial file under that name.
bool writeBackup(ClsDAO& db, const QString& file, QString& sql, dao::Failure& f) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        f = {err::PathFileAccess, 2, "Cannot write " + file + ": " + out.errorString()};
        return false;
    }
    auto put = [&out](char letter, const QStringList& fields) {
        QString line(QLatin1Char{letter});
        for (const QString& field : fields) line += u'~' + field;
        line += u'\n';
        out.write(line.toUtf8());
    };
    // Runs the query and hands each row to write, letting window events run first; false
    // when the query gave no record set.
    auto eachRow = [&](const QString& text, int step, auto write) {
        sql = text;
        auto rs = db.SqlQuery(text);
        if (!rs) {
            f = {err::ObjectNotSet, step, "The query gave no record set"};
            return false;
        }
        for (; !rs->Eof(); rs->MoveNext()) {
            QCoreApplication::processEvents();
            write(*rs);
        }
        return true;
    };
    auto n = [](int32_t v) { return QString::number(v); };
    ClsGroup& group = SharedObjects::Group();
    ClsResource& resource = SharedObjects::Resource();
    ClsTask& task = SharedObjects::Task();
    ClsCustomer& customer = SharedObjects::Customer();
    ClsBooking& booking = SharedObjects::Booking();

    auto writeResource = [&](const ClsRecordset& row) {
        if (!resource.Load(row.Field("ResourceId").toInt())) return;
        setPanel("Person", resource.ResourceName());
        put('R', {fieldText(resource.ResourceName()), n(resource.MinTime()), n(resource.MaxTime()),
                  n(resource.InitTime())});
    };
    auto writeTask = [&](const ClsRecordset& row) {
        if (!task.Load(row.Field("TaskId").toInt())) return;
        setPanel("Person", task.TaskName());
        put('T', {fieldText(task.TaskName()), n(task.MinTime()), n(task.MaxTime()),
                  n(task.InitTime()), n(task.Colour())});
    };
    auto writeCustomer = [&](const ClsRecordset& row) {
        if (!customer.Load(row.Field("CustomerId").toInt())) return;
        setPanel("Person", customer.CustomerName());
        put('C', {fieldText(customer.CustomerName()), fieldText(customer.Ref01()),
                  fieldText(customer.Ref02()), fieldText(customer.Ref03())});
    };
    auto writeBooking = [&](const ClsRecordset& row) {
        // A booking whose texts are null does not load as a record; it is written from
        // its row all the same (null texts as empty ones), never left out of the backup.
        if (!booking.Load(row.Field("BookingId").toInt())) {
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
        setPanel("Person", dayText(row.Field("BookingDate").toInt()));
        // A record that does not load gives an empty name: a booking without a customer
        // is written with an empty customer field.
        resource.Load(booking.ResourceId());
        task.Load(booking.TaskId());
        customer.Load(booking.CustomerId());
        put('A', {fieldText(resource.ResourceName()), fieldText(task.TaskName()),
                  fieldText(customer.CustomerName()), n(booking.BookingDate()),
                  n(booking.BookingStart()), n(booking.BookingEnd()), fieldText(booking.Ref01()),
                  fieldText(booking.Ref02()), fieldText(booking.Ref03()),
                  fieldText(booking.Comments())});
    };
    // The group's block: its G line, then its resources, types, customers and bookings.
    bool blocksDone = true;
    auto writeGroup = [&](const ClsRecordset& row) {
        if (!blocksDone || !group.Load(row.Field("GroupId").toInt())) return;
        setPanel("Task", group.GroupName());
        put('G', {fieldText(group.GroupName()), n(group.DayStart()), n(group.DayEnd()),
                  n(group.Interval())});
        const QString gid = n(group.GroupId());
        blocksDone =
            eachRow("select ResourceId, ResourceName from tblResources where GroupId = " + gid +
                        " order by ResourceName",
                    4, writeResource) &&
            eachRow("select TaskId, TaskName from tblTasks where GroupId = " + gid +
                        " order by TaskName",
                    5, writeTask) &&
            eachRow(
                "select CustomerId, CustomerName from tblCustomers where CustomerId in "
                "(select CustomerId from tblCustomerGroups where GroupId = " +
                    gid + ")",
                6, writeCustomer) &&
            eachRow(
                "select * from tblBookings where ResourceId in (select ResourceId from "
                "tblResources where GroupId = " +
                    gid +
                    ") order by BookingDate, "
                    "BookingStart",
                7, writeBooking);
    };
    if (!eachRow("select GroupId, GroupName from tblGroups order by GroupName", 3, writeGroup) ||
        !blocksDone)
        return false;
    if (!out.commit()) {
        f = {err::DeviceIo, 8, "Cannot write " + file + ": " + out.errorString()};
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
    setPanel("Person", r.text(2));
    member.setMinTime(r.minutes(3));
    member.setMaxTime(r.minutes(4));
    member.setInitTime(r.minutes(5));
}

// Empties the scheduling tables and rebuilds them from the checked records. Runs inside
// the caller's transaction: false (with f set) means it is to be rolled back.
bool replaceTables(ClsDAO& db, const std::vector<Record>& records, bool withBookings, QString& sql,
                   dao::Failure& f, int& dropped) {
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
    group.InitBfr();  // lines before the first G line belong to group 0

    auto notSaved = [&f](const Record& r) {
        f = {err::DbGeneric, 5,
             QString("Line %1: the %2 \"%3\" could not be saved")
                 .arg(r.lineNo)
                 .arg(QLatin1Char{r.kind})
                 .arg(r.text(2))};
        return false;
    };
    for (const Record& r : records) {
        QCoreApplication::processEvents();
        switch (r.kind) {
            case 'G':
                group.InitBfr();
                group.setGroupName(r.text(2));
                setPanel("Task", r.text(2));
                group.setDayStart(r.minutes(3));
                group.setDayEnd(r.minutes(4));
                group.setInterval(r.minutes(5));
                if (group.Save() == 0) return notSaved(r);
                break;
            case 'R':
                fillMember(resource, &ClsResource::setResourceName, group.GroupId(), r);
                if (resource.Save() == 0) return notSaved(r);
                break;
            case 'T':
                fillMember(task, &ClsTask::setTaskName, group.GroupId(), r);
                task.setColour(r.number(6));
                if (task.Save() == 0) return notSaved(r);
                break;
            case 'C':
                customer.InitBfr();
                customer.setCustomerName(r.text(2));
                setPanel("Person", r.text(2));
                customer.setRef01(r.text(3));
                customer.setRef02(r.text(4));
                customer.setRef03(r.text(5));
                if (customer.Save() == 0) return notSaved(r);
                sql = QString("insert into tblCustomerGroups (GroupId, CustomerId) values (%1, %2)")
                          .arg(group.GroupId())
                          .arg(customer.CustomerId());
                if (!db.SqlAction(sql)) return notSaved(r);
                break;
            case 'A': {
                if (!withBookings) break;
                booking.InitBfr();
                const int32_t gid = group.GroupId();
                // An empty customer field is a booking without a customer.
                const bool noCustomer = r.text(4).isEmpty();
                if (!resource.LoadByName(r.text(2), gid) || !task.LoadByName(r.text(3), gid) ||
                    (!noCustomer && !customer.LoadByName(r.text(4), gid))) {
                    ++dropped;
                    break;
                }
                booking.setResourceId(resource.ResourceId());
                booking.setTaskId(task.TaskId());
                booking.setCustomerId(noCustomer ? 0 : customer.CustomerId());
                booking.setBookingDate(r.number(5));
                setPanel("Person", dayText(r.number(5)));
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
                ++dropped;
                break;
            }
            default:
                break;
        }
    }
    return true;
}

// While a backup or restore runs, the user cannot change the shared records (the
// window's input is off), and a second one asked for from a window event is refused at
// once rather than waiting for our own lock. The progress panels are empty afterwards.
class FileWork {
public:
    FileWork() {
        s_running = true;
        if (IHostWindow* host = SharedObjects::Host()) host->SetInputEnabled(false);
    }
    ~FileWork() {
        setPanel("Task", QString());
        setPanel("Person", QString());
        if (IHostWindow* host = SharedObjects::Host()) host->SetInputEnabled(true);
        s_running = false;
    }
    FileWork(const FileWork&) = delete;
    FileWork& operator=(const FileWork&) = delete;
    static bool Running() { return s_running; }

private:
    static inline bool s_running = false;
};

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

bool ClsDAO::Backup(const QString& File) {
    dao::Guard guard;
    if (FileWork::Running() || !guard.Lock("_Backup")) return false;
    FileWork work;
    QString sql("");  // the last statement built, for the log
    dao::Failure f;
    const bool ok = writeBackup(*this, File, sql, f);
    if (!ok) logFailure("Backup", f, sql);
    return ok;
}

bool ClsDAO::Restore(const QString& File) {
    dao::Guard guard;
    if (FileWork::Running() || !guard.Lock("_Backup")) return false;
    FileWork work;
    QString sql("");  // the last statement built, for the log
    dao::Failure f;
    std::vector<Record> records;
    int dropped = 0;  // bookings not restored: names not found in their group, clashes
    bool ok = readBackup(File, records, f);
    if (ok) {
        DbTransaction tx(*this);
        if (!tx.ok()) {
            f = {err::DbLocked, 4, "Cannot begin the transaction"};
            ok = false;
        } else {
            ok = replaceTables(*this, records, DlgRestore::AddAppointments(), sql, f, dropped);
            if (ok && !tx.Commit()) {
                f = {err::DbGeneric, 6, "Cannot commit the restored tables"};
                ok = false;
            }
        }
    }
    if (!ok) {
        logFailure("Restore", f, sql);
    } else if (dropped > 0) {
        SharedObjects::Log().LogMsg(
            QString("ClsDAO.Restore: %1 booking(s) of %2 not restored (a resource, type or "
                    "customer not found in its group, or a clash)")
                .arg(dropped)
                .arg(File));
    }
    return ok;
}
