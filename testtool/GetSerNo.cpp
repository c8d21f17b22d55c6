// The test utility's workstation key for repeat-series ids.
#include "ClsBooking.h"
#include "ModRosTest.h"

int32_t GetSerNo(const QString& drive) { return ModRosTest::GetSerNo(drive); }
