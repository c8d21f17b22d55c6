// ModMain::IntegrityCheck: the repair pass. The program, not the database, keeps the
// relations between the tables, so rows left behind by an interrupted cascade or by
// another workstation are removed here, children after their parents in one pass.
#include <QCoreApplication>
#include <iterator>

#include "ClsDAO.h"
#include "ClsLogging.h"
#include "ErrorText.h"
#include "EventYield.h"
#include "ModMain.h"
#include "SharedObjects.h"

namespace {

// Child rows whose parent is missing: the query yields each distinct key of the child
// table with the number of parent rows that carry it.
struct OrphanSearch {
    const char* query;
    const char* countColumn;
    const char* keyColumn;
    const char* logText;
    const char* deleteStatement;
    bool zeroMeansNone;  // the key 0 stands for "no parent chosen", not for a lost one
};

const OrphanSearch kResourcesWithoutGroup{
    "select distinct GroupId, (select count(*) from tblGroups where tblGroups.GroupId = "
    "tblResources.GroupId) as GrpCount from tblResources",
    "GrpCount", "GroupId", "IntegrityCheck: Delete GroupId = ",
    "delete from tblResources where GroupId = ", false};
const OrphanSearch kCustomersWithoutGroup{
    "select distinct CustomerId, (select count(*) from tblCustomerGroups where "
    "tblCustomerGroups.CustomerId = tblCustomers.CustomerId) as GrpCount from tblCustomers",
    "GrpCount", "CustomerId", "IntegrityCheck: Delete CustomerId = ",
    "delete from tblCustomers where CustomerId = ", false};
const OrphanSearch kBookingsWithoutResource{
    "select distinct ResourceId, (select count(*) from tblResources where "
    "tblResources.ResourceId = tblBookings.ResourceId) as ResCount from tblBookings",
    "ResCount", "ResourceId", "IntegrityCheck: Delete ResourceId = ",
    "delete from tblBookings where ResourceId = ", false};
const OrphanSearch kBookingsWithoutTask{
    "select distinct TaskId, (select count(*) from tblTasks where tblTasks.TaskId = "
    "tblBookings.TaskId) as TskCount from tblBookings",
    "TskCount", "TaskId", "IntegrityCheck: Delete TaskId = ",
    "delete from tblBookings where TaskId = ", false};
// A booking made with "< No Customer >" carries CustomerId 0 and must stay.
const OrphanSearch kBookingsWithoutCustomer{
    "select distinct CustomerId, (select count(*) from tblCustomers where "
    "tblCustomers.CustomerId = tblBookings.CustomerId) as CstCount from tblBookings",
    "CstCount", "CustomerId", "IntegrityCheck: Delete CustomerId = ",
    "delete from tblBookings where CustomerId = ", true};

// One step of the pass: an update statement or an orphan search. ("??\?" is "???"
// written so that no compiler reads a trigraph in it.)
struct Step {
    const char* update;
    const OrphanSearch* search;
};

// Children come after their parents, so a parent removed here takes its children along
// in the same pass.
const Step kSteps[] = {
    {"update tblGroups set GroupName = '??\?' where GroupName is Null", nullptr},
    {nullptr, &kResourcesWithoutGroup},
    {"update tblResources set ResourceName = '??\?' where ResourceName is Null", nullptr},
    {nullptr, &kCustomersWithoutGroup},
    {"update tblCustomers set CustomerName = '??\?' where CustomerName is Null", nullptr},
    {"update tblCustomers set Ref01 = '' where Ref01 is Null", nullptr},
    {"update tblCustomers set Ref02 = '' where Ref02 is Null", nullptr},
    {"update tblCustomers set Ref03 = '' where Ref03 is Null", nullptr},
    {nullptr, &kBookingsWithoutResource},
    {nullptr, &kBookingsWithoutTask},
    {nullptr, &kBookingsWithoutCustomer},
    {"update tblBookings set Comments = '' where Comments is Null", nullptr},
    {"update tblBookings set Ref01 = '' where Ref01 is Null", nullptr},
    {"update tblBookings set Ref02 = '' where Ref02 is Null", nullptr},
    {"update tblBookings set Ref03 = '' where Ref03 is Null", nullptr},
    {"update tblTasks set TaskName = '??\?' where TaskName is Null", nullptr},
};

// The delete of the rows with that key: a number in plain decimal; a stray text in a key
// column quoted, so that it can only ever match itself; a Null key as "is Null" (a row
// without a parent key has no parent either).
QString deleteFor(const char* statement, const DbValue& key) {
    const QString sql(statement);  // ends with "= "
    if (key.isNull()) return sql.chopped(2) + "is Null";
    return sql + (key.isText() ? ClsDAO::Quoted(key.toString()) : key.toString());
}

bool isNoneChosen(const DbValue& key) {
    return !key.isNull() && !key.isText() && key.toLong() == 0;
}

// False when the search could not be run. The shared objects are fetched anew after each
// yield: a window event may have replaced them meanwhile.
bool deleteOrphans(const OrphanSearch& search) {
    const auto rows = SharedObjects::DAO().SqlQuery(search.query);
    if (!rows) return false;
    for (; !rows->Eof(); rows->MoveNext()) {
        EventYield::Run();
        if (rows->Field(search.countColumn).toLong() != 0) continue;
        const DbValue& key = rows->Field(search.keyColumn);
        // A booking without a customer (0, or Null) is no orphan.
        if (search.zeroMeansNone && (key.isNull() || isNoneChosen(key))) continue;
        SharedObjects::Log().LogMsg(search.logText + key.toString());
        SharedObjects::DAO().SqlAction(deleteFor(search.deleteStatement, key));
    }
    return true;
}

// Runs every step; a failed update is passed over, a search that cannot run ends the pass
// (what the steps before it wrote stays).
void runPass() {
    for (int line = 1; line <= static_cast<int>(std::size(kSteps)); ++line) {
        const Step& step = kSteps[line - 1];
        if (step.update) {
            SharedObjects::DAO().SqlAction(step.update);
        } else if (!deleteOrphans(*step.search)) {
            SharedObjects::Log().LogMsg(
                err::AtLine("ModMain.IntegrityCheck", err::ObjectNotSet, line, "No record set"));
            return;
        }
    }
}

}  // namespace

namespace ModMain {

void IntegrityCheck() {
    // The pass yields between rows; a request that arrives meanwhile is run once more
    // after it, not inside it.
    static bool running = false;
    static bool requestedAgain = false;
    if (running) {
        requestedAgain = true;
        return;
    }
    running = true;
    do {
        requestedAgain = false;
        runPass();
    } while (requestedAgain);
    running = false;
}

}  // namespace ModMain
