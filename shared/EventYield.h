#pragma once
#include <QElapsedTimer>

// Lets pending window events run during long work (a chart load, a backup), often enough
// for the window to stay responsive and seldom enough not to cost more than the work:
// Sometimes() lets them run when 20 ms have passed since the last time, reading the clock
// only every 64th call.
class EventYield {
public:
    void Now();
    void Sometimes() {
        if (++m_calls % 64 == 0 && (!m_since.isValid() || m_since.elapsed() >= 20)) Now();
    }

private:
    QElapsedTimer m_since;
    unsigned m_calls = 0;
};
