#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

namespace plat {
namespace {

using Fault = WholeFile::Fault;

// What an errno of making, writing or renaming the copy means for the user.
Fault faultOf(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:  // a file-size limit leaves no room, as a full disk does
            return Fault::DiskFull;
        case EACCES:
        case EPERM:
        case EROFS:
            return Fault::FolderNotWritable;
        case ENOENT:
        case ENOTDIR:
            return Fault::NoFolder;
        case EISDIR:
            return Fault::NotAFile;
        default:
            return Fault::Failed;
    }
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

}  // namespace

WholeFile::Result::Result(QString file, Fault fault, QString detail)
    : m_file(std::move(file)), m_fault(fault), m_detail(std::move(detail)) {}

QString WholeFile::Result::Reason() const {
    switch (m_fault) {
        case Fault::None:
            return QString();
        case Fault::DiskFull:
            return "the disk is full";
        case Fault::FolderNotWritable:
            return "the folder cannot be written";
        case Fault::FileReadOnly:
            return "the file is read-only";
        case Fault::NotAFile:
            return "a folder of that name is in its place";
        case Fault::NoFolder:
            return "its folder does not exist";
        case Fault::Unreadable:
            return "the file cannot be read";
        case Fault::Failed:
            break;
    }
    return m_detail.isEmpty() ? QString("the system refused the write")
                              : "the system refused the write (" + m_detail + ")";
}

QString WholeFile::Result::Text() const {
    return Failed() ? m_file + " cannot be written: " + Reason() : QString();
}

QString WholeFile::Result::LogText() const {
    const bool own = m_detail.isEmpty() || m_fault == Fault::Failed;  // the reason names it
    return Text() + (own ? QString() : " (" + m_detail + ")");
}

WholeFile::WholeFile(const QString& path) : m_path(path), m_target(path) {}

WholeFile::~WholeFile() { discard(); }

void WholeFile::fail(Fault fault, int error) {
    if (m_result.Failed()) return;  // the first failure is the one to tell
    m_result =
        Result(m_path, fault, error ? QString::fromLocal8Bit(std::strerror(error)) : QString());
    discard();
}

void WholeFile::discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_copy.isEmpty()) ::unlink(native(m_copy).constData());
    m_copy.clear();
}

WholeFile::Result WholeFile::Open() {
    if (m_opened) return m_result;
    m_opened = true;
    // A link is followed, so that the file it points to changes, not the link.
    const QFileInfo info(m_path);
    if (info.isSymLink() && info.exists()) m_target = info.canonicalFilePath();
    struct stat old {};
    const bool exists = ::stat(native(m_target).constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        fail(Fault::NotAFile, 0);
        return m_result;
    }
    // Renaming over a read-only file would succeed where the folder may be written: the
    // file's own permission is asked first, as writing it in place would.
    if (exists && ::access(native(m_target).constData(), W_OK) != 0) {
        fail(errno == EROFS ? Fault::FolderNotWritable : Fault::FileReadOnly, errno);
        return m_result;
    }
    const QString folder = QFileInfo(m_target).absolutePath();
    const QString name = QFileInfo(m_target).fileName();
    // A hidden name of our own beside the file: the same file system, so the rename is
    // one step, and no listing of "*.txt" or "*.ini" takes it for a file of its own.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const QString copy = QString("%1/.%2.%3.new")
                                 .arg(folder, name)
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QChar('0'));
        m_fd = ::open(native(copy).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_copy = copy;
        } else if (errno != EEXIST) {
            fail(faultOf(errno), errno);
            return m_result;
        }
    }
    if (m_fd < 0) {
        fail(Fault::Failed, EEXIST);
        return m_result;
    }
    if (exists && ::fchmod(m_fd, old.st_mode & 07777) != 0) fail(Fault::Failed, errno);
    return m_result;
}

void WholeFile::Append(QByteArrayView bytes) {
    if (!m_opened) static_cast<void>(Open());
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    // Unbuffered, each piece checked: a short write is followed by another for the rest,
    // which then tells why the first stopped short.
    while (left > 0 && m_fd >= 0) {
        const ssize_t n = ::write(m_fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            fail(faultOf(error), error);
            return;
        }
        data += n;
        left -= n;
        m_written += n;
    }
}

WholeFile::Result WholeFile::Commit() {
    if (!m_opened) static_cast<void>(Open());
    if (m_fd < 0) return m_result;
    if (::fsync(m_fd) != 0) {
        fail(faultOf(errno), errno);
        return m_result;
    }
    // What the disk holds is what was handed over, or the file is not put in place.
    struct stat copy {};
    if (::fstat(m_fd, &copy) != 0 || copy.st_size != m_written) {
        fail(Fault::Failed, EIO);
        return m_result;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        fail(faultOf(errno), errno);
        return m_result;
    }
    if (::rename(native(m_copy).constData(), native(m_target).constData()) != 0) {
        fail(faultOf(errno), errno);
        return m_result;
    }
    m_copy.clear();
    // The rename itself reaches the disk with the folder; a folder that cannot be synced
    // (some file systems refuse) still holds the whole file.
    const int dir = ::open(native(QFileInfo(m_target).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        static_cast<void>(::fsync(dir));
        ::close(dir);
    }
    return m_result;
}

WholeFile::Result WholeFile::Write(const QString& path, QByteArrayView bytes) {
    WholeFile file(path);
    if (Result opened = file.Open(); opened.Failed()) return opened;
    file.Append(bytes);
    return file.Commit();
}

}  // namespace plat
