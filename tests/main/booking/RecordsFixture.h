#pragma once
#include <QStringList>

#include "DbFixture.h"
#include "ModalHook.h"
#include "MsgBox.h"

// A database of two groups, "Clinic" (id 1, 30-minute slots) and "Lab" (id 2, 15-minute
// slots), opened on the program's shared database object; message boxes are answered
// OK and recorded as "title: text".
class RecordsFixture : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
        ASSERT_TRUE(
            dao().SqlActions({"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
                              "values ('Clinic', 480, 1080, 30)",
                              "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
                              "values ('Lab', 420, 960, 15)"}));
        plat::SetMsgBoxHook([this](const QString& text, int, const QString& title) {
            messages << title + ": " + text;
            return plat::vbOK;
        });
    }
    void TearDown() override {
        plat::SetMsgBoxHook(nullptr);
        plat::ModalHook::SetAnswererForTest(nullptr);
        DbFixture::TearDown();
    }
    // Makes every insert into the table fail, as a full disk or a broken file would.
    void failInserts(const QString& table) {
        ASSERT_TRUE(dao().SqlAction("create trigger fail_" + table + " before insert on " + table +
                                    " begin select raise(abort, 'refused'); end"));
    }

    QStringList messages;
};
