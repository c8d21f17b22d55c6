#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "ClsBooking.h"
#include "ClsDate.h"
#include "DlgApptFixture.h"
#include "SharedObjects.h"

namespace {
using DlgApptKeyboard = DlgApptTest;

// Every Alt key the window answers to, with what carries it; a key that appears twice
// is a clash. Menus are checked one by one: their entries answer only while open.
QStringList mnemonicClashes(DlgAppt& e) {
    QStringList clashes;
    auto check = [&](const QStringList& texts, const QString& scope) {
        QMap<QString, QString> seen;
        for (const QString& text : texts) {
            const QString key = QKeySequence::mnemonic(text).toString();
            if (key.isEmpty()) continue;
            if (seen.contains(key)) clashes << scope + ": " + key + " " + seen[key] + " / " + text;
            seen[key] = text;
        }
    };
    QStringList window;
    for (QWidget* w : e.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&e)) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) window << b->text();
        if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) window << l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) window << g->title();
    }
    for (QAction* a : e.MenuBar->actions()) {
        if (!a->isVisible()) continue;
        window << a->text();
        QStringList entries;
        if (a->menu())
            for (QAction* entry : a->menu()->actions())
                if (entry->isVisible()) entries << entry->text();
        check(entries, a->text());
    }
    check(window, "window");
    return clashes;
}
}  // namespace

TEST_F(DlgApptKeyboard, KeysTakeUpASlotButOnlyEnterPlacesAPendingMoveAsAClickDoes) {
    booking(1, 540, 600);
    open([&](DlgAppt& e) {
        QWidget* view = e.LbTimeSlot->viewport()->parentWidget();
        // With nothing pending the keys take up the slot they reach, as a click does.
        e.LbTimeSlot->click(0, 1);
        for (int i = 0; i < rowOf(540); ++i) QTest::keyClick(view, Qt::Key_Down);
        EXPECT_NE(SharedObjects::Booking().BookingId(), 0);
        EXPECT_EQ(e.LblStart->text(), SharedObjects::Date().ShowTime(540, true));
        e.BtnTask_Click(4);
        QTest::keyClick(view, Qt::Key_Home);
        for (int i = 0; i < rowOf(630); ++i) QTest::keyClick(view, Qt::Key_Down);
        EXPECT_TRUE(e.MovePending);
        EXPECT_EQ(stored(), QStringList{"1 46000 540-600"});
        QTest::keyClick(view, Qt::Key_Return);
        EXPECT_FALSE(e.MovePending);
        EXPECT_EQ(stored(), QStringList{"1 46000 630-690"});
    });
}

TEST_F(DlgApptKeyboard, NoTwoControlsOrMenuEntriesShareAMnemonicInAnyState) {
    booking(1, 540, 600);
    for (const char* readOnly : {"0", "1"}) {
        setting("Options", "IsReadOnly", readOnly);
        open([&](DlgAppt& e) {
            EXPECT_EQ(mnemonicClashes(e), QStringList{}) << "idle, read-only " << readOnly;
            if (e.ReadOnlyMode) return;
            for (int index : {4, 5}) {
                e.LbTimeSlot->click(rowOf(540), 1);
                e.BtnTask_Click(index);
                ASSERT_TRUE(e.MovePending);
                EXPECT_EQ(mnemonicClashes(e), QStringList{}) << "pending " << index;
                e.BtnTask_Click(index);  // cancelled
                EXPECT_EQ(mnemonicClashes(e), QStringList{}) << "cancelled " << index;
            }
        });
    }
}

TEST_F(DlgApptKeyboard, AfterKeysChoseAMovesOrCopysTargetSaveLeavesTheBookingWhereItStands) {
    const std::pair<const char*, std::function<void(DlgAppt&, int)>> cancels[] = {
        {"button", [](DlgAppt& e, int index) { e.BtnTask[index]->click(); }},
        {"menu",
         [](DlgAppt& e, int index) { (index == 4 ? e.mnuApptMove : e.mnuApptCopy)->trigger(); }},
        {"other command", [](DlgAppt& e, int index) { e.BtnTask_Click(9 - index); }},
        {"none, still waiting", [](DlgAppt&, int) {}},
    };
    for (int index : {4, 5}) {
        for (const auto& [how, cancel] : cancels) {
            for (int16_t days : {0, 1}) {
                const std::string what =
                    std::to_string(index) + " " + how + " " + std::to_string(days);
                messages.clear();
                sql({"delete from tblBookings"});
                booking(1, 540, 600);
                open([&](DlgAppt& e) {
                    QWidget* view = e.LbTimeSlot->viewport()->parentWidget();
                    e.LbTimeSlot->click(rowOf(540), 1);
                    e.BtnTask_Click(index);
                    if (days != 0) e.SpinDate_Click(1);
                    for (int i = 0; i < 5; ++i) QTest::keyClick(view, Qt::Key_Down);
                    ASSERT_GE(e.LbTimeSlot->selectedRow(), 0) << what;
                    cancel(e, index);
                    if (e.MovePending) {
                        e.BtnTask_Click(1);
                        return;
                    }
                    // The booking taken up where the day shows it, or nothing highlighted.
                    EXPECT_EQ(e.LbTimeSlot->selectedRow(), days != 0 ? -1 : rowOf(540)) << what;
                    EXPECT_EQ(e.LblStart->text(), SharedObjects::Date().ShowTime(540, true));
                    e.BtnTask_Click(1);
                });
                EXPECT_EQ(stored(), QStringList{"1 46000 540-600"}) << what;
                const QStringList asked{"Information: Please select the timeslot!"};
                EXPECT_EQ(messages, days != 0 ? asked : QStringList{}) << what;
            }
        }
    }
}

TEST_F(DlgApptKeyboard, WhileAMoveOrCopyWaitsDeleteAndRepeatActOnTheBookingTakenUpNotItsTarget) {
    struct Case {
        const char* what;
        int index;    // 4 move, 5 copy
        int command;  // 3 delete, 2 repeat, 0 save and exit
        int days;     // days the date spin moved on before the keys chose the target
        QStringList stored, repeated, messages;
    } cases[] = {
        {"move, delete",
         4,
         3,
         0,
         {"1 46000 660-690"},
         {},
         {"Confirm: Do you wish to delete this appointment?"}},
        {"copy, delete", 5, 3, 0, {"1 46000 660-690"}, {}, {"Confirm: Do you wish to delete "
                                                             "this appointment?"}},
        {"move, delete on another day",
         4,
         3,
         1,
         {"1 46000 570-600", "1 46000 660-690"},
         {},
         {"Information: Please select the timeslot!"}},
        {"copy, save and exit on another day",
         5,
         0,
         1,
         {"1 46000 570-600", "1 46000 660-690"},
         {},
         {"Information: Please select the timeslot!"}},
        {"copy, repeat", 5, 2, 0, {"1 46000 570-600", "1 46000 660-690"}, {"46000 570-600"}, {}},
        {"move, repeat on another day",
         4,
         2,
         1,
         {"1 46000 570-600", "1 46000 660-690"},
         {},
         {"Information: Please select the timeslot!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sql({"delete from tblBookings"});
        booking(1, 570, 600);
        booking(1, 660, 690);
        messages.clear();
        QStringList repeated;
        DlgApptHooks::Get().showRepeat = [&](const DlgApptHooks::Repeat& r) {
            repeated << QString("%1 %2-%3").arg(r.apptDate).arg(r.startTime).arg(r.endTime);
        };
        open([&](DlgAppt& e) {
            QWidget* view = e.LbTimeSlot->viewport()->parentWidget();
            e.LbTimeSlot->click(rowOf(570), 1);
            e.BtnTask_Click(c.index);
            if (c.days != 0) e.SpinDate_Click(1);
            for (int i = 0; i < rowOf(660) - rowOf(570); ++i) QTest::keyClick(view, Qt::Key_Down);
            e.BtnTask_Click(c.command);
            EXPECT_EQ(e.MovePending, c.command != 3 || c.days != 0);
            EXPECT_TRUE(e.isVisible());
        });
        EXPECT_EQ(stored(), c.stored);
        EXPECT_EQ(repeated, c.repeated);
        EXPECT_EQ(messages, c.messages);
    }
}
