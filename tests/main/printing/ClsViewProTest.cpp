#include <gtest/gtest.h>

#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include "ClsViewPro.h"
#include "ModalHook.h"
#include "PdfText.h"
#include "TestSupport.h"
#include "ViewPro.h"

namespace {

// Letter with the control's half-inch margins: 10800 by 14400 twips to draw on.
constexpr int32_t kWidth = 10800;
constexpr int32_t kHeight = 14400;

class ClsViewProTest : public ::testing::Test {
protected:
    void SetUp() override {
        viewer.Attach(&control);
        viewer.StartDoc();
    }
    void TearDown() override { plat::ModalHook::SetAnswererForTest(nullptr); }
    const plat::ViewProPage& page() { return *control.document().page(control.pageNo()); }
    int logLines(const QString& text) { return int(folder.logText().count(text)); }

    TempProgramFolder folder;
    plat::ViewPro control;
    ClsViewPro viewer;
};

TEST(ClsViewProUnits, PerMilleMapsOntoTheExtentTruncatingTowardZero) {
    struct Case {
        int32_t perMille, extent, expected;
    };
    const Case cases[] = {
        {0, kWidth, 0},    {1000, kWidth, kWidth}, {500, kWidth, 5400},   {333, kWidth, 3596},
        {-1, kWidth, -10}, {-333, kWidth, -3596},  {1500, kWidth, 16200}, {7, -1000, -7},
    };
    for (const Case& c : cases) {
        int32_t out = 0;
        ASSERT_TRUE(ClsViewPro::ToPageUnits(c.perMille, c.extent, out)) << c.perMille;
        EXPECT_EQ(out, c.expected) << c.perMille;
    }
    int32_t out = 0;
    EXPECT_FALSE(ClsViewPro::ToPageUnits(300000, kWidth, out));
    EXPECT_FALSE(ClsViewPro::ToPageUnits(-300000, kWidth, out));
}

TEST_F(ClsViewProTest, LinesAndBoxesLandOnThePrintableAreaInTheirOrder) {
    viewer.DrawLine(0, 0, 1000, 1000);
    viewer.DrawBox(100, 200, 300, 400);
    const auto& lines = page().lines;
    ASSERT_EQ(lines.size(), 5u);
    auto at = [](const plat::ViewProLine& l) {
        return std::vector<int32_t>{l.x1, l.y1, l.x2, l.y2};
    };
    EXPECT_EQ(at(lines[0]), (std::vector<int32_t>{0, 0, kWidth, kHeight}));
    // Top, right, bottom, left.
    EXPECT_EQ(at(lines[1]), (std::vector<int32_t>{1080, 2880, 3240, 2880}));
    EXPECT_EQ(at(lines[2]), (std::vector<int32_t>{3240, 2880, 3240, 5760}));
    EXPECT_EQ(at(lines[3]), (std::vector<int32_t>{3240, 5760, 1080, 5760}));
    EXPECT_EQ(at(lines[4]), (std::vector<int32_t>{1080, 5760, 1080, 2880}));
}

TEST_F(ClsViewProTest, TextStartsAtCentresOnOrEndsAtItsAnchor) {
    control.setMeasureText("Reserved By");
    const int32_t w = control.textWidth();
    ASSERT_GT(w, 0);
    struct Case {
        int16_t align;
        int32_t x;
    };
    const Case cases[] = {{0, 5400}, {1, 5400 - w / 2}, {2, 5400 - w}, {3, 5400}, {-1, 5400}};
    for (const Case& c : cases) viewer.DrawText(500, 100, "Reserved By", c.align);
    const auto& texts = page().texts;
    ASSERT_EQ(texts.size(), 5u);
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].x, cases[i].x) << cases[i].align;
        EXPECT_EQ(texts[i].y, 1440);  // y is never adjusted
    }
}

TEST_F(ClsViewProTest, FontSetsSelectionSizeColourAndStyleAndBandsAreBlack) {
    viewer.Font("Arial", 12, 255, true, false);
    EXPECT_EQ(control.font(), (plat::ViewProFont{1, 12, true, false}));
    EXPECT_EQ(control.foreColor(), 255u);
    viewer.Header("a", "b", "c");
    EXPECT_EQ(page().header.text, "a|b|c");
    EXPECT_EQ(page().header.colour, 0u);
    EXPECT_EQ(control.foreColor(), 0u);  // stays black for what follows
    viewer.Font("Arial", 12, 255, true, false);
    viewer.Footer("", "", "");
    EXPECT_EQ(page().footer.text, "||");
    EXPECT_EQ(control.foreColor(), 0u);
}

TEST_F(ClsViewProTest, TextHeightIsALineInPerMilleOfThePrintableHeight) {
    viewer.Font("Arial", 12, 0, false, false);
    EXPECT_EQ(viewer.TextHeight(), control.lineHeight() * 1000 / kHeight);
    // Margins that take the whole page leave nothing to divide by.
    control.setMargins(QMargins(720, 7920, 720, 7920));
    EXPECT_EQ(viewer.TextHeight(), 0);
    EXPECT_EQ(logLines("ClsViewPro.TextHeight: Error 11 on line"), 1);
}

TEST_F(ClsViewProTest, APositionThatOverflowsIsLoggedAndOnlyThatLineIsLost) {
    viewer.DrawText(0, 0, "kept", 0);
    viewer.DrawLine(300000, 0, 0, 0);
    EXPECT_EQ(page().lines.size(), 0u);
    EXPECT_EQ(logLines("ClsViewPro.DrawLine: Error 6 on line"), 1);
    // A box with one far corner keeps the side that fits.
    viewer.DrawBox(0, 0, 1000, 300000);
    EXPECT_EQ(page().lines.size(), 1u);
    EXPECT_EQ(logLines("ClsViewPro.DrawLine: Error 6 on line"), 4);
    EXPECT_EQ(page().texts.size(), 1u);
}

TEST_F(ClsViewProTest, WithoutAControlEveryCallIsLoggedAndReadsGiveZero) {
    ClsViewPro none;
    none.StartDoc();
    none.DrawText(0, 0, "x", 0);
    EXPECT_EQ(none.PageCount(), 0);
    EXPECT_EQ(none.PageNo(), 0);
    EXPECT_EQ(none.TextHeight(), 0);
    for (const char* op : {"StartDoc", "DrawText", "PageCount", "PageNo", "TextHeight"})
        EXPECT_EQ(logLines(QString("ClsViewPro.%1: Error 91 on line").arg(op)), 1) << op;
    // A control that went away is no control.
    auto gone = std::make_unique<plat::ViewPro>();
    ClsViewPro late;
    late.Attach(gone.get());
    gone.reset();
    late.NewPage();
    EXPECT_EQ(logLines("ClsViewPro.NewPage: Error 91 on line"), 1);
}

TEST_F(ClsViewProTest, AttachChoosesLetterAndRefusalsOfTheControlAreLogged) {
    plat::ViewPro other;
    other.setPaperSize(9);
    ClsViewPro v;
    v.Attach(&other);
    EXPECT_EQ(other.paperSize(), 1);
    v.setPageSize(13);
    EXPECT_EQ(other.paperSize(), 1);
    EXPECT_EQ(logLines("ClsViewPro.PageSize: Error 5 on line"), 1);
    v.DrawLine(0, 0, 1, 1);  // no document
    EXPECT_TRUE(folder.logText().contains("(No document is open)"));
}

TEST_F(ClsViewProTest, PrintPreviewPrintsEveryPageOnThePrinterChosen) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("printed.pdf");
    int asked = 0;
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        ++asked;
        static_cast<QPrintDialog&>(d).printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    });
    for (int i = 1; i <= 3; ++i) {
        if (i > 1) viewer.NewPage();
        viewer.DrawText(0, 0, QString("page %1").arg(i), 0);
    }
    viewer.EndDoc();
    viewer.PrintPreview();
    EXPECT_EQ(asked, 1);
    const auto pages = ReadPdfPages(pdf);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[2].texts, QStringList({"page 3"}));
}

}  // namespace
