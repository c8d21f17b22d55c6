#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "Plexaro.h"
#include "booking/DlgApptFixture.h"

namespace {
using InputDuringAWait = DlgApptTest;

QString notDone(const QString& heading, const QString& what) {
    return heading + "\r\n\r\nThe database is busy or cannot be read; nothing was " + what + ".";
}

// Queues input for the window as the windowing system does while the program waits: it is
// delivered only once the program lets events run.
void post(QWidget& target, QEvent* event) {
    QCoreApplication::postEvent(target.window()->windowHandle(), event);
}
QPointF at(QWidget& target) { return target.mapTo(target.window(), target.rect().center()); }
void postMouse(QWidget& target, QEvent::Type type) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    post(target, new QMouseEvent(type, at(target), target.window()->mapToGlobal(at(target)),
                                 Qt::LeftButton, held, Qt::NoModifier));
}
void postClick(QWidget& target) {
    postMouse(target, QEvent::MouseButtonPress);
    postMouse(target, QEvent::MouseButtonRelease);
}
void postKey(QWidget& window, Qt::Key key, const QString& text = QString()) {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        post(window, new QKeyEvent(type, key, Qt::NoModifier, text));
}

// A window of plain controls the user works in while the program waits.
struct Desk {
    QWidget window;
    QLineEdit* a = new QLineEdit(&window);
    QLineEdit* b = new QLineEdit(&window);
    QPushButton* button = new QPushButton("Go", &window);
    QComboBox* list = new QComboBox(&window);
    QAction* action = new QAction("Do", &window);
    int clicked = 0, triggered = 0;
    Desk() {
        auto* row = new QHBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{a, b, button, list}) row->addWidget(w);
        list->addItems({"one", "two", "three"});
        window.addAction(action);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicked; });
        QObject::connect(action, &QAction::triggered, [this] { ++triggered; });
        window.show();
        a->setFocus();
        QCoreApplication::processEvents();
    }
    QString state() const {
        return QString("a=%1 b=%2 go=%3 list=%4 do=%5")
            .arg(a->text(), b->text())
            .arg(clicked)
            .arg(list->currentText())
            .arg(triggered);
    }
};
}  // namespace

// Whatever the user clicks, turns or types while the program waits for the database stays in
// Qt's queue. When the wait ends without a message it runs after it, in the order made (the
// key typed after a click on the second box lands there). When a message box comes first,
// after a failed or a successful wait, it is taken off unrun, every kind, and the box says
// so; a box with nothing to take off says nothing of it.
TEST_F(InputDuringAWait, RunsAfterAWaitThatEndsQuietlyAndIsTakenOffAndToldBeforeAMessage) {
    const QString untouched = "a= b= go=0 list=one do=0";
    const struct {
        const char* what;
        std::function<void(Desk&)> input;
        QString done;  // what the desk shows once it ran
    } kinds[] = {
        {"nothing", [](Desk&) {}, untouched},
        {"a click on the button", [](Desk& d) { postClick(*d.button); },
         "a= b= go=1 list=one do=0"},
        {"a click on the second box, then a key",
         [](Desk& d) {
             postClick(*d.b);
             postKey(d.window, Qt::Key_X, "x");
         },
         "a= b=x go=0 list=one do=0"},
        {"Tab to the list, then Down twice",
         [](Desk& d) {
             for (const Qt::Key key :
                  {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down})
                 postKey(d.window, key);
         },
         "a= b= go=0 list=three do=0"},
        {"the wheel turned over the list",
         [](Desk& d) {
             post(*d.list, new QWheelEvent(at(*d.list), d.window.mapToGlobal(at(*d.list)),
                                           QPoint(), QPoint(0, -120), Qt::NoButton,
                                           Qt::NoModifier, Qt::NoScrollPhase, false));
         },
         "a= b= go=0 list=two do=0"},
        {"a shortcut",
         [](Desk& d) {
             QCoreApplication::postEvent(d.action, new QShortcutEvent(QKeySequence("Ctrl+D"), 0));
         },
         "a= b= go=0 list=one do=1"},
    };
    enum Outcome { Quiet, Failed, SavedAndSaid };
    ClsDAO& dao = SharedObjects::DAO();
    dao.setBusyWaitMs(300);
    for (const Outcome outcome : {Quiet, Failed, SavedAndSaid}) {
        for (const auto& c : kinds) {
            SCOPED_TRACE(QString("%1, %2").arg(c.what).arg(outcome).toStdString());
            Desk desk;
            std::optional<HeldDatabase> held;
            held.emplace(folder, folder.file("Rostima.mdb"));
            int steps = 0;
            ClsDAO::setWaitStepForTest([&] {
                if (steps++ == 0) c.input(desk);
                // Let go halfway through the wait: the statement then reads.
                if (outcome != Failed && steps == 3) held.reset();
            });
            messages.clear();
            {
                const ModMain::UserCommand command;
                const bool read = dao.SqlQuery("select count(*) from tblGroups") != nullptr;
                if (!read) ModMain::NotRead("Unable to count the groups!", "counted");
                if (read && outcome == SavedAndSaid)
                    plat::MsgBox("Saved!", plat::vbOKOnly | plat::vbInformation, "Saved!");
            }
            ClsDAO::setWaitStepForTest(nullptr);
            EXPECT_EQ(desk.state(), untouched);  // nothing ran during the wait
            QCoreApplication::processEvents();
            const bool taken = outcome != Quiet && QString(c.what) != "nothing";
            EXPECT_EQ(desk.state(), taken ? untouched : c.done);
            const QString note = taken ? QString("\r\n\r\n") + ModMain::kNotCarriedOut : "";
            const QStringList told[] = {
                {},
                {"Warning!: " + notDone("Unable to count the groups!", "counted") + note},
                {"Saved!: Saved!" + note}};
            EXPECT_EQ(messages, told[outcome]);
        }
    }
    dao.setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

// The user steps the day under another program's lock and, during the wait, clicks Search.
// The pointer shows the wait while it lasts; the message that tells of it is a real box,
// whose own loop would have dropped the click: it was taken off before, the box says so,
// and the search window does not open afterwards.
TEST_F(InputDuringAWait, ASearchClickedWhileTheDayStepWaitsIsTakenOffAndTheMessageSaysSo) {
    QWidget* search = dlg->Toolbar1->widgetForAction(dlg->Toolbar1->actions().value(1));
    ASSERT_EQ(dlg->Toolbar1->actions().value(1)->text(), "Search");
    QStringList opened;
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        opened << d.metaObject()->className();
        return int(QDialog::Rejected);
    });
    plat::SetMsgBoxHook(nullptr);
    QStringList told;
    QTimer closer;  // closes each message box once it is up, as the user's OK does
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told << box->text();
            box->accept();
        }
    });
    closer.start(50);
    QStringList pointer;  // the pointer at each step of the wait
    ClsDAO::setWaitStepForTest([&] {
        const QCursor* cursor = QApplication::overrideCursor();
        pointer << (cursor && cursor->shape() == Qt::WaitCursor ? "wait" : "normal");
        if (pointer.size() == 1) postClick(*search);
    });
    {
        const HeldByAnother held(folder);
        dlg->SpinDate->press(plat::Nudgel::Arrow::Forward);
    }
    ClsDAO::setWaitStepForTest(nullptr);
    EXPECT_EQ(told, QStringList{notDone("Unable to show the date chosen!", "changed") +
                                "\r\n\r\n" + ModMain::kNotCarriedOut});
    EXPECT_EQ(dlg->CurrentDate(), kDay);
    ASSERT_FALSE(pointer.isEmpty());
    EXPECT_EQ(pointer.count("wait"), pointer.size());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(opened.isEmpty());
}

// Under a lock, each command the user starts waits for the database afresh and is told,
// whatever failed before it in the same spell and however it was started: a click, or a
// menu entry's shortcut, which no press precedes. The View menu keeps its tick on the time
// scale the chart still shows.
TEST_F(InputDuringAWait, EveryCommandTheUserStartsUnderALockIsToldOnceAfterItsOwnWait) {
    QAction* days = dlg->findChild<QActionGroup*>()->actions().value(1);
    ASSERT_EQ(days->text(), "&Days");
    const HeldByAnother held(folder);
    const struct {
        const char* what;
        std::function<void()> start;
        QString told;
    } cases[] = {
        {"the day's arrow clicked",
         [&] { QTest::mouseClick(dlg->SpinDate->findChild<QWidget*>("forward"), Qt::LeftButton); },
         notDone("Unable to show the date chosen!", "changed")},
        {"View, Days by its shortcut",
         [&] {
             QShortcutEvent shortcut(QKeySequence("Alt+D"), 0);
             QCoreApplication::sendEvent(days, &shortcut);
         },
         notDone("Unable to change the time scale!", "changed")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        QElapsedTimer clock;
        clock.start();
        c.start();
        EXPECT_GE(clock.elapsed(), 270);  // its own wait of 300 ms
        EXPECT_EQ(messages, QStringList{"Warning!: " + c.told});
    }
    EXPECT_EQ(dlg->CurrentDate(), kDay);
    EXPECT_EQ(dlg->Sched->timeScale(), 0);
    EXPECT_EQ(days->actionGroup()->checkedAction()->text(), "&Hours");
}

// The day's arrow, held down as the chart waited for the database and let go during the
// wait: the release is taken off with the rest, and the arrow is up after the message
// instead of stepping the days on its own until it is clicked again.
TEST_F(InputDuringAWait, AnArrowLetGoDuringTheWaitIsUpAfterTheMessageAndStepsNoMore) {
    auto* forward = dlg->SpinDate->findChild<QAbstractButton*>("forward");
    QTest::mousePress(forward, Qt::LeftButton);
    ASSERT_TRUE(forward->isDown());
    ClsDAO::setWaitStepForTest([&, posted = false]() mutable {
        if (!std::exchange(posted, true)) postMouse(*forward, QEvent::MouseButtonRelease);
    });
    {
        const HeldByAnother held(folder);
        dlg->SpinDate_Click(1);  // the step the arrow's repeat makes
    }
    ClsDAO::setWaitStepForTest(nullptr);
    EXPECT_EQ(messages, QStringList{"Warning!: " +
                                    notDone("Unable to show the date chosen!", "changed")});
    EXPECT_FALSE(forward->isDown());
    QTest::qWait(800);  // the arrow's repeat would step a day every 100 ms
    EXPECT_EQ(dlg->CurrentDate(), kDay);
}
