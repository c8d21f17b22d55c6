#pragma once
#include <QObject>
#include <QTimer>
#include <functional>

// The part of a window that keeps what it shows when a read of it fails: the user is told
// once (ModMain::NotRead, so never from the tick or from this helper's own read), the
// part is noted unread, and it is read again shortly, quietly, until a read succeeds. A
// modal dialog needs this of its own: the main window's tick is off while its commands run.
class ReadAgain : public QObject {
    Q_OBJECT

public:
    // read: reads the part and shows it; false, with what it shows kept, when it could not.
    ReadAgain(QObject* window, std::function<bool()> read);

    static constexpr int kWaitMs = 5000;

    // Reads now; false when it could not (then as Note(false)).
    bool Read();
    // The outcome of a read of the part made elsewhere; returns ok. A failure is told, and
    // the part is read again shortly.
    bool Note(bool ok);
    // The same for a command's read of what the part shows: a failure is told as the
    // command's (ModMain::NotRead with heading and what), and the part is read again.
    bool Note(bool ok, const QString& heading, const QString& what);
    // Reads now only when the part is unread; true once it is read. For a command that
    // works on what the part shows; the second form tells the command's own failure
    // (ModMain::NotRead with heading and what).
    bool Known() { return !m_unread || Read(); }
    bool Known(const QString& heading, const QString& what);
    bool Unread() const { return m_unread; }
    // Whether a read again is due (only tests look).
    bool Due() const { return m_timer.isActive(); }
    // Runs the read that is due, telling nobody: the timer calls it (tests do, instead of
    // waiting for it).
    void RunDue();

private:
    bool note(bool ok, const std::function<void()>& tell);

    std::function<bool()> m_read;
    QTimer m_timer;
    bool m_unread = false;
};
