#include "PdfText.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <map>

namespace {

using Objects = std::map<int, QByteArray>;  // object number -> text up to "endobj"

Objects readObjects(const QByteArray& pdf) {
    Objects objects;
    static const QRegularExpression start(QStringLiteral("(?:^|\\n)(\\d+) 0 obj"));
    // Latin-1 keeps every byte as one character, so offsets match.
    const QString text = QString::fromLatin1(pdf);
    auto it = start.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        const qsizetype end = pdf.indexOf("endobj", m.capturedEnd());
        if (end < 0) break;
        objects[m.captured(1).toInt()] = pdf.mid(m.capturedEnd(), end - m.capturedEnd());
    }
    return objects;
}

QByteArray streamOf(const QByteArray& object) {
    const qsizetype begin = object.indexOf("stream\n");
    const qsizetype end = object.lastIndexOf("endstream");
    if (begin < 0 || end < 0) return {};
    QByteArray data = object.mid(begin + 7, end - begin - 7);
    if (!object.left(begin).contains("/FlateDecode")) return data;
    // qUncompress wants the expected size in front; it grows the buffer as needed.
    return qUncompress(QByteArray("\x00\x10\x00\x00", 4) + data);
}

int referenceIn(const QByteArray& object, const char* key) {
    const QRegularExpression re(QString::fromLatin1(key) + QStringLiteral("\\s+(\\d+) 0 R"));
    const auto m = re.match(QString::fromLatin1(object));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QHash<uint, QString> unicodeMap(const QByteArray& cmap) {
    QHash<uint, QString> map;
    const QString text = QString::fromLatin1(cmap);
    auto hex = [](const QString& h) { return h.toUInt(nullptr, 16); };
    auto chars = [&](const QString& h) {
        QString s;
        for (qsizetype i = 0; i + 4 <= h.size(); i += 4) s += QChar(char16_t(hex(h.mid(i, 4))));
        return s;
    };
    static const QRegularExpression array(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*\\[([^\\]]*)\\]"));
    auto ranges = array.globalMatch(text);
    while (ranges.hasNext()) {
        const auto m = ranges.next();
        uint code = hex(m.captured(1));
        static const QRegularExpression item(QStringLiteral("<([0-9A-Fa-f]+)>"));
        auto items = item.globalMatch(m.captured(3));
        while (items.hasNext()) map[code++] = chars(items.next().captured(1));
    }
    static const QRegularExpression pair(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>"));
    // Only outside the array ranges: three codes in a row inside an array are no range.
    QString outsideArrays = text;
    outsideArrays.remove(array);
    auto pairs = pair.globalMatch(outsideArrays);
    while (pairs.hasNext()) {
        const auto m = pairs.next();
        const uint first = hex(m.captured(3));
        for (uint c = hex(m.captured(1)); c <= hex(m.captured(2)); ++c)
            map[c] = QChar(char16_t(first + c - hex(m.captured(1))));
    }
    return map;
}

}  // namespace

std::vector<PdfPage> ReadPdfPages(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const Objects objects = readObjects(f.readAll());

    std::map<int, QHash<uint, QString>> fonts;  // font object -> glyph code -> text
    for (const auto& [number, object] : objects) {
        const int cmap = referenceIn(object, "/ToUnicode");
        if (cmap >= 0 && objects.count(cmap))
            fonts[number] = unicodeMap(streamOf(objects.at(cmap)));
    }
    static const QRegularExpression fontRef(QStringLiteral("/F(\\d+)\\s+(\\d+) 0 R"));
    QHash<QString, int> fontByName;
    for (const auto& [number, object] : objects) {
        auto it = fontRef.globalMatch(QString::fromLatin1(object));
        while (it.hasNext()) {
            const auto m = it.next();
            fontByName[QStringLiteral("F") + m.captured(1)] = m.captured(2).toInt();
        }
    }

    std::vector<PdfPage> pages;
    static const QRegularExpression token(
        QStringLiteral("/(F\\d+)\\s+[-\\d.]+\\s+Tf|<([0-9A-Fa-f]+)>\\s*Tj|\\bBT\\b|\\bET\\b"));
    for (const auto& [number, object] : objects) {
        if (!object.contains("/Type /Page\n") && !object.contains("/Type /Page ")) continue;
        const int contents = referenceIn(object, "/Contents");
        if (contents < 0 || !objects.count(contents)) continue;
        PdfPage page;
        page.content = streamOf(objects.at(contents));
        const QHash<uint, QString>* font = nullptr;
        QString current;
        auto it = token.globalMatch(QString::fromLatin1(page.content));
        while (it.hasNext()) {
            const auto m = it.next();
            const QString all = m.captured(0);
            if (!m.captured(1).isEmpty()) {
                const int obj = fontByName.value(m.captured(1), -1);
                font = fonts.count(obj) ? &fonts.at(obj) : nullptr;
            } else if (!m.captured(2).isEmpty()) {
                const QString hex = m.captured(2);
                for (qsizetype i = 0; font && i + 4 <= hex.size(); i += 4)
                    current += font->value(hex.mid(i, 4).toUInt(nullptr, 16));
            } else if (all == QLatin1String("ET")) {
                // Ligatures the shaper chose ("\uFB01") read back as their letters.
                page.texts << current.replace('\t', ' ').normalized(QString::NormalizationForm_KC);
                current.clear();
            }
        }
        pages.push_back(page);
    }
    return pages;
}
