#include "ClsCustomer.h"

#include "ClsDAO.h"
#include "ErrorText.h"
#include "SharedObjects.h"

namespace {
ClsDAO& db() { return SharedObjects::DAO(); }
void logError(const char* proc, int number, int line, const QString& desc,
              const QString& sql = QString()) {
    err::LogRecordError(QString("ClsCustomer.") + proc, number, line, desc, sql);
}
}  // namespace

void ClsCustomer::InitBfr() {
    m_customerId = 0;
    m_customerName.clear();
    m_ref01.clear();
    m_ref02.clear();
    m_ref03.clear();
}

Loaded ClsCustomer::Load(int32_t customerId) {
    InitBfr();
    const QString sql = QString("select * from tblCustomers where CustomerId = %1").arg(customerId);
    auto rs = db().SqlQuery(sql);
    if (!rs) {
        logError("Load", err::ObjectNotSet, 2, "No record set");
        return Loaded::NotRead;
    }
    if (rs->Eof()) return Loaded::NoRow;
    if (const int failed = copyRow(*rs)) {
        logError("Load", err::InvalidUseOfNull, 2 + failed, "Invalid use of Null");
        return Loaded::NoRow;
    }
    return Loaded::Row;
}

bool ClsCustomer::LoadFrom(const ClsRecordset& rs) {
    InitBfr();
    return copyRow(rs) == 0;
}

int ClsCustomer::copyRow(const ClsRecordset& rs) {
    QString* texts[] = {&m_customerName, &m_ref01, &m_ref02, &m_ref03};
    const char* cols[] = {"CustomerId", "CustomerName", "Ref01", "Ref02", "Ref03"};
    for (int i = 0; i < 5; ++i) {
        const DbValue& v = rs.Field(cols[i]);
        if (v.isNull()) return i + 1;
        if (i == 0)
            m_customerId = v.toInt();
        else
            *texts[i - 1] = v.toString();
    }
    return 0;
}

Loaded ClsCustomer::LoadByName(const QString& name, int32_t groupId) {
    InitBfr();
    const QString sql = "select CustomerId from tblCustomers where CustomerName = ? and "
                        "CustomerId in (select CustomerId from tblCustomerGroups where "
                        "GroupId = ?)";
    auto rs = db().SqlQuery(sql, {name, groupId});
    if (!rs) {
        logError("LoadByName", err::ObjectNotSet, 3, "No record set", sql);
        return Loaded::NotRead;
    }
    return rs->Eof() ? Loaded(Loaded::NoRow) : Load(rs->Field(0).toInt());
}

int32_t ClsCustomer::Save() {
    // Texts are bound, never built into the statement: "%1" or "'" stay as typed.
    if (m_customerId != 0) {
        const QString sql = "update tblCustomers set CustomerName = ?, Ref01 = ?, Ref02 = ?, "
                            "Ref03 = ? where CustomerId = ?";
        return db().SqlAction(sql, {m_customerName, m_ref01, m_ref02, m_ref03, m_customerId}) &&
                       db().LastRowsAffected() > 0
                   ? m_customerId
                   : 0;
    }
    const QString sql = "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
                        "values (?, ?, ?, ?)";
    if (!db().SqlAction(sql, {m_customerName, m_ref01, m_ref02, m_ref03})) return 0;
    m_customerId = static_cast<int32_t>(db().LastInsertId());
    return m_customerId;
}

bool ClsCustomer::Delete(int32_t customerId) {
    const QString id = QString::number(customerId);
    // One transaction: the customer never goes without its bookings and links.
    return db().SqlActions({"delete from tblCustomers where CustomerId = " + id,
                      "delete from tblBookings where CustomerId = " + id,
                      "delete from tblCustomerGroups where CustomerId = " + id});
}
