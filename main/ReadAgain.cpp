#include "ReadAgain.h"

#include "ModMain.h"

ReadAgain::ReadAgain(QObject* window, std::function<bool()> read)
    : QObject(window), m_read(std::move(read)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kWaitMs);
    connect(&m_timer, &QTimer::timeout, this, &ReadAgain::RunDue);
}

bool ReadAgain::Read() { return Note(m_read()); }

bool ReadAgain::Note(bool ok) {
    return note(ok, [] { ModMain::NotRead(); });
}

bool ReadAgain::Note(bool ok, const QString& heading, const QString& what) {
    return note(ok, [&] { ModMain::NotRead(heading, what); });
}

bool ReadAgain::Known(const QString& heading, const QString& what) {
    return !m_unread || note(m_read(), [&] { ModMain::NotRead(heading, what); });
}

bool ReadAgain::note(bool ok, const std::function<void()>& tell) {
    m_unread = !ok;
    if (ok) {
        m_timer.stop();
    } else {
        tell();
        m_timer.start();
    }
    return ok;
}

void ReadAgain::RunDue() {
    m_timer.stop();
    const ModMain::Unattended quiet;
    Read();
}
