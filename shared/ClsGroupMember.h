#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "ClsGroup.h"
#include "ClsRecordset.h"
#include "Loaded.h"
#include "SqlValue.h"

// What resources and appointment types have in common: a row of a table that belongs to
// a group, with a name and three durations whose defaults come from a private group
// record (the group last written through GroupId on this instance).
class ClsGroupMember {
public:
    virtual ~ClsGroupMember() = default;

    int32_t GroupId() const { return m_groupId; }
    int16_t InitTime() const { return m_initTime; }
    // Slot length of the private group, not of the loaded row's group.
    int16_t Interval() { return group().Interval(); }
    int16_t MaxTime() const { return m_maxTime; }
    int16_t MinTime() const { return m_minTime; }
    void setInitTime(int16_t v) { m_initTime = v; }
    void setMaxTime(int16_t v) { m_maxTime = v; }
    void setMinTime(int16_t v) { m_minTime = v; }

    // Deletes the row and every booking that refers to it.
    // False when the database did not take it: nothing was deleted.
    bool Delete(int32_t id);
    // Durations from the private group; id and group 0; name empty.
    virtual void InitBfr();
    Loaded Load(int32_t id);
    // Takes the current row of rs (all the columns of the table) as Load takes the row it
    // reads; false, with nothing logged, when a column is null.
    bool LoadFrom(const ClsRecordset& rs);
    // A row of that name within that group; the buffer is kept when there is none.
    Loaded LoadByName(const QString& name, int32_t groupId);
    int32_t Save();
    // The name of another row of the buffer's group that is one of names to the database,
    // which compares names without the case of A to Z (ClsDAO::NameKey); the row's own name
    // as stored, empty when there is none; none when the names could not be read. The
    // editors refuse such a name.
    [[nodiscard]] std::optional<QString> SameNameInGroup(const QStringList& names);

protected:
    struct Table {
        const char* cls;      // class name for the log lines
        const char* table;    // database table
        const char* idCol;    // its counter column, also the bookings' column
        const char* nameCol;  // its name column
    };
    explicit ClsGroupMember(Table t) : m_t(t) {}
    // A copy is a record of its own, its private group included, so that a row can be
    // read into a copy and taken only when the read succeeded.
    ClsGroupMember(const ClsGroupMember& other);
    ClsGroupMember& operator=(const ClsGroupMember& other);

    // One column of a row and where its value goes.
    template <typename T>
    struct Column {
        const char* name;
        void (*copy)(T&, const DbValue&);
    };
    // Copies the columns in order; false at the first null one, named in failedColumn.
    template <typename T, size_t N>
    static bool copyColumns(T& record, const Column<T> (&columns)[N], const ClsRecordset& rs,
                            QString& failedColumn) {
        for (const Column<T>& c : columns) {
            const DbValue& v = rs.Field(c.name);
            if (v.isNull()) {
                failedColumn = c.name;
                return false;
            }
            c.copy(record, v);
        }
        return true;
    }
    static int16_t toMinutes(const DbValue& v) { return static_cast<int16_t>(v.toInt()); }

    ClsGroup& group();
    // Copies the row's columns in the class's order; false at the first null column,
    // whose name is put in failedColumn.
    virtual bool copyRow(const ClsRecordset& rs, QString& failedColumn) = 0;
    // The columns Save writes and their values, in the class's order.
    virtual QStringList saveColumns() const = 0;
    virtual SqlValues saveValues() const = 0;
    void logError(const char* proc, int number, int line, const QString& desc, const QString& sql);

    int32_t m_id = 0;
    int32_t m_groupId = 0;
    int16_t m_minTime = 0, m_maxTime = 0, m_initTime = 0;  // minutes
    QString m_name;

private:
    Table m_t;
    std::unique_ptr<ClsGroup> m_group;
};
