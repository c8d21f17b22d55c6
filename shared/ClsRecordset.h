#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "DbValue.h"

// A query's result as a snapshot: every row copied into memory, readable after the
// database lock is gone. Walked with Eof()/MoveNext(); fields by position (0-based) or
// by name without regard to case.
//
// The rows are kept packed, in blocks for the whole set, and a field of the current row is
// unpacked when it is first read: a field read stays valid until the next move.
class ClsRecordset {
public:
    explicit ClsRecordset(QStringList names);

    bool Eof() const { return m_pos >= m_rowStart.size(); }
    void MoveNext() {
        if (!Eof()) moveTo(m_pos + 1);
    }
    void MoveFirst() { moveTo(0); }
    int RecordCount() const { return static_cast<int>(m_rowStart.size()); }
    int FieldCount() const { return static_cast<int>(m_columns); }
    QString FieldName(int index) const { return m_names.value(index); }

    // The current row's field; NULL at the end of the set or for an unknown field.
    const DbValue& Field(int index) const {
        if (Eof() || index < 0 || static_cast<size_t>(index) >= m_columns) return kNull;
        const auto column = static_cast<size_t>(index);
        if (!m_located) locate();
        if (!m_unpacked[column]) unpack(column);
        return m_row[column];
    }
    const DbValue& Field(const QString& name) const { return Field(indexOf(name)); }
    // The same for a name written in the code, without making a QString of it.
    const DbValue& Field(const char* name) const { return Field(indexOf(QLatin1StringView(name))); }
    bool HasField(const QString& name) const { return indexOf(name) >= 0; }

    // Filling, by the query that makes the snapshot: AddRow, then FieldCount() values.
    void AddRow() { m_rowStart.push_back(m_end); }
    void AddNull() { *room(1) = kTagNull; }
    void AddInteger(int64_t v) { put(kTagInteger, v); }
    void AddDouble(double v) { put(kTagDouble, v); }
    void AddText(const char* utf8, int bytes) {
        const auto size = static_cast<uint32_t>(bytes);
        put(kTagText, size);
        memcpy(room(size), utf8, size);
    }

private:
    enum : char { kTagNull, kTagInteger, kTagDouble, kTagText };
    static const DbValue kNull;
    // Space for n more bytes of the row being filled.
    char* room(size_t n) {
        if (m_free < n) newBlock(n);
        char* at = m_end;
        m_end += n;
        m_free -= n;
        return at;
    }
    void newBlock(size_t n);
    template <typename T>
    void put(char tag, T value) {
        char* at = room(1 + sizeof value);
        *at = tag;
        memcpy(at + 1, &value, sizeof value);
    }
    void moveTo(size_t pos) {
        m_pos = pos;
        m_located = false;
    }
    // Finds where each value of the current row begins; none is unpacked yet.
    void locate() const;
    void unpack(size_t column) const;
    int indexOf(const QString& name) const;
    int indexOf(QLatin1StringView name) const;

    QStringList m_names;
    size_t m_columns;
    // The rows, packed into blocks that never move: each value is its tag, then its
    // bytes, and a row never spans two blocks.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_end = nullptr;  // where the next byte goes
    size_t m_free = 0;      // bytes left in the last block
    std::vector<const char*> m_rowStart;
    size_t m_pos = 0;
    // The current row: where each value begins, and the values read so far, unpacked.
    mutable std::vector<const char*> m_at;
    mutable std::vector<DbValue> m_row;
    mutable std::vector<char> m_unpacked;
    mutable bool m_located = false;
};
