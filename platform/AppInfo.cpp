#include "AppInfo.h"

#include <unistd.h>

#include <QFileInfo>
#include <climits>

namespace plat {
namespace {

QString& pathOverride() {
    static QString s;
    return s;
}
QString& nameOverride() {
    static QString s;
    return s;
}

QString executablePath() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return QString();
    return QString::fromLocal8Bit(buf, n);
}

}  // namespace

QString AppPath() {
    if (!pathOverride().isEmpty()) return pathOverride();
    return QFileInfo(executablePath()).absolutePath();
}

QString AppExeName() {
    if (!nameOverride().isEmpty()) return nameOverride();
    return QFileInfo(executablePath()).completeBaseName();
}

void SetAppPathForTest(const QString& folder) { pathOverride() = folder; }
void SetAppExeNameForTest(const QString& name) { nameOverride() = name; }

QString WindowsDirectory() { return AppPath(); }

}  // namespace plat
