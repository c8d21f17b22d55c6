#pragma once
#include <QString>
#include <memory>
#include <utility>
#include <vector>

// Loaded record objects of one kind, each under a key ("R12"), in the order they were
// added; members are numbered from 1. A key is held once: a second member under it is
// not added.
template <typename T>
class RecordCollection {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    // Member 1 .. Count().
    T& Item(int number) { return *m_items.at(static_cast<size_t>(number - 1)).second; }
    QString Key(int number) const { return m_items.at(static_cast<size_t>(number - 1)).first; }
    bool Add(const QString& key, std::unique_ptr<T> member) {
        for (const auto& item : m_items)
            if (item.first == key) return false;
        m_items.emplace_back(key, std::move(member));
        return true;
    }

private:
    std::vector<std::pair<QString, std::unique_ptr<T>>> m_items;
};
