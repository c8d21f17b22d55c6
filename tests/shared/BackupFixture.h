#pragma once
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRegularExpression>
#include <functional>

#include "ClsDate.h"
#include "ComboBox.h"
#include "DbFixture.h"
#include "DlgRestore.h"

inline int32_t day(int y, int m, int d) { return SharedObjects::Date().DateToLong(QDate(y, m, d)); }

// A host that also notes whether its input was off whenever a progress panel was set.
class RecordingHost : public FakeHost {
public:
    bool inputOffWhileWorking = true;
    std::function<void()> onPanel;
    void SetPanelText(const QString& key, const QString& text) override {
        FakeHost::SetPanelText(key, text);
        if (!text.isEmpty()) inputOffWhileWorking = inputOffWhileWorking && !input;
        if (onPanel) onPanel();
    }
};

// A program folder with its database open, for the backup and the restore.
class BackupTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        SharedObjects::SetHost(&host);
        open();
    }

    QString backupFile(const QString& name = "20260301.txt") const {
        return ClsDAO::BackupFolder() + "/" + name;
    }

    // Two groups sharing a customer, bookings with and without one, and one whose customer
    // is not of its group, texts with apostrophes, "~" and line breaks, a booking of a
    // series, and an empty group.
    void seed() {
        const int32_t d = day(2026, 3, 3);
        ASSERT_TRUE(dao().SqlActions({
            "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
            "('Clinic', 480, 1080, 15), ('Annex', 540, 720, 30), ('Zed', 0, 1440, 5)",
            "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) "
            "values (1, 'Dr O''Hara', 15, 120, 30), (1, 'Alpha', 15, 600, 15), "
            "(2, 'Desk ~2', 30, 180, 30)",
            "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) "
            "values (1, 'Check~up', 65280, 10, 60, 20), (2, 'Visit', -2147483643, 30, 90, 30)",
            "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
            "('Ann', 'r1', '', 'r''3'), ('Bob O''Neil', 'line' || char(10) || 'break', "
            "'a~b', '')",
            "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1), (1, 2), (2, 1)",
            "insert into tblRepeats (SerialNo) values ('0')",
            QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                    "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) values "
                    "(1, %1, 540, 600, 1, 1, 1, 'a', 'b', 'c', 'it''s' || char(13) || char(10) "
                    "|| 'fine ~ ok'), (1, %1, 600, 660, 0, 1, 0, '', '', '', ''), "
                    "(1, %2, 540, 560, 2, 2, 0, '', '', '', 'x'), "
                    "(2, %1, 600, 630, 1, 3, 0, 'Ann''s', '', '', ''), "
                    "(2, %2, 600, 630, 2, 3, 0, '', '', '', 'Bob in the Annex')")
                .arg(d)
                .arg(d + 1),
        }));
    }

    // The scheduling data by names, not ids, one sorted line a row: what a backup
    // carries. A booking without a customer shows "(none)".
    QStringList content() {
        QStringList rows;
        auto add = [&](const QString& kind, const QString& sql) {
            auto rs = dao().SqlQuery(sql);
            ASSERT_NE(rs, nullptr) << sql.toStdString();
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList fields{kind};
                for (int c = 0; c < rs->FieldCount(); ++c) fields << rs->Field(c).toString();
                rows << fields.join('|');
            }
        };
        add("G", "select GroupName, DayStart, DayEnd, Interval from tblGroups");
        add("R",
            "select g.GroupName, r.ResourceName, r.MinTime, r.MaxTime, r.InitTime from "
            "tblResources r join tblGroups g on g.GroupId = r.GroupId");
        add("T",
            "select g.GroupName, t.TaskName, t.Colour, t.MinTime, t.MaxTime, t.InitTime from "
            "tblTasks t join tblGroups g on g.GroupId = t.GroupId");
        add("C",
            "select g.GroupName, c.CustomerName, c.Ref01, c.Ref02, c.Ref03 from tblCustomers c "
            "join tblCustomerGroups l on l.CustomerId = c.CustomerId join tblGroups g on "
            "g.GroupId = l.GroupId");
        add("A",
            "select g.GroupName, r.ResourceName, t.TaskName, case when b.CustomerId = 0 then "
            "'(none)' else c.CustomerName end, b.BookingDate, b.BookingStart, b.BookingEnd, "
            "b.Ref01, b.Ref02, b.Ref03, b.Comments from tblBookings b join tblResources r on "
            "r.ResourceId = b.ResourceId join tblGroups g on g.GroupId = r.GroupId join "
            "tblTasks t on t.TaskId = b.TaskId left join tblCustomers c on c.CustomerId = "
            "b.CustomerId");
        rows.sort();
        return rows;
    }

    // Makes the restore dialog's choice as a user would: the file, bookings or not.
    void choose(const QString& name, bool withBookings) {
        DlgRestore dlg;
        const int i = dlg.CbFile->findText(name);
        ASSERT_GE(i, 0) << name.toStdString();
        dlg.CbFile->SetListIndex(i);
        dlg.Check1->setChecked(withBookings);
        dlg.BtnRestore_Click(0);
        ASSERT_EQ(DlgRestore::BackupFile(), backupFile(name));
    }

    RecordingHost host;
};

using ClsDAOBackup = BackupTest;
