#include "ClsGroupMember.h"

#include <QSet>

#include "ClsDAO.h"
#include "ErrorText.h"
#include "SharedObjects.h"

namespace {
ClsDAO& db() { return SharedObjects::DAO(); }
}  // namespace

ClsGroupMember::ClsGroupMember(const ClsGroupMember& other)
    : m_id(other.m_id),
      m_groupId(other.m_groupId),
      m_minTime(other.m_minTime),
      m_maxTime(other.m_maxTime),
      m_initTime(other.m_initTime),
      m_name(other.m_name),
      m_t(other.m_t),
      m_group(other.m_group ? std::make_unique<ClsGroup>(*other.m_group) : nullptr) {}

ClsGroupMember& ClsGroupMember::operator=(const ClsGroupMember& other) {
    if (this == &other) return *this;
    m_id = other.m_id;
    m_groupId = other.m_groupId;
    m_minTime = other.m_minTime;
    m_maxTime = other.m_maxTime;
    m_initTime = other.m_initTime;
    m_name = other.m_name;
    m_t = other.m_t;
    m_group = other.m_group ? std::make_unique<ClsGroup>(*other.m_group) : nullptr;
    return *this;
}

ClsGroup& ClsGroupMember::group() {
    if (!m_group) m_group = std::make_unique<ClsGroup>();
    return *m_group;
}

void ClsGroupMember::logError(const char* proc, int number, int line, const QString& desc,
                              const QString& sql) {
    err::LogRecordError(QString(m_t.cls) + "." + proc, number, line, desc, sql);
}

void ClsGroupMember::InitBfr() {
    m_id = 0;
    m_groupId = 0;
    m_name.clear();
    m_minTime = group().Interval();
    m_maxTime = static_cast<int16_t>(group().DayEnd() - group().DayStart());
    m_initTime = group().Interval();
}

Loaded ClsGroupMember::Load(int32_t id) {
    InitBfr();
    const QString sql = QString("select * from %1 where %2 = %3").arg(m_t.table, m_t.idCol).arg(id);
    auto rs = db().SqlQuery(sql);
    if (!rs) {
        logError("Load", err::ObjectNotSet, 3, "No record set", sql);
        return Loaded::NotRead;
    }
    if (rs->Eof()) return Loaded::NoRow;
    QString failed;
    if (!copyRow(*rs, failed)) {
        logError("Load", err::InvalidUseOfNull, 4, "Invalid use of Null in " + failed, sql);
        return Loaded::NoRow;
    }
    return Loaded::Row;
}

bool ClsGroupMember::LoadFrom(const ClsRecordset& rs) {
    InitBfr();
    QString failed;
    return copyRow(rs, failed);
}

Loaded ClsGroupMember::LoadByName(const QString& name, int32_t groupId) {
    // Only our own table and column names go into the text; the name is bound.
    const QString sql = QString("select %1 from %2 where %3 = ? and GroupId = ?")
                            .arg(m_t.idCol, m_t.table, m_t.nameCol);
    auto rs = db().SqlQuery(sql, {name, groupId});
    if (!rs) {
        logError("LoadByName", err::ObjectNotSet, 2, "No record set", sql);
        return Loaded::NotRead;
    }
    return rs->Eof() ? Loaded(Loaded::NoRow) : Load(rs->Field(0).toInt());
}

std::optional<QString> ClsGroupMember::SameNameInGroup(const QStringList& names) {
    // Compared here by the database's own rule, held in ClsDAO::NameKey.
    const QString sql =
        QString("select %1, %2 from %3 where GroupId = ?").arg(m_t.idCol, m_t.nameCol, m_t.table);
    auto rs = db().SqlQuery(sql, {m_groupId});
    if (!rs) {
        logError("SameNameInGroup", err::ObjectNotSet, 1, "No record set", sql);
        return std::nullopt;
    }
    QSet<QString> keys;
    for (const QString& name : names) keys.insert(ClsDAO::NameKey(name));
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString other = rs->Field(1).toString();
        if (rs->Field(0).toInt() != m_id && keys.contains(ClsDAO::NameKey(other))) return other;
    }
    return QString();
}

int32_t ClsGroupMember::Save() {
    const QStringList cols = saveColumns();
    SqlValues values = saveValues();
    if (m_id != 0) {
        QStringList sets;
        for (const QString& c : cols) sets << c + " = ?";
        const QString sql =
            QString("update %1 set %2 where %3 = ?").arg(m_t.table, sets.join(", "), m_t.idCol);
        values.push_back(m_id);
        // A row deleted elsewhere is not "saved".
        return db().SqlAction(sql, values) && db().LastRowsAffected() > 0 ? m_id : 0;
    }
    const QString sql =
        QString("insert into %1 (%2) values (%3)")
            .arg(m_t.table, cols.join(", "), QStringList(cols.size(), "?").join(", "));
    if (!db().SqlAction(sql, values)) return 0;
    m_id = static_cast<int32_t>(db().LastInsertId());
    return m_id;
}

bool ClsGroupMember::Delete(int32_t id) {
    const QString sid = QString::number(id);
    return db().SqlActions({QString("delete from %1 where %2 = %3").arg(m_t.table, m_t.idCol, sid),
                            QString("delete from tblBookings where %1 = %2").arg(m_t.idCol, sid)});
}
