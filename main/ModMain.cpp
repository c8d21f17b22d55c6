#include "ModMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <optional>

#include "AppInfo.h"
#include "Application.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ClsResource.h"
#include "ClsSystem.h"
#include "ClsTask.h"
#include "ErrorText.h"
#include "EventYield.h"
#include "MsgBox.h"
#include "SharedObjects.h"

namespace {
// The program's own version record.
constexpr int kMajor = 1, kMinor = 5, kRevision = 0;

// Before a message box: its own loop would run what is still queued, drop a click on the
// windows it blocks and let a key answer it. Taken off instead, and said.
QString beforeMessageBox() {
    return plat::Application::TakeOffQueuedInput() > 0 ? QString(ModMain::kNotCarriedOut)
                                                       : QString();
}

// The delivery of each input of the user's runs as a command of the user's; the answer to
// a message box (its OK) is none, so the steps of the command the box tells of go on in
// their spell.
bool aroundUserInput(const plat::Application::Deliver& deliver) {
    if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) return deliver();
    const ModMain::UserCommand command;
    return deliver();
}
}  // namespace

namespace ModMain {

namespace {
bool settingsTold = false;  // this run told that its settings cannot be stored
}  // namespace

bool Initialise() {
    // The program-wide objects, in this order; the release runs the other way round.
    SharedObjects::Log();
    SharedObjects::DAO();
    SharedObjects::Forms();
    SharedObjects::Ini();
    SharedObjects::Date();
    SharedObjects::Group();
    SharedObjects::Resource();
    SharedObjects::Task();
    SharedObjects::Customer();
    SharedObjects::Booking();
    ClsLogging& log = SharedObjects::Log();
    RollErrorFiles();
    log.LogMsg(plat::AppExeName() + " starting (Version: " + VersionNumber() + ")");
    {
        ClsSystem sys;
        log.LogMsg("Windows version " + sys.WindowsVersion() + " build " + sys.BuildNumber() +
                   " (service pack " + sys.ServicePack() + ")");
        log.LogMsg(QString("MemPhyTot=%1 MemPhyAvl=%2 MemPagTot=%3 MemPagAvl=%4 MemVtlTot=%5 "
                           "MemVtlAvl=%6 MemUsed=%7")
                       .arg(sys.MemoryStatus(1))
                       .arg(sys.MemoryStatus(2))
                       .arg(sys.MemoryStatus(3))
                       .arg(sys.MemoryStatus(4))
                       .arg(sys.MemoryStatus(5))
                       .arg(sys.MemoryStatus(6))
                       .arg(sys.MemoryStatus(0)));
    }
    ClsIni& ini = SharedObjects::Ini();
    ini.setIniFile(plat::AppExeName() + ".ini");
    // Read as defaults, such a file would send this workstation to another database without
    // its options, and the first write would be refused: the program does not start.
    if (const std::optional<QString> unread = ini.ReadFailure()) {
        Warning(*unread + "\nThe program ends without opening a database.");
        return false;
    }
    settingsTold = false;
    ini.setOnFailure(SettingsNotStored);
    const QString fallback = plat::AppPath() + "/Rostima.mdb";
    const QString configured = ini.GetValue("Config", "DbName", "");
    SharedObjects::DAO().setAggressiveDebug(ini.GetValue("Options", "AggressiveDebug", "0") != "0");
    // A configured database that is missing (a share not mounted) is not forgotten: this
    // session works on the program folder's, and the next start tries the configured one.
    const bool missing = !configured.isEmpty() && !QFile::exists(configured);
    const QString path = configured.isEmpty() || missing ? fallback : configured;
    if (!missing) ini.WriteValue("Config", "DbName", path);
    if (SharedObjects::DAO().DbOpen(path) != 0) {
        Warning("Unable to open database!\n" + path + "\n\n" + SharedObjects::DAO().OpenFailure());
        return false;
    }
    plat::SetBeforeShow(beforeMessageBox);
    plat::Application::SetAroundInput(aroundUserInput);
    if (missing)
        Warning("The database " + configured + " was not found. This session uses " + path +
                " instead; the setting is kept, so the next start tries " + configured + " again.");
    return true;
}

void Terminate() {
    plat::Application::SetAroundInput(nullptr);
    plat::SetBeforeShow(nullptr);
    SharedObjects::ReleaseExceptLog();
    SharedObjects::Log().LogMsg("Closing down");
    SharedObjects::Release();
}

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

const char* const kNotCarriedOut = "What you clicked or typed while it waited was not carried out.";

const char* const kNotRead =
    "The database is busy or cannot be read: what is shown is as it was read last, and it "
    "is read again shortly.";

namespace {
int unattended = 0;  // Unattended scopes open

// Whether a failure of the database is to be told now; the caller tells it.
bool tellFailure() {
    ClsDAO& dao = SharedObjects::DAO();
    if (unattended > 0 || dao.FailureTold()) return false;
    dao.NoteFailureTold();
    return true;
}

// A command's failure: the heading alone when the database did not fail (a reason of its
// own, which the log names), else the heading and why. A write is always told; a read
// once for the spell.
void tellCommand(const QString& heading, const QString& why, bool always) {
    if (unattended > 0) return;
    ClsDAO& dao = SharedObjects::DAO();
    if (!dao.Failing()) {
        Warning(heading);
    } else if (always || !dao.FailureTold()) {
        dao.NoteFailureTold();  // the user's next read of the spell says nothing
        Warning(heading + "\r\n\r\n" + why);
    }
}
}  // namespace

Unattended::Unattended() { ++unattended; }
Unattended::~Unattended() { --unattended; }
bool Unattended::Active() { return unattended > 0; }

void ActivateLater(QObject& window, std::function<void()> activate) {
    // A timer of its own, not a queued call: timers never run inside work under way (see
    // EventYield), so the activation runs once that work has ended.
    auto* timer = new QTimer(&window);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, activate = std::move(activate)] {
        timer->deleteLater();
        activate();
    });
    timer->start(0);
}

UserCommand::UserCommand() { SharedObjects::DAO().WaitAgain(); }

void NotWritten(const QString& heading, const QString& what) {
    tellCommand(heading, err::NotWritten(what), true);
}

void NotSaved(const QString& heading, ClsBooking::Refusal why) {
    if (why == ClsBooking::Refusal::Failed) {
        NotWritten(heading, "saved");
        return;
    }
    if (unattended == 0) Warning(heading + "\r\n\r\n" + ClsBooking::RefusalText(why));
}

void NotStored(const QString& heading, const plat::WholeFile::Result& why, const QString& what) {
    if (unattended == 0) Warning(heading + "\r\n\r\n" + why.Text() + "; nothing was " + what + ".");
}

void NotDone(const QString& heading, const Saved& saved, const QString& what) {
    if (saved == Saved::NotWritten)
        NotStored(heading, saved.File(), what);
    else if (saved == Saved::NotRead)
        NotRead(heading, what);
}

void SettingsNotStored(const plat::WholeFile::Result& why) {
    if (settingsTold || unattended > 0) return;
    settingsTold = true;  // before the box: what runs while it is up is told no more
    Warning("The settings cannot be stored: " + why.Text() +
            ".\r\n\r\nThe program goes on without storing them.");
}

void NotRead() {
    if (tellFailure()) Warning(kNotRead);
}

void NotRead(const QString& heading, const QString& what) {
    tellCommand(heading, "The database is busy or cannot be read; nothing was " + what + ".",
                false);
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
        EventYield::Run();
        // The leading number of the eight characters after "Error"; none reads as 0.
        const QString date = name.mid(5, 8);
        qsizetype digits = 0;
        while (digits < date.size() && date[digits].isDigit()) ++digits;
        if (date.left(digits).toLongLong() < cutOff) QFile::remove(folder.filePath(name));
    }
}

}  // namespace ModMain
