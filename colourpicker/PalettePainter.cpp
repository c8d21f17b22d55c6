#include "PalettePainter.h"

#include <QPainter>
#include <initializer_list>

#include "CTintoraCtrl.h"
#include "OleColor.h"
#include "PaletteGeometry.h"

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

// A polyline without its last point (the pen's end points are the next segment's start).
void polyline(QPainter& painter, const QColor& colour, std::initializer_list<QPoint> points) {
    painter.setPen(QPen(colour, 1));
    const QPoint* prev = nullptr;
    for (const QPoint& p : points) {
        if (prev && *prev != p) {
            const QPoint step(sign(p.x() - prev->x()), sign(p.y() - prev->y()));
            painter.drawLine(*prev, p - step);
        }
        prev = &p;
    }
}

// A raised edge round l, t, r, b (right and bottom exclusive).
void raisedEdge(QPainter& painter, int l, int t, int r, int b) {
    polyline(painter, QColor(0xC0, 0xC0, 0xC0), {{l, b - 1}, {l, t}, {r - 1, t}});
    polyline(painter, Qt::black, {{l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1}});
    polyline(painter, QColor(0x80, 0x80, 0x80), {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t}});
    polyline(painter, Qt::white, {{l + 1, b - 3}, {l + 1, t + 1}, {r - 2, t + 1}});
}

void outline(QPainter& painter, const QColor& colour, int l, int t, int r, int b) {
    polyline(painter, colour, {{r, b}, {r, t}, {l, t}, {l, b}, {r, b}});
}

}  // namespace

void PalettePainter::Paint(QPainter& painter, const CTintoraCtrl& control) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect client = PaletteGeometry::ClientRect();
    painter.fillRect(client, plat::OleColor::Translate(control.BackColor()));
    raisedEdge(painter, client.left(), client.top(), client.left() + client.width(),
               client.top() + client.height());

    painter.fillRect(PaletteGeometry::CaptionRect(), QColor(0, 0, 0x80));

    const QRect box = PaletteGeometry::CloseBoxRect();
    const int l = box.left(), t = box.top();
    const int r = l + box.width(), b = t + box.height();
    painter.fillRect(box, QColor(0xC0, 0xC0, 0xC0));
    raisedEdge(painter, l, t, r, b);
    polyline(painter, Qt::black, {{l + 3, t + 3}, {r - 3, b - 3}});
    polyline(painter, Qt::black, {{r - 4, t + 3}, {l + 2, b - 3}});

    for (int i = 0; i < PaletteGeometry::kCells; ++i) {
        const QRect cell = PaletteGeometry::CellRect(i);
        const int cl = cell.left(), ct = cell.top();
        const int cr = cl + cell.width(), cb = ct + cell.height();
        const uint32_t stored = control.CellColor(i);
        const QColor shown = plat::OleColor::Translate(stored);
        painter.fillRect(cell, shown);
        outline(painter, Qt::black, cl, ct, cr, cb);
        // Color is compared as stored with the cell as painted: a system colour in Color
        // frames no cell.
        const uint32_t painted = plat::OleColor::FromRgb(shown.red(), shown.green(), shown.blue());
        if (control.ShowSelect() && control.Color() == painted) {
            outline(painter, Qt::white, cl - 1, ct - 1, cr + 1, cb + 1);
            outline(painter, Qt::black, cl - 2, ct - 2, cr + 2, cb + 2);
        }
    }
}
