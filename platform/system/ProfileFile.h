#pragma once
#include <QList>
#include <QString>
#include <optional>
#include <utility>

#include "WholeFile.h"

// Stand-in for the Windows profile-file functions (GetPrivateProfileString,
// GetPrivateProfileSection, WritePrivateProfileString, WritePrivateProfileSection) over
// UTF-8 text files:
// - section and key names match without regard to case, blanks around them ignored;
// - blanks around a value are trimmed and one pair of surrounding quotes is stripped;
// - a key that is present with an empty value reads as "", not as the default;
// - a write replaces the value in place and keeps every other line (comments too), adds
//   a new key after the last line of its section, a new section at the end of the file,
//   and creates a missing file;
// - a write is one locked read-modify-write that replaces the file whole (WholeFile), so
//   readers never see half a file, two writers never lose each other's values, and a
//   write that fails (a full disk) leaves the file as it was.
// - a write changes only the bytes of its own line (lines in another encoding or with
//   another line end stay as they were; a new line ends as the lines before it), and a
//   line break in a section, key or value is written as a blank, so a write never makes
//   keys or sections of its own;
// - a file that is there but cannot be read is not written (a read gives the defaults).
namespace plat {

// A section's keys and their values, in the order they are written.
using ProfileEntries = QList<std::pair<QString, QString>>;

// A name without a folder lives in the Windows directory (the program folder).
QString ResolveProfilePath(const QString& file);

// Why the file is there but cannot be read (a folder in its place, no permission, a read
// that fails): each read of it would give only the default. None when it reads, or is
// missing, which reads as the defaults.
[[nodiscard]] std::optional<QString> ProfileReadFailure(const QString& file);

// Copies at most size - 1 characters of the value (or of the default) into out and
// returns how many it copied. size below 1 copies nothing.
int GetPrivateProfileString(const QString& section, const QString& key,
                            const QString& defaultValue, QString& out, int size,
                            const QString& file);

// Every key of the section (the first of that name) with its value, in file order, each
// as GetPrivateProfileString reads it, from one read of the file: a large section costs
// one parse, not one per key. A key written twice is there twice (a read takes the
// first). Empty for a missing file or section; none when the file is there but cannot be
// read.
std::optional<ProfileEntries> GetPrivateProfileSection(const QString& section, const QString& file);

// What the write came to: when it failed, which file and why (the file is as it was).
[[nodiscard]] WholeFile::Result WritePrivateProfileString(const QString& section,
                                                          const QString& key, const QString& value,
                                                          const QString& file);

// Replaces every key of the section (the first of that name) with the entries, in one write
// of the file: keys the entries do not name are gone, the section's comments and blank
// lines stay, and the entries go where its first key was (after its last line when it had
// none; a missing section is added at the end). The result as for the string.
[[nodiscard]] WholeFile::Result WritePrivateProfileSection(const QString& section,
                                                           const ProfileEntries& entries,
                                                           const QString& file);

}  // namespace plat
