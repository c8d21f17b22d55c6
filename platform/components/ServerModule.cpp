#include "ServerModule.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <atomic>

namespace plat {
namespace {

std::atomic<int>& lockCount() {
    static std::atomic<int> n{0};
    return n;
}

}  // namespace

void ServerModule::Lock() { ++lockCount(); }

void ServerModule::Unlock() {
    // An unbalanced unlock is a programmer's mistake; the count never goes below 0.
    int n = lockCount().load();
    while (n > 0 && !lockCount().compare_exchange_weak(n, n - 1)) {
    }
}

int ServerModule::LockCount() { return lockCount().load(); }

HResult ServerModule::CanUnloadNow() { return LockCount() == 0 ? kOk : kFalse; }

QString ServerModule::FilePath() {
    Dl_info info{};
    // Any address inside this module names its file; the counter is one.
    if (dladdr(static_cast<const void*>(&lockCount()), &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

}  // namespace plat
