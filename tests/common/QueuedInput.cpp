#include "QueuedInput.h"

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

namespace {
// Mouse and keys say so; wheel and close are queued so by default.
using Async = QWindowSystemInterface::AsynchronousDelivery;

QWindow* windowOf(QWidget& target) { return target.window()->windowHandle(); }
QPointF local(QWidget& target) {
    return target.mapTo(target.window(), QPointF(target.rect().center()));
}
void mouse(QWidget& target, Qt::MouseButtons held, QEvent::Type type) {
    const QPointF at = local(target);
    QWindowSystemInterface::handleMouseEvent<Async>(windowOf(target), at,
                                                    target.window()->mapToGlobal(at), held,
                                                    Qt::LeftButton, type);
}
}  // namespace

namespace QueuedInput {
void Press(QWidget& target) { mouse(target, Qt::LeftButton, QEvent::MouseButtonPress); }
void Release(QWidget& target) { mouse(target, Qt::NoButton, QEvent::MouseButtonRelease); }
void Click(QWidget& target) {
    Press(target);
    Release(target);
}
void Key(QWidget& window, Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QWindowSystemInterface::handleKeyEvent<Async>(windowOf(window), type, key, modifiers,
                                                      text);
}
void Type(QWidget& window, const QString& text) {
    for (const QChar c : text)
        Key(window, static_cast<Qt::Key>(Qt::Key_A + (c.toLower().unicode() - 'a')), c);
}
void Wheel(QWidget& target, int steps) {
    const QPointF at = local(target);
    QWindowSystemInterface::handleWheelEvent(windowOf(target), at,
                                                    target.window()->mapToGlobal(at), QPoint(),
                                                    QPoint(0, 120 * steps));
}
void CloseBox(QWidget& window) { QWindowSystemInterface::handleCloseEvent(windowOf(window)); }
bool Waiting() { return QWindowSystemInterface::windowSystemEventsQueued() > 0; }
void RunAll() {
    // One pass may run only the posted events, the window system's queue being a source of
    // lower priority.
    for (int pass = 0; pass < 50 && Waiting(); ++pass) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}
}  // namespace QueuedInput
