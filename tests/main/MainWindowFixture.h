#pragma once
#include <gtest/gtest.h>

#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsIni.h"
#include "DlgMain.h"
#include <QAction>
#include <QCoreApplication>

#include "EventYield.h"
#include "KeyedToolbar.h"
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

    struct HeldByAnother : HeldDatabase {  // until released; the next command waits 300 ms
        explicit HeldByAnother(const TempProgramFolder& f)
            : HeldDatabase(f, f.file("Rostima.mdb")) {
            SharedObjects::DAO().setBusyWaitMs(300);
            SharedObjects::DAO().WaitAgain();
        }
        ~HeldByAnother() { SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs); }
    };
    // The toolbar's button of that text.
    QWidget& toolButton(const QString& text) {
        for (QAction* action : dlg->Toolbar1->actions())
            if (action->text() == text) return *dlg->Toolbar1->widgetForAction(action);
        ADD_FAILURE() << "no button " << text.toStdString();
        return *dlg->Toolbar1;
    }
    static void showAndActivate(QWidget& window) {
        window.show();
        QCoreApplication::processEvents();  // its first activation, from the event loop
    }
    TempProgramFolder folder;
    ClsIni ini;
    DlgMain* dlg = nullptr;
    QStringList messages;
    int answer = plat::vbOK;
};
