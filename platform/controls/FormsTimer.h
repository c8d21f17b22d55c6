#pragma once
#include <QObject>
#include <QTimer>

// A timer with the forms runtime's meaning: an interval in milliseconds (0..65535) and an
// Enabled switch, both readable and writable. It ticks only while it is enabled with an
// interval above 0. Switching it on, or changing the interval while on, starts a fresh
// period. An interval outside 0..65535 is refused and the period stays as it was. As in
// the forms runtime a new timer is enabled with interval 0, so it does not tick yet.
namespace plat {

class FormsTimer : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxInterval = 65535;

    explicit FormsTimer(QObject* parent = nullptr);

    int interval() const { return m_interval; }
    // False, and nothing changes, for a value outside 0..kMaxInterval.
    bool setInterval(int milliseconds);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    bool isTicking() const { return m_timer.isActive(); }
    // Milliseconds to the next tick; -1 when it does not tick.
    int remainingTime() const { return m_timer.remainingTime(); }

signals:
    void Timer();

private:
    void apply();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

}  // namespace plat
