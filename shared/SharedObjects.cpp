#include "SharedObjects.h"

#include "ClsDate.h"
#include "ClsIni.h"
#include "ClsLogging.h"

namespace {
struct Table {
    std::unique_ptr<ClsLogging> log;
    std::unique_ptr<ClsIni> ini;
    std::unique_ptr<ClsDate> date;
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
bool SharedObjects::HasLog() { return table().log != nullptr; }

void SharedObjects::Release() {
    table().date.reset();
    table().ini.reset();
    table().log.reset();
}
