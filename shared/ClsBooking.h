#pragma once
#include <QString>
#include <cstdint>
#include <optional>

#include "Loaded.h"
#include "SqlValue.h"

class ClsRecordset;

// Supplied by each program: the workstation key of its repeat-series ids ("C:" is asked).
int32_t GetSerNo(const QString& drive);

// One booking (a row of tblBookings): a resource, an appointment type and optionally a
// customer (0 = none) on one day, over the half-open interval [BookingStart, BookingEnd)
// in minutes since midnight. Two bookings of one resource and day never overlap: the
// clash test and the write are one statement.
class ClsBooking {
public:
    // Why the last Save wrote nothing.
    enum class Refusal {
        None,     // it wrote
        Clash,    // another booking is in the way
        Gone,     // its resource, type or customer no longer exists
        Changed,  // the stored row is no longer what this record loaded
        Deleted,  // the stored row no longer exists
        Failed,   // the write itself failed (the database busy, locked, or not writable)
    };

    ClsBooking() { InitBfr(); }

    int32_t BookingDate() const { return m_date; }
    int16_t BookingEnd() const { return m_end; }
    int32_t BookingId() const { return m_bookingId; }
    int16_t BookingStart() const { return m_start; }
    QString Comments() const { return m_comments; }
    int32_t CustomerId() const { return m_customerId; }
    QString Ref01() const { return m_ref01; }
    QString Ref02() const { return m_ref02; }
    QString Ref03() const { return m_ref03; }
    int32_t RepeatId() const { return m_repeatId; }
    int32_t ResourceId() const { return m_resourceId; }
    int32_t TaskId() const { return m_taskId; }
    void setBookingId(int32_t v) { m_bookingId = v; }
    void setBookingDate(int32_t v) { m_date = v; }
    void setBookingEnd(int16_t v) { m_end = v; }
    void setBookingStart(int16_t v) { m_start = v; }
    void setComments(const QString& v) { m_comments = v; }
    void setCustomerId(int32_t v) { m_customerId = v; }
    void setRef01(const QString& v) { m_ref01 = v; }
    void setRef02(const QString& v) { m_ref02 = v; }
    void setRef03(const QString& v) { m_ref03 = v; }
    void setRepeatId(int32_t v) { m_repeatId = v; }
    void setResourceId(int32_t v) { m_resourceId = v; }
    void setTaskId(int32_t v) { m_taskId = v; }

    // Id of a booking of the resource on that day that clashes with [start, end),
    // leaving out the booking excludeId; 0 when none, none when the database could not tell.
    [[nodiscard]] std::optional<int32_t> GetBookingId(int32_t resourceId, int32_t date,
                                                      int16_t start, int16_t end,
                                                      int32_t excludeId);
    // False when the database did not take the delete (busy, locked): nothing was deleted.
    bool Delete(int32_t bookingId);
    // Deletes every booking of a repeat series; 0 (no series) deletes nothing. False as
    // Delete.
    bool DeleteRepeats(int32_t repeatId);
    void InitBfr();
    Loaded Load(int32_t bookingId);
    // Both hold the same booking with the same values in every column.
    bool SameRow(const ClsBooking& other) const {
        return m_bookingId == other.m_bookingId && writtenValues() == other.writtenValues();
    }
    // Takes the current row of rs (all the columns of tblBookings) as Load takes the row
    // it reads; false, with nothing logged, when a column is null.
    bool LoadFrom(const ClsRecordset& rs);
    // A new repeat-series id, 0 when none could be drawn.
    int32_t NextRepeatId();
    // Id of the row written; 0 when nothing was (a clash, a failure, a resource, type or
    // customer that does not exist (a customer of 0 is none, which is allowed), or, for an
    // update, a stored row that is no longer what Load, LoadFrom or the last Save of this
    // record left in it: another workstation changed or deleted it meanwhile. An update
    // needs such a row, so a stored booking is always loaded before it is changed).
    int32_t Save();
    // Why the last Save wrote nothing. Asked of the database only when the write ran and
    // changed no row; a write that failed is Failed at once, with no further wait.
    Refusal LastRefusal() const { return m_refusal; }
    // The reason as a user reads it: the second part of a "Unable to save" message.
    static QString RefusalText(Refusal why);
    // Fingerprint of the group's bookings from firstDay to lastDay (both included):
    // changes whenever one appears, disappears or changes its resource, day, times, type
    // or customer; 0 when there are none; none when the database could not be read.
    [[nodiscard]] std::optional<int32_t> BookingCheck(int32_t firstDay, int32_t lastDay,
                                                      int32_t groupId);
    // The columns the fingerprint covers, in its order: a reader that walks the same
    // bookings and adds these values of each to a RowHash gets BookingCheck's value.
    static const char* const kCheckColumns;

private:
    // Copies the row's columns in order; 0, or the step number of the first null one.
    int copyRow(const ClsRecordset& rs);
    // The values an update writes, in the order of its "set" list.
    SqlValues writtenValues() const;
    // Notes the buffer as the stored state of its row, which the next update expects.
    void keepAsStored();
    Refusal refusalNow(bool update);

    int32_t m_bookingId = 0, m_repeatId = 0, m_taskId = 0, m_date = 0;
    int16_t m_start = 0, m_end = 0;  // minutes since midnight
    int32_t m_customerId = 0, m_resourceId = 0;
    QString m_ref01, m_ref02, m_ref03, m_comments;
    int32_t m_storedId = 0;  // the row m_stored describes; 0 = none
    SqlValues m_stored;      // its values as this record last read or wrote them
    Refusal m_refusal = Refusal::None;
};
