#include "NamedObject.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <cerrno>
#include <cstring>

namespace plat {
namespace {

QString& folderOverride() {
    static QString s;
    return s;
}

// Names become file names: anything but letters, digits, "_", "-" and "." is escaped,
// so a name cannot reach outside the lock folder. A name whose escaped form would pass
// the file system's limit on a file name (255 bytes) keeps a readable head and ends in a
// hash of the whole name; "~" never stands in an escaped name, so the two kinds of file
// name never meet.
QString fileNameFor(const QString& name) {
    constexpr qsizetype kMaxEscaped = 200;
    QString out;
    const QByteArray utf8 = name.toUtf8();
    for (unsigned char c : utf8) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '_' || c == '-' || (c == '.' && !out.isEmpty()))
            out += QChar(c);
        else
            out += QString("%%1").arg(c, 2, 16, QChar('0'));
    }
    if (out.size() > kMaxEscaped) {
        const QByteArray hash = QCryptographicHash::hash(utf8, QCryptographicHash::Sha256);
        out = out.left(100) + "~" + QString::fromLatin1(hash.toHex());
    }
    return out + ".lock";
}

// Makes sure the folder exists, is ours and is not open to others.
bool ensureFolder(const QString& folder, int& err, QString& why) {
    const QByteArray path = folder.toLocal8Bit();
    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        err = errno;
        why = QString("cannot create lock folder %1: %2").arg(folder, strerror(errno));
        return false;
    }
    struct stat st {};
    if (lstat(path.constData(), &st) != 0) {
        err = errno;
        why = QString("cannot read lock folder %1: %2").arg(folder, strerror(errno));
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
        err = EPERM;
        why = QString("lock folder %1 is not a folder of this user").arg(folder);
        return false;
    }
    return true;
}

int openLockFile(const QString& name, NamedObjectResult& r) {
    const QString folder = LockFolder();
    if (!ensureFolder(folder, r.error, r.description)) return -1;
    const QByteArray file = (folder + "/" + fileNameFor(name)).toLocal8Bit();
    int fd = open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        r.error = errno;
        r.description = QString("cannot open lock file for %1: %2").arg(name, strerror(errno));
    }
    return fd;
}

}  // namespace

QString LockFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QString("/tmp/rostima-locks-%1").arg(getuid());
}

void SetLockFolderForTest(const QString& folder) { folderOverride() = folder; }

NamedObjectResult CreateNamedObject(const QString& name) {
    NamedObjectResult r;
    int fd = openLockFile(name, r);
    if (fd < 0) return r;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        r.outcome = NamedObjectOutcome::Created;
        r.handle = fd + 1;  // 0 stays free to mean "no handle", also for fd 0
        return r;
    }
    const int e = errno;
    close(fd);
    if (e == EWOULDBLOCK) {
        r.outcome = NamedObjectOutcome::AlreadyExists;
    } else {
        r.error = e;
        r.description = QString("cannot lock %1: %2").arg(name, strerror(e));
    }
    return r;
}

void CloseNamedObject(int handle) {
    if (handle > 0) close(handle - 1);  // closing the description drops its flock
}

int LockNamedObjectBlocking(const QString& name) {
    NamedObjectResult r;
    int fd = openLockFile(name, r);
    if (fd < 0) return 0;
    while (flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(fd);
            return 0;
        }
    }
    return fd + 1;
}

}  // namespace plat
