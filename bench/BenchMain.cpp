// The one main() of the benchmark programs. Each runs under its own executable's name
// (plat::AppExeName), so two benchmarks started at once keep apart the locks and the
// settings file named after the program. Widgets run headless unless told otherwise, and
// every message box is answered OK: nothing waits on a user.
#include <benchmark/benchmark.h>

#include "Application.h"

#include "MsgBox.h"
#include "SharedObjects.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    plat::Application app(argc, argv);
    plat::SetMsgBoxHook([](const QString&, int, const QString&) { return plat::vbOK; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SharedObjects::Release();
    return 0;
}
