#include "CPaletteWnd.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include "CTintoraCtrl.h"
#include "PaletteGeometry.h"
#include "PalettePainter.h"
#include "PalettePlacement.h"
#include "ScreenMetrics.h"

CPaletteWnd::CPaletteWnd(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the paint covers every pixel
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    setFixedSize(PaletteGeometry::kWidth, PaletteGeometry::kHeight);
    hide();
}

CPaletteWnd::~CPaletteWnd() = default;

void CPaletteWnd::ShowAt(CTintoraCtrl* control) {
    m_owner = control;
    m_dragging = false;
    eraseOutline();
    hide();
    if (!control) return;

    PalettePlacement::Input in;
    in.position = control->Position();
    in.cursor = plat::ScreenMetrics::CursorPos();
    in.under = plat::ScreenMetrics::WindowRectAt(in.cursor);
    in.screen = plat::ScreenMetrics::ScreenSize();
    in.windowX = control->WindowXPosn();
    in.windowY = control->WindowYPosn();
    in.offsetX = control->WinXOffset();
    in.offsetY = control->WinYOffset();
    const QPoint p = PalettePlacement::Compute(in);
    m_posX = static_cast<int16_t>(p.x());
    m_posY = static_cast<int16_t>(p.y());

    setGeometry(m_posX, m_posY, PaletteGeometry::kWidth, PaletteGeometry::kHeight);
    show();
    repaint();
    activateWindow();
    setFocus(Qt::PopupFocusReason);
}

void CPaletteWnd::paintEvent(QPaintEvent*) {
    if (!m_owner) return;
    QPainter painter(this);
    PalettePainter::Paint(painter, *m_owner);
}

void CPaletteWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    const PaletteGeometry::Hit hit = PaletteGeometry::HitTest(p);
    switch (hit.part) {
        case PaletteGeometry::Part::CloseBox:
            hide();
            break;
        case PaletteGeometry::Part::Caption:
            // Qt keeps sending the mouse to the pressed window until the release.
            m_dragAnchor = p;
            m_dragging = true;
            break;
        case PaletteGeometry::Part::Cell: {
            // Hidden before the event goes out: a container that closes the dialog in
            // its handler takes the control and this window with it.
            QPointer<CPaletteWnd> self(this);
            hide();
            if (m_owner) m_owner->CellClicked(hit.cell);
            if (!self) return;
            break;
        }
        case PaletteGeometry::Part::None:
            break;
    }
    QWidget::mousePressEvent(event);
}

void CPaletteWnd::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) drawOutline(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CPaletteWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging) {
        m_dragging = false;
        eraseOutline();
        const QPoint p = event->position().toPoint();
        const auto x = static_cast<int16_t>(p.x() + geometry().left() - m_dragAnchor.x());
        const auto y = static_cast<int16_t>(p.y() + geometry().top() - m_dragAnchor.y());
        move(x, y);
        if (m_owner && m_owner->Position() == PosnCalc) m_owner->StoreDraggedPosition(x, y);
    }
    QWidget::mouseReleaseEvent(event);
}

void CPaletteWnd::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // By the time this runs the application knows the new focus widget (none when the
    // focus left the program).
    const QWidget* next = QApplication::focusWidget();
    if (next != this && !isAncestorOf(next)) hide();
}

void CPaletteWnd::drawOutline(const QPoint& p) {
    m_outline = QRect(p - m_dragAnchor, QSize(PaletteGeometry::kWidth, PaletteGeometry::kHeight));
    if (!m_outlineBand) m_outlineBand = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    m_outlineBand->setGeometry(m_outline.translated(geometry().topLeft()));
    m_outlineBand->show();
}

void CPaletteWnd::eraseOutline() {
    if (m_outlineBand) m_outlineBand->hide();
    m_outline = QRect();
}
