#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace dao {
struct Failure;
}

// Reads a backup file whole and checks it before the restore changes anything: part of
// ClsDAO's restore.
class BackupReader {
public:
    // One record line, with what the lines after it add. Fields count from 1, the letter
    // being field 1; texts as the record held them (whole when the file carries them so).
    struct Record {
        char kind;
        QStringList fields;
        int lineNo;
        // An A line's resource, type and customer: their numbers among the R, T and C
        // lines of its group, from 1 (0: none of them). Only when keyed.
        bool keyed = false;
        int32_t keys[3] = {0, 0, 0};
        int keysLine = 0;          // the K line's own number
        bool exact = false;        // the texts came whole from a Q line
        bool forBookings = false;  // a customer of the group only with its bookings (U line)
        QString text(int field) const { return fields.value(field - 1); }
        int32_t number(int field) const { return fields.value(field - 1).toInt(); }
        int16_t minutes(int field) const { return static_cast<int16_t>(number(field)); }
    };

    // False (with f set, its description a sentence to show the user) for a file that
    // cannot be read, begins as a backup of a newer format than this program's, is not
    // UTF-8, has line ends a backup does not write, ends inside a line, holds no record (but
    // for an empty database's backup: its end mark alone), has a line of a known kind that
    // is not as the writer makes it, an end mark followed by anything but empty lines (LF
    // or CR LF) or whose counts differ, or no end mark though it begins as a backup of this
    // program or has K, Q or U lines (a backup of this program cut short). Lines of another
    // kind are skipped, as they always were.
    // marked tells whether the file ends with its mark: one without it (an older backup)
    // may have lost lines at its end.
    static bool Read(const QString& file, std::vector<Record>& records, bool& marked,
                     dao::Failure& f);
};
