#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>

#include "ModalHook.h"
#include "PdfText.h"
#include "ViewPro.h"
#include "ViewProPainter.h"
#include "ViewProPaper.h"

using plat::ViewPro;
using plat::ViewProPaper;

namespace {

// Width and height of the first page of a PDF file, in points.
QSizeF mediaBox(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression re("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]");
    const auto m = re.match(QString::fromLatin1(f.readAll()));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

class ViewProTest : public ::testing::Test {
protected:
    void TearDown() override { plat::ModalHook::SetAnswererForTest(nullptr); }
    QString pdf(const QString& name = "out.pdf") const { return dir.filePath(name); }
    // "page 1" to "page 3", one a page, printed through the print dialog.
    void threePagesAskingForThePrinter() {
        view.startDoc();
        for (int i = 1; i <= 3; ++i) {
            if (i > 1) view.newPage();
            view.drawText(0, 0, QString("page %1").arg(i));
        }
        view.endDoc();
        view.setPrintSetting(ViewPro::kPrintAsk);
    }
    // Answers the print dialog by printing to a PDF file; counts the dialogs.
    void printToPdfWhenAsked(const QString& path) {
        plat::ModalHook::SetAnswererForTest([this, path](QDialog& d) {
            ++dialogs;
            static_cast<QPrintDialog&>(d).printer()->setOutputFileName(path);
            return int(QDialog::Accepted);
        });
    }
    QTemporaryDir dir;
    ViewPro view;
    int dialogs = 0;
};

TEST_F(ViewProTest, EachPaperCodeGivesTheSizeItsNameStatesOnScreenAndInPrint) {
    struct Case {
        int code;
        const char* name;
        double width, height;  // points, as the name gives them
    };
    const double mm = 72 / 25.4;
    const Case cases[] = {
        {1, "Letter 8.5x11in", 612, 792},         {2, "Legal 8.5x14in", 612, 1008},
        {3, "Executive 7.5x10.5in", 540, 756},    {4, "Tabloid 11x17in", 792, 1224},
        {5, "Ledger 17x11in", 1224, 792},         {6, "Statement 5.5x8.5in", 396, 612},
        {7, "Folio 8.5x13in", 612, 936},          {8, "A3 297x420mm", 297 * mm, 420 * mm},
        {9, "A4 210x297mm", 210 * mm, 297 * mm},  {10, "A5 148x210mm", 148 * mm, 210 * mm},
        {11, "B4 250x354mm", 250 * mm, 354 * mm}, {12, "B5 182x257mm", 182 * mm, 257 * mm},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(view.setPaperSize(c.code)) << c.code;
        EXPECT_EQ(ViewProPaper::Name(c.code), c.name);
        // Page units are twips: 20 to a point.
        EXPECT_NEAR(view.pageWidth(), c.width * 20, 1) << c.name;
        EXPECT_NEAR(view.pageHeight(), c.height * 20, 1) << c.name;
        view.startDoc();
        view.drawText(0, 0, c.name);
        view.endDoc();
        ASSERT_TRUE(view.saveAsPdf(pdf()));
        const QSizeF box = mediaBox(pdf());
        EXPECT_NEAR(box.width(), c.width, 0.5) << c.name;
        EXPECT_NEAR(box.height(), c.height, 0.5) << c.name;
    }
    for (int bad : {0, 13, -1}) {
        EXPECT_FALSE(view.setPaperSize(bad));
        EXPECT_EQ(view.paperSize(), 12);
        EXPECT_EQ(ViewProPaper::Name(bad), "");
    }
}

TEST_F(ViewProTest, LandscapeTurnsThePaper) {
    view.setPaperSize(9);
    ASSERT_TRUE(view.setOrientation(1));
    EXPECT_GT(view.pageWidth(), view.pageHeight());
    view.startDoc();
    view.endDoc();
    ASSERT_TRUE(view.saveAsPdf(pdf()));
    EXPECT_NEAR(mediaBox(pdf()).width(), 297 * 72 / 25.4, 0.5);
}

TEST_F(ViewProTest, CallsOutOfTurnOrRangeAreRefusedAndChangeNothing) {
    EXPECT_FALSE(view.drawText(0, 0, "x"));
    EXPECT_EQ(view.lastError(), "No document is open");
    EXPECT_FALSE(view.newPage());
    EXPECT_FALSE(view.endDoc());
    EXPECT_EQ(view.pageCount(), 0);
    EXPECT_FALSE(view.setPageNo(1));
    view.startDoc();
    EXPECT_FALSE(view.printPages(1, 1));
    EXPECT_EQ(view.lastError(), "The document is not finished");
    EXPECT_FALSE(view.setPageNo(2));
    EXPECT_FALSE(view.setZoom(0));
    EXPECT_FALSE(view.setFontSelection(2));
    EXPECT_EQ(view.lastErrorNumber(), ViewPro::InvalidCall);
    view.endDoc();
    EXPECT_FALSE(view.drawLine(0, 0, 1, 1));
    EXPECT_EQ(view.document().page(1)->lines.size(), 0u);
}

TEST_F(ViewProTest, HeaderAndFooterHoldForTheirPageAndThePagesAfterIt) {
    view.startDoc();
    view.setHeader("H1|centre|right");
    view.newPage();
    view.setFooter("F2");
    view.newPage();
    view.setHeader("H3");
    view.endDoc();
    const auto& doc = view.document();
    ASSERT_EQ(doc.pageCount(), 3);
    EXPECT_EQ(doc.page(1)->header.text, "H1|centre|right");
    EXPECT_EQ(doc.page(1)->footer.text, "");
    EXPECT_EQ(doc.page(2)->header.text, "H1|centre|right");
    EXPECT_EQ(doc.page(2)->footer.text, "F2");
    EXPECT_EQ(doc.page(3)->header.text, "H3");
    EXPECT_EQ(doc.page(3)->footer.text, "F2");
    // A new document starts without them.
    view.startDoc();
    EXPECT_EQ(view.document().page(1)->header.text, "");

    const plat::ViewProBand band{"a|b|c|d", {}, 0};
    EXPECT_EQ(band.field(0), "a");
    EXPECT_EQ(band.field(1), "b");
    EXPECT_EQ(band.field(2), "c|d");
    const plat::ViewProBand lone{"a", {}, 0};
    EXPECT_EQ(lone.field(1), "");
}

TEST_F(ViewProTest, PrintedPagesCarryTheirTextsAndBandsInOrder) {
    view.startDoc();
    view.setHeader("Rostima||Page 1");
    view.setFooter("notice||site");
    view.drawText(100, 100, "first");
    view.drawLine(0, 0, 1000, 0);
    view.newPage();
    view.setHeader("Rostima||Page 2");
    view.drawText(100, 100, "second");
    view.endDoc();
    ASSERT_TRUE(view.saveAsPdf(pdf()));
    const auto pages = ReadPdfPages(pdf());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].texts, QStringList({"Rostima", "Page 1", "notice", "site", "first"}));
    EXPECT_EQ(pages[1].texts, QStringList({"Rostima", "Page 2", "notice", "site", "second"}));
}

TEST_F(ViewProTest, ABandTooWideForThePaperIsShortenedToFieldsApart) {
    const QString longText = "Long" + QString(300, 'W');
    struct Case {
        QString band;
        QString whole;  // a field that has room and is printed whole
    } cases[] = {
        {"Copyright (c) Rostima. All rights reserved.||https://rostima.example",
         "https://rostima.example"},
        {"Rostima|" + longText + "|Page 12", "Page 12"},
        {longText + "||Page 12", "Page 12"},
        {"||" + longText, ""},
    };
    ASSERT_TRUE(view.setPaperSize(10));  // A5
    view.setFontSize(14);
    const plat::ViewProSheet sheet = view.sheet();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.band.left(30).toStdString());
        view.startDoc();
        view.setHeader(c.band);
        view.endDoc();
        QStringList shown;
        int32_t end = sheet.margins.left() - plat::ViewProPainter::kBandGap;
        for (const auto& f :
             plat::ViewProPainter::BandFields(view.document().page(1)->header, sheet)) {
            if (f.text.isEmpty()) continue;
            EXPECT_GE(f.x, end + plat::ViewProPainter::kBandGap) << f.text.toStdString();
            end = f.x + f.width;
            shown << f.text;
        }
        EXPECT_LE(end, sheet.paper.width() - sheet.margins.right());
        if (!c.whole.isEmpty()) {
            EXPECT_TRUE(shown.contains(c.whole)) << shown.join('|').toStdString();
        }
        // Printed as laid out (the file's text gives "…" as three dots).
        ASSERT_TRUE(view.saveAsPdf(pdf()));
        EXPECT_EQ(ReadPdfPages(pdf()).at(0).texts.join('|'),
                  shown.join('|').replace(QChar(0x2026), "..."));
    }
}

TEST_F(ViewProTest, PrintingAsksForThePrinterAndPrintsOnlyTheAskedPages) {
    threePagesAskingForThePrinter();
    printToPdfWhenAsked(pdf());
    ASSERT_TRUE(view.printPages(2, 9));
    EXPECT_EQ(dialogs, 1);
    auto pages = ReadPdfPages(pdf());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].texts, QStringList({"page 2"}));
    // Nothing to print asks nothing.
    EXPECT_TRUE(view.printPages(1, 0));
    EXPECT_EQ(dialogs, 1);
    // Declining the dialog prints nothing.
    plat::ModalHook::SetAnswererForTest([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_TRUE(view.printPages(1, 3));
    EXPECT_FALSE(QFile::exists(pdf("declined.pdf")));
}

TEST_F(ViewProTest, ThePagesAndCopiesChosenInThePrintDialogArePrinted) {
    threePagesAskingForThePrinter();
    struct Case {
        int from, to;  // 0: every page
        int copies;
        bool collate;
        bool reverse;  // last page first
        int16_t last;  // the last page the caller prints
        QStringList printed;
    };
    const Case cases[] = {
        {0, 0, 1, true, false, 3, {"page 1", "page 2", "page 3"}},
        {2, 2, 1, true, false, 3, {"page 2"}},
        {2, 3, 2, true, false, 3, {"page 2", "page 3", "page 2", "page 3"}},
        {2, 3, 2, false, false, 3, {"page 2", "page 2", "page 3", "page 3"}},
        {2, 3, 1, true, false, 2, {"page 2"}},
        {0, 0, 1, true, true, 3, {"page 3", "page 2", "page 1"}},
        {1, 2, 2, true, true, 3, {"page 2", "page 1", "page 2", "page 1"}},
        {1, 2, 2, false, true, 3, {"page 2", "page 2", "page 1", "page 1"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = pdf(QString("range%1.pdf").arg(++n));
        // Worked as a user works the dialog: its own accept hands the choice over.
        plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
            d.findChild<QRadioButton*>(c.from ? "printRange" : "printAll")->setChecked(true);
            if (c.from) {
                d.findChild<QSpinBox*>("to")->setValue(c.to);
                d.findChild<QSpinBox*>("from")->setValue(c.from);
            }
            d.findChild<QSpinBox*>("copies")->setValue(c.copies);
            d.findChild<QCheckBox*>("collate")->setChecked(c.collate);
            d.findChild<QCheckBox*>("reverse")->setChecked(c.reverse);
            d.accept();
            static_cast<QPrintDialog&>(d).printer()->setOutputFileName(path);
            return d.result();
        });
        ASSERT_TRUE(view.printPages(1, c.last)) << n;
        QStringList printed;
        for (const PdfPage& page : ReadPdfPages(path)) printed << page.texts;
        EXPECT_EQ(printed, c.printed) << n;
    }
}

TEST_F(ViewProTest, APrinterThatCannotStartIsRaisedAsTheErrorEvent) {
    QList<QPair<int, QString>> errors;
    QObject::connect(&view, &ViewPro::Error, [&](int16_t n, const QString& text) {
        errors.append({n, text});
    });
    view.startDoc();
    view.endDoc();
    view.setPrintSetting(ViewPro::kPrintAsk);
    printToPdfWhenAsked(pdf("no/such/folder/out.pdf"));
    EXPECT_TRUE(view.printPages(1, 1));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].first, ViewPro::PrinterError);
    EXPECT_TRUE(errors[0].second.contains("no/such/folder/out.pdf"));
}

TEST_F(ViewProTest, MeasuresGrowWithTheFontAndTheText) {
    view.setFontSize(10);
    view.setMeasureText("Appointment");
    const int32_t w10 = view.textWidth();
    const int32_t h10 = view.lineHeight();
    view.setFontSize(20);
    EXPECT_NEAR(view.textWidth(), 2 * w10, 4);
    EXPECT_NEAR(view.lineHeight(), 2 * h10, 4);
    // A 10-pt line is a little more than 10 points (200 twips) high.
    EXPECT_GT(h10, 200);
    EXPECT_LT(h10, 300);
    view.setFontBold(true);
    EXPECT_GT(view.textWidth(), 2 * w10 - 4);
    view.setMeasureText("");
    EXPECT_EQ(view.textWidth(), 0);
}

TEST_F(ViewProTest, TextsAreDrawnOnOneLineAndFitToTheWidthAsked) {
    view.startDoc();
    for (const char* text : {"a\nb", "a\r\nb", "a\rb", "a\u2028b"}) {
        view.drawText(0, 0, QString::fromUtf8(text));
        EXPECT_EQ(view.document().page(1)->texts.back().text, "a b") << text;
    }
    const QString word = "Appointment";
    view.setMeasureText(word);
    const int32_t whole = view.textWidth();
    EXPECT_EQ(view.fittedText(word, whole), word);
    const QString half = view.fittedText(word, whole / 2);
    EXPECT_TRUE(half.startsWith("App") && half.endsWith(QChar(0x2026))) << half.toStdString();
    view.setMeasureText(half);
    EXPECT_LE(view.textWidth(), whole / 2);
    EXPECT_EQ(view.fittedText(word, 0), "");
    const QString name = "Long" + QString(9996, 'W');
    const QString fitted = view.fittedText(name, 5000);
    view.setMeasureText(fitted);
    EXPECT_TRUE(fitted.startsWith("LongW") && view.textWidth() <= 5000);
}

}  // namespace
