#pragma once
#include <QString>
#include <cstdint>

// Appends lines to the day's log file "Error<yyyymmdd>.txt" in the program folder:
// "hhnnss HHHHHHHH text", the handle as 8 upper-case hex digits. Each line is one
// write() on a file opened for appending, so lines of several programs never tear.
// Logging never fails towards its caller: a line that cannot be written is lost.
class ClsLogging {
public:
    // Handle of the program's main window, written into every later line (0 until set).
    void setHwnd(int32_t NewVal) { m_hwnd = NewVal; }
    int32_t hwnd() const { return m_hwnd; }

    void LogMsg(const QString& Msg);

    // The file today's lines go to.
    static QString TodaysFile();

private:
    int32_t m_hwnd = 0;
};
