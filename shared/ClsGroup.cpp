#include "ClsGroup.h"

#include <QCoreApplication>

#include "AppInfo.h"
#include "ClsCustomer.h"
#include "ClsDAO.h"
#include "ErrorText.h"
#include "EventYield.h"
#include "PlexaroTimeScale.h"
#include "SharedObjects.h"

namespace {
ClsDAO& db() { return SharedObjects::DAO(); }
void logError(const char* proc, int number, int line, const QString& desc,
              const QString& sql = QString()) {
    err::LogRecordError(QString("ClsGroup.") + proc, number, line, desc, sql);
}
}  // namespace

QString ClsGroup::TemplateFile() { return plat::AppPath() + "/Groups.ini"; }

void ClsGroup::InitBfr() {
    m_groupId = 0;
    m_dayStart = 0;
    m_dayEnd = 1440;
    m_interval = kDefaultInterval;
    m_groupName.clear();
}

Loaded ClsGroup::Load(int32_t groupId) {
    const QString sql = QString("select * from tblGroups where GroupId = %1").arg(groupId);
    auto rs = db().SqlQuery(sql);
    if (!rs) {
        logError("Load", err::ObjectNotSet, 2, "No record set", sql);
        return Loaded::NotRead;
    }
    if (rs->Eof()) return Loaded::NoRow;
    // Columns in this order; a null one stops the copy there.
    int line = 3;
    auto take = [&](const char* col) -> const DbValue* {
        const DbValue& v = rs->Field(col);
        if (v.isNull()) {
            logError("Load", err::InvalidUseOfNull, line, "Invalid use of Null", sql);
            return nullptr;
        }
        ++line;
        return &v;
    };
    const DbValue* v = nullptr;
    if (!(v = take("DayStart"))) return Loaded::NoRow;
    m_dayStart = static_cast<int16_t>(v->toInt());
    if (!(v = take("DayEnd"))) return Loaded::NoRow;
    m_dayEnd = static_cast<int16_t>(v->toInt());
    if (!(v = take("Interval"))) return Loaded::NoRow;
    m_interval = static_cast<int16_t>(v->toInt());
    if (!(v = take("GroupId"))) return Loaded::NoRow;
    m_groupId = v->toInt();
    if (!(v = take("GroupName"))) return Loaded::NoRow;
    m_groupName = v->toString();
    // A slot length of 0 or less (written by hand or by an old program) would stall
    // every loop over the day's slots: read it as the default.
    if (m_interval <= 0) {
        logError("Load", err::InvalidCall, 8,
                 QString("Interval %1 of group %2 read as %3")
                     .arg(m_interval)
                     .arg(m_groupId)
                     .arg(kDefaultInterval));
        m_interval = kDefaultInterval;
    }
    return Loaded::Row;
}

int32_t ClsGroup::Save() {
    if (m_interval <= 0) {
        logError("Save", err::InvalidCall, 1,
                 QString("The slot length must be above 0 (was %1)").arg(m_interval));
        return 0;
    }
    // The name is bound, never built into the statement: "%1" or "'" stay as typed.
    if (m_groupId != 0) {
        const QString sql =
            "update tblGroups set DayStart = ?, DayEnd = ?, Interval = ?, "
            "GroupName = ? where GroupId = ?";
        // A row deleted elsewhere is not "saved".
        return db().SqlAction(sql, {m_dayStart, m_dayEnd, m_interval, m_groupName, m_groupId}) &&
                       db().LastRowsAffected() > 0
                   ? m_groupId
                   : 0;
    }
    const QString sql =
        "insert into tblGroups (DayStart, DayEnd, Interval, GroupName) values "
        "(?, ?, ?, ?)";
    if (!db().SqlAction(sql, {m_dayStart, m_dayEnd, m_interval, m_groupName})) return 0;
    m_groupId = static_cast<int32_t>(db().LastInsertId());
    return m_groupId;
}

std::optional<int32_t> ClsGroup::BookingsLeftOutside() const {
    if (m_groupId == 0) return 0;
    // Those the chart shows with the stored day and would not show with this one, partly
    // shown ones included: the chart's own rule decides both.
    const QString sql =
        "select b.BookingStart, b.BookingEnd, g.DayStart, g.DayEnd from tblBookings b "
        "join tblResources r on r.ResourceId = b.ResourceId "
        "join tblGroups g on g.GroupId = r.GroupId where g.GroupId = ?";
    auto rs = db().SqlQuery(sql, {m_groupId});
    if (!rs) {
        logError("BookingsLeftOutside", err::ObjectNotSet, 2, "No record set", sql);
        return std::nullopt;
    }
    int32_t hidden = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
        const int start = rs->Field(0).toInt(), end = rs->Field(1).toInt();
        if (plat::PlexaroTimeScale::shows(rs->Field(2).toInt(), rs->Field(3).toInt(), start, end) &&
            !plat::PlexaroTimeScale::shows(m_dayStart, m_dayEnd, start, end))
            ++hidden;
    }
    return hidden;
}

bool ClsGroup::Delete(int32_t groupId) {
    InitBfr();
    const QString g = QString::number(groupId);
    // The group and everything hanging on it go in one transaction: all or nothing. The
    // bookings go by resource as well as by appointment type, so none is left pointing
    // at a resource that no longer exists.
    const QStringList cascade = {
        "delete from tblBookings where ResourceId in (select ResourceId from "
        "tblResources where GroupId = " +
            g + ")",
        "delete from tblBookings where TaskId in (select TaskId from "
        "tblTasks where GroupId = " +
            g + ")",
        "delete from tblGroups where GroupId = " + g,
        "delete from tblResources where GroupId = " + g,
        "delete from tblTasks where GroupId = " + g,
        "delete from tblCustomerGroups where GroupId = " + g,
    };
    if (!db().SqlActions(cascade)) return false;
    // Customers left in no group go, with their bookings.
    const QString sql =
        "select (select count(*) from tblCustomerGroups where "
        "CustomerId = tblCustomers.CustomerId), CustomerId from tblCustomers";
    auto rs = db().SqlQuery(sql);
    if (!rs) {
        logError("Delete", err::ObjectNotSet, 7, "No record set", sql);
        return true;  // the group is gone; customers left in no group stay this time
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        EventYield::Run();
        if (rs->Field(0).toLong() == 0) SharedObjects::Customer().Delete(rs->Field(1).toInt());
    }
    return true;
}
