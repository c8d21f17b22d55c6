#pragma once

class CTintoraCtrl;
class QPainter;
class QPoint;

// Paints the pop-up palette of a control: background, raised frame, navy caption with a
// close box, the 48 cells with their outlines, and the selection frame round the cell
// whose colour is the control's Color. Lines leave out their end points, so each frame
// sits exactly where the layout says.
class PalettePainter {
public:
    static void Paint(QPainter& painter, const CTintoraCtrl& control);
};
