#pragma once
#include <QString>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

// A value for one "?" of a statement run through ClsDAO. The value travels beside the
// statement, never inside its text, so a user's text reaches the table exactly as typed
// ("%1", "'", "--" and all). Null is a value of its own: SqlValue() or nullptr gives Null;
// a QString, also an empty or null one, always gives a text ("" stays ""), a number a
// number (0 stays 0).
class SqlValue {
public:
    SqlValue() = default;  // Null
    SqlValue(std::nullptr_t) {}
    template <std::integral T>
    SqlValue(T v) : m_v(static_cast<int64_t>(v)) {}
    SqlValue(double v) : m_v(v) {}
    SqlValue(const QString& v) : m_v(v.isNull() ? QString("") : v) {}
    SqlValue(const char* v) : m_v(QString::fromUtf8(v ? v : "")) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    const int64_t* integer() const { return std::get_if<int64_t>(&m_v); }
    const double* real() const { return std::get_if<double>(&m_v); }
    const QString* text() const { return std::get_if<QString>(&m_v); }
    bool operator==(const SqlValue&) const = default;

private:
    std::variant<std::monostate, int64_t, double, QString> m_v;
};

// The values of a statement's "?" placeholders, in the order they stand in its text.
using SqlValues = std::vector<SqlValue>;
