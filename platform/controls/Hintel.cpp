#include "Hintel.h"

#include <QAbstractScrollArea>
#include <QEnterEvent>
#include <QMouseEvent>
#include <algorithm>

#include "HintArea.h"

namespace plat {
namespace {

constexpr QPoint kOffset(12, 18);  // below and right of the pointer, clear of the cursor

}  // namespace

Hintel::Hintel(QWidget* parent) : QLabel(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setTextFormat(Qt::PlainText);
    setMargin(2);
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, &Hintel::popUp);
}

void Hintel::setShowDelay(int tenths) { m_delayTenths = std::clamp(tenths, 0, 100); }

void Hintel::setPopupMargin(int pixels) {
    setMargin(std::clamp(pixels, 0, 50));
    if (isVisible()) adjustSize();
}

void Hintel::setPopupText(const QString& text) {
    m_text = text;
    refresh();
}

void Hintel::attach(QWidget* widget, const QString& text) {
    if (!widget) return;
    for (Tool& t : m_tools) {
        if (t.widget == widget) {
            t.text = text;
            refresh();
            return;
        }
    }
    m_tools.push_back({widget, text});
    widget->installEventFilter(this);
    // A scroll area's pointer events arrive at its viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        area->viewport()->installEventFilter(this);
}

const Hintel::Tool* Hintel::toolOf(const QObject* watched) const {
    for (const Tool& t : m_tools) {
        if (!t.widget) continue;
        if (t.widget == watched) return &t;
        auto* area = qobject_cast<QAbstractScrollArea*>(t.widget.data());
        if (area && area->viewport() == watched) return &t;
    }
    return nullptr;
}

bool Hintel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::Enter:
            if (const Tool* t = toolOf(watched)) {
                m_over = t->widget;
                if (event->type() == QEvent::MouseMove)
                    m_globalPos = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
                else
                    m_globalPos = static_cast<QEnterEvent*>(event)->globalPosition().toPoint();
                refresh();
            }
            break;
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::Hide:
            m_over = nullptr;
            hidePopup();
            break;
        default:
            break;
    }
    return false;
}

void Hintel::refresh() {
    const Tool* tool = m_over ? toolOf(m_over) : nullptr;
    QString text;
    bool wanted = false;
    if (tool) {
        text = tool->text.isEmpty() ? m_text : tool->text;
        const auto* area = dynamic_cast<const HintArea*>(tool->widget.data());
        wanted =
            !text.isEmpty() && (!area || area->hasHintAt(tool->widget->mapFromGlobal(m_globalPos)));
    }
    if (!wanted) {
        hidePopup();
        return;
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setText(text);
    if (isVisible())
        adjustSize();
    else if (!m_delay.isActive())
        m_delay.start(m_delayTenths * 100);
}

void Hintel::popUp() {
    if (!m_over || text().isEmpty()) return;
    adjustSize();
    move(m_globalPos + kOffset);
    show();
    raise();
}

void Hintel::hidePopup() {
    m_delay.stop();
    hide();
}

}  // namespace plat
