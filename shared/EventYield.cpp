#include "EventYield.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

void EventYield::Run() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::X11ExcludeTimers);
    // Qt's glib dispatcher looks at the window system's queue again only once woken: the
    // input held back here would wait for the next event from outside.
    if (QAbstractEventDispatcher* dispatcher = QCoreApplication::eventDispatcher())
        dispatcher->wakeUp();
}

void EventYield::Now() {
    Run();
    m_since.start();
}
