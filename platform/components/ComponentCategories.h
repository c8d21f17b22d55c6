#pragma once
#include <QList>
#include <QString>
#include <cstdint>

#include "ClassId.h"
#include "Registry.h"

// Stand-in for the component-category manager: categories with a description per locale
// under "Component Categories\{catid}", and the categories a class implements under
// "CLSID\{clsid}\Implemented Categories\{catid}". Removing a class from a category
// leaves the category and its description in place.
namespace plat {

// The published ids of the two categories containers ask about before they script a
// control or initialise it from stored data.
extern const ClassId kCatidSafeForScripting;
extern const ClassId kCatidSafeForInitializing;

class ComponentCategories {
public:
    explicit ComponentCategories(Registry registry = Registry());

    // The description is cut to 127 characters. Locale as a number (1033 = US English).
    bool RegisterCategory(const ClassId& catid, uint32_t locale, const QString& description);
    bool ImplementCategory(const ClassId& clsid, const ClassId& catid);
    bool RemoveImplemented(const ClassId& clsid, const ClassId& catid);

    bool IsCategoryRegistered(const ClassId& catid) const;
    // "" when the category or that locale has no description.
    QString Description(const ClassId& catid, uint32_t locale) const;
    QList<ClassId> CategoriesOf(const ClassId& clsid) const;
    bool Implements(const ClassId& clsid, const ClassId& catid) const;
    // Every registered class that implements the category.
    QList<ClassId> ClassesOf(const ClassId& catid) const;

private:
    Registry m_registry;
};

}  // namespace plat
