#pragma once
#include <QVariant>
#include <cstdint>

// A stopwatch in milliseconds over the system tick count.
class ClsTimer {
public:
    void StartTimer();
    // Milliseconds since StartTimer, 0 when it was never started; an empty value when the
    // difference leaves the signed 32-bit range.
    QVariant Elapsed();

private:
    int32_t m_start = 0;  // tick count at StartTimer; 0 = not started
};
