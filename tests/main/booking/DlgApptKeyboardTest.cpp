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
