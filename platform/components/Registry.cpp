#include "Registry.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "AppInfo.h"
#include "NamedObject.h"
#include "WholeFile.h"

namespace plat {
namespace {

struct Value {
    QString name;  // "" = the default value
    QString text;
};
struct Key {
    QString path;  // as first written
    std::vector<Value> values;
};
using Tree = std::vector<Key>;

QString normalPath(const QString& key) {
    QStringList parts = key.split('\\', Qt::SkipEmptyParts);
    for (QString& p : parts) p = p.trimmed();
    parts.removeAll(QString());
    return parts.join('\\');
}

bool samePath(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// True when path lies at or below key.
bool within(const QString& path, const QString& key) {
    if (samePath(path, key)) return true;
    return path.size() > key.size() && path.at(key.size()) == '\\' &&
           samePath(path.left(key.size()), key);
}

// Values are one line each: line breaks inside a value would split it.
QString oneLine(const QString& text) {
    QString t = text;
    t.replace('\r', ' ').replace('\n', ' ');
    return t;
}

Tree readTree(const QString& file) {
    Tree tree;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return tree;
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    Key* current = nullptr;
    for (QString line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.startsWith('[') && line.endsWith(']')) {
            const QString path = normalPath(line.mid(1, line.size() - 2));
            current = nullptr;
            if (path.isEmpty()) continue;
            tree.push_back(Key{path, {}});
            current = &tree.back();
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!current || eq <= 0) continue;
        QString name = line.left(eq);
        if (name == "@") name.clear();
        current->values.push_back(Value{name, line.mid(eq + 1)});
    }
    return tree;
}

bool writeTree(const QString& file, const Tree& tree) {
    QString text;
    for (const Key& k : tree) {
        text += '[' + k.path + "]\n";
        for (const Value& v : k.values)
            text += (v.name.isEmpty() ? QString("@") : v.name) + '=' + v.text + '\n';
        text += '\n';
    }
    const WholeFile::Result written = WholeFile::Write(file, text.toUtf8());
    if (!written.Failed()) return true;
    // This layer keeps no log: the one line goes where the registering tool tells its user.
    std::fprintf(stderr, "Registry: %s\n", qPrintable(written.LogText()));
    return false;
}

Key* findKey(Tree& tree, const QString& path) {
    for (Key& k : tree)
        if (samePath(k.path, path)) return &k;
    return nullptr;
}

const Key* findKey(const Tree& tree, const QString& path) {
    return findKey(const_cast<Tree&>(tree), path);
}

// Adds the key and every missing parent, parents first.
Key& ensureKey(Tree& tree, const QString& path) {
    const QStringList parts = path.split('\\');
    for (int i = 1; i <= parts.size(); ++i) {
        const QString p = parts.mid(0, i).join('\\');
        if (!findKey(tree, p)) tree.push_back(Key{p, {}});
    }
    return *findKey(tree, path);
}

// One locked read-modify-write. The lock is named after the file, so registries of
// other program folders do not wait for each other.
bool modify(const QString& file, const std::function<bool(Tree&)>& change) {
    const int lock = LockNamedObjectBlocking("Registry_" + QString::number(qHash(file), 16));
    Tree tree = readTree(file);
    const bool ok = change(tree) ? writeTree(file, tree) : true;
    CloseNamedObject(lock);
    return ok;
}

}  // namespace

Registry::Registry() : m_file(DefaultFile()) {}
Registry::Registry(const QString& file) : m_file(file) {}

QString Registry::DefaultFile() { return AppPath() + "/Registry.ini"; }

bool Registry::HasKey(const QString& key) const {
    // A key is there when it or anything below it is (a hand-written file may name only
    // the deepest key).
    const QString path = normalPath(key);
    if (path.isEmpty()) return false;
    const Tree tree = readTree(m_file);
    return std::any_of(tree.begin(), tree.end(),
                       [&](const Key& k) { return within(k.path, path); });
}

QString Registry::Value(const QString& key, const QString& name, bool* found) const {
    if (found) *found = false;
    const Tree tree = readTree(m_file);
    const Key* k = findKey(tree, normalPath(key));
    if (!k) return QString();
    for (const auto& v : k->values) {
        if (v.name.compare(name, Qt::CaseInsensitive) != 0) continue;
        if (found) *found = true;
        return v.text;
    }
    return QString();
}

QStringList Registry::ValueNames(const QString& key) const {
    const Tree tree = readTree(m_file);
    QStringList names;
    if (const Key* k = findKey(tree, normalPath(key)))
        for (const auto& v : k->values) names << v.name;
    return names;
}

QStringList Registry::SubKeys(const QString& key) const {
    const QString path = normalPath(key);
    QStringList names;
    for (const Key& k : readTree(m_file)) {
        const bool below = path.isEmpty() || (within(k.path, path) && !samePath(k.path, path));
        if (!below) continue;
        const QString rest = path.isEmpty() ? k.path : k.path.mid(path.size() + 1);
        const QString child = rest.section('\\', 0, 0);
        if (!names.contains(child, Qt::CaseInsensitive)) names << child;
    }
    return names;
}

bool Registry::CreateKey(const QString& key) {
    const QString path = normalPath(key);
    if (path.isEmpty()) return false;
    return modify(m_file, [&](Tree& tree) {
        if (findKey(tree, path)) return false;
        ensureKey(tree, path);
        return true;
    });
}

bool Registry::SetValue(const QString& key, const QString& name, const QString& value) {
    const QString path = normalPath(key);
    if (path.isEmpty()) return false;
    const QString text = oneLine(value);
    const QString valueName = oneLine(name).remove('=');
    return modify(m_file, [&](Tree& tree) {
        Key& k = ensureKey(tree, path);
        for (auto& v : k.values) {
            if (v.name.compare(valueName, Qt::CaseInsensitive) != 0) continue;
            v.text = text;
            return true;
        }
        k.values.push_back({valueName, text});
        return true;
    });
}

bool Registry::DeleteKey(const QString& key) {
    const QString path = normalPath(key);
    if (path.isEmpty()) return false;
    return modify(m_file, [&](Tree& tree) {
        const auto before = tree.size();
        std::erase_if(tree, [&](const Key& k) { return within(k.path, path); });
        return tree.size() != before;
    });
}

bool Registry::DeleteValue(const QString& key, const QString& name) {
    const QString path = normalPath(key);
    return modify(m_file, [&](Tree& tree) {
        Key* k = findKey(tree, path);
        if (!k) return false;
        const auto before = k->values.size();
        std::erase_if(k->values, [&](const auto& v) {
            return v.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        return k->values.size() != before;
    });
}

}  // namespace plat
