#include "EventYield.h"

#include <QCoreApplication>

namespace {
int inputHeld = 0;
}  // namespace

void EventYield::Run() {
    QCoreApplication::processEvents(inputHeld > 0 ? QEventLoop::ExcludeUserInputEvents
                                                  : QEventLoop::AllEvents);
}

void EventYield::HoldInput(bool hold) { inputHeld += hold ? 1 : -1; }

void EventYield::Now() {
    Run();
    m_since.start();
}
