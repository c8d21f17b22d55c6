#include <gtest/gtest.h>

#include <QCheckBox>

#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsGroup.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "ComboBox.h"
#include "DbFixture.h"
#include "DlgRestore.h"

namespace {
// What users type that a statement built as text would bend: placeholders of a text
// formatter, quotes, statement ends, comments, the backup's field mark, line breaks,
// letters beyond Latin and a very long text.
struct Text {
    const char* what;
    QString text;
};
const Text kTexts[] = {
    {"percent one", "discount %1"},
    {"percent nine and three", "code %9 %3"},
    {"apostrophe", "O'Brien"},
    {"two apostrophes", "''"},
    {"semicolon", "a; delete from tblBookings"},
    {"comment", "x -- y"},
    {"tilde", "Bay~2"},
    {"line breaks", "first\r\nsecond\nthird"},
    {"non-Latin", QString::fromUtf8("Zo\u00eb \u017b\u00f3\u0142\u0107 \u03a9 \u6771\u4eac")},
    {"ten thousand characters", QString("ab%1'").repeated(2000)},
};

class UsersTexts : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
    }
    int32_t id(const QString& sql, const SqlValues& values) {
        auto rs = dao().SqlQuery(sql, values);
        return rs && !rs->Eof() ? rs->Field(0).toInt() : 0;
    }
};
}  // namespace

// Each text as a name, a reference and a comment of every record class: saved, found by
// name, updated to another such text and read back exactly, then backed up and restored
// exactly, with every booking on its own resource, type and customer again.
TEST_F(UsersTexts, AreSavedFoundUpdatedAndRestoredExactlyByEveryRecordClass) {
    ClsGroup group;
    ClsResource resource;
    ClsTask task;
    ClsCustomer customer;
    ClsBooking booking;
    for (const Text& c : kTexts) {
        SCOPED_TRACE(c.what);
        const QString t = c.text;
        const QString u = "%2 " + t + " %1";  // the update's text

        group.InitBfr();
        group.setGroupName(t);
        const int32_t gid = group.Save();
        ASSERT_NE(gid, 0);
        ASSERT_EQ(group.Load(gid), Loaded::Row);
        EXPECT_EQ(group.GroupName(), t);
        group.setGroupName(u);
        EXPECT_EQ(group.Save(), gid);
        ASSERT_EQ(group.Load(gid), Loaded::Row);
        EXPECT_EQ(group.GroupName(), u);

        resource.InitBfr();
        ASSERT_EQ(resource.setGroupId(gid), Loaded::Row);
        resource.setResourceName(t);
        const int32_t rid = resource.Save();
        task.InitBfr();
        ASSERT_EQ(task.setGroupId(gid), Loaded::Row);
        task.setTaskName(t);
        const int32_t tid = task.Save();
        ASSERT_TRUE(rid && tid);
        ASSERT_EQ(resource.LoadByName(t, gid), Loaded::Row);
        ASSERT_EQ(task.LoadByName(t, gid), Loaded::Row);
        EXPECT_EQ(resource.ResourceId(), rid);
        EXPECT_EQ(task.TaskId(), tid);
        resource.setResourceName(u);
        task.setTaskName(u);
        EXPECT_EQ(resource.Save(), rid);
        EXPECT_EQ(task.Save(), tid);
        ASSERT_EQ(resource.LoadByName(u, gid), Loaded::Row);
        ASSERT_EQ(task.LoadByName(u, gid), Loaded::Row);
        EXPECT_EQ(resource.ResourceName(), u);
        EXPECT_EQ(task.TaskName(), u);

        customer.InitBfr();
        customer.setCustomerName(t);
        customer.setRef01(t + "1");
        customer.setRef02(t + "2");
        customer.setRef03(t + "3");
        const int32_t cid = customer.Save();
        ASSERT_NE(cid, 0);
        ASSERT_TRUE(dao().SqlAction("insert into tblCustomerGroups (CustomerId, GroupId) "
                                    "values (?, ?)",
                                    {cid, gid}));
        ASSERT_EQ(customer.LoadByName(t, gid), Loaded::Row);
        EXPECT_EQ(customer.CustomerId(), cid);
        EXPECT_EQ(customer.Ref03(), t + "3");
        customer.setCustomerName(u);
        customer.setRef01(u + "1");
        EXPECT_EQ(customer.Save(), cid);
        ASSERT_EQ(customer.LoadByName(u, gid), Loaded::Row);
        EXPECT_EQ(customer.Ref01(), u + "1");
        EXPECT_EQ(customer.Ref02(), t + "2");

        booking.InitBfr();
        booking.setResourceId(rid);
        booking.setTaskId(tid);
        booking.setCustomerId(cid);
        booking.setBookingDate(46000);
        booking.setBookingStart(540);
        booking.setBookingEnd(600);
        booking.setRef01(t + "1");
        booking.setRef02(t + "2");
        booking.setRef03(t + "3");
        booking.setComments(t);
        const int32_t bid = booking.Save();
        ASSERT_NE(bid, 0);
        ASSERT_EQ(booking.Load(bid), Loaded::Row);
        EXPECT_EQ(booking.Ref01(), t + "1");
        EXPECT_EQ(booking.Comments(), t);
        booking.setComments(u);
        booking.setRef03(u);
        EXPECT_EQ(booking.Save(), bid);
        ASSERT_EQ(booking.Load(bid), Loaded::Row);
        EXPECT_EQ(booking.Comments(), u);
        EXPECT_EQ(booking.Ref03(), u);
        EXPECT_EQ(booking.Ref02(), t + "2");

        dao().PropertySet(t, u);
        EXPECT_EQ(dao().PropertyGet(t, "none"), u);
        dao().PropertyDelete(t);
        EXPECT_EQ(dao().PropertyGet(t, "none"), "none");

        ClsGroup made;
        ASSERT_EQ(made.LoadTemplate(t).outcome, ClsGroup::TemplateLoad::Made);
        ASSERT_NE(made.GroupId(), 0);
        ASSERT_EQ(made.Load(made.GroupId()), Loaded::Row);
        EXPECT_EQ(made.GroupName(), t + " [" + QString::number(made.GroupId()) + "]");
    }

    const QString file = ClsDAO::BackupFolder() + "/1.txt";
    ASSERT_EQ(dao().Backup(file), Saved::Done);
    DlgRestore dlg;
    dlg.CbFile->SetListIndex(dlg.CbFile->findText("1.txt"));
    dlg.Check1->setChecked(true);
    dlg.BtnRestore_Click(0);
    ASSERT_TRUE(dao().Restore(file));
    EXPECT_EQ(scalar("select count(*) from tblBookings"), static_cast<int64_t>(std::size(kTexts)));
    for (const Text& c : kTexts) {
        SCOPED_TRACE(c.what);
        const QString t = c.text;
        const QString u = "%2 " + c.text + " %1";
        const int32_t gid = id("select GroupId from tblGroups where GroupName = ?", {u});
        ASSERT_NE(gid, 0);
        ASSERT_EQ(resource.LoadByName(u, gid), Loaded::Row);
        ASSERT_EQ(task.LoadByName(u, gid), Loaded::Row);
        ASSERT_EQ(customer.LoadByName(u, gid), Loaded::Row);
        EXPECT_EQ(customer.Ref01(), u + "1");
        EXPECT_EQ(customer.Ref02(), t + "2");
        ASSERT_EQ(booking.Load(id("select BookingId from tblBookings where ResourceId = ?",
                                  {resource.ResourceId()})),
                  Loaded::Row);
        EXPECT_EQ(booking.TaskId(), task.TaskId());
        EXPECT_EQ(booking.CustomerId(), customer.CustomerId());
        EXPECT_EQ(booking.Ref01(), t + "1");
        EXPECT_EQ(booking.Ref02(), t + "2");
        EXPECT_EQ(booking.Ref03(), u);
        EXPECT_EQ(booking.Comments(), u);
    }
}
