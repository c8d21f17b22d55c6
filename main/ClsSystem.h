#pragma once
#include <QString>
#include <cstdint>

// The operating system's version and the machine's memory figures, for the start-up log.
// Each call asks the system anew.
class ClsSystem {
public:
    QString BuildNumber();
    QString ServicePack();
    bool IsWin95();
    bool IsWin98();
    bool IsWinNT4();
    bool IsWin2000();
    QString WindowsVersion();
    // 0: memory load in percent; 1..6: total and available physical memory, page file
    // and virtual address space in kilobytes; anything else 0.
    int32_t MemoryStatus(int16_t index);
};
