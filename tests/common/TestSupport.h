#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A temporary program folder with its own executable name, so parallel test processes
// never share lock names, logs or settings. Children started from a test get the same.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const { return m_dir.path(); }
    QString exeName() const { return m_exeName; }
    QString file(const QString& name) const { return m_dir.path() + "/" + name; }
    // Text of today's log file ("" when there is none).
    QString logText() const;

private:
    QTemporaryDir m_dir;
    QString m_exeName;
};

// Code a test runs in a real second process: registered by name, started with
// ChildProcess. It reads commands on stdin and answers on stdout, a line each.
using ChildMain = std::function<int(const QStringList& args)>;
bool RegisterChild(const char* name, ChildMain fn);
#define ROSTIMA_CHILD(name)                                        \
    static int name##_child(const QStringList& args);              \
    static const bool name##_registered = RegisterChild(#name, name##_child); \
    static int name##_child([[maybe_unused]] const QStringList& args)

// Helpers for child code.
void ChildSay(const QString& line);  // one line to the parent, flushed
// In a child: from now on this process obeys the files' permission bits as their owner
// would, also when it runs as root (which may otherwise read and write anything). False
// when that could not be had.
bool ObeyFilePermissions();
QString ChildHear();                 // the next line from the parent ("" at end)

class ChildProcess {
public:
    // Runs the registered child in the given program folder under its executable name.
    ChildProcess(const TempProgramFolder& folder, const char* name, const QStringList& args = {});
    ~ChildProcess();
    // The next line the child said; "" when it ended or after timeoutMs.
    QString readLine(int timeoutMs = 20000);
    void say(const QString& line);
    // Waits for the end; returns the exit code (-1 when killed or timed out).
    int finish(int timeoutMs = 30000);
    void kill();
    qint64 pid() const { return m_proc.processId(); }

private:
    QProcess m_proc;
};

// Call from main(): runs a child when the process was started as one (returns true and
// sets exitCode), else returns false.
bool RunChildIfAsked(int argc, char** argv, int& exitCode);

// The workstation key the record classes ask for; tests set it (0 unless changed).
void SetTestSerNo(int32_t key);

// Whole files for tests: one written with exactly these bytes (its folder made first; a
// failure fails the test), and the bytes of one ("" when it cannot be read).
void WriteTestFile(const QString& path, const QByteArray& bytes);
QByteArray ReadTestFile(const QString& path);

// Another program holding the database file until release() or its end: locked against
// readers and writers, as "sqlite3 file" with "BEGIN EXCLUSIVE" does; in the middle of its
// own write ("BEGIN IMMEDIATE": others read, but cannot write); or in the middle of a read
// (others write, but cannot commit).
class HeldDatabase {
public:
    enum Kind { Exclusive, Writing, Reading };
    HeldDatabase(const TempProgramFolder& folder, const QString& dbPath, Kind kind = Exclusive);
    ~HeldDatabase() { release(); }
    bool held() const { return m_held; }
    void release();

private:
    ChildProcess m_child;
    bool m_held = false;
};

// Answers every message box with OK, keeping its text in told and, in whileTold, what
// shown() gives while it is up: what a window shows while the user is told.
void RecordWhileTold(QStringList& told, QStringList& whileTold,
                     const std::function<QString()>& shown);

// While one lives, no file of this process grows beyond bytes: a write past it fails as on
// a full disk (and raises no signal).
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long m_was;  // the limit before (RLIM_INFINITY: none)
};

class QListWidget;
// Clicks entry `row` of a shown list as the user does: on its tick box, or on its text.
void ClickListEntry(QListWidget& list, int row, bool onTickBox);
