#include "Application.h"

#include <QAbstractButton>
#include <QEvent>

namespace plat {
namespace {
Application::AroundInput& around() {
    static Application::AroundInput a;
    return a;
}

// While TakeOffQueuedInput runs: what it took (nested boxes count on with the outer one).
struct TakingOff {
    int depth = 0;
    int starts = 0;
    int releases = 0;
};
TakingOff taking;
}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

void Application::SetAroundInput(AroundInput a) { around() = std::move(a); }

Application::Input Application::KindOf(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::Close:  // the close box; a window the program closes is let be
            return event.spontaneous() ? Input::Starts : Input::None;
        case QEvent::Shortcut:  // sent by Qt from the key press it matched, never spontaneous
            return Input::Starts;
        case QEvent::MouseButtonRelease:
        case QEvent::KeyRelease:
        case QEvent::MouseMove:
            return event.spontaneous() ? Input::Follows : Input::None;
        default:
            return Input::None;
    }
}

int Application::TakeOffQueuedInput() {
    if (!QCoreApplication::instance()) return 0;
    const TakingOff outer = taking;
    taking = {outer.depth + 1, 0, 0};
    // A windowing system may hand its queue over in steps (X11 first turns its events into
    // Qt's own, then delivers those): run until a pass takes nothing more.
    for (int before = -1, pass = 0; pass < 8 && taking.starts + taking.releases != before;
         ++pass) {
        before = taking.starts + taking.releases;
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers, 20);
    }
    const TakingOff mine = taking;
    taking = {outer.depth, outer.starts + mine.starts, outer.releases + mine.releases};
    if (mine.releases > 0)
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->isDown())
                button->setDown(false);
    return mine.starts;
}

bool Application::notify(QObject* receiver, QEvent* event) {
    const Input kind = KindOf(*event);
    if (kind == Input::None) return QApplication::notify(receiver, event);
    if (taking.depth > 0) {
        if (kind == Input::Starts) ++taking.starts;
        if (event->type() == QEvent::MouseButtonRelease) ++taking.releases;
        return true;
    }
    if (kind == Input::Follows || !around()) return QApplication::notify(receiver, event);
    return around()([&] { return QApplication::notify(receiver, event); });
}

}  // namespace plat
