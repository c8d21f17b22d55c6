#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AdminFixture.h"
#include "ClsGroup.h"
#include "ComboBox.h"
#include "DlgGroup.h"
#include "DlgMain.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "Plexaro.h"

namespace {

using DlgGroupTest = AdminFixture;

struct Step {
    const char* name;
    int16_t start, end, interval;  // the record as prepared
    void (DlgGroup::*spin)(int16_t);
    int16_t d;  // 0 raises
    int16_t wantStart, wantEnd, wantInterval;
};

}  // namespace

TEST_F(DlgGroupTest, TheSpinsKeepTheDayAtLeastAnHourLongAndTheSlotWithinADay) {
    const auto S = &DlgGroup::SpinStart_Click, E = &DlgGroup::SpinEnd_Click,
               I = &DlgGroup::SpinInterval_Click;
    const Step steps[] = {
        {"start rises to an hour before the end", 1375, 1440, 5, S, 0, 1380, 1440, 5},
        {"start stops an hour before the end", 1380, 1440, 5, S, 0, 1380, 1440, 5},
        {"end falls to an hour after the start", 0, 65, 5, E, 1, 0, 60, 5},
        {"end stops an hour after the start", 0, 60, 5, E, 1, 0, 60, 5},
        {"an hour's day widens at the start", 600, 660, 5, S, 1, 595, 660, 5},
        {"an hour's day widens at the end", 600, 660, 5, E, 0, 600, 665, 5},
        {"an end off the grid falls once", 0, 61, 5, E, 1, 0, 56, 5},
        {"after which it stays", 0, 56, 5, E, 1, 0, 56, 5},
        {"start stops at midnight", 3, 1440, 5, S, 1, 0, 1440, 5},
        {"end stops at the close of the day", 0, 1438, 5, E, 0, 0, 1440, 5},
        {"interval stops at 5", 0, 1440, 5, I, 1, 0, 1440, 5},
        {"interval stops at a day", 0, 1440, 1440, I, 0, 0, 1440, 1440},
        {"an odd interval rises by 5", 0, 1440, 7, I, 0, 0, 1440, 12},
        {"an odd interval falls to 5", 0, 1440, 7, I, 1, 0, 1440, 5},
    };
    ClsGroup& group = SharedObjects::Group();
    for (const Step& s : steps) {
        group.InitBfr();
        group.setDayStart(s.start);
        group.setDayEnd(s.end);
        group.setInterval(s.interval);
        DlgGroup dialog(dlg);
        dialog.Form_Load();
        (dialog.*s.spin)(s.d);
        EXPECT_EQ(group.DayStart(), s.wantStart) << s.name;
        EXPECT_EQ(group.DayEnd(), s.wantEnd) << s.name;
        EXPECT_EQ(group.Interval(), s.wantInterval) << s.name;
    }
}

TEST_F(DlgGroupTest, ANewGroupIsSavedUnderItsTrimmedNameAndShown) {
    when<DlgGroup>([](DlgGroup& d) {
        EXPECT_EQ(d.windowTitle(), "Group Definition");
        EXPECT_EQ(d.LblStart->text(), "00:00 am");
        EXPECT_EQ(d.LblEnd->text(), "12:00 am");
        EXPECT_EQ(d.LblInterval->text(), "00:05");
        d.TxtGroupName->setText("  Lab  ");
        for (int i = 0; i < 3; ++i) d.SpinInterval->press(plat::Nudgel::Arrow::Forward);
        d.BtnGroup[0]->click();
    });
    dlg->Toolbar1->choose("Group", "AddGroup");
    EXPECT_EQ(text("select GroupName || ' ' || Interval from tblGroups where GroupId = 2"),
              "Lab 20");
    EXPECT_EQ(dlg->CbGroup->currentText(), "Lab");
    EXPECT_EQ(SharedObjects::Group().GroupId(), 2);
}

TEST_F(DlgGroupTest, CancelLeavesTheDatabaseAndGivesTheSharedRecordBackToTheChartsGroup) {
    when<DlgGroup>([](DlgGroup& d) {
        EXPECT_EQ(d.LblStart->text(), "08:00 am");
        d.SpinStart->press(plat::Nudgel::Arrow::Forward);
        d.SpinInterval->press(plat::Nudgel::Arrow::Forward);
        d.TxtGroupName->setText("Renamed");
        d.BtnGroup[1]->click();
    });
    dlg->Toolbar1->choose("Group", "EditGroup");
    EXPECT_EQ(text("select GroupName || ' ' || DayStart || ' ' || Interval from tblGroups"),
              "Clinic 480 15");
    // Drops and the booking editor take the slot grid from the shared record.
    const ClsGroup& group = SharedObjects::Group();
    EXPECT_EQ(group.GroupId(), 1);
    EXPECT_EQ(group.Interval(), 15);
    EXPECT_EQ(group.DayStart(), 480);
}

// A refresh, or anything else that selects a group in the main window, loads that group
// into the shared record the editor works on; a new group must still be a new one.
TEST_F(DlgGroupTest, AGroupLoadedUnderTheOpenEditorIsNeverSavedOver) {
    when<DlgGroup>([this](DlgGroup& d) {
        d.TxtGroupName->setText("Lab");
        sql(
            {"insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
             "CustomerId, ResourceId, RepeatId) values (1, 46000, 600, 615, 0, 1, 0)"});
        dlg->Timer1_Timer();
        d.SpinEnd->press(plat::Nudgel::Arrow::Back);
        dlg->CbGroup->SetListIndex(0);  // Clinic, into the shared record
        d.BtnGroup[0]->click();
    });
    dlg->Toolbar1->choose("Group", "AddGroup");
    EXPECT_EQ(column("select GroupName || ' ' || DayStart || '-' || DayEnd || ' ' || Interval "
                     "from tblGroups order by GroupId"),
              (QStringList{"Clinic 480-1020 15", "Lab 0-1435 5"}));
}

TEST_F(DlgGroupTest, AGroupThatCannotBeSavedIsSaidSoAndTheEditorStaysOpen) {
    bool stayed = false;
    when<DlgGroup>([&](DlgGroup& d) {
        sql({"delete from tblGroups where GroupId = 1"});
        d.BtnGroup[0]->click();
        stayed = d.isVisible();
        d.BtnGroup[1]->click();
    });
    dlg->Toolbar1->choose("Group", "EditGroup");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to save the group!"});
}
