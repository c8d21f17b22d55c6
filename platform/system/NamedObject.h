#pragma once
#include <QString>

// Stand-in for a named kernel object: a machine-wide name that at most one holder has.
// Built on flock() over "<lock folder>/<name>.lock"; the lock files are never unlinked,
// so the name is free exactly when no open file description holds the flock. A killed
// holder's descriptors close, which frees the name.
namespace plat {

enum class NamedObjectOutcome {
    Created,        // the name is now held through the returned handle
    AlreadyExists,  // another holder (this process too) has it; no handle is returned
    Failed          // the object could not be made at all (folder, permissions)
};

struct NamedObjectResult {
    NamedObjectOutcome outcome = NamedObjectOutcome::Failed;
    int handle = 0;       // > 0 when Created
    int error = 0;        // errno when Failed
    QString description;  // readable reason when Failed
};

// Folder of the lock files: /tmp/rostima-locks-<uid>, mode 0700, owned by the user.
QString LockFolder();
// Only tests call this: another lock folder (to simulate a broken one). Empty restores.
void SetLockFolderForTest(const QString& folder);

// One attempt, never blocking (waitMs 0), or a wait of up to waitMs for the name. The
// waiter is woken as soon as the name is let go; one that has not had it within 50 ms then
// waits in turn, before the name (in "<name>.queue" beside its lock file), so that a holder
// that lets the name go and asks again at once comes after it. AlreadyExists when it was
// not had. A wait ends at its limit by the signal SIGRTMIN + 4, sent to its thread only.
NamedObjectResult CreateNamedObject(const QString& name, int waitMs = 0);
// Frees the name. A handle of 0 or less is ignored.
void CloseNamedObject(int handle);

// Blocking exclusive lock on a name, for short read-modify-write steps (settings
// files). Returns a handle (> 0) or 0 when the lock file cannot be had.
int LockNamedObjectBlocking(const QString& name);

}  // namespace plat
