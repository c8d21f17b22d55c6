#include "ViewProPaper.h"

#include <QRegularExpression>
#include <cmath>

namespace plat {
namespace {

const char* const kNames[] = {
    "Letter 8.5x11in", "Legal 8.5x14in",      "Executive 7.5x10.5in", "Tabloid 11x17in",
    "Ledger 17x11in",  "Statement 5.5x8.5in", "Folio 8.5x13in",       "A3 297x420mm",
    "A4 210x297mm",    "A5 148x210mm",        "B4 250x354mm",         "B5 182x257mm",
};

struct Measure {
    double width = 0;
    double height = 0;
    bool inches = true;
};

// The measures written at the end of a paper's name: "<w>x<h>in" or "<w>x<h>mm".
Measure measureOf(int code) {
    static const QRegularExpression re("(\\d+(?:\\.\\d+)?)x(\\d+(?:\\.\\d+)?)(in|mm)$");
    const auto m = re.match(ViewProPaper::Name(code));
    if (!m.hasMatch()) return {};
    return {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3) == "in"};
}

}  // namespace

QString ViewProPaper::Name(int code) {
    return IsValid(code) ? QString::fromLatin1(kNames[code - kFirst]) : QString();
}

QSize ViewProPaper::Twips(int code) {
    const Measure m = measureOf(code);
    const double perUnit = m.inches ? kTwipsPerInch : kTwipsPerInch / 25.4;
    return QSize(int(std::lround(m.width * perUnit)), int(std::lround(m.height * perUnit)));
}

QPageSize ViewProPaper::PageSize(int code) {
    const Measure m = measureOf(code);
    if (m.width <= 0) return QPageSize();
    return QPageSize(QSizeF(m.width, m.height), m.inches ? QPageSize::Inch : QPageSize::Millimeter,
                     Name(code), QPageSize::ExactMatch);
}

}  // namespace plat
