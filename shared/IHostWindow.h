#pragma once
#include <QString>

// What the shared library needs of the program's main window (DlgMain): its refresh
// timer (Timer1), which every database operation switches off while it works, the
// status bar panels keyed "Task" and "Person" that backup and restore write to, the
// user's answer to a question (whether to restore a file that may be incomplete), and the
// pointer while a statement waits for the database. A program registers its window with
// SharedObjects::SetHost; without one (unit tests) the timer steps are skipped and every
// question is answered No.
class IHostWindow {
public:
    virtual ~IHostWindow() = default;
    virtual bool TimerEnabled() const = 0;
    virtual void SetTimerEnabled(bool on) = 0;
    // Sets a status bar panel's text; a key the window does not have is ignored.
    virtual void SetPanelText(const QString& key, const QString& text) = 0;
    // Switches the window's input off while backup or restore replaces shared records.
    virtual void SetInputEnabled(bool on) = 0;
    // Asks the user a Yes/No question (No the default); true for Yes.
    virtual bool Confirm(const QString& message) = 0;
    // The program waits for another program to let go of the database (on), or that wait
    // ended (off): the pointer shows it. Each on is followed by one off.
    virtual void ShowWaiting(bool on) = 0;
};
