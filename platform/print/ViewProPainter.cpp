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

std::array<ViewProBandField, 3> ViewProPainter::BandFields(const ViewProBand& band,
                                                           const ViewProSheet& sheet) {
    const int32_t left = sheet.margins.left();
    const int32_t right = sheet.paper.width() - sheet.margins.right();
    const auto fitted = [&](int index, int32_t room) {
        ViewProBandField f;
        f.text = ViewProFonts::Fitted(band.font, band.field(index), std::max(room, 0));
        f.width = ViewProFonts::TextWidth(band.font, f.text);
        return f;
    };
    std::array<ViewProBandField, 3> fields;
    ViewProBandField& r = fields[2];
    r = fitted(2, right - left);
    r.x = right - r.width;
    const int32_t leftRoom = r.text.isEmpty() ? right : r.x - kBandGap;
    ViewProBandField& l = fields[0];
    l = fitted(0, leftRoom - left);
    l.x = left;
    // Centred on the middle of the printable width, clear of both others.
    const int32_t from = l.text.isEmpty() ? left : left + l.width + kBandGap;
    const int32_t to = r.text.isEmpty() ? right : r.x - kBandGap;
    const int32_t middle = (left + right) / 2;
    ViewProBandField& c = fields[1];
    c = fitted(1, 2 * std::min(middle - from, to - middle));
    c.x = middle - c.width / 2;
    return fields;
}

void ViewProPainter::paintBand(QPainter& p, const ViewProBand& band, const ViewProSheet& sheet,
                               int top, int bottom) {
    if (band.text.isEmpty()) return;
    const QFontMetricsF& m = ViewProFonts::Metrics(band.font);
    p.setFont(ViewProFonts::Face(band.font));
    p.setPen(OleToQColor(band.colour));
    // Centred in the margin it stands in.
    const qreal baseline = top + (bottom - top - m.height()) / 2 + m.ascent();
    for (const ViewProBandField& f : BandFields(band, sheet))
        if (!f.text.isEmpty()) p.drawText(QPointF(f.x, baseline), f.text);
}

}  // namespace plat
