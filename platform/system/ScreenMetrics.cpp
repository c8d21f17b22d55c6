#include "ScreenMetrics.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QWidget>

namespace plat {
namespace {

std::optional<ScreenMetrics::Fixed>& fixed() {
    static std::optional<ScreenMetrics::Fixed> f;
    return f;
}

}  // namespace

QSize ScreenMetrics::ScreenSize() {
    if (fixed()) return fixed()->screen;
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize();
}

QPoint ScreenMetrics::CursorPos() { return fixed() ? fixed()->cursor : QCursor::pos(); }

QRect ScreenMetrics::WindowRectAt(const QPoint& screenPoint) {
    if (fixed()) return fixed()->windowUnderCursor;
    if (const QWidget* w = QApplication::widgetAt(screenPoint))
        return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    return QRect(QPoint(0, 0), ScreenSize());
}

QSize ScreenMetrics::LogicalDpi() {
    if (fixed()) return fixed()->logicalDpi;
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return QSize(96, 96);
    return QSize(qRound(s->logicalDotsPerInchX()), qRound(s->logicalDotsPerInchY()));
}

void ScreenMetrics::SetForTest(const std::optional<Fixed>& f) { fixed() = f; }

}  // namespace plat
