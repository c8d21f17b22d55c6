#include "BackupFormat.h"

namespace {
bool special(QChar c) { return c == u'~' || c == u'\r' || c == u'\n'; }
int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    return -1;
}
}  // namespace

QString BackupFormat::Plain(const QString& text) {
    if (!NeedsExact(text)) return text;
    QString t = text;
    for (QChar& c : t)
        if (special(c)) c = u' ';
    return t;
}

bool BackupFormat::NeedsExact(const QString& text) {
    for (QChar c : text)
        if (special(c)) return true;
    return false;
}

QString BackupFormat::Escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        static const char digits[] = "0123456789ABCDEF";
        if (c == u'%' || special(c)) {
            out += u'%';
            out += QLatin1Char(digits[c.unicode() / 16]);
            out += QLatin1Char(digits[c.unicode() % 16]);
        } else {
            out += c;
        }
    }
    return out;
}

QString BackupFormat::Unescaped(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const int high = field[i] == u'%' && i + 2 < field.size() ? hexDigit(field[i + 1]) : -1;
        const int low = high >= 0 && high < 8 ? hexDigit(field[i + 2]) : -1;
        if (low < 0) {
            out += field[i];
            continue;
        }
        out += QChar(high * 16 + low);
        i += 2;
    }
    return out;
}
