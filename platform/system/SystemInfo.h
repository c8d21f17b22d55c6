#pragma once
#include <QString>
#include <cstdint>

// Stand-ins for the system queries of the start-up log and the workstation key.
namespace plat {

// The operating system's version, filled from uname(): the NT family's platform id 2,
// the kernel's major and minor numbers, its patch level as the build, and the system's
// name, release and machine as the "service pack" text.
struct OsVersion {
    bool ok = false;
    int32_t platformId = 0;
    int32_t major = 0;
    int32_t minor = 0;
    int32_t build = 0;
    QString servicePack;
};
OsVersion GetOsVersion();

// Memory figures from sysinfo(), in bytes (64 bits, so large machines are not cut).
struct MemoryRecord {
    int32_t loadPercent = 0;
    int64_t totalPhys = 0, availPhys = 0;
    int64_t totalPage = 0, availPage = 0;  // swap
    int64_t totalVirtual = 0, availVirtual = 0;  // address space of this process
};
MemoryRecord GetMemoryStatus();

// Milliseconds since the system started, as 32 bits that wrap.
uint32_t GetTickCount();

// The workstation key: the first 8 hex digits of /etc/machine-id as a signed 32-bit
// number; 0 when it cannot be read. Only tests pass another file.
int32_t MachineKey(const QString& idFile = "/etc/machine-id");

}  // namespace plat
