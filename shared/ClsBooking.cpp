#include "ClsBooking.h"

#include "ClsDAO.h"
#include "ErrorText.h"
#include "SharedObjects.h"

namespace {
ClsDAO& db() { return SharedObjects::DAO(); }
void logError(const char* proc, int number, int line, const QString& desc,
              const QString& sql = QString()) {
    err::LogRecordError(QString("ClsBooking.") + proc, number, line, desc, sql);
}

// The clash rule: another booking of the resource on the day that starts inside
// [start, end), ends inside (start, end] or covers it. Touching bookings do not clash.
// Its values come from clashValues. The text never changes, so a statement made with it
// is parsed once however many bookings it tests.
const char* const kClashWhere =
    "ResourceId = ? and BookingDate = ? and (((BookingStart >= ? and BookingStart < ?) or "
    "(BookingEnd > ? and BookingEnd <= ?)) or (BookingStart < ? and BookingEnd > ?)) and "
    "BookingId <> ?";

void addClashValues(SqlValues& values, int32_t resourceId, int32_t date, int16_t start,
                    int16_t end, int32_t excludeId) {
    values.insert(values.end(),
                  {resourceId, date, start, end, start, end, start, end, excludeId});
}

// The resource and the type exist, and so does the customer unless it is 0 (none).
// Another workstation may have deleted any of them (a group, a customer) while an editor
// had them open. Its values come from addPartsValues.
const char* const kPartsExist =
    "exists (select 1 from tblResources where ResourceId = ?) and "
    "exists (select 1 from tblTasks where TaskId = ?) and "
    "(? = 0 or exists (select 1 from tblCustomers where CustomerId = ?))";

void addPartsValues(SqlValues& values, int32_t resourceId, int32_t taskId,
                    int32_t customerId) {
    values.insert(values.end(), {resourceId, taskId, customerId, customerId});
}

// What a write of a booking tests in its own statement, so that nothing another
// workstation does can come between the test and the write: no clash, and the rows it
// names exist. Its values: addClashValues, then addPartsValues.
const QString kWriteGuard =
    QString("not exists (select 1 from tblBookings where %1) and %2")
        .arg(kClashWhere, kPartsExist);

// The stored row is still the one the record read or wrote: its id, then every column an
// update writes, in the order of ClsBooking::writtenValues. An update that would undo a
// change made elsewhere since then finds no row.
const char* const kAsStored =
    "BookingId = ? and TaskId = ? and BookingDate = ? and BookingStart = ? and "
    "BookingEnd = ? and CustomerId = ? and ResourceId = ? and Ref01 = ? and Ref02 = ? and "
    "Ref03 = ? and RepeatId = ? and Comments = ?";

}  // namespace

void ClsBooking::InitBfr() {
    m_date = m_end = m_bookingId = m_start = 0;
    m_customerId = m_repeatId = m_resourceId = m_taskId = 0;
    m_comments.clear();
    m_storedId = 0;
    m_stored.clear();
}

std::optional<int32_t> ClsBooking::GetBookingId(int32_t resourceId, int32_t date, int16_t start,
                                                int16_t end, int32_t excludeId) {
    const QString sql = QString("select BookingId from tblBookings where ") + kClashWhere;
    SqlValues values;
    addClashValues(values, resourceId, date, start, end, excludeId);
    auto rs = db().SqlQuery(sql, values);
    if (!rs) {
        logError("GetBookingId", err::ObjectNotSet, 2, "No record set", sql);
        return std::nullopt;
    }
    return rs->Eof() ? 0 : rs->Field(0).toInt();
}

Loaded ClsBooking::Load(int32_t bookingId) {
    const QString sql = QString("select * from tblBookings where BookingId = %1").arg(bookingId);
    auto rs = db().SqlQuery(sql);
    if (!rs) {
        logError("Load", err::ObjectNotSet, 2, "No record set", sql);
        return Loaded::NotRead;  // a busy database is not a booking deleted
    }
    if (rs->Eof()) return Loaded::NoRow;
    if (const int line = copyRow(*rs)) {
        logError("Load", err::InvalidUseOfNull, line, "Invalid use of Null", sql);
        return Loaded::NoRow;
    }
    keepAsStored();
    return Loaded::Row;
}

bool ClsBooking::LoadFrom(const ClsRecordset& rs) {
    if (copyRow(rs) != 0) return false;
    keepAsStored();
    return true;
}

SqlValues ClsBooking::writtenValues() const {
    return {m_taskId, m_date,  m_start, m_end,      m_customerId, m_resourceId,
            m_ref01,  m_ref02, m_ref03, m_repeatId, m_comments};
}

void ClsBooking::keepAsStored() {
    m_storedId = m_bookingId;
    m_stored = writtenValues();
}

int ClsBooking::copyRow(const ClsRecordset& rs) {
    int line = 3;
    auto num = [&](const char* col, auto& field) {
        const DbValue& v = rs.Field(col);
        if (v.isNull()) return false;
        field = static_cast<std::remove_reference_t<decltype(field)>>(v.toLong());
        ++line;
        return true;
    };
    auto text = [&](const char* col, QString& field) {
        const DbValue& v = rs.Field(col);
        if (v.isNull()) return false;
        field = v.toString();
        ++line;
        return true;
    };
    // Columns in this order; a null one stops the copy there.
    const bool ok = num("BookingDate", m_date) && num("BookingEnd", m_end) &&
                    num("BookingId", m_bookingId) && num("BookingStart", m_start) &&
                    text("Ref01", m_ref01) && text("Ref02", m_ref02) && text("Ref03", m_ref03) &&
                    text("Comments", m_comments) && num("CustomerId", m_customerId) &&
                    num("RepeatId", m_repeatId) && num("ResourceId", m_resourceId) &&
                    num("TaskId", m_taskId);
    return ok ? 0 : line;
}

int32_t ClsBooking::Save() {
    // The values travel bound to the statement, so a text holding "%1" or "'" is stored
    // exactly as typed.
    const bool update = m_bookingId != 0;
    bool ran = true;  // the write ran, whether or not it changed a row
    bool wrote = false;
    if (!update) {
        // The clash test and the insert are one statement, so two workstations saving
        // overlapping bookings at once store one of them, never both.
        static const QString insert =
            QString("insert into tblBookings (TaskId, BookingDate, BookingStart, "
                    "BookingEnd, CustomerId, RepeatId, ResourceId, Ref01, Ref02, Ref03, "
                    "Comments) select ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ? where ") +
            kWriteGuard;
        SqlValues values{m_taskId, m_date,  m_start, m_end,   m_customerId, m_repeatId,
                         m_resourceId, m_ref01, m_ref02, m_ref03, m_comments};
        addClashValues(values, m_resourceId, m_date, m_start, m_end, 0);
        addPartsValues(values, m_resourceId, m_taskId, m_customerId);
        ran = db().SqlAction(insert, values);
        wrote = ran && db().LastRowsAffected() > 0;
        if (wrote) m_bookingId = static_cast<int32_t>(db().LastInsertId());
    } else if (m_storedId == m_bookingId) {
        // An update is tested against every booking but itself: a move or a resize never
        // creates an overlap. It writes only over the row as this record knew it, so two
        // workstations editing one booking never silently undo each other's change.
        static const QString update =
            QString("update tblBookings set TaskId = ?, BookingDate = ?, BookingStart = ?, "
                    "BookingEnd = ?, CustomerId = ?, ResourceId = ?, Ref01 = ?, Ref02 = ?, "
                    "Ref03 = ?, RepeatId = ?, Comments = ? where ") +
            kAsStored + " and " + kWriteGuard;
        SqlValues values = writtenValues();
        values.push_back(m_bookingId);
        values.insert(values.end(), m_stored.begin(), m_stored.end());
        addClashValues(values, m_resourceId, m_date, m_start, m_end, m_bookingId);
        addPartsValues(values, m_resourceId, m_taskId, m_customerId);
        ran = db().SqlAction(update, values);
        wrote = ran && db().LastRowsAffected() > 0;
    }
    if (!wrote) {
        // A write that failed (busy, locked, not writable) says so: asking the database
        // why would only wait for it again.
        m_refusal = ran ? refusalNow(update) : Refusal::Failed;
        return 0;
    }
    m_refusal = Refusal::None;
    keepAsStored();
    return m_bookingId;
}

// Asked after the write, which stays one guarded statement: what stands in its way now.
// A query that cannot run is no reason of the booking's own: the write failed, and it is
// told as the database's failure, never as a clash nobody saw.
ClsBooking::Refusal ClsBooking::refusalNow(bool update) {
    auto none = [](const std::unique_ptr<ClsRecordset>& rs, int column = 0) {
        return !rs->Eof() && rs->Field(column).toInt() == 0;
    };
    if (update) {
        if (m_storedId != m_bookingId) return Refusal::Changed;
        // Whether the row is there at all, then whether it is as this record knew it.
        SqlValues values{m_bookingId, m_bookingId};
        values.insert(values.end(), m_stored.begin(), m_stored.end());
        static const QString asked =
            QString("select (select count(*) from tblBookings where BookingId = ?), "
                    "(select count(*) from tblBookings where ") +
            kAsStored + ")";
        const auto rs = db().SqlQuery(asked, values);
        if (!rs) return Refusal::Failed;
        if (none(rs)) return Refusal::Deleted;
        if (none(rs, 1)) return Refusal::Changed;
    }
    SqlValues values;
    addPartsValues(values, m_resourceId, m_taskId, m_customerId);
    const auto parts = db().SqlQuery(QString("select ") + kPartsExist, values);
    if (!parts) return Refusal::Failed;
    if (none(parts)) return Refusal::Gone;
    return Refusal::Clash;
}

QString ClsBooking::RefusalText(Refusal why) {
    switch (why) {
        case Refusal::None:
            return QString();
        case Refusal::Clash:
            return "Conflict with another appointment!";
        case Refusal::Gone:
            return "The resource, appointment type or customer no longer exists.";
        case Refusal::Changed:
            return "Another workstation has changed this appointment since it was opened. "
                   "It is shown as it is stored now.";
        case Refusal::Deleted:
            return "Another workstation has deleted this appointment since it was opened.";
        case Refusal::Failed:
            return err::NotWritten("saved");
    }
    return QString();
}

bool ClsBooking::Delete(int32_t bookingId) {
    return db().SqlAction(QString("delete from tblBookings where BookingId = %1").arg(bookingId));
}

bool ClsBooking::DeleteRepeats(int32_t repeatId) {
    // 0 means "not a series": it would select every single booking
    if (repeatId == 0) return true;
    return db().SqlAction(QString("delete from tblBookings where RepeatId = %1").arg(repeatId));
}

int32_t ClsBooking::NextRepeatId() {
    // The id is the one our own insert made: never one that another draw already took.
    if (!db().SqlAction("insert into tblRepeats (SerialNo) values (?)",
                        {QString::number(GetSerNo("C:"))}))
        return 0;
    const auto id = static_cast<int32_t>(db().LastInsertId());
    db().SqlAction(QString("delete from tblRepeats where RepeatId < %1").arg(id - 10));
    return id;
}

const char* const ClsBooking::kCheckColumns =
    "BookingId, ResourceId, BookingDate, BookingStart, BookingEnd, TaskId, CustomerId";

std::optional<int32_t> ClsBooking::BookingCheck(int32_t firstDay, int32_t lastDay,
                                                int32_t groupId) {
    // A hash over every field the chart shows, so that any added, removed or changed
    // booking changes it (a plain sum misses moves between resources and days). The
    // engine takes it as it reads the rows: one value comes back, however many bookings.
    const QString sql =
        QString("select RowHash(%1) from tblBookings where ").arg(kCheckColumns) +
        QString("BookingDate >= %1 and BookingDate <= %2").arg(firstDay).arg(lastDay) +
        " and ResourceId in (select ResourceId from tblResources " +
        QString("where GroupId = %1)").arg(groupId);
    auto rs = db().SqlQuery(sql);
    if (!rs) return std::nullopt;  // the query has logged why, with the statement
    return rs->Field(0).toInt();
}
