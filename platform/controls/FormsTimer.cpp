#include "FormsTimer.h"

namespace plat {

FormsTimer::FormsTimer(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, &FormsTimer::Timer);
}

bool FormsTimer::setInterval(int milliseconds) {
    if (milliseconds < 0 || milliseconds > kMaxInterval) return false;
    if (milliseconds == m_interval) return true;
    m_interval = milliseconds;
    apply();
    return true;
}

void FormsTimer::setEnabled(bool on) {
    if (on == m_enabled) return;
    m_enabled = on;
    apply();
}

void FormsTimer::apply() {
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);  // (re)starts the period
    else
        m_timer.stop();
}

}  // namespace plat
