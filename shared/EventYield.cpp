#include "EventYield.h"

#include <QCoreApplication>

namespace {
int inputHeld = 0;
EventYield::Watch& watch() {
    static EventYield::Watch w;
    return w;
}
}  // namespace

void EventYield::Run() {
    const QEventLoop::ProcessEventsFlags flags =
        inputHeld > 0 ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
    if (watch()) watch()(flags);
    QCoreApplication::processEvents(flags);
}

void EventYield::WatchForTest(Watch w) { watch() = std::move(w); }

void EventYield::HoldInput(bool hold) { inputHeld += hold ? 1 : -1; }

void EventYield::Now() {
    Run();
    m_since.start();
}
