#include <gtest/gtest.h>

#include "DbFixture.h"

namespace {

const QStringList kSetUpTriggers = {
    "trgGroupsInsert",    "trgGroupsUpdate",    "trgGroupsDelete",
    "trgResourcesInsert", "trgResourcesUpdate", "trgResourcesDelete",
    "trgTasksInsert",     "trgTasksUpdate",     "trgTasksDelete"};

// The database file as a program made before the set-up tables moved the change stamp.
class OlderFile : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        QStringList drops;
        for (const QString& t : kSetUpTriggers) drops << "drop trigger " + t;
        ASSERT_TRUE(other(drops));
    }
    // Writes through a connection of its own, as another workstation does.
    bool other(const QStringList& statements) {
        ClsDAO db;
        const bool ok = db.DbOpen(dbPath()) == 0 && db.SqlActions(statements);
        db.DbClose();
        return ok;
    }
};

}  // namespace

TEST_F(OlderFile, GetsTheMissingTriggersWhenOpenedAndThenNoticesSetUpChanges) {
    open();
    EXPECT_EQ(scalar("select count(*) from sqlite_master where type = 'trigger'"), 12);
    for (const char* change : {"insert into tblGroups (GroupName) values ('Annex')",
                               "update tblGroups set GroupName = 'Clinic'",
                               "insert into tblResources (GroupId, ResourceName) values (1, 'Ann')",
                               "delete from tblResources",
                               "insert into tblTasks (GroupId, TaskName) values (1, 'Visit')"}) {
        ASSERT_TRUE(other({change}));
        EXPECT_EQ(dao().DbUpdated(), true) << change;
        EXPECT_EQ(dao().DbUpdated(), false) << change;
    }
}

TEST_F(OlderFile, ThatCannotTakeThemStillOpens) {
    ASSERT_TRUE(other({"drop table tblTasks"}));  // a trigger on it cannot be made
    open();
    EXPECT_EQ(scalar("select count(*) from tblGroups"), 0);
    EXPECT_TRUE(folder.logText().contains("Change triggers not added"));
}
