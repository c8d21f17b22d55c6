#include <gtest/gtest.h>

#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <vector>

#include "FormsTimer.h"
#include "Glidex.h"
#include "Hintel.h"
#include "KeyedStatusBar.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "../chart/PlexaroFixture.h"

using plat::FormsTimer;

namespace {

// Runs the event loop for ms milliseconds, or until `done` says so.
void runFor(
    int ms, const std::function<bool()>& done = [] { return false; }) {
    QEventLoop loop;
    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, &loop, &QEventLoop::quit);
    stop.start(ms);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(1);
    loop.exec();
}

void moveMouse(QWidget* target, const QPoint& p) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(target->mapToGlobal(p)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

}  // namespace

TEST(FormsTimer, StartsEnabledWithoutTicksAndRefusesIntervalsAbove65535) {
    FormsTimer t;
    int ticks = 0;
    QObject::connect(&t, &FormsTimer::Timer, [&] { ++ticks; });
    EXPECT_TRUE(t.enabled());
    EXPECT_EQ(t.interval(), 0);
    EXPECT_FALSE(t.isTicking());
    runFor(30);
    EXPECT_EQ(ticks, 0);

    ASSERT_TRUE(t.setInterval(5000));
    for (int refused : {65536, 100000, -1}) {
        EXPECT_FALSE(t.setInterval(refused)) << refused;
        EXPECT_EQ(t.interval(), 5000);
    }
    EXPECT_TRUE(t.setInterval(65535));
    EXPECT_TRUE(t.isTicking());
    EXPECT_TRUE(t.setInterval(0));  // stops the ticks, stays enabled
    EXPECT_FALSE(t.isTicking());
    EXPECT_TRUE(t.enabled());
}

TEST(FormsTimer, TicksOnlyWhileEnabledAndSwitchingOnStartsAFreshPeriod) {
    FormsTimer t;
    int ticks = 0;
    QObject::connect(&t, &FormsTimer::Timer, [&] { ++ticks; });
    t.setInterval(10);
    runFor(2000, [&] { return ticks >= 3; });
    EXPECT_GE(ticks, 3);
    t.setEnabled(false);
    EXPECT_FALSE(t.enabled());
    ticks = 0;
    runFor(40);
    EXPECT_EQ(ticks, 0);

    t.setInterval(1000);
    t.setEnabled(true);
    runFor(300);
    const int partWay = t.remainingTime();
    EXPECT_LT(partWay, 800);
    t.setEnabled(true);  // already on: the period runs on
    EXPECT_LE(t.remainingTime(), partWay);
    // Qt's timers may end up to 5 % early; a period that ran on would have <= 700 left.
    t.setEnabled(false);
    t.setEnabled(true);
    EXPECT_GT(t.remainingTime(), 850);
    runFor(300);
    t.setInterval(2000);  // a new period restarts too
    EXPECT_GT(t.remainingTime(), 1700);
}

TEST(Glidex, RaisesChangeForEachNewValueWithinItsRange) {
    plat::Glidex bar;
    std::vector<int> changes;
    QObject::connect(&bar, &plat::Glidex::Change, [&](int v) { changes.push_back(v); });
    bar.setRange(12, 240);
    bar.setPosition(100);
    bar.setPosition(100);
    bar.setPosition(35);
    bar.setPosition(1000);
    EXPECT_EQ(changes, (std::vector<int>{100, 35, 240}));
    EXPECT_EQ(bar.position(), 240);
}

TEST(Nudgel, EachInstanceSaysWhichArrowSendsZero) {
    struct Case {
        plat::Nudgel::Arrow zero;
        int16_t forward;
        int16_t back;
    } cases[] = {{plat::Nudgel::Arrow::Forward, 0, 1}, {plat::Nudgel::Arrow::Back, 1, 0}};
    for (const Case& c : cases) {
        plat::Nudgel spin(Qt::Horizontal);
        spin.setZeroArrow(c.zero);
        std::vector<int16_t> clicks;
        QObject::connect(&spin, &plat::Nudgel::Click, [&](int16_t d) { clicks.push_back(d); });
        spin.press(plat::Nudgel::Arrow::Forward);
        spin.press(plat::Nudgel::Arrow::Back);
        EXPECT_EQ(clicks, (std::vector<int16_t>{c.forward, c.back}));
        spin.setEnabled(false);
        spin.press(plat::Nudgel::Arrow::Forward);
        EXPECT_EQ(clicks.size(), 2u);
    }
}

TEST(KeyedToolbar, ButtonsAreFoundByKeyWithTagTipAndSwitches) {
    plat::KeyedToolbar bar;
    struct Button {
        const char* key;
        const char* tip;
    } buttons[] = {
        {"Exit", "Exit Application"},        {"Binocular", "Search For Appointment"},
        {"Write", "Make Appointment"},       {"Calendar", "Calendar"},
        {"Config", "Configuration"},         {"Group", "Group Definition"},
        {"Resource", "Resource Definition"}, {"Print", "Print Schedule"},
        {"Screen", "Schedule resolution"},   {"Help", "Online Help"},
    };
    for (const Button& b : buttons) ASSERT_TRUE(bar.addButton(b.key, b.key, b.tip));
    EXPECT_FALSE(bar.addButton("EXIT", "again", ""));  // keys ignore case
    EXPECT_EQ(bar.buttonKeys().size(), 10);
    for (const Button& b : buttons) {
        EXPECT_EQ(bar.tag(b.key), b.key);
        EXPECT_EQ(bar.tip(b.key), b.tip);
    }
    EXPECT_EQ(bar.tag("print"), "Print");
    EXPECT_EQ(bar.tag("Nothing"), "");
    bar.setButtonVisible("Nothing", false);  // no such button: nothing happens

    std::vector<QString> clicked;
    QObject::connect(&bar, &plat::KeyedToolbar::ButtonClick,
                     [&](const QString& key) { clicked.push_back(key); });
    for (const char* key : {"Config", "Group", "Resource"}) bar.setButtonVisible(key, false);
    EXPECT_FALSE(bar.isButtonVisible("Group"));
    EXPECT_TRUE(bar.isButtonVisible("Screen"));
    bar.press("Config");  // hidden
    bar.setButtonsEnabled(false);
    EXPECT_FALSE(bar.isButtonEnabled("Help"));
    bar.press("Help");  // disabled
    bar.setButtonsEnabled(true);
    bar.press("Help");
    // A real click on the button.
    for (QToolButton* b : bar.findChildren<QToolButton*>())
        if (b->defaultAction() && b->defaultAction()->text() == "Exit") b->click();
    EXPECT_EQ(clicked, (std::vector<QString>{"Help", "Exit"}));
}

TEST(KeyedToolbar, DropDownEntriesRaiseButtonMenuClickWithTheirOwnKeys) {
    plat::KeyedToolbar bar;
    bar.addButton("Screen", "Screen", "Schedule resolution");
    struct Entry {
        const char* text;
        const char* key;
    } entries[] = {{"Hourly", "Hours"}, {"Daily", "Days"}, {"Weekly", "Weeks"}};
    for (const Entry& e : entries) ASSERT_TRUE(bar.addMenuEntry("Screen", e.key, e.key, e.text));
    EXPECT_FALSE(bar.addMenuEntry("Nothing", "Hours", "Hours", "Hourly"));
    EXPECT_FALSE(bar.addMenuEntry("Screen", "days", "x", "again"));
    EXPECT_EQ(bar.menuKeys("Screen"), (QStringList{"Hours", "Days", "Weeks"}));
    EXPECT_EQ(bar.menuTag("Screen", "Weeks"), "Weeks");
    EXPECT_EQ(bar.menuText("Screen", "Days"), "Daily");

    std::vector<std::pair<QString, QString>> chosen;
    int pressed = 0;
    QObject::connect(&bar, &plat::KeyedToolbar::ButtonMenuClick,
                     [&](const QString& b, const QString& e) { chosen.emplace_back(b, e); });
    QObject::connect(&bar, &plat::KeyedToolbar::ButtonClick, [&] { ++pressed; });
    bar.choose("Screen", "Days");
    bar.press("Screen");  // the button itself is a command of its own
    bar.setButtonEnabled("Screen", false);
    bar.choose("Screen", "Weeks");
    EXPECT_EQ(chosen, (std::vector<std::pair<QString, QString>>{{"Screen", "Days"}}));
    EXPECT_EQ(pressed, 1);
}

TEST(KeyedStatusBar, PanelsAreFoundByKeyAndMissingOnesAreLeftAlone) {
    plat::KeyedStatusBar main;
    for (const char* key : {"Start", "End", "Task", "Person"}) ASSERT_TRUE(main.addPanel(key));
    EXPECT_FALSE(main.addPanel("task"));
    EXPECT_TRUE(main.setPanelText("Start", "09:30 am"));
    EXPECT_TRUE(main.setPanelText("PERSON", "Mrs Smith"));
    EXPECT_EQ(main.panelText("start"), "09:30 am");
    EXPECT_EQ(main.panelText("Person"), "Mrs Smith");
    EXPECT_EQ(main.panelText("End"), "");
    // A window whose status bar has no progress panels.
    plat::KeyedStatusBar other;
    other.addPanel("Start");
    EXPECT_FALSE(other.setPanelText("Task", "Group A"));
    EXPECT_EQ(other.panelText("Task"), "");
    EXPECT_EQ(other.panelKeys(), QStringList{"Start"});
}

class HintelTest : public PlexaroFixture {
protected:
    void SetUp() override {
        PlexaroFixture::SetUp();
        hints.setShowDelay(0);
        chart.addRow("Ann");
        chart.addBar(1, 540, 600, kMonday, kMonday, "B1");
        // As the main window does: the text follows the bar under the pointer.
        QObject::connect(&chart, &plat::Plexaro::ItemMove, [this](int, int) {
            hints.setPopupText("");
            hints.setPopupText("09:00 am to 10:00 am\r\nMrs Smith");
        });
        hints.attach(&chart, "");
    }
    bool shownAfterMoveTo(const QPoint& p) {
        moveMouse(chart.viewport(), p);
        runFor(20, [this] { return hints.isVisible(); });
        return hints.isVisible();
    }
    plat::Hintel hints;
};

TEST_F(HintelTest, PopsUpOverABarWithItsTextAndNotOverEmptyTime) {
    EXPECT_FALSE(shownAfterMoveTo(pointOf(1, kMonday, 700)));  // no text yet
    EXPECT_TRUE(shownAfterMoveTo(pointOf(1, kMonday, 570)));
    EXPECT_EQ(hints.text(), "09:00 am to 10:00 am\nMrs Smith");
    EXPECT_FALSE(shownAfterMoveTo(pointOf(1, kMonday, 700)));  // the text stays, the bar not
    EXPECT_TRUE(shownAfterMoveTo(pointOf(1, kMonday, 580)));
    hints.setPopupText("");
    EXPECT_FALSE(hints.isVisible());
}

TEST_F(HintelTest, AWidgetsOwnTextShowsWithoutTheSharedOne) {
    plat::Nudgel spin;
    spin.resize(20, 30);
    spin.show();
    hints.attach(&spin, "Date Forward/Back");
    moveMouse(&spin, QPoint(5, 5));
    runFor(20, [this] { return hints.isVisible(); });
    EXPECT_TRUE(hints.isVisible());
    EXPECT_EQ(hints.text(), "Date Forward/Back");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&spin, &leave);
    EXPECT_FALSE(hints.isVisible());
}
