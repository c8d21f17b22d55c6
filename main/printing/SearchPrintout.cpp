#include "SearchPrintout.h"

#include <QDateTime>
#include <QLocale>

#include "ClsIni.h"
#include "ClsViewPro.h"
#include "DlgMain.h"
#include "DlgPreview.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {
const QString kFont = QStringLiteral("Arial");
// Per-mille x of the column rules, and where each column's text stands: the heading at
// the same place as its cells, left-aligned ones a little off their rule.
constexpr int16_t kRules[] = {100, 200, 300, 400, 600, 800};
struct Column {
    const char* heading;
    int16_t x;
    int16_t align;
};
constexpr Column kColumns[] = {
    {"Date", 50, ClsViewPro::AlignCentre},    {"Day", 150, ClsViewPro::AlignCentre},
    {"From", 250, ClsViewPro::AlignCentre},   {"To", 350, ClsViewPro::AlignCentre},
    {"Type", 403, ClsViewPro::AlignLeft},     {"Contact", 603, ClsViewPro::AlignLeft},
    {"Resource", 803, ClsViewPro::AlignLeft},
};

void ruled(ClsViewPro& viewer, int32_t top, int32_t bottom) {
    viewer.DrawBox(0, top, 1000, bottom);
    for (int16_t x : kRules) viewer.DrawLine(x, top, x, bottom);
}
}  // namespace

void SearchPrintout::DoPrint(plat::ViewPro* control, const plat::Tabrix& results) {
    const int rows = results.rowCount();
    // An empty list would come out as a blank sheet.
    if (rows == 0) return;
    ClsViewPro viewer;
    viewer.Attach(control);
    viewer.setPageSize(int16_t(SharedObjects::Ini().GetNumber("Options", "PageSize", 1)));
    viewer.StartDoc();
    int16_t page = 0;
    bool newPage = true;
    int32_t y = 0;
    for (int r = 0; r < rows; ++r) {
        if (newPage) {
            newPage = false;
            // Begun only for a row that follows: no empty page after the last row.
            if (++page > 1) viewer.NewPage();
            // The bands take the font set before them: the same on every page.
            viewer.Font(kFont, 8, 0, false, false);
            viewer.Header("Rostima",
                          QLocale(QLocale::English)
                              .toString(QDateTime::currentDateTime(), "dddd, d MMMM yyyy hh:mm"),
                          "Page: " + QString::number(page));
            viewer.Footer(DlgPreview::FooterNotice(), QString(), DlgMain::WebAddress());
            viewer.Font(kFont, 10, 0, true, false);
            const int32_t th = viewer.TextHeight();
            ruled(viewer, 0, th + 5);
            for (const Column& c : kColumns)
                viewer.DrawCell(c.x, 0, QString::fromLatin1(c.heading), c.align, kRules);
            y = th + 5;
        }
        viewer.Font(kFont, 8, 0, false, false);
        const int32_t th = viewer.TextHeight();
        for (int column = 1; column <= 7; ++column) {
            const Column& c = kColumns[column - 1];
            viewer.DrawCell(c.x, int16_t(y), results.cellText(r, column), c.align, kRules);
        }
        ruled(viewer, y, y + th + 5);
        y += th + 5;
        if (y > 1000 - th - 10) newPage = true;
    }
    viewer.EndDoc();
    viewer.setZoom(100);
    viewer.PrintPreview();
}
