#pragma once
#include "ClsGroupMember.h"

// One resource (a row of tblResources), the person or thing that is booked. Writing
// GroupId loads that group and resets the durations to its defaults; the load's outcome
// comes back (a group that could not be read gives the defaults of none).
class ClsResource : public ClsGroupMember {
public:
    ClsResource();

    int32_t ResourceId() const { return m_id; }
    QString ResourceName() const { return m_name; }
    Loaded setGroupId(int32_t v);
    void setResourceId(int32_t v) { m_id = v; }
    void setResourceName(const QString& v) { m_name = v; }

protected:
    bool copyRow(const ClsRecordset& rs, QString& failedColumn) override;
    QStringList saveColumns() const override;
    SqlValues saveValues() const override;
};
