#pragma once
#include <QString>
#include <cstdint>

#include "Loaded.h"

class ClsRecordset;

// One customer (a row of tblCustomers). Its group links live in tblCustomerGroups, which
// this class reads and removes but never writes.
class ClsCustomer {
public:
    ClsCustomer() { InitBfr(); }

    int32_t CustomerId() const { return m_customerId; }
    QString CustomerName() const { return m_customerName; }
    QString Ref01() const { return m_ref01; }
    QString Ref02() const { return m_ref02; }
    QString Ref03() const { return m_ref03; }
    void setCustomerName(const QString& v) { m_customerName = v; }
    void setRef01(const QString& v) { m_ref01 = v; }
    void setRef02(const QString& v) { m_ref02 = v; }
    void setRef03(const QString& v) { m_ref03 = v; }

    // Deletes the customer, all its bookings and all its group links.
    // False when the database did not take it: nothing was deleted.
    bool Delete(int32_t customerId);
    void InitBfr();
    Loaded Load(int32_t customerId);
    // Takes the current row of rs (all the columns of tblCustomers) as Load takes the row
    // it reads; false, with nothing logged, when a column is null.
    bool LoadFrom(const ClsRecordset& rs);
    // A customer of that name linked to that group.
    Loaded LoadByName(const QString& name, int32_t groupId);
    int32_t Save();

private:
    // Copies the row's columns in order; 0, or the number of the first null one.
    int copyRow(const ClsRecordset& rs);

    int32_t m_customerId = 0;
    QString m_customerName, m_ref01, m_ref02, m_ref03;
};
