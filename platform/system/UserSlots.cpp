#include "UserSlots.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

namespace plat {
namespace {

constexpr int kJoinWaitMs = 10000;  // a compaction in progress is waited for this long

// The database file's owner, group and permission bits, or nothing when it cannot be
// looked at.
std::optional<struct stat> databaseStat(const QString& dbPath) {
    struct stat st {};
    if (stat(QFile::encodeName(dbPath).constData(), &st) != 0) return std::nullopt;
    return st;
}

// Opens the slot file of the database (created tells whether this call made it). A new one
// gets the database file's owner and group where this program may give them, and its
// permission bits whatever the umask, so everyone who may write the database may take a
// slot. One of ours whose bits differ (made under the umask by an earlier version) is set
// the same way.
int openSlotFile(const QString& dbPath, QString* why, bool* created = nullptr) {
    const QByteArray path = QFile::encodeName(UserSlots::SlotFile(dbPath));
    int fd = -1;
    bool made = false;
    // A file removed between the two opens (by a refused opener that made it) is made anew.
    for (int attempt = 0; fd < 0 && attempt < 3; ++attempt) {
        fd = open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        made = fd >= 0;
        if (!made && errno == EEXIST) fd = open(path.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0 && errno != ENOENT) break;
    }
    if (fd < 0) {
        if (why) *why = QString("cannot open %1: %2").arg(path, strerror(errno));
        return -1;
    }
    if (created) *created = made;
    const std::optional<struct stat> db = databaseStat(dbPath);
    struct stat st {};
    if (db && fstat(fd, &st) == 0 &&
        (made || (st.st_uid == geteuid() && (st.st_mode & 0777) != (db->st_mode & 0777)))) {
        // Each is refused unless allowed (the owner only to root, the group to its members);
        // the bits are set all the same.
        if (made) static_cast<void>(fchown(fd, db->st_uid, static_cast<gid_t>(-1)));
        if (st.st_gid != db->st_gid)
            static_cast<void>(fchown(fd, static_cast<uid_t>(-1), db->st_gid));
        fchmod(fd, db->st_mode & 0777);
    }
    return fd;
}

// Whether fd is still the file at the slot file's name (a refused opener may have removed
// the one it made).
bool stillNamed(int fd, const QString& dbPath) {
    struct stat held {}, named {};
    return fstat(fd, &held) == 0 &&
           stat(QFile::encodeName(UserSlots::SlotFile(dbPath)).constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
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
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kJoinWaitMs);
    for (;;) {
        bool created = false;
        const int fd = openSlotFile(dbPath, why, &created);
        if (fd < 0) return false;
        // Wait while a compaction holds the gate: joining then would open the old file.
        bool gated = false;
        while (!(gated = lockByte(fd, 0, F_RDLCK)) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!gated) {
            if (why) *why = "the database is being compacted";
            close(fd);
            return false;
        }
        // Removed meanwhile by a refused opener that had made it: join the new one.
        if (!stillNamed(fd, dbPath)) {
            close(fd);
            continue;
        }
        for (int slot = 1; slot <= kSlots; ++slot) {
            if (lockByte(fd, slot, F_WRLCK)) {
                lockByte(fd, 0, F_UNLCK);
                m_fd = fd;
                m_made = created;
                m_path = dbPath;
                return true;
            }
        }
        if (why) *why = "every user slot is taken";
        close(fd);
        return false;
    }
}

void UserSlots::Leave() {
    if (m_fd >= 0) close(m_fd);  // closing the description drops its slot
    m_fd = -1;
    m_made = false;
}

void UserSlots::Withdraw() {
    if (m_fd >= 0 && m_made) {
        // Under the gate nobody joins, and only while no other slot is held is nobody
        // using the file; a joiner that opened it before finds it gone and makes another.
        bool used = !lockByte(m_fd, 0, F_WRLCK);
        for (int slot = 1; slot <= kSlots && !used; ++slot) used = byteLocked(m_fd, slot);
        if (!used && stillNamed(m_fd, m_path))
            unlink(QFile::encodeName(SlotFile(m_path)).constData());
    }
    Leave();
}

int UserSlots::Count(const QString& dbPath, QString* why) {
    // A description of its own, so the slots of this process count as well. Without a slot
    // file nobody has the database open, and none is made for counting; a folder that is
    // not there is a failure still.
    const QByteArray path = QFile::encodeName(SlotFile(dbPath));
    const int fd = open(path.constData(), O_RDWR | O_CLOEXEC);
    const int error = errno;
    if (fd < 0 && error == ENOENT && QFileInfo(SlotFile(dbPath)).absoluteDir().exists())
        return 0;
    if (fd < 0) {
        if (why) *why = QString("cannot open %1: %2").arg(path, strerror(error));
        return -1;
    }
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
    for (;;) {
        const int fd = openSlotFile(dbPath, why);
        if (fd < 0) return false;
        if (!lockByte(fd, 0, F_WRLCK)) {
            if (why) *why = "another program is opening the database";
            close(fd);
            return false;
        }
        if (stillNamed(fd, dbPath)) {
            m_gateFd = fd;
            return true;
        }
        close(fd);  // removed meanwhile by a refused opener: the gate is on the new file
    }
}

void UserSlots::OpenGate() {
    if (m_gateFd >= 0) close(m_gateFd);
    m_gateFd = -1;
}

}  // namespace plat
