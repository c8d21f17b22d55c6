#include "SharedObjects.h"

#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"

namespace {
struct Table {
    std::unique_ptr<ClsLogging> log;
    std::unique_ptr<ClsIni> ini;
    std::unique_ptr<ClsDate> date;
    std::unique_ptr<ClsDAO> dao;
    std::unique_ptr<ClsForms> forms;
    void (*releaseRecords)() = nullptr;  // set once the records are in use
    IHostWindow* host = nullptr;
};
Table& table() {
    static Table t;
    return t;
}
template <typename T>
T& lazy(std::unique_ptr<T>& p) {
    if (!p) p = std::make_unique<T>();
    return *p;
}
}  // namespace

ClsLogging& SharedObjects::Log() { return lazy(table().log); }
ClsIni& SharedObjects::Ini() { return lazy(table().ini); }
ClsDate& SharedObjects::Date() { return lazy(table().date); }
ClsDAO& SharedObjects::DAO() { return lazy(table().dao); }
ClsForms& SharedObjects::Forms() { return lazy(table().forms); }
void SharedObjects::SetRecordsRelease(void (*release)()) { table().releaseRecords = release; }
IHostWindow* SharedObjects::Host() { return table().host; }
void SharedObjects::SetHost(IHostWindow* host) { table().host = host; }
bool SharedObjects::HasLog() { return table().log != nullptr; }

void SharedObjects::Release() {
    ReleaseExceptLog();
    table().log.reset();
}

void SharedObjects::ReleaseExceptLog() {
    // The reverse of the order of creation: log, database, forms, settings, dates, then
    // the records: group, resource, appointment type, customer, booking.
    if (table().releaseRecords) table().releaseRecords();
    table().date.reset();
    table().ini.reset();
    table().forms.reset();
    table().dao.reset();
}
