#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "ClsDAO.h"
#include "ContextIDs.h"
#include "DbFixture.h"
#include "DlgAbout.h"
#include "ModalHook.h"
#include "WebPage.h"

namespace {

class DlgAboutTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        plat::SetWebPageHook([this](const QString& url) {
            opened << url;
            return true;
        });
    }
    void TearDown() override {
        plat::SetWebPageHook(nullptr);
        plat::ModalHook::SetAnswererForTest(nullptr);
        ContextIDs::CloseHelp();
        DbFixture::TearDown();
    }
    QStringList opened;
};

}  // namespace

TEST_F(DlgAboutTest, ShowsTheVersionAndTheUsersOfTheDatabase) {
    open();
    {
        DlgAbout box;
        box.Form_Load();
        EXPECT_EQ(box.LblVersion->text(), "Version 1.05.00");
        EXPECT_EQ(box.LblVersion->toolTip(), "");
        EXPECT_EQ(box.LblUsers->text(), "1");
        EXPECT_EQ(box.Frame2->title(), "Users");
        EXPECT_EQ(box.Frame1->height(), 3135 / 15);
        EXPECT_EQ(box.height(), (3135 + 330) / 15);
    }
    ClsDAO otherProgram;
    ASSERT_EQ(otherProgram.DbOpen(dbPath()), 0);
    DlgAbout box;
    box.Form_Load();
    EXPECT_EQ(box.LblUsers->text(), "2");
}

TEST_F(DlgAboutTest, AUserCountThatFailedShowsThisProgramAlone) {
    const std::pair<int32_t, const char*> cases[] = {{-1, "1"}, {0, "1"}, {1, "1"}, {12, "12"}};
    for (const auto& [count, shown] : cases) EXPECT_EQ(DlgAbout::UsersText(count), shown) << count;
    DlgAbout box;  // no database open
    box.Form_Load();
    EXPECT_EQ(box.LblUsers->text(), "1");
}

TEST_F(DlgAboutTest, CentredOverTheMainWindowItsButtonsOpenTheUpgradePageAndHelpAndClose) {
    EXPECT_EQ(DlgAbout::UpgradeAddress("2.10.03"),
              "https://www.rostima.example/CheckUpgrade.asp?Product=Rostima&Version=2.10.03");
    int result = -1;
    plat::ModalHook::SetAnswererForTest([&](QDialog& dialog) {
        auto& box = dynamic_cast<DlgAbout&>(dialog);
        EXPECT_EQ(box.LblVersion->text(), "Version 1.05.00");  // loaded before it shows
        EXPECT_EQ(box.pos(), QPoint(100 + 400 - box.width() / 2, 100 + 300 - box.height() / 2));
        box.show();
        box.BtnAbout[1]->click();
        box.BtnAbout[2]->click();
        EXPECT_EQ(ContextIDs::ShownContext(), ContextIDs::IDH_ABOUT);
        EXPECT_TRUE(box.isVisible());
        box.BtnAbout[0]->click();
        EXPECT_FALSE(box.isVisible());
        return result = box.result();
    });
    QWidget main;
    main.setObjectName("DlgMain");
    main.setGeometry(100, 100, 800, 600);
    DlgAbout::ShowModal(&main);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(opened,
              QStringList{
                  "https://www.rostima.example/CheckUpgrade.asp?Product=Rostima&Version=1.05.00"});
}
