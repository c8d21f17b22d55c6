#include "ClsIni.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "ClsLogging.h"
#include "ErrorText.h"
#include "ProfileFile.h"
#include "SharedObjects.h"

namespace {
constexpr int kBufferSize = ClsIni::kLongestValue + 1;  // and its terminator

void log(const QString& line) { SharedObjects::Log().LogMsg(line); }

QString cannotRead(const char* where, int line, const QString& path) {
    return err::OnLine(where, err::PathFileAccess, line, "The file cannot be read: " + path);
}

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
    m_failing = false;  // another file: its first failure is logged
}

// The list operations read the same file the value operations use, so a name without a
// folder is looked for in the program folder, and a full path is used as it is.
QString ClsIni::path() const { return plat::ResolveProfilePath(m_file); }

namespace {
// A write without a file named: nothing to write to, and nothing to log.
ClsIni::Written unnamed() { return {QString(), plat::WholeFile::Fault::Failed, "no file named"}; }
}  // namespace

// A read-only file fails every write of a session: its log tells the first, not one line
// each.
ClsIni::Written ClsIni::noted(const Written& written, const QString& logLine) {
    if (!written.Failed()) {
        m_failing = false;
        return written;
    }
    if (!m_failing) log(logLine + ": " + written.LogText());
    m_failing = true;
    if (m_onFailure) m_onFailure(written);
    return written;
}

ClsIni::Written ClsIni::WriteValue(const QString& SectName, const QString& KeyName,
                                   const QString& NewVal) {
    if (m_file.isEmpty()) return unnamed();
    return noted(
        plat::WritePrivateProfileString(SectName, KeyName, storedForm(NewVal), m_file),
        QString("ERROR: ClsIni.WriteValue(\"%1\", \"%2\", \"%3\")").arg(SectName, KeyName, NewVal));
}

ClsIni::Written ClsIni::WriteValue(const QString& SectName, const QString& KeyName,
                                   int64_t NewVal) {
    return WriteValue(SectName, KeyName, QString::number(NewVal));
}

ClsIni::Written ClsIni::WriteSection(const QString& SectName,
                                     const QList<std::pair<QString, QString>>& Keys) {
    if (m_file.isEmpty()) return unnamed();
    plat::ProfileEntries stored;
    for (const auto& [key, value] : Keys) stored.append({key, storedForm(value)});
    return noted(plat::WritePrivateProfileSection(SectName, stored, m_file),
                 QString("ERROR: ClsIni.WriteSection(\"%1\")").arg(SectName));
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

std::optional<QStringList> ClsIni::GetSectionNames() {
    QStringList names;
    if (m_file.isEmpty()) return names;
    QStringList lines;
    if (!readLines(path(), lines)) {
        // One that is there (a folder, a file of another user's) is not "not found": its
        // templates are there, and the caller says they cannot be read.
        if (QFileInfo::exists(path())) {
            log(cannotRead("ClsIni.GetSectionNames", 2, path()));
            return std::nullopt;
        }
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

std::optional<QList<std::pair<QString, QString>>> ClsIni::GetSectionValues(
    const QString& SectName) {
    if (m_file.isEmpty()) return plat::ProfileEntries{};
    std::optional<plat::ProfileEntries> entries = plat::GetPrivateProfileSection(SectName, m_file);
    if (!entries) {
        log(cannotRead("ClsIni.GetSectionValues", 1, path()));
        return std::nullopt;
    }
    for (auto& entry : *entries) entry.second.truncate(kLongestValue);
    return entries;
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
