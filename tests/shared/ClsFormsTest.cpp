#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include "ClsForms.h"
#include "DbFixture.h"

class ClsFormsTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
    }
    ClsForms& forms() { return SharedObjects::Forms(); }
};

TEST_F(ClsFormsTest, FillingSelectsAndRaisesNothingWhileSettingRaisesClickEveryTime) {
    plat::ComboBox box;
    QSignalSpy clicks(&box, &plat::ComboBox::Click);
    forms().AddComboItem(box, "Zero", 0);
    forms().AddComboItem(box, "Seven", 7);
    forms().AddComboItem(box, "Seven again", 7);
    EXPECT_EQ(forms().GetComboData(box), -1);
    EXPECT_EQ(clicks.count(), 0);
    forms().SetComboData(box, 7);
    EXPECT_EQ(box.ListIndex(), 1);  // the upper of two equal entries
    forms().SetComboData(box, 7);
    EXPECT_EQ(clicks.count(), 2);  // the same entry again still runs the click step
    forms().SetComboData(box, 99);
    EXPECT_EQ(box.ListIndex(), 0);
    EXPECT_EQ(forms().GetComboData(box), 0);
    plat::ComboBox empty;
    forms().SetComboData(empty, 3);
    EXPECT_EQ(forms().GetComboData(empty), -1);
}

TEST_F(ClsFormsTest, AUsersChoiceRaisesClickToo) {
    plat::ComboBox box;
    forms().AddComboItem(box, "A", 1);
    forms().AddComboItem(box, "B", 2);
    QSignalSpy clicks(&box, &plat::ComboBox::Click);
    box.show();
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(forms().GetComboData(box), 1);
}

TEST_F(ClsFormsTest, AListRaisesClickForTheMouseAndTheKeyboardButNotForFilling) {
    plat::ListBox list;
    QSignalSpy clicks(&list, &plat::ListBox::Click);
    forms().AddListItem(list, "A", 1);
    forms().AddListItem(list, "B", 2);
    EXPECT_EQ(clicks.count(), 0);
    list.show();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(forms().GetListData(list), 2);
    QTest::keyClick(&list, Qt::Key_Down);  // already at the last entry: nothing moved
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ClsFormsTest, FillComboAddsTheBlankAndKeepsRowsInQueryOrder) {
    ASSERT_TRUE(dao().SqlActions({"insert into tblGroups (GroupName) values ('Beta')",
                                  "insert into tblGroups (GroupName) values ('alpha')"}));
    plat::ComboBox box;
    forms().AddComboItem(box, "old", 9);
    EXPECT_EQ(forms().FillCombo(box, "select GroupName, GroupId from tblGroups order by GroupName",
                                true, true),
              2);
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(0), "");
    EXPECT_EQ(box.ItemData(0), 0);
    EXPECT_EQ(box.itemText(1), "alpha");  // names sort without case
    EXPECT_EQ(box.ItemData(1), 2);
    EXPECT_EQ(
        forms().FillCombo(box, "select GroupName, GroupId from tblGroups where 0", true, true), 0);
    EXPECT_EQ(box.count(), 1);
    EXPECT_EQ(forms().FillCombo(box, "select nonsense", false, false), std::nullopt);  // unread
    EXPECT_EQ(box.count(), 1);
}

TEST_F(ClsFormsTest, EveryFillLeavesOutARowWhoseTextIsNull) {
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('A'), (Null), ('')"));
    const QString rows = "select GroupName, GroupId from tblGroups order by GroupId";
    plat::ComboBox box;
    ASSERT_EQ(forms().FillCombo(box, rows, true, false), 3);  // rows read, the Null among them
    plat::ListBox choices, list;
    ASSERT_EQ(forms().FillChoices(choices, rows), 3);
    ASSERT_EQ(
        forms().FillList(list, "select 0, GroupName, GroupId from tblGroups order by GroupId"), 3);
    // Read first and shown after, the entry of the id asked for chosen (else the first).
    plat::ComboBox read;
    const auto entries = forms().ReadEntries(rows, 3);
    ASSERT_TRUE(entries);
    forms().ShowEntries(read, *entries);
    EXPECT_EQ(read.ListIndex(), 1);
    EXPECT_EQ(forms().ReadEntries(rows, 9)->chosen, 1);
    for (const QAbstractItemModel* m : {box.model(), choices.model(), list.model(), read.model()}) {
        ASSERT_EQ(m->rowCount(), 2);
        EXPECT_EQ(m->index(0, 0).data().toString(), "A");
        EXPECT_EQ(m->index(1, 0).data().toString(), "");
    }
    EXPECT_EQ(box.ItemData(1), 3);
}

TEST_F(ClsFormsTest, FillListTicksOnlyRowsWhoseFlagIsNotZeroAndOnlyATickCounts) {
    ASSERT_TRUE(dao().SqlActions({"insert into tblGroups (GroupName) values ('A')",
                                  "insert into tblGroups (GroupName) values ('B')",
                                  "insert into tblGroups (GroupName) values ('C')",
                                  "insert into tblCustomerGroups values (5, 1)",
                                  "insert into tblCustomerGroups values (5, 3)"}));
    plat::ListBox list;
    list.SetCheckList(true);
    ASSERT_TRUE(
        forms().FillList(list,
                         "select (select count(*) from tblCustomerGroups c where c.GroupId = "
                         "g.GroupId and c.CustomerId = 5), GroupName, GroupId from tblGroups g"));
    ASSERT_EQ(list.count(), 3);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_TRUE(list.Selected(2));
    EXPECT_EQ(forms().GetListData(list), -1);
    QSignalSpy clicks(&list, &plat::ListBox::Click);
    forms().SetListData(list, 2);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(forms().GetListData(list), 2);
    EXPECT_TRUE(list.Selected(0));  // moving the current entry keeps the ticks
    EXPECT_FALSE(list.Selected(1));  // and the highlighted one is not ticked by it
    // The user's hand: a click on an entry's text only highlights it; its tick box, and
    // Space on the current entry, tick and untick.
    list.show();
    ClickListEntry(list, 1, false);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_FALSE(list.Selected(1));
    ClickListEntry(list, 2, true);  // C was ticked by the fill
    EXPECT_FALSE(list.Selected(2));
    QTest::keyClick(&list, Qt::Key_Space);  // on the highlighted entry
    EXPECT_TRUE(list.Selected(1));
    EXPECT_FALSE(list.Selected(2));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(list.item(i)->flags() & Qt::ItemIsUserCheckable) << i;
}

TEST_F(ClsFormsTest, LoadMenuListFillsOneMenuTypeByDescription) {
    ASSERT_TRUE(dao().SqlActions({"insert into tblMenu values (1, 'Mr', 1)",
                                  "insert into tblMenu values (2, 'Dr', 1)",
                                  "insert into tblMenu values (3, 'Red', 2)"}));
    plat::ComboBox box;
    forms().AddComboItem(box, "stale", 0);
    ASSERT_EQ(forms().LoadMenuList(box, 1), 2);
    ASSERT_EQ(box.count(), 2);
    EXPECT_EQ(box.itemText(0), "Dr");
    EXPECT_EQ(box.ItemData(0), 2);
    EXPECT_EQ(forms().GetComboData(box), -1);
}

TEST_F(ClsFormsTest, CentreFormOverParentWithoutClamping) {
    QWidget parent, form;
    parent.setGeometry(100, 200, 400, 300);
    form.resize(600, 100);
    forms().CentreForm(form, &parent);
    EXPECT_EQ(form.pos(), QPoint(100 + 200 - 300, 200 + 150 - 50));
    QWidget wide;
    wide.resize(100000, 10);
    forms().CentreForm(wide, nullptr);
    EXPECT_LT(wide.x(), 0);
}

TEST_F(ClsFormsTest, SmallHelpersDoWhatTheySay) {
    QLineEdit edit("some text");
    forms().SelectAllText(edit);
    EXPECT_EQ(edit.selectedText(), "some text");
    QToolBar bar;
    QAction* a = bar.addAction("One");
    QAction* b = bar.addAction("Two");
    forms().EnableButtons(bar, false);
    EXPECT_FALSE(a->isEnabled() || b->isEnabled());
    forms().EnableButtons(bar, true);
    EXPECT_TRUE(a->isEnabled() && b->isEnabled());
    QWidget w;
    EXPECT_EQ(forms().EnableControls(w, false), 1);
    forms().FreezeDrawing(&w, true);
    EXPECT_FALSE(w.updatesEnabled());
    forms().FreezeDrawing(&w, false);
    EXPECT_TRUE(w.updatesEnabled());
}
