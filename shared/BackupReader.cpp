#include "BackupReader.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>

#include "BackupFormat.h"
#include "DaoInternals.h"
#include "ErrorText.h"

namespace {

// The numbers the runtime gives these file faults.
constexpr int kInputPastEnd = 62;
constexpr int kBadFileFormat = 321;

// What each record kind holds after its letter: t = text, s = 16-bit number,
// l = 32-bit number.
struct Layout {
    char kind;
    const char* fields;
};
constexpr Layout kLayouts[] = {
    {'G', "tsss"}, {'R', "tsss"}, {'T', "tsssl"}, {'C', "tttt"}, {'A', "tttlsstttt"}};

const Layout* layoutOf(QChar kind) {
    for (const Layout& l : kLayouts)
        if (kind == QLatin1Char(l.kind)) return &l;
    return nullptr;
}

QString number(qsizetype n) { return QString::number(n); }

// A field written as plain decimal (an optional minus, digits only) that fits the width.
bool isPlainNumber(const QString& text, char width) {
    const qsizetype digits = text.size() - (text.startsWith(u'-') ? 1 : 0);
    if (digits < 1 || digits > 10) return false;
    for (qsizetype i = text.size() - digits; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9') return false;
    const qlonglong v = text.toLongLong();
    return width == 's' ? v >= INT16_MIN && v <= INT16_MAX : v >= INT32_MIN && v <= INT32_MAX;
}

// Checks the end mark against the lines of each kind the file holds before it; false (with
// f set) for a mark that is not as the writer makes it, or whose counts differ: lines were
// lost or added after the backup was written.
bool checkEnd(const QString& mark, int lineNo, const QHash<QChar, int>& held, dao::Failure& f) {
    const QStringList fields = mark.split(u'~');
    QHash<QChar, int> counted;
    bool wellFormed = fields.size() % 2 == 1;
    for (qsizetype k = 1; wellFormed && k + 1 < fields.size(); k += 2) {
        wellFormed = fields[k].size() == 1 && !counted.contains(fields[k][0]) &&
                     isPlainNumber(fields[k + 1], 'l');
        if (wellFormed) counted.insert(fields[k][0], fields[k + 1].toInt());
    }
    for (const char* kind = BackupFormat::kKinds; wellFormed && *kind; ++kind)
        wellFormed = counted.contains(QLatin1Char(*kind));
    if (!wellFormed) {
        f = {kBadFileFormat, 3,
             QString("Line %1 is not an end mark as a backup writes it.").arg(lineNo)};
        return false;
    }
    for (auto c = counted.cbegin(); c != counted.cend(); ++c) {
        if (held.value(c.key()) == c.value()) continue;
        f = {kInputPastEnd, 3,
             QString("The file is incomplete or was added to: its end mark counts %1 %2 "
                     "line(s), the file holds %3.")
                 .arg(number(c.value()), QString(c.key()), number(held.value(c.key())))};
        return false;
    }
    return true;
}

// The refusal of a K, Q or U line that does not belong after the record line it follows.
dao::Failure notAfter(int lineNo, QChar letter, int recordLine) {
    return {kBadFileFormat, 3,
            QString("Line %1 is not a %2 line as a backup writes it after line %3.")
                .arg(number(lineNo), QString(letter), number(recordLine))};
}

// Whether lines of that letter add to the record line before them.
bool addsToRecord(QChar letter) {
    return letter == QLatin1Char(BackupFormat::kKeys) ||
           letter == QLatin1Char(BackupFormat::kExact) ||
           letter == QLatin1Char(BackupFormat::kForBookings);
}

// Adds what a K, Q or U line says to the record line before it; false (with f set) for one
// that is not as the writer makes it after that line. inGroup: the R, T and C lines of the
// current group so far.
bool addToRecord(const QString& line, int lineNo, std::vector<BackupReader::Record>& records,
                 const int (&inGroup)[3], dao::Failure& f) {
    const QStringList fields = line.split(u'~');
    BackupReader::Record* r = records.empty() ? nullptr : &records.back();
    bool ok = r && fields[0].size() == 1;
    if (ok && line[0] == QLatin1Char(BackupFormat::kKeys)) {
        ok = r->kind == 'A' && !r->keyed && fields.size() == 4;
        for (int k = 0; ok && k < 3; ++k) {
            ok = isPlainNumber(fields[k + 1], 'l') && fields[k + 1].toInt() >= 0 &&
                 fields[k + 1].toInt() <= inGroup[k];
            if (ok) r->keys[k] = fields[k + 1].toInt();
        }
        r->keyed = ok;
        r->keysLine = lineNo;
    } else if (ok && line[0] == QLatin1Char(BackupFormat::kForBookings)) {
        ok = r->kind == 'C' && !r->forBookings && fields.size() == 1;
        r->forBookings = ok;
    } else if (ok) {
        // The texts whole, each of which the record line carries plainly.
        const char* layout = layoutOf(QLatin1Char(r->kind))->fields;
        QStringList texts;
        for (qsizetype k = 0; layout[k]; ++k)
            if (layout[k] == 't') texts << r->fields[k + 1];
        ok = !r->exact && fields.size() == texts.size() + 1;
        for (qsizetype k = 0, t = 0; ok && layout[k]; ++k) {
            if (layout[k] != 't') continue;
            const QString whole = BackupFormat::Unescaped(fields[++t]);
            ok = BackupFormat::Plain(whole) == r->fields[k + 1];
            texts[t - 1] = whole;
        }
        for (qsizetype k = 0, t = 0; ok && layout[k]; ++k)
            if (layout[k] == 't') r->fields[k + 1] = texts[t++];
        r->exact = ok;
    }
    if (ok) return true;
    f = r ? notAfter(lineNo, line[0], r->lineNo)
          : dao::Failure{kBadFileFormat, 3,
                         QString("Line %1 is not a %2 line as a backup writes it: no record "
                                 "line comes before it.")
                             .arg(number(lineNo), QString(line[0]))};
    return false;
}

// Whether each K line numbers records of the names its A line gives, as the records hold
// them (the A line names them so); false (with f set) for one that numbers others. A number
// 0 is none of the group's records: the restore leaves such a booking out, but gives it no
// customer for an empty customer name, and the group's customer of the name for another.
bool keysAgree(const std::vector<BackupReader::Record>& records, dao::Failure& f) {
    constexpr char kMembers[] = "RTC";  // in the order of a K line's numbers
    std::vector<const BackupReader::Record*> inGroup[3];
    for (const BackupReader::Record& r : records) {
        if (r.kind == 'G') {
            for (auto& lines : inGroup) lines.clear();
        } else if (const char* member = strchr(kMembers, r.kind)) {
            inGroup[member - kMembers].push_back(&r);
        } else if (r.keyed) {
            for (int k = 0; k < 3; ++k) {
                const size_t n = r.keys[k];
                if (n == 0 ||
                    (n <= inGroup[k].size() && inGroup[k][n - 1]->text(2) == r.text(k + 2)))
                    continue;
                f = notAfter(r.keysLine, QLatin1Char(BackupFormat::kKeys), r.lineNo);
                return false;
            }
        }
    }
    return true;
}

// Whether the text holds a carriage return that ends no line: one not before a line feed.
bool crAlone(QStringView text) {
    for (qsizetype i = text.indexOf(u'\r'); i >= 0; i = text.indexOf(u'\r', i + 1))
        if (i + 1 == text.size() || text[i + 1] != u'\n') return true;
    return false;
}

// The number of the last line that holds anything when it is an end mark; 0 otherwise.
// lines: whole lines, each ended by its line feed.
int endMarkLine(QStringView lines) {
    qsizetype end = lines.size();
    while (end > 0 && (lines[end - 1] == u'\n' || lines[end - 1] == u'\r')) --end;
    const qsizetype start = lines.left(end).lastIndexOf(u'\n') + 1;
    if (!lines.mid(start, end - start).startsWith(QString(BackupFormat::kEnd) + '~')) return 0;
    return static_cast<int>(lines.left(start).count(u'\n')) + 1;
}

// Characters after a file's last line end, for the user.
QString strayText(QStringView tail) {
    if (tail == u"\r") return "a carriage return alone";
    if (std::all_of(tail.begin(), tail.end(), [](QChar c) { return c.isNull(); }))
        return tail.size() == 1 ? QString("a NUL byte") : number(tail.size()) + " NUL bytes";
    return number(tail.size()) + " character(s) without a line end";
}

// Whether the line is the first line of a backup of this program, as written or not.
bool beginsBackup(const QString& line) {
    return line.startsWith(QString(BackupFormat::kFirst) + '~' + BackupFormat::kFirstMark + '~');
}

// The format number a backup's first line names, without leading zeros, when its field is
// digits alone, however many (a far newer format is still a newer one); "" otherwise.
QString formatDigits(const QString& line) {
    const QString field = line.section(u'~', 2, 2);
    if (field.isEmpty() ||
        !std::all_of(field.begin(), field.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return QString();
    qsizetype zeros = 0;
    while (zeros + 1 < field.size() && field[zeros] == u'0') ++zeros;
    return field.mid(zeros);
}

// Whether a format number (digits without leading zeros) is newer than this program's.
bool newerThanOurs(const QString& digits) {
    const QString ours = number(BackupFormat::kFormat);
    return digits.size() > ours.size() || (digits.size() == ours.size() && digits > ours);
}

// The first line as this program writes it: the mark and the number of a format it reads.
bool isFirstLine(const QString& line) {
    const QString digits = formatDigits(line);
    return beginsBackup(line) && line.count(u'~') == 2 && !digits.isEmpty() && digits != "0" &&
           !newerThanOurs(digits);
}

// Why a file whose first line begins as a backup's is refused for the format it names: a
// newer one (which may differ from this one in anything after that line), or a field that
// names no format. None for a format this program reads, or a file that begins otherwise.
std::optional<QString> formatRefusal(const QString& content) {
    // Up to a carriage return too: lines that end so are refused for that, further on.
    QString first = content.section(u'\n', 0, 0);
    first = first.left(first.indexOf(u'\r'));
    if (!beginsBackup(first)) return std::nullopt;
    const QString digits = formatDigits(first);
    const QString ours = number(BackupFormat::kFormat);
    if (!digits.isEmpty() && newerThanOurs(digits))
        return QString(
                   "The file is a backup of format %1; this program reads format %2 and "
                   "older.")
            .arg(digits, ours);
    if (!digits.isEmpty() && digits != "0") return std::nullopt;
    constexpr qsizetype kShown = 40;  // characters of the field the message shows
    QString field = first.section(u'~', 2, 2);
    if (field.size() > kShown) field = field.left(kShown) + "...";
    return QString(
               "Line 1 names the format \"%1\", which is no format of a backup (they are "
               "numbered from 1); this program reads format %2 and older.")
        .arg(field, ours);
}

// The letters of the lines only backups that end with their mark hold, as a text for the
// user ("K and U lines").
QString addedKinds(const QHash<QChar, int>& held) {
    QStringList letters;
    for (char kind : {BackupFormat::kKeys, BackupFormat::kExact, BackupFormat::kForBookings})
        if (held.contains(QLatin1Char(kind))) letters << QString(QLatin1Char(kind));
    const QString last = letters.takeLast();
    return (letters.isEmpty() ? last : letters.join(", ") + " and " + last) + " lines";
}

}  // namespace

bool BackupReader::Read(const QString& file, std::vector<Record>& records, bool& marked,
                        dao::Failure& f) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        f = {in.exists() ? err::PathFileAccess : err::FileNotFound, 2,
             "The file cannot be opened: " + in.errorString() + "."};
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        f = {err::DeviceIo, 2, "The file cannot be read: " + in.errorString() + "."};
        return false;
    }
    in.close();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString content = utf8(bytes);  // a leading BOM is skipped
    if (const std::optional<QString> why = formatRefusal(content)) {
        f = {kBadFileFormat, 3, *why};
        return false;
    }
    if (utf8.hasError()) {
        f = {kBadFileFormat, 3, "The file is not text as a backup writes it (UTF-8)."};
        return false;
    }
    // The writer ends every line, so text after the last line end means a cut-off file,
    // unless the lines before it end with the mark of a whole one.
    const qsizetype tailFrom = content.lastIndexOf(u'\n') + 1;
    const QStringView tail = QStringView(content).mid(tailFrom);
    const int markLine = tail.isEmpty() ? 0 : endMarkLine(QStringView(content).left(tailFrom));
    // A carriage return is written only before a line feed (the texts carry theirs escaped).
    // One at the very end of a file without line feeds ends its one line so, not a cut one.
    if (crAlone(markLine ? QStringView(content).left(tailFrom) : QStringView(content)) ||
        (content.endsWith(u'\r') && tailFrom == 0)) {
        f = {kBadFileFormat, 3,
             "The file's lines do not end as a backup's do: some end in a carriage return "
             "alone."};
        return false;
    }
    if (markLine) {
        f = {kBadFileFormat, 3,
             QString("The file goes on after its end mark on line %1 with %2, which no backup "
                     "writes.")
                 .arg(number(markLine), strayText(tail))};
        return false;
    }
    QStringList lines = content.split(u'\n');
    if (!lines.takeLast().isEmpty()) {
        f = {kInputPastEnd, 3,
             QString("The file is cut short: it ends inside line %1.").arg(lines.size() + 1)};
        return false;
    }
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    // The last line that holds anything: an end mark must be that line. Empty lines after
    // it (LF or CR LF, as an editor or a copy may add them) carry nothing, and are allowed.
    qsizetype last = lines.size() - 1;
    while (last >= 0 && lines[last].isEmpty()) --last;
    QHash<QChar, int> held;  // lines of each kind, by their letter
    int inGroup[3] = {};     // R, T and C lines of the current group so far
    marked = false;
    const bool versioned = !lines.isEmpty() && isFirstLine(lines[0]);
    for (int i = versioned ? 1 : 0; i <= last; ++i) {
        const QString& line = lines[i];
        if (line.isEmpty()) continue;
        if (beginsBackup(line)) {
            f = {kBadFileFormat, 3,
                 i == 0 ? QString("Line 1 is not a %1 line as a backup writes it.")
                              .arg(QLatin1Char(BackupFormat::kFirst))
                        : QString("Line %1 begins a backup but is not the file's first line: "
                                  "files were joined, or lines added before it.")
                              .arg(i + 1)};
            return false;
        }
        if (line.startsWith(QString(BackupFormat::kEnd) + '~')) {
            // Lines after the mark, but for empty ones, were added to the file since:
            // refused as a cut one is.
            if (i != last) {
                f = {kBadFileFormat, 3,
                     QString("The file goes on after its end mark on line %1: lines were "
                             "added after the backup was written.")
                         .arg(i + 1)};
                return false;
            }
            if (!checkEnd(line, i + 1, held, f)) return false;
            marked = true;
            break;
        }
        ++held[line[0]];
        if (addsToRecord(line[0])) {
            if (!addToRecord(line, i + 1, records, inGroup, f)) return false;
            continue;
        }
        const Layout* layout = layoutOf(line[0]);
        if (!layout) continue;
        Record r{layout->kind, line.split(u'~'), i + 1};
        const auto expected = static_cast<qsizetype>(strlen(layout->fields)) + 1;
        if (r.fields.size() != expected || r.fields[0].size() != 1) {
            f = {kBadFileFormat, 3,
                 QString("Line %1 is not a %2 line as a backup writes it: it has %3 fields, "
                         "not %4.")
                     .arg(number(r.lineNo), QString(QLatin1Char(layout->kind)),
                          number(r.fields.size()), number(expected))};
            return false;
        }
        for (int k = 2; k <= expected; ++k) {
            const char width = layout->fields[k - 2];
            if (width != 't' && !isPlainNumber(r.text(k), width)) {
                f = {err::TypeMismatch, 3,
                     QString("Line %1, field %2: \"%3\" is not a %4-bit number.")
                         .arg(number(r.lineNo), number(k), r.text(k), width == 's' ? "16" : "32")};
                return false;
            }
        }
        switch (r.kind) {
            case 'G':
                std::fill(std::begin(inGroup), std::end(inGroup), 0);
                break;
            case 'R':
                ++inGroup[0];
                break;
            case 'T':
                ++inGroup[1];
                break;
            case 'C':
                ++inGroup[2];
                break;
            default:
                break;
        }
        records.push_back(std::move(r));
    }
    // A backup that begins as this program's, or holds lines of its own kinds, was written
    // with its end mark: without it, it was cut short.
    if (!marked && versioned) {
        f = {kInputPastEnd, 3,
             "The file is cut short: it begins as a backup of this program, and lacks the end "
             "mark that every one ends with."};
        return false;
    }
    if (!marked && std::any_of(held.keyBegin(), held.keyEnd(), addsToRecord)) {
        f = {kInputPastEnd, 3,
             QString("The file is cut short: it has %1, and lacks the end mark that every "
                     "backup with such lines ends with.")
                 .arg(addedKinds(held))};
        return false;
    }
    // The backup of an empty database is its end mark alone, counting nothing.
    if (records.empty() && !(marked && held.isEmpty())) {
        f = {kBadFileFormat, 3, "The file holds no records."};
        return false;
    }
    return keysAgree(records, f);
}
