#pragma once
#include <QString>
#include <cstdint>

// What the test utility supplies to the shared code as its host program.
namespace ModRosTest {

// The workstation key of repeat-series ids: the utility books no series and has no key of
// its own, so it is 0 for every drive.
int32_t GetSerNo(const QString& Drive);

}  // namespace ModRosTest
