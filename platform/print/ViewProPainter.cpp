#include "ViewProPainter.h"

#include <QPainter>
#include <QPen>

#include "OleColor.h"
#include "ViewProFonts.h"

namespace plat {

void ViewProPainter::Paint(QPainter& p, const ViewProPage& page, const ViewProSheet& sheet,
                           bool blankPaper) {
    p.save();
    if (blankPaper) p.fillRect(QRect(QPoint(0, 0), sheet.paper), Qt::white);
    const int left = sheet.margins.left();
    const int top = sheet.margins.top();
    paintBand(p, page.header, sheet, 0, top);
    paintBand(p, page.footer, sheet, sheet.paper.height() - sheet.margins.bottom(),
              sheet.paper.height());

    QPen pen(Qt::black, kLineWidth);
    uint32_t penColour = 0;
    p.setPen(pen);
    for (const ViewProLine& l : page.lines) {
        if (l.colour != penColour) {
            penColour = l.colour;
            pen.setColor(OleToQColor(penColour));
            p.setPen(pen);
        }
        p.drawLine(QPoint(left + l.x1, top + l.y1), QPoint(left + l.x2, top + l.y2));
    }

    int64_t fontKey = -1;
    qreal ascent = 0;
    for (const ViewProText& t : page.texts) {
        if (t.font.key() != fontKey) {
            fontKey = t.font.key();
            p.setFont(ViewProFonts::Face(t.font));
            ascent = ViewProFonts::Metrics(t.font).ascent();
        }
        if (t.colour != penColour) {
            penColour = t.colour;
            pen.setColor(OleToQColor(penColour));
            p.setPen(pen);
        }
        p.drawText(QPointF(left + t.x, top + t.y + ascent), t.text);
    }
    p.restore();
}

void ViewProPainter::paintBand(QPainter& p, const ViewProBand& band, const ViewProSheet& sheet,
                               int top, int bottom) {
    if (band.text.isEmpty()) return;
    const QFontMetricsF& m = ViewProFonts::Metrics(band.font);
    p.setFont(ViewProFonts::Face(band.font));
    p.setPen(OleToQColor(band.colour));
    // Centred in the margin it stands in.
    const qreal baseline = top + (bottom - top - m.height()) / 2 + m.ascent();
    const qreal left = sheet.margins.left();
    const qreal right = sheet.paper.width() - sheet.margins.right();
    const QString fields[3] = {band.field(0), band.field(1), band.field(2)};
    const qreal x[3] = {left, (left + right - m.horizontalAdvance(fields[1])) / 2,
                        right - m.horizontalAdvance(fields[2])};
    for (int i = 0; i < 3; ++i)
        if (!fields[i].isEmpty()) p.drawText(QPointF(x[i], baseline), fields[i]);
}

}  // namespace plat
