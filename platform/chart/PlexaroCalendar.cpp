#include "PlexaroCalendar.h"

namespace plat {
namespace {

const char* const kDays[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                             "Friday", "Saturday", "Sunday"};
const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};

QString twoDigits(int n) { return QString::number(n).rightJustified(2, '0'); }

}  // namespace

QDate PlexaroCalendar::dateOf(int32_t day) { return QDate(1900, 1, 1).addDays(day); }

int32_t PlexaroCalendar::dayOf(const QDate& date) {
    return int32_t(QDate(1900, 1, 1).daysTo(date));
}

int PlexaroCalendar::weekday(int32_t day) { return int(((int64_t(day) % 7) + 7) % 7); }

bool PlexaroCalendar::isWeekend(int32_t day) { return weekday(day) >= 5; }

QString PlexaroCalendar::formatDate(int32_t day, const QString& format) {
    const QDate date = dateOf(day);
    const QString weekdayName = QString::fromLatin1(kDays[weekday(day)]);
    const QString monthName = QString::fromLatin1(kMonths[date.month() - 1]);
    QString out;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        switch (c.unicode()) {
            case 'D':
                out += weekdayName.left(3);
                break;
            case 'W':
                out += weekdayName;
                break;
            case 'n':
                out += QString::number(date.day());
                break;
            case 'd':
                out += twoDigits(date.day());
                break;
            case 'M':
                out += monthName.left(3);
                break;
            case 'F':
                out += monthName;
                break;
            case 'm':
                out += twoDigits(date.month());
                break;
            case 'Y':
                out += QString::number(date.year());
                break;
            case 'y':
                out += twoDigits(date.year() % 100);
                break;
            case '\\':
                if (i + 1 < format.size()) out += format[++i];
                break;
            default:
                out += c;
        }
    }
    return out;
}

QString PlexaroCalendar::timeLabel(int minute, bool use24Hour) {
    const int hour = minute / 60;
    const int rest = minute % 60;
    if (use24Hour) return twoDigits(hour) + ":" + twoDigits(rest);
    const bool pm = hour >= 12 && hour < 24;
    const int shown = hour % 12 == 0 ? 12 : hour % 12;
    const QString clock =
        rest == 0 ? QString::number(shown) : QString::number(shown) + ":" + twoDigits(rest);
    return clock + (pm ? " pm" : " am");
}

}  // namespace plat
