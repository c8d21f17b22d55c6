#include "ModMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>
#include <memory>
#include <vector>

#include "AppInfo.h"
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

// A click or a key outside a message box starts another command of the user's, which
// may wait for the database once again; the steps of one command after its first
// failure do not (see ClsDAO::Failing).
class CommandWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type t = event->type();
        if ((t == QEvent::MouseButtonPress || t == QEvent::KeyPress) &&
            !qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            SharedObjects::DAO().WaitAgain();
        return QObject::eventFilter(watched, event);
    }
};

CommandWatch* commandWatch() {
    static CommandWatch* watch = new CommandWatch;
    return watch;
}

// The user's clicks and keys that arrived while a command waited for the database. Were
// they left queued, the message box that tells the failure would take them to windows it
// blocks, and Qt would drop them: the user clicked and nothing happened. Instead they are
// taken off the queue before the box shows, unrun, and given back after it closed to the
// widget they were meant for, so each clicked command runs after the current one. A click
// on a button is given back as its click: a replayed press no longer matches the pointer's
// state as the windowing system left it, which a button may then ignore.
class HeldInput : public QObject {
public:
    HeldInput() {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) return;
        app->installEventFilter(this);
        // A windowing system may hand its queue over in steps (X11 first turns its events
        // into Qt's own, then delivers those): run until a pass takes nothing more.
        for (size_t before = 0, pass = 0; pass < 8; ++pass) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (pass > 0 && m_held.size() == before) break;
            before = m_held.size();
        }
        app->removeEventFilter(this);
    }
    ~HeldInput() override {
        for (Held& held : m_held) {
            QWidget* target = held.target;
            if (!target || !target->isVisible() || !target->isEnabled()) continue;
            if (auto* button = qobject_cast<QAbstractButton*>(target)) {
                if (held.event->type() == QEvent::MouseButtonRelease && held.pressedHere)
                    QMetaObject::invokeMethod(button, &QAbstractButton::click,
                                              Qt::QueuedConnection);
                continue;
            }
            QCoreApplication::postEvent(target, held.event.release());
        }
    }
    HeldInput(const HeldInput&) = delete;
    HeldInput& operator=(const HeldInput&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                if (qobject_cast<QWindow*>(watched)) holdMouse(*static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                if (qobject_cast<QWindow*>(watched)) holdKey(*static_cast<QKeyEvent*>(event));
                return true;
            default:
                return false;
        }
    }

private:
    struct Held {
        QPointer<QWidget> target;
        std::unique_ptr<QEvent> event;
        bool pressedHere = false;  // a release whose press was on the same widget
    };
    // Taken where it first arrives (the window); the widget under the pointer gets it.
    void holdMouse(const QMouseEvent& e) {
        QWidget* target = QApplication::widgetAt(e.globalPosition().toPoint());
        if (!target) return;
        const QPointF local = target->mapFromGlobal(e.globalPosition());
        const bool pressedHere = e.type() == QEvent::MouseButtonRelease && m_pressed == target;
        if (e.type() != QEvent::MouseButtonRelease) m_pressed = target;
        m_held.push_back({target,
                          std::make_unique<QMouseEvent>(e.type(), local, local, e.globalPosition(),
                                                        e.button(), e.buttons(), e.modifiers()),
                          pressedHere});
    }
    void holdKey(const QKeyEvent& e) {
        QWidget* target = QApplication::focusWidget();
        if (!target) return;
        m_held.push_back({target,
                          std::make_unique<QKeyEvent>(e.type(), e.key(), e.modifiers(), e.text(),
                                                      e.isAutoRepeat(), e.count()),
                          false});
    }
    std::vector<Held> m_held;
    QPointer<QWidget> m_pressed;  // the widget of the last press held
};
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
    const QString fallback = plat::AppPath() + "/Rostima.mdb";
    const QString configured = ini.GetValue("Config", "DbName", "");
    SharedObjects::DAO().setAggressiveDebug(ini.GetValue("Options", "AggressiveDebug", "0") != "0");
    // A configured database that is missing (a share not mounted) is not forgotten: this
    // session works on the program folder's, and the next start tries the configured one.
    const bool missing = !configured.isEmpty() && !QFile::exists(configured);
    const QString path = configured.isEmpty() || missing ? fallback : configured;
    if (!missing) ini.WriteValue("Config", "DbName", path);
    if (SharedObjects::DAO().DbOpen(path) != 0) {
        Warning("Unable to open database!\n" + path);
        return false;
    }
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(commandWatch());
    if (missing)
        Warning("The database " + configured + " was not found. This session uses " + path +
                " instead; the setting is kept, so the next start tries " + configured + " again.");
    return true;
}

void Terminate() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(commandWatch());
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

// Tells a failure of a command; what the user clicked or typed meanwhile runs after it.
void tellFailed(const QString& text) {
    const HeldInput held;
    Warning(text);
}

// A command's failure: the heading alone when the database did not fail (a reason of its
// own, which the log names), else the heading and why. A write is always told; a read
// once for the spell.
void tellCommand(const QString& heading, const QString& why, bool always) {
    if (unattended > 0) return;
    ClsDAO& dao = SharedObjects::DAO();
    if (!dao.Failing()) {
        tellFailed(heading);
    } else if (always || !dao.FailureTold()) {
        dao.NoteFailureTold();  // the user's next read of the spell says nothing
        tellFailed(heading + "\r\n\r\n" + why);
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
    if (tellFailure()) tellFailed(kNotRead);
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
