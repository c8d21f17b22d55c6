#include "PropExchange.h"

#include "DispatchTable.h"

namespace plat {
namespace {

// One value either way: under its name in a bag (a missing or unusable value takes the
// default), or as its low bytes in a stream.
template <class T>
void exchange(PropertyBag* bag, PropertyStream* stream, bool loading, const QString& name, T& value,
              T def, VarType type, int bytes) {
    if (bag && loading) {
        const QVariant v = DispatchTable::Coerce(bag->Read(name), type);
        value = v.isValid() ? v.value<T>() : def;
    } else if (bag) {
        bag->Write(name, QVariant::fromValue(value));
    } else if (loading) {
        value = static_cast<T>(stream->Read(bytes));
    } else {
        stream->Write(static_cast<uint32_t>(value), bytes);
    }
}

}  // namespace

void PropExchange::ExchangeBool(const QString& name, bool& value, bool def) {
    exchange(m_bag, m_stream, m_loading, name, value, def, VarType::Bool, 1);
}

void PropExchange::ExchangeShort(const QString& name, int16_t& value, int16_t def) {
    exchange(m_bag, m_stream, m_loading, name, value, def, VarType::Short, 2);
}

void PropExchange::ExchangeLong(const QString& name, int32_t& value, int32_t def) {
    exchange(m_bag, m_stream, m_loading, name, value, def, VarType::Long, 4);
}

void PropExchange::ExchangeULong(const QString& name, uint32_t& value, uint32_t def) {
    exchange(m_bag, m_stream, m_loading, name, value, def, VarType::Color, 4);
}

}  // namespace plat
