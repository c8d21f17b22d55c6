#include "ModMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "AppInfo.h"
#include "ClsLogging.h"
#include "MsgBox.h"
#include "SharedObjects.h"

namespace {
// The program's own version record.
constexpr int kMajor = 1, kMinor = 5, kRevision = 0;
}  // namespace

namespace ModMain {

bool Confirm(const QString& message) {
    return plat::MsgBox(message, plat::vbYesNo | plat::vbQuestion | plat::vbDefaultButton2,
                        "Confirm") == plat::vbYes;
}

void Warning(const QString& message) {
    plat::MsgBox(message, plat::vbOKOnly | plat::vbExclamation, "Warning!");
}

void CriticalError(const QString& message) {
    plat::MsgBox(message, plat::vbOKOnly | plat::vbCritical, "Error!");
}

QString VersionNumber(int major, int minor, int revision) {
    return QString("%1.%2.%3")
        .arg(major)
        .arg(minor, 2, 10, QChar('0'))
        .arg(revision, 2, 10, QChar('0'));
}

QString VersionNumber() { return VersionNumber(kMajor, kMinor, kRevision); }

void RollErrorFiles(const QDateTime& now) {
    const qint64 cutOff = now.addDays(-7).toString("yyyyMMdd").toLongLong();
    const QDir folder(plat::AppPath());
    for (const QString& name : folder.entryList({"Error*.txt"}, QDir::Files)) {
        QCoreApplication::processEvents();
        // The leading number of the eight characters after "Error"; none reads as 0.
        const QString date = name.mid(5, 8);
        qsizetype digits = 0;
        while (digits < date.size() && date[digits].isDigit()) ++digits;
        if (date.left(digits).toLongLong() < cutOff) QFile::remove(folder.filePath(name));
    }
}

}  // namespace ModMain
