#include <gtest/gtest.h>

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ClsIni.h"
#include "ModalHook.h"
#include "PdfText.h"
#include "SearchPrintout.h"
#include "SharedObjects.h"
#include "Tabrix.h"
#include "TestSupport.h"
#include "ViewPro.h"

namespace {

const QStringList kHeadings{"Date", "Day", "From", "To", "Type", "Contact", "Resource"};

class SearchPrintoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        SharedObjects::Ini().setIniFile(folder.file("RostimaShr.ini"));
        plat::ModalHook::SetAnswererForTest([this](QDialog& d) {
            ++asked;
            static_cast<QPrintDialog&>(d).printer()->setOutputFileName(pdf);
            return int(QDialog::Accepted);
        });
    }
    void TearDown() override { plat::ModalHook::SetAnswererForTest(nullptr); }
    void fill(int rows) {
        results.clearRows();
        for (int r = 1; r <= rows; ++r)
            results.addRow({"02 Mar 26", "Mon", "10:00 am", "10:30 am", "Massage",
                            QString("Customer %1").arg(r), "Room A"});
    }
    std::vector<PdfPage> print() {
        QFile::remove(pdf);
        SearchPrintout::DoPrint(&control, results);
        return ReadPdfPages(pdf);
    }

    TempProgramFolder folder;
    QTemporaryDir dir;
    QString pdf = dir.filePath("search.pdf");
    plat::ViewPro control;
    plat::Tabrix results;
    int asked = 0;
};

TEST_F(SearchPrintoutTest, EveryPageCarriesTheHeadingAndTheRowsFollowInOrder) {
    fill(150);
    const auto pages = print();
    ASSERT_GE(pages.size(), 2u);
    QStringList customers;
    for (size_t i = 0; i < pages.size(); ++i) {
        const QStringList& t = pages[i].texts;
        EXPECT_TRUE(t.contains(QString("Page: %1").arg(i + 1))) << i;
        EXPECT_EQ(t.mid(t.indexOf("Date"), 7), kHeadings) << i;
        for (const QString& s : t)
            if (s.startsWith("Customer ")) customers << s;
    }
    ASSERT_EQ(customers.size(), 150);
    EXPECT_EQ(customers.front(), "Customer 1");
    EXPECT_EQ(customers.back(), "Customer 150");
    const QStringList& first = pages[0].texts;
    const QStringList row{"02 Mar 26", "Mon",        "10:00 am", "10:30 am",
                          "Massage",   "Customer 1", "Room A"};
    EXPECT_EQ(first.mid(first.indexOf("Customer 1") - 5, 7), row);
}

TEST_F(SearchPrintoutTest, EachHeadingStandsWhereItsColumnsCellsStand) {
    fill(1);
    print();
    const auto& texts = control.document().page(1)->texts;
    auto x = [&](const QString& text) {
        for (const auto& t : texts)
            if (t.text == text) return t.x;
        return -1;
    };
    const QStringList cells{"Massage", "Customer 1", "Room A"};
    for (int i = 0; i < cells.size(); ++i) {
        EXPECT_GT(x(kHeadings[4 + i]), -1);
        EXPECT_EQ(x(kHeadings[4 + i]), x(cells[i])) << cells[i].toStdString();
    }
}

TEST_F(SearchPrintoutTest, APageBreakAfterTheLastRowBeginsNoEmptyPage) {
    fill(300);
    print();
    int onFirst = 0;
    for (const auto& t : control.document().page(1)->texts)
        if (t.text.startsWith("Customer ")) ++onFirst;
    ASSERT_GT(onFirst, 10);
    fill(onFirst);
    EXPECT_EQ(print().size(), 1u);
    fill(2 * onFirst);
    EXPECT_EQ(print().size(), 2u);
    EXPECT_EQ(control.pageCount(), 2);
}

TEST_F(SearchPrintoutTest, PrintsOnThePaperOfTheSettingsAndNothingForAnEmptyList) {
    SharedObjects::Ini().WriteValue("Options", "PageSize", 9);
    fill(3);
    print();
    EXPECT_EQ(control.paperSize(), 9);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromLatin1(f.readAll()).contains(QRegularExpression("/MediaBox \\[0 0 595")));
    EXPECT_EQ(asked, 1);
    fill(0);
    EXPECT_TRUE(print().empty());
    EXPECT_EQ(asked, 1);
}

}  // namespace
