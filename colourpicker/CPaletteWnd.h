#pragma once
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <memory>

class CTintoraCtrl;
class QRubberBand;

// The pop-up palette of the colour picker: a small frameless window that stays on top of
// the control's dialog, with a caption bar and close box over 8 x 6 colour cells. It is
// placed by the control's Position, can be dragged by its caption (an outline follows
// the mouse, the window moves on release), and hides when it loses the focus, when its
// close box is clicked or after a cell was clicked. The control creates it, shows it
// with ShowAt and destroys it.
class CPaletteWnd : public QWidget {
    Q_OBJECT

public:
    explicit CPaletteWnd(QWidget* parent);
    ~CPaletteWnd() override;

    // Places the window for the control, shows it, paints it and takes the focus.
    void ShowAt(CTintoraCtrl* control);

    CTintoraCtrl* Owner() const { return m_owner.data(); }
    int16_t PosX() const { return m_posX; }
    int16_t PosY() const { return m_posY; }
    bool Dragging() const { return m_dragging; }
    // The drag outline last drawn, relative to the window's top-left corner; empty when
    // none is drawn.
    QRect DragOutline() const { return m_outline; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void drawOutline(const QPoint& p);
    void eraseOutline();

    QPointer<CTintoraCtrl> m_owner;
    int16_t m_posX = 0;
    int16_t m_posY = 0;
    bool m_dragging = false;
    QPoint m_dragAnchor;
    QRect m_outline;
    std::unique_ptr<QRubberBand> m_outlineBand;
};
