#pragma once
#include <QMargins>
#include <QSize>
#include <QString>
#include <array>

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

// A field of a header or footer as it is printed.
struct ViewProBandField {
    QString text;       // shortened with "\u2026" to the room it has; empty when none
    int32_t x = 0;      // twips from the paper's left edge
    int32_t width = 0;  // twips
};

class ViewProPainter {
public:
    static constexpr int kLineWidth = 10;  // twips: half a point
    static constexpr int kBandGap = 144;   // twips kept between two fields of a band

    // The three fields of a band across the printable width: the right one ends at the
    // right margin and the left one starts at the left margin, each no wider than the
    // room the one before it leaves (the right field first); the centre one is centred
    // in the room between them.
    static std::array<ViewProBandField, 3> BandFields(const ViewProBand& band,
                                                      const ViewProSheet& sheet);

    // blankPaper: fill the sheet white first (the screen; paper is white already).
    static void Paint(QPainter& p, const ViewProPage& page, const ViewProSheet& sheet,
                      bool blankPaper);

private:
    static void paintBand(QPainter& p, const ViewProBand& band, const ViewProSheet& sheet, int top,
                          int bottom);
};

}  // namespace plat
