#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>

// One settings file in profile (INI) form. Every read names a default; nothing is cached,
// each read goes to the file again. A name without a folder lives in the program folder.
class ClsIni {
public:
    // Stores the name; a name without any "." gets ".ini" appended.
    void setIniFile(const QString& NewFile);
    QString IniFile() const { return m_file; }

    // The longest value a read gives back whole; a longer one comes back cut.
    static constexpr int kLongestValue = 254;

    // True when the value is in the file (false, and a log line, when it could not be
    // written; false without a line when no file is named). A value in quotes is stored so
    // that it reads back with them.
    bool WriteValue(const QString& SectName, const QString& KeyName, const QString& NewVal);
    bool WriteValue(const QString& SectName, const QString& KeyName, int64_t NewVal);
    // The section's keys replaced by these (key, value) pairs, in that order, in one write of
    // the file: old keys not among them are gone. False (and a log line; none when no file
    // is named) when the file could not be written: it is then as it was. Values in quotes
    // are stored as by WriteValue.
    bool WriteSection(const QString& SectName, const QList<std::pair<QString, QString>>& Keys);

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

    // Names of all sections, in file order.
    QStringList GetSectionNames();
    // Key names of one section (letter case of the section counts), in file order.
    QStringList GetSection(const QString& SectName);

private:
    QString path() const;
    QString m_file;
};
