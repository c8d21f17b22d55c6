#include "DispatchTable.h"

#include <limits>

namespace plat {

void DispatchTable::SetInterface(const QString& name, const QString& help) {
    m_name = name;
    m_help = help;
}

void DispatchTable::AddProperty(DispId id, const QString& name, VarType type,
                                std::function<QVariant()> get,
                                std::function<void(const QVariant&)> put) {
    DispMember m;
    m.id = id;
    m.name = name;
    m.type = type;
    m.get = std::move(get);
    m.put = std::move(put);
    m_members.push_back(std::move(m));
}

void DispatchTable::AddMethod(DispId id, const QString& name, std::function<void()> call) {
    DispMember m;
    m.id = id;
    m.name = name;
    m.isMethod = true;
    m.call = std::move(call);
    m_members.push_back(std::move(m));
}

void DispatchTable::AddEvent(DispId id, const QString& name, const QList<DispParam>& params) {
    AddMethod(id, name, {});
    m_members.back().params = params;
}

void DispatchTable::SetEnumValues(DispId id, const QList<EnumValue>& values) {
    if (DispMember* m = findMutable(id)) m->enumValues = values;
}

DispMember* DispatchTable::findMutable(DispId id) {
    for (DispMember& m : m_members)
        if (m.id == id) return &m;
    return nullptr;
}

const DispMember* DispatchTable::Find(DispId id) const {
    return const_cast<DispatchTable*>(this)->findMutable(id);
}

const DispMember* DispatchTable::Find(const QString& name) const {
    for (const DispMember& m : m_members)
        if (m.name.compare(name, Qt::CaseInsensitive) == 0) return &m;
    return nullptr;
}

DispId DispatchTable::IdOfName(const QString& name) const {
    const DispMember* m = Find(name);
    return m ? m->id : kDispIdUnknown;
}

bool DispatchTable::Get(DispId id, QVariant& value) const {
    const DispMember* m = Find(id);
    if (!m || m->isMethod || !m->get) return false;
    value = Coerce(m->get(), m->type);
    return value.isValid();
}

bool DispatchTable::Put(DispId id, const QVariant& value) {
    const DispMember* m = Find(id);
    if (!m || m->isMethod || !m->put) return false;
    const QVariant v = Coerce(value, m->type);
    if (!v.isValid()) return false;
    m->put(v);
    return true;
}

bool DispatchTable::Call(DispId id) {
    const DispMember* m = Find(id);
    if (!m || !m->isMethod || !m->call) return false;
    m->call();
    return true;
}

QVariant DispatchTable::Coerce(const QVariant& value, VarType type) {
    if (type == VarType::Empty) return QVariant();
    if (type == VarType::Bool) {
        if (!value.canConvert<bool>()) return QVariant();
        return QVariant(value.toBool());
    }
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    if (!ok) return QVariant();
    switch (type) {
        case VarType::Short:
            if (n < std::numeric_limits<int16_t>::min() || n > std::numeric_limits<int16_t>::max())
                return QVariant();
            return QVariant::fromValue(static_cast<int16_t>(n));
        case VarType::Long:
            if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
                return QVariant();
            return QVariant::fromValue(static_cast<int32_t>(n));
        case VarType::Color:
            // A colour may arrive signed (0x8000000F read as a negative 32-bit number).
            if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<uint32_t>::max())
                return QVariant();
            return QVariant::fromValue(static_cast<uint32_t>(n));
        default:
            return QVariant();
    }
}

}  // namespace plat
