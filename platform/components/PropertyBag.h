#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// Stand-in for a named property store: what a container keeps of a control in its form's
// design, a value under each name (names match without regard to case).
namespace plat {

class PropertyBag {
public:
    void Write(const QString& name, const QVariant& value);
    // An invalid variant when the name is missing.
    QVariant Read(const QString& name) const;
    bool Contains(const QString& name) const;
    bool Remove(const QString& name);
    QStringList Names() const;

private:
    std::vector<std::pair<QString, QVariant>> m_values;  // in the order written
};

}  // namespace plat
