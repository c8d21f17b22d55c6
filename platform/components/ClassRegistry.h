#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

#include "ClassId.h"
#include "Registry.h"

// The class and type-library entries a component library writes into the registry when
// it is registered, and the look-ups a host makes to create a class by its id:
//   CLSID\{clsid}                 @ = name; keys InprocServer32 (@ = library file,
//                                 ThreadingModel), ProgID, and for controls Control,
//                                 MiscStatus\1, ToolboxBitmap32, TypeLib, Version
//   <program id>                  @ = name; CLSID @ = {clsid}
//   TypeLib\{libid}\<version>     @ = help text; 0\linux @ = library file; FLAGS
//   Interface\{iid}               @ = interface name, HelpString; TypeLib @ = {libid},
//                                 Version
namespace plat {

struct ClassInfo {
    ClassId clsid;
    QString progId;
    QString name;     // the registered (user type) name
    QString library;  // full path of the library that serves the class
    bool isControl = false;
    // Only for controls:
    uint32_t miscStatus = 0;
    int toolboxBitmap = 0;
    ClassId typeLib;
    QString typeLibVersion;  // "1.0"
    bool insertable = false;
};

struct InterfaceInfo {
    ClassId iid;
    QString name;
    QString help;
};

struct TypeLibInfo {
    ClassId libid;
    QString name;     // "TintoraLib"
    QString version;  // "1.0"
    QString helpText;
    QString library;  // the file that holds the dispatch tables
    QList<InterfaceInfo> interfaces;
};

class ClassRegistry {
public:
    explicit ClassRegistry(Registry registry = Registry());

    bool RegisterClass(const ClassInfo& info);
    // Removes the class's key and its program id's key.
    bool UnregisterClass(const ClassId& clsid, const QString& progId);
    bool RegisterTypeLib(const TypeLibInfo& info);
    // Removes that version (and the library's key when no version is left) and the
    // interfaces' keys.
    bool UnregisterTypeLib(const TypeLibInfo& info);

    bool IsClassRegistered(const ClassId& clsid) const;
    // The library file that serves the class, as a full path; "" when the class is not
    // registered. A library registered from the registry's own folder is recorded by its
    // name and found in whatever folder the registry is now.
    QString LibraryOf(const ClassId& clsid) const;
    // The class of a program id; the null id when it is unknown.
    ClassId ClassOfProgId(const QString& progId) const;
    QString NameOf(const ClassId& clsid) const;
    uint32_t MiscStatusOf(const ClassId& clsid) const;
    bool IsTypeLibRegistered(const ClassId& libid, const QString& version) const;

    const Registry& registry() const { return m_registry; }

private:
    QString folder() const;
    QString recorded(const QString& library) const;
    QString resolved(const QString& library) const;

    Registry m_registry;
};

}  // namespace plat
