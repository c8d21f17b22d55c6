#include "NamedObject.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

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

// Opens (and makes) the file of the name with the given ending in the lock folder.
int openLockFile(const QString& name, const char* ending, NamedObjectResult& r) {
    const QString folder = LockFolder();
    if (!ensureFolder(folder, r.error, r.description)) return -1;
    QString file = folder + "/" + fileNameFor(name);
    file.replace(file.size() - 5, 5, ending);  // in place of ".lock"
    int fd = open(file.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        r.error = errno;
        r.description = QString("cannot open lock file for %1: %2").arg(name, strerror(errno));
    }
    return fd;
}

// The signal that ends a flock() wait at its time limit. Its handler does nothing; it is
// installed without SA_RESTART, so the interrupted flock() returns EINTR.
int wakeSignal() {
    static const int signo = [] {
        const int s = SIGRTMIN + 4;
        struct sigaction sa {};
        sa.sa_handler = [](int) {};
        sigemptyset(&sa.sa_mask);
        sigaction(s, &sa, nullptr);
        return s;
    }();
    return signo;
}

// While it lives, the calling thread gets the wake signal after firstMs and then every
// kRepeatMs: a signal that came just before flock() began blocking is followed by another.
class WakeTimer {
public:
    static constexpr int kRepeatMs = 10;
    explicit WakeTimer(qint64 firstMs) {
        sigset_t wake;
        sigemptyset(&wake);
        sigaddset(&wake, wakeSignal());
        pthread_sigmask(SIG_UNBLOCK, &wake, &m_mask);
        sigevent ev{};
        ev.sigev_notify = SIGEV_THREAD_ID;
        ev.sigev_signo = wakeSignal();
        ev._sigev_un._tid = gettid();
        m_made = timer_create(CLOCK_MONOTONIC, &ev, &m_timer) == 0;
        itimerspec when{};
        when.it_value = {static_cast<time_t>(firstMs / 1000), (firstMs % 1000) * 1000000};
        when.it_interval = {0, kRepeatMs * 1000000L};
        m_made = m_made && timer_settime(m_timer, 0, &when, nullptr) == 0;
    }
    ~WakeTimer() {
        if (m_timer) timer_delete(m_timer);
        pthread_sigmask(SIG_SETMASK, &m_mask, nullptr);
    }
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;
    bool made() const { return m_made; }

private:
    timer_t m_timer = nullptr;
    sigset_t m_mask;  // the thread's signal mask before
    bool m_made = false;
};

// Takes the flock on fd by the deadline: 0 when held, EWOULDBLOCK when not had by then,
// another errno when it cannot be taken at all. The wait blocks in the kernel, which wakes
// it as soon as the holder lets go, rather than looking again now and then: a look would
// mostly come while some other program holds the lock, and lose again and again.
int lockBy(int fd, const QDeadlineTimer& deadline) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
    if (errno != EWOULDBLOCK) return errno;
    if (deadline.hasExpired()) return EWOULDBLOCK;
    const WakeTimer wake(std::max<qint64>(deadline.remainingTime(), 1));
    while (true) {
        if (wake.made() ? flock(fd, LOCK_EX) == 0 : flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
        if (errno != EINTR && errno != EWOULDBLOCK) return errno;
        if (deadline.hasExpired()) return EWOULDBLOCK;
        // Without a timer (none left to the process): short looks until the deadline.
        if (!wake.made()) usleep(1000);
    }
}

}  // namespace

QString LockFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QString("/tmp/rostima-locks-%1").arg(getuid());
}

void SetLockFolderForTest(const QString& folder) { folderOverride() = folder; }

NamedObjectResult CreateNamedObject(const QString& name, int waitMs) {
    // A waiter that has not had the name within this long waits in turn from then on.
    constexpr int kPatienceMs = 50;
    NamedObjectResult r;
    const QDeadlineTimer deadline(std::max(waitMs, 0));
    const QDeadlineTimer patience(std::min(std::max(waitMs, 0), kPatienceMs));
    const int queue = openLockFile(name, ".queue", r);
    const int fd = queue < 0 ? -1 : openLockFile(name, ".lock", r);
    int e = fd < 0 ? -1 : 0;
    while (e == 0) {
        // The queue before the name: a waiter whose patience is over holds it while it
        // waits, so that nobody else comes first, also not a holder that has just let the
        // name go and asks again. Everyone else only passes it, and so comes after such
        // a one. Until then the name goes to whoever asks first once it is let go, which
        // spares the programs a hand-over for each statement.
        e = lockBy(queue, deadline);
        if (e != 0) break;
        const bool inTurn = patience.hasExpired();
        if (!inTurn) flock(queue, LOCK_UN);
        e = lockBy(fd, inTurn ? deadline : patience);
        if (inTurn || e != EWOULDBLOCK || deadline.hasExpired()) break;
        e = 0;  // patience over: in turn now
    }
    if (queue >= 0) close(queue);
    if (e == 0) {
        r.outcome = NamedObjectOutcome::Created;
        r.handle = fd + 1;  // 0 stays free to mean "no handle", also for fd 0
        return r;
    }
    if (fd >= 0) close(fd);
    if (e == EWOULDBLOCK) {
        r.outcome = NamedObjectOutcome::AlreadyExists;
    } else if (e > 0) {
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
    int fd = openLockFile(name, ".lock", r);
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
