#include "ModMain.h"

#include <QAbstractButton>
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

// Whether input is being taken off the queue before a message box (see TakenInput).
bool takingOff = false;

// Takes the user's input that is still queued off the queue, unrun: the events of mouse,
// wheel and keyboard (and the close box) that arrived while the program worked, typically
// while it waited for the database. Counts what would have started something (a press, a
// key, a turn of the wheel, a shortcut, the close box); a move or a release alone would
// not.
class TakenInput : public QObject {
public:
    TakenInput() {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) return;
        takingOff = true;
        app->installEventFilter(this);
        // A windowing system may hand its queue over in steps (X11 first turns its events
        // into Qt's own, then delivers those): run until a pass takes nothing more.
        for (int before = 0, pass = 0; pass < 8; ++pass) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (pass > 0 && m_taken == before) break;
            before = m_taken;
        }
        app->removeEventFilter(this);
        takingOff = false;
        // A press made before the wait whose release was taken: the button it holds down
        // would stay down, and one that repeats would go on clicking.
        if (m_releases > 0)
            for (QWidget* widget : QApplication::allWidgets())
                if (auto* button = qobject_cast<QAbstractButton*>(widget);
                    button && button->isDown())
                    button->setDown(false);
    }
    TakenInput(const TakenInput&) = delete;
    TakenInput& operator=(const TakenInput&) = delete;
    int Commands() const { return m_commands; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::Wheel:
            case QEvent::Shortcut:
                ++m_commands;
                break;
            case QEvent::Close:  // the close box; a window the program closes is let be
                if (!event->spontaneous()) return false;
                ++m_commands;
                break;
            case QEvent::MouseButtonRelease:
                ++m_releases;
                break;
            case QEvent::MouseMove:
            case QEvent::KeyRelease:
            case QEvent::ContextMenu:
                break;
            default:
                return false;
        }
        ++m_taken;
        return true;
    }

private:
    int m_taken = 0;     // events taken off
    int m_commands = 0;  // of them, those that would have started something
    int m_releases = 0;  // of them, mouse button releases
};

// Before a message box: its own loop would take what is still queued, drop a click on the
// windows it blocks and let a key answer it. Taken off instead, and said.
QString beforeMessageBox() {
    const TakenInput taken;
    return taken.Commands() > 0 ? QString(ModMain::kNotCarriedOut) : QString();
}

// The delivery of each input of the user's runs as a command of the user's; the input a
// message box takes (an OK) or takes off starts none, so the steps of the command it tells
// of go on in their spell.
bool aroundUserInput(QObject*, const plat::Application::Deliver& deliver) {
    if (takingOff || qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        return deliver();
    const ModMain::UserCommand command;
    return deliver();
}
}  // namespace

namespace ModMain {

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
int commands = 0;    // UserCommand scopes open

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

Unattended::Unattended() {
    ++unattended;
    EventYield::HoldInput(true);
}
Unattended::~Unattended() {
    EventYield::HoldInput(false);
    --unattended;
}
bool Unattended::Active() { return unattended > 0; }

Attended::Attended() : m_suspended(unattended) { unattended = 0; }
Attended::~Attended() { unattended = m_suspended; }

void ActivateLater(QObject& window, std::function<void()> activate) {
    QTimer::singleShot(0, &window, [activate = std::move(activate)] {
        const Attended user;
        activate();
    });
}

UserCommand::UserCommand() : m_told(SharedObjects::DAO().FailureTold()) {
    ++commands;
    SharedObjects::DAO().WaitAgain();
}
UserCommand::~UserCommand() {
    if (--commands > 0) SharedObjects::DAO().NoteFailureTold(m_told);
}

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
        QCoreApplication::processEvents();
        // The leading number of the eight characters after "Error"; none reads as 0.
        const QString date = name.mid(5, 8);
        qsizetype digits = 0;
        while (digits < date.size() && date[digits].isDigit()) ++digits;
        if (date.left(digits).toLongLong() < cutOff) QFile::remove(folder.filePath(name));
    }
}

}  // namespace ModMain
