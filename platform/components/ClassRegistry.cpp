#include "ClassRegistry.h"

#include <QDir>
#include <QFileInfo>

namespace plat {
namespace {

QString classKey(const ClassId& clsid) { return "CLSID\\" + clsid.ToString(); }
QString typeLibKey(const ClassId& libid) { return "TypeLib\\" + libid.ToString(); }

}  // namespace

QString ClassRegistry::folder() const { return QFileInfo(m_registry.file()).absolutePath(); }

// A library in the registry's own program folder is recorded by its name alone, so a
// copy of the whole folder elsewhere serves its own copy of the library.
QString ClassRegistry::recorded(const QString& library) const {
    const QFileInfo file(library);
    if (file.isRelative()) return library;
    const QFileInfo libraryFolder(file.absolutePath());
    const QFileInfo ownFolder(folder());
    const bool own = libraryFolder == ownFolder ||
                     (libraryFolder.exists() &&
                      libraryFolder.canonicalFilePath() == ownFolder.canonicalFilePath());
    return own ? file.fileName() : file.absoluteFilePath();
}

QString ClassRegistry::resolved(const QString& library) const {
    if (library.isEmpty()) return library;
    const QFileInfo file(library);
    if (file.isRelative()) return QDir(folder()).absoluteFilePath(library);
    // Recorded by a full path that is gone (a folder moved after it was registered): the
    // program folder's own copy, when it has one.
    const QString own = QDir(folder()).absoluteFilePath(file.fileName());
    return !file.exists() && QFileInfo::exists(own) ? own : library;
}

ClassRegistry::ClassRegistry(Registry registry) : m_registry(std::move(registry)) {}

bool ClassRegistry::RegisterClass(const ClassInfo& info) {
    if (info.clsid.IsNull() || info.library.isEmpty()) return false;
    Registry& r = m_registry;
    const QString key = classKey(info.clsid);
    bool ok = r.SetValue(key, QString(), info.name) &&
              r.SetValue(key + "\\InprocServer32", QString(), recorded(info.library)) &&
              r.SetValue(key + "\\InprocServer32", "ThreadingModel", "Apartment");
    if (ok && !info.progId.isEmpty())
        ok = r.SetValue(key + "\\ProgID", QString(), info.progId) &&
             r.SetValue(info.progId, QString(), info.name) &&
             r.SetValue(info.progId + "\\CLSID", QString(), info.clsid.ToString());
    if (ok && info.isControl)
        ok = r.CreateKey(key + "\\Control") && r.SetValue(key + "\\MiscStatus", QString(), "0") &&
             r.SetValue(key + "\\MiscStatus\\1", QString(), QString::number(info.miscStatus)) &&
             r.SetValue(key + "\\ToolboxBitmap32", QString(),
                        recorded(info.library) + ", " + QString::number(info.toolboxBitmap)) &&
             r.SetValue(key + "\\TypeLib", QString(), info.typeLib.ToString()) &&
             r.SetValue(key + "\\Version", QString(), info.typeLibVersion) &&
             (info.insertable ? r.CreateKey(key + "\\Insertable")
                              : r.DeleteKey(key + "\\Insertable"));
    return ok;
}

bool ClassRegistry::UnregisterClass(const ClassId& clsid, const QString& progId) {
    bool ok = m_registry.DeleteKey(classKey(clsid));
    if (!progId.isEmpty()) ok = m_registry.DeleteKey(progId) && ok;
    return ok;
}

bool ClassRegistry::RegisterTypeLib(const TypeLibInfo& info) {
    if (info.libid.IsNull() || info.library.isEmpty()) return false;
    Registry& r = m_registry;
    const QString key = typeLibKey(info.libid) + "\\" + info.version;
    bool ok = r.SetValue(key, QString(), info.helpText) && r.SetValue(key, "Name", info.name) &&
              r.SetValue(key + "\\0\\linux", QString(), recorded(info.library)) &&
              r.SetValue(key + "\\FLAGS", QString(), "0");
    for (const InterfaceInfo& i : info.interfaces) {
        if (!ok) break;
        const QString ikey = "Interface\\" + i.iid.ToString();
        ok = r.SetValue(ikey, QString(), i.name) && r.SetValue(ikey, "HelpString", i.help) &&
             r.SetValue(ikey + "\\TypeLib", QString(), info.libid.ToString()) &&
             r.SetValue(ikey + "\\TypeLib", "Version", info.version);
    }
    return ok;
}

bool ClassRegistry::UnregisterTypeLib(const TypeLibInfo& info) {
    Registry& r = m_registry;
    bool ok = r.DeleteKey(typeLibKey(info.libid) + "\\" + info.version);
    if (ok && r.SubKeys(typeLibKey(info.libid)).isEmpty()) ok = r.DeleteKey(typeLibKey(info.libid));
    for (const InterfaceInfo& i : info.interfaces)
        ok = ok && r.DeleteKey("Interface\\" + i.iid.ToString());
    return ok;
}

bool ClassRegistry::IsClassRegistered(const ClassId& clsid) const {
    return m_registry.HasKey(classKey(clsid));
}

QString ClassRegistry::LibraryOf(const ClassId& clsid) const {
    return resolved(m_registry.Value(classKey(clsid) + "\\InprocServer32"));
}

ClassId ClassRegistry::ClassOfProgId(const QString& progId) const {
    if (progId.trimmed().isEmpty()) return ClassId();
    return ClassId::FromString(m_registry.Value(progId + "\\CLSID"));
}

QString ClassRegistry::NameOf(const ClassId& clsid) const {
    return m_registry.Value(classKey(clsid));
}

uint32_t ClassRegistry::MiscStatusOf(const ClassId& clsid) const {
    return m_registry.Value(classKey(clsid) + "\\MiscStatus\\1").toUInt();
}

bool ClassRegistry::IsTypeLibRegistered(const ClassId& libid, const QString& version) const {
    return m_registry.HasKey(typeLibKey(libid) + "\\" + version);
}

}  // namespace plat
