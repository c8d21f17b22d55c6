#include "ClsRecordset.h"

namespace {
const DbValue kNull;
}

const DbValue& ClsRecordset::Field(int index) const {
    if (Eof() || index < 0 || index >= FieldCount()) return kNull;
    return m_rows[m_pos][static_cast<size_t>(index)];
}

const DbValue& ClsRecordset::Field(const QString& name) const { return Field(indexOf(name)); }

int ClsRecordset::indexOf(const QString& name) const {
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}
