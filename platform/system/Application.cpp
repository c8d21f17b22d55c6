#include "Application.h"

#include <QEvent>

namespace plat {
namespace {
Application::AroundInput& around() {
    static Application::AroundInput a;
    return a;
}
}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

void Application::SetAroundInput(AroundInput a) { around() = std::move(a); }

bool Application::IsUserInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::Close:
            return event.spontaneous();
        case QEvent::Shortcut:  // sent by Qt from the key press it matched, never spontaneous
            return true;
        default:
            return false;
    }
}

bool Application::notify(QObject* receiver, QEvent* event) {
    if (!around() || !IsUserInput(*event)) return QApplication::notify(receiver, event);
    return around()(receiver, [&] { return QApplication::notify(receiver, event); });
}

}  // namespace plat
