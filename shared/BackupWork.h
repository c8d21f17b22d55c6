#pragma once
#include <QString>
#include <cstdint>

// A backup or restore at work, for as long as the object lives: the user cannot change the
// shared records meanwhile (the window's input is off), a second one asked for from a
// window event is refused at once rather than waiting for our own lock, and the progress
// panels are empty afterwards.
class BackupWork {
public:
    BackupWork();
    ~BackupWork();
    BackupWork(const BackupWork&) = delete;
    BackupWork& operator=(const BackupWork&) = delete;
    static bool Running() { return s_running; }

    // Progress in the host window's status bar panel "Task" or "Person".
    static void Panel(const char* key, const QString& text);
    // A day as the panel shows it ("3 March 2026").
    static QString DayText(int32_t day);

private:
    static inline bool s_running = false;
};
