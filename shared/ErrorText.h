#pragma once
#include <QString>

// The error lines every procedure writes to the daily log when it traps a failure, and
// the error numbers used for them (the numbers the programs have always logged).
namespace err {

enum Number : int {
    InvalidCall = 5,
    Overflow = 6,
    DivisionByZero = 11,
    TypeMismatch = 13,
    FileNotFound = 53,
    FileAlreadyOpen = 55,
    DeviceIo = 57,
    PermissionDenied = 70,
    PathFileAccess = 75,
    PathNotFound = 76,
    ObjectNotSet = 91,
    InvalidUseOfNull = 94,
    DbGeneric = 3000,   // the engine refused the statement
    DbNotOpen = 3420,   // no database open
    DbCorrupt = 3049,   // not a database or damaged
    DbLocked = 3260,    // busy beyond the timeout
    DbSyntax = 3075     // statement not accepted
};

// A write the database did not take, as the user reads it: what follows "nothing was"
// (saved, deleted, ...).
inline QString NotWritten(const QString& what) {
    return "The database is busy or cannot be written; nothing was " + what + ".";
}

// "<Class>.<procedure>: Error <n> on line <l> (<description>)": date, settings and
// record classes.
inline QString OnLine(const QString& where, int number, int line, const QString& desc) {
    return QString("%1: Error %2 on line %3 (%4)").arg(where).arg(number).arg(line).arg(desc);
}

// "<Class>.<procedure>: Error <n> at line <l> (<description>)": lock, system classes.
inline QString AtLine(const QString& where, int number, int line, const QString& desc) {
    return QString("%1: Error %2 at line %3 (%4)").arg(where).arg(number).arg(line).arg(desc);
}

// "Error <n> at line <l> in <Class>.<procedure> (<description>)": the database layer.
inline QString InProc(const QString& where, int number, int line, const QString& desc) {
    return QString("Error %1 at line %2 in %3 (%4)").arg(number).arg(line).arg(where).arg(desc);
}

// Logs a record class's error line, then "SqlStr = " and the statement when there is one.
void LogRecordError(const QString& where, int number, int line, const QString& desc,
                    const QString& sql = QString());

}  // namespace err
