#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>

// The two encodings the system stores: the day number (days since 1 January 1900, which
// is day 0 and a Monday) and the minute time (minutes since midnight, 0..1440; 1440 is
// the close of the day). Failures are logged and give a neutral result.
class ClsDate {
public:
    int32_t FirstDayOfMonth(int32_t day);
    int32_t LastDayOfMonth(int32_t day);
    int32_t DaysInMonth(int32_t day);

    int32_t DateToLong(const QDate& date);
    int32_t DateToLong(const QDateTime& moment) { return DateToLong(moment.date()); }
    // The date of a day number; the zero date (30 December 1899) outside years 100..9999.
    QDate LongToDate(int32_t day);

    // "hh:mm" in 24-hour form when [Options] UseMilitaryTime is set, else in 12-hour
    // form, with " am"/" pm" when Suffix is set.
    QString ShowTime(int16_t minutes, bool Suffix);
    QString MilitaryTime(int16_t minutes);
    // Whether [Options] UseMilitaryTime is numerically not 0 ("1", "-1", "1.0"); a text that
    // is not a number, an empty one or none at all means the 12-hour form.
    static bool UseMilitaryTime();
    // Minutes of "h:mm" (am/pm are not read); 0 without ":" or when out of range.
    int16_t GetTime(const QString& text);

    static QDate ZeroDate() { return QDate(1899, 12, 30); }
};
