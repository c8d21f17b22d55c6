#pragma once
#include <QList>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <vector>

// Stand-in for an automation interface and its type library: the members of an object by
// dispatch id and by name (names match without regard to case), each a property with a
// getter and a setter or a method, in the order the type library lists them, with help
// texts and the named values of enumerated properties.
namespace plat {

using DispId = int32_t;
inline constexpr DispId kDispIdUnknown = -1;

// The value kinds of the automation members. Colours are 32-bit OLE colours (unsigned);
// Short is 16-bit signed, Long 32-bit signed.
enum class VarType { Empty, Bool, Short, Long, Color };

struct EnumValue {
    int value;
    QString name;
    QString help;
};

// A parameter of a method or an event, as the type library names it.
struct DispParam {
    QString name;
    VarType type = VarType::Empty;
};

struct DispMember {
    DispId id = kDispIdUnknown;
    QString name;
    bool isMethod = false;
    VarType type = VarType::Empty;
    std::function<QVariant()> get;
    std::function<void(const QVariant&)> put;
    std::function<void()> call;
    QString help;
    QList<EnumValue> enumValues;  // for an enumerated property
    QList<DispParam> params;      // for an event, in the order it passes them
};

class DispatchTable {
public:
    void SetInterface(const QString& name, const QString& help);
    QString InterfaceName() const { return m_name; }
    QString InterfaceHelp() const { return m_help; }

    void AddProperty(DispId id, const QString& name, VarType type, std::function<QVariant()> get,
                     std::function<void(const QVariant&)> put);
    void AddMethod(DispId id, const QString& name, std::function<void()> call);
    // An event of an event interface: nothing to call, only what it passes.
    void AddEvent(DispId id, const QString& name, const QList<DispParam>& params);
    void SetEnumValues(DispId id, const QList<EnumValue>& values);

    const DispMember* Find(DispId id) const;
    const DispMember* Find(const QString& name) const;
    DispId IdOfName(const QString& name) const;
    const std::vector<DispMember>& Members() const { return m_members; }

    // The value converted to the member's type; false for an unknown id or a method.
    bool Get(DispId id, QVariant& value) const;
    // The value is converted to the member's type first; a value that does not convert
    // or does not fit (a Short above 32767) is refused, as automation refuses an
    // overflow: false, and the member is not called.
    bool Put(DispId id, const QVariant& value);
    // Methods here take no arguments; false for an unknown id or a property.
    bool Call(DispId id);

    // The value as the given type, or an invalid variant when it does not convert or fit.
    static QVariant Coerce(const QVariant& value, VarType type);

private:
    DispMember* findMutable(DispId id);
    QString m_name;
    QString m_help;
    std::vector<DispMember> m_members;
};

}  // namespace plat
