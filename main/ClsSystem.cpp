#include "ClsSystem.h"

#include <algorithm>
#include <cmath>

#include "SystemInfo.h"

QString ClsSystem::BuildNumber() {
    const plat::OsVersion v = plat::GetOsVersion();
    return v.ok ? QString::number(v.build) : QString();
}

QString ClsSystem::ServicePack() {
    const plat::OsVersion v = plat::GetOsVersion();
    return v.ok ? v.servicePack : QString();
}

bool ClsSystem::IsWin95() {
    const plat::OsVersion v = plat::GetOsVersion();
    return v.ok && v.platformId == 1 && v.major == 4 && v.minor == 0;
}

bool ClsSystem::IsWin98() {
    const plat::OsVersion v = plat::GetOsVersion();
    return v.ok && ((v.major == 4 && v.minor > 0) || (v.major > 4 && v.platformId == 1));
}

bool ClsSystem::IsWinNT4() {
    const plat::OsVersion v = plat::GetOsVersion();
    return v.ok && v.platformId == 2 && v.major == 4;
}

bool ClsSystem::IsWin2000() {
    const plat::OsVersion v = plat::GetOsVersion();
    return v.ok && v.platformId == 2 && v.major == 5;
}

QString ClsSystem::WindowsVersion() {
    const plat::OsVersion v = plat::GetOsVersion();
    if (!v.ok) return QString();
    switch (v.platformId) {
        case 0: return "32s";
        case 1: return v.minor == 0 ? "95" : "98";
        case 2:
            if (v.major == 3) {
                switch (v.minor) {
                    case 0: return "NT3";
                    case 1: return "NT3.1";
                    case 5: return "NT3.5";
                    case 51: return "NT3.51";
                    default: return QString();
                }
            }
            if (v.major == 4) return "NT4";
            if (v.major == 5) return "NT5 (2000)";
            return QString();
        default: return QString();
    }
}

int32_t ClsSystem::MemoryStatus(int16_t index) {
    const plat::MemoryRecord m = plat::GetMemoryStatus();
    // Kilobytes from the 64-bit byte counts, so machines with 2 GB or more are not shown
    // as negative figures; halves round to the even neighbour.
    auto kb = [](int64_t bytes) {
        const double k = std::nearbyint(static_cast<double>(bytes) / 1024.0);
        return static_cast<int32_t>(std::min(k, 2147483647.0));
    };
    switch (index) {
        case 0: return m.loadPercent;
        case 1: return kb(m.totalPhys);
        case 2: return kb(m.availPhys);
        case 3: return kb(m.totalPage);
        case 4: return kb(m.availPage);
        case 5: return kb(m.totalVirtual);
        case 6: return kb(m.availVirtual);
        default: return 0;
    }
}
