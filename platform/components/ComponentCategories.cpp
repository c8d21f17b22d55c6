#include "ComponentCategories.h"

namespace plat {

const ClassId kCatidSafeForScripting =
    ClassId::FromString("{7DD95801-9882-11CF-9FA9-00AA006C42C4}");
const ClassId kCatidSafeForInitializing =
    ClassId::FromString("{7DD95802-9882-11CF-9FA9-00AA006C42C4}");

namespace {

const int kMaxDescription = 127;

QString categoryKey(const ClassId& catid) { return "Component Categories\\" + catid.ToString(); }
QString implementedKey(const ClassId& clsid) {
    return "CLSID\\" + clsid.ToString() + "\\Implemented Categories";
}
QString localeName(uint32_t locale) { return QString::number(locale, 16); }

}  // namespace

ComponentCategories::ComponentCategories(Registry registry) : m_registry(std::move(registry)) {}

bool ComponentCategories::RegisterCategory(const ClassId& catid, uint32_t locale,
                                           const QString& description) {
    return m_registry.SetValue(categoryKey(catid), localeName(locale),
                               description.left(kMaxDescription));
}

bool ComponentCategories::ImplementCategory(const ClassId& clsid, const ClassId& catid) {
    const QString key = implementedKey(clsid) + "\\" + catid.ToString();
    return m_registry.HasKey(key) || m_registry.CreateKey(key);
}

bool ComponentCategories::RemoveImplemented(const ClassId& clsid, const ClassId& catid) {
    if (!m_registry.DeleteKey(implementedKey(clsid) + "\\" + catid.ToString())) return false;
    // An empty list of categories says nothing; it goes with its last entry.
    if (m_registry.SubKeys(implementedKey(clsid)).isEmpty())
        return m_registry.DeleteKey(implementedKey(clsid));
    return true;
}

bool ComponentCategories::IsCategoryRegistered(const ClassId& catid) const {
    return m_registry.HasKey(categoryKey(catid));
}

QString ComponentCategories::Description(const ClassId& catid, uint32_t locale) const {
    return m_registry.Value(categoryKey(catid), localeName(locale));
}

QList<ClassId> ComponentCategories::CategoriesOf(const ClassId& clsid) const {
    QList<ClassId> ids;
    for (const QString& name : m_registry.SubKeys(implementedKey(clsid))) {
        bool ok = false;
        const ClassId id = ClassId::FromString(name, &ok);
        if (ok) ids << id;
    }
    return ids;
}

bool ComponentCategories::Implements(const ClassId& clsid, const ClassId& catid) const {
    return CategoriesOf(clsid).contains(catid);
}

QList<ClassId> ComponentCategories::ClassesOf(const ClassId& catid) const {
    QList<ClassId> ids;
    for (const QString& name : m_registry.SubKeys("CLSID")) {
        bool ok = false;
        const ClassId id = ClassId::FromString(name, &ok);
        if (ok && Implements(id, catid)) ids << id;
    }
    return ids;
}

}  // namespace plat
