#pragma once
#include <QString>
#include <QStringList>

// Stand-in for the system registry: a tree of keys, each with named text values, kept in
// one UTF-8 file (by default "Registry.ini" in the program folder). Key paths use "\"
// between parts; keys and value names match without regard to case; the empty value
// name is the key's default value (written "@" in the file).
//
// File form: a "[key path]" line starts a key, "name=value" lines follow. Every change is
// one locked read-modify-write that replaces the file whole (WholeFile), so a registering
// tool and a running program never see half a file, and a change that cannot be written
// (a full disk) leaves the file as it was and says why on the standard error; lines that
// are not understood are kept out of the tree (a damaged file reads as what could be
// understood).
namespace plat {

class Registry {
public:
    // The registry of the program folder.
    Registry();
    explicit Registry(const QString& file);

    static QString DefaultFile();
    QString file() const { return m_file; }

    bool HasKey(const QString& key) const;
    // The value's text; "" when the key or the value is missing (found tells which).
    QString Value(const QString& key, const QString& name = QString(), bool* found = nullptr) const;
    QStringList ValueNames(const QString& key) const;
    // Names of the direct subkeys, in file order.
    QStringList SubKeys(const QString& key) const;

    // Each returns false when the file could not be written (nothing changed then).
    bool CreateKey(const QString& key);
    bool SetValue(const QString& key, const QString& name, const QString& value);
    // Removes the key with all its subkeys; true also when it was not there.
    bool DeleteKey(const QString& key);
    bool DeleteValue(const QString& key, const QString& name);

private:
    QString m_file;
};

}  // namespace plat
