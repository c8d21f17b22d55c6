#include "AppInfo.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QVariant>
#include <climits>

namespace plat {
namespace {

// A component library loaded at run time carries its own copy of this layer. The test
// overrides are kept on the application object as well, which the host and its
// components share, so both see one program folder.
const char* kPathProperty = "rostimaAppPathForTest";
const char* kNameProperty = "rostimaAppExeNameForTest";

QString& pathFallback() {
    static QString s;
    return s;
}
QString& nameFallback() {
    static QString s;
    return s;
}

QString overrideOf(const char* property, const QString& fallback) {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        const QVariant v = app->property(property);
        if (v.isValid()) return v.toString();
    }
    return fallback;
}

void setOverride(const char* property, QString& fallback, const QString& value) {
    fallback = value;
    if (QCoreApplication* app = QCoreApplication::instance()) app->setProperty(property, value);
}

QString pathOverride() { return overrideOf(kPathProperty, pathFallback()); }
QString nameOverride() { return overrideOf(kNameProperty, nameFallback()); }

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

void SetAppPathForTest(const QString& folder) {
    setOverride(kPathProperty, pathFallback(), folder);
}
void SetAppExeNameForTest(const QString& name) { setOverride(kNameProperty, nameFallback(), name); }

QString WindowsDirectory() { return AppPath(); }

}  // namespace plat
