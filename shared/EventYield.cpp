#include "EventYield.h"

#include <QCoreApplication>

void EventYield::Now() {
    QCoreApplication::processEvents();
    m_since.start();
}
