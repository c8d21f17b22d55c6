#include "Kalvo.h"

#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include "OleColor.h"
#include "PlexaroCalendar.h"

namespace plat {
namespace {

constexpr int kColumns = 7;
constexpr int kRows = 6;
constexpr int kGap = 2;  // pixels around the header and between the cells' text and edge

int32_t firstOfMonth(int32_t day) {
    const QDate d = PlexaroCalendar::dateOf(day);
    return PlexaroCalendar::dayOf(QDate(d.year(), d.month(), 1));
}

QToolButton* arrow(QWidget* parent, Qt::ArrowType type, const char* name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(type);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

Kalvo::Kalvo(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    m_back = arrow(this, Qt::LeftArrow, "back");
    m_forward = arrow(this, Qt::RightArrow, "forward");
    m_title = new QLabel(this);
    m_title->setAlignment(Qt::AlignCenter);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    connect(m_back, &QToolButton::clicked, this, [this] { turnPage(-1); });
    connect(m_forward, &QToolButton::clicked, this, [this] { turnPage(1); });
    m_month = firstOfMonth(m_value);
    m_title->setText(PlexaroCalendar::formatDate(m_month, "F Y"));
}

void Kalvo::setValue(int32_t day) {
    if (day == m_value) return;
    const bool turns = day < firstShown() || day > firstShown() + kDaysShown - 1;
    if (turns && !mayShow(pageOf(day), day)) return;
    m_value = day;
    if (turns) showMonth(pageOf(day));
    update();
    emit DateChange();
}

int16_t Kalvo::day() const { return static_cast<int16_t>(PlexaroCalendar::dateOf(m_value).day()); }

int32_t Kalvo::visibleDay(int index) const {
    if (index == 1) return firstShown();
    if (index == 2) return firstShown() + kDaysShown - 1;
    return 0;
}

int16_t Kalvo::dayMark(int position) const {
    return position >= 1 && position <= kDaysShown ? m_marks[position - 1] : 0;
}

void Kalvo::setDayMark(int position, int16_t mark) {
    if (position < 1 || position > kDaysShown || m_marks[position - 1] == mark) return;
    m_marks[position - 1] = mark;
    update(cellRect(position));
}

void Kalvo::setMarkStyle(int16_t style) {
    m_markStyle = style;
    update();
}

void Kalvo::setMarkColor(uint32_t color) {
    m_markColor = color;
    update();
}

void Kalvo::turnPage(int months) {
    if (months == 0) return;
    setPage(PlexaroCalendar::dayOf(PlexaroCalendar::dateOf(m_month).addMonths(months)));
}

void Kalvo::setPage(int32_t day) {
    if (mayShow(pageOf(day), m_value)) showMonth(pageOf(day));
}

int32_t Kalvo::pageOf(int32_t day) { return firstOfMonth(day); }

int32_t Kalvo::firstShownOf(int32_t page) { return page - PlexaroCalendar::weekday(page); }

bool Kalvo::mayShow(int32_t page, int32_t value) const {
    return page == m_month || !m_ask || m_ask(page, value);
}

void Kalvo::showMonth(int32_t first) {
    if (first == m_month) return;
    m_month = first;
    m_marks.fill(0);
    m_title->setText(PlexaroCalendar::formatDate(m_month, "F Y"));
    update();
    emit PageChange();
}

void Kalvo::layoutHeader() {
    const int h = m_back->sizeHint().height();
    m_back->setGeometry(kGap, kGap, h, h);
    m_forward->setGeometry(width() - kGap - h, kGap, h, h);
    m_title->setGeometry(kGap + h, kGap, std::max(0, width() - 2 * (kGap + h)), h);
}

QRect Kalvo::gridRect() const {
    const int top = m_back->sizeHint().height() + 2 * kGap + fontMetrics().height() + kGap;
    return QRect(0, top, width(), std::max(0, height() - top));
}

QRect Kalvo::cellRect(int position) const {
    if (position < 1 || position > kDaysShown) return {};
    const QRect grid = gridRect();
    const int col = (position - 1) % kColumns;
    const int row = (position - 1) / kColumns;
    const int x0 = grid.left() + grid.width() * col / kColumns;
    const int x1 = grid.left() + grid.width() * (col + 1) / kColumns;
    const int y0 = grid.top() + grid.height() * row / kRows;
    const int y1 = grid.top() + grid.height() * (row + 1) / kRows;
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

int Kalvo::positionAt(const QPoint& point) const {
    const QRect grid = gridRect();
    if (!grid.contains(point) || grid.width() <= 0 || grid.height() <= 0) return 0;
    const int col = (point.x() - grid.left()) * kColumns / grid.width();
    const int row = (point.y() - grid.top()) * kRows / grid.height();
    return row * kColumns + col + 1;
}

void Kalvo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.base());
    const QRect grid = gridRect();
    const int headTop = m_back->sizeHint().height() + 2 * kGap;
    p.setPen(pal.color(QPalette::PlaceholderText));
    for (int c = 0; c < kColumns; ++c) {
        const QRect cell = cellRect(c + 1);
        const QRect head(cell.left(), headTop, cell.width(), grid.top() - headTop);
        p.drawText(head, Qt::AlignCenter, PlexaroCalendar::formatDate(c, "D"));
    }
    p.drawLine(grid.left(), grid.top() - 1, grid.right(), grid.top() - 1);

    const QFont plain = font();
    QFont marked = plain;
    marked.setBold(m_markStyle & Bold);
    marked.setItalic(m_markStyle & Italic);
    marked.setUnderline(m_markStyle & Underline);
    const QColor markColour = OleToQColor(m_markColor, pal);
    const int32_t today = PlexaroCalendar::dayOf(QDate::currentDate());
    const int32_t first = firstShown();
    for (int pos = 1; pos <= kDaysShown; ++pos) {
        const int32_t d = first + pos - 1;
        const QRect cell = cellRect(pos).adjusted(1, 1, -1, -1);
        const bool inMonth = firstOfMonth(d) == m_month;
        QColor text = inMonth ? pal.color(QPalette::Text) : pal.color(QPalette::PlaceholderText);
        if (d == m_value) {
            p.fillRect(cell, pal.highlight());
            text = pal.color(QPalette::HighlightedText);
        }
        if (d == today) {
            p.setPen(pal.color(QPalette::Highlight).darker(130));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
        }
        const bool isMarked = m_marks[pos - 1] != 0;
        p.setFont(isMarked ? marked : plain);
        p.setPen(isMarked && d != m_value ? markColour : text);
        p.drawText(cell, Qt::AlignCenter, QString::number(PlexaroCalendar::dateOf(d).day()));
    }
}

void Kalvo::resizeEvent(QResizeEvent*) { layoutHeader(); }

void Kalvo::mousePressEvent(QMouseEvent* event) {
    const int pos = positionAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pos > 0) setValue(firstShown() + pos - 1);
}

void Kalvo::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int pos = positionAt(event->position().toPoint());
    if (pos == 0) {
        emit DateDblClick(0);
        return;
    }
    const int32_t hit = firstShown() + pos - 1;
    setValue(hit);
    emit DateDblClick(static_cast<int16_t>(PlexaroCalendar::dateOf(hit).day()));
}

void Kalvo::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            setValue(m_value - 1);
            break;
        case Qt::Key_Right:
            setValue(m_value + 1);
            break;
        case Qt::Key_Up:
            setValue(m_value - kColumns);
            break;
        case Qt::Key_Down:
            setValue(m_value + kColumns);
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            const int step = event->key() == Qt::Key_PageUp ? -1 : 1;
            setValue(PlexaroCalendar::dayOf(PlexaroCalendar::dateOf(m_value).addMonths(step)));
            break;
        }
        default:
            QWidget::keyPressEvent(event);
    }
}

QSize Kalvo::sizeHint() const {
    const int cellW = fontMetrics().horizontalAdvance("Wed") + 4 * kGap;
    const int cellH = fontMetrics().height() + 2 * kGap;
    const int header = m_back->sizeHint().height() + 3 * kGap + fontMetrics().height();
    return QSize(cellW * kColumns, header + cellH * kRows);
}

}  // namespace plat
