#include "ClsTimer.h"

#include "ClsLogging.h"
#include "ErrorText.h"
#include "SharedObjects.h"
#include "SystemInfo.h"

void ClsTimer::StartTimer() { m_start = static_cast<int32_t>(plat::GetTickCount()); }

QVariant ClsTimer::Elapsed() {
    if (m_start == 0) return 0;
    const int64_t diff =
        int64_t{static_cast<int32_t>(plat::GetTickCount())} - int64_t{m_start};
    // Across the wrap of the unsigned count the 32-bit difference still comes out right;
    // a passage from the highest positive value into the negative half does not.
    if (diff > INT32_MAX || diff < INT32_MIN) {
        SharedObjects::Log().LogMsg(err::AtLine("ClsTimer.Elapsed", err::Overflow, 2, "Overflow"));
        return QVariant();
    }
    return static_cast<int32_t>(diff);
}
