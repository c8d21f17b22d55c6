#include "ClsResource.h"

#include "ClsRecordset.h"

ClsResource::ClsResource()
    : ClsGroupMember({"ClsResource", "tblResources", "ResourceId", "ResourceName"}) {
    InitBfr();
}

Loaded ClsResource::setGroupId(int32_t v) {
    const Loaded loaded = group().Load(v);
    m_groupId = v;
    m_minTime = group().Interval();
    m_maxTime = static_cast<int16_t>(group().DayEnd() - group().DayStart());
    m_initTime = group().Interval();
    return loaded;
}

bool ClsResource::copyRow(const ClsRecordset& rs, QString& failedColumn) {
    // In this order; a null column stops the copy there.
    const Column<ClsResource> columns[] = {
        {"GroupId", [](ClsResource& r, const DbValue& v) { r.m_groupId = v.toInt(); }},
        {"MinTime", [](ClsResource& r, const DbValue& v) { r.m_minTime = toMinutes(v); }},
        {"MaxTime", [](ClsResource& r, const DbValue& v) { r.m_maxTime = toMinutes(v); }},
        {"InitTime", [](ClsResource& r, const DbValue& v) { r.m_initTime = toMinutes(v); }},
        {"ResourceId", [](ClsResource& r, const DbValue& v) { r.m_id = v.toInt(); }},
        {"ResourceName", [](ClsResource& r, const DbValue& v) { r.m_name = v.toString(); }},
    };
    return copyColumns(*this, columns, rs, failedColumn);
}

QStringList ClsResource::saveColumns() const {
    return {"GroupId", "MinTime", "MaxTime", "InitTime", "ResourceName"};
}

SqlValues ClsResource::saveValues() const {
    return {m_groupId, m_minTime, m_maxTime, m_initTime, m_name};
}
