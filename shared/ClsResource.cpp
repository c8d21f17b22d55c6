#include "ClsResource.h"

#include "ClsDAO.h"
#include "ClsRecordset.h"

ClsResource::ClsResource()
    : ClsGroupMember({"ClsResource", "tblResources", "ResourceId", "ResourceName"}) {
    InitBfr();
}

void ClsResource::setGroupId(int32_t v) {
    group().Load(v);
    m_groupId = v;
    m_minTime = group().Interval();
    m_maxTime = static_cast<int16_t>(group().DayEnd() - group().DayStart());
    m_initTime = group().Interval();
}

bool ClsResource::copyRow(const ClsRecordset& rs, QString& failedColumn) {
    for (const char* col : {"GroupId", "MinTime", "MaxTime", "InitTime", "ResourceId",
                            "ResourceName"}) {
        const DbValue& v = rs.Field(col);
        if (v.isNull()) {
            failedColumn = col;
            return false;
        }
        const QString c(col);
        if (c == "GroupId") m_groupId = v.toInt();
        else if (c == "MinTime") m_minTime = static_cast<int16_t>(v.toInt());
        else if (c == "MaxTime") m_maxTime = static_cast<int16_t>(v.toInt());
        else if (c == "InitTime") m_initTime = static_cast<int16_t>(v.toInt());
        else if (c == "ResourceId") m_id = v.toInt();
        else m_name = v.toString();
    }
    return true;
}

QStringList ClsResource::saveColumns() const {
    return {"GroupId", "MinTime", "MaxTime", "InitTime", "ResourceName"};
}

QStringList ClsResource::saveValues() const {
    return {QString::number(m_groupId), QString::number(m_minTime), QString::number(m_maxTime),
            QString::number(m_initTime), ClsDAO::Quoted(m_name)};
}
