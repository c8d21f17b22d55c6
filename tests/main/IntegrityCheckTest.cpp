#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTimer>

#include "ClsDAO.h"
#include "ClsLogging.h"
#include "DbFixture.h"
#include "ModMain.h"

namespace {

class IntegrityCheckTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
    }
    void seed(const QStringList& statements) { ASSERT_TRUE(dao().SqlActions(statements)); }
    // The ids a query yields, in its order.
    QList<int64_t> ids(const QString& sql) {
        QList<int64_t> out;
        auto rs = dao().SqlQuery(sql);
        for (; rs && !rs->Eof(); rs->MoveNext()) out << rs->Field(0).toLong();
        return out;
    }
    // The lines the pass wrote of its own, without time and handle.
    QStringList passLines() {
        QStringList out;
        for (const QString& line : folder.logText().split('\n'))
            if (line.contains("IntegrityCheck")) out << line.section(' ', 2);
        return out;
    }
};

QString booking(const QString& taskId, const QString& customerId, const QString& resourceId) {
    return QString(
               "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
               "CustomerId, ResourceId, Ref01, Ref02, Ref03, Comments) "
               "values (%1, 45000, 540, 600, %2, %3, 'r', 'r', 'r', 'c')")
        .arg(taskId, customerId, resourceId);
}

}  // namespace

// Row 1 of each table carries Null in every repaired column, row 2 empty texts, row 3
// blanks; all rows hang on existing parents, so nothing is deleted.
TEST_F(IntegrityCheckTest, OnlyNullNamesAndTextsAreRepaired) {
    QStringList rows;
    for (const char* text : {"null", "''", "'  '"}) {
        const QString t(text);
        rows << "insert into tblGroups (GroupName) values (" + t + ")"
             << "insert into tblResources (GroupId, ResourceName) values (1, " + t + ")"
             << "insert into tblTasks (GroupId, TaskName) values (1, " + t + ")"
             << QString(
                    "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) "
                    "values (%1, %1, %1, %1)")
                    .arg(t)
             << QString(
                    "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                    "CustomerId, ResourceId, Ref01, Ref02, Ref03, Comments) "
                    "values (1, 45000, 540, 600, 1, 1, %1, %1, %1, %1)")
                    .arg(t);
    }
    rows << "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1)"
         << "insert into tblCustomerGroups (CustomerId, GroupId) values (2, 1)"
         << "insert into tblCustomerGroups (CustomerId, GroupId) values (3, 1)";
    seed(rows);
    // One booking with only its later references missing.
    seed({"update tblBookings set Ref01 = 'kept' where BookingId = 1"});

    ModMain::IntegrityCheck();

    struct Column {
        const char* table;
        const char* id;
        const char* column;
        const char* repaired;
    };
    const Column columns[] = {
        {"tblGroups", "GroupId", "GroupName", "???"},
        {"tblResources", "ResourceId", "ResourceName", "???"},
        {"tblTasks", "TaskId", "TaskName", "???"},
        {"tblCustomers", "CustomerId", "CustomerName", "???"},
        {"tblCustomers", "CustomerId", "Ref01", ""},
        {"tblCustomers", "CustomerId", "Ref02", ""},
        {"tblCustomers", "CustomerId", "Ref03", ""},
        {"tblBookings", "BookingId", "Ref01", "kept"},
        {"tblBookings", "BookingId", "Ref02", ""},
        {"tblBookings", "BookingId", "Ref03", ""},
        {"tblBookings", "BookingId", "Comments", ""},
    };
    for (const Column& c : columns) {
        SCOPED_TRACE(QString("%1.%2").arg(c.table, c.column).toStdString());
        auto rs =
            dao().SqlQuery(QString("select %1 from %2 order by %3").arg(c.column, c.table, c.id));
        ASSERT_TRUE(rs);
        ASSERT_EQ(rs->RecordCount(), 3);
        const char* expected[] = {c.repaired, "", "  "};
        for (const char* value : expected) {
            EXPECT_FALSE(rs->Field(0).isNull());
            EXPECT_EQ(rs->Field(0).toString(), QString(value));
            rs->MoveNext();
        }
    }
    EXPECT_EQ(passLines(), QStringList());
}

TEST_F(IntegrityCheckTest, RowsWithoutParentGoWithTheirChildrenOneLinePerMissingId) {
    seed({"insert into tblGroups (GroupName) values ('Clinic')",
          "insert into tblResources (GroupId, ResourceName) values (1, 'Kept')",    // 1
          "insert into tblResources (GroupId, ResourceName) values (7, 'Lost a')",  // 2
          "insert into tblResources (GroupId, ResourceName) values (7, 'Lost b')",  // 3
          "insert into tblTasks (GroupId, TaskName) values (1, 'Visit')",           // 1
          "insert into tblTasks (GroupId, TaskName) values (9, 'Of no group')",     // 2, stays
          "insert into tblCustomers (CustomerName) values ('Member')",              // 1
          "insert into tblCustomers (CustomerName) values ('Of no group')",         // 2
          "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1)",
          "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 8)",       // stays
          "insert into tblRepeats (SerialNo) values ('0')", booking("1", "1", "1"),  // 1 kept
          booking("1", "1", "2"),    // 2 resource of a lost group
          booking("1", "0", "3"),    // 3 resource of a lost group
          booking("1", "1", "99"),   // 4 resource missing
          booking("55", "1", "1"),   // 5 type missing
          booking("1", "2", "1"),    // 6 customer of no group
          booking("1", "77", "1"),   // 7 customer missing
          booking("2", "1", "1")});  // 8 type of no group: kept

    ModMain::IntegrityCheck();

    EXPECT_EQ(ids("select ResourceId from tblResources order by 1"), QList<int64_t>({1}));
    EXPECT_EQ(ids("select CustomerId from tblCustomers order by 1"), QList<int64_t>({1}));
    EXPECT_EQ(ids("select BookingId from tblBookings order by 1"), QList<int64_t>({1, 8}));
    EXPECT_EQ(ids("select TaskId from tblTasks order by 1"), QList<int64_t>({1, 2}));
    EXPECT_EQ(scalar("select count(*) from tblCustomerGroups"), 2);
    EXPECT_EQ(scalar("select count(*) from tblRepeats"), 1);

    QStringList lines = passLines();
    // A parent's line comes before the lines of the children it took along.
    EXPECT_LT(lines.indexOf("IntegrityCheck: Delete GroupId = 7"),
              lines.indexOf("IntegrityCheck: Delete ResourceId = 2"));
    lines.sort();
    EXPECT_EQ(
        lines,
        QStringList(
            {"IntegrityCheck: Delete CustomerId = 2", "IntegrityCheck: Delete CustomerId = 2",
             "IntegrityCheck: Delete CustomerId = 77", "IntegrityCheck: Delete GroupId = 7",
             "IntegrityCheck: Delete ResourceId = 2", "IntegrityCheck: Delete ResourceId = 3",
             "IntegrityCheck: Delete ResourceId = 99", "IntegrityCheck: Delete TaskId = 55"}));
}

TEST_F(IntegrityCheckTest, BookingsWithoutACustomerAreKept) {
    seed({"insert into tblGroups (GroupName) values ('Clinic')",
          "insert into tblResources (GroupId, ResourceName) values (1, 'Anna')",
          "insert into tblTasks (GroupId, TaskName) values (1, 'Visit')", booking("1", "0", "1"),
          booking("1", "0", "1"), booking("1", "5", "1")});
    ModMain::IntegrityCheck();
    EXPECT_EQ(ids("select BookingId from tblBookings order by 1"), QList<int64_t>({1, 2}));
    EXPECT_EQ(passLines(), QStringList({"IntegrityCheck: Delete CustomerId = 5"}));
}

// A key that is not a number: a Null parent key is no parent (the row goes), but a Null
// customer is no customer (the booking stays); a stray text only ever matches itself.
TEST_F(IntegrityCheckTest, KeysThatAreNoNumbersNeverWidenTheDelete) {
    seed({"insert into tblGroups (GroupName) values ('Clinic')",
          "insert into tblResources (GroupId, ResourceName) values (1, 'Kept')",
          "insert into tblResources (GroupId, ResourceName) values ('1 or 1=1', 'Stray')",
          "insert into tblResources (GroupId, ResourceName) values (null, 'Null group')",
          "insert into tblTasks (GroupId, TaskName) values (1, 'Visit')", booking("1", "null", "1"),
          booking("1", "0", "1")});
    ModMain::IntegrityCheck();
    EXPECT_EQ(ids("select ResourceId from tblResources order by 1"), QList<int64_t>({1}));
    EXPECT_EQ(ids("select BookingId from tblBookings order by 1"), QList<int64_t>({1, 2}));
    QStringList lines = passLines();
    lines.sort();
    EXPECT_EQ(
        lines,
        QStringList({"IntegrityCheck: Delete GroupId = ",
                     "IntegrityCheck: Delete GroupId = 1 or 1=1"}));
    EXPECT_FALSE(folder.logText().contains("Error"));
}

TEST_F(IntegrityCheckTest, ASearchThatCannotRunEndsThePassKeepingTheStepsBefore) {
    seed({"insert into tblGroups (GroupName) values (null)",
          "insert into tblResources (GroupId, ResourceName) values (4, 'Lost')",
          "insert into tblResources (GroupId, ResourceName) values (1, null)",
          "insert into tblCustomers (CustomerName) values (null)",
          "insert into tblTasks (GroupId, TaskName) values (1, null)",
          "drop table tblCustomerGroups"});
    ModMain::IntegrityCheck();
    EXPECT_EQ(scalar("select count(*) from tblGroups where GroupName = '??\?'"), 1);
    EXPECT_EQ(scalar("select count(*) from tblResources where ResourceName = '??\?'"), 1);
    EXPECT_EQ(scalar("select count(*) from tblResources"), 1);
    EXPECT_EQ(scalar("select count(*) from tblCustomers where CustomerName is null"), 1);
    EXPECT_EQ(scalar("select count(*) from tblTasks where TaskName is null"), 1);
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains(
        QRegularExpression("ModMain\\.IntegrityCheck: Error 91 at line \\d+ \\(No record set\\)")));
    EXPECT_EQ(log.count("ModMain.IntegrityCheck"), 1);
}

// While the pass yields, another request arrives and a row goes astray behind the search
// that has already run: the request is served by one more pass afterwards.
TEST_F(IntegrityCheckTest, ARequestDuringThePassRunsItOnceMoreAfterwards) {
    seed({"insert into tblResources (GroupId, ResourceName) values (3, 'Lost')"});
    int requests = 0;
    QTimer::singleShot(0, [&] {
        ++requests;
        SharedObjects::DAO().SqlAction(
            "insert into tblResources (GroupId, ResourceName) values (6, 'Late')");
        ModMain::IntegrityCheck();
    });
    ModMain::IntegrityCheck();
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(scalar("select count(*) from tblResources"), 0);
    EXPECT_EQ(passLines(), QStringList({"IntegrityCheck: Delete GroupId = 3",
                                        "IntegrityCheck: Delete GroupId = 6"}));
}
