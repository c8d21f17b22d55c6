#include "PropertyBag.h"

#include <algorithm>

namespace plat {
namespace {

auto byName(const QString& name) {
    return [name](const std::pair<QString, QVariant>& v) {
        return v.first.compare(name, Qt::CaseInsensitive) == 0;
    };
}

}  // namespace

void PropertyBag::Write(const QString& name, const QVariant& value) {
    auto it = std::find_if(m_values.begin(), m_values.end(), byName(name));
    if (it != m_values.end())
        it->second = value;
    else
        m_values.emplace_back(name, value);
}

QVariant PropertyBag::Read(const QString& name) const {
    auto it = std::find_if(m_values.begin(), m_values.end(), byName(name));
    return it != m_values.end() ? it->second : QVariant();
}

bool PropertyBag::Contains(const QString& name) const {
    return std::any_of(m_values.begin(), m_values.end(), byName(name));
}

bool PropertyBag::Remove(const QString& name) { return std::erase_if(m_values, byName(name)) > 0; }

QStringList PropertyBag::Names() const {
    QStringList names;
    for (const auto& v : m_values) names << v.first;
    return names;
}

}  // namespace plat
