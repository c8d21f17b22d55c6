#pragma once
#include <QString>
#include <cstdint>

// Named cross-process lock. Holding the lock means having created the named object; a
// second request for a held name fails after its wait, also from this same process
// (the lock is not re-entrant). Every caller uses a fresh object per operation.
class ClsMutex {
public:
    ClsMutex() = default;
    ~ClsMutex();
    ClsMutex(const ClsMutex&) = delete;
    ClsMutex& operator=(const ClsMutex&) = delete;

    // Waits up to WaitFor ms, in turn with the other waiters, and has the lock as soon as
    // its holder lets it go; WaitFor 0 tries once, below 0 makes no attempt. True when this
    // object now holds the lock.
    bool GetMutex(const QString& MutexName, bool DestroyWithClass, int32_t WaitFor);
    // Releases what this object holds; harmless on an object that holds nothing.
    void DeleteMutex();

    QString heldName() const { return m_name; }

private:
    QString m_name;      // held name, empty when none
    int m_handle = 0;    // platform handle, 0 when none
    bool m_destroyWithClass = false;
};
