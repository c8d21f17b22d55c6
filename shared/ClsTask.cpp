#include "ClsTask.h"

#include "ClsDAO.h"
#include "ClsRecordset.h"

ClsTask::ClsTask() : ClsGroupMember({"ClsTask", "tblTasks", "TaskId", "TaskName"}) { InitBfr(); }

void ClsTask::InitBfr() {
    ClsGroupMember::InitBfr();
    m_colour = kDefaultColour;
}

void ClsTask::setGroupId(int32_t v) {
    m_groupId = v;
    group().Load(v);  // the durations stay as they are
}

bool ClsTask::copyRow(const ClsRecordset& rs, QString& failedColumn) {
    for (const char* col :
         {"Colour", "GroupId", "InitTime", "MaxTime", "MinTime", "TaskId", "TaskName"}) {
        const DbValue& v = rs.Field(col);
        if (v.isNull()) {
            failedColumn = col;
            return false;
        }
        const QString c(col);
        if (c == "Colour") m_colour = v.toInt();
        else if (c == "GroupId") m_groupId = v.toInt();
        else if (c == "InitTime") m_initTime = static_cast<int16_t>(v.toInt());
        else if (c == "MaxTime") m_maxTime = static_cast<int16_t>(v.toInt());
        else if (c == "MinTime") m_minTime = static_cast<int16_t>(v.toInt());
        else if (c == "TaskId") m_id = v.toInt();
        else m_name = v.toString();
    }
    return true;
}

QStringList ClsTask::saveColumns() const {
    return {"Colour", "GroupId", "MinTime", "MaxTime", "InitTime", "TaskName"};
}

QStringList ClsTask::saveValues() const {
    return {QString::number(m_colour), QString::number(m_groupId), QString::number(m_minTime),
            QString::number(m_maxTime), QString::number(m_initTime), ClsDAO::Quoted(m_name)};
}
