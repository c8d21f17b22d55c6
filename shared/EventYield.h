#pragma once
#include <QElapsedTimer>
#include <QEventLoop>
#include <functional>

// Lets pending window events run during long work (a chart load, a backup), often enough
// for the window to stay responsive and seldom enough not to cost more than the work:
// Sometimes() lets them run when 20 ms have passed since the last time, reading the clock
// only every 64th call.
class EventYield {
public:
    // Lets pending window events run once. While the program reads on its own (a tick, a
    // delayed read: HoldInput), the window repaints and the timers run, but the user's
    // clicks and keys wait until that work is done, so that what they start is a command
    // of the user's own, told as such.
    static void Run();
    static void HoldInput(bool hold);  // nested: each true is undone by a false
    // Called with the events each Run lets run, before they run; none to stop watching.
    // Only tests watch, to see which work holds the user's input.
    using Watch = std::function<void(QEventLoop::ProcessEventsFlags)>;
    static void WatchForTest(Watch watch);
    void Now();
    void Sometimes() {
        if (++m_calls % 64 == 0 && (!m_since.isValid() || m_since.elapsed() >= 20)) Now();
    }

private:
    QElapsedTimer m_since;
    unsigned m_calls = 0;
};
