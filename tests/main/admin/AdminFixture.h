#pragma once
#include <gtest/gtest.h>

#include <QDialog>
#include <QLibrary>
#include <functional>

#include "../MainWindowFixture.h"
#include "ClassFactory.h"
#include "ClsDAO.h"
#include "HResult.h"
#include "ModalHook.h"
#include "ObjectCreator.h"
#include "SharedObjects.h"

// The main window on a group "Clinic" (08:00 to 17:00, 15-minute slots) with the resource
// "Anna", the appointment type "Visit" and the customer "Smith", the colour picker
// registered in the program folder. A dialog of type D that the program shows is handed
// to the function given to when<D>(), shown as exec() would show it, and its result is
// what the function left.
class AdminFixture : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        answer = plat::vbYes;
        sql(
            {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
             "values ('Clinic', 480, 1020, 15)",
             "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
             "values (1, 'Anna', 15, 540, 15)",
             "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
             "values (1, 'Visit', 255, 15, 540, 15)",
             "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
             "values ('Smith', '', '', '')"});
        setting("Group", "CbGroup", "1");
        registerPicker();
        plat::ModalHook::SetAnswererForTest([this](QDialog& d) {
            d.show();
            if (m_work) m_work(d);
            const int result = d.result();
            d.hide();
            ++shown;
            return result;
        });
        ASSERT_TRUE(start());
    }
    void TearDown() override {
        m_work = nullptr;
        MainWindowFixture::TearDown();
        plat::ObjectCreator::FreeUnusedLibraries();
    }
    template <typename D>
    void when(std::function<void(D&)> work) {
        m_work = [work](QDialog& d) {
            if (auto* dialog = qobject_cast<D*>(&d)) work(*dialog);
        };
    }
    void registerPicker() {
        QLibrary lib(TINTORA_LIBRARY);
        ASSERT_TRUE(lib.load()) << qPrintable(lib.errorString());
        auto reg = reinterpret_cast<plat::DllServerFn>(lib.resolve("DllRegisterServer"));
        ASSERT_TRUE(reg && reg() == plat::kOk);
    }
    // First column of the first row, or -1.
    int64_t scalar(const QString& query) {
        auto rs = SharedObjects::DAO().SqlQuery(query);
        return rs && !rs->Eof() ? rs->Field(0).toLong() : -1;
    }
    QString text(const QString& query) {
        auto rs = SharedObjects::DAO().SqlQuery(query);
        return rs && !rs->Eof() ? rs->Field(0).toString() : "<none>";
    }
    QStringList column(const QString& query) {
        QStringList out;
        auto rs = SharedObjects::DAO().SqlQuery(query);
        for (; rs && !rs->Eof(); rs->MoveNext()) out << rs->Field(0).toString();
        return out;
    }

    int shown = 0;  // dialogs shown so far

private:
    std::function<void(QDialog&)> m_work;
};
