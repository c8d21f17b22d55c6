// The main program's workstation key for repeat-series ids.
#include "ClsBooking.h"
#include "SystemInfo.h"

// The machine's own id: the same on every run of this workstation, whatever the drive.
int32_t GetSerNo(const QString&) { return plat::MachineKey(); }
