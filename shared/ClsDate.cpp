#include "ClsDate.h"

#include <chrono>
#include <cmath>
#include <optional>

#include "ClsIni.h"
#include "ClsLogging.h"
#include "ErrorText.h"
#include "SharedObjects.h"

namespace chr = std::chrono;

namespace {
constexpr chr::sys_days kDayZero = chr::sys_days{chr::year{1900} / chr::January / 1};

void logError(const char* proc, int number, int line, const QString& desc) {
    SharedObjects::Log().LogMsg(err::OnLine(QString("ClsDate.") + proc, number, line, desc));
}

// The calendar date of a day number, or nothing outside the years 100..9999.
std::optional<chr::year_month_day> ymdOf(int32_t day) {
    const chr::year_month_day ymd{kDayZero + chr::days{day}};
    if (ymd.year() < chr::year{100} || ymd.year() > chr::year{9999}) return std::nullopt;
    return ymd;
}

int32_t dayOf(const chr::year_month_day& ymd) {
    return static_cast<int32_t>((chr::sys_days{ymd} - kDayZero).count());
}

// A leading decimal number as the settings and time texts hold it: blanks are ignored,
// reading stops at the first character that cannot continue the number, none gives 0.
double leadingNumber(const QString& text) {
    QString s;
    for (QChar c : text)
        if (c != ' ' && c != '\t') s += c;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && s[i].isDigit()) ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i].isDigit()) ++i;
    }
    bool ok = false;
    const double v = s.left(i).toDouble(&ok);
    return ok ? v : 0.0;
}

QString twoDigits(int v) { return QString("%1").arg(v, 2, 10, QChar('0')); }
}  // namespace

int32_t ClsDate::FirstDayOfMonth(int32_t day) {
    const auto ymd = ymdOf(day);
    if (!ymd) {
        logError("FirstDayOfMonth", err::InvalidCall, 1, "Invalid procedure call or argument");
        return day;
    }
    return dayOf(ymd->year() / ymd->month() / 1);
}

int32_t ClsDate::LastDayOfMonth(int32_t day) {
    const auto ymd = ymdOf(day);
    if (!ymd) {
        logError("LastDayOfMonth", err::InvalidCall, 1, "Invalid procedure call or argument");
        return 0;
    }
    return dayOf(chr::year_month_day{ymd->year() / ymd->month() / chr::last});
}

int32_t ClsDate::DaysInMonth(int32_t day) {
    const auto ymd = ymdOf(day);
    if (!ymd) {
        logError("DaysInMonth", err::InvalidCall, 1, "Invalid procedure call or argument");
        return 0;
    }
    const chr::year_month_day_last last{ymd->year() / ymd->month() / chr::last};
    return static_cast<int32_t>(static_cast<unsigned>(last.day()));
}

int32_t ClsDate::DateToLong(const QDate& date) {
    if (!date.isValid()) {
        logError("DateToLong", err::TypeMismatch, 1, "Type mismatch");
        return 0;
    }
    const chr::year_month_day ymd{chr::year{date.year()},
                                  chr::month{static_cast<unsigned>(date.month())},
                                  chr::day{static_cast<unsigned>(date.day())}};
    return dayOf(ymd);
}

QDate ClsDate::LongToDate(int32_t day) {
    const auto ymd = ymdOf(day);
    if (!ymd) {
        logError("LongToDate", err::Overflow, 1, "Overflow");
        return ZeroDate();
    }
    return QDate(static_cast<int>(ymd->year()), static_cast<int>(unsigned(ymd->month())),
                 static_cast<int>(unsigned(ymd->day())));
}

QString ClsDate::MilitaryTime(int16_t minutes) {
    return twoDigits(minutes / 60) + ":" + twoDigits(minutes % 60);
}

bool ClsDate::UseMilitaryTime() {
    // A typing slip in the settings file must not blank every time shown: a value that
    // is not a number reads as the 12-hour form, as a missing one does.
    bool number = false;
    const double v =
        SharedObjects::Ini().GetValue("Options", "UseMilitaryTime", 0).trimmed().toDouble(&number);
    return number && v != 0;
}

QString ClsDate::ShowTime(int16_t minutes, bool Suffix) {
    if (UseMilitaryTime()) return MilitaryTime(minutes);
    // The hour is lowered from 13:00 on, so 12:xx stays 12 and the hour before 1:00 is 00.
    const int h = minutes > 779 ? minutes - 720 : minutes;
    QString text = twoDigits(h / 60) + ":" + twoDigits(minutes % 60);
    if (Suffix) text += (minutes > 719 && minutes != 1440) ? " pm" : " am";
    return text;
}

int16_t ClsDate::GetTime(const QString& text) {
    const qsizetype colon = text.indexOf(':');
    if (colon < 0) return 0;
    const double total = leadingNumber(text.left(colon)) * 60 + leadingNumber(text.mid(colon + 1));
    const double rounded = std::nearbyint(total);  // halves to the even neighbour
    if (rounded > 32767 || rounded < -32768) {
        logError("GetTime", err::Overflow, 4, "Overflow");
        return 0;
    }
    return static_cast<int16_t>(rounded);
}
