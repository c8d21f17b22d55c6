#include "ClsIni.h"

#include <QFile>
#include <QTextStream>

#include "ClsLogging.h"
#include "ErrorText.h"
#include "ProfileFile.h"
#include "SharedObjects.h"

namespace {
constexpr int kBufferSize = ClsIni::kLongestValue + 1;  // and its terminator

void log(const QString& line) { SharedObjects::Log().LogMsg(line); }

// A read drops the blanks around a value and then one pair of like quotes around it. A
// value that would lose its quotes so is stored inside one pair more, which that read
// drops again: it comes back exactly as written, blanks and all.
QString storedForm(const QString& value) {
    const QString t = value.trimmed();
    const bool quoted =
        t.size() >= 2 && (t.front() == u'"' || t.front() == u'\'') && t.back() == t.front();
    return quoted ? '"' + value + '"' : value;
}

// Reads the file's lines without their line ends; false when it cannot be opened.
bool readLines(const QString& path, QStringList& lines) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    lines = QString::fromUtf8(f.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    return true;
}
}  // namespace

void ClsIni::setIniFile(const QString& NewFile) {
    m_file = NewFile.contains('.') ? NewFile : NewFile + ".ini";
}

// The list operations read the same file the value operations use, so a name without a
// folder is looked for in the program folder, and a full path is used as it is.
QString ClsIni::path() const { return plat::ResolveProfilePath(m_file); }

bool ClsIni::WriteValue(const QString& SectName, const QString& KeyName, const QString& NewVal) {
    if (m_file.isEmpty()) return false;
    if (plat::WritePrivateProfileString(SectName, KeyName, storedForm(NewVal), m_file)) return true;
    log(QString("ERROR: ClsIni.WriteValue(\"%1\", \"%2\", \"%3\")").arg(SectName, KeyName, NewVal));
    return false;
}

bool ClsIni::WriteValue(const QString& SectName, const QString& KeyName, int64_t NewVal) {
    return WriteValue(SectName, KeyName, QString::number(NewVal));
}

bool ClsIni::WriteSection(const QString& SectName,
                          const QList<std::pair<QString, QString>>& Keys) {
    if (m_file.isEmpty()) return false;
    plat::ProfileEntries stored;
    for (const auto& [key, value] : Keys) stored.append({key, storedForm(value)});
    QString why;
    if (plat::WritePrivateProfileSection(SectName, stored, m_file, &why)) return true;
    log(QString("ERROR: ClsIni.WriteSection(\"%1\"): %2").arg(SectName, why));
    return false;
}

std::optional<QString> ClsIni::ReadFailure() const {
    if (m_file.isEmpty()) return std::nullopt;
    std::optional<QString> why = plat::ProfileReadFailure(m_file);
    if (!why) return std::nullopt;
    log(err::OnLine("ClsIni.ReadFailure", err::PathFileAccess, 1,
                    "The file cannot be read: " + path() + ": " + *why));
    if (!why->isEmpty()) (*why)[0] = why->at(0).toLower();  // it goes after a colon
    return "The settings file " + path() + " cannot be read: " + *why + ".";
}

QString ClsIni::GetValue(const QString& SectName, const QString& KeyName, const QString& DefVal) {
    if (m_file.isEmpty()) return DefVal;
    QString out;
    plat::GetPrivateProfileString(SectName, KeyName, DefVal, out, kBufferSize, m_file);
    return out;
}

QString ClsIni::GetValue(const QString& SectName, const QString& KeyName, int64_t DefVal) {
    return GetValue(SectName, KeyName, QString::number(DefVal));
}

int64_t ClsIni::GetNumber(const QString& SectName, const QString& KeyName, int64_t DefVal) {
    bool ok = false;
    const int64_t v = GetValue(SectName, KeyName, DefVal).trimmed().toLongLong(&ok);
    return ok ? v : DefVal;
}

QStringList ClsIni::GetSectionNames() {
    QStringList names;
    if (m_file.isEmpty()) return names;
    QStringList lines;
    if (!readLines(path(), lines)) {
        log(err::OnLine("ClsIni.GetSectionNames", err::FileNotFound, 2,
                        "File not found: " + path()));
        return names;
    }
    for (const QString& line : lines) {
        if (line.startsWith('[') && line.endsWith(']')) {
            const QString name = line.mid(1, line.size() - 2);
            log(name);
            names << name;
        }
    }
    return names;
}

QStringList ClsIni::GetSection(const QString& SectName) {
    QStringList keys;
    if (m_file.isEmpty()) return keys;
    QStringList lines;
    if (!readLines(path(), lines)) {
        log(err::OnLine("ClsIni.GetSection", err::FileNotFound, 3, "File not found: " + path()));
        return keys;
    }
    bool inside = false;
    for (const QString& raw : lines) {
        if (raw.startsWith('[') && raw.endsWith(']')) {
            if (inside) break;
            inside = raw.mid(1, raw.size() - 2) == SectName;
            continue;
        }
        const QString line = raw.trimmed();
        if (line.isEmpty() || !inside || line.startsWith(';')) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        const QString key = line.left(eq);  // blanks before the "=" stay
        log(key);
        keys << key;
    }
    return keys;
}
