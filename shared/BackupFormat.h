#pragma once
#include <QString>

// The letters of a backup file's lines and the two ways its texts are written (the lines
// themselves are described in ClsDAOBackup.cpp). A field ends at the next "~" and a line at
// its line break, so a record line carries its texts plainly, with those characters as
// blanks; a text that needed that is carried whole by a line of its own after it.
class BackupFormat {
public:
    // The first line of every backup this program writes: this letter, then the program's
    // mark and the format's number, "V~Rostima backup~1". A file that begins so was written
    // whole with an end mark, so without one it was cut short; older readers skip it as a
    // line of a letter they do not know. A reader refuses a file of a format newer than
    // its own.
    static constexpr char kFirst = 'V';
    static constexpr char kFirstMark[] = "Rostima backup";
    static constexpr int kFormat = 1;
    // The kinds of record lines, which every end mark counts.
    static constexpr char kKinds[] = "GRTCA";
    // The last line, which marks the file whole: each kind with the number of its lines.
    static constexpr char kEnd = 'E';
    // After an A line: the numbers of its resource, type and customer among the R, T and C
    // lines of its group.
    static constexpr char kKeys = 'K';
    // After any record line whose texts were written plainly: all its texts, escaped.
    static constexpr char kExact = 'Q';
    // After a C line (and its Q line): the customer is not of the group, but bookings there
    // name it; it is of the group only with such a booking.
    static constexpr char kForBookings = 'U';
    // The kinds this program's end mark counts. Readers skip the lines of a letter they do
    // not know, and older ones check only the kinds a mark lists, so these may be added.
    static constexpr char kCounted[] = "GRTCAKQU";

    // The text as a field of a record line carries it: "~", CR and LF as blanks.
    static QString Plain(const QString& text);
    // Whether Plain changes the text.
    static bool NeedsExact(const QString& text);
    // The text as a field of a Q line carries it whole: "%", "~", CR and LF as "%25",
    // "%7E", "%0D" and "%0A".
    static QString Escaped(const QString& text);
    // The text of a Q line's field: every "%" and two hexadecimal digits of a character
    // below 128 as that character; any other "%" as it is.
    static QString Unescaped(const QString& field);
};
