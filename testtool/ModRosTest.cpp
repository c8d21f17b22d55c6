#include "ModRosTest.h"

namespace ModRosTest {

int32_t GetSerNo(const QString&) { return 0; }

}  // namespace ModRosTest
