#pragma once
#include <QString>
#include <QStringList>
#include <vector>

#include "DbValue.h"

// A query's result as a snapshot: every row copied into memory, readable after the
// database lock is gone. Walked with Eof()/MoveNext(); fields by position (0-based) or
// by name without regard to case.
class ClsRecordset {
public:
    ClsRecordset(QStringList names, std::vector<std::vector<DbValue>> rows)
        : m_names(std::move(names)), m_rows(std::move(rows)) {}

    bool Eof() const { return m_pos >= m_rows.size(); }
    void MoveNext() {
        if (!Eof()) ++m_pos;
    }
    void MoveFirst() { m_pos = 0; }
    int RecordCount() const { return static_cast<int>(m_rows.size()); }
    int FieldCount() const { return static_cast<int>(m_names.size()); }
    QString FieldName(int index) const { return m_names.value(index); }

    // The current row's field; NULL at the end of the set or for an unknown field.
    const DbValue& Field(int index) const;
    const DbValue& Field(const QString& name) const;
    bool HasField(const QString& name) const { return indexOf(name) >= 0; }

private:
    int indexOf(const QString& name) const;
    QStringList m_names;
    std::vector<std::vector<DbValue>> m_rows;
    size_t m_pos = 0;
};
