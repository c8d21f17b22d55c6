#include "ViewPro.h"

#include <QPageLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>

#include "ModalHook.h"
#include "ViewProFonts.h"
#include "ViewProPaper.h"

namespace plat {
namespace {
constexpr int kTwipsPerPixel = 15;
constexpr int kGap = 12;  // pixels of grey around the page on screen
}  // namespace

ViewPro::ViewPro(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    relayout();
}

bool ViewPro::refuse(const QString& why) {
    m_errorNumber = InvalidCall;
    m_errorText = why;
    return false;
}

bool ViewPro::drawing() {
    return m_doc.state() == ViewProDocument::State::Open || refuse("No document is open");
}

bool ViewPro::setPaperSize(int32_t code) {
    if (!ViewProPaper::IsValid(code)) return refuse(QString("Unknown paper code %1").arg(code));
    m_paper = code;
    relayout();
    return true;
}

bool ViewPro::setOrientation(int16_t orientation) {
    if (orientation != 0 && orientation != 1)
        return refuse(QString("Unknown orientation %1").arg(orientation));
    m_orientation = orientation;
    relayout();
    return true;
}

int32_t ViewPro::pageWidth() const {
    const QSize s = ViewProPaper::Twips(m_paper);
    return m_orientation == 1 ? s.height() : s.width();
}

int32_t ViewPro::pageHeight() const {
    const QSize s = ViewProPaper::Twips(m_paper);
    return m_orientation == 1 ? s.width() : s.height();
}

bool ViewPro::setMargins(const QMargins& margins) {
    if (margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0)
        return refuse("A margin cannot be negative");
    m_margins = margins;
    viewport()->update();
    return true;
}

int32_t ViewPro::textWidth() const { return ViewProFonts::TextWidth(m_font, m_measureText); }

QString ViewPro::fittedText(const QString& text, int32_t width) const {
    return ViewProFonts::Fitted(m_font, OneLine(text), width);
}

QString ViewPro::OneLine(const QString& text) {
    static const QRegularExpression breaks(
        QStringLiteral("\\r\\n|[\\r\\n\\v\\f\\x{85}\\x{2028}\\x{2029}]"));
    if (!text.contains(breaks)) return text;
    QString line = text;
    return line.replace(breaks, QStringLiteral(" "));
}

int32_t ViewPro::lineHeight() const { return ViewProFonts::LineHeight(m_font); }

bool ViewPro::setFontSelection(int32_t selection) {
    // One face only: the sans-serif one.
    if (selection != 1) return refuse(QString("Unknown font selection %1").arg(selection));
    m_font.selection = selection;
    return true;
}

bool ViewPro::setFontScale(int16_t perMille) {
    if (perMille < 1 || perMille > 1000) return refuse(QString("Font scale %1").arg(perMille));
    m_font.scale = perMille;
    return true;
}

bool ViewPro::setFontSize(int16_t points) {
    if (points < 1 || points > 1000) return refuse(QString("Font size %1").arg(points));
    m_font.size = points;
    return true;
}

void ViewPro::setHeader(const QString& text) { m_doc.setHeader({text, m_font, m_foreColour}); }

void ViewPro::setFooter(const QString& text) { m_doc.setFooter({text, m_font, m_foreColour}); }

bool ViewPro::setZoom(int16_t percent) {
    if (percent < kMinZoom || percent > kMaxZoom)
        return refuse(QString("Zoom %1 is out of range").arg(percent));
    m_zoom = percent;
    relayout();
    return true;
}

bool ViewPro::setPageNo(int16_t page) {
    if (!m_doc.page(page)) return refuse(QString("Page %1 is not in the document").arg(page));
    m_pageNo = page;
    viewport()->update();
    return true;
}

void ViewPro::startDoc() {
    m_doc.start();
    m_pageNo = 1;
    viewport()->update();
}

bool ViewPro::newPage() { return drawing() && m_doc.newPage(); }

bool ViewPro::endDoc() {
    if (!drawing()) return false;
    m_doc.end();
    viewport()->update();
    return true;
}

bool ViewPro::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return drawing() && m_doc.addLine({x1, y1, x2, y2, m_foreColour});
}

bool ViewPro::drawText(int32_t x, int32_t y, const QString& text) {
    return drawing() && m_doc.addText({x, y, OneLine(text), m_font, m_foreColour});
}

ViewProSheet ViewPro::sheet() const { return {QSize(pageWidth(), pageHeight()), m_margins}; }

bool ViewPro::printPages(int16_t first, int16_t last) {
    if (m_doc.state() != ViewProDocument::State::Ended)
        return refuse("The document is not finished");
    if (first < 1) first = 1;
    if (last > pageCount()) last = pageCount();
    if (first > last) return true;  // nothing to print
    QPrinter printer(QPrinter::HighResolution);
    if (m_printSetting == kPrintAsk) {
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, pageCount());
        if (ModalHook::Exec(dialog) != QDialog::Accepted) return true;  // the user declined
        // The pages asked for in the dialog, within the ones the caller prints.
        if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
            first = std::max<int16_t>(first, int16_t(printer.fromPage()));
            if (printer.toPage() > 0) last = std::min<int16_t>(last, int16_t(printer.toPage()));
            if (first > last) return true;
        }
    }
    printTo(printer, first, last);  // a failure is raised as Error
    return true;
}

bool ViewPro::printTo(QPrinter& printer, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, int(pageCount()));
    if (first > last) return true;
    const ViewProSheet s = sheet();
    printer.setFullPage(true);
    // The paper as the code names it; an orientation turns it.
    printer.setPageLayout(
        QPageLayout(ViewProPaper::PageSize(m_paper),
                    m_orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                    QMarginsF(0, 0, 0, 0)));
    QPainter p;
    if (!p.begin(&printer)) {
        emit Error(PrinterError,
                   "Unable to start printing on " + (printer.outputFileName().isEmpty()
                                                         ? printer.printerName()
                                                         : printer.outputFileName()));
        return false;
    }
    p.setRenderHint(QPainter::Antialiasing);
    const qreal scale = printer.resolution() / qreal(ViewProPaper::kTwipsPerInch);
    // Copies the printer does not make itself (a PDF file's) are printed here: each copy
    // whole in turn when collated, else each page so many times; the last page first when
    // the print dialog asks for that.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const int pages = last - first + 1;
    const bool lastFirst = printer.pageOrder() == QPrinter::LastPageFirst;
    for (int i = 0; i < pages * copies; ++i) {
        const int k = printer.collateCopies() ? i % pages : i / copies;
        const int n = lastFirst ? last - k : first + k;
        if (i > 0 && !printer.newPage()) {
            emit Error(PrinterError, QString("Unable to begin printed page %1").arg(n));
            p.end();
            return false;
        }
        p.save();
        p.scale(scale, scale);
        ViewProPainter::Paint(p, *m_doc.page(n), s, false);
        p.restore();
    }
    if (!p.end()) {
        emit Error(PrinterError, "Unable to finish printing");
        return false;
    }
    return true;
}

bool ViewPro::saveAsPdf(const QString& path) {
    if (m_doc.state() != ViewProDocument::State::Ended)
        return refuse("The document is not finished");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return printTo(printer, 1, pageCount());
}

QRect ViewPro::pageRect() const {
    const qreal f = m_zoom / 100.0 / kTwipsPerPixel;
    const QSize size(int(pageWidth() * f), int(pageHeight() * f));
    const int x = std::max(kGap, (viewport()->width() - size.width()) / 2);
    return QRect(QPoint(x - horizontalScrollBar()->value(), kGap - verticalScrollBar()->value()),
                 size);
}

void ViewPro::relayout() {
    const QRect page = pageRect();
    const QSize content(page.width() + 2 * kGap, page.height() + 2 * kGap);
    const QSize shown = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - shown.width()));
    horizontalScrollBar()->setPageStep(shown.width());
    verticalScrollBar()->setRange(0, std::max(0, content.height() - shown.height()));
    verticalScrollBar()->setPageStep(shown.height());
    verticalScrollBar()->setSingleStep(std::max(1, shown.height() / 20));
    viewport()->update();
}

void ViewPro::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QRect page = pageRect();
    p.fillRect(page.translated(3, 3), palette().shadow());
    p.fillRect(page, Qt::white);
    const ViewProPage* shown = m_doc.page(m_pageNo);
    if (!shown) return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(page.topLeft());
    const qreal f = m_zoom / 100.0 / kTwipsPerPixel;
    p.scale(f, f);
    ViewProPainter::Paint(p, *shown, sheet(), false);
}

void ViewPro::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void ViewPro::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace plat
