#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <optional>

#include "AdminFixture.h"
#include "ClsGroup.h"
#include "ComboBox.h"
#include "DlgConfig.h"
#include "DlgMain.h"
#include "DlgTemplate.h"
#include "KeyedToolbar.h"
#include "Plexaro.h"

namespace {

class AdminCommandsTest : public AdminFixture {
protected:
    // Runs the menu-bar entry with that text.
    void menu(const QString& text) {
        for (QAction* top : dlg->menuBar()->actions())
            if (QMenu* m = top->menu())
                for (QAction* a : m->actions())
                    if (a->text() == text) return a->trigger();
        ADD_FAILURE() << "no menu entry " << qPrintable(text);
    }
};

}  // namespace

TEST_F(AdminCommandsTest, TheSetUpEntriesRefuseWithoutTheirSelection) {
    const struct {
        const char* entry;
        bool noGroups;
        const char* message;
    } cases[] = {
        {"Ne&w Resource", true, "Error!: No group selected!"},
        {"Edi&t Resource", false, "Warning!: No resource selected!"},
        {"&Edit Group", true, "Warning!: Unable to edit group!"},
    };
    for (const auto& c : cases) {
        if (c.noGroups) {
            sql({"delete from tblGroups"});
            dlg->ShowGroups(0);
        }
        dlg->Sched->setSelectedRow(-1);
        messages.clear();
        menu(c.entry);
        EXPECT_EQ(messages, QStringList{c.message}) << c.entry;
        EXPECT_EQ(shown, 0) << c.entry;
    }
}

TEST_F(AdminCommandsTest, AGroupSavedAsATemplateLoadsAsANewGroupWithItsResources) {
    menu("&Save Group Template");
    EXPECT_EQ(messages, QStringList{"Saved!: Group saved!"});
    when<DlgTemplate>([](DlgTemplate& d) {
        EXPECT_EQ(d.CbGroup->currentText(), "Clinic");
        d.BtnTemplate[0]->click();
    });
    menu("&Load Group Template");
    EXPECT_EQ(column("select GroupName || ' ' || DayStart || '-' || DayEnd || ' ' || Interval "
                     "from tblGroups order by GroupId"),
              (QStringList{"Clinic 480-1020 15", "Clinic [2] 480-1020 15"}));
    EXPECT_EQ(column("select ResourceName || ' ' || MaxTime from tblResources where GroupId = 2"),
              QStringList{"Anna 540"});
    EXPECT_EQ(dlg->Sched->rowText(1), "Anna");
    EXPECT_TRUE(dlg->Toolbar1->isButtonEnabled("Group"));
}

TEST_F(AdminCommandsTest, TheConfigurationEntryShowsTheDialogWithTheToolbarOff) {
    bool toolbarOff = false;
    when<DlgConfig>([&](DlgConfig& d) {
        toolbarOff = !dlg->Toolbar1->isButtonEnabled("Config");
        d.Toolbar1->press("Exit");
    });
    menu("&Configuration");
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(toolbarOff);
    EXPECT_TRUE(dlg->Toolbar1->isButtonEnabled("Config"));
    EXPECT_EQ(dlg->CbGroup->currentText(), "Clinic");
}

// Another program holds the database: an editor whose record cannot be read is not opened,
// which is told; nor is the chart's group after the group editor, which the next tick
// reads again.
TEST_F(AdminCommandsTest, TheSetUpEditorsOpenOnlyOnWhatTheyCouldRead) {
    const QStringList notRead{QString("Warning!: ") + ModMain::kNotRead};
    std::optional<HeldDatabase> held;
    auto hold = [&] {
        held.emplace(folder, folder.file("Rostima.mdb"));
        SharedObjects::DAO().WaitAgain();
    };
    SharedObjects::DAO().setBusyWaitMs(300);
    dlg->Sched->setSelectedRow(1);
    for (const char* entry : {"Ne&w Resource", "Edi&t Resource", "&Edit Group"}) {
        messages.clear();
        hold();
        menu(entry);
        held.reset();
        EXPECT_TRUE(messages.size() == 1 && messages[0].endsWith("nothing was opened.")) << entry;
    }
    EXPECT_EQ(shown, 0);
    when<QDialog>([&](QDialog& d) { hold(), d.reject(); });
    messages.clear();
    menu("&Edit Group");
    EXPECT_EQ(messages, notRead);
    held.reset();
    dlg->Timer1_Timer();
    EXPECT_EQ(SharedObjects::Group().GroupName(), "Clinic");
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
