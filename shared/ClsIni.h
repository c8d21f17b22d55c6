#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "WholeFile.h"

// One settings file in profile (INI) form. Every read names a default; nothing is cached,
// each read goes to the file again. A name without a folder lives in the program folder.
class ClsIni {
public:
    // Stores the name; a name without any "." gets ".ini" appended.
    void setIniFile(const QString& NewFile);
    QString IniFile() const { return m_file; }

    // The longest value a read gives back whole; a longer one comes back cut.
    static constexpr int kLongestValue = 254;

    // What a write of the file came to; the file is as it was when it failed.
    using Written = plat::WholeFile::Result;
    // Called with a write of this object's file that failed (a full disk, a read-only file):
    // the program decides whether and how it is told. None by default.
    void setOnFailure(std::function<void(const Written&)> tell) { m_onFailure = std::move(tell); }

    // The value stored in the file. A failure is logged (one line for a spell of failures:
    // the first after a write that succeeded) and handed to the failure call, so a caller
    // that leaves telling to that call may drop the result. A value in quotes is stored so
    // that it reads back with them. Without a file named, nothing is written or logged,
    // and the result is a failure all the same.
    Written WriteValue(const QString& SectName, const QString& KeyName, const QString& NewVal);
    Written WriteValue(const QString& SectName, const QString& KeyName, int64_t NewVal);
    // The section's keys replaced by these (key, value) pairs, in that order, in one write of
    // the file: old keys not among them are gone. Failures as for WriteValue. Values in
    // quotes are stored as by WriteValue.
    [[nodiscard]] Written WriteSection(const QString& SectName,
                                       const QList<std::pair<QString, QString>>& Keys);

    // When the file is there but cannot be read, so that every read would give only its
    // default: a sentence for the user that names the file and why, and one log line. None
    // when it reads, when it is missing (its reads give the defaults) or none is named.
    [[nodiscard]] std::optional<QString> ReadFailure() const;

    // The stored value (at most kLongestValue characters), or the default's text.
    QString GetValue(const QString& SectName, const QString& KeyName, const QString& DefVal);
    QString GetValue(const QString& SectName, const QString& KeyName, int64_t DefVal);
    // A number: the stored text read as a whole number, or DefVal when the key is missing
    // or its text is not a number.
    int64_t GetNumber(const QString& SectName, const QString& KeyName, int64_t DefVal);

    // Names of all sections, in file order; none when the file is there but cannot be read
    // (a missing file has none). Either is logged.
    [[nodiscard]] std::optional<QStringList> GetSectionNames();
    // Key names of one section (letter case of the section counts), in file order.
    QStringList GetSection(const QString& SectName);
    // The section's (key, value) pairs, in file order, each value as GetValue reads it,
    // from one read of the file: empty when the file or the section is missing, none (and
    // a log line) when the file is there but cannot be read.
    [[nodiscard]] std::optional<QList<std::pair<QString, QString>>> GetSectionValues(
        const QString& SectName);

private:
    QString path() const;
    // Logs the failure (the first of a spell) and hands it on; a success ends the spell.
    Written noted(const Written& written, const QString& logLine);
    QString m_file;
    std::function<void(const Written&)> m_onFailure;
    bool m_failing = false;  // the last write of the file failed, and was logged
};
