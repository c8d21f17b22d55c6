#pragma once
#include <QMargins>
#include <QSize>

#include "ViewProDocument.h"

class QPainter;

// Paints one page of the control's document. The painter must already map one unit to
// one twip with the origin on the paper's top-left corner; the preview and the printer
// both come through here, so the screen shows what the paper gets.
namespace plat {

struct ViewProSheet {
    QSize paper;       // twips
    QMargins margins;  // twips; drawing positions start at (left, top)
};

class ViewProPainter {
public:
    static constexpr int kLineWidth = 10;  // twips: half a point

    // blankPaper: fill the sheet white first (the screen; paper is white already).
    static void Paint(QPainter& p, const ViewProPage& page, const ViewProSheet& sheet,
                      bool blankPaper);

private:
    static void paintBand(QPainter& p, const ViewProBand& band, const ViewProSheet& sheet, int top,
                          int bottom);
};

}  // namespace plat
