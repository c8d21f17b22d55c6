#include "ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <optional>

#include "AppInfo.h"
#include "NamedObject.h"

namespace plat {
namespace {

// A file's lines as they stand, byte for byte, each with its own line end, and each one
// read as text for matching. A write changes only the bytes of the line it writes, so
// lines in another encoding or with another line end keep theirs.
struct Lines {
    QList<QByteArray> raw;   // without their line ends
    QList<QByteArray> ends;  // "\n", "\r\n", or "" for a last line without one
    QStringList lines;

    // Puts a line before index at (at the end when at is the count). It ends as the nearest
    // line before it that has an end (else with "\n"); a last line that had no end gets
    // that one too, so the two stay apart.
    void insert(qsizetype at, const QByteArray& line) {
        QByteArray end;
        for (qsizetype i = at - 1; end.isEmpty() && i >= 0; --i) end = ends[i];
        if (end.isEmpty()) end = "\n";
        if (at > 0 && ends[at - 1].isEmpty()) ends[at - 1] = end;
        raw.insert(at, line);
        ends.insert(at, end);
        lines.insert(at, QString::fromUtf8(line));
    }
    void remove(qsizetype at) {
        raw.removeAt(at);
        ends.removeAt(at);
        lines.removeAt(at);
    }
};

// The file's lines; none when it is there but cannot be read (a missing file has no
// lines), so that a write never puts a file of its own lines in place of one it could
// not read. why then says what stood in the way.
std::optional<Lines> readLines(const QString& path, QString* why = nullptr) {
    Lines r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (!QFile::exists(path)) return r;
        if (why) *why = QFileInfo(path).isDir() ? "it is a folder, not a file" : f.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    // The open can succeed and the read still fail (a disk error, a file of the system).
    if (f.error() != QFileDevice::NoError) {
        if (why) *why = f.errorString();
        return std::nullopt;
    }
    if (bytes.isEmpty()) return r;
    r.raw = bytes.split('\n');
    if (bytes.endsWith('\n')) r.raw.removeLast();
    for (qsizetype i = 0; i < r.raw.size(); ++i) {
        QByteArray& l = r.raw[i];
        QByteArray end = "\n";
        if (i == r.raw.size() - 1 && !bytes.endsWith('\n')) {
            end.clear();  // the last line has no end at all
        } else if (l.endsWith('\r')) {
            end = "\r\n";
            l.chop(1);
        }
        r.ends << end;
        r.lines << QString::fromUtf8(l);
    }
    return r;
}

// A line break inside a name or value would start new lines, and so new keys or
// sections, in the file: it is written as a blank.
QString oneLine(const QString& text) {
    QString t = text;
    for (QChar& c : t)
        if (c == u'\r' || c == u'\n') c = u' ';
    return t;
}

// The name of a section line "[name]" (blanks around allowed), or nothing. The name runs
// to the last "]", so a group template named "Clinic [17]" is one section.
std::optional<QString> sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith('[')) return std::nullopt;
    const qsizetype close = t.lastIndexOf(']');
    if (close < 0) return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

// The key of a "key = value" line, or nothing for comments and other lines.
std::optional<QString> keyOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';')) return std::nullopt;
    const qsizetype eq = t.indexOf('=');
    if (eq < 0) return std::nullopt;
    return t.left(eq).trimmed();
}

QString valueOf(const QString& line) {
    QString v = line.mid(line.indexOf('=') + 1).trimmed();
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

struct Found {
    int sectionLine = -1;  // index of the "[name]" line
    int lastLine = -1;     // last non-blank line that belongs to the section
    int keyLine = -1;
};

Found find(const QStringList& lines, const QString& section, const QString& key) {
    Found f;
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        if (auto s = sectionOf(lines[i])) {
            if (inside) break;  // the first section of that name is the one
            inside = same(*s, section.trimmed());
            if (inside) f.sectionLine = f.lastLine = i;
            continue;
        }
        if (!inside) continue;
        if (!lines[i].trimmed().isEmpty()) f.lastLine = i;
        if (f.keyLine < 0) {
            if (auto k = keyOf(lines[i]); k && same(*k, key.trimmed())) f.keyLine = i;
        }
    }
    return f;
}

// Under the file's lock (serialising read-modify-write across programs and within one):
// the file's lines, changed by edit, written whole in the file's place, so a failed write
// or a crash leaves the file as it was.
template <typename Edit>
WholeFile::Result rewrite(const QString& file, Edit edit) {
    const QString path = ResolveProfilePath(file);
    const int lock = LockNamedObjectBlocking("profile." + QFileInfo(path).absoluteFilePath());
    WholeFile::Result written;
    if (std::optional<Lines> l = readLines(path)) {
        edit(*l);
        QByteArray bytes;
        for (qsizetype i = 0; i < l->raw.size(); ++i) bytes += l->raw[i] + l->ends[i];
        written = WholeFile::Write(path, bytes);
    } else {
        // A folder in the file's place cannot be read either: that is the reason to give.
        const QFileInfo there(path);
        written = WholeFile::Result(
            path, there.isFile() ? WholeFile::Fault::Unreadable : WholeFile::Fault::NotAFile);
    }
    CloseNamedObject(lock);
    return written;
}

}  // namespace

QString ResolveProfilePath(const QString& file) {
    if (QDir::isAbsolutePath(file)) return file;
    return WindowsDirectory() + "/" + file;
}

std::optional<QString> ProfileReadFailure(const QString& file) {
    QString why;
    if (readLines(ResolveProfilePath(file), &why)) return std::nullopt;
    return why;
}

int GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue,
                            QString& out, int size, const QString& file) {
    out.clear();
    if (size < 1) return 0;
    const Lines l = readLines(ResolveProfilePath(file)).value_or(Lines{});
    const Found f = find(l.lines, oneLine(section), oneLine(key));
    out = f.keyLine >= 0 ? valueOf(l.lines[f.keyLine]) : defaultValue;
    out.truncate(size - 1);  // the last place of the caller's buffer is its terminator
    return static_cast<int>(out.size());
}

std::optional<ProfileEntries> GetPrivateProfileSection(const QString& section,
                                                       const QString& file) {
    const std::optional<Lines> l = readLines(ResolveProfilePath(file));
    if (!l) return std::nullopt;
    const QString s = oneLine(section).trimmed();
    ProfileEntries entries;
    bool inside = false;
    for (const QString& line : l->lines) {
        if (auto name = sectionOf(line)) {
            if (inside) break;  // the first section of that name is the one, as find() reads
            inside = same(*name, s);
            continue;
        }
        if (!inside) continue;
        if (auto k = keyOf(line)) entries.append({*k, valueOf(line)});
    }
    return entries;
}

WholeFile::Result WritePrivateProfileString(const QString& section, const QString& key,
                                            const QString& value, const QString& file) {
    const QString s = oneLine(section).trimmed(), k = oneLine(key).trimmed();
    const QString v = oneLine(value);
    return rewrite(file, [&](Lines& l) {
        const Found f = find(l.lines, s, k);
        if (f.keyLine >= 0) {
            l.raw[f.keyLine] = (keyOf(l.lines[f.keyLine]).value() + "=" + v).toUtf8();
        } else if (f.sectionLine >= 0) {
            l.insert(f.lastLine + 1, (k + "=" + v).toUtf8());
        } else {
            l.insert(l.raw.size(), ("[" + s + "]").toUtf8());
            l.insert(l.raw.size(), (k + "=" + v).toUtf8());
        }
    });
}

WholeFile::Result WritePrivateProfileSection(const QString& section, const ProfileEntries& entries,
                                             const QString& file) {
    const QString s = oneLine(section).trimmed();
    return rewrite(file, [&](Lines& l) {
        const Found f = find(l.lines, s, {});
        qsizetype at = l.raw.size();  // where the keys go: in place of the first old one
        if (f.sectionLine < 0) {
            l.insert(at++, ("[" + s + "]").toUtf8());
        } else {
            at = f.lastLine + 1;
            for (qsizetype i = f.lastLine; i > f.sectionLine; --i) {
                if (!keyOf(l.lines[i])) continue;  // comments and blank lines stay
                l.remove(i);
                at = i;
            }
        }
        for (const auto& [key, value] : entries)
            l.insert(at++, (oneLine(key).trimmed() + "=" + oneLine(value)).toUtf8());
    });
}

}  // namespace plat
