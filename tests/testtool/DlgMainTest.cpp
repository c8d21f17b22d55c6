#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include "FormsTimer.h"
#include "KeyedStatusBar.h"
#include "ModRosTest.h"
#include "RosTestFixture.h"
#include "SharedObjects.h"
#include "TestSupport.h"

namespace {
using RosTestDlgMain = RosTestFixture;
}  // namespace

TEST_F(RosTestDlgMain, LoadListsTheGroupsByNameUntickedAndMakesTheWindowTheDatabasesHost) {
    const int32_t b = addGroup({"beta", 540, 1020, 15});
    const int32_t a = addGroup({"Alpha", 480, 960, 30});
    DlgMain window;
    window.Form_Load();
    ASSERT_EQ(window.LbGroups->count(), 2);
    EXPECT_EQ(window.LbGroups->item(0)->text(), "Alpha");
    EXPECT_EQ(window.LbGroups->ItemData(0), a);
    EXPECT_EQ(window.LbGroups->ItemData(1), b);
    EXPECT_FALSE(window.LbGroups->Selected(0) || window.LbGroups->Selected(1));
    EXPECT_EQ(window.StatusBar1->panelKeys(), (QStringList{"Date", "Appt"}));
    EXPECT_EQ(SharedObjects::Host(), &window);
    EXPECT_EQ(dao().OpenCount(), 2);
    EXPECT_FALSE(window.Timer1->isTicking());
    EXPECT_EQ(ModRosTest::GetSerNo("C:"), 0);
}

TEST_F(RosTestDlgMain, ADatabaseThatCannotBeOpenedLeavesTheListEmptyAndIsLogged) {
    WriteTestFile(folder.file("Rostima.ini"), "[Config]\n");
    dao().DbClose();
    DlgMain window;
    window.Form_Load();
    EXPECT_EQ(window.LbGroups->count(), 0);
    EXPECT_TRUE(folder.logText().contains("DlgMain.Form_Load: Error 91 at line 6 (No record set)"));
}

// Read as the default, it would name no database: the utility says which file and why,
// and ends having opened and changed nothing.
TEST_F(RosTestDlgMain, ASettingsFileThatCannotBeReadIsToldAndNothingIsOpened) {
    const QString settings = folder.file("Rostima.ini");
    ASSERT_TRUE(QFile::remove(settings));
    ASSERT_TRUE(QDir().mkdir(settings));
    DlgMain window;
    EXPECT_FALSE(window.Form_Load());
    EXPECT_EQ(boxes, QStringList{"Warning!: The settings file " + settings +
                                 " cannot be read: it is a folder, not a file.\nThe program "
                                 "ends; nothing was changed."});
    EXPECT_EQ(dao().OpenCount(), 1);  // the fixture's own
    EXPECT_EQ(window.LbGroups->count(), 0);
    EXPECT_TRUE(QDir(settings).isEmpty());
}

TEST_F(RosTestDlgMain, TheCalendarTheUserDidNotChangeFollowsTheOne) {
    struct Case {
        int changed;  // 0 start, 1 end
        int32_t start, end, wantStart, wantEnd;
    };
    const Case cases[] = {
        {1, kDay, kDay - 3, kDay - 3, kDay - 3},  // end before start: start moves back
        {0, kDay + 5, kDay, kDay + 5, kDay + 5},  // start after end: end moves forward
        {1, kDay, kDay + 4, kDay, kDay + 4},
        {0, kDay, kDay, kDay, kDay},  // the same day on both
    };
    DlgMain window;
    for (const Case& c : cases) {
        window.Kalvo1[0]->setValue(kDay - 100);
        window.Kalvo1[1]->setValue(kDay + 100);
        window.Kalvo1[c.changed == 0 ? 1 : 0]->setValue(c.changed == 0 ? c.end : c.start);
        window.Kalvo1[c.changed]->setValue(c.changed == 0 ? c.start : c.end);
        EXPECT_EQ(window.Kalvo1[0]->value(), c.wantStart) << c.start << ".." << c.end;
        EXPECT_EQ(window.Kalvo1[1]->value(), c.wantEnd) << c.start << ".." << c.end;
    }
}

TEST_F(RosTestDlgMain, AnsweringNoStartsNothingAndChangesNothing) {
    addGroup({"A", 540, 1020, 15});
    exec(
        "insert into tblBookings (ResourceId, BookingDate, BookingStart, BookingEnd) "
        "values (1, 46027, 600, 615)");
    DlgMain window;
    window.Form_Load();
    window.Check1->setChecked(true);
    answer = plat::vbNo;
    run(window, {"A"}, kDay, kDay);
    EXPECT_EQ(boxes, (QStringList{"Confirm: This will destroy your current schedule. Are you "
                                  "sure you wish to continue?"}));
    EXPECT_EQ(styles[0], plat::vbYesNo | plat::vbExclamation | plat::vbDefaultButton2);
    EXPECT_TRUE(pauses.isEmpty());
    EXPECT_EQ(bookings(), 1);
}

TEST_F(RosTestDlgMain, ARunWithNothingTickedPassesEveryEntryAndReportsNothingBooked) {
    addGroup({"A", 540, 1020, 15});
    addGroup({"B", 540, 1020, 15});
    DlgMain window;
    window.Form_Load();
    run(window, {}, kDay, kDay);
    EXPECT_EQ(pauses, (QList<int>{100, 100}));
    EXPECT_EQ(summary(), std::make_pair(0, 0));
    EXPECT_EQ(window.LbGroups->ListIndex(), 1);
    EXPECT_EQ(dao().OpenCount(), 2);  // the run's own hold is given back
}

TEST_F(RosTestDlgMain, ARunBooksWholeSlotsOfEachTickedGroupAndCountsEveryAttemptOnce) {
    addGroup({"A", 540, 1020, 15, 3, 15, 120});
    addGroup({"B", 500, 800, 20, 2, 0, 10});  // a span shorter than a slot: one slot each
    addGroup({"C", 540, 1020, 15});
    DlgMain window;
    window.Form_Load();
    run(window, {"A", "B"}, kDay, kDay + 2);
    const auto [booked, unbooked] = summary();
    ASSERT_GE(booked, 1);
    const int made = attempts(3, 6);
    EXPECT_EQ(booked + unbooked, made);
    EXPECT_GE(made, 6 * 50);
    EXPECT_LE(made, 6 * 149);
    EXPECT_EQ(bookings(), booked);
    for (const BookingRule& r : kBookingRules)
        EXPECT_EQ(scalar(QString(r.violations).arg(0)), 0) << r.rule;
    EXPECT_EQ(scalar("select count(*) from tblBookings where BookingDate < 46027 or "
                     "BookingDate > 46029 or ResourceId > 5"),
              0);
    EXPECT_EQ(scalar("select count(distinct BookingDate) from tblBookings"), 3);
    EXPECT_EQ(window.BtnTest[0]->text(), "&Test");
    EXPECT_TRUE(window.BtnTest[1]->isEnabled() && window.LbGroups->isEnabled() &&
                window.Kalvo1[0]->isEnabled() && window.Check1->isEnabled());
    EXPECT_EQ(window.StatusBar1->panelText("Date").right(8), "Jan 2026");
    EXPECT_TRUE(window.StatusBar1->panelText("Appt").startsWith("Appointment #"));
}

TEST_F(RosTestDlgMain, DeleteCurrentAppointmentsEmptiesOnlyTheTickedGroupsRange) {
    addGroup({"A", 540, 1020, 15, 1, 15, 60, 1, 0});  // no customers: books nothing
    addGroup({"B", 540, 1020, 15, 1, 15, 60, 1, 0});
    for (const char* row : {"1, 46026", "1, 46027", "1, 46028", "1, 46029", "2, 46027"})
        exec(QString("insert into tblBookings (ResourceId, BookingDate, BookingStart, "
                     "BookingEnd, TaskId) values (%1, 600, 615, 99)")
                 .arg(row));
    DlgMain window;
    window.Form_Load();
    window.Check1->setChecked(true);
    run(window, {"A"}, kDay, kDay + 1);
    EXPECT_EQ(text("select group_concat(ResourceId || ':' || BookingDate, ' ') from "
                   "(select * from tblBookings order by BookingId)"),
              "1:46026 1:46029 2:46027");
}

TEST_F(RosTestDlgMain, OnlyTheGroupsTickedByTheirBoxesAreFilledNotAHighlightedOne) {
    addGroup({"A", 540, 1020, 15, 1, 15, 60, 1, 0});  // no customers: books nothing
    addGroup({"B", 540, 1020, 15, 1, 15, 60, 1, 0});
    for (const char* resource : {"1", "2"})
        exec(QString("insert into tblBookings (ResourceId, BookingDate, BookingStart, "
                     "BookingEnd, TaskId) values (%1, %2, 600, 615, 99)")
                 .arg(resource)
                 .arg(kDay));
    DlgMain window;
    window.Form_Load();
    window.show();
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(window.LbGroups->item(i)->flags() & Qt::ItemIsUserCheckable) << i;
    ClickListEntry(*window.LbGroups, 0, false);  // A highlighted
    ClickListEntry(*window.LbGroups, 1, true);   // B ticked
    window.Check1->setChecked(true);
    window.Kalvo1[0]->setValue(kDay);
    window.Kalvo1[1]->setValue(kDay);
    window.BtnTest[0]->click();
    EXPECT_EQ(text("select group_concat(ResourceId) from tblBookings"), "1");
}

TEST_F(RosTestDlgMain, AGroupWithoutResourcesTypesOrCustomersGetsNoBookingsAndCountsNothing) {
    const NewGroup groups[] = {{"no resources", 540, 1020, 15, 0},
                               {"no types", 540, 1020, 15, 2, 15, 90, 0},
                               {"no customers", 540, 1020, 15, 2, 15, 90, 2, 0}};
    for (const NewGroup& g : groups) {
        addGroup(g);
        DlgMain window;
        window.Form_Load();
        boxes.clear();
        run(window, {g.name}, kDay, kDay);
        EXPECT_GE(attempts(window.LbGroups->count(), 1), 50) << g.name;
        EXPECT_EQ(summary(), std::make_pair(0, 0)) << g.name;
        EXPECT_EQ(bookings(), 0) << g.name;
    }
}

TEST_F(RosTestDlgMain, CancelOrClosingDuringARunEndsItAtItsNextCheckWithTheCountsSoFar) {
    addGroup({"A", 540, 1020, 15});
    for (const bool closing : {false, true}) {
        DlgMain window;
        window.Form_Load();
        window.show();
        boxes.clear();
        int attemptsAtStop = -1;
        onPause = [&](int ms) {
            if (ms != 100 || pauses.count(100) != 12) return;
            EXPECT_EQ(window.BtnTest[0]->text(), "Cancel Test");
            QTest::keyClick(&window, Qt::Key_Escape);  // Exit is disabled: Esc does nothing
            EXPECT_TRUE(window.isVisible());
            attemptsAtStop = attempts(1, 1);  // the one under way included
            if (closing)
                window.close();
            else
                window.BtnTest[0]->click();
            EXPECT_TRUE(window.isVisible());  // a close waits for the run's end
        };
        run(window, {"A"}, kDay, kDay + 30);
        const auto [booked, unbooked] = summary();
        EXPECT_EQ(booked + unbooked, attemptsAtStop) << closing;  // the one under way ends
        EXPECT_EQ(attempts(1, 2), attemptsAtStop) << closing;     // the next step's pause only
        EXPECT_EQ(window.BtnTest[0]->text(), "&Test");
        EXPECT_EQ(window.isVisible(), !closing);
        QTest::keyClick(&window, Qt::Key_Escape);  // idle, Esc is Exit
        EXPECT_FALSE(window.isVisible());
    }
}

TEST_F(RosTestDlgMain, ImpossibleNumbersEndTheRunWithALogLineInsteadOfABooking) {
    struct Case {
        NewGroup group;
        int32_t lastDay;
        const char* line;
    };
    const Case cases[] = {
        {{"day ends before it starts", 1020, 540, 15},
         kDay,
         "Error 5 at line 26 (Invalid procedure call or argument)"},
        {{"maximum below minimum", 540, 1020, 15, 2, 90, 15},
         kDay,
         "Error 5 at line 27 (Invalid procedure call or argument)"},
        {{"past the 16-bit minute", 0, 30000, 20000, 1, 0, 20000},
         kDay,
         "Error 6 at line 28 (Overflow)"},
        {{"day span beyond 16 bits", -30000, 30000, 15}, kDay, "Error 6 at line 23 (Overflow)"},
        {{"range beyond 16-bit day steps", 540, 1020, 15},
         kDay + 40000,
         "Error 6 at line 16 (Overflow)"},
    };
    for (const Case& c : cases) {
        addGroup(c.group);
        DlgMain window;
        window.Form_Load();
        boxes.clear();
        const int64_t before = bookings();
        const int holds = dao().OpenCount();
        run(window, {c.group.name}, kDay, c.lastDay);
        EXPECT_TRUE(folder.logText().contains(QString("DlgTestSub: ") + c.line)) << c.group.name;
        EXPECT_EQ(summary(), std::make_pair(-1, -1)) << c.group.name;  // no summary
        EXPECT_EQ(bookings(), before) << c.group.name;
        EXPECT_EQ(window.BtnTest[0]->text(), "&Test");
        EXPECT_TRUE(window.LbGroups->isEnabled());
        EXPECT_EQ(dao().OpenCount(), holds);
    }
}

TEST_F(RosTestDlgMain, AnAttemptWhoseSavesFailIsCountedOnceAndWritesNothing) {
    addGroup({"A", 540, 1020, 15});
    exec(
        "create trigger tblBookingsRefused before insert on tblBookings "
        "begin select raise(abort, 'disk full'); end");
    DlgMain window;
    window.Form_Load();
    run(window, {"A"}, kDay, kDay);
    const int made = attempts(1, 1);
    EXPECT_EQ(summary(), std::make_pair(0, made));
    EXPECT_EQ(pauses.count(10), 10 * made);  // ten tries each
    EXPECT_EQ(bookings(), 0);
}

TEST_F(RosTestDlgMain, CollectionsHoldTheLoadableMembersOnceUnderTheirKeys) {
    const int32_t a = addGroup({"A", 540, 1020, 15, 2, 15, 90, 2, 3});
    addGroup({"B", 540, 1020, 15});
    exec("delete from tblCustomers where CustomerId = 2");  // a link to a customer gone
    exec(QString("insert into tblCustomerGroups (CustomerId, GroupId) values (1, %1)").arg(a));
    DlgMain window;
    window.Form_Load();
    auto customers = window.GetGroupCustomers(a);
    ASSERT_EQ(customers.Count(), 2);
    EXPECT_EQ(customers.Key(1), "C1");
    EXPECT_EQ(customers.Item(2).CustomerName(), "A customer 2");
    EXPECT_EQ(window.GetGroups().Key(2), "G2");
    dao().DbClose();
    dao().DbClose();
    EXPECT_EQ(window.GetGroupTasks(a).Count(), 0);
    EXPECT_TRUE(folder.logText().contains("DlgMainFunction: Error 91 at line 2 (No record set)"));
}

TEST_F(RosTestDlgMain, AGroupWithASlotLengthOfZeroIsFilledOnTheDefaultGridWithoutACrash) {
    addGroup({"A", 540, 1020, 0});
    DlgMain window;
    window.Form_Load();
    run(window, {"A"}, kDay, kDay);
    EXPECT_GT(summary().first, 0);
    EXPECT_EQ(scalar("select count(*) from tblBookings where (BookingStart - 540) % 5 <> 0 or "
                     "(BookingEnd - BookingStart) % 5 <> 0"),
              0);
}

TEST_F(RosTestDlgMain, TheNotesAreShownWholeOneBelowTheOtherInsideTheWindow) {
    DlgMain window;
    for (int i = 0; i < 7; ++i) {
        const QLabel& note = *window.Label1[i];
        EXPECT_GE(note.height(), note.heightForWidth(note.width())) << i;
        if (i > 0) {
            EXPECT_GT(note.y(), window.Label1[i - 1]->geometry().bottom()) << i;
        }
    }
    EXPECT_LE(window.Label1[6]->geometry().bottom(), window.centralWidget()->height());
    // The last note draws the Test button's mnemonic as the button does: underlined.
    const QLabel& last = *window.Label1[6];
    QTextDocument shown;
    if (last.textFormat() == Qt::PlainText)
        shown.setPlainText(last.text());
    else
        shown.setHtml(last.text());
    EXPECT_EQ(shown.toPlainText(), "4) Click the 'Test' button.");
    QTextCursor letter(&shown);
    letter.setPosition(QString("4) Click the 'T").size());
    EXPECT_TRUE(letter.charFormat().fontUnderline());
    letter.movePosition(QTextCursor::NextCharacter);
    EXPECT_FALSE(letter.charFormat().fontUnderline());
}
