#include "ClsTask.h"

#include "ClsRecordset.h"

ClsTask::ClsTask() : ClsGroupMember({"ClsTask", "tblTasks", "TaskId", "TaskName"}) { InitBfr(); }

void ClsTask::InitBfr() {
    ClsGroupMember::InitBfr();
    m_colour = kDefaultColour;
}

Loaded ClsTask::setGroupId(int32_t v) {
    m_groupId = v;
    return group().Load(v);  // the durations stay as they are
}

bool ClsTask::copyRow(const ClsRecordset& rs, QString& failedColumn) {
    // In this order; a null column stops the copy there.
    const Column<ClsTask> columns[] = {
        {"Colour", [](ClsTask& t, const DbValue& v) { t.m_colour = v.toInt(); }},
        {"GroupId", [](ClsTask& t, const DbValue& v) { t.m_groupId = v.toInt(); }},
        {"InitTime", [](ClsTask& t, const DbValue& v) { t.m_initTime = toMinutes(v); }},
        {"MaxTime", [](ClsTask& t, const DbValue& v) { t.m_maxTime = toMinutes(v); }},
        {"MinTime", [](ClsTask& t, const DbValue& v) { t.m_minTime = toMinutes(v); }},
        {"TaskId", [](ClsTask& t, const DbValue& v) { t.m_id = v.toInt(); }},
        {"TaskName", [](ClsTask& t, const DbValue& v) { t.m_name = v.toString(); }},
    };
    return copyColumns(*this, columns, rs, failedColumn);
}

QStringList ClsTask::saveColumns() const {
    return {"Colour", "GroupId", "MinTime", "MaxTime", "InitTime", "TaskName"};
}

SqlValues ClsTask::saveValues() const {
    return {m_colour, m_groupId, m_minTime, m_maxTime, m_initTime, m_name};
}
