#pragma once
#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "ClsBooking.h"
#include "Saved.h"
#include "WholeFile.h"

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

// How the program tells its user of a database that fails: only for a command the user
// started (never from the refresh tick, the autoscroll or a delayed read, which run
// Unattended), and once for a command (see ClsDAO::Failing): each command the user starts
// runs as a UserCommand, from its beginning on.
//
// A write that was not stored, as a warning: the heading ("Unable to delete
// appointment!"), then, when the database was busy or refused it, "The database is busy
// or cannot be written; nothing was <what>."; any other refusal is the heading alone.
void NotWritten(const QString& heading, const QString& what);
// A booking the database did not store: the heading, then why (ClsBooking::RefusalText).
void NotSaved(const QString& heading, ClsBooking::Refusal why);
// A file a command writes that was not written whole (the file is as it was): the
// heading, then "<file> cannot be written: <reason>; nothing was <what>."
void NotStored(const QString& heading, const plat::WholeFile::Result& why, const QString& what);
// A command that writes a file from the database and did not: told as NotRead(heading,
// what) when the database could not be read, as NotStored when the file was not written.
void NotDone(const QString& heading, const Saved& saved, const QString& what);
// The program's settings file refused a write (the settings class logged it): told once a
// run, at the start or in a command the user started, never from a tick; the program goes
// on without storing its settings. Initialise hands it to the settings object.
void SettingsNotStored(const plat::WholeFile::Result& why);
// A view whose read failed and that is read again shortly (ReadAgain, the main window's
// chart): what is shown stays as it was read last, and is read again shortly. A command
// that was not done says so with the form below instead.
void NotRead();
extern const char* const kNotRead;
// A command that could not read what it works on: the heading, then "The database is busy
// or cannot be read; nothing was <what>."
void NotRead(const QString& heading, const QString& what);
// Every message box first takes the user's input still queued off the queue, unrun (its
// own loop would drop a click on the windows it blocks, and a key could answer it), and
// when that held a click or a key, ends with this paragraph.
extern const char* const kNotCarriedOut;

// While one lives, nothing is told: the work runs without the user (a tick, a timer).
class Unattended {
public:
    Unattended();
    ~Unattended();
    Unattended(const Unattended&) = delete;
    Unattended& operator=(const Unattended&) = delete;
    static bool Active();
};
// A window the user opened runs its first activation once it is up, from the event loop
// after the work under way has ended: what the activation cannot read is told.
void ActivateLater(QObject& window, std::function<void()> activate);

// A command of the user's, from where it begins: the delivery of each input that starts
// something runs inside one (see plat::Application), and what follows it (the release that
// completes a click) goes on in its spell. It waits for the database afresh, and its
// failure is told once, whatever failed before it.
class UserCommand {
public:
    UserCommand();
    UserCommand(const UserCommand&) = delete;
    UserCommand& operator=(const UserCommand&) = delete;
};

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
