#include "ClassId.h"

#include <QRegularExpression>

namespace plat {

ClassId ClassId::FromString(const QString& text, bool* ok) {
    static const QRegularExpression form(
        "^\\{?([0-9A-Fa-f]{8})-([0-9A-Fa-f]{4})-([0-9A-Fa-f]{4})-([0-9A-Fa-f]{4})-"
        "([0-9A-Fa-f]{12})\\}?$");
    const QRegularExpressionMatch m = form.match(text.trimmed());
    const bool braces = text.trimmed().startsWith('{') == text.trimmed().endsWith('}');
    if (ok) *ok = m.hasMatch() && braces;
    if (!m.hasMatch() || !braces) return ClassId();
    ClassId id;
    id.data1 = m.captured(1).toUInt(nullptr, 16);
    id.data2 = static_cast<uint16_t>(m.captured(2).toUInt(nullptr, 16));
    id.data3 = static_cast<uint16_t>(m.captured(3).toUInt(nullptr, 16));
    const QString tail = m.captured(4) + m.captured(5);
    for (int i = 0; i < 8; ++i)
        id.data4[i] = static_cast<uint8_t>(tail.mid(i * 2, 2).toUInt(nullptr, 16));
    return id;
}

QString ClassId::ToString() const {
    QString tail;
    for (int i = 0; i < 8; ++i) {
        if (i == 2) tail += '-';
        tail += QString("%1").arg(data4[i], 2, 16, QChar('0'));
    }
    return QString("{%1-%2-%3-%4}")
        .arg(data1, 8, 16, QChar('0'))
        .arg(data2, 4, 16, QChar('0'))
        .arg(data3, 4, 16, QChar('0'))
        .arg(tail)
        .toUpper();
}

bool ClassId::IsNull() const { return *this == ClassId(); }

}  // namespace plat
