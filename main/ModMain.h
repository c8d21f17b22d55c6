#pragma once
#include <QDateTime>
#include <QString>

class QObject;
#include <cstdint>
#include <functional>

#include "ClsBooking.h"

// The main program's shared procedures: start-up and shut-down of the program-wide
// objects, the three message boxes, the version text and the rolling of old logs.
namespace ModMain {

// Creates the program-wide objects, logs the start, names the settings file and opens
// the database; false when the program cannot run.
bool Initialise();
// Releases the program-wide objects in the reverse order, the log last.
void Terminate();

// Yes/No with No as the default; true for Yes.
bool Confirm(const QString& message);
void Warning(const QString& message);
void CriticalError(const QString& message);

// A write the database did not take, as a warning: the heading ("Unable to delete
// appointment!"), then "The database is busy or cannot be written; nothing was <what>."
void NotWritten(const QString& heading, const QString& what);
// A booking the database did not store: the heading, then why (ClsBooking::RefusalText).
void NotSaved(const QString& heading, ClsBooking::Refusal why);
// A read that failed, told once for a spell of failures: what is shown stays as it was
// read last, and the next refresh tick reads it again.
void NotRead();
extern const char* const kNotRead;
// The same from a dialog: while a modal dialog is open the main window's refresh tick is
// off, so readAgain runs once after the tick's usual period, while the dialog lives. A
// second failure before then waits for the same run.
void NotRead(QObject& dialog, const std::function<void()>& readAgain);
constexpr int kReadAgainMs = 5000;

// "1.05.00": major, minor and revision with at least two digits each after the first.
QString VersionNumber();
QString VersionNumber(int major, int minor, int revision);

// Deletes the daily logs of the program folder dated more than seven days before now.
void RollErrorFiles(const QDateTime& now = QDateTime::currentDateTime());

// Repairs the shared database after an edit: names the nameless rows, empties Null texts
// and deletes resources, customers and bookings whose parent row is gone, logging each
// missing parent. Shows nothing; yields to window events between rows.
void IntegrityCheck();

}  // namespace ModMain
