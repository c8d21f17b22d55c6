#include <QCheckBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

#include "../booking/BookingWindowFixture.h"
#include "DlgSearch.h"
#include "PdfText.h"
#include "Tabrix.h"

namespace {

using SearchWindowPrint = BookingWindowFixture;

TEST_F(SearchWindowPrint, PrintPrintsTheListAsItStandsWithTheWindowLockedMeanwhile) {
    booking(1, day(2026, 3, 11), 480, 510, 2);
    booking(2, day(2026, 3, 10), 630, 660, 1, 0);
    setting("Search", "SearchBy", "2");  // by resource: Anna first
    DlgSearch form;
    form.Form_Load();
    ASSERT_EQ(form.LbResults->rowCount(), 1);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("search.pdf");
    bool lockedWhileAsked = false;
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        lockedWhileAsked = !form.LbResults->isEnabled() && !form.BtnSearch[1]->isEnabled() &&
                           !form.ChkSelection->isEnabled();
        static_cast<QPrintDialog&>(d).printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    });
    form.BtnSearch[1]->click();
    EXPECT_TRUE(lockedWhileAsked);
    EXPECT_TRUE(form.BtnSearch[1]->isEnabled());
    const auto pages = ReadPdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const QStringList& t = pages[0].texts;
    EXPECT_TRUE(t.contains("Page: 1"));
    const qsizetype first = t.indexOf("11 Mar 26");
    ASSERT_GE(first, 0);
    EXPECT_EQ(t.mid(first, 7),
              QStringList({"11 Mar 26", "Wed", "08:00 am", "08:30 am", "X-ray", "Smith", "Anna"}));
}

}  // namespace
