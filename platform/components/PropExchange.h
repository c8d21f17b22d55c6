#pragma once
#include <QString>
#include <cstdint>

#include "PropertyBag.h"
#include "PropertyStream.h"

// Stand-in for the property exchange a control runs to load or save its state: one
// procedure of Exchange* calls serves both directions and both stores. In a named bag
// each value stands under its name and a missing or unusable value takes its default; in
// a byte stream the values follow one another in the order of the calls (booleans 1 byte,
// 16-bit values 2, 32-bit values 4) and a stream that runs short fails the whole load.
namespace plat {

class PropExchange {
public:
    PropExchange(PropertyBag& bag, bool loading) : m_bag(&bag), m_loading(loading) {}
    PropExchange(PropertyStream& stream, bool loading) : m_stream(&stream), m_loading(loading) {}

    bool IsLoading() const { return m_loading; }
    bool UsesStream() const { return m_stream != nullptr; }
    // False once a read ran past the end of the stream or the data was refused.
    bool ok() const { return !m_failed && (!m_stream || !m_stream->failed()); }
    // The data being loaded cannot be used (a layout this control does not know).
    void Fail() { m_failed = true; }

    void ExchangeBool(const QString& name, bool& value, bool def);
    void ExchangeShort(const QString& name, int16_t& value, int16_t def);
    void ExchangeLong(const QString& name, int32_t& value, int32_t def);
    void ExchangeULong(const QString& name, uint32_t& value, uint32_t def);
    void ExchangeColor(const QString& name, uint32_t& value, uint32_t def) {
        ExchangeULong(name, value, def);
    }

private:
    PropertyBag* m_bag = nullptr;
    PropertyStream* m_stream = nullptr;
    bool m_loading;
    bool m_failed = false;
};

}  // namespace plat
