#pragma once
#include <QAbstractScrollArea>
#include <QMargins>
#include <QString>
#include <cstdint>

#include "ViewProDocument.h"
#include "ViewProPainter.h"

class QPrinter;

// The print-preview control: a document of pages of lines and texts in twips, one page of
// it shown at a zoom, printed with QPrinter or saved as PDF. Positions are measured from
// the top-left corner of the printable area (the paper less its margins); the page header
// and footer stand in the top and bottom margins.
//
// A call the control cannot carry out (drawing with no document open, an unknown paper,
// a page that is not there) changes nothing, returns false and leaves its reason in
// lastError(); a failure while printing is raised as Error.
namespace plat {

class ViewPro : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The control's operation numbers, as the calling code knows them.
    enum class Op {
        PaperSize = 1,
        MarginLeft = 6,
        MarginTop = 7,
        MarginRight = 8,
        MarginBottom = 9,
        TextWidth = 16,
        MeasureText = 27,
        FontBold = 28,
        FontItalic = 29,
        FontSelection = 30,
        FontSize = 31,
        Header = 44,
        Footer = 45,
        PrintSetting = 47,
        Zoom = 86,
        Orientation = 89,
        PageNo = 92,
        PageCount = 93,
        LineHeight = 96,
        PageWidth = 106,
        PageHeight = 107,
        StartDoc = 115,
        EndDoc = 116,
        NewPage = 117,
        DrawLine = 120,
        DrawText = 128,
        PrintPages = 130,
        ForeColor = -513,
    };
    enum ErrorNumber : int16_t { InvalidCall = 5, PrinterError = 482 };
    // PrintSetting: ask for the printer with the print dialog before printing; any other
    // value prints on the default printer.
    static constexpr int32_t kPrintAsk = 3;
    static constexpr int kDefaultMargin = 720;  // twips: half an inch
    static constexpr int kMinZoom = 1;
    static constexpr int kMaxZoom = 1000;

    explicit ViewPro(QWidget* parent = nullptr);

    // 1: paper code 1..12 (ViewProPaper); the page size follows it.
    bool setPaperSize(int32_t code);
    int32_t paperSize() const { return m_paper; }
    // 89: 1 landscape, 0 portrait.
    bool setOrientation(int16_t orientation);
    int16_t orientation() const { return m_orientation; }
    // 106, 107: page size in twips, after the orientation.
    int32_t pageWidth() const;
    int32_t pageHeight() const;
    // 6, 7, 8, 9: margins in twips.
    int32_t marginLeft() const { return m_margins.left(); }
    int32_t marginTop() const { return m_margins.top(); }
    int32_t marginRight() const { return m_margins.right(); }
    int32_t marginBottom() const { return m_margins.bottom(); }
    bool setMargins(const QMargins& margins);

    // 27, 16: the text to measure and its width in the current font (twips).
    void setMeasureText(const QString& text) { m_measureText = OneLine(text); }
    int32_t textWidth() const;
    // The text as one line in the current font no wider than width twips: shortened at its
    // end with "\u2026" when it is wider; empty when not even that fits.
    QString fittedText(const QString& text, int32_t width) const;
    // A text is drawn on one line: each line break in it stands as a blank.
    static QString OneLine(const QString& text);
    // 96: height of one line of the current font (twips).
    int32_t lineHeight() const;

    // 30, 31, 28, 29, -513: the font and fore colour (0x00BBGGRR) of what is drawn next.
    bool setFontSelection(int32_t selection);
    bool setFontSize(int16_t points);
    void setFontBold(bool bold) { m_font.bold = bold; }
    void setFontItalic(bool italic) { m_font.italic = italic; }
    // Per-mille of its size that the font is drawn at (1 to 1000).
    bool setFontScale(int16_t perMille);
    void setForeColor(uint32_t colour) { m_foreColour = colour; }
    const ViewProFont& font() const { return m_font; }
    uint32_t foreColor() const { return m_foreColour; }

    // 44, 45: "left|centre|right", in the current font and fore colour, for the current
    // page and the pages begun after it.
    void setHeader(const QString& text);
    void setFooter(const QString& text);

    // 47.
    void setPrintSetting(int32_t setting) { m_printSetting = setting; }
    int32_t printSetting() const { return m_printSetting; }
    // 86: zoom of the page shown, in percent.
    bool setZoom(int16_t percent);
    int16_t zoom() const { return m_zoom; }
    // 92: the page shown, from 1; 0 without a document.
    bool setPageNo(int16_t page);
    int16_t pageNo() const { return m_pageNo; }
    // 93: pages of the document so far.
    int16_t pageCount() const { return int16_t(m_doc.pageCount()); }

    // 115, 117, 116.
    void startDoc();
    bool newPage();
    bool endDoc();
    // 120, 128: in twips from the printable area's top-left corner.
    bool drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    bool drawText(int32_t x, int32_t y, const QString& text);
    // 130: prints pages first to last of the ended document (none when first > last), the
    // last first when the printer's page order asks for that; false only when the call is
    // refused: a failure of the printer is raised as Error.
    bool printPages(int16_t first, int16_t last);
    // The same on a printer of the caller's (a PDF file, for one): only that printer's
    // page size and margins are set here.
    bool printTo(QPrinter& printer, int first, int last);
    bool saveAsPdf(const QString& path);

    const ViewProDocument& document() const { return m_doc; }
    ViewProSheet sheet() const;
    int16_t lastErrorNumber() const { return m_errorNumber; }
    QString lastError() const { return m_errorText; }

signals:
    void Error(int16_t number, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    bool refuse(const QString& why);
    bool drawing();
    void relayout();
    QRect pageRect() const;  // the shown page, in viewport pixels

    ViewProDocument m_doc;
    int32_t m_paper = 1;
    int16_t m_orientation = 0;
    QMargins m_margins{kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin};
    QString m_measureText;
    ViewProFont m_font;
    uint32_t m_foreColour = 0;
    int32_t m_printSetting = 0;
    int16_t m_zoom = 100;
    int16_t m_pageNo = 0;
    int16_t m_errorNumber = 0;
    QString m_errorText;
};

}  // namespace plat
