#pragma once
#include <gtest/gtest.h>

#include <optional>

#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsIni.h"
#include "DlgMain.h"
#include "EventYield.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "MsgBox.h"
#include "SharedObjects.h"
#include "TestSupport.h"

// A program folder with a database and the program's settings file, for a workstation
// that agreed to the terms of this version already; message boxes are answered with
// `answer` and recorded as "title: text". start() loads and shows the main window.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ClsDAO::CreateDatabase(folder.file("Rostima.mdb")));
        ini.setIniFile(folder.file(folder.exeName() + ".ini"));
        ini.WriteValue("Startup", "HasAgreedTerms", 1);
        ini.WriteValue("Config", "FirstStart", 1);
        ini.WriteValue("Config", "VersionNo", ModMain::VersionNumber());
        plat::SetMsgBoxHook([this](const QString& text, int, const QString& title) {
            messages << title + ": " + text;
            return answer;
        });
    }
    void TearDown() override {
        if (dlg) {
            dlg->Closing = true;
            dlg->Timer1_Timer();  // unloads through the program's own close path
            delete dlg;
        }
        plat::ModalHook::SetAnswererForTest(nullptr);
        plat::SetMsgBoxHook(nullptr);
        CalendarState::setCalDate(0);
    }
    bool start() {
        dlg = new DlgMain;
        const bool ok = dlg->Form_Load();
        if (ok) dlg->show();
        return ok;
    }
    // Writes rows with a connection of the test's own, as another workstation would.
    void sql(const QStringList& statements) {
        ClsDAO other;
        ASSERT_EQ(other.DbOpen(folder.file("Rostima.mdb")), 0);
        ASSERT_TRUE(other.SqlActions(statements));
        other.DbClose();
    }
    void setting(const QString& section, const QString& key, const QString& value) {
        ini.WriteValue(section, key, value);
    }
    QString setting(const QString& section, const QString& key) {
        return ini.GetValue(section, key, "<none>");
    }

    // Another program holds the database from now until release() or the end of the
    // scope, with the busy wait shortened; the user's next command waits for it again.
    class HeldByAnother {
    public:
        explicit HeldByAnother(const TempProgramFolder& folder, int waitMs = 300) {
            SharedObjects::DAO().setBusyWaitMs(waitMs);
            m_held.emplace(folder, folder.file("Rostima.mdb"));
            SharedObjects::DAO().WaitAgain();
        }
        ~HeldByAnother() {
            release();
            SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
        }
        HeldByAnother(const HeldByAnother&) = delete;
        HeldByAnother& operator=(const HeldByAnother&) = delete;
        void release() { m_held.reset(); }

    private:
        std::optional<HeldDatabase> m_held;
    };
    // Shows a window the user opened and lets its first activation run inside the yield of
    // a tick that reads on its own; the tick's scope is back afterwards.
    static void showInsideATick(QWidget& window) {
        window.show();
        const ModMain::Unattended tick;
        EventYield::Run();
        EXPECT_TRUE(ModMain::Unattended::Active());
    }

    TempProgramFolder folder;
    ClsIni ini;
    DlgMain* dlg = nullptr;
    QStringList messages;
    int answer = plat::vbOK;
};
