#include <QImage>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>

#include "OleColor.h"
#include "PdfText.h"
#include "PlexaroFixture.h"

using plat::Plexaro;

namespace {

// 0x00BBGGRR
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kPaleYellow = 0x0080FFFF;
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kGreen = 0x0000C000;

QRgb rgbOf(uint32_t ole) { return plat::OleToQColor(ole).rgb(); }

}  // namespace

class PlexaroPaintTest : public PlexaroFixture {
protected:
    void SetUp() override {
        PlexaroFixture::SetUp();
        chart.setBackColor(kWhite);
        chart.setWeekendColor(kPaleYellow);
        chart.setSelectBackColor(kBlue);
        for (const char* name : {"Ann", "Bob", "Cy"}) chart.addRow(name);
    }
    QRgb pixel(const QPoint& p) { return chart.grab().toImage().pixel(p); }
    // The middle of a day's column in a row, clear of the grid lines at its edges.
    QPoint middleOf(int row, int32_t day) {
        return pointOf(row, day, (kDayStart + kDayEnd) / 2 + 7);
    }
};

TEST_F(PlexaroPaintTest, EachViewShowsBarsInTheirColourAndShadesWeekends) {
    struct Case {
        const char* name;
        int kind;
        int32_t start;
        int32_t barDay;
        int32_t weekday;
        int32_t weekendDay;
    } cases[] = {
        {"hours on a Wednesday", Plexaro::Hours, kMonday + 2, kMonday + 2, kMonday + 2, -1},
        {"hours on a Saturday", Plexaro::Hours, kMonday + 5, kMonday + 5, -1, kMonday + 5},
        {"days", Plexaro::Days, kMonday, kMonday + 9, kMonday + 2, kMonday + 12},
        {"weeks", Plexaro::Weeks, kMonday, kMonday + 44, kMonday + 29, kMonday + 55},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chart.clear();
        for (const char* name : {"Ann", "Bob", "Cy"}) chart.addRow(name);
        showView(c.kind, c.start);
        const int bar = chart.addBar(1, kDayStart, kDayEnd, c.barDay, c.barDay, "B1");
        chart.setBarColor(1, bar, kRed);
        const QImage shot = chart.grab().toImage();
        EXPECT_EQ(shot.pixel(middleOf(1, c.barDay)), rgbOf(kRed));
        if (c.weekday >= 0) {
            EXPECT_EQ(shot.pixel(middleOf(2, c.weekday)), rgbOf(kWhite));
        }
        if (c.weekendDay >= 0) {
            EXPECT_EQ(shot.pixel(middleOf(2, c.weekendDay)), rgbOf(kPaleYellow));
        }
    }
}

TEST_F(PlexaroPaintTest, OnePixelBarsOfTheWeekViewShowTheirColourAndNothingElse) {
    showView(Plexaro::Weeks, kMonday);
    const int32_t day = kMonday + 30;  // a Wednesday: white between the bars
    chart.setBarColor(1, chart.addBar(1, 600, 630, day, day, "B1"), kGreen);
    chart.setBarColor(1, chart.addBar(1, 900, 930, day, day, "B2"), kRed);
    const plat::PlexaroView& v = chart.view();
    const QImage shot = chart.grab().toImage();
    const int y = pointOf(1, day, 0).y();
    const int green = int(v.toViewportX(v.scale.xOf(day, 600)));
    const int red = int(v.toViewportX(v.scale.xOf(day, 900)));
    ASSERT_GT(red - green, 3);
    EXPECT_EQ(shot.pixel(green, y), rgbOf(kGreen));
    EXPECT_EQ(shot.pixel(red, y), rgbOf(kRed));
    for (int x = green + 1; x < red; ++x) EXPECT_EQ(shot.pixel(x, y), rgbOf(kWhite)) << x;
}

TEST_F(PlexaroPaintTest, TheSelectedRowAndTheBandsTakeTheirColours) {
    chart.setListBackColor(kGreen);
    chart.setTitleBackColor(kPaleYellow);
    chart.setRulerBackColor(kBlue);
    const plat::PlexaroView& v = chart.view();
    const QPoint nameOfBob(v.listWidth - 8, v.rows.rowTop(2) + 3);
    const QPoint nameOfCy(v.listWidth - 8, v.rows.rowTop(3) + 3);
    const QPoint title(3, 3);
    const QPoint ruler(v.listWidth + 300, v.titleHeight + 1);
    EXPECT_EQ(pixel(nameOfBob), rgbOf(kGreen));
    EXPECT_EQ(pixel(title), rgbOf(kPaleYellow));
    EXPECT_EQ(pixel(ruler), rgbOf(kBlue));
    chart.setSelectBackColor(kRed);
    chart.setSelectedRow(2);
    const QImage shot = chart.grab().toImage();
    EXPECT_EQ(shot.pixel(nameOfBob), rgbOf(kRed));
    EXPECT_EQ(shot.pixel(middleOf(2, kMonday)), rgbOf(kRed));
    EXPECT_EQ(shot.pixel(nameOfCy), rgbOf(kGreen));
}

TEST_F(PlexaroPaintTest, SystemColoursArePaintedFromThePaletteAndKeptAsStored) {
    chart.setListBackColor(0x80000005);  // window background
    EXPECT_EQ(chart.listBackColor(), 0x80000005u);
    const plat::PlexaroView& v = chart.view();
    EXPECT_EQ(pixel(QPoint(v.listWidth - 8, v.rows.rowTop(2) + 3)),
              chart.palette().color(QPalette::Base).rgb());
}

TEST_F(PlexaroPaintTest, AFramePlacesOnlyTheBarsOfTheVisibleRowsAndDays) {
    chart.clear();
    showView(Plexaro::Days, kMonday);
    for (int r = 1; r <= 500; ++r) {
        const int row = chart.addRow(QString("R%1").arg(r));
        for (int d = -40; d < 80; ++d) chart.addBar(row, 600, 660, kMonday + d, kMonday + d, "");
    }
    chart.verticalScrollBar()->setValue(chart.verticalScrollBar()->maximum() / 2);
    chart.grab();
    const plat::PlexaroView& v = chart.view();
    const int rows = v.rows.lastVisibleRow(v.size.height()) - v.rows.firstVisibleRow() + 1;
    EXPECT_LT(rows, 20);
    EXPECT_EQ(chart.lastPaintBarCount(), rows * 33);  // 33 days shown of 120 a row
}

class PlexaroPrintTest : public PlexaroPaintTest {
protected:
    // from and to: the print dialog's page range (0, 0: every page); reverse: its page
    // order, last page first.
    std::vector<PdfPage> printToPdf(int from = 0, int to = 0, bool reverse = false) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("chart.pdf"));
        printer.setPrintRange(from > 0 ? QPrinter::PageRange : QPrinter::AllPages);
        if (from > 0) printer.setFromTo(from, to);
        printer.setPageOrder(reverse ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        EXPECT_TRUE(chart.print(printer));
        return ReadPdfPages(dir.filePath("chart.pdf"));
    }
    QPrinter printer{QPrinter::HighResolution};
    QTemporaryDir dir;
};

TEST_F(PlexaroPrintTest, EveryPageCarriesTheTitleAndTheFooter) {
    for (int r = 4; r <= 150; ++r) chart.addRow(QString("Resource %1").arg(r));
    chart.setTitle("Treatment rooms");
    chart.setPrintTitle("Rostima - Monday 2 March 2026");
    chart.setPrintFooter("Printed by the front desk");
    const auto pages = printToPdf();
    ASSERT_GE(pages.size(), 2u);
    for (size_t i = 0; i < pages.size(); ++i) {
        const QStringList& t = pages[i].texts;
        EXPECT_TRUE(t.contains("Rostima - Monday 2 March 2026")) << i;
        EXPECT_TRUE(t.contains("Printed by the front desk")) << i;
        EXPECT_TRUE(t.contains(QString("Page %1 of %2").arg(i + 1).arg(pages.size()))) << i;
        EXPECT_TRUE(t.contains("Treatment rooms")) << i;
    }
    // Every row is printed once, in order.
    QStringList rows;
    for (const PdfPage& p : pages)
        for (const QString& s : p.texts)
            if (s.startsWith("Resource ")) rows << s;
    ASSERT_EQ(rows.size(), 147);
    EXPECT_EQ(rows.front(), "Resource 4");
    EXPECT_EQ(rows.back(), "Resource 150");
}

TEST_F(PlexaroPrintTest, OnlyThePagesChosenInThePrintDialogArePrinted) {
    for (int r = 4; r <= 150; ++r) chart.addRow(QString("Resource %1").arg(r));
    const size_t all = printToPdf().size();
    ASSERT_GE(all, 3u);
    const QString total = QString(" of %1").arg(all);
    const struct {
        int from, to;
        bool reverse;
        QStringList footers;
    } cases[] = {
        {2, 2, false, {"Page 2" + total}},
        {2, 3, false, {"Page 2" + total, "Page 3" + total}},
        {int(all), 99, false, {QString("Page %1").arg(all) + total}},
        {2, 3, true, {"Page 3" + total, "Page 2" + total}},
    };
    for (const auto& c : cases) {
        QStringList footers;
        for (const PdfPage& page : printToPdf(c.from, c.to, c.reverse))
            for (const QString& t : page.texts)
                if (t.startsWith("Page ")) footers << t;
        EXPECT_EQ(footers, c.footers) << c.from << "-" << c.to;
    }
}

TEST_F(PlexaroPrintTest, OnANarrowPaperTheTitleAndFooterAreShortenedBesideAWholePageNumber) {
    printer.setPageSize(QPageSize(QSizeF(50, 100), QPageSize::Millimeter));
    const QString words = QString("Rostima schedule of the treatment rooms ").repeated(4);
    chart.setPrintTitle(words);
    chart.setPrintFooter(words);
    const auto pages = printToPdf();
    ASSERT_EQ(pages.size(), 1u);
    const QStringList& t = pages[0].texts;
    ASSERT_TRUE(t.contains("Page 1 of 1"));
    QStringList shortened;
    for (const QString& s : t)
        if (s.startsWith("Rostima sc")) shortened << s;
    ASSERT_EQ(shortened.size(), 2);  // the title, then the footer
    const double pageWidth = printer.width() * 96.0 / printer.logicalDpiX();
    const QFontMetricsF fm(chart.view().font);
    for (const QString& s : shortened) EXPECT_TRUE(s.endsWith("...")) << s.toStdString();
    QString footer = shortened[1];
    footer.chop(3);
    EXPECT_LT(fm.horizontalAdvance(footer + QChar(0x2026)) + fm.horizontalAdvance("Page 1 of 1"),
              pageWidth);
}

TEST_F(PlexaroPrintTest, BarsAreGreyUnlessPrintedInColour) {
    const int bar = chart.addBar(1, 540, 600, kMonday, kMonday, "B1");
    chart.setBarColor(1, bar, kRed);
    chart.setPrintTitle("T");
    chart.setPrintFooter("F");
    const QByteArray red = "1 0 0 scn";
    chart.setPrintColourBars(true);
    auto pages = printToPdf();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].content.contains(red));
    chart.setPrintColourBars(false);
    pages = printToPdf();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_FALSE(pages[0].content.contains(red));
}

TEST_F(PlexaroPrintTest, ANonWritablePrinterFileIsReportedNotCrashed) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("no/such/folder/chart.pdf"));
    EXPECT_FALSE(chart.print(printer));
}
