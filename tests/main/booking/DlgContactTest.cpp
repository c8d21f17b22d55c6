#include <QLineEdit>
#include <QPushButton>

#include "ClsCustomer.h"
#include "DlgContact.h"
#include "ListBox.h"
#include "ModMain.h"
#include "ReadAgain.h"
#include "RecordsFixture.h"
#include "SharedObjects.h"
#include "TestSupport.h"

namespace {

const QString kNotSaved =
    "Warning!: Unable to save contact!\r\n\r\nThe database is busy or cannot be written; "
    "nothing was saved.";
// The groups it would link could not be read.
const QString kNotRead =
    "Warning!: Unable to save contact!\r\n\r\nThe database is busy or cannot be read; "
    "nothing was saved.";

// Groups 1 "Clinic", 2 "Lab" and 3 "Ward"; the customer "Smith" (id 1) belongs to 2 and 3.
class DlgContactTest : public RecordsFixture {
protected:
    void SetUp() override {
        RecordsFixture::SetUp();
        ASSERT_TRUE(dao().SqlActions(
            {"insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
             "values ('Ward', 0, 1440, 60)",
             "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
             "values ('Smith', 'a', 'b', 'c')",
             "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 2)",
             "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 3)"}));
    }
    // The dialog loaded as the booking editor of group `groupId` opens it.
    void load(int32_t groupId) {
        form.GroupId = groupId;
        form.Form_Load();
        form.show();
    }
    // GroupIds ticked, in list order (by name).
    QList<int32_t> ticked() {
        QList<int32_t> ids;
        for (int i = 0; i < form.LbGroups->count(); ++i)
            if (form.LbGroups->Selected(i)) ids << form.LbGroups->ItemData(i);
        return ids;
    }
    void tick(int32_t groupId, bool on) {
        for (int i = 0; i < form.LbGroups->count(); ++i)
            if (form.LbGroups->ItemData(i) == groupId) form.LbGroups->SetSelected(i, on);
    }
    QString links(int32_t customerId) {
        auto rs = dao().SqlQuery(QString("select GroupId from tblCustomerGroups where "
                                         "CustomerId = %1 order by GroupId")
                                     .arg(customerId));
        QStringList ids;
        for (; rs && !rs->Eof(); rs->MoveNext()) ids << rs->Field(0).toString();
        return ids.join(",");
    }
    void save() { form.BtnCustomer[0]->click(); }

    ClsCustomer& customer = SharedObjects::Customer();
    DlgContact form;
};

}  // namespace

TEST_F(DlgContactTest, ANewCustomerStartsInTheEditorsGroupAndIsSavedTrimmedWithOneLinkAGroup) {
    customer.InitBfr();
    load(3);
    EXPECT_EQ(ticked(), QList<int32_t>{3});
    form.TxtCustomer->setText("  Jones ");
    form.TxtRef[0]->setText(" r1");
    form.TxtRef[2]->setText("r3  ");
    tick(1, true);
    save();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const int32_t id = customer.CustomerId();
    ASSERT_NE(id, 0);
    EXPECT_EQ(scalar(QString("select count(*) from tblCustomers where CustomerId = %1 and "
                             "CustomerName = 'Jones' and Ref01 = 'r1' and Ref02 = '' and "
                             "Ref03 = 'r3'")
                         .arg(id)),
              1);
    EXPECT_EQ(links(id), "1,3");
    save();  // saving again updates: still one link a ticked group
    EXPECT_EQ(customer.CustomerId(), id);
    EXPECT_EQ(links(id), "1,3");
    EXPECT_EQ(scalar("select count(*) from tblCustomers"), 2);
}

TEST_F(DlgContactTest, AnExistingCustomersLinksAreShownAndRewrittenWhateverTheEditorsGroup) {
    ASSERT_EQ(customer.Load(1), Loaded::Row);
    load(1);
    EXPECT_EQ(ticked(), (QList<int32_t>{2, 3}));  // Lab, Ward
    EXPECT_EQ(form.TxtRef[1]->text(), "b");
    tick(2, false);
    tick(1, true);
    save();
    EXPECT_EQ(links(1), "1,3");
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}

TEST_F(DlgContactTest, TheGroupsAreTickedByTheirBoxesAndAHighlightedGroupIsNotTicked) {
    customer.InitBfr();
    load(3);
    form.TxtCustomer->setText("Green");
    ClickListEntry(*form.LbGroups, 0, false);  // Clinic highlighted
    ClickListEntry(*form.LbGroups, 2, true);   // Ward unticked
    EXPECT_EQ(form.LbGroups->ListIndex(), 0);
    EXPECT_TRUE(ticked().isEmpty());
    save();
    EXPECT_EQ(messages, QStringList{"Error!: No groups are selected!"});
    ClickListEntry(*form.LbGroups, 1, true);  // Lab ticked
    save();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(links(customer.CustomerId()), "2");
}

TEST_F(DlgContactTest, NoGroupTickedIsRefusedAndNothingIsWritten) {
    customer.InitBfr();
    load(0);
    EXPECT_TRUE(ticked().isEmpty());
    form.TxtCustomer->setText("Nobody");
    save();
    EXPECT_EQ(messages, QStringList{"Error!: No groups are selected!"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(scalar("select count(*) from tblCustomers"), 1);
}

TEST_F(DlgContactTest, AFailedSaveIsReportedLeavesNoHalfCustomerAndKeepsTheDialogOpen) {
    customer.InitBfr();
    load(2);
    form.TxtCustomer->setText("Brown");
    failInserts("tblCustomerGroups");
    save();
    EXPECT_EQ(messages, QStringList{kNotSaved});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(scalar("select count(*) from tblCustomers"), 1);  // no customer without links
    EXPECT_EQ(customer.CustomerId(), 0);                        // still a new customer
    EXPECT_EQ(customer.CustomerName(), "Brown");

    // An existing customer deleted meanwhile by another workstation.
    messages.clear();
    ASSERT_TRUE(dao().SqlAction("drop trigger fail_tblCustomerGroups"));
    ASSERT_EQ(customer.Load(1), Loaded::Row);
    form.Form_Load();
    ASSERT_TRUE(dao().SqlAction("delete from tblCustomers where CustomerId = 1"));
    save();
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to save contact!"});
    EXPECT_TRUE(form.isVisible());
}

TEST_F(DlgContactTest, CancelAndTheCloseBoxEmptyTheSharedRecordAndWriteNothing) {
    for (const char* how : {"cancel", "close box"}) {
        ASSERT_EQ(customer.Load(1), Loaded::Row);
        DlgContact dialog;
        dialog.Form_Load();
        dialog.show();
        dialog.TxtCustomer->setText("Changed");
        if (QString(how) == "cancel")
            dialog.BtnCustomer[1]->click();
        else
            dialog.close();
        EXPECT_EQ(customer.CustomerId(), 0) << how;
        EXPECT_EQ(customer.CustomerName(), "") << how;
        EXPECT_EQ(scalar("select count(*) from tblCustomers where CustomerName = 'Smith'"), 1);
    }
}

// Another program holds the database: the groups cannot be read at opening, which is told;
// Save says nothing was saved (not that no group is ticked) and keeps the text typed; once
// it lets go the groups are read and Save works.
TEST_F(DlgContactTest, ALockedDatabaseIsToldAndSaveKeepsTheTextTypedUntilItLetsGo) {
    dao().setBusyWaitMs(300);
    ASSERT_EQ(customer.Load(1), Loaded::Row);
    HeldDatabase held(folder, dbPath());
    dao().WaitAgain();
    load(1);
    form.TxtCustomer->setText("Smythe");
    dao().WaitAgain();  // the user's click on Save
    save();
    EXPECT_EQ(messages, (QStringList{QString("Warning!: ") + ModMain::kNotRead, kNotRead}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.TxtCustomer->text(), "Smythe");
    held.release();
    form.Groups->RunDue();
    EXPECT_EQ(ticked(), (QList<int32_t>{2, 3}));
    save();
    EXPECT_EQ(scalar("select count(*) from tblCustomers where CustomerName = 'Smythe'"), 1);
    dao().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
