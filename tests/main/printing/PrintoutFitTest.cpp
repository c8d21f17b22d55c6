// Every printout on every paper, with the texts users type: each text stays on the page,
// inside its column and clear of every other text, and reads back from the PDF; the
// header and footer keep one font on every page, their fields whole and apart.
#include "ClsViewPro.h"
#include "PreviewFixture.h"
#include "SearchPrintout.h"
#include "ViewProFonts.h"
#include "ViewProPainter.h"
#include "ViewProPaper.h"

namespace {

QStringList userTexts() {
    return {"Long" + QString(9996, 'W'), "line1\nline2", "%1",
            QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd"),
            QString::fromUtf8("Ann \U0001F600 Lee")};
}

struct Box {
    int32_t left, top, right, bottom;
};

Box boxOf(const plat::ViewProText& t) {
    return {t.x, t.y, t.x + plat::ViewProFonts::TextWidth(t.font, t.text),
            t.y + plat::ViewProFonts::LineHeight(t.font)};
}

// On the printable area, between the vertical rules beside it, and apart from the others.
void expectLaidOut(const plat::ViewPro& view, const std::string& what) {
    const QSize area(view.pageWidth() - view.marginLeft() - view.marginRight(),
                     view.pageHeight() - view.marginTop() - view.marginBottom());
    for (int n = 1; n <= view.document().pageCount(); ++n) {
        const plat::ViewProPage& page = *view.document().page(n);
        const std::string where = what + " page " + std::to_string(n) + ": ";
        std::vector<Box> boxes;
        for (const plat::ViewProText& t : page.texts) {
            const Box b = boxOf(t);
            const std::string text = where + t.text.left(20).toStdString();
            EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= area.width() &&
                        b.bottom <= area.height())
                << text;
            const int32_t middle = (b.top + b.bottom) / 2;
            for (const plat::ViewProLine& l : page.lines)
                if (l.x1 == l.x2 && std::min(l.y1, l.y2) <= middle &&
                    middle <= std::max(l.y1, l.y2)) {
                    EXPECT_FALSE(b.left < l.x1 && l.x1 < b.right) << text << " crosses " << l.x1;
                }
            for (const Box& o : boxes)
                EXPECT_FALSE(b.left < o.right && o.left < b.right && b.top < o.bottom &&
                             o.top < b.bottom)
                    << text;
            boxes.push_back(b);
        }
    }
}

// Every page's header and footer in one font, their fields whole, in order across the
// printable width and apart.
void expectBandsFit(const plat::ViewPro& view, const std::string& what) {
    const plat::ViewProSheet sheet = view.sheet();
    const plat::ViewProFont font = view.document().page(1)->header.font;
    for (int n = 1; n <= view.document().pageCount(); ++n) {
        const plat::ViewProPage& page = *view.document().page(n);
        const std::string where = what + " page " + std::to_string(n) + ": ";
        for (const plat::ViewProBand* band : {&page.header, &page.footer}) {
            EXPECT_EQ(band->font, font) << where;
            int32_t end = sheet.margins.left() - plat::ViewProPainter::kBandGap;
            for (const auto& f : plat::ViewProPainter::BandFields(*band, sheet)) {
                if (f.text.isEmpty()) continue;
                EXPECT_FALSE(f.text.endsWith(QChar(0x2026))) << where << f.text.toStdString();
                EXPECT_GE(f.x, end + plat::ViewProPainter::kBandGap)
                    << where << f.text.toStdString();
                end = f.x + f.width;
            }
            EXPECT_LE(end, sheet.paper.width() - sheet.margins.right()) << where;
        }
    }
}

// Every text begins some text of the printed file, and a line break reads as a blank.
void expectPrinted(const std::vector<PdfPage>& pages, const std::string& what) {
    QStringList printed;
    for (const PdfPage& p : pages) printed << p.texts;
    for (const QString& text : userTexts()) {
        const QString start = QString(text).replace('\n', ' ').left(4);
        EXPECT_TRUE(std::any_of(printed.begin(), printed.end(),
                                [&](const QString& p) { return p.startsWith(start); }))
            << what << " " << start.toStdString();
    }
    EXPECT_TRUE(printed.contains("line1 line2")) << what;
}

// Headings and the dates the program writes itself are never shortened.
void expectWhole(const plat::ViewPro& view, const QStringList& texts, const std::string& what) {
    QStringList drawn;
    for (const plat::ViewProText& t : view.document().page(1)->texts) drawn << t.text;
    for (const QString& t : texts) EXPECT_TRUE(drawn.contains(t)) << what << " " << t.toStdString();
}

class PrintoutFit : public PreviewFixture {
protected:
    void SetUp() override {
        PreviewFixture::SetUp();
        sql("insert into tblGroups (GroupName) values ('Clinic')");
        const QString g = QString::number(lastId());
        showGroup(g.toInt());
        const QStringList texts = userTexts();
        for (const QString& t : texts) {
            for (const char* table :
                 {"tblResources (GroupId, ResourceName)", "tblTasks (GroupId, TaskName)"}) {
                ASSERT_TRUE(SharedObjects::DAO().SqlAction(
                    QString("insert into %1 values (%2, %3)")
                        .arg(QString::fromLatin1(table), g, SharedObjects::DAO().Quoted(t))));
                ids[table[3]] << lastId();
            }
            sql("insert into tblCustomers (CustomerName) values (" +
                SharedObjects::DAO().Quoted(t) + ")");
            ids['C'] << lastId();
            sql("insert into tblCustomerGroups (CustomerId, GroupId) values (" +
                QString::number(lastId()) + ", " + g + ")");
        }
        // Each customer books each type in each room once, references rotating the texts.
        for (int c = 0; c < 5; ++c)
            for (int j = 0; j < 5; ++j) {
                QString refs;
                for (int k = 0; k < 3; ++k)
                    refs += ", " + SharedObjects::DAO().Quoted(texts[(c + j + k) % 5]);
                sql(QString("insert into tblBookings (TaskId, CustomerId, ResourceId, "
                            "BookingDate, BookingStart, BookingEnd, Ref01, Ref02, Ref03) "
                            "values (%1, %2, %3, %4, %5, %6")
                        .arg(ids['T'][j])
                        .arg(ids['C'][c])
                        .arg(ids['R'][j])
                        .arg(kDay)
                        .arg(480 + 30 * (5 * c + j))
                        .arg(510 + 30 * (5 * c + j)) +
                    refs + ")");
            }
    }
    // The texts rotated over the cells of five rows.
    static QList<QStringList> rotatedRows(int cells, int count = 5) {
        QList<QStringList> rows;
        for (int r = 0; r < count; ++r) {
            QStringList row;
            for (int k = 0; k < cells; ++k) row << userTexts()[(r + k) % 5];
            rows << row;
        }
        return rows;
    }
    std::vector<PdfPage> saved(plat::ViewPro& view) {
        const QString path = dir.filePath(QString("fit%1.pdf").arg(++prints));
        EXPECT_TRUE(view.saveAsPdf(path));
        return ReadPdfPages(path);
    }

    QHash<char, QList<int32_t>> ids;  // 'R'esources, 'T'asks, 'C'ustomers, in text order
};

TEST_F(PrintoutFit, EveryReportOnEveryPaperKeepsEachTextOnThePageInItsColumn) {
    open();
    plat::ViewPro& view = *preview->ViewPro1;
    plat::ViewPro searchControl;
    plat::Tabrix results;
    // Enough rows for more than one page on the tallest paper.
    for (const QStringList& row : rotatedRows(7, 80)) results.addRow(row);
    QString searchPdf;
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        static_cast<QPrintDialog&>(d).printer()->setOutputFileName(searchPdf);
        return int(QDialog::Accepted);
    });
    const QStringList day{"Time",  "Booking", "Reserved By",         "Ref01",
                          "Ref02", "Ref03",   "Monday, 2 March 2026"};
    for (int paper = plat::ViewProPaper::kFirst; paper <= plat::ViewProPaper::kLast; ++paper) {
        const std::string name = plat::ViewProPaper::Name(paper).toStdString();
        ASSERT_TRUE(view.setPaperSize(paper));
        const QString title = userTexts()[paper % 5];
        editor.resources.setItemText(0, title);
        editor.list.clearRows();
        for (const QStringList& row : rotatedRows(6, 80)) editor.list.addRow(row);
        preview->DrawDay();
        ASSERT_GE(document().pageCount(), 2) << name;
        expectLaidOut(view, name + " day");
        expectBandsFit(view, name + " day");
        expectWhole(view, day, name + " day");
        expectPrinted(saved(view), name + " day");

        for (int report : {DlgPreview::CustomerReport, DlgPreview::TaskReport}) {
            const std::string what = name + (report == DlgPreview::TaskReport ? " type" : " cust");
            preview->SelectReport(report);
            preview->CbSelect->SetListIndex(paper % 5);
            ASSERT_EQ(document().pageCount(), 1) << what;
            expectLaidOut(view, what);
            expectBandsFit(view, what);
            expectWhole(view, {"Date", "Time", "Resource", "Ref03", "02 Mar 2026"}, what);
            expectPrinted(saved(view), what);
        }

        SharedObjects::Ini().WriteValue("Options", "PageSize", int16_t(paper));
        searchPdf = dir.filePath(QString("search%1.pdf").arg(paper));
        SearchPrintout::DoPrint(&searchControl, results);
        ASSERT_GE(searchControl.pageCount(), 2) << name;
        expectLaidOut(searchControl, name + " search");
        expectBandsFit(searchControl, name + " search");
        expectWhole(searchControl, {"Date", "Day", "From", "To", "Type", "Contact", "Resource"},
                    name + " search");
        expectPrinted(ReadPdfPages(searchPdf), name + " search");
    }
}

TEST_F(PrintoutFit, NarrowPapersDrawTheLayoutSmallerAndWideOnesKeepIt) {
    open();
    plat::ViewPro& view = *preview->ViewPro1;
    // Letter, A4 and Ledger at full size; Statement, A5 and B5 in proportion to A4.
    for (int paper : {1, 9, 5, 6, 10, 12}) {
        ASSERT_TRUE(view.setPaperSize(paper));
        preview->DrawDay();
        const int32_t width = view.pageWidth() - view.marginLeft() - view.marginRight();
        const int32_t scale = std::min<int32_t>(1000, width * 1000 / ClsViewPro::kLayoutWidth);
        EXPECT_EQ(scale == 1000, paper == 1 || paper == 9 || paper == 5) << paper;
        const plat::ViewProPage& page = *document().page(1);
        for (const plat::ViewProText& t : page.texts) EXPECT_EQ(t.font.scale, scale) << paper;
        // The headings where the layout puts them: "Booking" starts on its anchor.
        const auto booking = std::find_if(page.texts.begin(), page.texts.end(),
                                          [](const auto& t) { return t.text == "Booking"; });
        ASSERT_NE(booking, page.texts.end());
        EXPECT_EQ(booking->x, 205 * width / 1000) << paper;
        EXPECT_EQ(booking->font.size, 14);
    }
}

}  // namespace
