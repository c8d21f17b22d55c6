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

// Clinic's day is 08:00 to 17:00; a booking ends where the next may begin.
TEST_F(DlgGroupTest, ADayThatWouldHideBookingsSaysHowManyAndNoKeepsTheGroup) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> bookings;
        int16_t start, end;
        int answer;
        int asked;  // bookings named in the question; 0 = none asked
    };
    const Case cases[] = {
        {"inside", {{600, 660}}, 540, 960, plat::vbNo, 0},
        {"at both new edges", {{540, 600}, {900, 960}}, 540, 960, plat::vbNo, 0},
        {"ends at the new start", {{480, 540}}, 540, 1020, plat::vbNo, 1},
        {"begins at the new end", {{960, 1020}}, 480, 960, plat::vbNo, 1},
        {"across the new start, still partly shown", {{510, 570}}, 540, 1020, plat::vbNo, 0},
        {"both ends of the day", {{480, 540}, {960, 1020}}, 540, 960, plat::vbNo, 2},
        {"answered Yes", {{480, 540}}, 540, 1020, plat::vbYes, 1},
        {"hidden already", {{420, 450}}, 540, 1020, plat::vbNo, 0},
    };
    ClsGroup& group = SharedObjects::Group();
    for (const Case& c : cases) {
        sql({"delete from tblBookings", "update tblGroups set DayStart = 480, DayEnd = 1020"});
        for (const auto& [from, to] : c.bookings)
            sql({QString("insert into tblBookings (TaskId, BookingDate, BookingStart, "
                         "BookingEnd, CustomerId, ResourceId, RepeatId) values "
                         "(1, 46000, %1, %2, 0, 1, 0)")
                     .arg(from)
                     .arg(to)});
        messages.clear();
        answer = c.answer;
        ASSERT_EQ(group.Load(1), Loaded::Row);
        group.setDayStart(c.start);
        group.setDayEnd(c.end);
        DlgGroup dialog(dlg);
        dialog.Form_Load();
        dialog.BtnGroup_Click(0);
        const QStringList asked{QString("Confirm: %1 booking(s) of this group would lie outside "
                                        "the new working day and no longer show on the chart. "
                                        "The bookings themselves are not changed. Save the "
                                        "group?")
                                    .arg(c.asked)};
        EXPECT_EQ(messages, c.asked ? asked : QStringList{}) << c.name;
        const bool kept = c.asked && c.answer == plat::vbNo;
        EXPECT_EQ(dialog.result() == QDialog::Accepted, !kept) << c.name;
        EXPECT_EQ(text("select DayStart || '-' || DayEnd from tblGroups"),
                  kept ? "480-1020" : QString("%1-%2").arg(c.start).arg(c.end))
            << c.name;
        EXPECT_EQ(scalar("select count(*) from tblBookings"), c.bookings.size()) << c.name;
    }
}
