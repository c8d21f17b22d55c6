#pragma once
#include <QElapsedTimer>

// Lets the window repaint during long work (a chart load, a backup), often enough for it
// to stay responsive and seldom enough not to cost more than the work: Sometimes() lets it
// when 20 ms have passed since the last time, reading the clock only every 64th call.
//
// Nothing else starts meanwhile: the user's input waits in the window system's queue and
// the program's timers wait too; both run once the work has ended, in the order made, each
// input as a command of its own. Work never runs inside other work.
class EventYield {
public:
    static void Run();
    void Now();
    void Sometimes() {
        if (++m_calls % 64 == 0 && (!m_since.isValid() || m_since.elapsed() >= 20)) Now();
    }

private:
    QElapsedTimer m_since;
    unsigned m_calls = 0;
};
