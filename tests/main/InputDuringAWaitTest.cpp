#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ComboBox.h"
#include "KeyedToolbar.h"
#include "QueuedInput.h"
#include "Nudgel.h"
#include "Plexaro.h"
#include "booking/DlgApptFixture.h"

namespace {
using InputDuringAWait = DlgApptTest;

QString notDone(const QString& heading, const QString& what) {
    return heading + "\r\n\r\nThe database is busy or cannot be read; nothing was " + what + ".";
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
        action->setShortcut(QKeySequence("Ctrl+D"));
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
        {"a click on the button", [](Desk& d) { QueuedInput::Click(*d.button); },
         "a= b= go=1 list=one do=0"},
        {"a click on the second box, then a key",
         [](Desk& d) {
             QueuedInput::Click(*d.b);
             QueuedInput::Key(d.window, Qt::Key_X, "x");
         },
         "a= b=x go=0 list=one do=0"},
        {"Tab to the list, then Down twice",
         [](Desk& d) {
             for (const Qt::Key key :
                  {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down})
                 QueuedInput::Key(d.window, key);
         },
         "a= b= go=0 list=three do=0"},
        {"the wheel turned over the list",
         [](Desk& d) { QueuedInput::Wheel(*d.list, -1); },
         "a= b= go=0 list=two do=0"},
        {"a shortcut",
         [](Desk& d) { QueuedInput::Key(d.window, Qt::Key_D, "", Qt::ControlModifier); },
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
        if (pointer.size() == 1) QueuedInput::Click(*search);
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
        if (!std::exchange(posted, true)) QueuedInput::Release(*forward);
    });
    {
        const HeldByAnother held(folder);
        dlg->SpinDate_Click(1);  // the step the arrow's repeat makes
    }
    ClsDAO::setWaitStepForTest(nullptr);
    EXPECT_EQ(messages, QStringList{"Warning!: " +
                                    notDone("Unable to show the date chosen!", "changed")});
    EXPECT_FALSE(forward->isDown());
    EXPECT_EQ(folder.logText().count("Error in DlgMain.ShowResources"), 1);  // one step tried
    QTest::qWait(800);  // the arrow's repeat would step a day every 100 ms
    EXPECT_EQ(dlg->CurrentDate(), kDay);
}

namespace {
QWidget& forwardArrow(plat::Nudgel& spin) { return *spin.findChild<QWidget*>("forward"); }

// Another program holds the database until the command under test has waited twice: the
// input that `during` queues at the wait's first step runs only after that command.
struct LetGoDuringTheWait {
    LetGoDuringTheWait(const TempProgramFolder& folder, std::function<void()> during)
        : held(std::in_place, folder, folder.file("Rostima.mdb")) {
        SharedObjects::DAO().setBusyWaitMs(2000);
        SharedObjects::DAO().WaitAgain();
        ClsDAO::setWaitStepForTest([this, during = std::move(during)] {
            if (++steps == 1) during();
            if (steps == 3) held.reset();
        });
    }
    ~LetGoDuringTheWait() {
        ClsDAO::setWaitStepForTest(nullptr);
        SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
    }
    std::optional<HeldDatabase> held;
    int steps = 0;
};
}  // namespace

// What the user clicks while a command works (waiting for the database, loading a chart)
// runs after it, on what the command left: the editor asked for during a day step or a
// group pick opens on the new day and group. One asked for during a template save is taken
// off by the message that the file is written, which says so: it never opens inside.
TEST_F(InputDuringAWait, WriteClickedWhileACommandWorksOpensTheEditorOnceTheCommandHasEnded) {
    sql({"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
         "values ('Annex', 480, 1020, 15)"});
    for (int r = 0; r < 40; ++r)
        sql({QString("insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, "
                     "InitTime) values (2, 'Room %1', 15, 540, 15)")
                 .arg(r, 2, 10, QChar('0'))});
    ASSERT_TRUE(dlg->ShowGroups(1));
    QString opened;  // the editor's day and first resource, and what was said before it
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        auto& editor = static_cast<DlgAppt&>(d);
        editor.show();
        QCoreApplication::processEvents();  // the first activation fills its lists
        opened = QString("%1 %2 after %3")
                     .arg(editor.CurrentDate() - kDay)
                     .arg(editor.CbResource->itemText(0))
                     .arg(messages.join(", "));
        return int(QDialog::Rejected);
    });
    const QString groupsFile = folder.file("Groups.ini");
    const struct {
        const char* what;
        std::function<void()> command;
        QString opened;
    } cases[] = {
        {"a day step waiting for the database",
         [&] {
             const LetGoDuringTheWait wait(folder, [&] { QueuedInput::Click(toolButton("Write")); });
             QTest::mouseClick(&forwardArrow(*dlg->SpinDate), Qt::LeftButton);
         },
         "1 Anna after "},
        {"a group pick loading its chart",
         [&] {
             QueuedInput::Click(toolButton("Write"));
             dlg->CbGroup->SetListIndex(0);  // Annex
         },
         "1 Room 00 after "},
        {"a template save waiting for the database",
         [&] {
             const LetGoDuringTheWait wait(folder, [&] { QueuedInput::Click(toolButton("Write")); });
             dlg->mnuResourceSaveTemplate_Click();
             EXPECT_TRUE(QFile(groupsFile).exists());
             EXPECT_EQ(messages, QStringList{QString("Saved!: Group saved!\r\n\r\n") +
                                             ModMain::kNotCarriedOut});
         },
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        opened.clear();
        messages.clear();
        c.command();
        EXPECT_EQ(opened, "");  // nothing ran inside it
        QueuedInput::RunAll();
        EXPECT_EQ(opened, c.opened);
    }
}

// The close box pressed during a backup never ends the program inside it: the backup is
// done, and the message that says so says that the close was not carried out.
TEST_F(InputDuringAWait, TheCloseBoxPressedDuringABackupWaitsForItAndTheMessageSaysSo) {
    QStringList rows;
    for (int b = 0; b < 300; ++b)
        rows << QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                        "CustomerId, ResourceId, RepeatId) values (1, %1, 540, 600, 1, 1, 0)")
                    .arg(kDay + b);
    sql(rows);
    messages.clear();
    QueuedInput::CloseBox(*dlg);
    dlg->mnuTransferBackup_Click();
    QueuedInput::RunAll();
    EXPECT_FALSE(dlg->Closing);
    EXPECT_EQ(folder.logText().count("Closing down"), 0);
    ASSERT_EQ(messages.size(), 1);
    const QString note = QString("\r\n\r\n") + ModMain::kNotCarriedOut;
    EXPECT_TRUE(messages[0].endsWith(note)) << messages[0].toStdString();
    const QString file = messages[0].section("Database backed up to ", 1).chopped(note.size());
    QFile backup(file);
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly)) << file.toStdString();
    EXPECT_EQ(backup.readAll().count("\nA~"), 300);
}

// In the editor the user steps the day under a lock, clicks the second reference and types
// while it waits: the click selects the box's text, as it does without a wait, and what was
// typed replaces it.
TEST_F(InputDuringAWait, TextTypedIntoABoxClickedDuringAWaitReplacesWhatItHeld) {
    open([&](DlgAppt& e) {
        e.TxtRef02->setText("abcdef");
        e.TxtRef01->setFocus();
        {
            const LetGoDuringTheWait wait(folder, [&] {
                QueuedInput::Click(*e.TxtRef02);
                QueuedInput::Type(e, "xyz");
            });
            QTest::mouseClick(&forwardArrow(*e.SpinDate), Qt::LeftButton);
        }
        EXPECT_EQ(e.TxtRef02->text(), "abcdef");
        QueuedInput::RunAll();
        EXPECT_EQ(e.TxtRef02->text(), "xyz");
        EXPECT_EQ(e.CurrentDate(), kDay + 1);
    });
}

// Before the message of a failed wait only the queued input is taken off: no timer runs in
// between, also not one that would read now that the other program has let go, so the
// message is true when it shows. The timer runs after it.
TEST_F(InputDuringAWait, NoTimerRunsBetweenAFailedWaitAndItsMessage) {
    std::optional<HeldByAnother> held(std::in_place, folder);
    QTimer stepper;  // due as the wait gives up: lets go and steps, as a repeating arrow would
    stepper.setSingleShot(true);
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        held.reset();
        dlg->SpinDate_Click(1);
    });
    ClsDAO::setWaitStepForTest([&] { stepper.start(0); });
    QStringList atTheBox;
    plat::SetMsgBoxHook([&](const QString& text, int, const QString&) {
        atTheBox << QString("%1 %2").arg(dlg->CurrentDate() - kDay).arg(text.section("\r\n", 0, 0));
        return int(plat::vbOK);
    });
    dlg->SpinDate_Click(1);
    ClsDAO::setWaitStepForTest(nullptr);
    EXPECT_EQ(atTheBox, QStringList{"0 Unable to show the date chosen!"});
    EXPECT_EQ(folder.logText().count("Error in DlgMain.ShowResources"), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->CurrentDate(), kDay + 1);
}

// Work under way lets the window repaint, and nothing else: a window's first activation and
// a timer due meanwhile (the tick, a read again) run once the work has ended.
TEST_F(InputDuringAWait, AFirstActivationAndADueTimerWaitForTheWorkUnderWay) {
    QStringList ran;
    QWidget window;
    ModMain::ActivateLater(window, [&] { ran << "activation"; });
    QTimer tick;
    tick.setSingleShot(true);
    QObject::connect(&tick, &QTimer::timeout, [&] { ran << "tick"; });
    tick.start(0);
    QTest::qSleep(5);
    EventYield::Run();
    EXPECT_TRUE(ran.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, QStringList({"activation", "tick"}));
}

// The key that answers a message box is no command of its own: the command the box told of
// goes on in its spell, so its next read under the same lock neither waits nor tells again.
TEST_F(InputDuringAWait, TheKeyThatAnswersAMessageBoxStartsNoCommandOfItsOwn) {
    Desk desk;
    const HeldByAnother held(folder);
    plat::SetMsgBoxHook(nullptr);
    QTimer answer;  // presses Return on each box once it is up, as the user would
    int boxes = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (box->property("answered").toBool()) return;
            box->setProperty("answered", true);
            ++boxes;
            QueuedInput::Key(*box, Qt::Key_Return);
        }
    });
    answer.start(20);
    qint64 secondRead = -1;
    QObject::connect(desk.button, &QPushButton::clicked, [&] {
        ClsDAO& dao = SharedObjects::DAO();
        if (!dao.SqlQuery("select count(*) from tblGroups"))
            ModMain::NotRead("Unable to count the groups!", "counted");
        QElapsedTimer clock;
        clock.start();
        if (!dao.SqlQuery("select count(*) from tblResources"))
            ModMain::NotRead("Unable to count the resources!", "counted");
        secondRead = clock.elapsed();
    });
    QTest::mouseClick(desk.button, Qt::LeftButton);
    EXPECT_EQ(boxes, 1);
    EXPECT_GE(secondRead, 0);
    EXPECT_LT(secondRead, 150);  // the wait is 300 ms
}
