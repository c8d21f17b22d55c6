#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "ClsDAO.h"
#include "ClsIni.h"
#include "ContextIDs.h"
#include "DbFixture.h"
#include "DlgMain.h"
#include "DlgSplash.h"
#include "ModalHook.h"
#include "MsgBox.h"
#include "WebPage.h"

namespace {

const char* kVersion = "1.05.00";
const char* kTermsQuestion =
    "Confirm: Do you agree to the terms and conditions which have been explained on this form?";

// The main program's settings file and database in a temporary program folder.
class DlgSplashTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
        SharedObjects::Ini().setIniFile(folder.exeName() + ".ini");
        plat::SetMsgBoxHook([this](const QString& text, int, const QString& title) {
            messages << title + ": " + text;
            return answer;
        });
    }
    void TearDown() override {
        plat::SetMsgBoxHook(nullptr);
        plat::ModalHook::SetAnswererForTest(nullptr);
        plat::SetWebPageHook(nullptr);
        ContextIDs::CloseHelp();
        DbFixture::TearDown();
    }
    QString iniPath() const { return folder.file(folder.exeName() + ".ini"); }
    // "Section/Key=Value" each.
    void settings(const QStringList& entries) {
        QFile::remove(iniPath());
        ClsIni ini;
        ini.setIniFile(iniPath());
        for (const QString& e : entries)
            ini.WriteValue(e.section('/', 0, 0), e.section('/', 1).section('=', 0, 0),
                           e.section('=', 1));
    }
    QString setting(const QString& section, const QString& key) {
        ClsIni ini;
        ini.setIniFile(iniPath());
        return ini.GetValue(section, key, "<none>");
    }
    // Bookings 1 on day -1 and 2 on day 45000.
    void parkedBookings() {
        ASSERT_TRUE(dao().SqlActions(
            {"delete from tblBookings",
             "insert into tblBookings (BookingId, TaskId, BookingDate, BookingStart, BookingEnd, "
             "CustomerId, ResourceId) values (1, 1, -1, 540, 600, 0, 1)",
             "insert into tblBookings (BookingId, TaskId, BookingDate, BookingStart, BookingEnd, "
             "CustomerId, ResourceId) values (2, 1, 45000, 540, 600, 0, 1)"}));
    }
    int64_t dayOf(int bookingId) {
        return scalar(
            QString("select BookingDate from tblBookings where BookingId = %1").arg(bookingId));
    }
    int64_t today() const { return QDate(1900, 1, 1).daysTo(QDate::currentDate()); }

    QStringList messages;
    int answer = plat::vbYes;
};

}  // namespace

TEST_F(DlgSplashTest, TheFirstStartOfAVersionIsRecordedAndMovesTheParkedBookings) {
    struct Case {
        const char* name;
        QStringList settings;
        bool first;
    };
    const Case cases[] = {
        {"no settings", {}, true},
        {"never started", {"Config/FirstStart=0", "Config/VersionNo=1.05.00"}, true},
        {"older version", {"Config/FirstStart=1", "Config/VersionNo=1.04.00"}, true},
        {"version written otherwise", {"Config/FirstStart=1", "Config/VersionNo=1.5.0"}, true},
        {"this version", {"Config/FirstStart=1", "Config/VersionNo=1.05.00"}, false},
        {"start mark not a number", {"Config/FirstStart=yes", "Config/VersionNo=1.05.00"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings(c.settings + QStringList{"Options/Autoscroll=0"});
        parkedBookings();
        EXPECT_EQ(DlgSplash::IsNewVersion(), c.first);
        DlgSplash form;
        form.Form_Load();
        EXPECT_EQ(form.IsFirstStart(), c.first);
        EXPECT_FALSE(form.TermsAccepted());
        EXPECT_EQ(dayOf(2), 45000);
        if (c.first) {
            EXPECT_EQ(setting("Config", "FirstStart"), "1");
            EXPECT_EQ(setting("Config", "VersionNo"), kVersion);
            for (const char* option : {"DispCustomer", "PopupReminders", "Autoscroll"})
                EXPECT_EQ(setting("Options", option), "1") << option;
            EXPECT_EQ(dayOf(1), today());
            EXPECT_FALSE(DlgSplash::IsNewVersion());  // the next start is no first one
        } else {
            EXPECT_EQ(setting("Options", "Autoscroll"), "0");
            EXPECT_EQ(setting("Options", "DispCustomer"), "<none>");
            EXPECT_EQ(dayOf(1), -1);
        }
    }
}

TEST_F(DlgSplashTest, AFailedBookingUpdateLeavesTheVersionUnrecordedSoTheNextStartRepeatsIt) {
    settings({"Config/FirstStart=1", "Config/VersionNo=1.04.00"});
    parkedBookings();
    ASSERT_TRUE(
        dao().SqlAction("create trigger trgRefuse before update on tblBookings "
                        "begin select raise(abort, 'locked'); end"));
    {
        DlgSplash form;
        form.Form_Load();
        EXPECT_TRUE(form.IsFirstStart());
    }
    EXPECT_EQ(dayOf(1), -1);
    EXPECT_EQ(setting("Config", "VersionNo"), "1.04.00");
    EXPECT_EQ(setting("Options", "Autoscroll"), "<none>");
    EXPECT_TRUE(folder.logText().contains("the bookings of day -1 were not moved"));
    EXPECT_TRUE(DlgSplash::IsNewVersion());

    ASSERT_TRUE(dao().SqlAction("drop trigger trgRefuse"));
    DlgSplash again;
    again.Form_Load();
    EXPECT_TRUE(again.IsFirstStart());
    EXPECT_EQ(dayOf(1), today());
    EXPECT_EQ(setting("Config", "VersionNo"), kVersion);
}

TEST_F(DlgSplashTest, TheAgreementBoxFollowsTheRecordedAgreement) {
    struct Case {
        const char* stored;  // nullptr: no entry
        bool ticked;
        bool errorLine;
    };
    const Case cases[] = {{"1", true, false},
                          {"0", false, false},
                          {nullptr, false, false},
                          {"2", false, false},
                          {"x", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "none");
        QStringList entries{"Config/FirstStart=1", "Config/VersionNo=1.05.00"};
        if (c.stored) entries << QString("Startup/HasAgreedTerms=") + c.stored;
        settings(entries);
        QFile::remove(folder.file("Error" + QDate::currentDate().toString("yyyyMMdd") + ".txt"));
        DlgSplash form;
        form.ChkAgree->setChecked(true);
        form.Form_Load();
        EXPECT_EQ(form.ChkAgree->isChecked(), c.ticked);
        EXPECT_EQ(folder.logText().contains("Error in DlgSplash.Form_Load"), c.errorLine);
    }
}

// What the user does with the form, and what the program is told.
TEST_F(DlgSplashTest, ShownWhenNeededAndRefusingTheTermsEndsTheProgram) {
    enum class Act { Tick, Accept, AcceptYes, AcceptNo, Untick, CloseBox };
    struct Case {
        const char* name;
        const char* agreed;  // HasAgreedTerms before
        bool newVersion;
        Act act;
        bool shown;
        bool runs;
        const char* agreedAfter;
        bool asked;
    };
    const Case cases[] = {
        {"agreed, same version", "1", false, Act::Accept, false, true, "1", false},
        {"ticks and accepts", "0", false, Act::Tick, true, true, "1", false},
        {"accepts unticked, Yes", nullptr, false, Act::AcceptYes, true, true, "<none>", true},
        {"accepts unticked, No", nullptr, false, Act::AcceptNo, true, false, "<none>", true},
        {"agreed, new version", "1", true, Act::Accept, true, true, "1", false},
        {"agreed, new version, close box", "1", true, Act::CloseBox, true, true, "1", false},
        {"not agreed, close box", "0", false, Act::CloseBox, true, false, "0", false},
        {"withdraws an agreement", "1", true, Act::Untick, true, false, "0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList entries{"Config/FirstStart=1",
                            QString("Config/VersionNo=") + (c.newVersion ? "1.04.00" : kVersion)};
        if (c.agreed) entries << QString("Startup/HasAgreedTerms=") + c.agreed;
        settings(entries);
        messages.clear();
        bool shown = false;
        plat::ModalHook::SetAnswererForTest([&](QDialog& dialog) {
            shown = true;
            auto& form = dynamic_cast<DlgSplash&>(dialog);
            EXPECT_EQ(form.ChkAgree->isChecked(), QString(c.agreed) == "1");
            if (c.act == Act::CloseBox) return int(QDialog::Rejected);
            if (c.act == Act::Tick) form.ChkAgree->setChecked(true);
            if (c.act == Act::AcceptYes || c.act == Act::AcceptNo || c.act == Act::Untick)
                form.ChkAgree->setChecked(false);
            answer = c.act == Act::AcceptYes ? plat::vbYes : plat::vbNo;
            form.BtnSplash[0]->click();
            return form.result();
        });
        bool firstStart = !c.newVersion;
        EXPECT_EQ(DlgSplash::ShowIfNeeded(nullptr, &firstStart), c.runs);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(firstStart, c.newVersion);
        EXPECT_EQ(setting("Startup", "HasAgreedTerms"), c.agreedAfter);
        EXPECT_EQ(messages, c.asked ? QStringList{kTermsQuestion} : QStringList());
    }
}

TEST_F(DlgSplashTest, ShowsTheVersionOpensHelpAndLinksToOurWebSite) {
    QStringList opened;
    plat::SetWebPageHook([&](const QString& url) {
        opened << url;
        return true;
    });
    DlgSplash form;
    form.Form_Load();
    EXPECT_EQ(form.LblVersion->text(), "");
    form.show();
    EXPECT_EQ(form.LblVersion->text(), "Version 1.05.00");
    form.BtnSplash[2]->click();
    EXPECT_EQ(ContextIDs::ShownContext(), ContextIDs::IDH_ABOUT);
    EXPECT_TRUE(form.isVisible());
    const QString link = form.Jumplet1->text();
    EXPECT_TRUE(link.contains(">Visit the Tolvern web site!<"));
    emit form.Jumplet1->linkActivated(link.section('"', 1, 1));
    EXPECT_EQ(opened, QStringList{DlgMain::WebAddress()});
}
