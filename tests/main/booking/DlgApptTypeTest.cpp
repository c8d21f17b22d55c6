#include <QApplication>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ClassFactory.h"
#include "ClsDate.h"
#include "ClsTask.h"
#include "ColourPickerHost.h"
#include "DlgApptType.h"
#include "Nudgel.h"
#include "ObjectCreator.h"
#include "PaletteGeometry.h"
#include "RecordsFixture.h"
#include "SharedObjects.h"

namespace {

// The type "Visit" (id 1) of the Clinic (30-minute slots): 30 to 600 minutes, 60 at first.
class DlgApptTypeTest : public RecordsFixture {
protected:
    void SetUp() override {
        RecordsFixture::SetUp();
        ASSERT_TRUE(dao().SqlAction(
            "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
            "values (1, 'Visit', 255, 30, 600, 60)"));
        ASSERT_EQ(task.Load(1), Loaded::Row);
    }
    void TearDown() override {
        plat::ObjectCreator::FreeUnusedLibraries();
        RecordsFixture::TearDown();
    }
    // The colour picker registered in this program folder, as the build does beside the
    // program.
    void registerPicker() {
        QLibrary lib(TINTORA_LIBRARY);
        ASSERT_TRUE(lib.load()) << lib.errorString().toStdString();
        auto reg = reinterpret_cast<plat::DllServerFn>(lib.resolve("DllRegisterServer"));
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), plat::kOk);
    }
    QString times(const DlgApptType& form) {
        return form.LblMin->text() + " " + form.LblMax->text() + " " + form.LblInit->text();
    }

    ClsTask& task = SharedObjects::Task();
};

}  // namespace

TEST_F(DlgApptTypeTest, SpinsStepBySlotsAndKeepTheDurationsBetweenOneSlotAndTheWholeDay) {
    enum Spin { Min, Max, Init };
    struct Case {
        const char* name;
        int16_t min, max, init;
        Spin spin;
        int16_t direction;  // 0 = up
        const char* shown;  // minimum, maximum, initial
    } cases[] = {
        {"initial up", 30, 600, 60, Init, 0, "00:30 10:00 01:30"},
        {"initial stops at the maximum", 30, 600, 600, Init, 0, "00:30 10:00 10:00"},
        {"initial stops at the minimum", 60, 600, 60, Init, 1, "01:00 10:00 01:00"},
        {"minimum never below one slot", 30, 600, 60, Min, 1, "00:30 10:00 01:00"},
        {"minimum past the maximum pulls the initial up", 600, 600, 60, Min, 0,
         "10:00 10:00 10:00"},
        {"maximum never beyond the day", 30, 1440, 60, Max, 0, "00:30 24:00 01:00"},
        {"maximum stops at the minimum and pulls the initial down", 90, 100, 100, Max, 1,
         "01:30 01:30 01:30"},
        {"maximum down pulls the initial down", 30, 120, 120, Max, 1, "00:30 01:30 01:30"},
    };
    for (const Case& c : cases) {
        task.setMinTime(c.min);
        task.setMaxTime(c.max);
        task.setInitTime(c.init);
        DlgApptType form;
        form.Form_Load();
        plat::Nudgel* spin = c.spin == Min   ? form.SpinMin
                             : c.spin == Max ? form.SpinMax
                                             : form.SpinInit;
        spin->press(c.direction == 0 ? plat::Nudgel::Arrow::Forward : plat::Nudgel::Arrow::Back);
        EXPECT_EQ(times(form), c.shown) << c.name;
        EXPECT_EQ(SharedObjects::Date().MilitaryTime(task.InitTime()), form.LblInit->text())
            << c.name;
    }
}

TEST_F(DlgApptTypeTest, TheStepIsTheSlotLengthOfTheTypesOwnGroup) {
    ASSERT_EQ(task.setGroupId(2), Loaded::Row);  // the record last served the Lab (15 min)
    ASSERT_EQ(task.Load(1), Loaded::Row);
    DlgApptType form;
    form.Form_Load();
    form.SpinInit->press(plat::Nudgel::Arrow::Forward);
    EXPECT_EQ(task.InitTime(), 90);
    // A step that cannot be read: each press says that its time was not changed, and none is.
    ASSERT_TRUE(dao().SqlAction("alter table tblGroups rename to tblAway"));
    DlgApptType unread;
    unread.Form_Load();
    for (const auto& [name, spin] :
         {std::pair{"minimum", unread.SpinMin}, std::pair{"maximum", unread.SpinMax},
          std::pair{"initial", unread.SpinInit}}) {
        messages.clear();
        dao().WaitAgain();  // each press is a command of its own
        spin->press(plat::Nudgel::Arrow::Forward);
        EXPECT_EQ(messages, QStringList{"Warning!: Unable to change the " + QString(name) +
                                        " time!\r\n\r\nThe database is busy or cannot be "
                                        "read; nothing was changed."});
    }
    EXPECT_EQ(times(unread), "00:30 10:00 01:30");
}

TEST_F(DlgApptTypeTest, TheColourIsPickedThroughTheRegisteredControlAndSaved) {
    registerPicker();
    DlgApptType form;
    ASSERT_TRUE(form.ColourPick->Available());
    form.Form_Load();
    form.show();
    form.BtnColour->click();
    QWidget* palette = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (QByteArray(w->metaObject()->className()) == "CPaletteWnd" && w->isVisible())
            palette = w;
    ASSERT_NE(palette, nullptr);
    QTest::mouseClick(palette->windowHandle(), Qt::LeftButton, {},
                      PaletteGeometry::CellRect(14).center());
    EXPECT_EQ(task.Colour(), 0x0080FF);  // the third orange
    EXPECT_EQ(form.BtnColour->property("Colour").toUInt(), 0x0080FFu);
    form.TxtType->setText(" Check-up ");
    form.BtnTask[0]->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(scalar("select count(*) from tblTasks where TaskId = 1 and Colour = 33023 and "
                     "TaskName = 'Check-up'"),
              1);
}

TEST_F(DlgApptTypeTest, CancelEmptiesTheRecordAndAFailedSaveIsReportedWithTheDialogOpen) {
    {
        DlgApptType form;
        form.Form_Load();
        form.ColourPick_ColorClick(0xFF0000, 38);
        form.BtnTask[1]->click();
    }
    EXPECT_EQ(task.TaskId(), 0);
    EXPECT_EQ(task.Colour(), ClsTask::kDefaultColour);
    EXPECT_EQ(scalar("select Colour from tblTasks where TaskId = 1"), 255);

    task.InitBfr();
    ASSERT_EQ(task.setGroupId(1), Loaded::Row);
    failInserts("tblTasks");
    DlgApptType form;
    form.Form_Load();
    form.show();
    form.TxtType->setText("X-ray");
    form.BtnTask[0]->click();
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to save appointment type!\r\n\r\nThe "
                                    "database is busy or cannot be written; nothing was saved."});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(task.TaskId(), 0);
}

TEST_F(DlgApptTypeTest, WithoutTheRegisteredPickerTheColourButtonOnlyLogs) {
    DlgApptType form;
    form.Form_Load();
    form.BtnColour->click();
    EXPECT_FALSE(form.ColourPick->Available());
    EXPECT_EQ(task.Colour(), 255);
    EXPECT_TRUE(folder.logText().contains("Error in DlgApptType.Form_Load: "));
    EXPECT_TRUE(folder.logText().contains("Error in DlgApptType.BtnColour_Click"));
}
