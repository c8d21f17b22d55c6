#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "AdminFixture.h"
#include "ClsDate.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "DlgApptType.h"
#include "DlgMain.h"
#include "DlgResource.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "Plexaro.h"

namespace {

using DlgResourceTest = AdminFixture;

struct Step {
    const char* name;
    int16_t min, max, init;  // the record as prepared, in the group of 15-minute slots
    void (DlgResource::*spin)(int16_t);
    int16_t d;  // 0 raises
    int16_t wantMin, wantMax, wantInit;
};

}  // namespace

TEST_F(DlgResourceTest, TheDurationsStepBySlotsAndKeepMinimumInitialMaximumInOrder) {
    const auto Mn = &DlgResource::SpinMin_Click, Mx = &DlgResource::SpinMax_Click,
               In = &DlgResource::SpinInit_Click;
    const Step steps[] = {
        {"the minimum stays at one slot", 15, 540, 15, Mn, 1, 15, 540, 15},
        {"the maximum stops at a day", 15, 1435, 15, Mx, 0, 15, 1440, 15},
        {"a minimum above the maximum pushes both up", 120, 120, 60, Mn, 0, 135, 135, 135},
        {"a maximum below the minimum pulls both down", 120, 120, 120, Mx, 1, 105, 105, 105},
        {"the maximum stays at one slot", 15, 15, 15, Mx, 1, 15, 15, 15},
        {"the initial stays at the maximum", 15, 60, 60, In, 0, 15, 60, 60},
        {"the initial stays at the minimum", 30, 60, 30, In, 1, 30, 60, 30},
        {"a loaded minimum above the maximum wins", 200, 100, 150, In, 0, 200, 100, 200},
    };
    ClsResource& r = SharedObjects::Resource();
    for (const Step& s : steps) {
        r.InitBfr();
        EXPECT_EQ(r.setGroupId(1), Loaded::Row);
        r.setMinTime(s.min);
        r.setMaxTime(s.max);
        r.setInitTime(s.init);
        DlgResource dialog(dlg);
        dialog.Form_Load();
        (dialog.*s.spin)(s.d);
        EXPECT_EQ(r.MinTime(), s.wantMin) << s.name;
        EXPECT_EQ(r.MaxTime(), s.wantMax) << s.name;
        EXPECT_EQ(r.InitTime(), s.wantInit) << s.name;
        EXPECT_EQ(dialog.LblInit->text(), SharedObjects::Date().MilitaryTime(s.wantInit)) << s.name;
    }
}

TEST_F(DlgResourceTest, ANewResourceSavedAsThreeCopiesMakesThreeNumberedRows) {
    when<DlgResource>([](DlgResource& d) {
        EXPECT_EQ(d.windowTitle(), "Resource Definition");
        // The group's slot, its day of 08:00 to 17:00, one slot.
        EXPECT_EQ(d.LblMin->text() + " " + d.LblMax->text() + " " + d.LblInit->text(),
                  "00:15 09:00 00:15");
        EXPECT_EQ(d.LblCopies->text(), "1");
        d.TxtResourceName->setText(" Room ");
        d.SpinCopies->press(plat::Nudgel::Arrow::Forward);
        d.SpinCopies->press(plat::Nudgel::Arrow::Forward);
        EXPECT_EQ(d.LblCopies->text(), "3");
        d.BtnGroup[0]->click();
    });
    dlg->Toolbar1->choose("Resource", "AddRes");
    EXPECT_EQ(column("select ResourceName || ' ' || ResourceId || ' ' || GroupId || ' ' || "
                     "MaxTime from tblResources where ResourceId > 1 order by ResourceId"),
              (QStringList{"Room #01 2 1 540", "Room #02 3 1 540", "Room #03 4 1 540"}));
    EXPECT_EQ(SharedObjects::Resource().ResourceId(), 4);
    EXPECT_EQ(dlg->Sched->rowText(dlg->Sched->selectedRow()), "Room #03");
}

// As the user does it: a click into the name, the name typed, a click into the copies,
// the count typed. The count takes the keys, never the name; the spin steps on from it,
// and a field left empty stands for one plain save.
TEST_F(DlgResourceTest, TheCopiesFieldTakesTheFocusAndTheCountTyped) {
    when<DlgResource>([](DlgResource& d) {
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        QTest::mouseClick(d.TxtResourceName, Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), "Room");
        QWidget* copies = d.findChild<QWidget*>("LblCopies");
        QTest::mouseClick(copies, Qt::LeftButton);
        QCoreApplication::processEvents();  // the whole count is selected
        EXPECT_EQ(QApplication::focusWidget(), copies);
        QTest::keyClicks(QApplication::focusWidget(), "2");
        EXPECT_EQ(d.Copies(), 2);
        d.SpinCopies->press(plat::Nudgel::Arrow::Forward);
        EXPECT_EQ(d.Copies(), 3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        EXPECT_EQ(d.Copies(), 1);
        QTest::keyClicks(QApplication::focusWidget(), "3");
        EXPECT_EQ(d.TxtResourceName->text(), "Room");
        d.BtnGroup[0]->click();
    });
    dlg->Toolbar1->choose("Resource", "AddRes");
    EXPECT_EQ(column("select ResourceName from tblResources where ResourceId > 1"),
              (QStringList{"Room #01", "Room #02", "Room #03"}));
}

TEST_F(DlgResourceTest, TheCopiesStopAt99AndAt1) {
    DlgResource dialog(dlg);
    dialog.Form_Load();
    dialog.SpinCopies_Click(1);
    EXPECT_EQ(dialog.Copies(), 1);
    for (int i = 0; i < 120; ++i) dialog.SpinCopies_Click(0);
    EXPECT_EQ(dialog.Copies(), 99);
    EXPECT_EQ(dialog.LblCopies->text(), "99");
}

TEST_F(DlgResourceTest, AnExistingResourceIsUpdatedWithoutCopiesUnderItsTrimmedName) {
    dlg->Sched->setSelectedRow(1);
    when<DlgResource>([](DlgResource& d) {
        EXPECT_EQ(d.LblCopies->text(), "");
        EXPECT_FALSE(d.SpinCopies->isEnabled());
        d.TxtResourceName->setText("  Anna B ");
        d.SpinMax->press(plat::Nudgel::Arrow::Back);
        d.BtnGroup[0]->click();
    });
    dlg->Toolbar1->choose("Resource", "EditRes");
    EXPECT_EQ(column("select ResourceName || ' ' || MaxTime from tblResources"),
              QStringList{"Anna B 525"});
}

// The record's own slot length is that of the group last written to it, which need not
// be the loaded resource's group.
TEST_F(DlgResourceTest, AnEditedResourceStepsByTheSlotOfItsOwnGroup) {
    sql(
        {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values ('Annex', 0, 1440, "
         "10)"});
    ASSERT_EQ(SharedObjects::Resource().setGroupId(2), Loaded::Row);
    dlg->Sched->setSelectedRow(1);
    when<DlgResource>([](DlgResource& d) {
        EXPECT_EQ(d.Step(), 15);
        d.SpinMin->press(plat::Nudgel::Arrow::Forward);
        d.BtnGroup[0]->click();
    });
    dlg->Toolbar1->choose("Resource", "EditRes");
    EXPECT_EQ(scalar("select MinTime from tblResources where ResourceId = 1"), 30);
    // A step that cannot be read: each press says that its duration was not changed, and
    // none is.
    sql({"alter table tblGroups rename to tblAway"});
    DlgResource unread(dlg);
    unread.Form_Load();
    for (plat::Nudgel* spin : {unread.SpinMin, unread.SpinMax, unread.SpinInit}) {
        messages.clear();
        SharedObjects::DAO().WaitAgain();  // each press is a command of its own
        spin->press(plat::Nudgel::Arrow::Forward);
        EXPECT_EQ(messages, QStringList{"Warning!: Unable to change the duration!\r\n\r\nThe "
                                        "database is busy or cannot be read; nothing was "
                                        "changed."})
            << spin->objectName().toStdString();
    }
    EXPECT_EQ(unread.LblMin->text() + " " + unread.LblMax->text() + " " + unread.LblInit->text(),
              "00:30 09:00 00:30");
    sql({"alter table tblAway rename to tblGroups"});
}

TEST_F(DlgResourceTest, CancelAfterStepsChangesNothing) {
    dlg->Sched->setSelectedRow(1);
    when<DlgResource>([](DlgResource& d) {
        d.SpinMin->press(plat::Nudgel::Arrow::Forward);
        d.SpinMax->press(plat::Nudgel::Arrow::Back);
        d.BtnGroup[1]->click();
    });
    dlg->Toolbar1->choose("Resource", "EditRes");
    EXPECT_EQ(text("select MinTime || ' ' || MaxTime from tblResources"), "15 540");
    EXPECT_EQ(SharedObjects::Resource().ResourceId(), 0);
}

// A save the database does not take is told and the editor stays open with the name as
// typed; once some copies are written it closes, as saving again would write them twice.
TEST_F(DlgResourceTest, AResourceThatCannotBeSavedIsSaidSoAndTheEditorStaysOpen) {
    const QString busy = "\r\n\r\nThe database is busy or cannot be written; nothing was saved";
    std::optional<HeldDatabase> held;
    const struct {
        bool copies;  // a new resource as three copies, else Anna edited
        std::function<void()> before;
        QString told;
    } cases[] = {
        {false, [&] { held.emplace(folder, folder.file("Rostima.mdb")); },
         "Warning!: Unable to save the resource!" + busy + "."},
        {true,
         [&] {
             sql(
                 {"create trigger no2 before insert on tblResources when "
                  "new.ResourceName = 'Room #02' begin select raise(abort, ''); end"});
         },
         "Warning!: Unable to save every copy of the resource!" + busy + " from Room #02 on."},
        {false, [&] { sql({"delete from tblResources where ResourceId = 1"}); },
         "Warning!: Unable to save the resource!"},
    };
    SharedObjects::DAO().setBusyWaitMs(300);
    for (const auto& c : cases) {
        messages.clear();
        dlg->Sched->setSelectedRow(1);
        bool stayed = false;
        when<DlgResource>([&](DlgResource& d) {
            if (c.copies) d.TxtResourceName->setText("Room");
            for (int i = 0; c.copies && i < 2; ++i) d.SpinCopies_Click(0);
            c.before();
            SharedObjects::DAO().WaitAgain();
            d.BtnGroup[0]->click();
            stayed = d.isVisible();
            EXPECT_EQ(d.TxtResourceName->text(), c.copies ? "Room" : "Anna");
            held.reset();
            if (stayed) d.BtnGroup[1]->click();
        });
        dlg->Toolbar1->choose("Resource", c.copies ? "AddRes" : "EditRes");
        EXPECT_EQ(stayed, !c.copies);
        EXPECT_EQ(messages, QStringList{c.told});
    }
    EXPECT_EQ(column("select ResourceName from tblResources"), QStringList{"Room #01"});
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

// The database compares names without the case of A to Z: neither editor takes a new name,
// a rename or a copy's name that another of the group has but for that case. Another case
// of a letter beyond A to Z is another name, to the editors as to the database.
TEST_F(DlgResourceTest, NeitherEditorTakesANameAnotherOfTheGroupHasButForTheCaseOfAToZ) {
    sql(
        {"insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
         "values (1, 'Room #02', 15, 540, 15), (1, 'Bert', 15, 540, 15), "
         "(1, 'Carl', 15, 540, 15), (1, '\u00C4rzt', 15, 540, 15)",
         "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
         "values (1, 'Talk', 255, 15, 540, 15), (1, 'Carl', 255, 15, 540, 15), "
         "(1, '\u00C4rzt', 255, 15, 540, 15)"});
    const struct {
        const char* what;
        bool type;
        int32_t id;  // 0: a new one
        const char* name;
        int copies;
        const char* taken;  // nullptr: saved
    } cases[] = {
        {"a new resource", false, 0, "anna", 1, "Anna"},
        {"copies of a new resource", false, 0, "ROOM", 2, "Room #02"},
        {"a resource renamed", false, 3, " ANNA ", 1, "Anna"},
        {"a resource renamed in its own case only", false, 1, "ANNA", 1, nullptr},
        {"a new type", true, 0, "VISIT", 1, "Visit"},
        {"a type renamed", true, 2, "visit", 1, "Visit"},
        {"a new resource, A to Z in another case", false, 0, "CARL", 1, "Carl"},
        {"a new resource, a letter beyond A to Z in another case", false, 0, "\u00E4rzt", 1,
         nullptr},
        {"a new type, A to Z in another case", true, 0, "CARL", 1, "Carl"},
        {"a new type, a letter beyond A to Z in another case", true, 0, "\u00E4rzt", 1, nullptr},
    };
    auto names = [this] {
        return column("select ResourceName from tblResources order by ResourceId") +
               column("select TaskName from tblTasks order by TaskId");
    };
    // The shared record as the opener leaves it: loaded, or new in the Clinic.
    auto prepare = [](auto& record, int32_t id) {
        if (id) return record.Load(id) == Loaded::Row;
        record.InitBfr();
        EXPECT_EQ(record.setGroupId(1), Loaded::Row);
        return true;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        const QStringList before = names();
        std::unique_ptr<QDialog> editor;
        QPushButton *save = nullptr, *cancel = nullptr;
        if (c.type) {
            ASSERT_TRUE(prepare(SharedObjects::Task(), c.id));
            auto* d = new DlgApptType(dlg);
            editor.reset(d);
            d->Form_Load();
            d->TxtType->setText(c.name);
            save = d->BtnTask[0], cancel = d->BtnTask[1];
        } else {
            ASSERT_TRUE(prepare(SharedObjects::Resource(), c.id));
            auto* d = new DlgResource(dlg);
            editor.reset(d);
            d->Form_Load();
            d->TxtResourceName->setText(c.name);
            for (int i = 1; i < c.copies; ++i) d->SpinCopies_Click(0);
            save = d->BtnGroup[0], cancel = d->BtnGroup[1];
        }
        editor->show();
        save->click();
        if (!c.taken) {
            EXPECT_TRUE(messages.isEmpty());
            EXPECT_NE(names(), before);
            continue;
        }
        const QString kind = c.type ? "appointment type" : "resource";
        EXPECT_EQ(messages,
                  QStringList{QString("Warning!: A%1 %2 named %3 already exists in this group. "
                                      "Names must differ in more than the case of the letters A "
                                      "to Z: the database ignores that case when it compares "
                                      "names, so it could not tell the two apart where one is "
                                      "found by name.")
                                  .arg(c.type ? "n" : "", kind, c.taken)});
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(names(), before);
        cancel->click();
    }
}
