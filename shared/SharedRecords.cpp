// The program's current record of each kind, created on first use.
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsGroup.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "SharedObjects.h"

namespace {
struct Records {
    std::unique_ptr<ClsGroup> group;
    std::unique_ptr<ClsResource> resource;
    std::unique_ptr<ClsTask> task;
    std::unique_ptr<ClsCustomer> customer;
    std::unique_ptr<ClsBooking> booking;
};
Records& records() {
    static Records r;
    return r;
}
// Released in the reverse of the order of creation: booking first, group last.
void release() {
    records().booking.reset();
    records().customer.reset();
    records().task.reset();
    records().resource.reset();
    records().group.reset();
}
template <typename T>
T& lazy(std::unique_ptr<T>& p) {
    if (!p) {
        SharedObjects::SetRecordsRelease(&release);
        p = std::make_unique<T>();
    }
    return *p;
}
}  // namespace

ClsGroup& SharedObjects::Group() { return lazy(records().group); }
ClsResource& SharedObjects::Resource() { return lazy(records().resource); }
ClsTask& SharedObjects::Task() { return lazy(records().task); }
ClsCustomer& SharedObjects::Customer() { return lazy(records().customer); }
ClsBooking& SharedObjects::Booking() { return lazy(records().booking); }
