#include "UserSlots.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace plat {
namespace {

constexpr int kJoinWaitMs = 10000;  // a compaction in progress is waited for this long

int openSlotFile(const QString& dbPath, QString* why) {
    const QByteArray path = UserSlots::SlotFile(dbPath).toLocal8Bit();
    const int fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && why) *why = QString("cannot open %1: %2").arg(path, strerror(errno));
    return fd;
}

bool lockByte(int fd, int byte, short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// Whether another description holds a lock on the byte that conflicts with one of the
// given type (a write lock is kept off by any lock, a read lock only by a write lock).
bool byteLocked(int fd, int byte, short type = F_WRLCK) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    return fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
}

}  // namespace

bool UserSlots::Join(const QString& dbPath, QString* why) {
    Leave();
    const int fd = openSlotFile(dbPath, why);
    if (fd < 0) return false;
    // Wait while a compaction holds the gate: joining then would open the old file.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kJoinWaitMs);
    while (!lockByte(fd, 0, F_RDLCK)) {
        if (std::chrono::steady_clock::now() > until) {
            if (why) *why = "the database is being compacted";
            close(fd);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (int slot = 1; slot <= kSlots; ++slot) {
        if (lockByte(fd, slot, F_WRLCK)) {
            lockByte(fd, 0, F_UNLCK);
            m_fd = fd;
            return true;
        }
    }
    if (why) *why = "every user slot is taken";
    close(fd);
    return false;
}

void UserSlots::Leave() {
    if (m_fd >= 0) close(m_fd);  // closing the description drops its slot
    m_fd = -1;
}

int UserSlots::Count(const QString& dbPath, QString* why) {
    // A description of its own, so the slots of this process count as well.
    const int fd = openSlotFile(dbPath, why);
    if (fd < 0) return -1;
    int count = 0;
    for (int slot = 1; slot <= kSlots; ++slot)
        if (byteLocked(fd, slot)) ++count;
    close(fd);
    return count;
}

bool UserSlots::GateClosed(const QString& dbPath) {
    const QByteArray path = SlotFile(dbPath).toLocal8Bit();
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool closed = byteLocked(fd, 0, F_RDLCK);
    close(fd);
    return closed;
}

bool UserSlots::CloseGate(const QString& dbPath, QString* why) {
    OpenGate();
    const int fd = openSlotFile(dbPath, why);
    if (fd < 0) return false;
    if (!lockByte(fd, 0, F_WRLCK)) {
        if (why) *why = "another program is opening the database";
        close(fd);
        return false;
    }
    m_gateFd = fd;
    return true;
}

void UserSlots::OpenGate() {
    if (m_gateFd >= 0) close(m_gateFd);
    m_gateFd = -1;
}

}  // namespace plat
