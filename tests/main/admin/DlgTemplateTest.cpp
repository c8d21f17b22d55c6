#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>

#include "AdminFixture.h"
#include "ClsGroup.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "DlgTemplate.h"
#include "TestSupport.h"

namespace {

class DlgTemplateTest : public AdminFixture {
protected:
    void templates(const QByteArray& text) { WriteTestFile(folder.file("Groups.ini"), text); }
    void loadTemplate() {
        for (QAction* a : dlg->mnuResource->actions())
            if (a->text() == "&Load Group Template") a->trigger();
    }
    QStringList listed(const DlgTemplate& d) {
        QStringList names;
        for (int i = 0; i < d.CbGroup->count(); ++i) names << d.CbGroup->itemText(i);
        return names;
    }
};

const QByteArray kThree =
    "[Surgery]\nDayStart=420\nDayEnd=960\nInterval=10\nResources=2\n"
    "ResName001=Room 1\nResMin001=10\nResMax001=120\nResInit001=20\n"
    "ResName002=Room 2\n"
    "[Clinic]\nDayStart=480\n"
    "[Annex]\n";

}  // namespace

TEST_F(DlgTemplateTest, TheTemplatesAreListedInFileOrderWithTheFirstSelected) {
    templates(kThree);
    DlgTemplate dialog(dlg);
    dialog.Form_Load();
    EXPECT_EQ(dialog.windowTitle(), "Load Group Template");
    EXPECT_EQ(listed(dialog), (QStringList{"Surgery", "Clinic", "Annex"}));
    EXPECT_EQ(dialog.CbGroup->ListIndex(), 0);
    EXPECT_EQ(dialog.CbGroup->ItemData(2), 0);
}

TEST_F(DlgTemplateTest, WithoutATemplateFileLoadMakesNoGroup) {
    DlgTemplate dialog(dlg);
    dialog.Form_Load();
    EXPECT_EQ(dialog.CbGroup->count(), 0);
    EXPECT_FALSE(dialog.BtnTemplate[0]->isEnabled());
    dialog.BtnTemplate_Click(0);
    EXPECT_EQ(scalar("select count(*) from tblGroups"), 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    // A new installation has no template file: nothing to log.
    EXPECT_FALSE(folder.logText().contains("GetSectionNames"));
}

TEST_F(DlgTemplateTest, EachLoadMakesOneNewGroupWithItsResourcesAndShowsIt) {
    templates(kThree);
    when<DlgTemplate>([](DlgTemplate& d) { d.BtnTemplate[0]->click(); });
    loadTemplate();
    loadTemplate();
    EXPECT_EQ(column("select GroupName || ' ' || DayStart || '-' || DayEnd || ' ' || Interval "
                     "from tblGroups where GroupId > 1 order by GroupId"),
              (QStringList{"Surgery [2] 420-960 10", "Surgery [3] 420-960 10"}));
    EXPECT_EQ(column("select ResourceName || ' ' || MinTime || ' ' || MaxTime || ' ' || InitTime "
                     "from tblResources where GroupId = 3 order by ResourceId"),
              (QStringList{"Room 1 10 120 20", "Room 2 5 60 5"}));
    EXPECT_EQ(dlg->CbGroup->currentText(), "Surgery [3]");
    EXPECT_EQ(SharedObjects::Group().GroupId(), 3);
}

TEST_F(DlgTemplateTest, CancelMakesNothing) {
    templates(kThree);
    when<DlgTemplate>([](DlgTemplate& d) { d.BtnTemplate[1]->click(); });
    loadTemplate();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(scalar("select count(*) from tblGroups"), 1);
    EXPECT_EQ(dlg->CbGroup->currentText(), "Clinic");
}

// Another program holds the database: Load makes nothing, says so and stays open, the
// chart's group kept in the shared record; once it lets go, Load makes the group.
TEST_F(DlgTemplateTest, ALockedDatabaseMakesNoGroupAndTheDialogStaysOpen) {
    templates(kThree);
    SharedObjects::DAO().setBusyWaitMs(300);
    DlgTemplate dialog(dlg);
    dialog.Form_Load();
    dialog.show();
    auto held = std::make_unique<HeldDatabase>(folder, folder.file("Rostima.mdb"));
    SharedObjects::DAO().WaitAgain();
    dialog.BtnTemplate[0]->click();
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to load the group template!\r\n\r\nThe "
                                    "database is busy or cannot be written; nothing was saved."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(SharedObjects::Group().GroupName(), "Clinic");
    held.reset();
    dialog.BtnTemplate[0]->click();
    EXPECT_EQ(column("select GroupName from tblGroups"), (QStringList{"Clinic", "Surgery [2]"}));
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

// Not a word of the file's state would say there are no templates.
TEST_F(DlgTemplateTest, ATemplateFileThatCannotBeReadIsSaidSo) {
    ASSERT_TRUE(QDir().mkdir(folder.file("Groups.ini")));  // there, but no file to read
    DlgTemplate dialog(dlg);
    dialog.Form_Load();
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to list the group templates!\r\n\r\nThe "
                                    "template file " +
                                    folder.file("Groups.ini") + " cannot be read."});
    EXPECT_EQ(dialog.CbGroup->count(), 0);
    EXPECT_TRUE(folder.logText().contains("ClsIni.GetSectionNames: Error 75 on line 2"));
    EXPECT_FALSE(folder.logText().contains("File not found"));
}

// One that cannot be loaded whole is refused, naming the key and its value: no group is
// made, and the dialog stays open.
TEST_F(DlgTemplateTest, ATemplateThatCannotBeLoadedWholeIsRefusedWithItsValue) {
    templates("[Ward]\nResources=5\nResMin003=x\n");
    DlgTemplate dialog(dlg);
    dialog.Form_Load();
    dialog.show();
    dialog.BtnTemplate[0]->click();
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to load the group template!\r\n\r\n"
                                    "ResMin003=x: a duration is a whole number of minutes from 5 "
                                    "to 1440.\r\n\r\nNo group was made."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(scalar("select count(*) from tblGroups"), 1);
    EXPECT_EQ(scalar("select count(*) from tblResources"), 1);
}
