#include "SystemInfo.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <chrono>

namespace plat {

OsVersion GetOsVersion() {
    OsVersion v;
    struct utsname u {};
    if (uname(&u) != 0) return v;
    const QStringList parts = QString(u.release).split(QRegularExpression("[.-]"));
    v.ok = true;
    v.platformId = 2;
    v.major = parts.value(0).toInt();
    v.minor = parts.value(1).toInt();
    v.build = parts.value(2).toInt();
    v.servicePack = QString("%1 %2 %3").arg(u.sysname, u.release, u.machine);
    return v;
}

MemoryRecord GetMemoryStatus() {
    MemoryRecord m;
    struct sysinfo si {};
    if (sysinfo(&si) != 0) return m;
    const int64_t unit = si.mem_unit ? si.mem_unit : 1;
    m.totalPhys = static_cast<int64_t>(si.totalram) * unit;
    m.availPhys = static_cast<int64_t>(si.freeram + si.bufferram) * unit;
    m.totalPage = static_cast<int64_t>(si.totalswap) * unit;
    m.availPage = static_cast<int64_t>(si.freeswap) * unit;
    if (m.totalPhys > 0)
        m.loadPercent = static_cast<int32_t>(100 - m.availPhys * 100 / m.totalPhys);
    struct rlimit rl {};
    const bool limited = getrlimit(RLIMIT_AS, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY;
    m.totalVirtual = limited ? static_cast<int64_t>(rl.rlim_cur) : (int64_t{1} << 47);
    m.availVirtual = m.totalVirtual;
    QFile status("/proc/self/statm");
    if (status.open(QIODevice::ReadOnly)) {
        const int64_t pages = QString(status.readLine()).split(' ').value(0).toLongLong();
        m.availVirtual = m.totalVirtual - pages * 4096;
    }
    return m;
}

uint32_t GetTickCount() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
}

int32_t MachineKey(const QString& idFile) {
    QFile f(idFile);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    bool ok = false;
    const uint32_t v = QString(f.read(8)).toUInt(&ok, 16);
    return ok ? static_cast<int32_t>(v) : 0;
}

}  // namespace plat
