#pragma once
#include <QString>
#include <cstdint>
#include <variant>

// One field value of a query row. NULL is kept apart from 0 and "".
class DbValue {
public:
    DbValue() = default;
    explicit DbValue(int64_t v) : m_v(v) {}
    explicit DbValue(double v) : m_v(v) {}
    explicit DbValue(QString v) : m_v(std::move(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    bool isText() const { return std::holds_alternative<QString>(m_v); }

    // Numbers of a NULL or a text that is not a number are 0.
    int64_t toLong() const;
    int32_t toInt() const { return static_cast<int32_t>(toLong()); }
    double toDouble() const;
    // Text of a NULL is "".
    QString toString() const;

private:
    std::variant<std::monostate, int64_t, double, QString> m_v;
};

inline int64_t DbValue::toLong() const {
    if (auto* i = std::get_if<int64_t>(&m_v)) return *i;
    if (auto* d = std::get_if<double>(&m_v)) return static_cast<int64_t>(*d);
    if (auto* s = std::get_if<QString>(&m_v)) return s->trimmed().toLongLong();
    return 0;
}

inline double DbValue::toDouble() const {
    if (auto* i = std::get_if<int64_t>(&m_v)) return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(&m_v)) return *d;
    if (auto* s = std::get_if<QString>(&m_v)) return s->trimmed().toDouble();
    return 0;
}

inline QString DbValue::toString() const {
    if (auto* i = std::get_if<int64_t>(&m_v)) return QString::number(*i);
    if (auto* d = std::get_if<double>(&m_v)) return QString::number(*d, 'g', 15);
    if (auto* s = std::get_if<QString>(&m_v)) return *s;
    return QString();
}
