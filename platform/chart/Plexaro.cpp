#include "Plexaro.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPrinter>
#include <QScrollBar>
#include <algorithm>

#include "PlexaroHitTester.h"

namespace plat {

Plexaro::Plexaro(QWidget* parent) : QAbstractScrollArea(parent) {
    // The viewport then starts at the chart's own (0, 0), so chart pixels and viewport
    // pixels are the same.
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    auto scrolledByUser = [this](int) { userScrolled(); };
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, scrolledByUser);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, scrolledByUser);
    takeFont();
    relayout();
}

void Plexaro::setColour(uint32_t& slot, uint32_t c) {
    if (slot == c) return;
    slot = c;
    viewport()->update();
}

void Plexaro::setBackColor(uint32_t c) { setColour(m_view.colours.back, c); }
void Plexaro::setTitleBackColor(uint32_t c) { setColour(m_view.colours.titleBack, c); }
void Plexaro::setRulerBackColor(uint32_t c) { setColour(m_view.colours.rulerBack, c); }
void Plexaro::setListBackColor(uint32_t c) { setColour(m_view.colours.listBack, c); }
void Plexaro::setSelectBackColor(uint32_t c) { setColour(m_view.colours.selectBack, c); }
void Plexaro::setWeekendColor(uint32_t c) { setColour(m_view.colours.weekend, c); }

void Plexaro::setListWidth(int pixels) {
    m_view.listWidth = std::clamp(pixels, 0, 32767);
    relayout();
}

void Plexaro::setTitle(const QString& text) {
    m_view.title = text;
    viewport()->update();
}

void Plexaro::keepLeftEdge(const std::function<void()>& change) {
    const auto left = m_view.scale.at(m_view.scrollX);
    change();
    relayout();
    if (left) scrollTo(left->day, left->minute);
}

void Plexaro::setTimeScale(int kind) {
    const int before = m_view.scale.kind;
    keepLeftEdge([&] { m_view.scale.kind = kind; });
    if (m_view.scale.kind != before) emit timeScaleChanged(m_view.scale.kind);
}

void Plexaro::setTimeZoom(int zoom) {
    keepLeftEdge([&] {
        m_view.scale.zoom =
            std::clamp(zoom, PlexaroTimeScale::kMinZoom, PlexaroTimeScale::kMaxZoom);
    });
}

void Plexaro::setFiveMinuteWidth(int pixels) {
    m_view.fiveMinuteWidth = std::max(pixels, 0);
    viewport()->update();
}

void Plexaro::setDayStart(int minute) {
    m_view.scale.dayStart = minute;
    relayout();
}

void Plexaro::setDayEnd(int minute) {
    m_view.scale.dayEnd = minute;
    relayout();
}

void Plexaro::setStartDate(int32_t day) {
    m_view.scale.firstDay = day;
    relayout();
}

void Plexaro::setEndDate(int32_t day) {
    m_view.scale.lastDay = day;
    relayout();
}

void Plexaro::setUse24Hour(bool on) {
    m_view.use24Hour = on;
    viewport()->update();
}

void Plexaro::setDateFormat(const QString& format) {
    m_view.dateFormat = format;
    viewport()->update();
}

void Plexaro::setSelectedRow(int row) {
    m_view.selectedRow = m_model.isResourceRow(row) ? row : kNoRow;
    if (m_view.selectedRow != kNoRow) {
        const int rowsHeight = std::max(0, viewport()->height() - m_view.rows.top);
        const int top = (row - 1) * m_view.rows.height();
        QScrollBar* v = verticalScrollBar();
        if (top < v->value())
            v->setValue(top);
        else if (top + m_view.rows.height() > v->value() + rowsHeight)
            v->setValue(top + m_view.rows.height() - rowsHeight);
    }
    viewport()->update();
}

void Plexaro::clear() {
    m_model.clear();
    m_view.selectedRow = kNoRow;
    m_hoverRow = m_hoverBar = kNoRow;
    m_pressedRow = m_pressedBar = kNoRow;
    relayout();
}

int Plexaro::addRow(const QString& text) {
    const int row = m_model.addRow(text);
    if (row != kNoRow) relayout();
    return row;
}

int Plexaro::addBar(int row, int startMinute, int endMinute, int32_t startDay, int32_t endDay,
                    const QString& key) {
    const int bar = m_model.addBar(row, startMinute, endMinute, startDay, endDay, key);
    if (bar != kNoRow) viewport()->update();
    return bar;
}

uint32_t Plexaro::barColor(int row, int bar) const {
    const PlexaroBar* b = m_model.bar(row, bar);
    return b ? b->colour : 0;
}

void Plexaro::setBarColor(int row, int bar, uint32_t colour) {
    if (m_model.setBarColour(row, bar, colour)) viewport()->update();
}

QString Plexaro::barText(int row, int bar) const {
    const PlexaroBar* b = m_model.bar(row, bar);
    return b ? b->text : QString();
}

void Plexaro::setBarText(int row, int bar, const QString& text) {
    if (m_model.setBarText(row, bar, text)) viewport()->update();
}

int32_t Plexaro::barData(int row, int bar) const {
    const PlexaroBar* b = m_model.bar(row, bar);
    return b ? b->data : 0;
}

void Plexaro::setBarData(int row, int bar, int32_t data) { m_model.setBarData(row, bar, data); }

QString Plexaro::barKey(int row, int bar) const {
    const PlexaroBar* b = m_model.bar(row, bar);
    return b ? b->key : QString();
}

void Plexaro::setRowData(int row, int32_t data) { m_model.setRowData(row, data); }

void Plexaro::scrollTo(int32_t day, int minute) {
    const int64_t x = m_view.scale.xOf(day, minute);
    horizontalScrollBar()->setValue(int(std::min<int64_t>(x, horizontalScrollBar()->maximum())));
}

bool Plexaro::hitTest(int x, int y) {
    const QPoint p = viewport()->mapFrom(this, QPoint(x, y));
    const PlexaroHit hit = PlexaroHitTester(m_model, m_view).at(p);
    if (hit.area != PlexaroHit::Area::Time || hit.row < 1 || !hit.onTime) return false;
    emit DropItem(hit.row, hit.minute, hit.day);
    return true;
}

bool Plexaro::print(QPrinter& printer) {
    PlexaroView v = m_view;
    v.greyBackgrounds = !m_printColourBackgrounds;
    v.greyBars = !m_printColourBars;
    // The pages chosen in the print dialog, when a range was chosen, in its page order.
    const bool range = printer.printRange() == QPrinter::PageRange;
    return m_painter.print(printer, m_model, v, m_printTitle, m_printFooter,
                           range ? printer.fromPage() : 0, range ? printer.toPage() : 0,
                           printer.pageOrder() == QPrinter::LastPageFirst);
}

bool Plexaro::hasHintAt(const QPoint& p) const {
    const QPoint inViewport = viewport()->mapFrom(this, p);
    return PlexaroHitTester(m_model, m_view).at(inViewport).bar != kNoRow;
}

void Plexaro::takeFont() {
    // The painter scales pixel-sized fonts with the page when it prints.
    QFont f = font();
    f.setPixelSize(std::max(1, QFontInfo(font()).pixelSize()));
    m_view.font = f;
    m_view.palette = palette();
}

void Plexaro::relayout() {
    const QFontMetrics fm(m_view.font);
    m_view.titleHeight = fm.height() + 8;
    m_view.rulerHeight = 2 * (fm.height() + 4);
    m_view.rows.top = m_view.titleHeight + m_view.rulerHeight;
    m_view.rows.rowHeight = fm.height() + 8;
    m_view.rows.rowCount = m_model.resourceCount();
    m_view.size = viewport()->size();

    QScrollBar* h = horizontalScrollBar();
    const int64_t hMax = std::max<int64_t>(0, m_view.scale.width() - m_view.timeAreaWidth());
    h->setRange(0, int(std::min<int64_t>(hMax, INT32_MAX)));
    h->setPageStep(std::max(1, m_view.timeAreaWidth()));
    h->setSingleStep(std::max(1, m_view.timeAreaWidth() / 20));
    QScrollBar* v = verticalScrollBar();
    const int rowsHeight = std::max(0, m_view.size.height() - m_view.rows.top);
    v->setRange(0, std::max(0, m_view.rows.contentHeight() - rowsHeight));
    v->setPageStep(std::max(1, rowsHeight));
    v->setSingleStep(m_view.rows.height());
    m_view.scrollX = h->value();
    m_view.rows.scrollY = v->value();
    viewport()->update();
}

void Plexaro::paintEvent(QPaintEvent* event) {
    m_painter.paint(*viewport(), m_model, m_view, event->rect());
}

void Plexaro::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void Plexaro::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        takeFont();
        relayout();
    }
}

void Plexaro::scrollContentsBy(int, int) {
    m_view.scrollX = horizontalScrollBar()->value();
    m_view.rows.scrollY = verticalScrollBar()->value();
    viewport()->update();
}

void Plexaro::userScrolled() {
    // Called before the bars take their new value: read where they are going.
    const int64_t x = horizontalScrollBar()->sliderPosition();
    const auto left = m_view.scale.at(std::min(x, m_view.scale.width() - 1));
    const int row = verticalScrollBar()->sliderPosition() / m_view.rows.height() + 1;
    emit ScrollTrack(left ? left->day : m_view.scale.firstDay,
                     left ? left->minute : m_view.scale.firstMinute(), row);
}

bool Plexaro::nearDivider(const QPoint& p) const {
    return p.y() >= m_view.titleHeight && std::abs(p.x() - m_view.timeLeft()) <= 2;
}

void Plexaro::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_resizingList) {
        setListWidth(std::max(0, p.x()));
        return;
    }
    viewport()->setCursor(nearDivider(p) ? Qt::SplitHCursor : Qt::ArrowCursor);
    const PlexaroHit hit = PlexaroHitTester(m_model, m_view).at(p);
    if (hit.bar == kNoRow) {
        leaveBar();
    } else if (hit.row != m_hoverRow || hit.bar != m_hoverBar) {
        m_hoverRow = hit.row;
        m_hoverBar = hit.bar;
        emit ItemMove(hit.row, hit.bar);
    }
}

bool Plexaro::viewportEvent(QEvent* event) {
    // The pointer left the time and names (also onto a scroll bar): the next bar it
    // comes onto is entered afresh.
    if (event->type() == QEvent::Leave) leaveBar();
    return QAbstractScrollArea::viewportEvent(event);
}

void Plexaro::leaveBar() {
    if (m_hoverBar == kNoRow) return;
    m_hoverRow = m_hoverBar = kNoRow;
    emit ItemLeave();
}

void Plexaro::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    if (nearDivider(p)) {
        m_resizingList = true;
        return;
    }
    const PlexaroHit hit = PlexaroHitTester(m_model, m_view).at(p);
    if (hit.row >= 1) setSelectedRow(hit.row);
    if (hit.bar != kNoRow) {
        m_pressedRow = hit.row;
        m_pressedBar = hit.bar;
        m_pressPoint = p;
        emit BarPreSelect(hit.row, hit.bar);
    }
}

void Plexaro::mouseReleaseEvent(QMouseEvent* event) {
    m_resizingList = false;
    const int row = m_pressedRow;
    const int bar = m_pressedBar;
    m_pressedRow = m_pressedBar = kNoRow;
    const QPoint p = event->position().toPoint();
    if (bar == kNoRow || (p - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    const PlexaroHit target = PlexaroHitTester(m_model, m_view).at(p);
    emit BarPreDrop(row, bar, target.row, target.onTime ? target.day : 0,
                    target.onTime ? target.minute : 0);
}

void Plexaro::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const PlexaroHit hit = PlexaroHitTester(m_model, m_view).at(event->position().toPoint());
    if (hit.row >= 1) emit ListDblClick(hit.row);
}

void Plexaro::keyPressEvent(QKeyEvent* event) {
    const int n = m_model.resourceCount();
    const int current = m_view.selectedRow;
    const int page = std::max(1, (viewport()->height() - m_view.rows.top) / m_view.rows.height());
    int row = current;
    switch (event->key()) {
        case Qt::Key_Up:
            row = current == kNoRow ? 1 : current - 1;
            break;
        case Qt::Key_Down:
            row = current == kNoRow ? 1 : current + 1;
            break;
        case Qt::Key_PageUp:
            row = current == kNoRow ? 1 : current - page;
            break;
        case Qt::Key_PageDown:
            row = current == kNoRow ? 1 : current + page;
            break;
        case Qt::Key_Home:
            row = 1;
            break;
        case Qt::Key_End:
            row = n;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (current != kNoRow) emit ListDblClick(current);
            return;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    if (n > 0) setSelectedRow(std::clamp(row, 1, n));
}

void Plexaro::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(QString::fromLatin1(kDragMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void Plexaro::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasFormat(QString::fromLatin1(kDragMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void Plexaro::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kDragMimeType))) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const QPoint p = viewport()->mapTo(this, event->position().toPoint());
    emit DragDrop(p.x(), p.y());
}

}  // namespace plat
