#include "ClsLogging.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDateTime>

#include "AppInfo.h"
#include "ClsMutex.h"

namespace {
constexpr int32_t kLogWaitMs = 5000;

QString fileFor(const QDate& day) {
    return plat::AppPath() + "/Error" + day.toString("yyyyMMdd") + ".txt";
}
}  // namespace

QString ClsLogging::TodaysFile() { return fileFor(QDate::currentDate()); }

void ClsLogging::LogMsg(const QString& Msg) {
    ClsMutex lock;
    if (!lock.GetMutex(plat::AppExeName() + "_Log.LogMsg", true, kLogWaitMs)) return;
    const QDateTime now = QDateTime::currentDateTime();
    const QString line = now.toString("HHmmss") + " " +
                         QString("%1").arg(static_cast<uint32_t>(m_hwnd), 8, 16, QChar('0'))
                             .toUpper() +
                         " " + Msg + "\n";
    const QByteArray bytes = line.toUtf8();
    const QByteArray path = fileFor(now.date()).toLocal8Bit();
    const int fd = open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    // One write of the whole line: appends of other programs land before or after it.
    ssize_t ignored = write(fd, bytes.constData(), bytes.size());
    (void)ignored;
    close(fd);
    lock.DeleteMutex();
}
